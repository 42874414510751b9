// The pixels of an HDR desktop turned back into the bytes the programs beneath drew. With
// HDR on, Windows composes the desktop in linear scRGB half floats, 1.0 standing for 80
// nits, and shows an SDR program's colours at the user's SDR white level: each channel's
// byte b becomes the sRGB curve's linear value of b / 255, times white. Undoing that
// divides by white, clamps to 0..1, encodes with the sRGB curve and rounds to a byte.
#pragma once

#include <cstdint>
#include <span>

#include "sampler/Screen.h"

namespace tintelo {

// An IEEE 754 binary16 value, one channel of an R16G16B16A16_FLOAT pixel, as a float:
// subnormals, infinities and NaN included, each as the float of the same value.
[[nodiscard]] float HalfToFloat(std::uint16_t half) noexcept;

// The scRGB value SDR white is shown at, from Windows' SDR white level, which counts
// thousandths of 80 nits (1000 is 80 nits, 2500 is 200 nits).
[[nodiscard]] constexpr float ScRgbOfWhiteLevel(unsigned sdrWhiteLevel) noexcept {
  return static_cast<float>(sdrWhiteLevel) / 1000.0F;
}

// The 8-bit sRGB value of a linear scRGB channel on a desktop whose SDR white is `white`
// (> 0), rounded half up. At or above white, +infinity included, it is 255: a true HDR
// highlight, which no SDR byte can hold. Zero, negative values (colours outside sRGB's
// gamut), -infinity and NaN give 0.
[[nodiscard]] std::uint8_t SrgbByteOfScRgb(float value, float white) noexcept;

// One R16G16B16A16_FLOAT pixel (red, green, blue, alpha) as a screen pixel; alpha is not
// part of the colour.
[[nodiscard]] Pixel PixelOfScRgb(std::span<const std::uint16_t, 4> rgba, float white) noexcept;

}  // namespace tintelo
