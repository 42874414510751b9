// Calls that newer Windows versions have and older ones lack, each with its fallback: the
// one place that looks entry points up by name.
#pragma once

#include <windows.h>

namespace tintelo::win {

// A typed entry point of a module, or null when the module or the entry is missing.
template <typename Fn>
[[nodiscard]] Fn ProcAddress(HMODULE module, const char* name) noexcept {
  return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Loads System32's copy of a library, never one beside the program.
[[nodiscard]] HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

// Never look for DLLs beside the executable (a downloads folder can hold planted ones):
// only System32. SetDefaultDllDirectories exists from Windows 8 on, and on Windows 7 with
// KB2533623; without it, the loads this program makes itself still name System32.
void RestrictDllSearchToSystem32() noexcept;

// The scale the system's metrics and fonts are made for, fixed for the program's life.
[[nodiscard]] UINT SystemDpi() noexcept;

// The scale of the monitor a window is on. GetDpiForWindow exists from Windows 10 1607 on;
// before it, every monitor has the system's scale.
[[nodiscard]] UINT DpiOfWindow(HWND window) noexcept;

// The scale of a monitor. GetDpiForMonitor (shcore.dll, loaded on the first call) exists
// from Windows 8.1 on; before it, every monitor has the system's scale.
[[nodiscard]] UINT DpiOfMonitor(HMONITOR monitor) noexcept;

// Keeps a window out of every screen capture, this program's own included, where the
// system can (WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 on); elsewhere it does nothing.
void ExcludeFromCapture(HWND window) noexcept;

// A system metric at a scale; GetSystemMetricsForDpi: Windows 10 1607, else the system's.
[[nodiscard]] int MetricForDpi(int index, UINT dpi) noexcept;

// The outer size of a window of `style` whose client area is `width` x `height` at a
// scale; AdjustWindowRectExForDpi: Windows 10 1607, else the frame at the system's scale.
[[nodiscard]] SIZE FrameForDpi(int width, int height, DWORD style, UINT dpi) noexcept;

}  // namespace tintelo::win
