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
  const int k = u / g.pitch;
  Axis axis;
  axis.part = u % g.pitch < g.line ? Axis::kLine : Axis::kCell;
  axis.cell = std::min(k, LoupeGeometry::kCells - 1);
  const int first = (LoupeGeometry::kCentre - reach) * g.pitch;     // the line before the area's first cell
  const int last = (LoupeGeometry::kCentre + reach + 1) * g.pitch;  // the line after its last
  if (u >= first + g.line && u < last) {
    axis.band = Axis::kInside;
  } else if ((u >= first && u < first + g.line) || (u >= last && u < last + g.line)) {
    axis.band = Axis::kOnOutline;
  } else if ((u >= first - g.line && u < first) || (u >= last + g.line && u < last + 2 * g.line)) {
    axis.band = Axis::kAroundOutline;
  }
  return axis;
}

LoupeGeometry LoupeGeometry::ForDpi(unsigned dpi) noexcept {
  if (dpi == 0) dpi = 96;
  LoupeGeometry g;
  g.pitch = std::max(4, Scaled(10, dpi));
  g.line = std::max(1, static_cast<int>(dpi / 96));
  g.gap = Scaled(24, dpi);
  return g;
}

ScreenRect PlaceLoupe(ScreenPoint pointer, int size, int gap, const ScreenRect& monitor) noexcept {
  const std::int32_t left = Side(pointer.x, size, gap, monitor.left, monitor.right);
  const std::int32_t top = Side(pointer.y, size, gap, monitor.top, monitor.bottom);
  return ScreenRect{left, top, left + size, top + size};
}

}  // namespace tintelo
