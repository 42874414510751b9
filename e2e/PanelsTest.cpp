// The two help panels: each follows the pointer over its picture, at both scales; the
// window background, captions and fields put them away, sliders and value labels do not;
// and they stand in front of the controls they cover.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "e2e/Driver.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintelo::e2e {
namespace {

class Panels : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!SetScreenDpi(GetParam())) GTEST_SKIP() << kScaleNeedsWine;
  }
  void TearDown() override { SetScreenDpi(96); }

  [[nodiscard]] int Dpi() const { return GetParam(); }
  [[nodiscard]] int Px(double twips) const { return layout::Pixels(twips, static_cast<unsigned>(Dpi())); }
  [[nodiscard]] double Twips(int pixels) const { return layout::Twips(pixels, static_cast<unsigned>(Dpi())); }

  // A point of the main window's client area, in twips, on the screen.
  [[nodiscard]] static POINT OnScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
  }
  [[nodiscard]] POINT TwipsOnScreen(const Tintelo& app, int x, int y) const {
    return OnScreen(app.Window(), POINT{Px(x), Px(y)});
  }
  void ExpectPanelFollows(const Tintelo& app, int controlId, int index, double offsetY,
                          const std::array<POINT, 4>& offsets, bool viaBackground) const;
};

bool Near(LONG actual, int expected) { return std::abs(actual - expected) <= 1; }

bool PanelAt(HWND panel, int left, int top) {
  if (!IsWindowVisible(panel)) return false;
  const RECT r = RectInParent(panel);
  return Near(r.left, left) && Near(r.top, top);
}

std::string Where(HWND panel) {
  const RECT r = RectInParent(panel);
  return std::string(IsWindowVisible(panel) ? "visible" : "hidden") + " at " + std::to_string(r.left) + "," +
         std::to_string(r.top);
}

// A corner of the window's background no control covers, panels included.
constexpr POINT kBackground{100, 100};

// Moves over `control` at each offset from its client corner and expects help panel
// `index` at that offset plus (400, offsetY) twips in the window's client area, the other
// panel staying hidden. `viaBackground` comes back to the background between points.
void Panels::ExpectPanelFollows(const Tintelo& app, int controlId, int index, double offsetY,
                                const std::array<POINT, 4>& offsets, bool viaBackground) const {
  HWND control = app.Control(controlId);
  HWND panel = app.Control(ids::kTool1 + index);
  MovePointer(TwipsOnScreen(app, kBackground.x, kBackground.y));
  ASSERT_FALSE(IsWindowVisible(panel));
  for (const POINT d : offsets) {
    SCOPED_TRACE(std::to_string(d.x) + "," + std::to_string(d.y));
    if (viaBackground) {
      MovePointer(TwipsOnScreen(app, kBackground.x, kBackground.y));
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
    }
    MovePointer(OnScreen(control, d));
    const int left = Px(Twips(d.x) + 400);
    const int top = Px(Twips(d.y) + offsetY);
    EXPECT_TRUE(WaitUntil([&] { return PanelAt(panel, left, top); }))
        << "expected " << left << "," << top << ", " << Where(panel);
  }
  EXPECT_FALSE(IsWindowVisible(app.Control(ids::kTool1 + 1 - index)));
}

TEST_P(Panels, SwatchHelpFollowsThePointer) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const RECT client = ClientRect(app.Control(ids::kPicture1));
  // At 144 DPI the panel stands 2 px right of and below the pointer, so a jump further
  // in would land on the panel itself; come back from the background each time.
  ExpectPanelFollows(app, ids::kPicture1, 0, 400,
                     {{{0, 0}, {5, 12}, {client.right / 2, client.bottom / 3}, {client.right - 1, client.bottom - 1}}},
                     true);
}

TEST_P(Panels, PaletteHelpFollowsThePointer) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const RECT client = ClientRect(app.Control(ids::kImage1));
  ExpectPanelFollows(app, ids::kImage1, 1, 800,
                     {{{0, 0}, {7, 3}, {client.right / 2, client.bottom / 2}, {client.right - 1, client.bottom - 1}}},
                     false);
}

struct Spot {
  const char* name;
  POINT twips;  // in the window's client area
};

// With the pointer at these picture points, the swatch panel spans about 550..3205 by
// 700..1255 twips and the palette panel 500..2915 by 900..1455: neither covers a spot below.
constexpr POINT kSwatchPoint{150, 300};   // twips from the swatch's client corner
constexpr POINT kPalettePoint{100, 100};  // twips from the palette's corner

