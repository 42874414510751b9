// The floor for start-up: a Win32 program that only opens an empty window.
#include <windows.h>

#include "bench/win/FloorShow.h"
#include "window/win32/base/StartupMarks.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tintelo::win::StartupMark("winmain");
  WNDCLASSW wc{};
  wc.lpfnWndProc = tintelo::bench::FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"FloorWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 330,
                                180, nullptr, nullptr, instance, nullptr);
  tintelo::win::StartupMark("window");
  return tintelo::bench::ShowAndRun(window);
}
