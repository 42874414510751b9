#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/FakeFormView.h"
#include "window/Form1.h"

namespace tintelo {
namespace {

using testing_support::FakeDesktop;
using testing_support::FakeFormView;
using testing_support::FakeScreenApi;
using Labels = std::array<std::string, 3>;
using Positions = std::array<std::int16_t, 3>;

constexpr std::string_view kTip = "Cliquez pour copier la valeur dans le presse-papiers";

// Everything the user can read off the window, for "nothing changed" comparisons.
struct Shown {
  ColourValue swatch;
  std::array<std::string, Form1::kReadouts> texts;
  std::array<std::string, 6> label2;
  Positions drawn;   // what the scroll bars show
  Positions values;  // what the slider models hold
  friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << "swatch " << s.swatch << ", texts";
  for (const auto& t : s.texts) *os << " [" << t << ']';
  *os << ", labels " << s.label2[3] << '/' << s.label2[4] << '/' << s.label2[5] << ", sliders " << s.values[0] << '/'
      << s.values[1] << '/' << s.values[2];
}

class FormFixture : public testing::Test {
 protected:
  void Start() {
    view.toolTips[0] = kTip;
    form.Form_Load();
    form.Form_Activate();
  }

  void Tick(ScreenPoint point, ColourValue pixel) {
    screen.cursor = point;
    screen.pixel = pixel;
    form.Timer1_Timer();
  }

  [[nodiscard]] Shown Now() const {
    return Shown{view.swatch, view.texts, view.label2, view.sliders,
                 Positions{form.SliderValue(0), form.SliderValue(1), form.SliderValue(2)}};
  }

  [[nodiscard]] Labels ValueLabels() const { return Labels{view.label2[3], view.label2[4], view.label2[5]}; }

  // The slider models and the scroll bars drawn for them must agree.
  void ExpectSliders(const Positions& expected) const {
    for (int i = 0; i < Form1::kSliders; ++i) {
      const auto at = static_cast<std::size_t>(i);
      EXPECT_EQ(form.SliderValue(i), expected[at]) << "hScroll1(" << i << ")";
      EXPECT_EQ(view.sliders[at], expected[at]) << "hScroll1(" << i << ") as drawn";
    }
  }

  FakeFormView view;
  FakeScreenApi screen;
  FakeDesktop desktop;
  Form1 form{view, screen, desktop};
};

// ---- Start-up ----

class Form1Start : public FormFixture {};

TEST_F(Form1Start, LoadGivesEveryReadoutTheFirstFieldsTooltip) {
  view.toolTips[0] = kTip;
  form.Form_Load();
  for (const auto& tip : view.toolTips) EXPECT_EQ(tip, kTip);
}

TEST_F(Form1Start, FirstActivationShowsBlackDisarmedThenArmsAndGoesTopmost) {
  std::vector<bool> liveDuringRefresh;
  view.onSetText = [&](int, std::string_view) { liveDuringRefresh.push_back(form.SlidersLive()); };
  EXPECT_FALSE(form.SlidersLive());

  Start();

  EXPECT_EQ(view.texts, (std::array<std::string, 6>{"0.0", "0", "0x000000", "0,0,0,255", "0,0,0", "#000000"}));
  EXPECT_EQ(liveDuringRefresh, std::vector<bool>(5, false));
  EXPECT_EQ(ValueLabels(), (Labels{"000", "000", "000"})) << "no slider moved, so no label was written";
  EXPECT_EQ(view.labelWrites, 0);
  EXPECT_TRUE(view.swatchHistory.empty());
  ExpectSliders({0, 0, 0});
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_EQ(view.topmost, 1);
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_TRUE(desktop.log.empty()) << "no loupe before the first sampling";
}

TEST_F(Form1Start, LaterActivationsDoNothing) {
  Start();
  view.swatch = 0x123456;  // a refresh now would show in the readouts
  const Shown before = Now();
  const int writes = view.textWrites;
  form.Form_Activate();
  form.Form_Activate();
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(view.textWrites, writes);
  EXPECT_EQ(view.topmost, 1);
}

// ---- Sampling ----

class Sampling : public FormFixture {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(Sampling, PressStartsTheTimerAndDisarmsBeforeYielding) {
  struct State {
    bool live, timer, held;
    bool operator==(const State&) const = default;
  };
  std::vector<State> duringYields;
  view.onDoEvents = [&] { duringYields.push_back({form.SlidersLive(), view.timerEnabled, form.Sampling()}); };

