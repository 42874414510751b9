// The loupe's measures on a monitor of a given scale, what each row and column of its
// picture is, and where it stands beside the pointer.
#pragma once

#include <cstdint>

#include "sampler/Capture.h"
#include "sampler/Screen.h"

namespace tintelo {

// The loupe's measures on a monitor of a given scale, in physical pixels.
struct LoupeGeometry {
  static constexpr int kCells = Capture::kSide;  // screen pixels across
  static constexpr int kCentre = Capture::kCentre;

  int pitch = 10;  // from one cell to the next, grid line included
  int line = 1;    // grid line, and each ring of the border and of the outline
  int gap = 24;    // between the pointer's pixel and the loupe

  [[nodiscard]] static LoupeGeometry ForDpi(unsigned dpi) noexcept;
  // The whole picture's side: two border rings, the cells and the grid lines between and
  // around them.
  [[nodiscard]] constexpr int Size() const noexcept { return 4 * line + kCells * pitch + line; }
  // Where cell `cell` begins in the picture, after the border and the grid line before
  // it, and the cell's middle, across or down.
  [[nodiscard]] constexpr int CellStart(int cell) const noexcept { return 2 * line + cell * pitch + line; }
  [[nodiscard]] constexpr int CellMiddle(int cell) const noexcept { return CellStart(cell) + (pitch - line) / 2; }
  friend constexpr bool operator==(const LoupeGeometry&, const LoupeGeometry&) = default;
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
