#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Wcag.h"
#include "tests/CaseName.h"
#include "tests/FakeFormView.h"
#include "window/Form1.h"

namespace tintelo {
namespace {

using testing_support::FakeDesktop;
using testing_support::FakeFormView;
using Copies = FakeDesktop::Copies;
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

  // Timer1's next tick, with the pointer at `point` over a screen of one colour.
  void Tick(ScreenPoint point, ColourValue pixel) {
    desktop.cursor = point;
    desktop.Fill(pixel);
    Tick();
  }
  void Tick() {
    view.now += Form1::kTimerIntervalMs * 1000;
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
  FakeDesktop desktop;
  Form1 form{view, desktop, desktop};
};

// ---- Start-up ----

class Form1Start : public FormFixture {};

TEST_F(Form1Start, FirstActivationShowsBlackDisarmedThenArmsAndGoesTopmost) {
  std::vector<bool> liveDuringRefresh;
  view.onSetText = [&](int, std::string_view) { liveDuringRefresh.push_back(form.SlidersLive()); };
  EXPECT_FALSE(form.SlidersLive());

  Start();

  EXPECT_EQ(view.texts, (std::array<std::string, 6>{"0.0", "0", "0x000000", "0,0,0,255", "0,0,0", "#000000"}));
  for (const auto& tip : view.toolTips) EXPECT_EQ(tip, kTip) << "the load gives every readout the first one's tip";
  EXPECT_EQ(liveDuringRefresh, std::vector<bool>(5, false));
  EXPECT_EQ(ValueLabels(), (Labels{"000", "000", "000"})) << "no slider moved, so no label was written";
  EXPECT_EQ(view.labelWrites, 0);
  EXPECT_TRUE(view.swatchHistory.empty());
  ExpectSliders({0, 0, 0});
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_EQ(view.topmost, 1);
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_TRUE(desktop.log.empty()) << "no loupe before the first sampling";
  EXPECT_TRUE(desktop.captures.empty());
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
  desktop.Fill(0x336699);
  const Shown before = Now();

  form.Picture1_MouseDown();

  ASSERT_FALSE(duringYields.empty()) << "the press lets pending messages run";
  for (const State& s : duringYields) EXPECT_EQ(s, (State{false, true, true}));
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_FALSE(form.SlidersLive());
  EXPECT_TRUE(form.Sampling());
  EXPECT_TRUE(desktop.visible) << "the loupe comes with the press";
  EXPECT_EQ(Now(), before) << "the first reading belongs to the first tick: a short click changes nothing";
}

TEST_F(Sampling, EachTickShowsThePixelUnderThePointer) {
  form.Picture1_MouseDown();

  Tick({-1280, 300}, 0x336699);
  EXPECT_EQ(view.swatch, 0x336699);
  EXPECT_EQ(view.texts,
            (std::array<std::string, 6>{"-1280.300", "3368601", "0x996633", "0,51,102,102", "153,102,51", "#996633"}));
  ExpectSliders({-153, -102, -51});
  EXPECT_EQ(ValueLabels(), (Labels{"153", "102", "51"}));

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
  const auto captures = desktop.captures.size();
  Tick({1, 1}, 0xABCDEF);
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(desktop.captures.size(), captures);
  // And the sliders compose again.
  form.hScroll1_Action(2, SliderAction::LineUp);
  EXPECT_EQ(view.swatch, ComposeColour(0, 0, 1));
}

TEST_F(Sampling, TickAfterTheReleaseDoesNotSample) {
  form.Picture1_MouseDown();
  Tick({10, 10}, 0x336699);
  form.Picture1_MouseUp();
  const Shown before = Now();
  const auto captures = desktop.captures.size();

  Tick({20, 20}, 0x00FF00);

  EXPECT_EQ(Now(), before);
  EXPECT_EQ(desktop.captures.size(), captures);
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
  EXPECT_EQ(desktop.capturesEnded, 1) << "the screen keeps what its copies held, a duplication of the desktop perhaps";
  EXPECT_FALSE(view.panels[0].visible);
  EXPECT_TRUE(view.panels[1].visible) << "only the swatch's help goes";
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(form.Sampling());
  EXPECT_TRUE(form.SlidersLive());
  EXPECT_EQ(Now(), sampled) << "stopping keeps the last sample on show";
  EXPECT_FALSE(view.followTimerEnabled);
  EXPECT_FALSE(view.clicksTaken);
  const auto captures = desktop.captures.size();
  Tick({9, 9}, 0);
  EXPECT_EQ(desktop.captures.size(), captures);
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
  const auto taken = form.Recent().Newest().size();

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
  EXPECT_FALSE(view.clicksTaken);
  EXPECT_FALSE(desktop.visible);
  EXPECT_EQ(form.Recent().Newest().size(), taken) << "a cancelled sampling takes no colour";
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
  int sideAfter = 1;    // of the averaged area
  int cellsAfter = 15;  // across the loupe
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class SwatchKeys : public FormFixture, public testing::WithParamInterface<KeyCase> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SwatchKeys, DoWhatTheSamplerStateSays) {
  const KeyCase& c = GetParam();
  desktop.cursor = {100, 100};
  desktop.desktop = [](ScreenPoint p) { return FakeDesktop::AsPixel(ComposeColour(p.x, p.y, 7)); };
  if (c.sampling) {
    ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  }
  const std::string shownBefore = view.texts[0];

  EXPECT_EQ(form.Picture1_KeyDown(c.key, c.shift, c.repeat), c.used);

  EXPECT_EQ(form.Sampling(), c.samplingAfter);
  EXPECT_EQ(view.timerEnabled, c.samplingAfter);
  EXPECT_EQ(form.SlidersLive(), !c.samplingAfter);
  EXPECT_EQ(desktop.visible, c.samplingAfter) << "the loupe";
  EXPECT_EQ(view.clicksTaken, c.samplingAfter) << "clicks anywhere are sampling's";
  EXPECT_EQ(desktop.cursor, c.pointerAfter);
  EXPECT_EQ(form.AreaSide(), c.sideAfter);
  EXPECT_EQ(form.ZoomCells(), c.cellsAfter);
  const bool stepped =
      c.pointerAfter.x != 100 || c.pointerAfter.y != 100 || c.sideAfter != 1 || c.cellsAfter != 15;
  // A step of the pointer, the area or the zoom shows the new reading at once, without
  // waiting for a tick; the screen's gradient has the pointer's pixel as every area's
  // mean, whatever the loupe shows.
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
                    KeyCase{"OtherWhileSampling", true, SwatchKey::Other, false, false, false, true, {100, 100}},
                    KeyCase{"IdlePlus", false, SwatchKey::Grow, false, false, false, false, {100, 100}},
                    KeyCase{"IdleMinus", false, SwatchKey::Shrink, false, false, false, false, {100, 100}},
                    KeyCase{"PlusGrows", true, SwatchKey::Grow, false, false, true, true, {100, 100}, 3},
                    KeyCase{"HeldPlusGrows", true, SwatchKey::Grow, true, true, true, true, {100, 100}, 3},
                    KeyCase{"MinusAtOnePixel", true, SwatchKey::Shrink, false, false, true, true, {100, 100}},
                    KeyCase{"IdlePageUp", false, SwatchKey::ZoomIn, false, false, false, false, {100, 100}},
                    KeyCase{"IdleF", false, SwatchKey::Freeze, false, false, false, false, {100, 100}},
                    // Zooming changes the loupe, never the readouts.
                    KeyCase{"PageUpZoomsIn", true, SwatchKey::ZoomIn, false, false, true, true, {100, 100}, 1, 9},
                    KeyCase{"PageDownZoomsOut", true, SwatchKey::ZoomOut, false, true, true, true, {100, 100}, 1, 25}),
    testing_support::CaseName<KeyCase>);

// A CSS key while sampling: one key picks and copies, as a click on a notation does.
TEST_F(Sampling, CssKeyEndsSamplingKeepingTheColourThenCopies) {
  const ColourValue dodgerBlue = ComposeColour(30, 144, 255);
  desktop.cursor = {10, 10};
  desktop.Fill(dodgerBlue);
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  Tick();
  form.CssCopy_Click(CssNotation::Oklch);
  EXPECT_FALSE(form.Sampling());
  EXPECT_EQ(view.clipboard, "oklch(65.2% 0.19012 253.21)");
  EXPECT_EQ(view.minimised, 1);
  ASSERT_FALSE(form.Recent().Newest().empty());
  EXPECT_EQ(form.Recent().Newest().front(), dodgerBlue);
  view.clipboardHeld = true;
  form.CssCopy_Click(CssNotation::Hex);
  EXPECT_EQ(view.beeps, 1) << "a refused copy says so";
  EXPECT_EQ(view.minimised, 1);
}

// The contrast lines follow either colour: a slider step, a colour taken, the reference
// pinned and let go; hidden, they cost nothing.
TEST_F(Sampling, ContrastLinesFollowEitherColourAndThePinnedReference) {
  constexpr ColourValue kWhite = ComposeColour(255, 255, 255);
  constexpr ColourValue kTaken = 0x112233;
  const auto shows = [&](ColourValue reference) {
    return view.contrastReference == reference && view.contrastLines == ContrastLines(view.swatch, reference);
  };
  form.Contrast_Click();
  EXPECT_TRUE(view.contrastShown);
  EXPECT_TRUE(shows(kWhite)) << "nothing taken: white";
  form.hScroll1_Action(0, SliderAction::LineUp);
  EXPECT_TRUE(shows(kWhite)) << view.contrastLines;
  // Taken, then changed: the taken colour is the reference.
  desktop.cursor = {10, 10};
  desktop.Fill(kTaken);
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  Tick();
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  EXPECT_TRUE(shows(kWhite)) << "the only colour taken is the current one";
  form.hScroll1_Action(1, SliderAction::LineUp);
  EXPECT_TRUE(shows(kTaken));
  // Pinned, it stays whatever the colour does; let go, the rule again.
  const ColourValue pinned = view.swatch;
  form.Reference_Click();
  EXPECT_TRUE(form.ReferencePinned());
  form.hScroll1_Action(2, SliderAction::LineUp);
  EXPECT_TRUE(shows(pinned));
  form.Reference_Click();
  EXPECT_TRUE(shows(kTaken));
  form.Contrast_Click();
  EXPECT_FALSE(view.contrastShown);
  const std::string hidden = view.contrastLines;
  form.hScroll1_Action(0, SliderAction::LineUp);
  EXPECT_EQ(view.contrastLines, hidden) << "refreshed while hidden";
  // Pinning shows them.
  form.Reference_Click();
  EXPECT_TRUE(view.contrastShown);
  EXPECT_TRUE(shows(view.swatch));
}

// One copy of the screen per refresh feeds both the readouts and the loupe: on a screen
// that changes between any two copies, the loupe's outlined cell and the readouts agree.
TEST_F(Sampling, ReadoutsAndLoupeComeFromOneCopyOfTheScreen) {
  desktop.desktop = [&](ScreenPoint) {
    return FakeDesktop::AsPixel(ComposeColour(static_cast<int>(desktop.captures.size() % 256), 9, 90));
  };
  desktop.cursor = {100, 100};
  form.Picture1_MouseDown();
  const LoupeGeometry g = LoupeGeometry::ForDpi(96);
  const int middle = g.CellMiddle(g.Centre());
  for (int refresh = 0; refresh < 3; ++refresh) {
    const auto captures = desktop.captures.size();
    if (refresh == 1) {
      ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Right, false, false));
    } else {
      Tick();
    }
    EXPECT_EQ(desktop.captures.size(), captures + 1) << "one copy per refresh";
    EXPECT_EQ(view.swatch, ComposeColour(static_cast<int>(captures + 1), 9, 90));
    EXPECT_EQ(desktop.picture.at(static_cast<std::size_t>(middle * g.Size() + middle)),
              FakeDesktop::AsPixel(view.swatch));
  }
}

