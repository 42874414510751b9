// Reading the screen pixel under the pointer, one read per timer tick.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "colour/Colour.h"

namespace tintelo {

// Physical screen pixels on the virtual screen: negative left of or above the primary monitor.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The platform calls a sample takes.
class ScreenApi {
 public:
  static constexpr ColourValue kInvalidColour = -1;  // what a failed pixel read returns

  [[nodiscard]] virtual bool CursorPos(ScreenPoint& point) = 0;
  virtual void MoveCursor(ScreenPoint point) = 0;
  // One pixel of the virtual screen, or kInvalidColour when it cannot be read (no screen
  // DC to be had, a point on no monitor, a protected desktop).
  [[nodiscard]] virtual ColourValue Pixel(ScreenPoint point) = 0;

 protected:
  ~ScreenApi() = default;
};

struct Sample {
  ScreenPoint point;
  ColourValue colour = 0;
};

class ScreenSampler {
 public:
  explicit ScreenSampler(ScreenApi& api) noexcept : api_(&api) {}

  // The pointer's actual position, then the pixel under it, in two steps so that the
  // loupe can move out of the way in between; nothing when the position or the pixel
  // cannot be read (off every monitor, a protected desktop): the caller then keeps its
  // last good sample rather than showing the failure value as a colour.
  [[nodiscard]] std::optional<ScreenPoint> Pointer();
  [[nodiscard]] std::optional<Sample> ReadAt(ScreenPoint point);
  // Puts the pointer somewhere else, in physical pixels.
  void MovePointer(ScreenPoint point) { api_->MoveCursor(point); }

 private:
  ScreenApi* api_;
};

// "x.y" in decimal, e.g. "1024.768" or "-1280.300".
[[nodiscard]] std::string PositionText(ScreenPoint point);

}  // namespace tintelo