constexpr std::array<Spot, 7> kHiding{{
    {"background top left", kBackground},
    {"background bottom right", {4700, 2100}},
    {"caption Label1(9)", {1400, 330}},
    {"caption Label1(6)", {1400, 1830}},
    {"field Text1(0)", {2400, 330}},
    {"field Text1(5)", {2400, 1830}},
    {"gap between sliders", {3790, 1000}},
}};

constexpr std::array<Spot, 5> kKeeping{{
    {"slider hScroll1(0)", {3577, 1100}},
    {"slider hScroll1(2)", {4417, 1100}},
    {"letter Label2(0)", {3585, 330}},
    {"value Label2(4)", {4005, 1830}},
    {"value Label2(5)", {4425, 1830}},
}};

class PanelsShown : public Panels {
 protected:
  // Shows both panels, pointing at the palette and then at the swatch.
  [[nodiscard]] bool ShowBoth(const Tintelo& app) const {
    MovePointer(OnScreen(app.Control(ids::kImage1), POINT{Px(kPalettePoint.x), Px(kPalettePoint.y)}));
    if (!WaitUntil([&] { return IsWindowVisible(app.Control(ids::kTool1 + 1)) != FALSE; })) return false;
    MovePointer(OnScreen(app.Control(ids::kPicture1), POINT{Px(kSwatchPoint.x), Px(kSwatchPoint.y)}));
    return WaitUntil([&] { return IsWindowVisible(app.Control(ids::kTool1 + 0)) != FALSE; }) &&
           IsWindowVisible(app.Control(ids::kTool1 + 1));
  }

  [[nodiscard]] static bool BothHidden(const Tintelo& app) {
    return !IsWindowVisible(app.Control(ids::kTool1 + 0)) && !IsWindowVisible(app.Control(ids::kTool1 + 1));
  }
};

TEST_P(PanelsShown, BackgroundCaptionsAndFieldsHideBoth) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  SetClipboardTextForTest(L"avant le survol");
  for (const Spot& s : kHiding) {
    SCOPED_TRACE(s.name);
    ASSERT_TRUE(ShowBoth(app));
    MovePointer(TwipsOnScreen(app, s.twips.x, s.twips.y));
    EXPECT_TRUE(WaitUntil([&] { return BothHidden(app); }));
  }
  // Passing over a field must not have given it the focus.
  EXPECT_FALSE(IsIconic(app.Window()));
  EXPECT_EQ(ClipboardText(), std::wstring(L"avant le survol"));
}

TEST_P(PanelsShown, SlidersAndValueLabelsLeaveThemShown) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  for (const Spot& s : kKeeping) {
    SCOPED_TRACE(s.name);
    ASSERT_TRUE(ShowBoth(app));
    MovePointer(TwipsOnScreen(app, s.twips.x, s.twips.y));
    // Nothing changes when this is right, so watch for a while.
    EXPECT_FALSE(WaitUntil(
        [&] {
          return !IsWindowVisible(app.Control(ids::kTool1 + 0)) || !IsWindowVisible(app.Control(ids::kTool1 + 1));
        },
        500ms));
    // The same path does reach the window: the background still hides them.
    MovePointer(TwipsOnScreen(app, kBackground.x, kBackground.y));
    EXPECT_TRUE(WaitUntil([&] { return BothHidden(app); }));
  }
}

TEST_P(Panels, SwatchHelpStandsInFrontOfTheFieldsItCovers) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  HWND panel = app.Control(ids::kTool1 + 0);
  HWND label = app.Control(ids::kLabel4 + 0);
  HWND field = app.Control(ids::kText1 + 1);
  // Near the swatch's corner the panel comes down over the decimal and hex fields.
  MovePointer(OnScreen(app.Control(ids::kPicture1), POINT{2, 2}));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(panel) != FALSE; }));

  RECT panelRect{};
  RECT fieldRect{};
  RECT both{};
  GetWindowRect(panel, &panelRect);
  GetWindowRect(field, &fieldRect);
  ASSERT_TRUE(IntersectRect(&both, &panelRect, &fieldRect)) << "the panel does not reach the field";
  const POINT inside{(both.left + both.right) / 2, (both.top + both.bottom) / 2};
  HWND hit = WindowFromPoint(inside);
  EXPECT_TRUE(hit == panel || hit == label) << "found " << hit << " (field " << field << ")";
}

INSTANTIATE_TEST_SUITE_P(Dpi, Panels, testing::Values(96, 144));
INSTANTIATE_TEST_SUITE_P(Dpi, PanelsShown, testing::Values(96, 144));

}  // namespace
}  // namespace tintelo::e2e
