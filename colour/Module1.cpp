// The colour notations: decimal, hexadecimal, CMYK, RGB and HTML texts of a colour.
#include "colour/Module1.h"

#include <algorithm>
#include <array>

namespace tintelo {

namespace {

// Decimal digits of 0..255 appended without leading zeros.
void AppendByte(std::string& out, Component value) {
  if (value >= 100) out.push_back(static_cast<char>('0' + value / 100));
  if (value >= 10) out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

std::string fnRgbText(ColourValue value) {
  // C++ integer division truncates toward zero, exactly the rule the readouts follow.
  const auto red = static_cast<Component>(value & 255);
  const auto green = static_cast<Component>((value / 256) & 255);
  const auto blue = CheckedByte((value / 65536) & 255);
  std::string text;
  text.reserve(11);
  AppendByte(text, red);
  text.push_back(',');
  AppendByte(text, green);
  text.push_back(',');
  AppendByte(text, blue);
  return text;
}

std::string fnHtmlColour(Component red, Component green, Component blue) {
  static constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                                '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string text(7, '#');
  std::size_t at = 1;
  for (const Component c : {red, green, blue}) {
    text[at++] = kDigits[c >> 4];
    text[at++] = kDigits[c & 15];
  }
  return text;
}

Cmyk fnRgbToCmyk(Component red, Component green, Component blue) {
  const std::int16_t c = CheckedInt16(255 - red);
  const std::int16_t m = CheckedInt16(255 - green);
  const std::int16_t y = CheckedInt16(255 - blue);
  const std::int16_t k = std::min({c, m, y});
  return Cmyk{CheckedInt16(c - k), CheckedInt16(m - k), CheckedInt16(y - k), k};
}

}  // namespace tintelo