  form.Picture1_MouseDown();

  ASSERT_FALSE(duringYields.empty()) << "the press lets pending messages run";
  for (const State& s : duringYields) EXPECT_EQ(s, (State{false, true, true}));
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_FALSE(form.SlidersLive());
  EXPECT_TRUE(form.Sampling());
  EXPECT_TRUE(screen.reads.empty()) << "the first read belongs to the first tick";
}

TEST_F(Sampling, EachTickShowsThePixelUnderThePointer) {
  form.Picture1_MouseDown();

  Tick({-1280, 300}, 0x336699);
  EXPECT_EQ(view.swatch, 0x336699);
  EXPECT_EQ(view.texts,
            (std::array<std::string, 6>{"-1280.300", "3368601", "0x996633", "0,51,102,102", "153,102,51", "#996633"}));
  ExpectSliders({-153, -102, -51});
  EXPECT_EQ(ValueLabels(), (Labels{"153", "102", "51"}));
  ASSERT_EQ(screen.reads.size(), 1u);
  EXPECT_EQ(screen.reads[0].point.x, -1280);
  EXPECT_EQ(screen.reads[0].point.y, 300);

  Tick({1024, 768}, 0x0000FF);
  EXPECT_EQ(view.texts[0], "1024.768");
  EXPECT_EQ(view.texts[5], "#FF0000");
  ExpectSliders({-255, 0, 0});
  EXPECT_EQ(ValueLabels(), (Labels{"255", "0", "0"}));

  // The slider writes must not feed back into the swatch while the button is held.
  EXPECT_EQ(view.swatchHistory, (std::vector<ColourValue>{0x336699, 0x0000FF}));
}

TEST_F(Sampling, UserSliderMoveWhileHeldOnlyRelabels) {
  form.Picture1_MouseDown();
  Tick({3, 4}, 0x336699);
  const Shown before = Now();

  form.hScroll1_Action(1, SliderAction::PageUp);

  EXPECT_EQ(ValueLabels(), (Labels{"153", "112", "51"}));
  EXPECT_EQ(form.SliderValue(1), -112);
  EXPECT_EQ(view.swatch, before.swatch);
  EXPECT_EQ(view.texts, before.texts);
  EXPECT_EQ(view.swatchHistory.size(), 1u);
}

TEST_F(Sampling, ReleaseDuringTheYieldsLeavesTheSamplerIdleAndArmed) {
  view.onDoEvents = [&] {
    if (view.yields == 1) form.Picture1_MouseUp();
  };

  form.Picture1_MouseDown();

  EXPECT_FALSE(form.Sampling());
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_FALSE(view.timerEnabled);
  // A tick already queued must find nothing to do.
  const Shown before = Now();
  Tick({1, 1}, 0xABCDEF);
  EXPECT_EQ(Now(), before);
  EXPECT_TRUE(screen.reads.empty());
  // And the sliders compose again.
  form.hScroll1_Action(2, SliderAction::LineUp);
  EXPECT_EQ(view.swatch, ComposeColour(0, 0, 1));
}

TEST_F(Sampling, TickAfterTheReleaseDoesNotSample) {
  form.Picture1_MouseDown();
  Tick({10, 10}, 0x336699);
  form.Picture1_MouseUp();
  const Shown before = Now();
  const auto reads = screen.reads.size();

  Tick({20, 20}, 0x00FF00);

  EXPECT_EQ(Now(), before);
  EXPECT_EQ(screen.reads.size(), reads);
}

TEST_F(Sampling, AfterTheReleaseTheSlidersComposeFromTheSampledColour) {
  form.Picture1_MouseDown();
  Tick({10, 10}, 0x336699);
  form.Picture1_MouseUp();

  form.hScroll1_Action(0, SliderAction::LineUp);

  EXPECT_EQ(view.swatch, ComposeColour(154, 102, 51));
  EXPECT_EQ(view.texts[4], "154,102,51");
  EXPECT_EQ(view.texts[0], "10.10") << "the position stays that of the last sample";
}

TEST_F(Sampling, CaptureLostWhileIdleChangesNothing) {
  form.Picture1_MouseMove(0, 0);
  view.log.clear();
  const Shown before = Now();

  form.Picture1_CaptureLost();

  EXPECT_TRUE(view.log.empty());
  EXPECT_TRUE(view.panels[0].visible);
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_EQ(Now(), before);
}

// A release, a capture lost while the button is held, Space, Enter and the swatch losing
// the focus end sampling the same way.
enum class Stop { Release, CaptureLost, Space, Enter, LostFocus };

void PrintTo(Stop stop, std::ostream* os) {
  constexpr std::array<const char*, 5> kNames{"Release", "CaptureLost", "Space", "Enter", "LostFocus"};
  *os << kNames.at(static_cast<std::size_t>(stop));
}

class SamplingStop : public FormFixture, public testing::WithParamInterface<Stop> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SamplingStop, HidesTheSwatchHelpStopsTheTimerAndArms) {
  form.Image1_MouseMove(0, 0);
  form.Picture1_MouseMove(0, 0);
  form.Picture1_MouseDown();
  Tick({7, 8}, 0x102030);
  const Shown sampled = Now();

