#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "sampler/DisplaySettings.h"
#include "sampler/KeptImage.h"
#include "sampler/RoadTries.h"
#include "sampler/ScreenSampler.h"
#include "tests/CaseName.h"
#include "tests/FakeFormView.h"

namespace tintelo {
namespace {

using testing_support::FakeDesktop;
using Copies = FakeDesktop::Copies;

// ---- The averaged area ----

// The area grows and shrinks by one size a step, from 1 to 15 pixels across, and stops at
// either end.
struct AreaCase {
  const char* name;
  std::vector<int> steps;
  std::vector<bool> changed;
  int side;
};

void PrintTo(const AreaCase& c, std::ostream* os) { *os << c.name; }

class AreaSteps : public testing::TestWithParam<AreaCase> {};

TEST_P(AreaSteps, GoThroughTheOddSizesAndStopAtEitherEnd) {
  SampleArea area;
  ASSERT_EQ(area.Side(), 1) << "the area starts at one pixel";
  std::vector<bool> changed;
  for (const int step : GetParam().steps) changed.push_back(area.Step(step));
  EXPECT_EQ(changed, GetParam().changed);
  EXPECT_EQ(area.Side(), GetParam().side);
  EXPECT_EQ(area.Reach(), GetParam().side / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AreaSteps,
    testing::Values(AreaCase{"OneUp", {1}, {true}, 3}, AreaCase{"NothingBelowOne", {-1}, {false}, 1},
                    AreaCase{"UpAndDown", {1, 1, -1}, {true, true, true}, 3},
                    AreaCase{"ToTheTop", {1, 1, 1, 1, 1, 1, 1}, {true, true, true, true, true, true, true}, 15},
                    AreaCase{"NothingAboveFifteen", {7, 1}, {true, false}, 15},
                    AreaCase{"SeveralNotchesAtOnceStopAtTheEnd", {20, -3}, {true, true}, 9}),
    testing_support::CaseName<AreaCase>);

// ---- The loupe's zoom ----

// A script of i (zoom in), o (zoom out), + and - (the area one size up and down), from
// start-up: 15 pixels across, an area of 1.
struct ZoomCase {
  const char* name;
  const char* steps;
  int cells;
  int side;
};

void PrintTo(const ZoomCase& c, std::ostream* os) { *os << c.name; }

class ZoomSteps : public testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomSteps, GoThroughTheLevelsAndAlwaysShowTheAreaWhole) {
  FakeDesktop desktop;
  ScreenSampler sampler(desktop, desktop);
  for (const char* step = GetParam().steps; *step != '\0'; ++step) {
    switch (*step) {
      case 'i': sampler.StepZoom(1); break;
      case 'o': sampler.StepZoom(-1); break;
      default: sampler.StepArea(*step == '+' ? 1 : -1); break;
    }
    ASSERT_GE(sampler.ZoomCells(), sampler.Area().Side()) << "after step " << step - GetParam().steps;
  }
  EXPECT_EQ(sampler.ZoomCells(), GetParam().cells);
  EXPECT_EQ(sampler.Area().Side(), GetParam().side);
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomSteps,
                         testing::Values(ZoomCase{"InToTheEnd", "iiii", 5, 1}, ZoomCase{"OutToTheEnd", "ooo", 45, 1},
                                         ZoomCase{"InStopsAtTheArea", "+++iii", 9, 7},
                                         ZoomCase{"AreaPastTheLevelZoomsOutJustEnough", "ii++++", 9, 9},
                                         ZoomCase{"AndAgain", "ii+++++", 15, 11},
                                         ZoomCase{"ASmallerAreaKeepsTheLevel", "ii+++---", 9, 1}),
                         testing_support::CaseName<ZoomCase>);

// The readouts' mean against one worked out here, for every size, on several screens:
// rounding half up, and pixels on no monitor left out; from the live screen, and from a
// still of it taken before the screen turned white.
struct MeanCase {
  const char* name;
  ScreenPoint pointer;
  Pixel (*screen)(ScreenPoint);
};

void PrintTo(const MeanCase& c, std::ostream* os) { *os << c.name; }

Pixel Checkerboard(ScreenPoint p) { return ((p.x + p.y) & 1) != 0 ? 0xFFFFFF : 0x000000; }
// One level apart, so that a mean of an even count lands exactly on a half.
Pixel Stripes(ScreenPoint p) { return (p.x & 1) != 0 ? 0x010101 : 0x000000; }
Pixel Noise(ScreenPoint p) {
  auto h = static_cast<std::uint32_t>(p.x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(p.y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h & 0xFFFFFF;
}

class SampleMean : public testing::TestWithParam<std::tuple<MeanCase, bool>> {};

TEST_P(SampleMean, IsEachChannelsMeanRoundedHalfUpOverThePixelsOnAMonitor) {
  const auto& [c, frozen] = GetParam();
  FakeDesktop desktop;
  // The primary monitor and a shorter one on its left at another scale: below it lies
  // ground on no monitor.
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-800, 0, 0, 600}, 144}};
  desktop.desktop = c.screen;
  desktop.copies = Copies::kTrueScreen;
  const FakeDesktop before = desktop;
  ScreenSampler sampler(desktop, desktop);
  sampler.Begin();
  if (frozen) {
    sampler.Freeze({});
    desktop.Fill(0xFFFFFF);
    EXPECT_EQ(sampler.StillBytes(), (1920u * 1080 + 800 * 600) * 4) << "4 bytes a pixel of the monitors";
  }
  for (int side = 1; side <= 15; side += 2) {
    const auto sample = sampler.Refresh(c.pointer).sample;

    ASSERT_TRUE(sample.has_value()) << side << " pixels across";
    EXPECT_EQ(sample->colour, before.MeanAround(c.pointer, side)) << side << " pixels across";
    EXPECT_EQ(sample->point, c.pointer);
    sampler.Area().Step(1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SampleMean,
    testing::Combine(testing::Values(MeanCase{"Checkerboard", {500, 400}, Checkerboard},
                                     MeanCase{"Noise", {-300, 200}, Noise},
                                     // At the primary monitor's top left corner, a quarter or so of each
                                     // area is on a monitor: an even count of stripes, halves that round up.
                                     MeanCase{"StripesAtTheTopLeftCorner", {0, 0}, Stripes},
                                     // Beside the ground below the left monitor.
                                     MeanCase{"NoiseBesideGroundOnNoMonitor", {-1, 599}, Noise}),
                     testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<MeanCase, bool>>& param) {
      return std::string(std::get<0>(param.param).name) + (std::get<1>(param.param) ? "Frozen" : "Live");
    });

// ---- No reading ----

enum class Failure { Cursor, Capture, PointerOnNoMonitor };

void PrintTo(Failure f, std::ostream* os) {
  *os << (f == Failure::Cursor ? "Cursor" : f == Failure::Capture ? "Capture" : "PointerOnNoMonitor");
}

class SamplerFailures : public testing::TestWithParam<Failure> {};

TEST_P(SamplerFailures, GiveNoReadingButStillShowTheLoupeHatched) {
  FakeDesktop desktop;
  desktop.monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-800, 0, 0, 600}, 96}};
  desktop.cursor = {100, 100};
  switch (GetParam()) {
    case Failure::Cursor: desktop.cursorWorks = false; break;
    case Failure::Capture: desktop.captureWorks = false; break;
    // Even with every size reaching onto the monitors.
    case Failure::PointerOnNoMonitor: desktop.cursor = {-5, 602}; break;
  }
  ScreenSampler sampler(desktop, desktop);
  sampler.Begin();
  sampler.Area().Step(7);
  const auto pointer = sampler.Pointer();
  ASSERT_EQ(pointer.has_value(), GetParam() != Failure::Cursor);
  if (!pointer) return;
  EXPECT_FALSE(sampler.Refresh(*pointer).sample.has_value());
  EXPECT_TRUE(desktop.visible);
}

