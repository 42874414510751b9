#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sampler/RoadTries.h"
#include "sampler/ScreenSampler.h"
#include "tests/CaseName.h"
#include "tests/FakeFormView.h"

namespace tintelo {
namespace {

using testing_support::FakeDesktop;
using Copies = FakeDesktop::Copies;

// ---- The averaged area ----

// The area grows and shrinks by one size a step, from 1 to 15 pixels across, and stops at
// either end.
struct AreaCase {
  const char* name;
  std::vector<int> steps;
  std::vector<bool> changed;
  int side;
};

void PrintTo(const AreaCase& c, std::ostream* os) { *os << c.name; }

class AreaSteps : public testing::TestWithParam<AreaCase> {};

TEST_P(AreaSteps, GoThroughTheOddSizesAndStopAtEitherEnd) {
  SampleArea area;
  ASSERT_EQ(area.Side(), 1) << "the area starts at one pixel";
  std::vector<bool> changed;
  for (const int step : GetParam().steps) changed.push_back(area.Step(step));
  EXPECT_EQ(changed, GetParam().changed);
  EXPECT_EQ(area.Side(), GetParam().side);
  EXPECT_EQ(area.Reach(), GetParam().side / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AreaSteps,
    testing::Values(AreaCase{"OneUp", {1}, {true}, 3}, AreaCase{"NothingBelowOne", {-1}, {false}, 1},
                    AreaCase{"UpAndDown", {1, 1, -1}, {true, true, true}, 3},
                    AreaCase{"ToTheTop", {1, 1, 1, 1, 1, 1, 1}, {true, true, true, true, true, true, true}, 15},
                    AreaCase{"NothingAboveFifteen", {7, 1}, {true, false}, 15},
                    AreaCase{"SeveralNotchesAtOnceStopAtTheEnd", {20, -3}, {true, true}, 9}),
    testing_support::CaseName<AreaCase>);

// The readouts' mean against one worked out here, for every size, on several screens:
// rounding half up, and pixels on no monitor left out.
struct MeanCase {
  const char* name;
  ScreenPoint pointer;
  Pixel (*screen)(ScreenPoint);
};

void PrintTo(const MeanCase& c, std::ostream* os) { *os << c.name; }

Pixel Checkerboard(ScreenPoint p) { return ((p.x + p.y) & 1) != 0 ? 0xFFFFFF : 0x000000; }
// One level apart, so that a mean of an even count lands exactly on a half.
Pixel Stripes(ScreenPoint p) { return (p.x & 1) != 0 ? 0x010101 : 0x000000; }
Pixel Noise(ScreenPoint p) {
  auto h = static_cast<std::uint32_t>(p.x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(p.y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h & 0xFFFFFF;
}

class SampleMean : public testing::TestWithParam<MeanCase> {};

TEST_P(SampleMean, IsEachChannelsMeanRoundedHalfUpOverThePixelsOnAMonitor) {
  const MeanCase& c = GetParam();
  FakeDesktop desktop;
  // The primary monitor and a shorter one on its left: below it lies ground on no monitor.
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-800, 0, 0, 600}, 96}};
  desktop.desktop = c.screen;
  desktop.copies = Copies::kTrueScreen;
  ScreenSampler sampler(desktop, desktop);
  sampler.Begin();
  for (int side = 1; side <= 15; side += 2) {
    const auto sample = sampler.Refresh(c.pointer).sample;

    ASSERT_TRUE(sample.has_value()) << side << " pixels across";
    EXPECT_EQ(sample->colour, desktop.MeanAround(c.pointer, side)) << side << " pixels across";
    EXPECT_EQ(sample->point, c.pointer);
    sampler.Area().Step(1);
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, SampleMean,
                         testing::Values(MeanCase{"Checkerboard", {500, 400}, Checkerboard},
                                         MeanCase{"Noise", {-300, 200}, Noise},
                                         // At the primary monitor's top left corner, a quarter or so of each
                                         // area is on a monitor: an even count of stripes, halves that round up.
                                         MeanCase{"StripesAtTheTopLeftCorner", {0, 0}, Stripes},
                                         // Beside the ground below the left monitor.
                                         MeanCase{"NoiseBesideGroundOnNoMonitor", {-1, 599}, Noise}),
                         testing_support::CaseName<MeanCase>);

// ---- No reading ----

enum class Failure { Cursor, Capture, PointerOnNoMonitor };

void PrintTo(Failure f, std::ostream* os) {
  *os << (f == Failure::Cursor ? "Cursor" : f == Failure::Capture ? "Capture" : "PointerOnNoMonitor");
}

class SamplerFailures : public testing::TestWithParam<Failure> {};

TEST_P(SamplerFailures, GiveNoReadingButStillShowTheLoupeHatched) {
  FakeDesktop desktop;
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-800, 0, 0, 600}, 96}};
  desktop.cursor = {100, 100};
  switch (GetParam()) {
    case Failure::Cursor: desktop.cursorWorks = false; break;
    case Failure::Capture: desktop.captureWorks = false; break;
    // Even with every size reaching onto the monitors.
    case Failure::PointerOnNoMonitor: desktop.cursor = {-5, 602}; break;
  }
  ScreenSampler sampler(desktop, desktop);
  sampler.Begin();
  sampler.Area().Step(7);
  const auto pointer = sampler.Pointer();
  ASSERT_EQ(pointer.has_value(), GetParam() != Failure::Cursor);
  if (!pointer) return;
  EXPECT_FALSE(sampler.Refresh(*pointer).sample.has_value());
  EXPECT_TRUE(desktop.visible);
}

INSTANTIATE_TEST_SUITE_P(Ways, SamplerFailures,
                         testing::Values(Failure::Cursor, Failure::Capture, Failure::PointerOnNoMonitor));

// ---- Displays that change ----

// A monitor unplugged while sampling: the next refresh knows it is gone. Outside sampling
// the screen hears of the change, and the monitors are read when sampling begins.
TEST(DisplaysChanged, AreReadAgainAtOnceOnlyWhileSampling) {
  FakeDesktop desktop;
  ScreenSampler sampler(desktop, desktop);
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 0);
  EXPECT_EQ(desktop.displaysChanged, 1);
  sampler.Begin();
  const ScreenPoint onTheLeft{-100, 100};
  ASSERT_TRUE(sampler.Refresh(onTheLeft).sample.has_value());
  desktop.monitors.pop_back();
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 2);
  EXPECT_EQ(desktop.displaysChanged, 2);
  EXPECT_FALSE(sampler.Refresh(onTheLeft).sample.has_value()) << "read a monitor that is gone";
  sampler.End();
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 2);
}

// ---- Trying the second road again ----

// Lost is made again at once; refused waits for a change: the session's own desktop back
// when it was refused away from it (asked only then), a display change otherwise (which
// starts a new RoadTries).
TEST(RoadTries, TryAgainOnlyWhenSomethingChanged) {
  int asked = 0;
  bool own = true;
  const auto onOwnDesktop = [&] {
    ++asked;
    return own;
  };
  RoadTries tries;
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(true, true);
  EXPECT_TRUE(tries.Working());
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  tries.Lost();
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(false, false);  // refused on the secure desktop
  own = false;
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  own = true;
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(false, true);  // refused on its own desktop: not before a display change
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(true, true);
  tries.Failed();
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace tintelo
