// The capture's area and its mean.
#include "sampler/Capture.h"

#include <algorithm>

namespace tintelo {

ScreenRect CaptureArea(ScreenPoint pointer) noexcept {
  constexpr int kHalf = Capture::kCentre;
  return ScreenRect{pointer.x - kHalf, pointer.y - kHalf, pointer.x + kHalf + 1, pointer.y + kHalf + 1};
}

bool SampleArea::Step(int steps) noexcept {
  const int side = std::clamp(side_ + 2 * steps, kSmallest, kLargest);
  if (side == side_) return false;
  side_ = side;
  return true;
}

std::optional<ColourValue> MeanOf(const Capture& capture, int reach) noexcept {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
  std::uint32_t counted = 0;
  for (int row = Capture::kCentre - reach; row <= Capture::kCentre + reach; ++row) {
    for (int column = Capture::kCentre - reach; column <= Capture::kCentre + reach; ++column) {
      const std::size_t i = Capture::Index(column, row);
      switch (capture.marks[i]) {
        case Capture::Mark::kNoMonitor: continue;
        case Capture::Mark::kLoupe:
        case Capture::Mark::kUnavailable: return std::nullopt;
        case Capture::Mark::kScreen: break;
      }
      const Pixel p = capture.pixels[i];
      red += (p >> 16) & 0xFF;
      green += (p >> 8) & 0xFF;
      blue += p & 0xFF;
      ++counted;
    }
  }
  if (counted == 0) return std::nullopt;
  // Half up: floor(sum / n + 1/2) = floor((2 sum + n) / 2n).
  const auto mean = [counted](std::uint32_t sum) { return static_cast<int>((2 * sum + counted) / (2 * counted)); };
  return ComposeColour(mean(red), mean(green), mean(blue));
}

}  // namespace tintelo
