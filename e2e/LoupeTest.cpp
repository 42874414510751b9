// Precise picking: the loupe beside the pointer while sampling, what it shows, where it
// goes, that the readouts never take it for the screen, and the keys that run the sampler.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/Driver.h"
#include "sampler/Loupe.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

constexpr Colour kRed{255, 0, 0, "", "", "", "", ""};
constexpr Colour kGreen{0, 255, 0, "", "", "", "", ""};
constexpr Colour kBlue{0, 0, 255, "", "", "", "", ""};
constexpr Colour kYellow{255, 255, 0, "", "", "", "", ""};
constexpr Colour kWhite{255, 255, 255, "", "", "", "", ""};

RECT Rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The loupe's pixel in the middle of cell (column, row), read from the screen.
COLORREF CellOnScreen(const RECT& loupe, const LoupeGeometry& g, const std::vector<COLORREF>& shown, int column,
                      int row) {
  return shown.at(static_cast<std::size_t>(g.CellMiddle(row) * (loupe.right - loupe.left) + g.CellMiddle(column)));
}

// Where the loupe is left out of copies of the screen (LoupeLeftOutOfCopies), a copy over
// it finds the windows beneath: here `colour`, wherever `beneath` (a window of that
// colour) lies under `area`. Tintelo's own window stays above every other one and is left
// out of the comparison.
testing::AssertionResult CopyFindsBeneath(const Tintelo& app, const RECT& area, const RECT& beneath, COLORREF colour) {
  const std::vector<COLORREF> copy = ScreenPixels(area);
  if (copy.empty()) return testing::AssertionFailure() << "the screen could not be read";
  const RECT window = Rect(app.Window());
  std::size_t compared = 0;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      const POINT at{x, y};
      if (!PtInRect(&beneath, at) || PtInRect(&window, at)) continue;
      const COLORREF seen =
          copy.at(static_cast<std::size_t>((y - area.top) * (area.right - area.left) + (x - area.left)));
      if (seen != colour) {
        return testing::AssertionFailure() << "a copy of the screen reads " << std::hex << seen << " at " << std::dec
                                           << x << ',' << y << ", not the window beneath the loupe";
      }
      ++compared;
    }
  }
  if (compared == 0) return testing::AssertionFailure() << "no pixel of the loupe's place left to compare";
  return testing::AssertionSuccess();
}

// Why the loupe's picture is checked under Wine only.
constexpr char kPictureNeedsWine[] =
    "the loupe's picture: outside Wine the system leaves the loupe out of every copy of the screen "
    "(WDA_EXCLUDEFROMCAPTURE), so no copy can read it; that a copy finds the window beneath instead is checked";
// And why neither is checked on the systems in between.
constexpr char kNeitherHere[] =
    "the loupe's picture and what copies find beneath it: here the loupe has no WDA_EXCLUDEFROMCAPTURE (Windows "
    "before 10 2004, or Remote Desktop), and whether copies show it depends on the version";

// Four squares meeting at (200, 200) and a one-pixel white line three pixels right of it.
constexpr POINT kMeeting{200, 200};
constexpr int kLineX = 203;

COLORREF PatternAt(POINT p) {
  if (p.x == kLineX) return Rgb(kWhite);
  if (p.y < kMeeting.y) return Rgb(p.x < kMeeting.x ? kRed : kGreen);
  return Rgb(p.x < kMeeting.x ? kBlue : kYellow);
}

