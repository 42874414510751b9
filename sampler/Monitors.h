// The monitors of the virtual screen, in physical pixels: which one a point is on, and
// where a step of the pointer may land.
#pragma once

#include <cstdint>
#include <span>

#include "sampler/Screen.h"

namespace tintelo {

// The monitor the point is on; off every monitor, the nearest one, as Windows keeps the
// pointer. Null only when there is no monitor at all.
[[nodiscard]] const Monitor* MonitorAt(std::span<const Monitor> monitors, ScreenPoint point) noexcept;

// Whether a monitor shows the point: monitors of different sizes leave parts of the
// virtual screen that none does.
[[nodiscard]] bool OnAMonitor(std::span<const Monitor> monitors, ScreenPoint point) noexcept;

// Where the pointer lands when moved by (dx, dy) from `from`: the point itself when a
// monitor shows it, otherwise the nearest point that one does. A step towards ground no
// monitor covers (past the screen's edge, into a corner between monitors of different
// sizes) goes only as far as the last monitor's edge.
[[nodiscard]] ScreenPoint StepOnMonitors(std::span<const Monitor> monitors, ScreenPoint from, int dx, int dy) noexcept;

}  // namespace tintelo
