// Live screen sampling: a button held on the swatch reads the screen under the pointer,
// wherever it goes, until the button is let go.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

// kSky after one step up on the red slider.
constexpr Colour kSkyRedPlusOne{33, 160, 224, "14721057", "0x21A0E0", "191,64,0,31", "33,160,224", "#21A0E0"};

void PrintTo(const Button& button, std::ostream* out) { *out << button.name << " button"; }

// The brown window covers the screen's top-left corner; both stay clear of Tintelo.
constexpr RECT kBrownPlace{0, 0, 160, 160};
constexpr RECT kSkyPlace{0, 320, 160, 480};
constexpr POINT kOnBrown{37, 81};
constexpr POINT kOnSky{123, 401};
constexpr long Form1TickMs = 50;  // Timer1's period

class Sampling : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(brown_.Shown(kOnBrown));
    ASSERT_TRUE(sky_.Shown(kOnSky));
  }

  ColourWindow brown_{kBrownPlace, kBrown};
  ColourWindow sky_{kSkyPlace, kSky};
};

class SamplingWith : public Sampling, public testing::WithParamInterface<Button> {};

TEST_P(SamplingWith, FollowsThePointerAndKeepsTheLastColourOnRelease) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  HWND swatch = app.Control(ids::kPicture1);
  const POINT onSwatch = CentreOnScreen(swatch);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button, GetParam()));
  EXPECT_EQ(CaptureOf(app), swatch) << "the swatch keeps the pointer while the button is held";

  MovePointer(kOnBrown);
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kBrown)));

  MovePointer(kOnSky);
  const Readouts sky = Showing(kOnSky, kSky);
  EXPECT_TRUE(ReadoutsSettleOn(app, sky));

  button->Release();
  ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app) == nullptr; })) << "the release never reached the swatch";
  EXPECT_FALSE(IsWindowVisible(app.Control(ids::kTool1))) << "the sampling help stays up after the release";

  // Ten timer periods over another colour: nothing may be read any more.
  MovePointer(kOnBrown);
  EXPECT_FALSE(WaitUntil([&] { return Snapshot(app) != sky; }, 500ms));
  EXPECT_EQ(Snapshot(app), sky);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(onSwatch) == Rgb(kSky); }))
      << "the swatch does not show the last colour read";
}

INSTANTIATE_TEST_SUITE_P(Buttons, SamplingWith,
                         testing::Values(kLeftButton, Button{"Right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                                         Button{"Middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}),
                         testing_support::CaseName<Button>);

TEST_F(Sampling, TopLeftCornerOfTheScreenReadsAsZeroZero) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  MovePointer(POINT{0, 0});
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(POINT{0, 0}, kBrown)));
}

// The readouts follow each pointer move, not only the 20 ticks a second: over a run of
// one-pixel moves, they show more of the positions than ticks alone could have in the
// time the run took, since each position shown by ticks alone takes a tick of its own.
TEST_F(Sampling, ReadoutsFollowPointerMovesWithoutWaitingForTheTick) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  constexpr int kMoves = 60;
  int shown = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kMoves; ++i) {
    const POINT at{kBrownPlace.left + 20 + i, kOnBrown.y};
    MovePointer(at);
    // Less than a tick's period: a tick-bound readout misses some of the positions.
    if (WaitUntil([&] { return app.Text(ids::kText1) == PositionText(at); }, 40ms)) ++shown;
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  const auto ticks = took.count() / Form1TickMs + 1;
  EXPECT_GT(shown, ticks + 1) << shown << " of " << kMoves << " positions shown in " << took.count()
                              << " ms, which ticks alone could have shown " << ticks << " of";
}

// While sampling, a slider event relabels but does not compose a colour. With the
// pointer resting on the swatch, a composed colour would be read back at every tick and
// stay; the right behaviour leaves the colour alone and the next tick restores the label.
TEST_F(Sampling, SliderMovedWhileSamplingOnlyRelabels) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const POINT onSwatch = CentreOnScreen(app.Control(ids::kPicture1));
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  MovePointer(kOnBrown);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(ids::kText1 + 5) == kBrown.html; }));
  MovePointer(onSwatch);
  const Readouts onBrownSwatch = Showing(onSwatch, kBrown);
  ASSERT_TRUE(ReadoutsSettleOn(app, onBrownSwatch)) << "the swatch does not read back brown";

  HWND red = app.Control(ids::kHScroll1);
  HWND label = app.Control(ids::kLabel2 + 3);
  // The relabelled text lives only until the next tick, so watch closely after each
  // step and try again if a tick came first.
  bool relabelled = false;
  for (int attempt = 0; attempt < 20 && !relabelled; ++attempt) {
    PostMessageW(app.Window(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(red));
    const auto end = std::chrono::steady_clock::now() + 200ms;
    while (!relabelled && std::chrono::steady_clock::now() < end) relabelled = WindowText(label) == "154";
  }
  EXPECT_TRUE(relabelled) << "the value label never showed the stepped slider";

  EXPECT_FALSE(WaitUntil([&] { return app.Text(ids::kText1 + 5) != kBrown.html; }, 500ms))
      << "the slider step composed a colour while sampling";
  EXPECT_TRUE(ReadoutsSettleOn(app, onBrownSwatch));
}

TEST_F(Sampling, SlidersAreArmedAgainAfterTheRelease) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  std::optional<HeldButton> button;
  ASSERT_TRUE(PressOnTheSwatch(app, button));
  MovePointer(kOnSky);
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(kOnSky, kSky)));
  button->Release();
  ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app) == nullptr; }));

  // The red slider's up arrow: the top of the bar, one arrow high.
  RECT bar{};
  GetWindowRect(app.Control(ids::kHScroll1), &bar);
  const int arrow = std::min(GetSystemMetrics(SM_CYVSCROLL), static_cast<int>((bar.bottom - bar.top) / 2));
  Click(POINT{(bar.left + bar.right) / 2, bar.top + arrow / 2});

  // The position readout keeps the last point read; everything else follows the slider.
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnSky, kSkyRedPlusOne)));
}

}  // namespace
}  // namespace tintelo::e2e
