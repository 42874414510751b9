// What every floor program shares: a window procedure that only ends the program, and
// the end of WinMain: show the window, paint it, write the start-up marks and run until
// it closes.
#pragma once

#include <windows.h>

#include "window/win32/base/StartupMarks.h"

namespace tintelo::bench {

inline LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

inline int ShowAndRun(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  win::StartupMark("shown");
  UpdateWindow(window);
  win::StartupMark("painted");
  win::WriteStartupMarks();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

}  // namespace tintelo::bench
