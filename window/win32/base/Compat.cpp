// Entry points that older Windows versions lack, with their fallbacks.
#include "window/win32/base/Compat.h"

#include <array>
#include <cwchar>

#include "window/win32/base/Handles.h"

namespace tintelo::win {

namespace {

// user32 and kernel32 are loaded already: looking an entry up loads nothing new.
HMODULE User32() noexcept { return GetModuleHandleW(L"user32.dll"); }

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
  // The LOAD_LIBRARY_SEARCH_* flags came with AddDllDirectory; where kernel32 lacks it,
  // LoadLibraryExW refuses them with ERROR_INVALID_PARAMETER (LoadLibraryExW page).
  static const bool searchFlags = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
  if (searchFlags) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return LoadSystemLibraryByPath(name);
}

HMODULE LoadSystemLibraryByPath(const wchar_t* name) noexcept {
  std::array<wchar_t, MAX_PATH> path{};
  const UINT folder = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
  const std::size_t length = std::wcslen(name);
  if (folder == 0 || folder + 1 + length >= path.size()) return nullptr;
  path[folder] = L'\\';
  std::wmemcpy(path.data() + folder + 1, name, length + 1);
  // With a full path, LOAD_WITH_ALTERED_SEARCH_PATH looks for the library's own imports
  // in its folder first, not beside the program.
  return LoadLibraryExW(path.data(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearchToSystem32() noexcept {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  static const auto set =
      ProcAddress<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

UINT SystemDpi() noexcept {
  // Set when the session begins and fixed for the program's life: read once.
  static const UINT dpi = [] {
    const ScreenDc screen;
    return static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
  }();
  return dpi;
}

UINT DpiOfWindow(HWND window) noexcept {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = ProcAddress<GetDpiForWindowFn>(User32(), "GetDpiForWindow");
  if (getDpi != nullptr) {
    if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
  }
  return SystemDpi();
}

UINT DpiOfMonitor(HMONITOR monitor) noexcept {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  static const auto getDpi = ProcAddress<GetDpiForMonitorFn>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
  UINT x = 0;
  UINT y = 0;
  if (getDpi != nullptr && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) && y != 0) return y;
  return SystemDpi();
}

int MetricForDpi(int index, UINT dpi) noexcept {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = ProcAddress<GetSystemMetricsForDpiFn>(User32(), "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

SIZE FrameForDpi(int width, int height, DWORD style, UINT dpi) noexcept {
  RECT rect{0, 0, width, height};
  using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = ProcAddress<AdjustWindowRectExForDpiFn>(User32(), "AdjustWindowRectExForDpi");
  if (adjust != nullptr) {
    adjust(&rect, style, FALSE, 0, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, 0);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace tintelo::win