  switch (GetParam()) {
    case Stop::Release: form.Picture1_MouseUp(); break;
    case Stop::CaptureLost: form.Picture1_CaptureLost(); break;
    case Stop::Space: EXPECT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false)); break;
    case Stop::Enter: EXPECT_TRUE(form.Picture1_KeyDown(SwatchKey::Enter, false, false)); break;
    case Stop::LostFocus: form.Picture1_LostFocus(); break;
  }

  EXPECT_FALSE(desktop.visible) << "the loupe stays up";
  EXPECT_FALSE(view.panels[0].visible);
  EXPECT_TRUE(view.panels[1].visible) << "only the swatch's help goes";
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(form.Sampling());
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_EQ(Now(), sampled) << "stopping keeps the last sample on show";
  const auto reads = screen.reads.size();
  Tick({9, 9}, 0);
  EXPECT_EQ(screen.reads.size(), reads);
}

INSTANTIATE_TEST_SUITE_P(Ways, SamplingStop,
                         testing::Values(Stop::Release, Stop::CaptureLost, Stop::Space, Stop::Enter, Stop::LostFocus));

// Escape brings back everything from before sampling began, as if it never had, however
// it began: the start-up state (value labels "000") or a colour from the sliders.
enum class Began { PressAtStartUp, SpaceAtStartUp, PressAfterSliders, EnterAfterSliders };

void PrintTo(Began began, std::ostream* os) {
  constexpr std::array<const char*, 4> kNames{"PressAtStartUp", "SpaceAtStartUp", "PressAfterSliders",
                                              "EnterAfterSliders"};
  *os << kNames.at(static_cast<std::size_t>(began));
}

class SamplingCancel : public FormFixture, public testing::WithParamInterface<Began> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SamplingCancel, EscapeBringsBackEverythingAndALaterReleaseChangesNothing) {
  const Began began = GetParam();
  if (began == Began::PressAfterSliders || began == Began::EnterAfterSliders) {
    form.Picture1_MouseDown();
    Tick({5, 6}, 0x336699);
    form.Picture1_MouseUp();
    form.hScroll1_Action(2, SliderAction::PageUp);
  }
  const Shown before = Now();

  if (began == Began::PressAtStartUp || began == Began::PressAfterSliders) {
    form.Picture1_MouseDown();
  } else {
    ASSERT_TRUE(
        form.Picture1_KeyDown(began == Began::SpaceAtStartUp ? SwatchKey::Space : SwatchKey::Enter, false, false));
  }
  Tick({700, 80}, 0x0000FF);
  form.hScroll1_Action(1, SliderAction::PageUp);  // relabels only, while sampling
  Tick({701, 81}, 0xFFFFFF);
  ASSERT_NE(Now(), before);

  EXPECT_TRUE(form.Picture1_KeyDown(SwatchKey::Escape, false, false));

