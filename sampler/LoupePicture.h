// The loupe's picture: the capture magnified cell by cell with a grid shaded against each
// cell, a two-colour border, the averaged area outlined, and hatching where the capture
// has nothing to show.
#pragma once

#include <span>
#include <vector>

#include "sampler/Capture.h"
#include "sampler/LoupeGeometry.h"

namespace tintelo {

// One pixel of a picture, from what its row and column are.
[[nodiscard]] Pixel LoupePixel(const LoupeGeometry& g, const LoupeAxis& column, const LoupeAxis& row, int x, int y,
                               const Capture& cells);

// The whole picture, drawn into a buffer of its own that is kept from one drawing to the next.
class LoupePicture {
 public:
  // The picture of `cells` at `geometry`, `reach` cells each side of the pointer's
  // outlined, row by row; valid until the next call.
  [[nodiscard]] std::span<const Pixel> Draw(const Capture& cells, const LoupeGeometry& geometry, int reach);

 private:
  // The picture's rows and columns, for the geometry and reach they were worked out for.
  std::vector<LoupeAxis> axes_;
  LoupeGeometry axesGeometry_;
  int axesReach_ = -1;
  std::vector<Pixel> picture_;
};

}  // namespace tintelo
