// The colour notations shown in the readouts: pure, stateless conversions.
#pragma once

#include <string>

#include "colour/Colour.h"

namespace tintelo {

// "red,green,blue" in decimal. The components come from signed divisions truncated
// toward zero, not shifts, so a negative value gives e.g. "8,1,1" for 0x80000008.
[[nodiscard]] std::string fnRgbText(ColourValue value);

// "#RRGGBB", upper-case hexadecimal, always 7 characters.
[[nodiscard]] std::string fnHtmlColour(Component red, Component green, Component blue);

// Ink amounts with the grey component moved into K: at least one of C, M, Y is 0.
[[nodiscard]] Cmyk fnRgbToCmyk(Component red, Component green, Component blue);

}  // namespace tintelo
