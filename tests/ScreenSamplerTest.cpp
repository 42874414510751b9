#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "sampler/ScreenSampler.h"
#include "tests/FakeFormView.h"

namespace tintelo {
namespace {

using testing_support::CountingScreenApi;

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

TEST(ScreenSampler, ReadsThePixelUnderThePointerThroughOneDesktopDc) {
  CountingScreenApi api;
  api.cursor = {-1280, 300};
  api.pixel = 0x336699;
  ScreenSampler sampler(api);

  const auto sample = sampler.Take();

  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->colour, 0x336699);
  EXPECT_EQ(sample->point.x, -1280);
  EXPECT_EQ(sample->point.y, 300);
  EXPECT_EQ(api.dcWindows, (std::vector<ScreenApi::Handle>{CountingScreenApi::kDesktop}));
  ASSERT_EQ(api.reads.size(), 1u);
  EXPECT_EQ(api.reads[0].dc, api.lastDc) << "the pixel comes from the DC just obtained";
  EXPECT_EQ(api.reads[0].point.x, -1280);
  EXPECT_EQ(api.reads[0].point.y, 300);
  EXPECT_EQ(api.released, (std::vector<CountingScreenApi::Release>{{CountingScreenApi::kDesktop, api.lastDc}}));
  // The DC must still be held while the pixel is read.
  EXPECT_EQ(api.calls, (std::vector<std::string>{"CursorPos", "WindowDc", "Pixel", "ReleaseDc"}));
}

// Only the exact failure value means "no pixel": other values with the top bit set are
// still colours and go through like any other.
struct PixelCase {
  ColourValue pixel;
  bool sampled;
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << "Pixel" << c.pixel; }

class SamplerPixelValues : public testing::TestWithParam<PixelCase> {};

TEST_P(SamplerPixelValues, OnlyTheFailedReadValueIsRefused) {
  CountingScreenApi api;
  api.pixel = GetParam().pixel;
  ScreenSampler sampler(api);
  const auto sample = sampler.Take();
  ASSERT_EQ(sample.has_value(), GetParam().sampled);
  if (sample) {
    EXPECT_EQ(sample->colour, GetParam().pixel);
  }
  EXPECT_EQ(api.dcsObtained, 1);
  EXPECT_EQ(api.dcsReleased, 1);
}

INSTANTIATE_TEST_SUITE_P(Values, SamplerPixelValues,
                         testing::Values(PixelCase{0, true}, PixelCase{0xFFFFFF, true}, PixelCase{0x0000FF, true},
                                         PixelCase{kMinInt, true}, PixelCase{-2, true},
                                         PixelCase{ScreenApi::kInvalidColour, false}));

enum class Failure { CursorPos, WindowDc, Pixel };

struct FailureCase {
  Failure failure;
  int dcsObtained;
  const char* name;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class SamplerFailures : public testing::TestWithParam<FailureCase> {
 protected:
  void Break(CountingScreenApi& api) const {
    switch (GetParam().failure) {
      case Failure::CursorPos: api.cursorWorks = false; break;
      case Failure::WindowDc: api.dcWorks = false; break;
      case Failure::Pixel: api.pixel = ScreenApi::kInvalidColour; break;
    }
  }
};

TEST_P(SamplerFailures, ReturnNothingAndLeakNoDc) {
  CountingScreenApi api;
  api.cursor = {5, 6};
  Break(api);
  ScreenSampler sampler(api);

  EXPECT_FALSE(sampler.Take().has_value());

  EXPECT_EQ(api.dcsObtained, GetParam().dcsObtained);
  EXPECT_EQ(api.dcsReleased, GetParam().dcsObtained) << "every DC obtained is given back, and no other";
  for (const auto& r : api.released) EXPECT_NE(r.dc, 0u) << "a failed WindowDc has nothing to release";
}

// A long press samples 20 times a second; mixing failures into it must not pile up DCs.
TEST_P(SamplerFailures, LongSamplingKeepsNoDcOutstanding) {
  CountingScreenApi api;
  ScreenSampler sampler(api);
  int sampled = 0;
  for (int i = 0; i < 1000; ++i) {
    api.cursorWorks = true;
    api.dcWorks = true;
    api.cursor = {i, -i};
    api.pixel = i;
    if (i % 3 == 0) Break(api);
    if (sampler.Take()) ++sampled;
    ASSERT_EQ(api.Outstanding(), 0) << "after read " << i;
  }
  EXPECT_EQ(sampled, 666);
}

INSTANTIATE_TEST_SUITE_P(Points, SamplerFailures,
                         testing::Values(FailureCase{Failure::CursorPos, 0, "CursorPos"},
                                         FailureCase{Failure::WindowDc, 0, "WindowDc"},
                                         FailureCase{Failure::Pixel, 1, "Pixel"}));

}  // namespace
}  // namespace tintelo
