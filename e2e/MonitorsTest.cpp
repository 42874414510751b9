// Tintelo on a desktop of three monitors: the primary one, a smaller one on its left and
// another above it, where screen coordinates are negative. The corner between the two
// small ones lies on no monitor. scripts/test.sh runs these tests on their own on such a
// desktop (scripts/xorg-monitors.conf); on any other desktop they fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "sampler/Loupe.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

// The monitors as Windows places them: the primary one at the origin.
constexpr RECT kPrimary{0, 0, 1024, 768};
constexpr RECT kLeft{-800, 0, 0, 600};
constexpr RECT kAbove{0, -600, 800, 0};
// Left of the monitor above and above the left one.
constexpr POINT kNoMonitor{-400, -300};

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

// Each small monitor is filled with one colour but its outer edge, so that whatever point
// near the uncovered corner is sampled, its colour is known. A window the size of a whole
// monitor would be full screen to Wine, and with no window manager to answer, destroying
// it would wait 2 s for one.
constexpr RECT kGreenPlace{kLeft.left + 1, kLeft.top, kLeft.right, kLeft.bottom};
constexpr RECT kPlumPlace{kAbove.left, kAbove.top + 1, kAbove.right, kAbove.bottom};

class ThreeMonitors : public testing::Test {
 protected:
  void SetUp() override {
    if (!UnderWine()) {
      GTEST_SKIP() << "the desktop of three monitors, with a corner on none, is made for Wine by Xorg's dummy "
                      "driver (scripts/xorg-monitors.conf)";
    }
    std::vector<std::string> expected{Describe(kPrimary, true), Describe(kLeft, false), Describe(kAbove, false)};
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(MonitorsOfThisDesktop(), expected) << "not the three-monitor desktop these tests are written for";
    ASSERT_TRUE(green_.Shown(POINT{kGreenPlace.left, kGreenPlace.top}));
    ASSERT_TRUE(green_.Shown(POINT{kGreenPlace.right - 1, kGreenPlace.bottom - 1}));
    ASSERT_TRUE(plum_.Shown(POINT{kPlumPlace.left, kPlumPlace.top}));
    ASSERT_TRUE(plum_.Shown(POINT{kPlumPlace.right - 1, kPlumPlace.bottom - 1}));
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

class ThreeMonitorsSampling : public ThreeMonitors, public testing::WithParamInterface<Spot> {};

TEST_P(ThreeMonitorsSampling, ReadsThePixelAndItsNegativePosition) {
  const Spot& spot = GetParam();
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));

  MovePointer(spot.at);
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(spot.at, *spot.colour)));
  EXPECT_EQ(app.Text(ids::kText1), spot.position);
}

// Beside the left monitor's edge with the primary one, the loupe turns left rather than
// cross onto the primary monitor, and shows the left monitor's colour.
TEST_F(ThreeMonitors, LoupeStaysOnTheLeftMonitorAtItsEdgeWithThePrimary) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  const POINT nearEdge{-10, 300};
  MovePointer(nearEdge);
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(nearEdge, kGreen)));

  HWND loupe = LoupeOf(app);
  ASSERT_NE(loupe, nullptr);
  const LoupeGeometry g = LoupeGeometry::ForDpi(96);
  const RECT expected{nearEdge.x - g.gap - g.Size(), nearEdge.y + 1 + g.gap, nearEdge.x - g.gap,
                      nearEdge.y + 1 + g.gap + g.Size()};
  RECT shown{};
  EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(loupe, &shown) && EqualRect(&shown, &expected); }))
      << "the loupe is at " << Describe(shown, false);
  // The pointer's cell, in the middle of the loupe.
  const int middle = g.CellMiddle(g.Centre());
  EXPECT_TRUE(WaitUntil([&] {
    return ScreenPixel(POINT{expected.left + middle, expected.top + middle}) == Rgb(kGreen);
  }));
}

INSTANTIATE_TEST_SUITE_P(ThreeMonitors, ThreeMonitorsSampling,
                         testing::Values(Spot{"LeftMonitor", POINT{-500, 100}, "-500.100", &kGreen},
                                         Spot{"MonitorAbove", POINT{40, -300}, "40.-300", &kPlum}),
                         testing_support::CaseName<Spot>);

std::string Joined(const Readouts& readouts) {
  std::string text;
  for (const std::string& readout : readouts) text += (text.empty() ? "" : " | ") + readout;
  return text;
}

// Where a snapshot's Text1(0) says it was taken, if it says anything readable.
bool ReadPosition(const Readouts& readouts, POINT& at) {
  long x = 0;
  long y = 0;
  char rest = 0;
  if (std::sscanf(readouts.at(0).c_str(), "%ld.%ld%c", &x, &y, &rest) != 2) return false;
  at = POINT{x, y};
  return true;
}

bool InColourWindow(POINT at) { return PtInRect(&kGreenPlace, at) || PtInRect(&kPlumPlace, at); }

// True when the colour readouts of the snapshot are those of one of the two colours on
// the screen around the uncovered corner.
bool ShowsAColourOnTheScreen(const Readouts& readouts) {
  for (const Colour* colour : {&kGreen, &kPlum}) {
    const Readouts showing = Showing(POINT{}, *colour);
    if (std::equal(readouts.begin() + 1, readouts.end(), showing.begin() + 1, showing.end())) return true;
  }
  return false;
}

// Windows keeps the pointer off such a corner; under Wine the X server does, a moment
// after each move, so the pointer is pushed back into it again and again while the
// readouts are watched. A pixel read there answers a made-up colour, which must never
// show: the readouts keep the last good sample, or show one taken on a monitor.
TEST_F(ThreeMonitors, CornerOnNoMonitorNeverShowsAndKeepsTheLastGoodSample) {
  ASSERT_EQ(MonitorFromPoint(kNoMonitor, MONITOR_DEFAULTTONULL), nullptr);
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  const POINT onLeft{-500, 100};
  MovePointer(onLeft);
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(onLeft, kGreen)));

  const auto end = std::chrono::steady_clock::now() + 1s;
  while (std::chrono::steady_clock::now() < end) {
    SetCursorPos(kNoMonitor.x, kNoMonitor.y);
    const Readouts now = Snapshot(app);
    POINT at{};
    ASSERT_TRUE(ReadPosition(now, at)) << Joined(now);
    ASSERT_NE(MonitorFromPoint(at, MONITOR_DEFAULTTONULL), nullptr) << "a point on no monitor: " << Joined(now);
    ASSERT_TRUE(InColourWindow(at)) << "a point away from the corner's monitors: " << Joined(now);
    ASSERT_TRUE(ShowsAColourOnTheScreen(now)) << "a colour on no screen: " << Joined(now);
  }

  // And back on a monitor, sampling goes on.
  const POINT above{40, -300};
  MovePointer(above);
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(above, kPlum)));
}

}  // namespace
}  // namespace tintelo::e2e
