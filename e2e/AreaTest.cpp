// The averaged area: the wheel while a button holds the swatch, and + or - while
// sampling, step it through every size, and the readouts show the mean of exactly the
// pixels it covers, worked out here from the pattern beneath: each channel averaged and
// rounded half up, pixels that no monitor shows left out.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

std::uint32_t Checkerboard(POINT p) { return ((p.x + p.y) & 1) != 0 ? 0xFFFFFF : 0x000000; }
std::uint32_t Noise(POINT p) {
  auto h = static_cast<std::uint32_t>(p.x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(p.y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 13;
  return h & 0xFFFFFF;
}

// What Text1(4) reads for the mean of the area `side` pixels across around `centre`.
std::string MeanRgbText(POINT centre, int side, Pattern pattern) {
  std::uint32_t sum[3]{};
  std::uint32_t counted = 0;
  for (LONG y = centre.y - side / 2; y <= centre.y + side / 2; ++y) {
    for (LONG x = centre.x - side / 2; x <= centre.x + side / 2; ++x) {
      if (MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) == nullptr) continue;
      const std::uint32_t p = pattern(POINT{x, y});
      sum[0] += (p >> 16) & 0xFF;
      sum[1] += (p >> 8) & 0xFF;
      sum[2] += p & 0xFF;
      ++counted;
    }
  }
  // Half up, with whole numbers only: floor(s / n + 1/2).
  const auto mean = [&](std::uint32_t s) { return std::to_string((2 * s + counted) / (2 * counted)); };
  return mean(sum[0]) + ',' + mean(sum[1]) + ',' + mean(sum[2]);
}

// Waits until the position and the mean of the area around it show.
testing::AssertionResult ShowsMean(const Tintelo& app, POINT at, int side, Pattern pattern) {
  const std::string position = PositionText(at);
  const std::string rgb = MeanRgbText(at, side, pattern);
  if (WaitUntil([&] { return app.Text(ids::kText1) == position && app.Text(ids::kText1 + 4) == rgb; })) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << side << " pixels across at " << position << ": expected " << rgb << ", read "
                                     << app.Text(ids::kText1) << " " << app.Text(ids::kText1 + 4);
}

// How the area is stepped, up and down.
enum class Steps { WheelWhileHeld, CharactersFromTheKeyboard, KeypadFromTheKeyboard };

struct AreaRun {
  const char* name;
  Pattern pattern;
  Steps steps;
};

void PrintTo(const AreaRun& run, std::ostream* out) { *out << run.name; }

// Clear of where Tintelo opens, in the middle of the primary monitor.
constexpr RECT kPatch{40, 40, 140, 140};
constexpr POINT kOnPatch{90, 91};

class AveragedArea : public testing::TestWithParam<AreaRun> {};

TEST_P(AveragedArea, EverySizeReadsTheMeanOfThePixelsItCovers) {
  const AreaRun& run = GetParam();
  PatternWindow patch(kPatch, run.pattern);
  ASSERT_TRUE(patch.Shown());
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  if (run.steps == Steps::WheelWhileHeld) {
    ASSERT_TRUE(PressOnTheSwatch(app, button));
    MovePointer(kOnPatch);
  } else {
    MovePointer(kOnPatch);
    PressKey(VK_SPACE);
  }
  const auto step = [&](bool up) {
    switch (run.steps) {
      case Steps::WheelWhileHeld: Wheel(up ? WHEEL_DELTA : -WHEEL_DELTA); break;
      case Steps::CharactersFromTheKeyboard: Type(up ? L'+' : L'-'); break;
      case Steps::KeypadFromTheKeyboard: PressKey(up ? VK_ADD : VK_SUBTRACT); break;
    }
  };

  ASSERT_TRUE(ShowsMean(app, kOnPatch, 1, run.pattern));
  for (int side = 3; side <= 15; side += 2) {
    step(true);
    ASSERT_TRUE(ShowsMean(app, kOnPatch, side, run.pattern));
  }
  // Past the top nothing changes; one step down is one size down, not two.
  step(true);
  step(false);
  ASSERT_TRUE(ShowsMean(app, kOnPatch, 13, run.pattern));
  for (int side = 11; side >= 1; side -= 2) step(false);
  ASSERT_TRUE(ShowsMean(app, kOnPatch, 1, run.pattern));
  step(false);
  step(true);
  EXPECT_TRUE(ShowsMean(app, kOnPatch, 3, run.pattern));
}

INSTANTIATE_TEST_SUITE_P(Patterns, AveragedArea,
                         testing::Values(AreaRun{"CheckerboardByTheWheel", Checkerboard, Steps::WheelWhileHeld},
                                         AreaRun{"NoiseByTheWheel", Noise, Steps::WheelWhileHeld},
                                         AreaRun{"NoiseByCharacters", Noise, Steps::CharactersFromTheKeyboard},
                                         AreaRun{"CheckerboardByTheKeypad", Checkerboard,
                                                 Steps::KeypadFromTheKeyboard}),
                         testing_support::CaseName<AreaRun>);

// On the desktop of three monitors (scripts/xorg-monitors.conf), at the primary monitor's
// top left corner: the larger sizes reach onto the monitor on the left, the one above,
// and the corner between them that no monitor shows.
TEST(ThreeMonitorsAveragedArea, ReachesPastThePrimaryMonitorsEdgeAndLeavesOutTheCornerOnNone) {
  if (!UnderWine()) GTEST_SKIP() << "the desktop of three monitors is made for Wine by Xorg's dummy driver";
  ASSERT_EQ(MonitorFromPoint(POINT{-3, -3}, MONITOR_DEFAULTTONULL), nullptr)
      << "not the three-monitor desktop, with a corner on no monitor left of the one above";
  ASSERT_NE(MonitorFromPoint(POINT{-3, 3}, MONITOR_DEFAULTTONULL), nullptr);
  ASSERT_NE(MonitorFromPoint(POINT{3, -3}, MONITOR_DEFAULTTONULL), nullptr);
  PatternWindow patch(RECT{-40, -40, 40, 40}, Noise);
  ASSERT_TRUE(patch.Shown());
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const POINT corner{2, 1};
  MovePointer(corner);
  PressKey(VK_SPACE);
  ASSERT_TRUE(ShowsMean(app, corner, 1, Noise));
  for (int side = 3; side <= 15; side += 2) {
    Type(L'+');
    ASSERT_TRUE(ShowsMean(app, corner, side, Noise));
  }
  PressKey(VK_ESCAPE);
}

}  // namespace
}  // namespace tintelo::e2e