INSTANTIATE_TEST_SUITE_P(Ways, SamplerFailures,
                         testing::Values(Failure::Cursor, Failure::Capture, Failure::PointerOnNoMonitor));

// ---- What a still leaves unread ----

// A still taken with the loupe shown at (400, 300), then a refresh elsewhere after the
// screen has turned white: it reads the still, except where the still holds one of our
// windows or the loupe's picture, or a monitor it could not copy.
struct StillCase {
  const char* name;
  Copies copies;
  ScreenPoint at;
  bool reads;
  std::vector<ScreenRect> own = {};
  bool copied = true;
  LoupeInCopies inCopies = LoupeInCopies::kPicture;
  bool composed = false;
};

void PrintTo(const StillCase& c, std::ostream* os) { *os << c.name; }

class StillReads : public testing::TestWithParam<StillCase> {};

TEST_P(StillReads, OnlyWhatTheScreenShowedBeneathUs) {
  const StillCase& c = GetParam();
  FakeDesktop desktop;
  desktop.copies = c.copies;
  desktop.inCopies = c.inCopies;
  desktop.composed = c.composed;
  desktop.desktop = Noise;
  ScreenSampler sampler(desktop, desktop);
  sampler.Begin();
  ASSERT_TRUE(sampler.Refresh(ScreenPoint{400, 300}).sample.has_value());
  desktop.captureWorks = c.copied;
  sampler.Freeze(c.own);
  desktop.captureWorks = true;
  desktop.Fill(0xFFFFFF);

  const auto sample = sampler.Refresh(c.at).sample;
  ASSERT_EQ(sample.has_value(), c.reads);
  if (sample) {
    EXPECT_EQ(sample->colour, FakeDesktop::AsColour(Noise(c.at)));
  }
  EXPECT_TRUE(desktop.visible) << "the loupe, hatched where it cannot read";
  EXPECT_EQ(desktop.picture.front(), kFrozenBorder) << "the loupe does not say it is frozen";
  sampler.Thaw();
  EXPECT_EQ(sampler.StillBytes(), 0u);
  desktop.Repaint();
  const auto live = sampler.Refresh(c.at).sample;
  ASSERT_TRUE(live.has_value());
  EXPECT_EQ(live->colour, FakeDesktop::AsColour(0xFFFFFF)) << "the live screen again";
  EXPECT_NE(desktop.picture.front(), kFrozenBorder);
}

