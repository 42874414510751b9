// The loupe's measures, rows and columns, and place.
#include "sampler/LoupeGeometry.h"

#include <algorithm>

namespace tintelo {

namespace {

int Scaled(int length, unsigned dpi) { return static_cast<int>((length * static_cast<long>(dpi) + 48) / 96); }

std::int32_t Side(std::int64_t pointer, int size, int gap, std::int32_t low, std::int32_t high) {
  const std::int64_t after = pointer + 1 + gap;
  const std::int64_t before = pointer - gap - size;
  if (after + size <= high) return static_cast<std::int32_t>(after);
  if (before >= low) return static_cast<std::int32_t>(before);
  // Too narrow for either side: as far towards the preferred side as the monitor allows.
  return static_cast<std::int32_t>(std::max<std::int64_t>(low, std::min<std::int64_t>(after, high - size)));
}

}  // namespace

LoupeAxis LoupeAxis::At(const LoupeGeometry& g, int reach, int v) noexcept {
  using Axis = LoupeAxis;
  const int size = g.Size();
  if (v < g.line || v >= size - g.line) return Axis{Axis::kOuterRing, Axis::kAway, 0};
  if (v < 2 * g.line || v >= size - 2 * g.line) return Axis{Axis::kInnerRing, Axis::kAway, 0};
  const int u = v - 2 * g.line;
  Axis axis;
  axis.part = u % g.pitch < g.grid ? Axis::kLine : Axis::kCell;
  axis.cell = std::min(u / g.pitch, g.cells - 1);
  // The outline's black ring is the grid line around the area; without grid lines, it and
  // its white ring take the edge of the cells around the area, never those it averages.
  const int first = (g.Centre() - reach) * g.pitch + g.grid;  // where the area's first cell begins
  const int last = (g.Centre() + reach + 1) * g.pitch;        // where what follows its last begins
  if (u >= first && u < last) {
    axis.band = Axis::kInside;
  } else if ((u >= first - g.line && u < first) || (u >= last && u < last + g.line)) {
    axis.band = Axis::kOnOutline;
  } else if ((u >= first - 2 * g.line && u < first - g.line) || (u >= last + g.line && u < last + 2 * g.line)) {
    axis.band = Axis::kAroundOutline;
  }
  return axis;
}

LoupeGeometry LoupeGeometry::ForDpi(unsigned dpi, int cells) noexcept {
  if (dpi == 0) dpi = 96;
  LoupeGeometry g;
  g.cells = std::clamp(cells | 1, 1, Capture::kSide);
  g.line = std::max(1, static_cast<int>(dpi / 96));
  // The side that 15 cells of 10 pixels at 100 % take, shared out in whole pixels.
  const int across = 15 * std::max(4, Scaled(10, dpi));
  g.pitch = std::max(1, (across + g.cells / 2) / g.cells);
  // A grid line only where it leaves a cell three times its width.
  g.grid = g.pitch >= 4 * g.line ? g.line : 0;
  g.gap = Scaled(24, dpi);
  return g;
}

bool LoupeZoom::Step(int steps, int side) noexcept {
  std::size_t level = level_;
  while (steps > 0 && level + 1 < kLevels.size() && kLevels[level + 1] >= side) {
    ++level;
    --steps;
  }
  while (steps < 0 && level > 0) {
    --level;
    ++steps;
  }
  if (level == level_) return false;
  level_ = level;
  return true;
}

bool LoupeZoom::Fit(int side) noexcept {
  std::size_t level = level_;
  while (level > 0 && kLevels[level] < side) --level;
  if (level == level_) return false;
  level_ = level;
  return true;
}

ScreenRect PlaceLoupe(ScreenPoint pointer, int size, int gap, const ScreenRect& monitor) noexcept {
  const std::int32_t left = Side(pointer.x, size, gap, monitor.left, monitor.right);
  const std::int32_t top = Side(pointer.y, size, gap, monitor.top, monitor.bottom);
  return ScreenRect{left, top, left + size, top + size};
}

}  // namespace tintelo
