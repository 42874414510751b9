// Choosing a text colour that stays readable on a given background, whatever colour
// scheme the user runs.
#pragma once

#include <cmath>

#include "colour/Colour.h"

namespace tintelo {

// Relative luminance of a 0x00BBGGRR colour, 0 (black) to 1 (white), as WCAG 2 defines it.
[[nodiscard]] inline double RelativeLuminance(ColourValue colour) {
  const auto linear = [](int component) {
    const double c = component / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF) +
         0.0722 * linear((colour >> 16) & 0xFF);
}

// 1 (no contrast) to 21 (black on white).
[[nodiscard]] inline double ContrastRatio(ColourValue a, ColourValue b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

// The scheme's own text colour where it reads on `background` (at least 4.5:1, the WCAG
// level for body text); otherwise black or white, whichever contrasts more.
[[nodiscard]] inline ColourValue ReadableTextColour(ColourValue preferred, ColourValue background) {
  constexpr double kReadable = 4.5;
  constexpr ColourValue kBlack = 0;
  constexpr ColourValue kWhite = ComposeColour(255, 255, 255);
  if (ContrastRatio(preferred, background) >= kReadable) return preferred;
  return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

}  // namespace tintelo