// What the loupe at `place`, beside the pointer at the meeting of the squares, shows as a
// copy of the screen reads it: the pattern magnified, the line, and the averaged pixels
// outlined, stepped by the wheel.
// Cell by cell, the screen around the pointer, the right way round, in the loupe at
// `place`; without grid lines, the outline of an area `side` pixels across takes the edge
// of the cells around it.
bool ShowsPattern(const LoupeGeometry& g, const RECT& place, int side = 1) {
  const std::vector<COLORREF> shown = ScreenPixels(place);
  if (shown.size() != static_cast<std::size_t>(g.Size() * g.Size())) return false;
  const auto outlined = [&](int cell) { return g.grid == 0 && std::abs(cell - g.Centre()) == side / 2 + 1; };
  for (int row = 0; row < g.cells; ++row) {
    for (int column = 0; column < g.cells; ++column) {
      if (outlined(column) || outlined(row)) continue;
      const POINT at{kMeeting.x + column - g.Centre(), kMeeting.y + row - g.Centre()};
      if (CellOnScreen(place, g, shown, column, row) != PatternAt(at)) return false;
    }
  }
  return true;
}

void ExpectPicture(const LoupeGeometry& g, const RECT& place) {
  EXPECT_TRUE(WaitUntil([&] { return ShowsPattern(g, place); }))
      << "the loupe does not show the pattern around the pointer";
  // The one-pixel line, at least four pixels wide across a row of cells away from the centre.
  const std::vector<COLORREF> shown = ScreenPixels(place);
  const int y = g.CellMiddle(2);
  int run = 0;
  int longest = 0;
  for (int x = 2 * g.line; x < g.Size() - 2 * g.line; ++x) {
    run = shown.at(static_cast<std::size_t>(y * g.Size() + x)) == Rgb(kWhite) ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  EXPECT_GE(longest, 4);

  // The pixels the readouts average outlined: a black ring on the grid lines around them
  // and a white one outside, across the pointer's row and down its column; one pixel,
  // then five after two notches of the wheel.
  const auto outlines = [&](int side) {
    const int before = g.CellStart(g.Centre() - side / 2) - g.line;
    const int after = g.CellStart(g.Centre() + side / 2 + 1) - g.line;
    const int middle = g.CellMiddle(g.Centre());
    const std::vector<COLORREF> now = ScreenPixels(place);
    const auto at = [&](int x, int y) { return now.at(static_cast<std::size_t>(y * g.Size() + x)); };
    for (const auto& [black, white] : {std::pair{before, before - 1}, std::pair{after, after + g.line}}) {
      if (at(black, middle) != RGB(0, 0, 0) || at(white, middle) != Rgb(kWhite)) return false;
      if (at(middle, black) != RGB(0, 0, 0) || at(middle, white) != Rgb(kWhite)) return false;
    }
    return true;
  };
  EXPECT_TRUE(WaitUntil([&] { return outlines(1); })) << "the pointer's pixel is not outlined";
  Wheel(WHEEL_DELTA);
  Wheel(WHEEL_DELTA);
  EXPECT_TRUE(WaitUntil([&] { return outlines(5) && !outlines(1); })) << "the five pixels across are not outlined";
}

class LoupeAtScale : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!SetScreenDpi(GetParam())) GTEST_SKIP() << kScaleNeedsWine;
    ASSERT_TRUE(red_.Shown(POINT{185, 185}));
    ASSERT_TRUE(green_.Shown(POINT{215, 185}));
    ASSERT_TRUE(blue_.Shown(POINT{185, 215}));
    ASSERT_TRUE(yellow_.Shown(POINT{215, 215}));
    ASSERT_TRUE(line_.Shown(POINT{kLineX, 190}));
  }
  void TearDown() override { SetScreenDpi(96); }

  ColourWindow red_{RECT{170, 170, 200, 200}, kRed};
  ColourWindow green_{RECT{200, 170, 230, 200}, kGreen};
  ColourWindow blue_{RECT{170, 200, 200, 230}, kBlue};
  ColourWindow yellow_{RECT{200, 200, 230, 230}, kYellow};
  ColourWindow line_{RECT{kLineX, 170, kLineX + 1, 230}, kWhite};
};

