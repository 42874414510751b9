// The pointer position, the monitors and copies of the screen on Win32.
#include "window/win32/Screen.h"

#include <algorithm>

#include "window/win32/Compat.h"

namespace tintelo::win {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    // The refresh rate of the display mode the monitor shows; 0 and 1 both mean the
    // hardware's default, which says nothing ("DEVMODEW", dmDisplayFrequency).
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    const unsigned hz = EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1
                            ? mode.dmDisplayFrequency
                            : 0;
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
        Monitor{ScreenRect{r.left, r.top, r.right, r.bottom}, DpiOfMonitor(monitor), hz});
  }
  return TRUE;
}

}  // namespace

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

void WinScreen::Monitors(std::vector<Monitor>& monitors) {
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
}

bool WinScreen::Capture(const ScreenRect& area, std::span<Pixel> pixels) {
  const auto count = static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height());
  if (pixels.size() < count) return false;
  // One copy per refresh, through a DC of the screen taken and given back at once, so
  // nothing accumulates however long sampling runs.
  if (!CopyScreen(RECT{area.left, area.top, area.right, area.bottom}, copy_)) return false;
  const std::span<const std::uint32_t> copied = copy_.Pixels();
  std::copy(copied.begin(), copied.end(), pixels.begin());
  return true;
}

}  // namespace tintelo::win
