#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>

#include "colour/Contrast.h"
#include "colour/Module1.h"
#include "tests/CaseName.h"

namespace tintelo {
namespace {

struct RgbTextCase {
  ColourValue value;
  const char* text;
};

class RgbText : public testing::TestWithParam<RgbTextCase> {};

TEST_P(RgbText, ListsRedGreenBlueFromSignedDivision) { EXPECT_EQ(fnRgbText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Values, RgbText,
                         testing::Values(RgbTextCase{0, "0,0,0"}, RgbTextCase{255, "255,0,0"},
                                         RgbTextCase{0x0000FF00, "0,255,0"}, RgbTextCase{0x00FF0000, "0,0,255"},
                                         RgbTextCase{0x00FFFFFF, "255,255,255"}, RgbTextCase{0x00336699, "153,102,51"},
                                         // Negative values: truncation toward zero, not an arithmetic shift.
                                         RgbTextCase{static_cast<ColourValue>(0x80000008u), "8,1,1"},
                                         RgbTextCase{-1, "255,0,0"}, RgbTextCase{INT32_MIN, "0,0,0"},
                                         RgbTextCase{INT32_MIN + 1, "1,1,1"}, RgbTextCase{-256, "0,255,0"},
                                         RgbTextCase{-65536, "0,0,255"}, RgbTextCase{INT32_MAX, "255,255,255"},
                                         RgbTextCase{0x01000000, "0,0,0"}));

struct HtmlCase {
  Component red, green, blue;
  const char* text;
};

class HtmlColour : public testing::TestWithParam<HtmlCase> {};

TEST_P(HtmlColour, WritesTwoUpperCaseDigitsPerComponent) {
  const auto& c = GetParam();
  EXPECT_EQ(fnHtmlColour(c.red, c.green, c.blue), c.text);
}

INSTANTIATE_TEST_SUITE_P(Values, HtmlColour,
                         testing::Values(HtmlCase{0, 0, 0, "#000000"}, HtmlCase{255, 255, 255, "#FFFFFF"},
                                         HtmlCase{1, 2, 3, "#010203"}, HtmlCase{255, 0, 255, "#FF00FF"},
                                         HtmlCase{5, 200, 30, "#05C81E"}, HtmlCase{16, 15, 16, "#100F10"},
                                         HtmlCase{171, 205, 239, "#ABCDEF"}));

struct CmykCase {
  Component red, green, blue;
  Cmyk cmyk;
};

class RgbToCmyk : public testing::TestWithParam<CmykCase> {};

TEST_P(RgbToCmyk, MovesTheGreyIntoBlack) {
  const auto& c = GetParam();
  const Cmyk got = fnRgbToCmyk(c.red, c.green, c.blue);
  EXPECT_EQ(got, c.cmyk) << got.C << ',' << got.M << ',' << got.Y << ',' << got.K;
}

INSTANTIATE_TEST_SUITE_P(Values, RgbToCmyk,
                         testing::Values(CmykCase{0, 0, 0, {0, 0, 0, 255}}, CmykCase{255, 255, 255, {0, 0, 0, 0}},
                                         CmykCase{255, 0, 0, {0, 255, 255, 0}}, CmykCase{0, 255, 0, {255, 0, 255, 0}},
                                         CmykCase{0, 0, 255, {255, 255, 0, 0}}, CmykCase{128, 128, 128, {0, 0, 0, 127}},
                                         CmykCase{200, 100, 50, {0, 100, 150, 55}},
                                         CmykCase{5, 200, 30, {195, 0, 170, 55}}, CmykCase{1, 2, 3, {2, 1, 0, 252}},
                                         CmykCase{250, 250, 5, {0, 0, 245, 5}}));

int ParseInt(const std::string& text, std::size_t& at) {
  std::size_t used = 0;
  const int value = std::stoi(text.substr(at), &used);
  at += used + 1;
  return value;
}

int HexDigit(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

// Every ordinary colour: the components survive the text, the two hexadecimal texts
// agree with them, and the ink amounts keep their invariants.
TEST(EveryOrdinaryColour, NotationsAgreeWithTheComponents) {
  int failures = 0;
  for (ColourValue value = 0; value <= 0xFFFFFF && failures < 10; ++value) {
    const int red = value & 255;
    const int green = (value >> 8) & 255;
    const int blue = (value >> 16) & 255;

    const std::string rgb = fnRgbText(value);
    std::size_t at = 0;
    const int r = ParseInt(rgb, at), g = ParseInt(rgb, at), b = ParseInt(rgb, at);
    const bool rgbOk = r == red && g == green && b == blue && at == rgb.size() + 1 &&
                       rgb.find_first_not_of("0123456789,") == std::string::npos;

    const std::string html =
        fnHtmlColour(static_cast<Component>(red), static_cast<Component>(green), static_cast<Component>(blue));
    bool htmlOk =
        html.size() == 7 && html[0] == '#' && html.find_first_not_of("#0123456789ABCDEF") == std::string::npos;
    if (htmlOk) {
      htmlOk = HexDigit(html[1]) * 16 + HexDigit(html[2]) == red &&
               HexDigit(html[3]) * 16 + HexDigit(html[4]) == green &&
               HexDigit(html[5]) * 16 + HexDigit(html[6]) == blue;
    }

    const Cmyk k =
        fnRgbToCmyk(static_cast<Component>(red), static_cast<Component>(green), static_cast<Component>(blue));
    const bool cmykOk = k.C >= 0 && k.C <= 255 && k.M >= 0 && k.M <= 255 && k.Y >= 0 && k.Y <= 255 && k.K >= 0 &&
                        k.K <= 255 && (k.C == 0 || k.M == 0 || k.Y == 0) && k.C + k.K == 255 - red &&
                        k.M + k.K == 255 - green && k.Y + k.K == 255 - blue;

    if (!rgbOk || !htmlOk || !cmykOk) {
      ++failures;
      ADD_FAILURE() << "colour " << value << ": rgb '" << rgb << "' html '" << html << "' cmyk " << k.C << ',' << k.M
                    << ',' << k.Y << ',' << k.K;
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(EveryGrey, IsBlackInkOnly) {
  for (int g = 0; g <= 255; ++g) {
    const auto c = static_cast<Component>(g);
    EXPECT_EQ(fnRgbToCmyk(c, c, c), (Cmyk{0, 0, 0, static_cast<std::int16_t>(255 - g)})) << g;
  }
}

TEST(CheckedArithmetic, RaisesOverflowInsteadOfWrapping) {
  EXPECT_EQ(CheckedInt16(-32768), -32768);
  EXPECT_EQ(CheckedByte(255), 255);
  for (const std::int64_t bad : {std::int64_t{32768}, std::int64_t{-32769}}) {
    try {
      (void)CheckedInt16(bad);
      ADD_FAILURE() << bad << " narrowed without an error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), 6);
      EXPECT_STREQ(e.what(), "Overflow");
    }
  }
  EXPECT_THROW((void)CheckedByte(256), RuntimeError);
  EXPECT_THROW((void)CheckedByte(-1), RuntimeError);
  EXPECT_THROW((void)CheckedNegate(-32768), RuntimeError);
}

// Schemes as GetSysColor gives them, 0x00BBGGRR: window, window text, button face, button
// text, inactive border, tooltip background, tooltip text.
constexpr SchemeColours kOrdinary{0xFFFFFF, 0, 0xC8D0D4, 0, 0xC8D0D4, 0xE1FFFF, 0};
constexpr SchemeColours kHighContrastBlack{0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF};
constexpr SchemeColours kHighContrastWhite{0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0};
// A theme of the user's own: yellow on navy fields, green on black buttons, and tooltip
// text darker than black-or-white would be.
constexpr SchemeColours kOwnTheme{0x800000, 0x00FFFF, 0, 0x00FF00, 0x808080, 0, 0x800000};
// Light text on light backgrounds, as some dark themes leave them outside high contrast.
constexpr SchemeColours kLightOnLight{0x202020, 0xE6E6E6, 0xC8C8C8, 0xE6E6E6, 0xC8C8C8, 0xE0E0E0, 0xC0C0C0};
// Dark text on dark backgrounds.
constexpr SchemeColours kDarkOnDark{0, 0, 0x202020, 0, 0x202020, 0x800000, 0x00FFFF};
constexpr SchemeColours kGreys{0xFFFFFF, 0, 0x808080, 0x646464, 0x808080, 0x808080, 0x646464};

struct SurfaceCase {
  const char* name;
  Surface surface;
  SchemeColours scheme;
  bool highContrast;
  ColourPair chosen;
};

void PrintTo(const SurfaceCase& c, std::ostream* out) { *out << c.name; }

class SurfaceColour : public testing::TestWithParam<SurfaceCase> {};

// Outside high contrast the window keeps its look, with the scheme's text colour where it
// reads and black or white where it does not; under high contrast every surface takes
// the theme's pair as it is.
TEST_P(SurfaceColour, FollowsTheSchemeAndHighContrast) {
  const auto& c = GetParam();
  const ColourPair chosen = SurfaceColours(c.surface, c.scheme, c.highContrast);
  EXPECT_EQ(chosen.text, c.chosen.text);
  EXPECT_EQ(chosen.background, c.chosen.background);
  if (!c.highContrast) {
    EXPECT_GE(ContrastRatio(chosen.text, chosen.background), 4.5);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, SurfaceColour,
    testing::Values(
        SurfaceCase{"OrdinaryField", Surface::Field, kOrdinary, false, {0, 0xFFFFFF}},
        SurfaceCase{"OrdinaryCaption", Surface::Form, kOrdinary, false, {0, 0xC8D0D4}},
        SurfaceCase{"OrdinaryPanel", Surface::HelpPanel, kOrdinary, false, {0, 0xE1FFFF}},
        // High Contrast Black's colours with the mode off: fields stay white, so the white
        // window text gives way to black there; on the black background it reads as it is.
        SurfaceCase{"BlackSchemeFieldWithModeOff", Surface::Field, kHighContrastBlack, false, {0, 0xFFFFFF}},
        SurfaceCase{"BlackSchemeCaptionWithModeOff", Surface::Form, kHighContrastBlack, false, {0xFFFFFF, 0}},
        SurfaceCase{"LightOnLightField", Surface::Field, kLightOnLight, false, {0, 0xFFFFFF}},
        SurfaceCase{"LightOnLightCaption", Surface::Form, kLightOnLight, false, {0, 0xC8C8C8}},
        SurfaceCase{"LightOnLightPanel", Surface::HelpPanel, kLightOnLight, false, {0, 0xE0E0E0}},
        SurfaceCase{"DarkOnDarkCaption", Surface::Form, kDarkOnDark, false, {0xFFFFFF, 0x202020}},
        SurfaceCase{"YellowOnNavyPanel", Surface::HelpPanel, kDarkOnDark, false, {0x00FFFF, 0x800000}},
        // Mid grey: black contrasts more than white does.
        SurfaceCase{"GreyOnMidGreyCaption", Surface::Form, kGreys, false, {0, 0x808080}},
        SurfaceCase{"HighContrastBlackField", Surface::Field, kHighContrastBlack, true, {0xFFFFFF, 0}},
        SurfaceCase{"HighContrastBlackCaption", Surface::Form, kHighContrastBlack, true, {0xFFFFFF, 0}},
        SurfaceCase{"HighContrastBlackPanel", Surface::HelpPanel, kHighContrastBlack, true, {0xFFFFFF, 0}},
        SurfaceCase{"HighContrastWhiteField", Surface::Field, kHighContrastWhite, true, {0, 0xFFFFFF}},
        SurfaceCase{"HighContrastWhiteCaption", Surface::Form, kHighContrastWhite, true, {0, 0xFFFFFF}},
        SurfaceCase{"HighContrastWhitePanel", Surface::HelpPanel, kHighContrastWhite, true, {0, 0xFFFFFF}},
        SurfaceCase{"OwnThemeField", Surface::Field, kOwnTheme, true, {0x00FFFF, 0x800000}},
        SurfaceCase{"OwnThemeCaption", Surface::Form, kOwnTheme, true, {0x00FF00, 0}},
        // The panels take the fields' pair, whatever the tooltip colours say.
        SurfaceCase{"OwnThemePanel", Surface::HelpPanel, kOwnTheme, true, {0x00FFFF, 0x800000}}),
    testing_support::CaseName<SurfaceCase>);

}  // namespace
}  // namespace tintelo
