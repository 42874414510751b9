#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "colour/Css.h"
#include "tests/CaseName.h"
#include "tests/CssBack.h"

namespace tintelo {
namespace {

// ---- Against an outside library ----

// colorjs.io's unrounded coordinates (tests/fixtures/css_coordinates.mjs made the file):
// ours agree within 1e-9 before any rounding. A hue the library leaves out, or one of a
// chroma too small to have a meaningful one, is not compared.
TEST(CssCoordinates, AgreeWithColorjsWithinABillionth) {
  std::ifstream in(std::string(TINTELO_FIXTURES) + "/css_coordinates.txt");
  ASSERT_TRUE(in) << "no fixture";
  std::string line;
  int colours = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    int r = 0, g = 0, b = 0;
    std::array<std::string, 9> expected;
    fields >> r >> g >> b;
    for (std::string& e : expected) fields >> e;
    const ColourValue colour = ComposeColour(r, g, b);
    const std::array<CssCoordinates, 3> ours{HslOf(colour), OklchOf(colour), LabOf(colour)};
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const CssCoordinates& c = ours[i / 3];
      const double mine = i % 3 == 0 ? c.first : i % 3 == 1 ? c.second : c.third;
      const bool hue = i == 0 || i == 5;
      if (expected[i] == "none" || (i == 5 && ours[1].second < 1e-6)) continue;
      const double theirs = std::stod(expected[i]);
      // A hue near 0 may come out near 360 on either side.
      const double gap = hue ? std::remainder(mine - theirs, 360.0) : mine - theirs;
      EXPECT_NEAR(gap, 0.0, 1e-9) << r << ' ' << g << ' ' << b << " coordinate " << i;
    }
    ++colours;
  }
  EXPECT_EQ(colours, 500);
}

// ---- The texts ----

struct TextCase {
  const char* name;
  ColourValue colour;
  std::array<const char*, 5> texts;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class CssTexts : public testing::TestWithParam<TextCase> {};

TEST_P(CssTexts, AreTheNotationsRoundedAsCssReadsThem) {
  for (std::size_t i = 0; i < kCssNotations.size(); ++i) {
    EXPECT_EQ(CssText(GetParam().colour, kCssNotations[i]), GetParam().texts[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, CssTexts,
    testing::Values(
        TextCase{"DodgerBlue",
                 ComposeColour(30, 144, 255),
                 {"#1e90ff", "rgb(30 144 255)", "hsl(209.6 100% 55.9%)", "oklch(65.2% 0.19012 253.21)",
                  "lab(58.36 0.89 -64.78)"}},
        // Greys have no hue, and no "-0" however their a and b come out.
        TextCase{"Black", ComposeColour(0, 0, 0), {"#000000", "rgb(0 0 0)", "hsl(0 0% 0%)", "oklch(0% 0 0)", "lab(0 0 0)"}},
        TextCase{"White",
                 ComposeColour(255, 255, 255),
                 {"#ffffff", "rgb(255 255 255)", "hsl(0 0% 100%)", "oklch(100% 0 0)", "lab(100 0 0)"}},
        TextCase{"Grey",
                 ComposeColour(119, 119, 119),
                 {"#777777", "rgb(119 119 119)", "hsl(0 0% 46.7%)", "oklch(56.93% 0 0)", "lab(50.03 0 0)"}},
        // The hue nearest 360 that 8-bit sRGB has; the coordinates are colorjs.io's, rounded.
        TextCase{"RedTowardsMagenta",
                 ComposeColour(255, 0, 1),
                 {"#ff0001", "rgb(255 0 1)", "hsl(359.8 100% 50%)", "oklch(62.8% 0.25765 29.18)",
                  "lab(54.29 80.81 69.63)"}}),
    testing_support::CaseName<TextCase>);

// ---- Back to the colour ----

// Every 251st colour of the 16,777,216 here, which keeps the host suite quick; the
// benchmark's sweep takes them all.
TEST(CssTexts, GiveBackTheColourTheyWereMadeFrom) {
  int failures = 0;
  for (std::int32_t colour = 0; colour < 0x1000000; colour += 251) {
    const ColourValue value = colour;
    for (const CssNotation notation : {CssNotation::Hsl, CssNotation::Oklch, CssNotation::Lab}) {
      const std::string text = CssText(value, notation);
      const ColourValue back = testing_support::ColourOfCss(text);
      if (back != value && ++failures <= 10) {
        ADD_FAILURE() << CssText(value, CssNotation::Hex) << " comes back as " << std::hex << back << " from " << text;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tintelo
