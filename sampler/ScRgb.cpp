// Half floats, and scRGB channels back to sRGB bytes.
#include "sampler/ScRgb.h"

#include <bit>
#include <cmath>

namespace tintelo {

float HalfToFloat(std::uint16_t half) noexcept {
  const std::uint32_t sign = (std::uint32_t{half} & 0x8000U) << 16;
  const std::uint32_t exponent = (std::uint32_t{half} >> 10) & 0x1FU;
  const std::uint32_t fraction = std::uint32_t{half} & 0x3FFU;
  // Infinities and NaN: the float's all-ones exponent, the payload kept.
  if (exponent == 0x1FU) return std::bit_cast<float>(sign | 0x7F800000U | (fraction << 13));
  if (exponent == 0) {
    // Zero and the subnormals: the fraction in units of 2^-24, exact in a float.
    const float magnitude = static_cast<float>(fraction) * 0x1p-24F;
    return sign != 0 ? -magnitude : magnitude;
  }
  // A normal value: the exponent's bias goes from 15 to 127, the fraction gains 13 zeros.
  return std::bit_cast<float>(sign | ((exponent + 112U) << 23) | (fraction << 13));
}

std::uint8_t SrgbByteOfScRgb(float value, float white) noexcept {
  // NaN fails every comparison, so it lands here with zero and the negative values.
  if (!(value > 0.0F)) return 0;
  if (value >= white) return 255;
  // The sRGB curve (IEC 61966-2-1), in double: each byte's window is about 1/255 wide,
  // and a half float carries 11 bits, so only the input's rounding counts.
  const double linear = static_cast<double>(value) / static_cast<double>(white);
  const double encoded = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
  return static_cast<std::uint8_t>(std::floor(encoded * 255.0 + 0.5));
}

Pixel PixelOfScRgb(std::span<const std::uint16_t, 4> rgba, float white) noexcept {
  const auto channel = [white](std::uint16_t half) { return Pixel{SrgbByteOfScRgb(HalfToFloat(half), white)}; };
  return (channel(rgba[0]) << 16) | (channel(rgba[1]) << 8) | channel(rgba[2]);
}

}  // namespace tintelo
