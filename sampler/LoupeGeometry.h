// The loupe's measures on a monitor of a given scale, what each row and column of its
// picture is, and where it stands beside the pointer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sampler/Capture.h"
#include "sampler/Screen.h"

namespace tintelo {

// The loupe's measures on a monitor of a given scale, in physical pixels, showing `cells`
// screen pixels across. Whatever the level, a screen pixel is a square of whole device
// pixels, and the loupe keeps about the side it has at 15 across.
struct LoupeGeometry {
  int cells = 15;  // screen pixels across; odd, at most Capture::kSide
  int pitch = 10;  // from one cell to the next, grid line included
  int line = 1;    // each ring of the border and of the outline
  int grid = 1;    // the grid line between cells: `line`, or none where the cells are too small for it
  int gap = 24;    // between the pointer's pixel and the loupe

  [[nodiscard]] static LoupeGeometry ForDpi(unsigned dpi, int cells = 15) noexcept;
  [[nodiscard]] constexpr int Centre() const noexcept { return cells / 2; }
  // The capture's column (or row) that the loupe's first one shows.
  [[nodiscard]] constexpr int FirstInCapture() const noexcept { return Capture::kCentre - Centre(); }
  // The whole picture's side: two border rings, the cells and the grid lines between and
  // around them.
  [[nodiscard]] constexpr int Size() const noexcept { return 4 * line + cells * pitch + grid; }
  // Where cell `cell` begins in the picture, after the border and the grid line before
  // it, and the cell's middle, across or down.
  [[nodiscard]] constexpr int CellStart(int cell) const noexcept { return 2 * line + cell * pitch + grid; }
  [[nodiscard]] constexpr int CellMiddle(int cell) const noexcept { return CellStart(cell) + (pitch - grid) / 2; }
  friend constexpr bool operator==(const LoupeGeometry&, const LoupeGeometry&) = default;
};

// How many screen pixels the loupe shows across: five levels, kept for the program's run
// and written nowhere. It never shows fewer than the averaged area holds.
class LoupeZoom {
 public:
  static constexpr std::array<int, 5> kLevels{45, 25, 15, 9, 5};

  [[nodiscard]] int Cells() const noexcept { return kLevels[level_]; }
  // `steps` levels in (> 0: fewer, larger pixels) or out, never past either end, and in
  // no further than shows an area `side` pixels across whole; false when nothing changed.
  bool Step(int steps, int side) noexcept;
  // Out just far enough to show an area `side` pixels across whole; false when it already does.
  bool Fit(int side) noexcept;

 private:
  std::size_t level_ = 2;
};

// What one row or column of a loupe picture is, from the outside in: the border's black
// outer ring, its white inner ring, then the grid lines and the cells between them.
struct LoupeAxis {
  enum Part : std::uint8_t { kOuterRing, kInnerRing, kLine, kCell };
  // Where it stands against the averaged area, `reach` cells each side of the pointer's
  // cell: in it, on the lines around it (the outline's black ring), just outside them
  // (its white ring), or elsewhere.
  enum Band : std::uint8_t { kInside, kOnOutline, kAroundOutline, kAway };
  Part part = kCell;
  Band band = kAway;
  int cell = 0;  // the cell, or for a line the cell after it (the last cell for the last line)

  [[nodiscard]] static LoupeAxis At(const LoupeGeometry& geometry, int reach, int v) noexcept;
  friend bool operator==(const LoupeAxis&, const LoupeAxis&) = default;
};

// Where a loupe of side `size` goes for the pointer at `pointer` on `monitor`: below and
// right of the pointer, `gap` pixels away, turned to the left or upwards where it would
// leave the monitor, and wholly on the monitor in any case.
[[nodiscard]] ScreenRect PlaceLoupe(ScreenPoint pointer, int size, int gap, const ScreenRect& monitor) noexcept;

}  // namespace tintelo