  EXPECT_EQ(Now(), before);
  EXPECT_FALSE(form.Sampling());
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(desktop.visible);
  EXPECT_FALSE(form.Picture1_KeyDown(SwatchKey::Escape, false, false)) << "a second Escape has nothing to cancel";
  form.Picture1_MouseUp();
  Tick({9, 9}, 0x00FF00);
  EXPECT_EQ(Now(), before);
  // And the sliders compose again.
  form.hScroll1_Action(0, SliderAction::LineUp);
  EXPECT_EQ(view.swatch, before.swatch + 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, SamplingCancel,
                         testing::Values(Began::PressAtStartUp, Began::SpaceAtStartUp, Began::PressAfterSliders,
                                         Began::EnterAfterSliders));

// Every key on the focused swatch, idle and while sampling begun with Space at (100, 100).
struct KeyCase {
  const char* name;
  bool sampling;
  SwatchKey key;
  bool shift;
  bool repeat;
  bool used;
  bool samplingAfter;
  ScreenPoint pointerAfter;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
std::string KeyName(const testing::TestParamInfo<KeyCase>& info) { return info.param.name; }

class SwatchKeys : public FormFixture, public testing::WithParamInterface<KeyCase> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SwatchKeys, DoWhatTheSamplerStateSays) {
  const KeyCase& c = GetParam();
  screen.cursor = {100, 100};
  screen.pixelAt = [](ScreenPoint p) { return ComposeColour(p.x, p.y, 7); };
  if (c.sampling) {
    ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  }
  const std::string shownBefore = view.texts[0];

  EXPECT_EQ(form.Picture1_KeyDown(c.key, c.shift, c.repeat), c.used);

  EXPECT_EQ(form.Sampling(), c.samplingAfter);
  EXPECT_EQ(view.timerEnabled, c.samplingAfter);
  EXPECT_EQ(form.SlidersLive(), !c.samplingAfter);
  EXPECT_EQ(desktop.visible, c.samplingAfter) << "the loupe";
  EXPECT_EQ(screen.cursor.x, c.pointerAfter.x);
  EXPECT_EQ(screen.cursor.y, c.pointerAfter.y);
  const bool stepped = c.pointerAfter.x != 100 || c.pointerAfter.y != 100;
  // A step shows the new pixel at once, without waiting for a tick.
  EXPECT_EQ(view.texts[0], stepped ? PositionText(c.pointerAfter) : shownBefore);
  if (stepped) {
    EXPECT_EQ(view.swatch, ComposeColour(c.pointerAfter.x, c.pointerAfter.y, 7));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SwatchKeys,
    testing::Values(KeyCase{"IdleSpaceStarts", false, SwatchKey::Space, false, false, true, true, {100, 100}},
                    KeyCase{"IdleEnterStarts", false, SwatchKey::Enter, false, false, true, true, {100, 100}},
                    KeyCase{"IdleEscape", false, SwatchKey::Escape, false, false, false, false, {100, 100}},
                    KeyCase{"IdleArrow", false, SwatchKey::Left, false, false, false, false, {100, 100}},
                    KeyCase{"IdleTabMovesOn", false, SwatchKey::Tab, false, false, false, false, {100, 100}},
                    KeyCase{"IdleOther", false, SwatchKey::Other, false, false, false, false, {100, 100}},
                    KeyCase{"SpaceEnds", true, SwatchKey::Space, false, false, true, false, {100, 100}},
                    KeyCase{"EnterEnds", true, SwatchKey::Enter, false, false, true, false, {100, 100}},
                    KeyCase{"HeldSpaceRepeatsNothing", true, SwatchKey::Space, false, true, true, true, {100, 100}},
                    KeyCase{"EscapeCancels", true, SwatchKey::Escape, false, false, true, false, {100, 100}},
                    KeyCase{"Left", true, SwatchKey::Left, false, false, true, true, {99, 100}},
                    KeyCase{"ShiftRight", true, SwatchKey::Right, true, false, true, true, {110, 100}},
                    KeyCase{"Up", true, SwatchKey::Up, false, false, true, true, {100, 99}},
                    KeyCase{"ShiftDown", true, SwatchKey::Down, true, true, true, true, {100, 110}},
                    KeyCase{"TabDoesNothing", true, SwatchKey::Tab, false, false, true, true, {100, 100}},
                    KeyCase{"OtherWhileSampling", true, SwatchKey::Other, false, false, false, true, {100, 100}}),
    KeyName);

// The loupe is made on the first sampling only, shown with the press, and moves out of
// the way before each read: the pointer jumping straight onto it reads the screen
// beneath, or, while the screen still shows the loupe's picture there, nothing.
TEST_F(Sampling, LoupeComesWithThePressAndNeverReachesTheReadouts) {
  screen.pixelAt = [&](ScreenPoint p) { return desktop.PixelRead(p); };
  screen.cursor = {100, 100};
  form.Picture1_MouseDown();
  ASSERT_TRUE(desktop.visible);

  for (const bool slowRepaint : {false, true}) {
    desktop.slowRepaint = slowRepaint;
    form.Timer1_Timer();
    const Shown sampled = Now();
    ASSERT_EQ(view.texts[0], PositionText(screen.cursor));
    const ScreenRect last = desktop.place;
    screen.cursor = {last.left + 30, last.top + 30};
    const std::string there = PositionText(screen.cursor);

    form.Timer1_Timer();
    EXPECT_NE(desktop.place, last);
    if (slowRepaint) {
      EXPECT_EQ(Now(), sampled) << "read the loupe's picture left on the screen";
      desktop.Repaint();
      form.Timer1_Timer();
    }
    EXPECT_EQ(view.texts[0], there);
    EXPECT_EQ(view.swatch, desktop.PixelRead(screen.cursor));
  }
}

enum class ScreenFailure { CursorPos, Pixel };

void PrintTo(ScreenFailure failure, std::ostream* os) {
  constexpr std::array<const char*, 2> kNames{"CursorPos", "Pixel"};
  *os << kNames.at(static_cast<std::size_t>(failure));
}

class SamplingFailures : public FormFixture, public testing::WithParamInterface<ScreenFailure> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SamplingFailures, KeepTheLastGoodSampleEverywhere) {
  form.Picture1_MouseDown();
  Tick({10, 20}, ComposeColour(10, 11, 12));
  const Shown good = Now();