// The wheel steps the averaged area by whole notches, and a finer wheel's parts of a
// notch add up; only while sampling.
struct WheelCase {
  const char* name;
  bool sampling;
  std::vector<int> deltas;
  int side;
  bool control = false;
  int cells = 15;
};

void PrintTo(const WheelCase& c, std::ostream* os) { *os << c.name; }

class SamplingWheel : public FormFixture, public testing::WithParamInterface<WheelCase> {
 protected:
  void SetUp() override { Start(); }
};

TEST_P(SamplingWheel, StepsTheAreaByWholeNotches) {
  const WheelCase& c = GetParam();
  desktop.cursor = {100, 100};
  // Mean over an area around (100, 100) of a checkerboard differs with its size.
  desktop.desktop = [](ScreenPoint p) { return ((p.x + p.y) & 1) != 0 ? Pixel{0xFFFFFF} : Pixel{0}; };
  if (c.sampling) form.Picture1_MouseDown();
  for (const int delta : c.deltas) EXPECT_EQ(form.Picture1_MouseWheel(delta, c.control), c.sampling);
  EXPECT_EQ(form.AreaSide(), c.side);
  EXPECT_EQ(form.ZoomCells(), c.cells);
  if (c.side > 1) {
    // Shown at once: 1 + (side^2 - 1) / 2 black pixels around a black centre.
    const int n = c.side * c.side;
    const int white = (255 * (n - 1) / 2 * 2 + n) / (2 * n);
    EXPECT_EQ(view.swatch, ComposeColour(white, white, white));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Notches, SamplingWheel,
    testing::Values(WheelCase{"OneUp", true, {120}, 3}, WheelCase{"TwoHalves", true, {60, 60}, 3},
                    WheelCase{"HalfANotch", true, {60}, 1}, WheelCase{"DownAtOne", true, {-120}, 1},
                    WheelCase{"ThreeAtOnce", true, {360}, 7}, WheelCase{"PastTheTop", true, {1200, 120}, 15},
                    WheelCase{"UpThenDown", true, {240, -120}, 3}, WheelCase{"NotWhileIdle", false, {120}, 1},
                    WheelCase{"CtrlUpZoomsIn", true, {60, 60}, 1, true, 9},
                    WheelCase{"CtrlDownPastTheWidest", true, {-360}, 1, true, 45}),
    testing_support::CaseName<WheelCase>);

// The area is kept from one sampling to the next, and Escape leaves it as it is.
TEST_F(Sampling, AreaIsKeptAcrossSamplingsAndCancels) {
  form.Picture1_MouseDown();
  form.Picture1_MouseWheel(240);
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Escape, false, false));
  form.Picture1_MouseUp();
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  EXPECT_EQ(form.AreaSide(), 5);
}