INSTANTIATE_TEST_SUITE_P(
    Places, StillReads,
    testing::Values(StillCase{"TheScreen", Copies::kTrueScreen, {200, 200}, true},
                    StillCase{"OurWindow", Copies::kTrueScreen, {200, 200}, false, {{150, 190, 300, 210}}},
                    StillCase{"AMonitorNotCopied", Copies::kTrueScreen, {200, 200}, false, {}, false},
                    // On a composed desktop, hidden first, the loupe leaves the screen beneath
                    // in the still ...
                    StillCase{"WhereTheLoupeWasComposed", Copies::kLoupe, {465, 365}, true, {}, true,
                              LoupeInCopies::kPicture, true},
                    // ... elsewhere it stays, and so do the pictures it left.
                    StillCase{"WhereTheLoupeStands", Copies::kLoupe, {465, 365}, false},
                    StillCase{"ThePictureItLeft", Copies::kLoupeUntilRepaint, {465, 365}, false},
                    // Left out of every copy, it stays where it is.
                    StillCase{"LeftOutOfCopies", Copies::kTrueScreen, {465, 365}, true, {}, true,
                              LoupeInCopies::kLeftOut}),
    testing_support::CaseName<StillCase>);

// ---- Displays that change ----

// A monitor unplugged while sampling: the next refresh knows it is gone. Outside sampling
// the screen hears of the change, and the monitors are read when sampling begins.
TEST(DisplaysChanged, AreReadAgainAtOnceOnlyWhileSampling) {
  FakeDesktop desktop;
  ScreenSampler sampler(desktop, desktop);
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 0);
  EXPECT_EQ(desktop.displaysChanged, 1);
  sampler.Begin();
  const ScreenPoint onTheLeft{-100, 100};
  ASSERT_TRUE(sampler.Refresh(onTheLeft).sample.has_value());
  desktop.monitors.pop_back();
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 2);
  EXPECT_EQ(desktop.displaysChanged, 2);
  EXPECT_FALSE(sampler.Refresh(onTheLeft).sample.has_value()) << "read a monitor that is gone";
  sampler.End();
  sampler.DisplaysChanged();
  EXPECT_EQ(desktop.monitorsRead, 2);
}

// ---- Trying the second road again ----

// Lost is made again at once; refused waits for a change: the session's own desktop back
// when it was refused away from it (asked only then), a display change otherwise (which
// starts a new RoadTries).
TEST(RoadTries, TryAgainOnlyWhenSomethingChanged) {
  int asked = 0;
  bool own = true;
  const auto onOwnDesktop = [&] {
    ++asked;
    return own;
  };
  RoadTries tries;
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(true, true);
  EXPECT_TRUE(tries.Working());
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  tries.Lost();
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(false, false);  // refused on the secure desktop
  own = false;
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  own = true;
  EXPECT_TRUE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(false, true);  // refused on its own desktop: not before a display change
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  tries.Tried(true, true);
  tries.Failed();
  EXPECT_FALSE(tries.ShouldTry(onOwnDesktop));
  EXPECT_EQ(asked, 2);
}

// ---- The kept desktop image ----

// A monitor on the left of the primary one, its duplication scripted frame by frame. Each
// new desktop image is a new generation of the same picture; an area copied from the kept
// image gives that image's pixels at each point of the frame.
constexpr FrameMode kLeftMonitor{ScreenRect{-1920, 0, 0, 1080}, 0};
constexpr Pixel kGdi = 0xFEFEFE;  // GDI's too-bright copy, which nothing here may replace

