#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "colour/Analysis.h"
#include "tests/FakeColourView.h"

namespace tintelo {
namespace {

using testing_support::FakeColourView;

struct ReadoutCase {
  ColourValue colour;
  std::array<const char*, 5> texts;  // Text1(1)..Text1(5)
  std::array<std::int16_t, 3> sliders;
};

class Readouts : public testing::TestWithParam<ReadoutCase> {};

TEST_P(Readouts, ShowEveryNotationAndTheNegatedComponents) {
  FakeColourView view;
  view.swatch = GetParam().colour;
  fnAnalyseCouleurs(view);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(view.readouts[static_cast<std::size_t>(i + 1)], GetParam().texts[static_cast<std::size_t>(i)])
        << "Text1(" << i + 1 << ")";
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(view.SliderPosition(i), GetParam().sliders[static_cast<std::size_t>(i)]) << "hScroll1(" << i << ")";
  EXPECT_EQ(view.swatch, GetParam().colour) << "the refresh never changes the swatch";
  EXPECT_EQ(view.readouts[0], "") << "the position field belongs to the sampler";
}

INSTANTIATE_TEST_SUITE_P(
    Colours, Readouts,
    testing::Values(
        ReadoutCase{0, {"0", "0x000000", "0,0,0,255", "0,0,0", "#000000"}, {0, 0, 0}},
        ReadoutCase{16777215, {"16777215", "0xFFFFFF", "0,0,0,0", "255,255,255", "#FFFFFF"}, {-255, -255, -255}},
        ReadoutCase{3368601, {"3368601", "0x996633", "0,51,102,102", "153,102,51", "#996633"}, {-153, -102, -51}},
        // The hexadecimal field lists red first: it is not the decimal value in base 16.
        ReadoutCase{16711680, {"16711680", "0x0000FF", "255,255,0,0", "0,0,255", "#0000FF"}, {0, 0, -255}},
        ReadoutCase{
            ComposeColour(10, 11, 12), {"789258", "0x0A0B0C", "2,1,0,243", "10,11,12", "#0A0B0C"}, {-10, -11, -12}},
        // A value with the top bit set shows as negative and follows the same arithmetic.
        ReadoutCase{-1, {"-1", "0xFF0000", "0,255,255,0", "255,0,0", "#FF0000"}, {-255, 0, 0}}));

TEST(Refresh, WritesTheFieldsInOrderThenTheSlidersOneAfterAnother) {
  FakeColourView view;
  view.swatch = ComposeColour(1, 2, 3);
  fnAnalyseCouleurs(view);
  const std::vector<std::string> expected{"Text1(1)",  "Text1(2)",       "Text1(3)",  "Text1(4)",
                                          "Text1(5)",  "hScroll1(0)=-1", "change(0)", "hScroll1(1)=-2",
                                          "change(1)", "hScroll1(2)=-3", "change(2)"};
  EXPECT_EQ(view.log, expected);
}

TEST(Refresh, SecondIdenticalRefreshChangesNothingAndRaisesNoEvent) {
  FakeColourView view;
  view.slidersLive = true;
  view.swatch = 3368601;
  fnAnalyseCouleurs(view);
  const auto readouts = view.readouts;
  const auto labels = view.labels;
  const int events = view.changeEvents;
  view.log.clear();
  fnAnalyseCouleurs(view);
  EXPECT_EQ(view.readouts, readouts);
  EXPECT_EQ(view.labels, labels);
  EXPECT_EQ(view.changeEvents, events);
  EXPECT_EQ(view.log.size(), 8u) << "five fields and three slider writes, no change event";
}

TEST(Refresh, UnchangedPositionsLeaveTheValueLabelsAlone) {
  FakeColourView view;  // black at start: every slider already stands at 0
  fnAnalyseCouleurs(view);
  EXPECT_EQ(view.changeEvents, 0);
  EXPECT_EQ(view.labels, (std::array<std::string, 3>{"000", "000", "000"}));
}

TEST(Refresh, DisarmedSlidersOnlyRelabel) {
  FakeColourView view;
  view.swatch = ComposeColour(7, 128, 0);
  fnAnalyseCouleurs(view);
  EXPECT_EQ(view.labels, (std::array<std::string, 3>{"7", "128", "0"}));
  EXPECT_TRUE(view.swatchHistory.empty());
  EXPECT_EQ(view.swatch, ComposeColour(7, 128, 0));
}

// Armed sliders feed every intermediate position back into the colour before the last
// write restores the chosen colour exactly.
TEST(Refresh, ArmedSlidersReenterAndSettleOnTheChosenColour) {
  FakeColourView view;
  view.slidersLive = true;
  view.swatch = ComposeColour(10, 20, 30);
  fnAnalyseCouleurs(view);
  EXPECT_EQ(view.swatch, 1971210);
  EXPECT_EQ(view.swatchHistory, (std::vector<ColourValue>{10, ComposeColour(10, 20, 0), 1971210}));
  EXPECT_EQ(view.SliderPosition(0), -10);
  EXPECT_EQ(view.SliderPosition(1), -20);
  EXPECT_EQ(view.SliderPosition(2), -30);
  EXPECT_EQ(view.readouts[4], "10,20,30");
  EXPECT_EQ(view.readouts[5], "#0A141E");
  EXPECT_EQ(view.labels, (std::array<std::string, 3>{"10", "20", "30"}));
}

TEST(SliderUpdate, ComposesTheColourFromTheThreePositionsWhenArmed) {
  FakeColourView view;
  view.slidersLive = true;
  view.slider(0).Apply(SliderAction::Top);
  EXPECT_EQ(view.swatch, 255);
  EXPECT_EQ(view.labels, (std::array<std::string, 3>{"255", "0", "0"}));
  EXPECT_EQ(view.readouts[5], "#FF0000");
}

TEST(SliderUpdate, DisarmedMovesRewriteAllLabelsButNotTheColour) {
  FakeColourView view;
  view.swatch = 3368601;
  view.slider(1).SetValue(-40);
  EXPECT_EQ(view.labels, (std::array<std::string, 3>{"0", "40", "0"}));
  EXPECT_EQ(view.swatch, 3368601);
  EXPECT_TRUE(view.swatchHistory.empty());
}

}  // namespace
}  // namespace tintelo
