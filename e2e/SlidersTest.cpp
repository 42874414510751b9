// The R, G and B sliders driven as a user does: arrows, track, thumb and keyboard. From
// black, each composes the colour from the three positions and refreshes every readout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

constexpr int kTop = -255;  // the slider's minimum, full intensity
constexpr int kBottom = 0;

constexpr Colour kBlack{0, 0, 0, "0", "0x000000", "0,0,0,255", "0,0,0", "#000000"};

// One slider and the colours it makes on its own from black.
struct Channel {
  const char* name;
  int index;
  Colour one;     // a single step up
  Colour thirty;  // three page steps up
  Colour full;    // at the top
};

constexpr Channel kRed{"Red",
                       0,
                       {1, 0, 0, "1", "0x010000", "0,1,1,254", "1,0,0", "#010000"},
                       {30, 0, 0, "30", "0x1E0000", "0,30,30,225", "30,0,0", "#1E0000"},
                       {255, 0, 0, "255", "0xFF0000", "0,255,255,0", "255,0,0", "#FF0000"}};
constexpr Channel kGreen{"Green",
                         1,
                         {0, 1, 0, "256", "0x000100", "1,0,1,254", "0,1,0", "#000100"},
                         {0, 30, 0, "7680", "0x001E00", "30,0,30,225", "0,30,0", "#001E00"},
                         {0, 255, 0, "65280", "0x00FF00", "255,0,255,0", "0,255,0", "#00FF00"}};
constexpr Channel kBlue{"Blue",
                        2,
                        {0, 0, 1, "65536", "0x000001", "1,1,0,254", "0,0,1", "#000001"},
                        {0, 0, 30, "1966080", "0x00001E", "30,30,0,225", "0,0,30", "#00001E"},
                        {0, 0, 255, "16711680", "0x0000FF", "255,255,0,0", "0,0,255", "#0000FF"}};

void PrintTo(const Channel& channel, std::ostream* out) { *out << channel.name << " slider"; }

// The sliders never touch the position readout, which keeps its start-up "0.0".
Readouts Showing(const Colour& c) { return e2e::Showing(POINT{0, 0}, c); }

int Position(const Tintelo& app, int index) { return ScrollInfo(app.Control(ids::kHScroll1 + index)).nPos; }

// Where the parts of a vertical scroll bar are on the screen. Wine's GetScrollBarInfo
// reports nothing, so the parts are worked out the way the control lays them out.
class BarGeometry {
 public:
  explicit BarGeometry(HWND bar) {
    GetWindowRect(bar, &rect_);
    const int height = rect_.bottom - rect_.top;
    arrow_ = std::min(GetSystemMetrics(SM_CYVSCROLL), height / 2);
    thumb_ = GetSystemMetrics(SM_CYVTHUMB);
    trackTop_ = rect_.top + arrow_;
    track_ = height - 2 * arrow_;
  }

  [[nodiscard]] POINT UpArrow() const { return {X(), rect_.top + arrow_ / 2}; }
  [[nodiscard]] POINT DownArrow() const { return {X(), rect_.bottom - 1 - arrow_ / 2}; }
  [[nodiscard]] POINT ThumbCentre(int position) const { return {X(), ThumbTop(position) + thumb_ / 2}; }
  // Halfway between the up arrow and the thumb; empty when the thumb reaches the arrow.
  [[nodiscard]] POINT AboveThumb(int position) const { return {X(), (trackTop_ + ThumbTop(position)) / 2}; }
  [[nodiscard]] int GapAboveThumb(int position) const { return ThumbTop(position) - trackTop_; }
  [[nodiscard]] POINT TopEdge() const { return {X(), rect_.top}; }
  [[nodiscard]] POINT TrackTop() const { return {X(), trackTop_}; }

 private:
  [[nodiscard]] int X() const { return (rect_.left + rect_.right) / 2; }
  [[nodiscard]] int ThumbTop(int position) const {
    return trackTop_ + (position - kTop) * (track_ - thumb_) / (kBottom - kTop);
  }

  RECT rect_{};
  int arrow_ = 0;
  int thumb_ = 0;
  int trackTop_ = 0;
  int track_ = 0;
};

HWND FocusOf(const Tintelo& app) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &gui)) return nullptr;
  return gui.hwndFocus;
}

// The component of `channel` in an "R,G,B" readout, or -1 if it does not read as one.
int ComponentIn(const std::string& rgb, int channel) {
  int c[3] = {-1, -1, -1};
  if (std::sscanf(rgb.c_str(), "%d,%d,%d", &c[0], &c[1], &c[2]) != 3) return -1;
  return c[channel];
}

class OneSlider : public testing::TestWithParam<Channel> {
 protected:
  [[nodiscard]] HWND Bar() const { return app_.Control(ids::kHScroll1 + GetParam().index); }

