#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "sampler/HdrQuery.h"
#include "sampler/ScRgb.h"
#include "tests/CaseName.h"
#include "tests/SdrOnHdr.h"

namespace tintelo {
namespace {

using testing_support::ComposedAt;
using testing_support::HalfOf;

class ScRgbRoundTrip : public testing::TestWithParam<unsigned> {};

// Every byte of every channel, as an SDR program drew it and Windows composed it at the
// user's SDR white level, comes back exactly; what is brighter than white is 255.
TEST_P(ScRgbRoundTrip, GivesBackEveryByteOfEveryChannelAndClipsHighlights) {
  const unsigned nits = GetParam();
  const float white = ScRgbOfWhiteLevel(nits * 1000 / 80);
  for (int v = 0; v < 256; ++v) {
    // Three different bytes in each pixel, each channel through all 256 of them.
    const std::array<int, 3> bytes{v, 255 - v, (v + 85) % 256};
    std::array<std::uint16_t, 4> rgba{0, 0, 0, 0x3C00};  // alpha 1.0
    for (std::size_t c = 0; c < 3; ++c) rgba.at(c) = ComposedAt(bytes.at(c), nits);
    const auto expected = static_cast<Pixel>((bytes[0] << 16) | (bytes[1] << 8) | bytes[2]);
    EXPECT_EQ(PixelOfScRgb(rgba, white), expected) << std::hex << "bytes " << bytes[0] << ' ' << bytes[1] << ' '
                                                   << bytes[2] << " at " << std::dec << nits << " nits";
  }
  const std::uint16_t highlight = HalfOf(1.5 * nits / 80.0);
  EXPECT_EQ(PixelOfScRgb(std::array<std::uint16_t, 4>{highlight, highlight, highlight, 0x3C00}, white), 0xFFFFFFU)
      << "half again as bright as SDR white";
}

std::string NitsName(const testing::TestParamInfo<unsigned>& info) { return std::to_string(info.param) + "Nits"; }

// Windows' default, the settings' usual steps, and its brightest.
INSTANTIATE_TEST_SUITE_P(SdrWhite, ScRgbRoundTrip, testing::Values(80U, 120U, 200U, 240U, 480U), NitsName);

// ---- Values no SDR program draws ----

struct SpecialCase {
  const char* name;
  std::uint16_t half;
  std::uint8_t byte;
};

void PrintTo(const SpecialCase& c, std::ostream* os) { *os << c.name; }

class ScRgbSpecial : public testing::TestWithParam<SpecialCase> {};

TEST_P(ScRgbSpecial, GivesItsDefinedByteInEveryChannel) {
  const SpecialCase& c = GetParam();
  const std::array<std::uint16_t, 4> rgba{c.half, c.half, c.half, 0x3C00};
  EXPECT_EQ(PixelOfScRgb(rgba, ScRgbOfWhiteLevel(2500)), Pixel{c.byte} * 0x010101U);
}

// At 200 nits, SDR white is scRGB 2.5 (0x4100).
INSTANTIATE_TEST_SUITE_P(Halves, ScRgbSpecial,
                         testing::Values(SpecialCase{"Zero", 0x0000, 0}, SpecialCase{"NegativeZero", 0x8000, 0},
                                         SpecialCase{"SmallestSubnormal", 0x0001, 0},
                                         SpecialCase{"LargestSubnormal", 0x03FF, 0},
                                         SpecialCase{"NegativeOutsideTheGamut", 0xB800, 0},
                                         SpecialCase{"NegativeInfinity", 0xFC00, 0}, SpecialCase{"QuietNaN", 0x7E00, 0},
                                         SpecialCase{"SignallingNaN", 0x7C01, 0}, SpecialCase{"NegativeNaN", 0xFE00, 0},
                                         SpecialCase{"White", 0x4100, 255}, SpecialCase{"TwiceWhite", 0x4500, 255},
                                         SpecialCase{"LargestHalf", 0x7BFF, 255}, SpecialCase{"Infinity", 0x7C00, 255}),
                         testing_support::CaseName<SpecialCase>);

// ---- Which query says whether a display shows HDR ----

// Where the newer query answers, its active mode alone decides and the older query, which
// takes Auto Color Management for HDR on Windows 11 24H2, is not asked.
struct QueryCase {
  const char* name;
  std::optional<ColourMode> mode;
  std::optional<LegacyColourAnswer> legacy;
  bool hdr;
  bool legacyAsked;
};

void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }

class HdrQuery : public testing::TestWithParam<QueryCase> {};

TEST_P(HdrQuery, TheNewerQueryDecidesWhereTheSystemHasIt) {
  const QueryCase& c = GetParam();
  bool legacyAsked = false;
  const bool hdr = ShowsHdr([&] { return c.mode; },
                            [&] {
                              legacyAsked = true;
                              return c.legacy;
                            });
  EXPECT_EQ(hdr, c.hdr);
  EXPECT_EQ(legacyAsked, c.legacyAsked);
}

constexpr LegacyColourAnswer kAdvanced{true, false};
constexpr LegacyColourAnswer kManaged{true, true};
INSTANTIATE_TEST_SUITE_P(Answers, HdrQuery,
                         testing::Values(QueryCase{"ModeHdr", ColourMode::kHdr, kAdvanced, true, false},
                                         QueryCase{"ModeWideGamutThoughLegacySaysAdvanced", ColourMode::kWideGamut,
                                                   kAdvanced, false, false},
                                         QueryCase{"ModeSdr", ColourMode::kSdr, kAdvanced, false, false},
                                         QueryCase{"NoModeLegacyAdvanced", std::nullopt, kAdvanced, true, true},
                                         QueryCase{"NoModeLegacyManaged", std::nullopt, kManaged, false, true},
                                         QueryCase{"NoModeLegacyOff", std::nullopt, LegacyColourAnswer{}, false, true},
                                         QueryCase{"NeitherAnswers", std::nullopt, std::nullopt, false, true}),
                         testing_support::CaseName<QueryCase>);

}  // namespace
}  // namespace tintelo
