// The screen on Win32: the pointer, the monitors, and copies of the screen, the only way
// the program reads it.
#pragma once

#include "sampler/Screen.h"
#include "window/win32/Dib.h"

namespace tintelo::win {

class WinScreen final : public Screen {
 public:
  [[nodiscard]] bool CursorPos(ScreenPoint& point) override;
  void MoveCursor(ScreenPoint point) override;
  void Monitors(std::vector<Monitor>& monitors) override;
  [[nodiscard]] bool Capture(const ScreenRect& area, std::span<Pixel> pixels) override;

 private:
  DibSurface copy_;  // made on the first capture, which BitBlt writes straight into
};

}  // namespace tintelo::win
