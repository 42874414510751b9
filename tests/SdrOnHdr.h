// What Windows stores for an SDR program's colours on an HDR desktop, worked out on its
// own, in double, for the tests of the conversion back: the sRGB curve's linear value of
// each byte, times SDR white's scRGB value, rounded to the nearest half float. Used by the
// host tests and by the end-to-end test of the texture road.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tintelo::testing_support {

inline double LinearOfByte(int byte) {
  const double encoded = byte / 255.0;
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// The half float nearest to a finite value from 0 to 65504, ties to even. Within one
// exponent a half has 1024 steps; below 2^-14 the subnormals keep that exponent's step
// of 2^-24, and a value that rounds up to the next power of two carries into the exponent
// the way the bits do.
inline std::uint16_t HalfOf(double value) {
  if (value == 0.0) return 0;
  const int exponent = std::max(std::ilogb(value), -14);
  const auto units = static_cast<int>(std::nearbyint(std::ldexp(value, 10 - exponent)));
  return static_cast<std::uint16_t>(((exponent + 15) << 10) + units - 1024);
}

// A byte an SDR program drew, as the desktop holds it with SDR white at `nits`.
inline std::uint16_t ComposedAt(int byte, unsigned nits) { return HalfOf(LinearOfByte(byte) * nits / 80.0); }

}  // namespace tintelo::testing_support