Pixel ImagePixel(int generation, std::int32_t x, std::int32_t y) {
  return static_cast<Pixel>((generation << 20) | ((x & 0x3FF) << 10) | (y & 0x3FF));
}

class FakeDuplication final : public MonitorDuplication {
 public:
  std::optional<FrameMode> Make() override { return makes; }
  bool OnOwnDesktop() override { return true; }
  Frame Next() override {
    if (frames.empty()) return Frame::kSameImage;
    const Frame frame = frames.front();
    frames.pop_front();
    if (frame == Frame::kNewImage) kept = ++generation;
    return frame;
  }
  FrameMode ShownMode() override { return shown; }
  Copy CopyKept(const ScreenRect& area, unsigned sdrWhiteLevel, std::span<Pixel> pixels, std::size_t stride) override {
    white = sdrWhiteLevel;
    if (busy) return Copy::kBusy;
    if (copy) return *copy;
    if (!kept) return Copy::kRefused;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      for (std::int32_t x = area.left; x < area.right; ++x) {
        pixels[static_cast<std::size_t>(y - area.top) * stride + static_cast<std::size_t>(x - area.left)] =
            ImagePixel(*kept, x, y);
      }
    }
    return Copy::kDone;
  }
  void LetGo() noexcept override {}
  void ForgetImage() noexcept override { kept.reset(); }

  // Script.
  std::optional<FrameMode> makes = kLeftMonitor;
  std::deque<Frame> frames;
  FrameMode shown = kLeftMonitor;
  bool busy = false;
  std::optional<Copy> copy;
  // Record.
  unsigned white = 0;
  int generation = 0;
  std::optional<int> kept;  // the generation kept
};

// A read after the first one, which kept generation 1 and read it at the first place: a
// pointer moved, a frame with nothing new, a GPU busy, a duplication lost; then a third
// read somewhere else, with the GPU free and no new frame, by a duplication made again if
// the second lost it.
struct KeptCase {
  const char* name;
  MonitorDuplication::Frame second;
  bool busy;         // at the second read
  FrameMode shown;   // the monitor's mode from the second read on
  FrameMode remade;  // the mode of a duplication made after a loss
  AreaRead secondRead;
  AreaRead thirdRead;
  int thirdGeneration;  // the image the third read gives, when it reads
};

void PrintTo(const KeptCase& c, std::ostream* os) { *os << c.name; }

class KeptImage : public testing::TestWithParam<KeptCase> {
 protected:
  // Reads the capture's area around `pointer`, in a buffer holding GDI's copy, and checks
  // the pixels: the kept image's `generation` where it reads, GDI's otherwise.
  void ReadAt(ScreenPoint pointer, AreaRead expected, int generation) {
    const ScreenRect area = CaptureArea(pointer);
    std::vector<Pixel> pixels(Capture::kPixels, kGdi);
    const AreaRead read = reads_.Read(duplication_, area, 2000, pixels, Capture::kSide);
    EXPECT_EQ(read, expected);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const std::int32_t x = area.left + static_cast<std::int32_t>(i % Capture::kSide);
      const std::int32_t y = area.top + static_cast<std::int32_t>(i / Capture::kSide);
      const Pixel wanted = read == AreaRead::kRead ? ImagePixel(generation, x + 1920, y) : kGdi;
      if (pixels[i] != wanted) {
        ADD_FAILURE() << "pixel " << i << " at (" << x << ", " << y << "): " << std::hex << pixels[i] << " for "
                      << wanted;
        break;
      }
    }
  }

  FakeDuplication duplication_;
  KeptImageReads reads_;
};

TEST_P(KeptImage, ServesEveryAreaFromTheLatestDesktopImage) {
  const KeptCase& c = GetParam();
  duplication_.frames = {MonitorDuplication::Frame::kNewImage};
  ReadAt({-1000, 500}, AreaRead::kRead, 1);
  EXPECT_EQ(duplication_.white, 2000u);

  duplication_.frames = {c.second};
  duplication_.busy = c.busy;
  duplication_.shown = c.shown;
  duplication_.makes = c.remade;
  ReadAt({-1200, 300}, c.secondRead, c.second == MonitorDuplication::Frame::kNewImage ? 2 : 1);

  duplication_.busy = false;
  ReadAt({-30, 1050}, c.thirdRead, c.thirdGeneration);
}

