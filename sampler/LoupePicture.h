// The loupe's picture: the capture magnified cell by cell with a grid shaded against each
// cell, a two-colour border, the averaged area outlined, and hatching where the capture
// has nothing to show. While it shows a still of the screen, its border is blue and its
// top left corner says "Figé".
#pragma once

#include <span>
#include <vector>

#include "sampler/Capture.h"
#include "sampler/LoupeGeometry.h"

namespace tintelo {

// What a picture shows besides the screen's pixels.
struct LoupeLook {
  LoupeGeometry geometry;
  int reach = 0;        // the averaged area's, outlined
  bool frozen = false;  // a still of the screen, not the screen
  friend bool operator==(const LoupeLook&, const LoupeLook&) = default;
};

// The word a frozen loupe shows, and the box it is drawn in from the picture's top left
// corner, in pixels at `line` pixels a ring.
inline constexpr int kFrozenWordWidth = 25;
inline constexpr int kFrozenWordHeight = 13;
inline constexpr Pixel kFrozenBorder = 0x0A5AD2;

// One pixel of a picture, from what its row and column are.
[[nodiscard]] Pixel LoupePixel(const LoupeLook& look, const LoupeAxis& column, const LoupeAxis& row, int x, int y,
                               const Capture& cells);

// The whole picture, drawn into a buffer of its own that is kept from one drawing to the next.
class LoupePicture {
 public:
  // The picture of `cells` as `look` says, row by row; valid until the next call.
  [[nodiscard]] std::span<const Pixel> Draw(const Capture& cells, const LoupeLook& look);

 private:
  // The picture's rows and columns, for the geometry and reach they were worked out for.
  std::vector<LoupeAxis> axes_;
  LoupeGeometry axesGeometry_;
  int axesReach_ = -1;
  std::vector<Pixel> picture_;
};

}  // namespace tintelo
