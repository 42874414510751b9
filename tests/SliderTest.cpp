#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colour/Slider.h"

namespace tintelo {
namespace {

// Records what the slider tells its host, with the position the host sees at that moment.
class RecordingHost final : public SliderHost {
 public:
  void ShowSliderPosition(int, std::int16_t position) override { shown.push_back(position); }
  void SliderChanged(int index) override { events.push_back("change" + std::to_string(index) + "@" + Position()); }
  void SliderScrolled(int index) override { events.push_back("scroll" + std::to_string(index) + "@" + Position()); }
  [[nodiscard]] std::string Position() const { return std::to_string(slider->Value()); }

  const Slider* slider = nullptr;
  std::vector<std::int16_t> shown;
  std::vector<std::string> events;
};

class SliderContract : public testing::Test {
 protected:
  SliderContract() { host.slider = &slider; }
  RecordingHost host;
  Slider slider{2, host};
};

// A new slider stands at the bottom end, 0: writing 0 moves nothing.
TEST_F(SliderContract, WriteOfTheCurrentPositionRaisesNothing) {
  ASSERT_EQ(slider.Value(), 0);
  slider.SetValue(0);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.shown.empty());
}

TEST_F(SliderContract, WriteThatMovesRaisesOneChangeWithThePositionInPlace) {
  slider.SetValue(-1);
  EXPECT_EQ(host.events, (std::vector<std::string>{"change2@-1"}));
  EXPECT_EQ(host.shown, (std::vector<std::int16_t>{-1}));
}

struct ActionCase {
  int start;
  SliderAction action;
  int thumb;
  int end;
  const char* event;  // nullptr: none
};

class SliderActions : public SliderContract, public testing::WithParamInterface<ActionCase> {};

TEST_P(SliderActions, MoveByTheirStepAndStayInRange) {
  const auto& c = GetParam();
  slider.SetValue(c.start);
  host.events.clear();
  slider.Apply(c.action, c.thumb);
  EXPECT_EQ(slider.Value(), c.end);
  if (c.event != nullptr) {
    EXPECT_EQ(host.events, (std::vector<std::string>{c.event}));
  } else {
    EXPECT_TRUE(host.events.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, SliderActions,
                         testing::Values(ActionCase{0, SliderAction::LineUp, 0, -1, "change2@-1"},
                                         ActionCase{-100, SliderAction::LineDown, 0, -99, "change2@-99"},
                                         ActionCase{-100, SliderAction::PageUp, 0, -110, "change2@-110"},
                                         ActionCase{-100, SliderAction::PageDown, 0, -90, "change2@-90"},
                                         ActionCase{-250, SliderAction::PageUp, 0, -255, "change2@-255"},
                                         ActionCase{-5, SliderAction::PageDown, 0, 0, "change2@0"},
                                         ActionCase{-255, SliderAction::LineUp, 0, -255, nullptr},
                                         ActionCase{0, SliderAction::LineDown, 0, 0, nullptr},
                                         ActionCase{-30, SliderAction::Top, 0, -255, "change2@-255"},
                                         ActionCase{-30, SliderAction::Bottom, 0, 0, "change2@0"},
                                         ActionCase{0, SliderAction::Track, -77, -77, "scroll2@-77"},
                                         ActionCase{-77, SliderAction::Track, -77, -77, "scroll2@-77"},
                                         ActionCase{0, SliderAction::Track, -9999, -255, "scroll2@-255"},
                                         ActionCase{-77, SliderAction::ThumbReleased, -77, -77, nullptr},
                                         ActionCase{0, SliderAction::ThumbReleased, -12, -12, "change2@-12"}));

class OutOfRangeWrites : public SliderContract, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(OutOfRangeWrites, ClampToTheNearerEnd) {
  slider.SetValue(-100);
  slider.SetValue(GetParam().first);
  EXPECT_EQ(slider.Value(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Values, OutOfRangeWrites,
                         testing::Values(std::pair{1, 0}, std::pair{32767, 0}, std::pair{-256, -255},
                                         std::pair{-32768, -255}, std::pair{-2147483647 - 1, -255},
                                         std::pair{2147483647, 0}));

TEST_F(SliderContract, DraggingTheThumbToTheTopScrollsThroughEveryPosition) {
  for (int p = -1; p >= -255; --p) slider.Apply(SliderAction::Track, p);
  ASSERT_EQ(host.events.size(), 255u);
  EXPECT_EQ(host.events.front(), "scroll2@-1");
  EXPECT_EQ(host.events.back(), "scroll2@-255");
  slider.Apply(SliderAction::ThumbReleased, -255);
  EXPECT_EQ(host.events.size(), 255u) << "the release at the tracked position raises nothing more";
}

}  // namespace
}  // namespace tintelo
