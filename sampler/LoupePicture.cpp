// The loupe's picture, pixel by pixel and whole.
#include "sampler/LoupePicture.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tintelo {

namespace {

using Axis = LoupeAxis;

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
// Hatching, for screen pixels that cannot be shown: two greys, so no cell of it reads as
// one colour.
constexpr Pixel kHatchDark = 0x303030;
constexpr Pixel kHatchLight = 0x707070;
constexpr Pixel kGridOnHatch = 0x505050;

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

// "Figé", 21 by 9, one row a string: F, i, g and é with a column between letters.
constexpr std::array<std::string_view, 9> kFrozenWord{
    "##### .#.       ...#.",  //
    "#.... ...       ..#..",  //
    "#.... ##. .#### .###.",  //
    "####. .#. #...# #...#",  //
    "#.... .#. #...# #####",  //
    "#.... .#. #...# #....",  //
    "#.... ### .#### .###.",  //
    "          ....#      ",  //
    "          .###.      ",  //
};

// Inside the box of the word "Figé" at the picture's top left corner: its letters white
// on the frozen border's blue, two rings from the edge, each dot `line` pixels square.
std::optional<Pixel> FrozenWordAt(int line, int x, int y) {
  const int across = x / line - 2;
  const int down = y / line - 2;
  if (across < 0 || down < 0 || across >= kFrozenWordWidth || down >= kFrozenWordHeight) return std::nullopt;
  const int u = across - 2;
  const int v = down - 2;
  const bool dot = u >= 0 && v >= 0 && v < static_cast<int>(kFrozenWord.size()) &&
                   u < static_cast<int>(kFrozenWord[0].size()) &&
                   kFrozenWord[static_cast<std::size_t>(v)][static_cast<std::size_t>(u)] == '#';
  return dot ? kWhite : kFrozenBorder;
}

}  // namespace

Pixel LoupePixel(const LoupeLook& look, const Axis& column, const Axis& row, int x, int y, const Capture& cells) {
  const LoupeGeometry& g = look.geometry;
  if (column.part == Axis::kOuterRing || row.part == Axis::kOuterRing) return look.frozen ? kFrozenBorder : kBlack;
  if (column.part == Axis::kInnerRing || row.part == Axis::kInnerRing) return look.frozen ? kFrozenBorder : kWhite;
  if (look.frozen) {
    if (const auto word = FrozenWordAt(g.line, x, y)) return *word;
  }
  if (column.band <= Axis::kOnOutline && row.band <= Axis::kOnOutline &&
      (column.band == Axis::kOnOutline || row.band == Axis::kOnOutline)) {
    return kBlack;
  }
  if (column.band <= Axis::kAroundOutline && row.band <= Axis::kAroundOutline &&
      (column.band == Axis::kAroundOutline || row.band == Axis::kAroundOutline)) {
    return kWhite;
  }
  const std::size_t at = Capture::Index(g.FirstInCapture() + column.cell, g.FirstInCapture() + row.cell);
  const bool hatched = cells.marks[at] != Capture::Mark::kScreen;
  if (column.part == Axis::kLine || row.part == Axis::kLine) return hatched ? kGridOnHatch : Shade(cells.pixels[at]);
  if (hatched) return ((x + y) / (2 * g.line)) % 2 == 0 ? kHatchDark : kHatchLight;
  return cells.pixels[at];
}

std::span<const Pixel> LoupePicture::Draw(const Capture& cells, const LoupeLook& look) {
  const LoupeGeometry& g = look.geometry;
  const int reach = look.reach;
  const int size = g.Size();
  const auto area = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
  // Only a change of scale changes the picture's size.
  if (picture_.size() != area) picture_.assign(area, 0);
  if (axesGeometry_ != g || axesReach_ != reach) {
    axesGeometry_ = g;
    axesReach_ = reach;
    axes_.resize(static_cast<std::size_t>(size));
    for (int v = 0; v < size; ++v) axes_[static_cast<std::size_t>(v)] = LoupeAxis::At(g, reach, v);
  }

  const auto rowHatched = [&](const Axis& row) {
    const auto first = cells.marks.begin() +
                       static_cast<std::ptrdiff_t>(Capture::Index(g.FirstInCapture(), g.FirstInCapture() + row.cell));
    return std::any_of(first, first + g.cells, [](Capture::Mark m) { return m != Capture::Mark::kScreen; });
  };
  const int wordBottom = look.frozen ? (2 + kFrozenWordHeight) * g.line : 0;
  for (int y = 0; y < size; ++y) {
    const Axis& row = axes_[static_cast<std::size_t>(y)];
    Pixel* out = picture_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(size);
    // Most rows repeat the one above: the same cells, no hatching (which runs diagonally).
    if (y > 0 && y >= wordBottom && row == axes_[static_cast<std::size_t>(y - 1)] && !rowHatched(row)) {
      std::copy(out - size, out, out);
      continue;
    }
    for (int x = 0; x < size; ++x) out[x] = LoupePixel(look, axes_[static_cast<std::size_t>(x)], row, x, y, cells);
  }
  return picture_;
}

}  // namespace tintelo
