// Tintelo on a desktop of three monitors: the primary one, a smaller one on its left and
// another above it, where screen coordinates are negative. scripts/test.sh runs these
// tests on their own on such a desktop (scripts/xorg-monitors.conf); on any other desktop
// they fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "Driver.h"

namespace tintelo::e2e {
namespace {

// The monitors as Windows places them: the primary one at the origin.
constexpr RECT kPrimary{0, 0, 1024, 768};
constexpr RECT kLeft{-800, 0, 0, 600};
constexpr RECT kAbove{0, -600, 800, 0};

constexpr Colour kGreen{51, 153, 102, "6723891", "0x339966", "102,0,51,102", "51,153,102", "#339966"};
constexpr Colour kPlum{142, 69, 133, "8734094", "0x8E4585", "0,73,9,113", "142,69,133", "#8E4585"};

std::string Describe(const RECT& r, bool primary) {
  char text[80];
  std::snprintf(text, sizeof(text), "%ld,%ld to %ld,%ld%s", r.left, r.top, r.right, r.bottom,
                primary ? " (primary)" : "");
  return text;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(
        Describe(info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0));
  }
  return TRUE;
}

std::vector<std::string> MonitorsOfThisDesktop() {
  std::vector<std::string> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::sort(monitors.begin(), monitors.end());
  return monitors;
}

// Each small monitor is filled with one colour but its outer edge. A window the size of a
// whole monitor would be full screen to Wine, and with no window manager to answer,
// destroying it would wait 2 s for one.
constexpr RECT kGreenPlace{kLeft.left + 1, kLeft.top, kLeft.right, kLeft.bottom};
constexpr RECT kPlumPlace{kAbove.left, kAbove.top + 1, kAbove.right, kAbove.bottom};

class ThreeMonitors : public testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> expected{Describe(kPrimary, true), Describe(kLeft, false), Describe(kAbove, false)};
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(MonitorsOfThisDesktop(), expected) << "not the three-monitor desktop these tests are written for";
    ASSERT_TRUE(green_.Shown(POINT{kGreenPlace.left, kGreenPlace.top}));
    ASSERT_TRUE(green_.Shown(POINT{kGreenPlace.right - 1, kGreenPlace.bottom - 1}));
    ASSERT_TRUE(plum_.Shown(POINT{kPlumPlace.left, kPlumPlace.top}));
    ASSERT_TRUE(plum_.Shown(POINT{kPlumPlace.right - 1, kPlumPlace.bottom - 1}));
  }

  // Once the button is held on the swatch, sampling has begun when it reads the swatch.
  static testing::AssertionResult SamplingBegan(const Tintelo& app) {
    const POINT onSwatch = CentreOnScreen(app.Control(ids::kPicture1));
    if (!WaitUntil([&] { return app.Text(ids::kText1) == PositionText(onSwatch); })) {
      return testing::AssertionFailure() << "sampling never began: Text1(0) reads " << app.Text(ids::kText1);
    }
    return testing::AssertionSuccess();
  }

  ColourWindow green_{kGreenPlace, kGreen};
  ColourWindow plum_{kPlumPlace, kPlum};
};

TEST_F(ThreeMonitors, WindowOpensCentredOnThePrimaryMonitor) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  MONITORINFO primary{};
  primary.cbSize = sizeof(primary);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
  const RECT& work = primary.rcWork;
  RECT window{};
  GetWindowRect(app.Window(), &window);
  // Halving an odd margin leaves one pixel more on one side.
  EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1)
      << "window " << Describe(window, false) << " on the work area " << Describe(work, true);
  EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1)
      << "window " << Describe(window, false) << " on the work area " << Describe(work, true);
}

struct Spot {
  const char* name;
  POINT at;
  const char* position;  // what Text1(0) must read there
  const Colour* colour;
};

void PrintTo(const Spot& spot, std::ostream* out) { *out << spot.name; }
std::string SpotName(const testing::TestParamInfo<Spot>& param) { return param.param.name; }

class ThreeMonitorsSampling : public ThreeMonitors, public testing::WithParamInterface<Spot> {};

TEST_P(ThreeMonitorsSampling, ReadsThePixelAndItsNegativePosition) {
  const Spot& spot = GetParam();
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  MovePointer(CentreOnScreen(app.Control(ids::kPicture1)));
  HeldButton button(kLeftButton);
  ASSERT_TRUE(SamplingBegan(app));

  MovePointer(spot.at);
  const Readouts there = Showing(spot.at, *spot.colour);
  EXPECT_TRUE(WaitUntil([&] { return Snapshot(app) == there; }));
  EXPECT_EQ(Snapshot(app), there);
  EXPECT_EQ(app.Text(ids::kText1), spot.position);
}

INSTANTIATE_TEST_SUITE_P(ThreeMonitors, ThreeMonitorsSampling,
                         testing::Values(Spot{"LeftMonitor", POINT{-500, 100}, "-500.100", &kGreen},
                                         Spot{"MonitorAbove", POINT{40, -300}, "40.-300", &kPlum}),
                         SpotName);

}  // namespace
}  // namespace tintelo::e2e