// While sampling, a pointer move refreshes the readouts at once when the monitor has
// shown a new picture since the last move was followed, and otherwise as soon as it has;
// sampling begun from the keyboard gets no pointer moves and looks at the pointer itself.
struct FollowCase {
  const char* name;
  bool byKeyboard;
  unsigned hz;
  int afterUs;  // since the last move was followed
  bool atOnce;
};

void PrintTo(const FollowCase& c, std::ostream* os) { *os << c.name; }

class SamplingFollows : public FormFixture, public testing::WithParamInterface<FollowCase> {
 protected:
  void SetUp() override { Start(); }

  // The pointer moves to `to`, and the window hears of it as sampling lets it.
  void Move(ScreenPoint to) {
    desktop.cursor = to;
    if (GetParam().byKeyboard) {
      form.Follow_Timer();
    } else {
      form.Picture1_MouseMove(0, 0);
    }
  }
};

TEST_P(SamplingFollows, ThePointerOncePerFrameOfItsMonitor) {
  const FollowCase& c = GetParam();
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96, c.hz}};
  desktop.cursor = {100, 100};
  view.now = 1'000'000;
  if (c.byKeyboard) {
    ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));
  } else {
    form.Picture1_MouseDown();
  }
  EXPECT_EQ(view.followTimerEnabled, c.byKeyboard);
  Move({100, 101});
  ASSERT_EQ(view.texts[0], "100.101") << "the first move is followed at once";
  // A tick just after it has nothing newer to show.
  view.now += 1'000;
  const auto captures = desktop.captures.size();
  form.Timer1_Timer();
  EXPECT_EQ(desktop.captures.size(), captures);

  view.now += c.afterUs - 1'000;
  Move({101, 102});
  EXPECT_EQ(view.texts[0], c.atOnce ? "101.102" : "100.101");
  EXPECT_EQ(view.followTimerEnabled, c.byKeyboard || !c.atOnce) << "nothing left to catch up";

  // The frame over, the follow timer catches up with the pointer, then rests.
  view.now += 20'000;
  form.Follow_Timer();
  EXPECT_EQ(view.texts[0], "101.102");
  form.Follow_Timer();
  EXPECT_EQ(view.followTimerEnabled, c.byKeyboard);
}

