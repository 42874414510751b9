// One read of the pixel under the pointer, and the position text.
#include "sampler/ScreenSampler.h"

namespace tintelo {

std::optional<ScreenPoint> ScreenSampler::Pointer() {
  ScreenPoint point;
  if (!api_->CursorPos(point)) return std::nullopt;
  return point;
}

std::optional<Sample> ScreenSampler::ReadAt(ScreenPoint point) {
  const ColourValue colour = api_->Pixel(point);
  if (colour == ScreenApi::kInvalidColour) return std::nullopt;
  return Sample{point, colour};
}

std::string PositionText(ScreenPoint point) { return std::to_string(point.x) + '.' + std::to_string(point.y); }

}  // namespace tintelo
