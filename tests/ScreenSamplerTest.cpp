#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sampler/ScreenSampler.h"
#include "tests/FakeFormView.h"

namespace tintelo {
namespace {

using testing_support::FakeScreenApi;

// A sample as a tick takes it: the pointer, then the pixel under it.
std::optional<Sample> Take(ScreenSampler& sampler) {
  const auto point = sampler.Pointer();
  return point ? sampler.ReadAt(*point) : std::nullopt;
}

constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

struct PositionCase {
  ScreenPoint point;
  const char* text;
};

void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.text; }

class SamplerPositionText : public testing::TestWithParam<PositionCase> {};

TEST_P(SamplerPositionText, IsXDotYInPlainDecimal) { EXPECT_EQ(PositionText(GetParam().point), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Points, SamplerPositionText,
                         testing::Values(PositionCase{{0, 0}, "0.0"}, PositionCase{{1024, 768}, "1024.768"},
                                         // Monitors left of or above the primary one have negative coordinates.
                                         PositionCase{{-1280, 300}, "-1280.300"},
                                         PositionCase{{300, -1080}, "300.-1080"}, PositionCase{{-1, -1}, "-1.-1"},
                                         PositionCase{{kMinInt, kMaxInt}, "-2147483648.2147483647"},
                                         PositionCase{{kMaxInt, kMinInt}, "2147483647.-2147483648"}));

TEST(ScreenSampler, ReadsThePixelUnderThePointersPosition) {
  FakeScreenApi api;
  api.cursor = {-1280, 300};
  api.pixel = 0x336699;
  ScreenSampler sampler(api);

  const auto sample = Take(sampler);

  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->colour, 0x336699);
  EXPECT_EQ(sample->point.x, -1280);
  EXPECT_EQ(sample->point.y, 300);
  EXPECT_EQ(api.calls, (std::vector<std::string>{"CursorPos", "Pixel"}));
  ASSERT_EQ(api.reads.size(), 1u);
  EXPECT_EQ(api.reads[0].point.x, -1280);
  EXPECT_EQ(api.reads[0].point.y, 300);
}

// Only the exact failure value means "no pixel": other values with the top bit set are
// still colours and go through like any other. With no pointer position, nothing is read.
struct ReadCase {
  const char* name;
  bool cursorWorks;
  ColourValue pixel;
  bool sampled;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SamplerReads : public testing::TestWithParam<ReadCase> {};

TEST_P(SamplerReads, RefuseOnlyAFailedPositionOrTheFailedReadValue) {
  FakeScreenApi api;
  api.cursorWorks = GetParam().cursorWorks;
  api.pixel = GetParam().pixel;
  ScreenSampler sampler(api);
  const auto sample = Take(sampler);
  ASSERT_EQ(sample.has_value(), GetParam().sampled);
  if (sample) {
    EXPECT_EQ(sample->colour, GetParam().pixel);
  }
  EXPECT_EQ(api.reads.size(), GetParam().cursorWorks ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, SamplerReads,
                         testing::Values(ReadCase{"Black", true, 0, true}, ReadCase{"White", true, 0xFFFFFF, true},
                                         ReadCase{"Red", true, 0x0000FF, true},
                                         ReadCase{"TopBitOnly", true, kMinInt, true},
                                         ReadCase{"MinusTwo", true, -2, true},
                                         ReadCase{"FailedRead", true, ScreenApi::kInvalidColour, false},
                                         ReadCase{"NoPosition", false, 0x336699, false}));

}  // namespace
}  // namespace tintelo
