#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "sampler/Loupe.h"
#include "sampler/Monitors.h"
#include "tests/FakeFormView.h"

namespace tintelo {

// Found by the argument's namespace, so not in the unnamed one.
inline void PrintTo(const ScreenRect& r, std::ostream* os) {
  *os << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}

namespace {

using testing_support::FakeDesktop;

// ---- Where the loupe goes ----

struct PlaceCase {
  const char* name;
  ScreenPoint pointer;
  unsigned dpi;
  ScreenRect monitor;
  ScreenRect expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
std::string PlaceName(const testing::TestParamInfo<PlaceCase>& info) { return info.param.name; }

class LoupePlace : public testing::TestWithParam<PlaceCase> {};

TEST_P(LoupePlace, BesideThePointerAndWhollyOnItsMonitor) {
  const PlaceCase& c = GetParam();
  const LoupeGeometry g = LoupeGeometry::ForDpi(c.dpi);
  const ScreenRect place = PlaceLoupe(c.pointer, g.Size(), g.gap, c.monitor);
  EXPECT_EQ(place, c.expected);
  EXPECT_TRUE(place.left >= c.monitor.left && place.right <= c.monitor.right && place.top >= c.monitor.top &&
              place.bottom <= c.monitor.bottom)
      << "off the monitor";
  EXPECT_FALSE(place.Intersects(CaptureArea(c.pointer))) << "over the pixels it shows";
}

// At 96 DPI the loupe is 155 pixels square and 24 from the pointer; at 144 DPI, 230 and 36.
constexpr ScreenRect kPrimary{0, 0, 1920, 1080};
INSTANTIATE_TEST_SUITE_P(
    Sides, LoupePlace,
    testing::Values(PlaceCase{"BelowRight", {500, 400}, 96, kPrimary, {525, 425, 680, 580}},
                    PlaceCase{"RightEdgeTurnsLeft", {1800, 400}, 96, kPrimary, {1621, 425, 1776, 580}},
                    PlaceCase{"BottomEdgeTurnsUp", {500, 1000}, 96, kPrimary, {525, 821, 680, 976}},
                    PlaceCase{"BottomRightCorner", {1919, 1079}, 96, kPrimary, {1740, 900, 1895, 1055}},
                    PlaceCase{"TopLeftCorner", {0, 0}, 96, kPrimary, {25, 25, 180, 180}},
                    // The left monitor, beside its edge with the primary one.
                    PlaceCase{"LeftMonitorAtItsRightEdge", {-10, 500}, 96, {-1920, 0, 0, 1080}, {-189, 525, -34, 680}},
                    PlaceCase{"MonitorAboveAtItsBottomEdge", {400, -5}, 96, {0, -600, 800, 0}, {425, -184, 580, -29}},
                    PlaceCase{"At150PercentTopRightCorner", {2870, 10}, 144, {0, 0, 2880, 1620}, {2604, 47, 2834, 277}},
                    PlaceCase{
                        "At150PercentOnTheLeft", {-2870, 1600}, 144, {-2880, 0, 0, 1620}, {-2833, 1334, -2603, 1564}},
                    // Too narrow for either side: below the pointer, not over it.
                    PlaceCase{"NarrowMonitor", {150, 500}, 96, {0, 0, 300, 1080}, {145, 525, 300, 680}}),
    PlaceName);

// ---- What it shows ----

class LoupePicture : public testing::TestWithParam<unsigned> {
 protected:
  // The picture's pixel in the middle of cell (column, row).
  [[nodiscard]] Pixel CellCentre(const Loupe& loupe, int column, int row) const {
    const LoupeGeometry& g = loupe.Geometry();
    return loupe.Picture()[static_cast<std::size_t>(g.CellMiddle(row) * g.Size() + g.CellMiddle(column))];
  }
};

TEST_P(LoupePicture, MagnifiesTheScreenRightWayRoundWithTheCentreOutlined) {
  FakeDesktop desktop;
  desktop.monitors = {Monitor{ScreenRect{0, 0, 3840, 2160}, GetParam()}};
  const ScreenPoint pointer{1000, 600};
  // A one-pixel vertical line just right of the pointer, on the desktop's gradient.
  desktop.desktop = [&](ScreenPoint p) {
    return p.x == pointer.x + 2 ? Pixel{0xFF0000} : static_cast<Pixel>(((p.x & 0xFF) << 8) | (p.y & 0xFF));
  };
  Loupe loupe(desktop);
  loupe.Begin();
  loupe.Refresh(pointer);

  const LoupeGeometry& g = loupe.Geometry();
  ASSERT_EQ(desktop.pictureSize, g.Size());
  ASSERT_EQ(desktop.picture.size(), static_cast<std::size_t>(g.Size() * g.Size()));
  for (int row = 0; row < LoupeGeometry::kCells; ++row) {
    for (int column = 0; column < LoupeGeometry::kCells; ++column) {
      const ScreenPoint at{pointer.x + column - LoupeGeometry::kCentre, pointer.y + row - LoupeGeometry::kCentre};
      ASSERT_EQ(CellCentre(loupe, column, row), desktop.desktop(at)) << "cell " << column << ',' << row;
    }
  }
  EXPECT_GE(g.pitch - g.line, 4) << "a one-pixel line must show at least four pixels wide";
  EXPECT_GE(g.Size(), 150 * static_cast<int>(GetParam()) / 96) << "not sized for the monitor's scale";

  // Across the centre cell's row: the cell itself, a black ring on the grid lines around
  // it and a white one outside, so the outline reads on any colour.
  const int first = g.CellStart(LoupeGeometry::kCentre) - g.line;  // the line before the centre cell
  const int y = first + g.line + 1;
  const auto at = [&](int x) { return loupe.Picture()[static_cast<std::size_t>(y * g.Size() + x)]; };
  EXPECT_EQ(at(first - 1), Pixel{0xFFFFFF});
  EXPECT_EQ(at(first), Pixel{0x000000});
  EXPECT_EQ(at(first + g.pitch), Pixel{0x000000});
  EXPECT_EQ(at(first + g.pitch + g.line), Pixel{0xFFFFFF});
  EXPECT_EQ(at(first + g.line), desktop.desktop(pointer));
}

TEST_P(LoupePicture, ShowsScreenOffEveryMonitorHatched) {
  FakeDesktop desktop;
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, GetParam()}};
  desktop.desktop = [](ScreenPoint) { return Pixel{0x336699}; };
  Loupe loupe(desktop);
  loupe.Begin();
  loupe.Refresh(ScreenPoint{2, 1});  // cells left of x = 0 and above y = 0 are on no monitor

