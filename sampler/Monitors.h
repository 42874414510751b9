// The monitors of the virtual screen, in physical pixels: which one a point is on, and
// where a step of the pointer may land.
#pragma once

#include <cstdint>
#include <span>

#include "sampler/ScreenSampler.h"

namespace tintelo {

// A rectangle of the virtual screen, right and bottom excluded.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  [[nodiscard]] constexpr std::int32_t Width() const noexcept { return right - left; }
  [[nodiscard]] constexpr std::int32_t Height() const noexcept { return bottom - top; }
  [[nodiscard]] constexpr bool Contains(ScreenPoint p) const noexcept {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  [[nodiscard]] constexpr bool Intersects(const ScreenRect& other) const noexcept {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  friend constexpr bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct Monitor {
  ScreenRect area;
  unsigned dpi = 96;  // the monitor's own scale: 96 at 100 %, 144 at 150 %
};

// The monitor the point is on; off every monitor, the nearest one, as Windows keeps the
// pointer. Null only when there is no monitor at all.
[[nodiscard]] const Monitor* MonitorAt(std::span<const Monitor> monitors, ScreenPoint point) noexcept;

// Where the pointer lands when moved by (dx, dy) from `from`: the point itself when a
// monitor shows it, otherwise the nearest point that one does. A step towards ground no
// monitor covers (past the screen's edge, into a corner between monitors of different
// sizes) goes only as far as the last monitor's edge.
[[nodiscard]] ScreenPoint StepOnMonitors(std::span<const Monitor> monitors, ScreenPoint from, int dx, int dy) noexcept;

}  // namespace tintelo