// A device removed or reset is a loss, not a refusal: the next read makes the duplication
// again, on a new device, and reads its new image.
TEST_F(KeptImage, ADeviceGoneIsMadeAgainAtTheNextRead) {
  duplication_.frames = {MonitorDuplication::Frame::kNewImage};
  ReadAt({-1000, 500}, AreaRead::kRead, 1);
  duplication_.copy = MonitorDuplication::Copy::kLost;
  ReadAt({-1000, 500}, AreaRead::kFallBack, 0);
  duplication_.copy.reset();
  duplication_.frames = {MonitorDuplication::Frame::kNewImage};
  ReadAt({-1000, 500}, AreaRead::kRead, 2);
}

const FrameMode kTurned{ScreenRect{-1080, 0, 0, 1920}, 1};
const FrameMode kSmaller{ScreenRect{-1280, 0, 0, 720}, 0};

INSTANTIATE_TEST_SUITE_P(Reads, KeptImage,
                         testing::Values(KeptCase{"NoNewFrameAfterAMove", MonitorDuplication::Frame::kSameImage, false,
                                                  kLeftMonitor, kLeftMonitor, AreaRead::kRead, AreaRead::kRead, 1},
                                         KeptCase{"BusyGpu", MonitorDuplication::Frame::kSameImage, true, kLeftMonitor,
                                                  kLeftMonitor, AreaRead::kUnchanged, AreaRead::kRead, 1},
                                         KeptCase{"BusyGpuWithANewImage", MonitorDuplication::Frame::kNewImage, true,
                                                  kLeftMonitor, kLeftMonitor, AreaRead::kUnchanged, AreaRead::kRead, 2},
                                         KeptCase{"AccessLostInTheSameMode", MonitorDuplication::Frame::kLost, false,
                                                  kLeftMonitor, kLeftMonitor, AreaRead::kRead, AreaRead::kRead, 1},
                                         // A duplication made again has no image until its first frame.
                                         KeptCase{"AccessLostTurned", MonitorDuplication::Frame::kLost, false, kTurned,
                                                  kTurned, AreaRead::kFallBack, AreaRead::kNotYet, 0},
                                         KeptCase{"AccessLostThenFramesOfAnotherSize", MonitorDuplication::Frame::kLost,
                                                  false, kLeftMonitor, kSmaller, AreaRead::kRead, AreaRead::kNotYet,
                                                  0}),
                         testing_support::CaseName<KeptCase>);

// ---- Setting changes ----

struct SettingCase {
  const char* name;
  std::vector<DisplayState> now;
  bool every;
  std::vector<std::wstring_view> which;
};

void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.name; }

class SettingChange : public testing::TestWithParam<SettingCase> {};

const ScreenRect kPrimary{0, 0, 3840, 2160};
const ScreenRect kLeft{-1920, 0, 0, 1080};

TEST_P(SettingChange, RestartsOnlyMonitorsWhoseHdrStateChanged) {
  const std::vector<DisplayState> before{{L"DISPLAY1", kPrimary, true}, {L"DISPLAY2", kLeft, false}};
  const std::vector<DisplayState>& now = GetParam().now;
  const Restarts restarts =
      RestartsAfterSettingChange<DisplayState>(before, now, [](const DisplayState& display) { return display; });
  EXPECT_EQ(restarts.every, GetParam().every);
  std::vector<std::wstring_view> which;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if ((restarts.which >> i & 1U) != 0) which.push_back(now[i].device);
  }
  EXPECT_EQ(which, GetParam().which);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SettingChange,
    testing::Values(
        // A white level, or any other setting: nothing starts afresh.
        SettingCase{"NothingOfTheDisplays", {{L"DISPLAY2", kLeft, false}, {L"DISPLAY1", kPrimary, true}}, false, {}},
        SettingCase{
            "HdrSwitchedOff", {{L"DISPLAY1", kPrimary, false}, {L"DISPLAY2", kLeft, false}}, false, {L"DISPLAY1"}},
        SettingCase{"HdrSwitchedOn", {{L"DISPLAY1", kPrimary, true}, {L"DISPLAY2", kLeft, true}}, false, {L"DISPLAY2"}},
        SettingCase{"AMonitorMore",
                    {{L"DISPLAY1", kPrimary, true},
                     {L"DISPLAY2", kLeft, false},
                     {L"DISPLAY3", ScreenRect{3840, 0, 5760, 1080}, false}},
                    true,
                    {}},
        SettingCase{"AnotherMonitor", {{L"DISPLAY1", kPrimary, true}, {L"DISPLAY3", kLeft, false}}, true, {}},
        SettingCase{"AMonitorMoved",
                    {{L"DISPLAY1", kPrimary, false}, {L"DISPLAY2", ScreenRect{3840, 0, 5760, 1080}, false}},
                    true,
                    {}}),
    testing_support::CaseName<SettingCase>);

}  // namespace
}  // namespace tintelo
