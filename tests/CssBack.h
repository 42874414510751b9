// What a style sheet's reader does with Tintelo's CSS texts: each notation back to 8-bit
// sRGB through the inverse conversions CSS Color Module Level 4 gives, for the tests and
// the benchmark's sweep of every colour.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "colour/Colour.h"

namespace tintelo::testing_support {

using Vector = std::array<double, 3>;

inline Vector Times(const std::array<Vector, 3>& m, const Vector& v) {
  Vector out{};
  for (std::size_t i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return out;
}

inline ColourValue FromLinear(const Vector& linear) {
  const auto byte = [](double c) {
    const double gamma = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(std::clamp(gamma, 0.0, 1.0) * 255));
  };
  return ComposeColour(byte(linear[0]), byte(linear[1]), byte(linear[2]));
}

inline Vector LinearFromXyzD65(const Vector& xyz) {
  static constexpr std::array<Vector, 3> kXyzToLinear{{{3.2409699419045226, -1.537383177570094, -0.4986107602930034},
                                                       {-0.9692436362808796, 1.8759675015077202, 0.04155505740717559},
                                                       {0.05563007969699366, -0.20397695888897652, 1.0569715142428786}}};
  return Times(kXyzToLinear, xyz);
}

inline std::vector<double> Numbers(const std::string& text) {
  std::string plain = text.substr(text.find('(') + 1);
  for (char& c : plain) {
    if (c == '%' || c == ')') c = ' ';
  }
  std::istringstream in(plain);
  std::vector<double> numbers;
  for (double v = 0; in >> v;) numbers.push_back(v);
  return numbers;
}

inline ColourValue FromHsl(const std::vector<double>& n) {
  const double s = n[1] / 100;
  const double l = n[2] / 100;
  const auto f = [&](double k) {
    const double m = std::fmod(k + n[0] / 30, 12.0);
    const double a = s * std::min(l, 1 - l);
    return l - a * std::max(-1.0, std::min({m - 3, 9 - m, 1.0}));
  };
  const auto byte = [](double c) { return static_cast<int>(std::lround(c * 255)); };
  return ComposeColour(byte(f(0)), byte(f(8)), byte(f(4)));
}

inline ColourValue FromOklch(const std::vector<double>& n) {
  static constexpr std::array<Vector, 3> kLabToLms{{{1.0, 0.3963377773761749, 0.2158037573099136},
                                                    {1.0, -0.1055613458156586, -0.0638541728258133},
                                                    {1.0, -0.0894841775298119, -1.2914855480194092}}};
  static constexpr std::array<Vector, 3> kLmsToXyz{{{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                                                    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                                                    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}}};
  const double h = n[2] * 3.14159265358979323846 / 180;
  Vector lms = Times(kLabToLms, {n[0] / 100, n[1] * std::cos(h), n[1] * std::sin(h)});
  for (double& v : lms) v = v * v * v;
  return FromLinear(LinearFromXyzD65(Times(kLmsToXyz, lms)));
}

inline ColourValue FromLab(const std::vector<double>& n) {
  static constexpr std::array<Vector, 3> kD50ToD65{{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                                                    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                                                    {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};
  static constexpr Vector kD50{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
  constexpr double kEpsilon3 = 24.0 / 116;
  constexpr double kKappa = 24389.0 / 27;
  const double fy = (n[0] + 16) / 116;
  const Vector f{n[1] / 500 + fy, fy, fy - n[2] / 200};
  Vector xyz{};
  for (std::size_t i = 0; i < 3; ++i) {
    const double v = i == 1 ? (n[0] > 8 ? fy * fy * fy : n[0] / kKappa)
                            : (f[i] > kEpsilon3 ? f[i] * f[i] * f[i] : (116 * f[i] - 16) / kKappa);
    xyz[i] = v * kD50[i];
  }
  return FromLinear(LinearFromXyzD65(Times(kD50ToD65, xyz)));
}

// The colour an hsl(), oklch() or lab() text of Tintelo's gives back.
inline ColourValue ColourOfCss(const std::string& text) {
  const std::vector<double> numbers = Numbers(text);
  if (text.rfind("hsl(", 0) == 0) return FromHsl(numbers);
  if (text.rfind("oklch(", 0) == 0) return FromOklch(numbers);
  return FromLab(numbers);
}

}  // namespace tintelo::testing_support