TEST_P(LoupeAtScale, MagnifiesThePatternRightWayRoundBesideThePointerAndGoesOnRelease) {
  const LoupeGeometry g = LoupeGeometry::ForDpi(static_cast<unsigned>(GetParam()));
  const RECT expected{kMeeting.x + 1 + g.gap, kMeeting.y + 1 + g.gap, kMeeting.x + 1 + g.gap + g.Size(),
                      kMeeting.y + 1 + g.gap + g.Size()};
  // One colour beneath the loupe, clear of the pattern: what a copy finds where copies
  // leave the loupe out. Shown before the program, so that the loupe lies above it.
  const ColourWindow beneath(expected, kSky);
  ASSERT_TRUE(beneath.Shown(POINT{expected.left, expected.top}));
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  EXPECT_EQ(LoupeOf(app), nullptr) << "a loupe before sampling";
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  HWND loupe = LoupeOf(app);
  ASSERT_NE(loupe, nullptr) << "no loupe with the press";

  // Never the focus, the activation or the mouse; no taskbar button.
  EXPECT_EQ(GetForegroundWindow(), app.Window());
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &gui));
  EXPECT_EQ(gui.hwndFocus, app.Control(ids::kPicture1));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(loupe, GWL_EXSTYLE));
  EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0u);
  EXPECT_NE(exStyle & WS_EX_NOACTIVATE, 0u);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0u);
  EXPECT_EQ(GetWindow(loupe, GW_OWNER), app.Window());

  MovePointer(kMeeting);
  ASSERT_TRUE(WaitUntil([&] { return Same(expected, Rect(loupe)); }))
      << "the loupe is not below and right of the pointer at " << Rect(loupe).left << ',' << Rect(loupe).top;
  EXPECT_NE(WindowFromPoint(CentreOnScreen(loupe)), loupe) << "the loupe takes the mouse";
  if (UnderWine()) {
    ExpectPicture(g, expected);
    // Page Up and Page Down: fewer or more pixels, each a square of whole pixels with the
    // pattern where it belongs, the loupe about as large; the readouts never change.
    const Readouts readouts = Snapshot(app);
    for (const auto& [key, cells] : {std::pair{VK_PRIOR, 9}, std::pair{VK_NEXT, 15}, std::pair{VK_NEXT, 25},
                                     std::pair{VK_NEXT, 45}}) {
      PressKey(static_cast<WORD>(key));
      const LoupeGeometry zoomed = LoupeGeometry::ForDpi(static_cast<unsigned>(GetParam()), cells);
      const RECT place{expected.left, expected.top, expected.left + zoomed.Size(), expected.top + zoomed.Size()};
      EXPECT_TRUE(WaitUntil([&] { return Same(place, Rect(loupe)) && ShowsPattern(zoomed, place, 5); }))
          << cells << " pixels across: the loupe is " << Rect(loupe).right - Rect(loupe).left << " wide";
      EXPECT_EQ(Snapshot(app), readouts) << cells << " pixels across";
    }
    PressKey(VK_PRIOR);
    PressKey(VK_PRIOR);
    EXPECT_TRUE(WaitUntil([&] { return Same(expected, Rect(loupe)); })) << "back at 15 pixels across";
  } else if (LoupeLeftOutOfCopies(loupe)) {
    NotCheckedHere(kPictureNeedsWine);
    EXPECT_TRUE(CopyFindsBeneath(app, expected, expected, Rgb(kSky)));
    EXPECT_TRUE(LoupeOf(app) == loupe && Same(expected, Rect(loupe))) << "the loupe left before the copy was compared";
  } else {
    NotCheckedHere(kNeitherHere);
  }

  // At the screen's bottom right corner the loupe turns left and up, still wholly on it.
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const POINT corner{screen.right - 1, screen.bottom - 1};
  MovePointer(corner);
  const RECT turned{corner.x - g.gap - g.Size(), corner.y - g.gap - g.Size(), corner.x - g.gap, corner.y - g.gap};
  EXPECT_TRUE(WaitUntil([&] { return Same(turned, Rect(loupe)); }))
      << "at the corner the loupe is at " << Rect(loupe).left << ',' << Rect(loupe).top;
  EXPECT_TRUE(Inside(Rect(loupe), screen));

  button->Release();
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "the loupe stays after the release";
}