INSTANTIATE_TEST_SUITE_P(Moves, SamplingFollows,
                         testing::Values(FollowCase{"AfterAFrameAt60Hz", false, 60, 16'700, true},
                                         FollowCase{"WithinAFrameAt60Hz", false, 60, 16'600, false},
                                         FollowCase{"WithinAFrameOfAnUnknownRate", false, 0, 16'600, false},
                                         FollowCase{"AfterAFrameOfAnUnknownRate", false, 0, 16'700, true},
                                         FollowCase{"AfterAFrameAt144Hz", false, 144, 7'000, true},
                                         FollowCase{"WithinAFrameAt144Hz", false, 144, 6'900, false},
                                         FollowCase{"KeyboardAfterAFrame", true, 60, 16'700, true},
                                         FollowCase{"KeyboardWithinAFrame", true, 60, 10'000, false}),
                         testing_support::CaseName<FollowCase>);

// A setting changed while sampling reads the HDR states and white levels again, and
// nothing more; outside sampling, sampling's start reads the displays anyway.
TEST_F(Sampling, SettingChangesReadTheDisplaySettingsOnlyWhileSampling) {
  form.Form_SettingChange();
  form.Picture1_MouseDown();
  form.Form_SettingChange();
  EXPECT_EQ(desktop.displaySettingsChanged, 1);
  EXPECT_EQ(desktop.displaysChanged, 0);
  form.Picture1_MouseUp();
  form.Form_SettingChange();
  EXPECT_EQ(desktop.displaySettingsChanged, 1);
}

// The tick reads a resting pointer again: the screen beneath it can change.
TEST_F(Sampling, TicksReadTheScreenUnderARestingPointer) {
  form.Picture1_MouseDown();
  Tick({50, 60}, 0x102030);
  form.Picture1_MouseMove(0, 0);  // no move: nothing to catch up
  EXPECT_FALSE(view.followTimerEnabled);
  desktop.Fill(0x405060);
  Tick();
  EXPECT_EQ(view.swatch, 0x405060);
}

// A busy GPU gives nothing this time: the loupe too stays as it was.
enum class ScreenFailure { CursorPos, Capture, GpuBusy };

void PrintTo(ScreenFailure failure, std::ostream* os) {
  constexpr std::array<const char*, 3> kNames{"CursorPos", "Capture", "GpuBusy"};
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
  const ScreenRect loupePlace = desktop.place;
  const std::vector<Pixel> loupePicture = desktop.picture;

  switch (GetParam()) {
    case ScreenFailure::CursorPos: desktop.cursorWorks = false; break;
    case ScreenFailure::Capture: desktop.captureWorks = false; break;
    case ScreenFailure::GpuBusy: desktop.gpuBusy = true; break;
  }
  Tick({30, 40}, 0xFFFFFF);

  EXPECT_EQ(Now(), good);
  EXPECT_EQ(view.swatchHistory.size(), 1u);
  EXPECT_TRUE(form.Sampling()) << "a failed read does not end sampling";
  if (GetParam() == ScreenFailure::GpuBusy) {
    EXPECT_EQ(desktop.place, loupePlace);
    EXPECT_EQ(desktop.picture, loupePicture);
  }

  desktop.cursorWorks = true;
  desktop.captureWorks = true;
  desktop.gpuBusy = false;
  Tick({30, 40}, 0xFFFFFF);
  EXPECT_EQ(view.texts[0], "30.40");
  EXPECT_EQ(view.texts[5], "#FFFFFF");
}

INSTANTIATE_TEST_SUITE_P(Points, SamplingFailures,
                         testing::Values(ScreenFailure::CursorPos, ScreenFailure::Capture, ScreenFailure::GpuBusy));

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

// ---- Picking from anywhere, and the colours taken ----

struct RecentCase {
  const char* name;
  std::vector<ColourValue> taken;
  std::vector<ColourValue> newest;
};

class RecentOrder : public testing::TestWithParam<RecentCase> {};

TEST_P(RecentOrder, NewestFirstOnceEachAtMostTwelve) {
  RecentColours recent;
  for (const ColourValue colour : GetParam().taken) recent.Take(colour);
  const auto newest = recent.Newest();
  EXPECT_EQ(std::vector<ColourValue>(newest.begin(), newest.end()), GetParam().newest);
}

INSTANTIATE_TEST_SUITE_P(Takes, RecentOrder,
                         testing::Values(RecentCase{"NewestFirst", {1, 2, 3}, {3, 2, 1}},
                                         RecentCase{"TakenAgainMovesUp", {1, 2, 3, 1}, {1, 3, 2}},
                                         RecentCase{"FirstTakenAgainStays", {1, 2, 2}, {2, 1}},
                                         RecentCase{"OldestGoesPastTwelve",
                                                    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                                                    {13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
                                         RecentCase{"OldestTakenAgainAtTwelve",
                                                    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1},
                                                    {1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}}),
                         testing_support::CaseName<RecentCase>);

// Which ends of sampling, dialogs and copies take a colour, and which colours on the way
// do not. Each road is a script of steps from start-up, the pointer over kFirst:
// p press on the swatch, u release, t a tick, n a tick over kLast, s Space, h the
// shortcut, l and r a left and a right click anywhere, f the focus lost, d the dialog
// confirming kLast, c the dialog cancelled, + a slider step, y a copy, x a copy refused,
// F the freeze key, H the shortcut with Shift (the screen turning to kLast as the window
// comes forward, as a hovered button does when the pointer's program loses the
// foreground), G the same refused the foreground, D the displays changed.
constexpr ColourValue kFirst = 0x112233;
constexpr ColourValue kLast = 0x445566;

struct TakeCase {
  const char* name;
  const char* steps;
  std::vector<ColourValue> taken;
  bool samplingAfter = false;
};

class Taking : public FormFixture, public testing::WithParamInterface<TakeCase> {
 protected:
  void SetUp() override { Start(); }

  void Run(char step) {
    switch (step) {
      case 'p': form.Picture1_MouseDown(); break;
      case 'u': form.Picture1_MouseUp(); break;
      case 't': Tick({40, 50}, kFirst); break;
      case 'n': Tick({40, 50}, kLast); break;
      case 's': EXPECT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false)); break;
      case 'g': view.foregroundRefused = true; [[fallthrough]];
      case 'h': form.Form_HotKey(); break;
      case 'l': form.Screen_Click(Form1::Button::Left); break;
      case 'r': form.Screen_Click(Form1::Button::Right); break;
      case 'f': form.Picture1_LostFocus(); break;
      case 'd': view.dialogue.answer = kLast; [[fallthrough]];
      case 'c': form.Image1_Click(); break;
      case '+': form.hScroll1_Action(0, SliderAction::LineUp); break;
      case 'x': view.clipboardHeld = true; [[fallthrough]];
      case 'y': form.Text1_GotFocus(5); break;
      case 'F': EXPECT_TRUE(form.Picture1_KeyDown(SwatchKey::Freeze, false, false)); break;
      case 'G': view.foregroundRefused = true; [[fallthrough]];
      case 'H':
        view.onComeForward = [this] { desktop.Fill(kLast); };
        form.Form_HotKey(true);
        view.onComeForward = nullptr;
        break;
      case 'D': form.Form_DisplayChange(); break;
      default: FAIL() << "no step " << step;
    }
  }
};

TEST_P(Taking, OnlyTheColourAnActionEndsOn) {
  desktop.cursor = {40, 50};
  desktop.Fill(kFirst);
  for (const char* step = GetParam().steps; *step != '\0'; ++step) Run(*step);
  const auto newest = form.Recent().Newest();
  EXPECT_EQ(std::vector<ColourValue>(newest.begin(), newest.end()), GetParam().taken);
  EXPECT_EQ(form.Sampling(), GetParam().samplingAfter);
  EXPECT_EQ(view.frozen, form.Frozen()) << "screen readers told otherwise";
  if (!form.Sampling()) {
    EXPECT_FALSE(form.Frozen()) << "a still kept after sampling";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Roads, Taking,
    testing::Values(TakeCase{"PressAndRelease", "ptnu", {kLast}}, TakeCase{"PressTooShortForATick", "pu", {}},
                    TakeCase{"SpaceAndSpace", "stns", {kLast}}, TakeCase{"LeftClick", "stnl", {kLast}},
                    TakeCase{"RightClickCancels", "stnr", {}}, TakeCase{"ClickWhileTheSwatchIsHeld", "ptnl", {}, true},
                    TakeCase{"FocusLost", "stnf", {kLast}}, TakeCase{"ShortcutTwice", "hh", {kFirst}},
                    TakeCase{"ShortcutRefusedTheForeground", "g", {}},
                    // A still holds what was there at F, wherever the screen goes; F again
                    // and the displays changing go back to the live screen.
                    TakeCase{"Frozen", "stFnl", {kFirst}}, TakeCase{"FrozenThenLive", "sFnFl", {kLast}},
                    TakeCase{"FrozenWhileTheSwatchIsHeld", "ptFnu", {kFirst}},
                    TakeCase{"FrozenUntilTheDisplaysChange", "sFDnl", {kLast}},
                    TakeCase{"ShiftShortcutTakesTheStillBeforeComingForward", "Htnh", {kFirst}},
                    TakeCase{"ShiftShortcutWhileSamplingFreezes", "hHnh", {kFirst}},
                    TakeCase{"ShiftShortcutRefusedTheForeground", "G", {}},
                    TakeCase{"ShortcutWhileTheSwatchIsHeld", "ptnh", {}, true},
                    TakeCase{"TwoColoursNewestFirst", "hhsnl", {kLast, kFirst}},
                    TakeCase{"DialogConfirmed", "d", {kLast}}, TakeCase{"DialogCancelled", "c", {}},
                    TakeCase{"SliderStepsThenACopy", "++y", {2}}, TakeCase{"CopyRefused", "+x", {}}),
    testing_support::CaseName<TakeCase>);

TEST_F(DialogPick, ChoosingARecentColourSetsItEverywhereWithoutCopyingOrTaking) {
  Pick(ComposeColour(10, 20, 30));
  Pick(0x0000FF);
  ASSERT_TRUE(form.Picture1_KeyDown(SwatchKey::Space, false, false));

  form.RecentColour_Click(1);

  EXPECT_FALSE(form.Sampling()) << "the choice ends sampling";
  EXPECT_EQ(view.texts[5], "#0A141E");
  ExpectSliders({-10, -20, -30});
  EXPECT_EQ(ValueLabels(), (Labels{"10", "20", "30"}));
  EXPECT_TRUE(view.clipboard.empty());
  EXPECT_EQ(form.Recent().Newest()[0], 0x0000FF);
  const Shown chosen = Now();
  form.RecentColour_Click(2);
  EXPECT_EQ(Now(), chosen) << "no such entry";
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
// program; a handler that caught one would carry on in a half-updated state. Sampling
// ends first, though: the report keeps messages flowing while it shows, and a tick or a
// pointer move must not raise a second report behind it.
enum class FaultIn { Tick, PointerMove, Arrow, Wheel };

void PrintTo(FaultIn where, std::ostream* os) {
  constexpr std::array<const char*, 4> kNames{"Tick", "PointerMove", "Arrow", "Wheel"};
  *os << kNames.at(static_cast<std::size_t>(where));
}

class Form1Errors : public FormFixture, public testing::WithParamInterface<FaultIn> {};

TEST_P(Form1Errors, ErrorWhileSamplingEndsSamplingAndLeavesTheHandler) {
  Start();
  form.Picture1_MouseDown();
  view.onSetText = [](int index, std::string_view) {
    if (index == 0) RaiseOverflow();
  };
  desktop.cursor = {1, 2};
  view.now += 100'000;
  try {
    switch (GetParam()) {
      case FaultIn::Tick: form.Timer1_Timer(); break;
      case FaultIn::PointerMove: form.Picture1_MouseMove(0, 0); break;
      case FaultIn::Arrow: form.Picture1_KeyDown(SwatchKey::Up, false, false); break;
      case FaultIn::Wheel: form.Picture1_MouseWheel(120); break;
    }
    ADD_FAILURE() << "the error did not reach the caller";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kErrOverflow);
    EXPECT_STREQ(error.what(), "Overflow");
  }
  EXPECT_EQ(view.texts[1], "0") << "nothing after the failing write ran";
  EXPECT_FALSE(form.Sampling());
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(view.followTimerEnabled);
  EXPECT_FALSE(view.clicksTaken);
  EXPECT_FALSE(desktop.visible) << "the loupe stays over the report";
}

INSTANTIATE_TEST_SUITE_P(Handlers, Form1Errors,
                         testing::Values(FaultIn::Tick, FaultIn::PointerMove, FaultIn::Arrow, FaultIn::Wheel));

}  // namespace
}  // namespace tintelo
