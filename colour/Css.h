// The colour in the notations CSS takes today, each a text to paste into a style sheet:
// lower-case hex, rgb(), hsl(), oklch() and lab(), converted exactly as CSS Color Module
// Level 4 defines them, in double precision, and rounded so that each text gives back
// the colour it was made from.
#pragma once

#include <array>
#include <string>

#include "colour/Colour.h"

namespace tintelo {

enum class CssNotation { Hex, Rgb, Hsl, Oklch, Lab };
inline constexpr std::array kCssNotations{CssNotation::Hex, CssNotation::Rgb, CssNotation::Hsl, CssNotation::Oklch,
                                          CssNotation::Lab};

// The unrounded coordinates, as CSS gives them: hue in degrees, saturation, lightness
// and OKLCH's lightness in per cent.
struct CssCoordinates {
  double first = 0;
  double second = 0;
  double third = 0;
};
[[nodiscard]] CssCoordinates HslOf(ColourValue colour) noexcept;
[[nodiscard]] CssCoordinates OklchOf(ColourValue colour) noexcept;
[[nodiscard]] CssCoordinates LabOf(ColourValue colour) noexcept;

// The text, e.g. for 30, 144, 255: "#1e90ff", "rgb(30 144 255)", "hsl(209.6 100% 55.9%)",
// "oklch(65.2% 0.19012 253.21)", "lab(58.36 0.89 -64.78)". A point is the decimal
// separator whatever the system's locale.
[[nodiscard]] std::string CssText(ColourValue colour, CssNotation notation);

// `value` rounded to `decimals` places (0 to 6), half away from zero, with trailing zeros
// and a trailing point dropped and never "-0".
[[nodiscard]] std::string CssNumber(double value, int decimals);

}  // namespace tintelo
