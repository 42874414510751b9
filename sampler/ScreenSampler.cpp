// One read of the pixel under the pointer, and the position text.
#include "sampler/ScreenSampler.h"

namespace tintelo {

namespace {

class ScreenDc {
 public:
  ScreenDc(ScreenApi& api, ScreenApi::Handle window) : api_(api), window_(window), dc_(api.WindowDc(window)) {}
  ~ScreenDc() {
    if (dc_ != 0) api_.ReleaseDc(window_, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;

  [[nodiscard]] ScreenApi::Handle Get() const noexcept { return dc_; }

 private:
  ScreenApi& api_;
  ScreenApi::Handle window_;
  ScreenApi::Handle dc_;
};

}  // namespace

std::optional<Sample> ScreenSampler::Take() {
  const auto point = Pointer();
  if (!point) return std::nullopt;
  return ReadAt(*point);
}

std::optional<ScreenPoint> ScreenSampler::Pointer() {
  ScreenPoint point;
  if (!api_->CursorPos(point)) return std::nullopt;
  return point;
}

std::optional<Sample> ScreenSampler::ReadAt(ScreenPoint point) {
  Sample sample{point, 0};
  const ScreenDc dc(*api_, api_->DesktopWindow());
  if (dc.Get() == 0) return std::nullopt;
  sample.colour = api_->Pixel(dc.Get(), sample.point);
  if (sample.colour == ScreenApi::kInvalidColour) return std::nullopt;
  return sample;
}

std::string PositionText(ScreenPoint point) { return std::to_string(point.x) + '.' + std::to_string(point.y); }

}  // namespace tintelo