  switch (GetParam()) {
    case ScreenFailure::CursorPos: screen.cursorWorks = false; break;
    case ScreenFailure::Pixel: break;
  }
  Tick({30, 40}, GetParam() == ScreenFailure::Pixel ? ScreenApi::kInvalidColour : 0xFFFFFF);

  EXPECT_EQ(Now(), good);
  EXPECT_EQ(view.swatchHistory.size(), 1u);
  EXPECT_TRUE(form.Sampling()) << "a failed read does not end sampling";

  screen.cursorWorks = true;
  Tick({30, 40}, 0xFFFFFF);
  EXPECT_EQ(view.texts[0], "30.40");
  EXPECT_EQ(view.texts[5], "#FFFFFF");
}

INSTANTIATE_TEST_SUITE_P(Points, SamplingFailures, testing::Values(ScreenFailure::CursorPos, ScreenFailure::Pixel));

// ---- Sliders ----

struct SliderCase {
  int index;
  SliderAction action;
  int thumb;
  ColourValue colour;
  Labels labels;
  const char* html;
  const char* name;
};

void PrintTo(const SliderCase& c, std::ostream* os) { *os << c.name; }

class SliderMoves : public FormFixture, public testing::WithParamInterface<SliderCase> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SliderMoves, ComposeTheColourWhenArmed) {
  const SliderCase& c = GetParam();
  form.hScroll1_Action(c.index, c.action, c.thumb);

  EXPECT_EQ(view.swatch, c.colour);
  EXPECT_EQ(view.swatchHistory, (std::vector<ColourValue>{c.colour})) << "one composition, no intermediates";
  EXPECT_EQ(ValueLabels(), c.labels);
  EXPECT_EQ(view.texts[1], std::to_string(c.colour));
  EXPECT_EQ(view.texts[5], c.html);
  ExpectSliders({static_cast<std::int16_t>(-std::stoi(c.labels[0])), static_cast<std::int16_t>(-std::stoi(c.labels[1])),
                 static_cast<std::int16_t>(-std::stoi(c.labels[2]))});
}

INSTANTIATE_TEST_SUITE_P(
    FromBlack, SliderMoves,
    testing::Values(SliderCase{0, SliderAction::Top, 0, 255, {"255", "0", "0"}, "#FF0000", "RedToTop"},
                    SliderCase{1, SliderAction::LineUp, 0, 256, {"0", "1", "0"}, "#000100", "GreenArrow"},
                    SliderCase{2, SliderAction::PageUp, 0, 655360, {"0", "0", "10"}, "#00000A", "BluePage"},
                    SliderCase{1, SliderAction::Track, -128, 32768, {"0", "128", "0"}, "#008000", "GreenTrack"},
                    SliderCase{
                        2, SliderAction::ThumbReleased, -200, 13107200, {"0", "0", "200"}, "#0000C8", "BlueThumb"}));

