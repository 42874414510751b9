// Monitors and pointer steps.
#include "sampler/Monitors.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tintelo {

namespace {

// The point of `area` nearest to `point`, and how far it is (squared).
std::int64_t Nearest(const ScreenRect& area, ScreenPoint point, ScreenPoint& nearest) noexcept {
  nearest.x = std::clamp(point.x, area.left, area.right - 1);
  nearest.y = std::clamp(point.y, area.top, area.bottom - 1);
  const std::int64_t dx = std::int64_t{point.x} - nearest.x;
  const std::int64_t dy = std::int64_t{point.y} - nearest.y;
  return dx * dx + dy * dy;
}

}  // namespace

const Monitor* MonitorAt(std::span<const Monitor> monitors, ScreenPoint point) noexcept {
  const Monitor* best = nullptr;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (const Monitor& monitor : monitors) {
    if (monitor.area.Width() <= 0 || monitor.area.Height() <= 0) continue;
    ScreenPoint nearest;
    const std::int64_t distance = Nearest(monitor.area, point, nearest);
    if (distance < bestDistance) {
      best = &monitor;
      bestDistance = distance;
    }
  }
  return best;
}

bool OnAMonitor(std::span<const Monitor> monitors, ScreenPoint point) noexcept {
  return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return m.area.Contains(point); });
}

ScreenPoint StepOnMonitors(std::span<const Monitor> monitors, ScreenPoint from, int dx, int dy) noexcept {
  // Widened first: a step from the very edge of the coordinate range must not wrap.
  const auto moved = [](std::int32_t at, int by) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{at} + by, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  };
  const ScreenPoint target{moved(from.x, dx), moved(from.y, dy)};
  const Monitor* monitor = MonitorAt(monitors, target);
  if (monitor == nullptr) return target;
  ScreenPoint landed;
  Nearest(monitor->area, target, landed);
  return landed;
}

}  // namespace tintelo
