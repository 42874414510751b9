// The floor for sampling: reads the pixel under the pointer 20 times a second and does
// nothing else with it. A small window gives the bench something to close.
#include <windows.h>

namespace {

volatile COLORREF g_last = 0;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      POINT at{};
      GetCursorPos(&at);
      // The screen's DC, as Tintelo reads it.
      HDC dc = GetDC(nullptr);
      g_last = GetPixel(dc, at.x, at.y);
      ReleaseDC(nullptr, dc);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"FloorSampler";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"FloorSampler", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetTimer(window, 1, 50, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