INSTANTIATE_TEST_SUITE_P(Dpi, LoupeAtScale, testing::Values(96, 144));

// The pointer jumps straight onto the loupe's last place, which under Wine still shows the
// loupe's picture until the window beneath repaints; this test's windows repaint only
// while it pumps its messages, so it keeps them from repainting for a while. Where copies
// leave the loupe out, a copy there finds the sky at once. The loupe there magnified
// brown; beneath it is sky: no brown may show for the new place, in the readouts or in
// the loupe.
TEST(LoupeJump, StraightOntoItsLastPlaceNeverReachesTheReadouts) {
  const RECT skyPlace{0, 0, 460, 420};
  ColourWindow sky{skyPlace, kSky};
  ColourWindow brown{RECT{140, 140, 160, 160}, kBrown};
  const POINT onBrown{150, 150};
  ASSERT_TRUE(sky.Shown(POINT{300, 300}));
  ASSERT_TRUE(brown.Shown(onBrown));
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  HWND loupe = LoupeOf(app);
  ASSERT_NE(loupe, nullptr);
  const LoupeGeometry g = LoupeGeometry::ForDpi(96);
  const bool picture = UnderWine();
  const bool beneath = LoupeLeftOutOfCopies(loupe);
  if (!picture) NotCheckedHere(beneath ? kPictureNeedsWine : kNeitherHere);

  bool staleSeen = false;
  for (const POINT offset : {POINT{5, 5}, POINT{77, 77}, POINT{150, 20}, POINT{30, 140}}) {
    MovePointer(onBrown);
    ASSERT_TRUE(ReadoutsSettleOn(app, Showing(onBrown, kBrown)));
    const RECT last = Rect(loupe);
    // Its picture there: black outer ring, brown cells; or the sky beneath it.
    if (picture) {
      ASSERT_TRUE(WaitUntil([&] {
        return ScreenPixel(POINT{last.left, last.top}) == RGB(0, 0, 0) &&
               ScreenPixel(POINT{last.left + g.CellMiddle(0), last.top + g.CellMiddle(0)}) == Rgb(kBrown);
      }));
    }
    if (beneath) ASSERT_TRUE(CopyFindsBeneath(app, last, skyPlace, Rgb(kSky)));
    const POINT jump{last.left + offset.x, last.top + offset.y};
    const Readouts there = Showing(jump, kSky);
    const Readouts before = Showing(onBrown, kBrown);

    SetCursorPos(jump.x, jump.y);  // and no message pumped until the end of the loop
    const auto end = std::chrono::steady_clock::now() + 400ms;
    while (std::chrono::steady_clock::now() < end) {
      // Two reads alike: not one torn by a tick that wrote between its fields.
      const Readouts now = Snapshot(app);
      if (Snapshot(app) != now) continue;
      ASSERT_TRUE(now == before || now == there)
          << "at " << jump.x << ',' << jump.y << " the readouts show " << now[0] << " " << now[5];
      if (picture && ScreenPixel(jump) != Rgb(kSky)) staleSeen = true;
      // Once it has left for the new place (until the program takes the move, it rightly
      // stays where it was, brown and all).
      if (HWND shown = LoupeOf(app); shown != nullptr) {
        const RECT now = Rect(shown);
        if (picture && now.right - now.left == g.Size() && !Same(now, last)) {
          const std::vector<COLORREF> cells = ScreenPixels(now);
          for (int row = 0; row < g.cells; ++row) {
            for (int column = 0; column < g.cells; ++column) {
              ASSERT_NE(CellOnScreen(now, g, cells, column, row), Rgb(kBrown))
                  << "the loupe magnifies its own picture, cell " << column << ',' << row;
            }
          }
        }
        if (beneath) ASSERT_TRUE(CopyFindsBeneath(app, now, skyPlace, Rgb(kSky)));
      }
    }
    // Once the windows beneath have repainted, the jump reads the sky.
    EXPECT_TRUE(ReadoutsSettleOn(app, there)) << "at " << jump.x << ',' << jump.y;
  }
  if (picture) EXPECT_TRUE(staleSeen) << "the screen never showed the loupe's old picture: nothing was tested";
}

