// Display affinity, asked for and checked.
#include "window/win32/screen/DisplayAffinity.h"

#include "window/win32/base/Compat.h"

namespace tintelo::win {

namespace {

HMODULE User32() noexcept { return GetModuleHandleW(L"user32.dll"); }

// Whether Windows is at least major.minor.build, whatever the manifest declares.
bool WindowsBuildAtLeast(DWORD major, DWORD minor, DWORD build) noexcept {
  // RtlGetVersion tells the true version whatever the manifest says; GetVersionExW tells
  // the version the manifest declares support for at most.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = ProcAddress<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (get == nullptr || get(&version) != 0) return false;
  if (version.dwMajorVersion != major) return version.dwMajorVersion > major;
  if (version.dwMinorVersion != minor) return version.dwMinorVersion > minor;
  return version.dwBuildNumber >= build;
}

// Whether this system keeps a window with WDA_EXCLUDEFROMCAPTURE out of every copy of the
// screen: Windows 10 2004 (build 19041) on, outside Remote Desktop. The version is asked
// once; a Remote Desktop session can begin at any time.
bool SystemExcludesFromCapture() noexcept {
  static const bool recentEnough = WindowsBuildAtLeast(10, 0, 19041);
  return recentEnough && GetSystemMetrics(SM_REMOTESESSION) == 0;
}

constexpr DWORD kNone = 0x00;                // WDA_NONE
constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE

HMODULE Dwm() noexcept {
  static const HMODULE library = LoadSystemLibrary(L"dwmapi.dll");
  return library;
}

}  // namespace

bool DesktopComposed() noexcept {
  using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
  static const auto enabled = ProcAddress<IsCompositionEnabledFn>(Dwm(), "DwmIsCompositionEnabled");
  BOOL composed = FALSE;
  return enabled != nullptr && SUCCEEDED(enabled(&composed)) && composed != FALSE;
}

void WaitForComposition() noexcept {
  using FlushFn = HRESULT(WINAPI*)();
  static const auto flush = ProcAddress<FlushFn>(Dwm(), "DwmFlush");
  if (flush != nullptr) flush();
}

bool Cloaked(HWND window) noexcept {
  using GetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  static const auto get = ProcAddress<GetWindowAttributeFn>(Dwm(), "DwmGetWindowAttribute");
  constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED, Windows 8 on
  DWORD cloaked = 0;
  return get != nullptr && SUCCEEDED(get(window, kCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

std::optional<std::uint32_t> DisplayAffinityOf(HWND window) noexcept {
  using GetWindowDisplayAffinityFn = BOOL(WINAPI*)(HWND, DWORD*);
  static const auto get = ProcAddress<GetWindowDisplayAffinityFn>(User32(), "GetWindowDisplayAffinity");
  DWORD affinity = kNone;
  if (get == nullptr || !get(window, &affinity)) return std::nullopt;
  return affinity;
}

std::optional<std::uint32_t> ExcludeFromCapture(HWND window) noexcept {
  using SetWindowDisplayAffinityFn = BOOL(WINAPI*)(HWND, DWORD);
  static const auto set = ProcAddress<SetWindowDisplayAffinityFn>(User32(), "SetWindowDisplayAffinity");
  if (set != nullptr) {
    if (!SystemExcludesFromCapture() || !set(window, kExcludeFromCapture) ||
        DisplayAffinityOf(window) != kExcludeFromCapture) {
      set(window, kNone);
    }
  }
  return DisplayAffinityOf(window);
}

}  // namespace tintelo::win