  const LoupeGeometry& g = loupe.Geometry();
  for (const auto& [column, row, onScreen] :
       {std::tuple{0, 0, false}, std::tuple{4, 10, false}, std::tuple{10, 3, false}, std::tuple{5, 6, true}}) {
    std::set<Pixel> colours;
    for (int y = g.CellStart(row); y < g.CellStart(row + 1) - g.line; ++y) {
      for (int x = g.CellStart(column); x < g.CellStart(column + 1) - g.line; ++x) {
        colours.insert(loupe.Picture()[static_cast<std::size_t>(y * g.Size() + x)]);
      }
    }
    if (onScreen) {
      EXPECT_EQ(colours, std::set<Pixel>{0x336699}) << "cell " << column << ',' << row;
    } else {
      EXPECT_EQ(colours.size(), 2u) << "cell " << column << ',' << row << " reads as a colour";
      EXPECT_EQ(colours.count(0x336699), 0u) << "cell " << column << ',' << row;
    }
  }
  EXPECT_FALSE(loupe.Trusts(ScreenPoint{-1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Dpi, LoupePicture, testing::Values(96u, 144u, 192u));

// ---- Never itself ----

// The pointer jumps straight onto the loupe's last place. Until the window beneath has
// repainted, the screen there still shows the loupe's picture: neither the readouts nor
// the loupe may take it for the screen. Once repainted, the true screen is trusted at
// once, even where it is one plain colour like the picture's cells.
struct JumpCase {
  const char* name;
  bool plain;  // one colour all over, or a gradient
  bool repainted;
};

void PrintTo(const JumpCase& c, std::ostream* os) { *os << c.name; }
std::string JumpName(const testing::TestParamInfo<JumpCase>& info) { return info.param.name; }

class LoupeJump : public testing::TestWithParam<JumpCase> {};

TEST_P(LoupeJump, OntoItsLastPlaceTrustsOnlyARepaintedScreen) {
  const JumpCase& c = GetParam();
  for (const auto& [dx, dy] : {std::pair{40, 40}, std::pair{2, 3}, std::pair{154, 154}}) {
    FakeDesktop desktop;
    desktop.slowRepaint = true;
    if (c.plain) desktop.desktop = [](ScreenPoint) { return Pixel{0xFFFFFF}; };
    Loupe loupe(desktop);
    loupe.Begin();
    loupe.Refresh(ScreenPoint{400, 300});
    const ScreenPoint jump{loupe.Place().left + dx, loupe.Place().top + dy};

    loupe.Refresh(jump);
    if (c.repainted) {
      desktop.Repaint();
      loupe.Refresh(jump);
    }

    EXPECT_EQ(loupe.Trusts(jump), c.repainted) << "at " << dx << ',' << dy;
    // The loupe shows the screen where it is known, and nothing of its own last picture.
    const LoupeGeometry& g = loupe.Geometry();
    const int middle = g.CellMiddle(LoupeGeometry::kCentre);
    const Pixel centre = loupe.Picture()[static_cast<std::size_t>(middle * g.Size() + middle)];
    EXPECT_EQ(centre == desktop.desktop(jump), c.repainted) << "at " << dx << ',' << dy;
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, LoupeJump,
                         testing::Values(JumpCase{"GradientStillShowingTheLoupe", false, false},
                                         JumpCase{"GradientRepainted", false, true},
                                         JumpCase{"PlainStillShowingTheLoupe", true, false},
                                         JumpCase{"PlainRepainted", true, true}),
                         JumpName);

// ---- One-pixel steps ----

struct StepCase {
  const char* name;
  ScreenPoint from;
  int dx, dy;
  ScreenPoint landed;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }
std::string StepName(const testing::TestParamInfo<StepCase>& info) { return info.param.name; }

class PointerStep : public testing::TestWithParam<StepCase> {};

// The primary monitor, one on its left and a smaller one above: the corner left of the
// one above lies on no monitor.
TEST_P(PointerStep, StaysOnTheMonitors) {
  const std::vector<Monitor> monitors{Monitor{ScreenRect{0, 0, 1024, 768}, 96},
                                      Monitor{ScreenRect{-800, 0, 0, 600}, 96},
                                      Monitor{ScreenRect{0, -600, 800, 0}, 144}};
  const StepCase& c = GetParam();
  const ScreenPoint landed = StepOnMonitors(monitors, c.from, c.dx, c.dy);
  EXPECT_EQ(landed.x, c.landed.x);
  EXPECT_EQ(landed.y, c.landed.y);
}

INSTANTIATE_TEST_SUITE_P(Steps, PointerStep,
                         testing::Values(StepCase{"OnePixel", {500, 400}, 1, 0, {501, 400}},
                                         StepCase{"TenPixels", {500, 400}, 0, -10, {500, 390}},
                                         StepCase{"OntoTheLeftMonitor", {0, 100}, -1, 0, {-1, 100}},
                                         StepCase{"OntoTheMonitorAbove", {40, 0}, 0, -10, {40, -10}},
                                         StepCase{"PastTheRightEdge", {1020, 100}, 10, 0, {1023, 100}},
                                         StepCase{"PastTheBottomOfTheLeftMonitor", {-500, 595}, 0, 10, {-500, 599}},
                                         StepCase{"IntoTheCornerOnNoMonitor", {-1, 0}, 0, -1, {-1, 0}},
                                         StepCase{"AlongTheEdgeOfTheMonitorAbove", {799, -300}, 1, 0, {799, -300}}),
                         StepName);

}  // namespace
}  // namespace tintelo
