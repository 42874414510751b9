// The CSS notations: sRGB's transfer function, its matrix to XYZ, OKLab's matrices and
// the Bradford adaptation to D50 for CIE Lab, as CSS Color Module Level 4 gives them.
#include "colour/Css.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace tintelo {

namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

Vector Times(const Matrix& m, const Vector& v) noexcept {
  Vector out{};
  for (std::size_t i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return out;
}

// Red, green and blue of a colour value (0x00BBGGRR), 0 to 1.
Vector Gamma(ColourValue colour) noexcept {
  const auto channel = [colour](int shift) { return static_cast<double>((colour >> shift) & 0xFF) / 255.0; };
  return {channel(0), channel(8), channel(16)};
}

// sRGB's transfer function undone: light, in proportion.
double Linear(double c) noexcept { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

Vector XyzD65(ColourValue colour) noexcept {
  static constexpr Matrix kLinearSrgbToXyz{{{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                                            {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                                            {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}}};
  const Vector gamma = Gamma(colour);
  return Times(kLinearSrgbToXyz, {Linear(gamma[0]), Linear(gamma[1]), Linear(gamma[2])});
}

// A hue in degrees from 0 up to but not including 360.
double Degrees(double y, double x) noexcept {
  const double h = std::atan2(y, x) * 180.0 / 3.14159265358979323846;
  return h < 0 ? h + 360.0 : h;
}

}  // namespace

CssCoordinates HslOf(ColourValue colour) noexcept {
  const Vector c = Gamma(colour);
  const double max = std::max({c[0], c[1], c[2]});
  const double min = std::min({c[0], c[1], c[2]});
  const double l = (max + min) / 2;
  const double d = max - min;
  if (d == 0) return {0, 0, l * 100};
  const double s = l == 0 || l == 1 ? 0 : (max - l) / std::min(l, 1 - l);
  double h = 0;
  if (max == c[0]) {
    h = (c[1] - c[2]) / d + (c[1] < c[2] ? 6 : 0);
  } else if (max == c[1]) {
    h = (c[2] - c[0]) / d + 2;
  } else {
    h = (c[0] - c[1]) / d + 4;
  }
  return {h * 60, s * 100, l * 100};
}

CssCoordinates OklchOf(ColourValue colour) noexcept {
  static constexpr Matrix kXyzToLms{{{0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
                                     {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
                                     {0.0481771893596242, 0.2642395317527308, 0.6335478284694309}}};
  static constexpr Matrix kLmsToOklab{{{0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
                                       {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
                                       {0.0259040424655478, 0.7827717124575296, -0.8086757549230774}}};
  const Vector lms = Times(kXyzToLms, XyzD65(colour));
  const Vector lab = Times(kLmsToOklab, {std::cbrt(lms[0]), std::cbrt(lms[1]), std::cbrt(lms[2])});
  return {lab[0] * 100, std::hypot(lab[1], lab[2]), Degrees(lab[2], lab[1])};
}

CssCoordinates LabOf(ColourValue colour) noexcept {
  static constexpr Matrix kD65ToD50{{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                                     {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                                     {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
  static constexpr Vector kD50{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
  constexpr double kEpsilon = 216.0 / 24389;
  constexpr double kKappa = 24389.0 / 27;
  const Vector xyz = Times(kD65ToD50, XyzD65(colour));
  Vector f{};
  for (std::size_t i = 0; i < 3; ++i) {
    const double v = xyz[i] / kD50[i];
    f[i] = v > kEpsilon ? std::cbrt(v) : (kKappa * v + 16) / 116;
  }
  return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

std::string CssNumber(double value, int decimals) {
  static constexpr std::array<std::int64_t, 7> kScale{1, 10, 100, 1000, 10000, 100000, 1000000};
  const std::int64_t scale = kScale.at(static_cast<std::size_t>(decimals));
  const std::int64_t n = std::llround(value * static_cast<double>(scale));
  auto magnitude = static_cast<std::uint64_t>(n < 0 ? -n : n);
  // Digits from the last one back, into a buffer of its own: the fraction's (without
  // trailing zeros), the point, the whole part's, the sign.
  std::array<char, 32> text{};
  std::size_t at = text.size();
  bool digits = false;
  for (int place = 0; place < decimals; ++place, magnitude /= 10) {
    const auto digit = static_cast<char>('0' + magnitude % 10);
    if (digit != '0' || digits) {
      text[--at] = digit;
      digits = true;
    }
  }
  if (digits) text[--at] = '.';
  do {
    text[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (n < 0) text[--at] = '-';
  return std::string(text.data() + at, text.size() - at);
}

namespace {

// A hue rounded to `decimals` places, where 360 is 0.
std::string Hue(double degrees, int decimals) {
  std::string text = CssNumber(degrees, decimals);
  return text == "360" ? "0" : text;
}

}  // namespace

std::string CssText(ColourValue colour, CssNotation notation) {
  const int red = colour & 0xFF;
  const int green = (colour >> 8) & 0xFF;
  const int blue = (colour >> 16) & 0xFF;
  switch (notation) {
    case CssNotation::Hex: {
      static constexpr char kDigits[] = "0123456789abcdef";
      std::string text = "#";
      for (const int c : {red, green, blue}) {
        text += kDigits[c >> 4];
        text += kDigits[c & 0xF];
      }
      return text;
    }
    case CssNotation::Rgb:
      return "rgb(" + std::to_string(red) + ' ' + std::to_string(green) + ' ' + std::to_string(blue) + ')';
    case CssNotation::Hsl: {
      const CssCoordinates hsl = HslOf(colour);
      const bool grey = red == green && green == blue;
      return "hsl(" + (grey ? std::string("0") : Hue(hsl.first, 1)) + ' ' + CssNumber(hsl.second, 1) + "% " +
             CssNumber(hsl.third, 1) + "%)";
    }
    case CssNotation::Oklch: {
      const CssCoordinates lch = OklchOf(colour);
      // CSS takes a chroma this small as no hue at all.
      const bool grey = lch.second <= 0.000004;
      return "oklch(" + CssNumber(lch.first, 2) + "% " + (grey ? std::string("0") : CssNumber(lch.second, 5)) + ' ' +
             (grey ? std::string("0") : Hue(lch.third, 2)) + ')';
    }
    case CssNotation::Lab: {
      const CssCoordinates lab = LabOf(colour);
      return "lab(" + CssNumber(lab.first, 2) + ' ' + CssNumber(lab.second, 2) + ' ' + CssNumber(lab.third, 2) + ')';
    }
  }
  return {};
}

}  // namespace tintelo
