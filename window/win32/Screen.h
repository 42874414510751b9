// Reading the screen on Win32: the pointer's position and the pixel under it.
#pragma once

#include "sampler/ScreenSampler.h"

namespace tintelo::win {

class WinScreen final : public ScreenApi {
 public:
  [[nodiscard]] bool CursorPos(ScreenPoint& point) override;
  void MoveCursor(ScreenPoint point) override;
  [[nodiscard]] ColourValue Pixel(ScreenPoint point) override;
};

}  // namespace tintelo::win
