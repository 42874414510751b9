// Calls that newer Windows versions have and older ones lack, each with its fallback, and
// the loading of system libraries on every Windows from 7 on. Three other places look
// entry points up by name, not for older Windows but to keep a library out of every
// start-up: Dialogue.cpp (comdlg32, on the first click on the palette picture),
// Accessibility.cpp (ole32 and oleaut32, on a screen reader's first request) and
// Duplication.cpp (dxgi and d3d11, when sampling first reads a monitor showing an HDR
// desktop).
#pragma once

#include <windows.h>

namespace tintelo::win {

// A typed entry point of a module, or null when the module or the entry is missing.
template <typename Fn>
[[nodiscard]] Fn ProcAddress(HMODULE module, const char* name) noexcept {
  return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Loads System32's copy of a library, never one beside the program: through
// LOAD_LIBRARY_SEARCH_SYSTEM32 where the system knows that flag (Windows 8 on, Windows 7
// with KB2533623), else by its full path. Null when it cannot be loaded.
[[nodiscard]] HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

// The same by System32's full path, the way left on Windows 7 without KB2533623; the
// library's own imports are looked for in System32 too. Never by the bare name: null
// when the path cannot be made.
[[nodiscard]] HMODULE LoadSystemLibraryByPath(const wchar_t* name) noexcept;

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

// A system metric at a scale; GetSystemMetricsForDpi: Windows 10 1607, else the system's.
[[nodiscard]] int MetricForDpi(int index, UINT dpi) noexcept;

// The outer size of a window of `style` whose client area is `width` x `height` at a
// scale; AdjustWindowRectExForDpi: Windows 10 1607, else the frame at the system's scale.
[[nodiscard]] SIZE FrameForDpi(int width, int height, DWORD style, UINT dpi) noexcept;

}  // namespace tintelo::win
