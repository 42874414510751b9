#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sampler/Loupe.h"
#include "sampler/Monitors.h"
#include "sampler/ScreenSampler.h"
#include "tests/CaseName.h"
#include "tests/FakeFormView.h"

namespace tintelo {

// Found by the argument's namespace, so not in the unnamed one.
inline void PrintTo(const ScreenRect& r, std::ostream* os) {
  *os << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}

namespace {

using testing_support::FakeDesktop;
using Copies = FakeDesktop::Copies;

// ---- Where the loupe goes ----

struct PlaceCase {
  const char* name;
  ScreenPoint pointer;
  unsigned dpi;
  ScreenRect monitor;
  ScreenRect expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class LoupePlace : public testing::TestWithParam<PlaceCase> {};

TEST_P(LoupePlace, BesideThePointerAndWhollyOnItsMonitor) {
  const PlaceCase& c = GetParam();
  const LoupeGeometry g = LoupeGeometry::ForDpi(c.dpi);
  const ScreenRect place = PlaceLoupe(c.pointer, g.Size(), g.gap, c.monitor);
  EXPECT_EQ(place, c.expected);
  EXPECT_TRUE(place.left >= c.monitor.left && place.right <= c.monitor.right && place.top >= c.monitor.top &&
              place.bottom <= c.monitor.bottom)
      << "off the monitor";
  const ScreenRect shown = CaptureArea(c.pointer);
  EXPECT_TRUE(place.right <= shown.left || shown.right <= place.left || place.bottom <= shown.top ||
              shown.bottom <= place.top)
      << "over the pixels it shows";
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
    testing_support::CaseName<PlaceCase>);

// ---- What it shows ----

// At each scale and zoom level.
class LoupePicture : public testing::TestWithParam<std::tuple<unsigned, int>> {
 protected:
  void SetUp() override {
    geometry = LoupeGeometry::ForDpi(Dpi(), std::get<1>(GetParam()));
    desktop.monitors = {Monitor{ScreenRect{0, 0, 3840, 2160}, Dpi()}};
    sampler.Begin();
    while (sampler.ZoomCells() != geometry.cells) sampler.StepZoom(geometry.cells < sampler.ZoomCells() ? 1 : -1);
  }
  [[nodiscard]] unsigned Dpi() const { return std::get<0>(GetParam()); }
  [[nodiscard]] Pixel At(int x, int y) const {
    return desktop.picture.at(static_cast<std::size_t>(y * geometry.Size() + x));
  }
  // The picture's pixel in the middle of cell (column, row).
  [[nodiscard]] Pixel CellCentre(int column, int row) const {
    return At(geometry.CellMiddle(column), geometry.CellMiddle(row));
  }

