// The pointer position and screen pixels on Win32.
#include "window/win32/Screen.h"

#include "window/win32/Handles.h"

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

ColourValue WinScreen::Pixel(ScreenPoint point) {
  // Monitors of different sizes leave parts of the virtual screen that no monitor shows.
  // There GetPixel answers a colour rather than CLR_INVALID (seen under Wine), so a point
  // on no monitor counts as a failed read.
  if (MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONULL) == nullptr) return kInvalidColour;
  // A DC of its own for each read, given back at once: nothing accumulates however long
  // sampling runs.
  const ScreenDc screen;
  if (screen.Get() == nullptr) return kInvalidColour;
  return static_cast<ColourValue>(GetPixel(screen.Get(), point.x, point.y));
}

}  // namespace tintelo::win