class SliderSteps : public FormFixture {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(SliderSteps, DraggingTheThumbComposesAtEveryTrackingStep) {
  for (int p = -1; p >= -5; --p) form.hScroll1_Action(1, SliderAction::Track, p);
  form.hScroll1_Action(1, SliderAction::ThumbReleased, -5);
  EXPECT_EQ(view.swatchHistory, (std::vector<ColourValue>{256, 512, 768, 1024, 1280}));
  EXPECT_EQ(view.texts[4], "0,5,0");
}

TEST_F(SliderSteps, StepsBackDownFromTheTop) {
  form.hScroll1_Action(0, SliderAction::Top);
  form.hScroll1_Action(0, SliderAction::PageDown);
  form.hScroll1_Action(0, SliderAction::LineDown);
  EXPECT_EQ(view.swatch, 244);
  EXPECT_EQ(ValueLabels(), (Labels{"244", "0", "0"}));
  form.hScroll1_Action(0, SliderAction::Bottom);
  EXPECT_EQ(view.swatch, 0);
  EXPECT_EQ(view.texts[5], "#000000");
}

enum class Disarmed { BeforeActivation, WhileSampling };

void PrintTo(Disarmed state, std::ostream* os) {
  *os << (state == Disarmed::BeforeActivation ? "BeforeActivation" : "WhileSampling");
}

class SliderDisarmed : public FormFixture, public testing::WithParamInterface<Disarmed> {};

TEST_P(SliderDisarmed, MovesRewriteTheThreeLabelsOnly) {
  if (GetParam() == Disarmed::WhileSampling) {
    Start();
    form.Picture1_MouseDown();
  }
  const Shown before = Now();
  const auto swatchWrites = view.swatchHistory.size();
  const int textWrites = view.textWrites;

  form.hScroll1_Action(0, SliderAction::Top);
  form.hScroll1_Action(2, SliderAction::PageUp);

  EXPECT_EQ(ValueLabels(), (Labels{"255", "0", "10"}));
  EXPECT_EQ(view.swatch, before.swatch);
  EXPECT_EQ(view.swatchHistory.size(), swatchWrites);
  EXPECT_EQ(view.textWrites, textWrites);
  EXPECT_EQ(view.texts, before.texts);
}

INSTANTIATE_TEST_SUITE_P(States, SliderDisarmed, testing::Values(Disarmed::BeforeActivation, Disarmed::WhileSampling));

// ---- Colour dialog ----

class DialogPick : public FormFixture {
 protected:
  void SetUp() override { Start(); }