  LoupeGeometry geometry;
  FakeDesktop desktop;
  ScreenSampler sampler{desktop, desktop};
};

TEST_P(LoupePicture, MagnifiesTheScreenRightWayRoundWithTheAveragedAreaOutlined) {
  const ScreenPoint pointer{1000, 600};
  // A one-pixel vertical line just right of the pointer, on the desktop's gradient.
  desktop.desktop = [&](ScreenPoint p) {
    return p.x == pointer.x + 2 ? Pixel{0xFF0000} : static_cast<Pixel>(((p.x & 0xFF) << 8) | (p.y & 0xFF));
  };
  for (const int side : {1, 5, 15}) {
    if (side > geometry.cells) break;
    while (sampler.Area().Side() != side) sampler.Area().Step(1);
    ASSERT_TRUE(sampler.Refresh(pointer).sample.has_value());

    ASSERT_EQ(desktop.place.Width(), geometry.Size());
    ASSERT_EQ(desktop.picture.size(), static_cast<std::size_t>(geometry.Size() * geometry.Size()));
    // Without grid lines, the outline takes the edge of the cells around the area.
    const auto outlined = [&](int cell) {
      return geometry.grid == 0 && std::abs(cell - geometry.Centre()) == side / 2 + 1;
    };
    for (int row = 0; row < geometry.cells; ++row) {
      for (int column = 0; column < geometry.cells; ++column) {
        if (outlined(column) || outlined(row)) continue;
        const ScreenPoint at{pointer.x + column - geometry.Centre(), pointer.y + row - geometry.Centre()};
        ASSERT_EQ(CellCentre(column, row), desktop.desktop(at)) << "cell " << column << ',' << row;
      }
    }
    // Across the pointer's row: the first cell of the area, a black ring on the grid line
    // before it and a white one outside; the same after its last cell. So the outline
    // reads on any colour and shows exactly which pixels count.
    const int reach = side / 2;
    const int before = geometry.CellStart(geometry.Centre() - reach) - geometry.line;
    const int after = geometry.CellStart(geometry.Centre() + reach + 1) - geometry.grid;
    const int y = geometry.CellMiddle(geometry.Centre());
    EXPECT_EQ(At(before - 1, y), Pixel{0xFFFFFF}) << side;
    EXPECT_EQ(At(before, y), Pixel{0x000000}) << side;
    EXPECT_EQ(At(after, y), Pixel{0x000000}) << side;
    EXPECT_EQ(At(after + geometry.line, y), Pixel{0xFFFFFF}) << side;
    EXPECT_EQ(At(before + geometry.line, y), desktop.desktop(ScreenPoint{pointer.x - reach, pointer.y})) << side;
    // And down the pointer's column.
    const int x = geometry.CellMiddle(geometry.Centre());
    EXPECT_EQ(At(x, before), Pixel{0x000000}) << side;
    EXPECT_EQ(At(x, after), Pixel{0x000000}) << side;
    // Inside a wider area, the grid is the ordinary one, shaded from the cell.
    if (side > 1) {
      EXPECT_NE(At(before + geometry.pitch, y), Pixel{0x000000}) << side;
    }
  }
  if (geometry.cells <= 15) {
    EXPECT_GE(geometry.pitch - geometry.grid, 4) << "a one-pixel line must show at least four pixels wide";
  }
  EXPECT_GE(geometry.Size(), 135 * static_cast<int>(Dpi()) / 96) << "not sized for the monitor's scale";
}

TEST_P(LoupePicture, ShowsScreenOffEveryMonitorHatched) {
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, Dpi()}};
  sampler.Begin();
  desktop.desktop = [](ScreenPoint) { return Pixel{0x336699}; };
  // Cells left of x = 0 and above y = 0 are on no monitor; each is given from the
  // pointer's, which is at (1, 1).
  const auto sample = sampler.Refresh(ScreenPoint{1, 1}).sample;

  for (const auto& [dx, dy, onScreen] :
       {std::tuple{-2, -2, false}, std::tuple{2, -2, false}, std::tuple{-2, 2, false}, std::tuple{2, 2, true}}) {
    const int column = geometry.Centre() + dx;
    const int row = geometry.Centre() + dy;
    std::set<Pixel> colours;
    for (int y = geometry.CellStart(row); y < geometry.CellStart(row + 1) - geometry.grid; ++y) {
      for (int x = geometry.CellStart(column); x < geometry.CellStart(column + 1) - geometry.grid; ++x) {
        colours.insert(At(x, y));
      }
    }
    if (onScreen) {
      EXPECT_EQ(colours, std::set<Pixel>{0x336699}) << "cell " << column << ',' << row;
    } else {
      EXPECT_EQ(colours.size(), 2u) << "cell " << column << ',' << row << " reads as a colour";
      EXPECT_EQ(colours.count(0x336699), 0u) << "cell " << column << ',' << row;
    }
  }
  // The readouts average what is on the monitor and nothing else.
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->colour, FakeDesktop::AsColour(0x336699));
}

INSTANTIATE_TEST_SUITE_P(DpiAndZoom, LoupePicture,
                         testing::Combine(testing::Values(96u, 144u, 192u), testing::Values(45, 15, 5)));

// ---- Never itself ----

// The pointer jumps straight onto the loupe's last place. What a copy of the screen finds
// there depends on the system: the loupe's picture while it stands there, and after it
// has gone until the window beneath repaints; black for a frame; or the true screen. No
// reading may ever take the loupe for the screen, and the true screen is read as soon as
// a copy shows it, even where it is one plain colour like the picture's cells.
struct GuardCase {
  const char* name;
  Copies copies;
  Pixel plain;  // one colour all over, or 0x1000000 for a gradient
  // The refresh at the jump that reads the screen, none before it (with the pictures
  // left behind repainted just before it).
  int refreshes;
  LoupeInCopies inCopies = LoupeInCopies::kUnsure;  // what the window's affinity read back says
};

void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.name; }

class LoupeGuard : public testing::TestWithParam<GuardCase> {};