  Tintelo app_;
};

TEST_P(OneSlider, ArrowsStepByOne) {
  ASSERT_NE(app_.Window(), nullptr);
  const BarGeometry bar(Bar());
  Click(bar.UpArrow());
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(GetParam().one)));

  Click(bar.DownArrow());
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(kBlack))) << "the labels read the plain 0 once a slider moved";
}

TEST_P(OneSlider, ClickInTheTrackAboveTheThumbStepsByTen) {
  ASSERT_NE(app_.Window(), nullptr);
  const BarGeometry bar(Bar());
  for (int step = 1; step <= 3; ++step) {
    SCOPED_TRACE(step);
    const int before = Position(app_, GetParam().index);
    ASSERT_GT(bar.GapAboveThumb(before), 2) << "no room above the thumb to click";
    Click(bar.AboveThumb(before));
    EXPECT_TRUE(WaitUntil([&] { return Position(app_, GetParam().index) == -10 * step; }));
    EXPECT_EQ(app_.Text(ids::kLabel2 + 3 + GetParam().index), std::to_string(10 * step));
  }
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(GetParam().thirty)));
}

// Page steps of 10 from the bottom end at -250, where the thumb already touches the up
// arrow; six single steps first leave one pixel of track above the thumb at -246, so the
// last click asks for -256 and must stop at the top.
TEST(RedSlider, RepeatedClicksInTheTrackStopAtTheTop) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  const BarGeometry bar(app.Control(ids::kHScroll1));
  ASSERT_GE(bar.GapAboveThumb(-246), 1) << "this bar leaves no track to click above the thumb at -246";
  for (int step = 1; step <= 6; ++step) {
    Click(bar.UpArrow());
    ASSERT_TRUE(WaitUntil([&] { return Position(app, 0) == -step; }));
  }
  for (int click = 1; click <= 25; ++click) {
    const int before = Position(app, 0);
    Click(bar.TrackTop());
    const int expected = std::max(before - 10, kTop);
    ASSERT_TRUE(WaitUntil([&] { return Position(app, 0) == expected; }))
        << "click " << click << " from " << before << " left " << Position(app, 0);
    if (expected == kTop) break;
  }
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kRed.full)));
}

TEST_P(OneSlider, DraggingTheThumbToTheTopFollowsAllTheWay) {
  ASSERT_NE(app_.Window(), nullptr);
  const int index = GetParam().index;
  const BarGeometry bar(Bar());
  MovePointer(bar.ThumbCentre(kBottom));
  HeldButton button(kLeftButton);
  ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app_) == Bar(); })) << "the thumb was not taken";

  // Halfway up, with the button still held, the colour already follows the thumb.
  MovePointer(bar.ThumbCentre(-128));
  int component = -1;
  EXPECT_TRUE(WaitUntil([&] {
    component = ComponentIn(app_.Text(ids::kText1 + 4), index);
    return component > 0 && component < 255;
  })) << app_.Text(ids::kText1 + 4);
  EXPECT_EQ(Position(app_, index), -component) << "the thumb and the readout disagree mid-drag";
  EXPECT_EQ(app_.Text(ids::kLabel2 + 3 + index), std::to_string(component));
  for (int other = 0; other < 3; ++other) {
    if (other != index) {
      EXPECT_EQ(ComponentIn(app_.Text(ids::kText1 + 4), other), 0) << other;
    }
  }

  // Past the end of the track the thumb stops at the top.
  MovePointer(bar.ThumbCentre(kTop));
  MovePointer(bar.TopEdge());
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(GetParam().full)));

  button.Release();
  ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app_) == nullptr; }));
  EXPECT_EQ(Snapshot(app_), Showing(GetParam().full)) << "letting go of the thumb moved it";
}

// Shift+Tab from the swatch walks the tab order backwards: blue, green, then red.
TEST_P(OneSlider, KeyboardStepsByOneAndPagesToTheTop) {
  ASSERT_NE(app_.Window(), nullptr);
  ASSERT_EQ(FocusOf(app_), app_.Control(ids::kPicture1));
  for (int i = 2; i >= GetParam().index; --i) PressKey(VK_TAB, true);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(app_) == Bar(); })) << "the slider never got the focus";

  PressKey(VK_UP);
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(GetParam().one)));
  PressKey(VK_DOWN);
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(kBlack)));

  // 26 page steps of 10 from the bottom: the last one stops at the top.
  for (int i = 0; i < 26; ++i) PressKey(VK_PRIOR);
  EXPECT_TRUE(ReadoutsSettleOn(app_, Showing(GetParam().full)));
}

INSTANTIATE_TEST_SUITE_P(Channels, OneSlider, testing::Values(kRed, kGreen, kBlue), testing_support::CaseName<Channel>);

}  // namespace
}  // namespace tintelo::e2e
