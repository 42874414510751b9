// The loupe's measures, place and picture, and what it remembers of the pictures it left.
#include "sampler/Loupe.h"

#include <algorithm>
#include <cstddef>

namespace tintelo {

namespace {

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
// Hatching, for screen pixels that cannot be shown: two greys, so no cell of it reads as
// one colour.
constexpr Pixel kHatchDark = 0x303030;
constexpr Pixel kHatchLight = 0x707070;
constexpr Pixel kGridOnHatch = 0x505050;

int Scaled(int length, unsigned dpi) { return static_cast<int>((length * static_cast<long>(dpi) + 48) / 96); }

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

namespace {

using Axis = LoupeAxis;

// A grid line beside a cell: the cell's colour shaded towards black or white, whichever
// is farther, so the grid reads on every colour and never equals the cell.
Pixel Shade(Pixel p) {
  const int r = static_cast<int>((p >> 16) & 0xFF);
  const int g = static_cast<int>((p >> 8) & 0xFF);
  const int b = static_cast<int>(p & 0xFF);
  const bool light = r * 299 + g * 587 + b * 114 >= 128 * 1000;
  const auto shade = [light](int c) { return static_cast<Pixel>(light ? c * 3 / 4 : c + (255 - c + 2) / 3); };
  return (shade(r) << 16) | (shade(g) << 8) | shade(b);
}

// One pixel of a picture, from what its row and column are.
Pixel PixelOf(const LoupeGeometry& g, const Axis& column, const Axis& row, int x, int y, const Capture& cells) {
  if (column.part == Axis::kOuterRing || row.part == Axis::kOuterRing) return kBlack;
  if (column.part == Axis::kInnerRing || row.part == Axis::kInnerRing) return kWhite;
  if (column.band <= Axis::kOnOutline && row.band <= Axis::kOnOutline &&
      (column.band == Axis::kOnOutline || row.band == Axis::kOnOutline)) {
    return kBlack;
  }
  if (column.band <= Axis::kAroundOutline && row.band <= Axis::kAroundOutline &&
      (column.band == Axis::kAroundOutline || row.band == Axis::kAroundOutline)) {
    return kWhite;
  }
  const std::size_t at = Capture::Index(column.cell, row.cell);
  const bool hatched = cells.marks[at] != Capture::Mark::kScreen;
  if (column.part == Axis::kLine || row.part == Axis::kLine) return hatched ? kGridOnHatch : Shade(cells.pixels[at]);
  if (hatched) return ((x + y) / (2 * g.line)) % 2 == 0 ? kHatchDark : kHatchLight;
  return cells.pixels[at];
}

std::int32_t Side(std::int64_t pointer, int size, int gap, std::int32_t low, std::int32_t high) {
  const std::int64_t after = pointer + 1 + gap;
  const std::int64_t before = pointer - gap - size;
  if (after + size <= high) return static_cast<std::int32_t>(after);
  if (before >= low) return static_cast<std::int32_t>(before);
  // Too narrow for either side: as far towards the preferred side as the monitor allows.
  return static_cast<std::int32_t>(std::max<std::int64_t>(low, std::min<std::int64_t>(after, high - size)));
}

}  // namespace

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

Pixel Loupe::PictureAt(const Shot& shot, int x, int y) {
  const LoupeGeometry& g = shot.geometry;
  return PixelOf(g, LoupeAxis::At(g, shot.reach, x), LoupeAxis::At(g, shot.reach, y), x, y, shot.capture);
}

void Loupe::End() {
  if (!shown_) return;
  view_->Hide();
  // What it showed last may stay on the screen for a while after it has gone.
  Leave();
  shown_ = false;
}

void Loupe::Leave() {
  std::move_backward(left_.begin(), left_.end() - 1, left_.end());
  left_[0] = current_;
  left_[0].age = 0;
  leftCount_ = std::min(leftCount_ + 1, left_.size());
}

bool Loupe::Judge(const Shot& shot, bool blackToo, Capture& capture,
                  std::array<bool, Capture::kPixels>& decided) const {
  std::array<bool, Capture::kPixels> visible{};  // its pixels here that no newer picture took
  bool covers = false;
  bool picture = true;
  bool black = blackToo;
  for (int row = 0; row < Capture::kSide; ++row) {
    for (int column = 0; column < Capture::kSide; ++column) {
      const std::size_t i = Capture::Index(column, row);
      const ScreenPoint at{capture.area.left + column, capture.area.top + row};
      if (decided[i] || capture.marks[i] != Capture::Mark::kScreen || !shot.place.Contains(at)) continue;
      visible[i] = true;
      covers = true;
      const Pixel p = capture.pixels[i];
      if (p != PictureAt(shot, at.x - shot.place.left, at.y - shot.place.top)) picture = false;
      if (p != 0) black = false;
    }
  }
  const bool loupe = covers && (picture || black);
  for (std::size_t i = 0; i < Capture::kPixels; ++i) {
    if (!visible[i]) continue;
    decided[i] = true;
    if (loupe) capture.marks[i] = Capture::Mark::kLoupe;
  }
  return !covers || loupe;
}

void Loupe::Guard(Capture& capture) {
  // Each screen pixel around the pointer shows at most one of the loupe's pictures: the
  // newest that covered it, the one where it stands now first, unless its window has
  // repainted since. A picture whose part here differs anywhere from the capture has
  // been repainted away and is forgotten.
  std::array<bool, Capture::kPixels> decided{};
  if (shown_) Judge(current_, true, capture, decided);
  std::size_t kept = 0;
  for (std::size_t k = 0; k < leftCount_; ++k) {
    Shot& shot = left_[k];
    if (!Judge(shot, shot.age < kBlackRefreshes, capture, decided) || ++shot.age > kRememberedRefreshes) continue;
    if (kept != k) left_[kept] = shot;
    ++kept;
  }
  leftCount_ = kept;
}

void Loupe::Refresh(Capture& capture, ScreenPoint pointer, const Monitor* monitor, int reach) {
  Guard(capture);

  const LoupeGeometry geometry = LoupeGeometry::ForDpi(monitor != nullptr ? monitor->dpi : 96);
  const ScreenRect unbounded{pointer.x - 0x10000, pointer.y - 0x10000, pointer.x + 0x10000, pointer.y + 0x10000};
  const ScreenRect place =
      PlaceLoupe(pointer, geometry.Size(), geometry.gap, monitor != nullptr ? monitor->area : unbounded);
  const bool moved = !shown_ || place != current_.place || geometry != current_.geometry;
  // While the pointer rests over a still screen, the picture shown is already right.
  const bool same = !moved && reach == current_.reach && capture.pixels == current_.capture.pixels &&
                    capture.marks == current_.capture.marks;
  if (shown_ && moved) Leave();
  current_.place = place;
  current_.capture = capture;
  current_.geometry = geometry;
  current_.reach = reach;
  current_.age = 0;
  shown_ = true;
  if (!same) Draw();
}

void Loupe::Draw() {
  const LoupeGeometry& g = current_.geometry;
  const int size = g.Size();
  const auto area = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  // Only a change of scale changes the picture's size.
  if (picture_.size() != area) picture_.assign(area, 0);
  if (axesGeometry_ != g || axesReach_ != current_.reach) {
    axesGeometry_ = g;
    axesReach_ = current_.reach;
    axes_.resize(static_cast<std::size_t>(size));
    for (int v = 0; v < size; ++v) axes_[static_cast<std::size_t>(v)] = LoupeAxis::At(g, current_.reach, v);
  }

  const Capture& cells = current_.capture;
  const auto rowHatched = [&](const Axis& row) {
    const auto first = cells.marks.begin() + row.cell * Capture::kSide;
    return std::any_of(first, first + Capture::kSide, [](Capture::Mark m) { return m != Capture::Mark::kScreen; });
  };
  for (int y = 0; y < size; ++y) {
    const Axis& row = axes_[static_cast<std::size_t>(y)];
    Pixel* out = picture_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(size);
    // Most rows repeat the one above: the same cells, no hatching (which runs diagonally).
    if (y > 0 && row == axes_[static_cast<std::size_t>(y - 1)] && !rowHatched(row)) {
      std::copy(out - size, out, out);
      continue;
    }
    for (int x = 0; x < size; ++x) out[x] = PixelOf(g, axes_[static_cast<std::size_t>(x)], row, x, y, cells);
  }
  view_->Show(current_.place, picture_);
}

}  // namespace tintelo
