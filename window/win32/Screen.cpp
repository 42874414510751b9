// The pointer position and screen pixels on Win32.
#include "window/win32/Screen.h"

#include <windows.h>

namespace tintelo::win {

bool WinScreen::CursorPos(ScreenPoint& point) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  point = ScreenPoint{p.x, p.y};
  return true;
}

void WinScreen::MoveCursor(ScreenPoint point) {
  // Physical pixels: the program is aware of every monitor's scale.
  SetCursorPos(point.x, point.y);
}

ScreenApi::Handle WinScreen::DesktopWindow() { return reinterpret_cast<Handle>(GetDesktopWindow()); }

ScreenApi::Handle WinScreen::WindowDc(Handle window) {
  return reinterpret_cast<Handle>(GetWindowDC(reinterpret_cast<HWND>(window)));
}

ColourValue WinScreen::Pixel(Handle dc, ScreenPoint point) {
  // Monitors of different sizes leave parts of the virtual screen that no monitor shows.
  // There GetPixel answers a colour rather than CLR_INVALID (seen under Wine), so a point
  // on no monitor counts as a failed read.
  if (MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONULL) == nullptr) return kInvalidColour;
  return static_cast<ColourValue>(GetPixel(reinterpret_cast<HDC>(dc), point.x, point.y));
}

void WinScreen::ReleaseDc(Handle window, Handle dc) {
  ReleaseDC(reinterpret_cast<HWND>(window), reinterpret_cast<HDC>(dc));
}

}  // namespace tintelo::win