TEST_P(LoupeGuard, NeverReadsTheLoupeAndReadsTheTrueScreenAsSoonAsACopyShowsIt) {
  const GuardCase& c = GetParam();
  for (const auto& [dx, dy] : {std::pair{40, 40}, std::pair{2, 3}, std::pair{154, 154}}) {
    for (const int side : {1, 7}) {
      FakeDesktop desktop;
      desktop.copies = c.copies;
      desktop.inCopies = c.inCopies;
      if (c.plain <= 0xFFFFFF) desktop.desktop = [plain = c.plain](ScreenPoint) { return plain; };
      ScreenSampler sampler(desktop, desktop);
      sampler.Begin();
      while (sampler.Area().Side() != side) sampler.Area().Step(1);
      ASSERT_TRUE(sampler.Refresh(ScreenPoint{400, 300}).sample.has_value());
      const ScreenPoint jump{desktop.place.left + dx, desktop.place.top + dy};
      const std::string where = std::to_string(dx) + ',' + std::to_string(dy) + " side " + std::to_string(side);

      for (int refresh = 1; refresh <= c.refreshes; ++refresh) {
        const auto sample = sampler.Refresh(jump).sample;
        const bool expected = refresh == c.refreshes;
        ASSERT_EQ(sample.has_value(), expected) << "refresh " << refresh << " at " << where;
        if (sample) {
          EXPECT_EQ(sample->colour, desktop.MeanAround(jump, side)) << "the loupe read at " << where;
          // The loupe shows the screen there, nothing of its own picture.
          const LoupeGeometry g = LoupeGeometry::ForDpi(96);
          const int middle = g.CellMiddle(g.Centre());
          EXPECT_EQ(desktop.picture.at(static_cast<std::size_t>(middle * g.Size() + middle)), desktop.desktop(jump))
              << where;
        }
        if (c.copies == Copies::kLoupeUntilRepaint && refresh == c.refreshes - 1) desktop.Repaint();
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Systems, LoupeGuard,
    testing::Values(
        // Windows 10 2004 and later: the copy never holds the loupe.
        GuardCase{"TrueScreenGradient", Copies::kTrueScreen, 0x1000000, 1},
        GuardCase{"TrueScreenWhite", Copies::kTrueScreen, 0xFFFFFF, 1},
        // True black where the loupe stood cannot be told from a black frame at first.
        GuardCase{"TrueScreenBlack", Copies::kTrueScreen, 0x000000, 1 + 1 + Loupe::kBlackRefreshes},
        // Unless the window's affinity, read back, says it is left out.
        GuardCase{"LeftOutBlack", Copies::kTrueScreen, 0x000000, 1, LoupeInCopies::kLeftOut},
        // Windows 8 and later without display affinity: the loupe where it stands.
        GuardCase{"CopiedLoupeGradient", Copies::kLoupe, 0x1000000, 2},
        GuardCase{"CopiedLoupeWhite", Copies::kLoupe, 0xFFFFFF, 2},
        GuardCase{"CopiedLoupeBlackNoAffinity", Copies::kLoupe, 0x000000, 2, LoupeInCopies::kPicture},
        // Wine, Windows 7 without composition: its picture stays until the repaint.
        GuardCase{"PictureUntilRepaintGradient", Copies::kLoupeUntilRepaint, 0x1000000, 4},
        GuardCase{"PictureUntilRepaintWhite", Copies::kLoupeUntilRepaint, 0xFFFFFF, 4},
        // Windows 8.1, Windows 10 before 2004 with affinity: black where it stands, and
        // for a frame where it stood.
        GuardCase{"BlackFrameGradient", Copies::kBlackForAFrame, 0x1000000, 3},
        GuardCase{"BlackFrameWhite", Copies::kBlackForAFrame, 0xFFFFFF, 3},
        GuardCase{"BlackFrameWhiteKnown", Copies::kBlackForAFrame, 0xFFFFFF, 3, LoupeInCopies::kBlack}),
    testing_support::CaseName<GuardCase>);

// What the affinity read back from the loupe's window means for copies of the screen.
TEST(LoupeAffinity, MeansWhatTheSystemKeeps) {
  EXPECT_EQ(InCopiesOfAffinity(std::nullopt), LoupeInCopies::kUnsure);
  EXPECT_EQ(InCopiesOfAffinity(0x00), LoupeInCopies::kPicture);
  EXPECT_EQ(InCopiesOfAffinity(0x01), LoupeInCopies::kBlack);
  EXPECT_EQ(InCopiesOfAffinity(0x11), LoupeInCopies::kLeftOut);
  EXPECT_EQ(InCopiesOfAffinity(0x10), LoupeInCopies::kUnsure);
}

// ---- One-pixel steps ----

struct StepCase {
  const char* name;
  ScreenPoint from;
  int dx, dy;
  ScreenPoint landed;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

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
                         testing_support::CaseName<StepCase>);

}  // namespace
}  // namespace tintelo