  void Pick(std::optional<ColourValue> answer) {
    view.dialogue.answer = answer;
    form.Image1_Click();
  }
};

TEST_F(DialogPick, ClickHidesTheHelpOpensFullAndShowsTheConfirmedColour) {
  form.Image1_MouseMove(10, 10);
  view.log.clear();

  Pick(0xFF0000);

  EXPECT_FALSE(view.panels[1].visible);
  ASSERT_GE(view.log.size(), 2u);
  EXPECT_EQ(view.log.front(), "Tool1(1).Hide") << "the help must not sit over the dialog";
  EXPECT_EQ(view.dialogue.flagsWhenShown, (std::vector<std::int32_t>{ColourDialog::kFullOpen}));
  EXPECT_EQ(view.swatch, 16711680);
  EXPECT_EQ(view.texts[4], "0,0,255");
  EXPECT_EQ(view.texts[5], "#0000FF");
  ExpectSliders({0, 0, -255});
  EXPECT_EQ(ValueLabels(), (Labels{"0", "0", "255"}));
  EXPECT_TRUE(form.SlidersLive());
}

TEST_F(DialogPick, ArmedSlidersSettleOnTheChosenColourThroughEachComponent) {
  Pick(ComposeColour(10, 20, 30));

  EXPECT_EQ(view.swatchHistory, (std::vector<ColourValue>{1971210, 10, 10 + 20 * 256, 1971210}));
  EXPECT_EQ(view.swatch, 1971210);
  ExpectSliders({-10, -20, -30});
  EXPECT_EQ(view.texts[1], "1971210");
  EXPECT_EQ(view.texts[5], "#0A141E");
  EXPECT_EQ(ValueLabels(), (Labels{"10", "20", "30"}));
}

TEST_F(DialogPick, CancelBringsBackTheDialogsPreviousColour) {
  Pick(0x00FF00);
  form.hScroll1_Action(0, SliderAction::Top);
  ASSERT_EQ(view.swatch, 0x00FFFF);

  Pick(std::nullopt);

  EXPECT_EQ(view.dialogue.shows, 2);
  EXPECT_EQ(view.swatch, 0x00FF00);
  EXPECT_EQ(view.texts[5], "#00FF00");
  ExpectSliders({0, -255, 0});
  EXPECT_EQ(ValueLabels(), (Labels{"0", "255", "0"}));
}

TEST_F(DialogPick, CancelBeforeAnyChoiceBringsBackBlack) {
  form.hScroll1_Action(0, SliderAction::Top);
  form.hScroll1_Action(2, SliderAction::Top);

  Pick(std::nullopt);

  EXPECT_EQ(view.swatch, 0);
  EXPECT_EQ(view.texts[1], "0");
  EXPECT_EQ(view.texts[5], "#000000");
  ExpectSliders({0, 0, 0});
  EXPECT_EQ(ValueLabels(), (Labels{"0", "0", "0"}));
}

// A dialog whose library cannot be loaded shows nothing: each click beeps and changes no
// colour, not even to the dialog's previous one as a cancel would.
TEST_F(DialogPick, UnavailableDialogBeepsAtEveryClickAndKeepsTheColour) {
  Pick(0x00FF00);
  form.hScroll1_Action(0, SliderAction::Top);
  const Shown before = Now();
  view.dialogue.available = false;
  view.log.clear();

  Pick(0x0000FF);
  Pick(0x0000FF);

  EXPECT_EQ(view.beeps, 2);
  EXPECT_EQ(view.log, (std::vector<std::string>{"Tool1(1).Hide", "Dialog.SetFlags", "Dialog.Unavailable", "Beep",
                                                "Tool1(1).Hide", "Dialog.SetFlags", "Dialog.Unavailable", "Beep"}));
  EXPECT_EQ(Now(), before);
  EXPECT_TRUE(form.SlidersLive());
}

// ---- Copy ----

class CopyFixture : public FormFixture {
 protected:
  void SetUp() override {
    Start();
    form.Picture1_MouseDown();
    Tick({-1280, 300}, 0x336699);
    form.Picture1_MouseUp();
    view.log.clear();
  }
};

struct CopyCase {
  int index;
  const char* text;
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << "Text1(" << c.index << ')'; }

class CopyOnFocus : public CopyFixture, public testing::WithParamInterface<CopyCase> {};

TEST_P(CopyOnFocus, CopiesExactlyTheFieldTextAndMinimises) {
  form.Text1_GotFocus(GetParam().index);
  EXPECT_EQ(view.clipboard, GetParam().text);
  EXPECT_EQ(view.log, (std::vector<std::string>{"FocusSwatch", "Copy", "Minimise"}));
  EXPECT_EQ(view.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Fields, CopyOnFocus,
                         testing::Values(CopyCase{0, "-1280.300"}, CopyCase{1, "3368601"}, CopyCase{2, "0x996633"},
                                         CopyCase{3, "0,51,102,102"}, CopyCase{4, "153,102,51"},
                                         CopyCase{5, "#996633"}));

class CopyFailure : public CopyFixture {};

TEST_F(CopyFailure, BeepsAndStaysUpThenTheNextAttemptCopies) {
  view.clipboard = "held by another program";
  view.clipboardHeld = true;
  form.Text1_GotFocus(5);

  EXPECT_EQ(view.log, (std::vector<std::string>{"FocusSwatch", "Copy", "Beep"}));
  EXPECT_EQ(view.minimised, 0);
  EXPECT_EQ(view.clipboard, "held by another program");

  view.clipboardHeld = false;
  form.Text1_GotFocus(5);

  EXPECT_EQ(view.clipboard, "#996633");
  EXPECT_EQ(view.minimised, 1);
  EXPECT_EQ(view.beeps, 1);
  EXPECT_EQ(view.swatchFocused, 2);
}

// ---- Help panels ----

struct PanelCase {
  bool palette;  // false: the swatch
  double x, y;
  double left, top;
};

void PrintTo(const PanelCase& c, std::ostream* os) {
  *os << (c.palette ? "Image1" : "Picture1") << '(' << c.x << ',' << c.y << ')';
}

class HelpPanelShow : public FormFixture, public testing::WithParamInterface<PanelCase> {};

TEST_P(HelpPanelShow, AppearsOffsetFromThePointer) {
  const PanelCase& c = GetParam();
  const int shown = c.palette ? 1 : 0;
  if (c.palette) {
    form.Image1_MouseMove(c.x, c.y);
  } else {
    form.Picture1_MouseMove(c.x, c.y);
  }
  const auto& panel = view.panels[static_cast<std::size_t>(shown)];
  EXPECT_DOUBLE_EQ(panel.left, c.left);
  EXPECT_DOUBLE_EQ(panel.top, c.top);
  EXPECT_TRUE(panel.visible);
  EXPECT_FALSE(view.panels[static_cast<std::size_t>(1 - shown)].visible);
}

INSTANTIATE_TEST_SUITE_P(Points, HelpPanelShow,
                         testing::Values(PanelCase{false, 0, 0, 400, 400}, PanelCase{false, 1230, 15, 1630, 415},
                                         PanelCase{true, 100, 100, 500, 900}, PanelCase{true, 0, 0, 400, 800},
                                         PanelCase{true, 2475, 1905, 2875, 2705}));

enum class Over { Form, Text1First, Text1Last, Label1First, Label1Last, Label4Swatch, Label4Palette };

void PrintTo(Over over, std::ostream* os) {
  constexpr std::array<const char*, 7> kNames{"Form",       "Text1(0)",  "Text1(5)", "Label1(0)",
                                              "Label1(11)", "Label4(0)", "Label4(1)"};
  *os << kNames.at(static_cast<std::size_t>(over));
}

class HelpPanelHide : public FormFixture, public testing::WithParamInterface<Over> {};

TEST_P(HelpPanelHide, MovingOverTheBackgroundOrATextHidesBoth) {
  form.Picture1_MouseMove(0, 0);
  form.Image1_MouseMove(100, 100);
  view.log.clear();

  switch (GetParam()) {
    case Over::Form: form.Form_MouseMove(); break;
    case Over::Text1First: form.Text1_MouseMove(0); break;
    case Over::Text1Last: form.Text1_MouseMove(5); break;
    case Over::Label1First: form.Label1_MouseMove(0); break;
    case Over::Label1Last: form.Label1_MouseMove(11); break;
    case Over::Label4Swatch: form.Label4_MouseMove(0); break;
    case Over::Label4Palette: form.Label4_MouseMove(1); break;
  }

  EXPECT_EQ(view.log, (std::vector<std::string>{"Tool1(0).Hide", "Tool1(1).Hide"}));
  EXPECT_FALSE(view.panels[0].visible);
  EXPECT_FALSE(view.panels[1].visible);
  EXPECT_DOUBLE_EQ(view.panels[1].top, 900) << "hiding leaves the panel where it was";
}

INSTANTIATE_TEST_SUITE_P(Controls, HelpPanelHide,
                         testing::Values(Over::Form, Over::Text1First, Over::Text1Last, Over::Label1First,
                                         Over::Label1Last, Over::Label4Swatch, Over::Label4Palette));

// ---- Run-time errors ----

// The core leaves run-time errors to the message loop, which reports them and ends the
// program; a handler that caught one would carry on in a half-updated state.
class Form1Errors : public FormFixture {};

TEST_F(Form1Errors, ErrorInsideATickLeavesTheHandlerUnchanged) {
  Start();
  form.Picture1_MouseDown();
  view.onSetText = [](int index, std::string_view) {
    if (index == 0) RaiseOverflow();
  };
  try {
    Tick({1, 2}, 0x102030);
    ADD_FAILURE() << "the error did not reach the caller";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kErrOverflow);
    EXPECT_STREQ(error.what(), "Overflow");
  }
  EXPECT_EQ(view.texts[1], "0") << "nothing after the failing write ran";
}

}  // namespace
}  // namespace tintelo
