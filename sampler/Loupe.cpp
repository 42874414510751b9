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

LoupeAxis LoupeAxis::At(const LoupeGeometry& g, int v) noexcept {
  using Axis = LoupeAxis;
  const int size = g.Size();
  if (v < g.line || v >= size - g.line) return Axis{Axis::kOuterRing, Axis::kAway, 0};
  if (v < 2 * g.line || v >= size - 2 * g.line) return Axis{Axis::kInnerRing, Axis::kAway, 0};
  const int u = v - 2 * g.line;
  const int k = u / g.pitch;
  Axis axis;
  axis.part = u % g.pitch < g.line ? Axis::kLine : Axis::kCell;
  axis.cell = std::min(k, LoupeGeometry::kCells - 1);
  const int first = LoupeGeometry::kCentre * g.pitch;  // the line before the pointer's cell
  const int last = first + g.pitch;                    // the line after it
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

struct CellSource {
  std::span<const Pixel> pixels;
  std::span<const bool> empty;
};

// One pixel of a picture, from what its row and column are.
Pixel PixelOf(const LoupeGeometry& g, const Axis& column, const Axis& row, int x, int y, const CellSource& cells) {
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
  const auto at = static_cast<std::size_t>(row.cell * LoupeGeometry::kCells + column.cell);
  if (column.part == Axis::kLine || row.part == Axis::kLine)
    return cells.empty[at] ? kGridOnHatch : Shade(cells.pixels[at]);
  if (cells.empty[at]) return ((x + y) / (2 * g.line)) % 2 == 0 ? kHatchDark : kHatchLight;
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

ScreenRect CaptureArea(ScreenPoint pointer) noexcept {
  constexpr int kHalf = LoupeGeometry::kCentre;
  return ScreenRect{pointer.x - kHalf, pointer.y - kHalf, pointer.x + kHalf + 1, pointer.y + kHalf + 1};
}

Pixel Loupe::PictureAt(const Shot& shot, int x, int y) {
  return PixelOf(shot.geometry, LoupeAxis::At(shot.geometry, x), LoupeAxis::At(shot.geometry, y), x, y,
                 CellSource{shot.pixels, shot.empty});
}

bool Loupe::OnAMonitor(ScreenPoint point) const {
  return std::any_of(monitors_.begin(), monitors_.end(), [&](const Monitor& m) { return m.area.Contains(point); });
}

void Loupe::Begin() {
  monitors_.clear();
  screen_->Monitors(monitors_);
}

void Loupe::End() {
  if (!shown_) return;
  screen_->Hide();
  shown_ = false;
  // What it showed last may stay on the screen for a while after it has gone.
  LeaveCurrentPicture();
}

void Loupe::LeaveCurrentPicture() {
  std::move_backward(left_.begin(), left_.end() - 1, left_.end());
  left_[0] = current_;
  left_[0].age = 0;
  leftCount_ = std::min(leftCount_ + 1, left_.size());
}

void Loupe::Refresh(ScreenPoint pointer) {
  const Monitor* monitor = MonitorAt(monitors_, pointer);
  const LoupeGeometry geometry = LoupeGeometry::ForDpi(monitor != nullptr ? monitor->dpi : 96);
  const ScreenRect unbounded{pointer.x - 0x10000, pointer.y - 0x10000, pointer.x + 0x10000, pointer.y + 0x10000};
  const ScreenRect place =
      PlaceLoupe(pointer, geometry.Size(), geometry.gap, monitor != nullptr ? monitor->area : unbounded);

  // The loupe first leaves its place, then reads the screen: never the other way round.
  const bool moved = !shown_ || place != current_.place || geometry != current_.geometry;
  if (shown_ && moved) LeaveCurrentPicture();
  const Shot before = current_;
  current_.place = place;
  current_.geometry = geometry;
  current_.area = CaptureArea(pointer);
  if (moved) screen_->Place(place);
  shown_ = true;

  const bool read = screen_->Capture(current_.area, current_.pixels);
  for (int row = 0; row < LoupeGeometry::kCells; ++row) {
    for (int column = 0; column < LoupeGeometry::kCells; ++column) {
      const ScreenPoint at{current_.area.left + column, current_.area.top + row};
      current_.empty[static_cast<std::size_t>(row * LoupeGeometry::kCells + column)] =
          !read || !OnAMonitor(at) || place.Contains(at);
    }
  }
  if (read) HideLeftPictures();
  // While the pointer rests over a still screen, the picture shown is already right.
  if (!moved && current_.pixels == before.pixels && current_.empty == before.empty) return;
  Draw();
}

void Loupe::HideLeftPictures() {
  // Each screen pixel around the pointer shows at most one left picture: the newest one
  // that covered it, unless its window has repainted since. A picture whose visible part
  // here is still exactly on the screen has not been repainted away, and its pixels are
  // hidden; one that differs anywhere has been, and is forgotten.
  std::array<bool, kCaptured> decided{};
  std::size_t kept = 0;
  for (std::size_t k = 0; k < leftCount_; ++k) {
    Shot& shot = left_[k];
    std::array<bool, kCaptured> visible{};  // its pixels here that no newer picture took
    bool covers = false;
    bool stillShown = true;
    for (int row = 0; row < LoupeGeometry::kCells; ++row) {
      for (int column = 0; column < LoupeGeometry::kCells; ++column) {
        const auto i = static_cast<std::size_t>(row * LoupeGeometry::kCells + column);
        const ScreenPoint at{current_.area.left + column, current_.area.top + row};
        if (decided[i] || !shot.place.Contains(at)) continue;
        visible[i] = true;
        covers = true;
        if (current_.pixels[i] != PictureAt(shot, at.x - shot.place.left, at.y - shot.place.top)) stillShown = false;
      }
    }
    for (std::size_t i = 0; i < kCaptured; ++i) {
      if (!visible[i]) continue;
      decided[i] = true;
      if (stillShown) current_.empty[i] = true;
    }
    if ((covers && !stillShown) || ++shot.age > kRememberedRefreshes) continue;
    if (kept != k) left_[kept] = shot;
    ++kept;
  }
  leftCount_ = kept;
}

void Loupe::Draw() {
  const LoupeGeometry& g = current_.geometry;
  const int size = g.Size();
  const auto area = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  // Only a change of scale changes the picture's size.
  if (picture_.size() != area) picture_.assign(area, 0);
  if (axes_.empty() || axesGeometry_ != g) {
    axesGeometry_ = g;
    axes_.resize(static_cast<std::size_t>(size));
    for (int v = 0; v < size; ++v) axes_[static_cast<std::size_t>(v)] = LoupeAxis::At(g, v);
  }

  const CellSource cells{current_.pixels, current_.empty};
  const auto rowHatched = [&](const Axis& row) {
    const auto first = current_.empty.begin() + row.cell * LoupeGeometry::kCells;
    return std::any_of(first, first + LoupeGeometry::kCells, [](bool e) { return e; });
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
  screen_->Paint(picture_, size);
}

bool Loupe::Trusts(ScreenPoint point) const {
  if (!shown_) return true;
  // A point the last refresh did not see is not known to be the screen's.
  if (!current_.area.Contains(point)) return false;
  // Its own place, ground on no monitor and pictures still shown are all marked empty.
  return !current_.empty[static_cast<std::size_t>((point.y - current_.area.top) * LoupeGeometry::kCells +
                                                  (point.x - current_.area.left))];
}

}  // namespace tintelo