// The sampler from the keyboard (the swatch has the focus at start-up) or begun with the
// button; then the arrows, Shift with an arrow, Tab that waits, and the end.
enum class Start { Space, Enter, Press };
enum class End { Space, Enter, Escape };

struct KeyRun {
  const char* name;
  Start start;
  End end;
};

void PrintTo(const KeyRun& run, std::ostream* out) { *out << run.name; }

class LoupeKeys : public testing::TestWithParam<KeyRun> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sky_.Shown(POINT{300, 300}));
    ASSERT_TRUE(brown_.Shown(kOnBrown));
  }

  static constexpr POINT kOnBrown{159, 150};  // the brown's last column
  ColourWindow sky_{RECT{0, 0, 460, 420}, kSky};
  ColourWindow brown_{RECT{140, 140, 160, 160}, kBrown};
};

TEST_P(LoupeKeys, StepThePointerAndEndOrCancel) {
  const KeyRun& run = GetParam();
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const Readouts atStart = Snapshot(app);
  SetClipboardTextForTest(L"untouched");
  std::optional<HeldButton> button;
  if (run.start == Start::Press) {
    ASSERT_TRUE(PressOnTheSwatch(app, button));
    MovePointer(kOnBrown);
  } else {
    // Begun over the sky, then the pointer moves onto the brown: begun from the keyboard,
    // sampling holds no mouse and still follows it.
    MovePointer(POINT{300, 300});
    PressKey(run.start == Start::Space ? VK_SPACE : VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) != nullptr; }));
    EXPECT_EQ(CaptureOf(app), nullptr) << "sampling begun from the keyboard holds the mouse";
    MovePointer(kOnBrown);
  }
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kBrown)));
  EXPECT_NE(LoupeOf(app), nullptr);

  PressKey(VK_RIGHT);
  const POINT right{kOnBrown.x + 1, kOnBrown.y};
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(right, kSky)));
  PressKey(VK_DOWN, true);
  const POINT down{right.x, right.y + 10};
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(down, kSky)));
  POINT pointer{};
  GetCursorPos(&pointer);
  EXPECT_EQ(PositionText(pointer), PositionText(down)) << "the pointer did not move with the keys";

  PressKey(VK_TAB);
  EXPECT_FALSE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }, 500ms)) << "Tab copied a field";
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"untouched"));
  EXPECT_NE(LoupeOf(app), nullptr) << "Tab ended sampling";

  PressKey(run.end == End::Space ? VK_SPACE : run.end == End::Enter ? VK_RETURN : VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "the loupe stays after the end";
  const Readouts kept = run.end == End::Escape ? atStart : Showing(down, kSky);
  EXPECT_TRUE(ReadoutsSettleOn(app, kept));
  // Neither a copy nor a minimise, and a later release changes nothing.
  if (button) button->Release();
  MovePointer(kOnBrown);
  EXPECT_FALSE(WaitUntil([&] { return Snapshot(app) != kept; }, 500ms)) << Snapshot(app)[0];
  EXPECT_FALSE(IsIconic(app.Window()));
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"untouched"));
  EXPECT_EQ(CaptureOf(app), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, LoupeKeys,
                         testing::Values(KeyRun{"SpaceThenEnter", Start::Space, End::Enter},
                                         KeyRun{"EnterThenSpace", Start::Enter, End::Space},
                                         KeyRun{"SpaceThenEscape", Start::Space, End::Escape},
                                         KeyRun{"PressThenEscape", Start::Press, End::Escape},
                                         KeyRun{"PressThenEnter", Start::Press, End::Enter}),
                         testing_support::CaseName<KeyRun>);

}  // namespace
}  // namespace tintelo::e2e
