// Sampling the screen under the pointer: each refresh reads the pointer, copies the
// screen around it once, shows that copy in the loupe and averages the readouts' area of
// it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colour/Colour.h"
#include "sampler/Capture.h"
#include "sampler/Loupe.h"
#include "sampler/Monitors.h"
#include "sampler/Screen.h"

namespace tintelo {

struct Sample {
  ScreenPoint point;  // the pointer's
  ColourValue colour = 0;
};

// What one refresh gave.
struct Reading {
  std::optional<Sample> sample;
  // The screen gave nothing this time but may at the next refresh (a busy GPU): the loupe
  // was left as it was, and so should the readouts be.
  bool unchanged = false;
};

class ScreenSampler {
 public:
  // Refreshes of a monitor whose rate the system does not give: 60 a second.
  static constexpr unsigned kDefaultHz = 60;

  ScreenSampler(Screen& screen, LoupeView& loupe) noexcept : screen_(&screen), loupeView_(&loupe) {}

  // Sampling begins, before any refresh: learn the monitors; the loupe is made the first time.
  void Begin();
  // Sampling ends: the loupe goes, and the screen lets go of what its copies held.
  void End();
  // From Begin to End: the one place that says whether sampling runs, which the window
  // asks and the screen is told of (Screen::EndCaptures).
  [[nodiscard]] bool Sampling() const noexcept { return sampling_; }
  // The displays changed: while sampling, the monitors are read again at once and the
  // next refresh uses them; otherwise the next sampling reads them as it begins.
  void DisplaysChanged();
  // A setting changed that may be the displays' HDR states or SDR white levels: while
  // sampling, the screen reads them again; otherwise the next sampling does as it begins.
  void DisplaySettingsChanged();

  // The pointer's actual position; nothing when it cannot be read.
  [[nodiscard]] std::optional<ScreenPoint> Pointer();
  // One refresh at the pointer's position: one capture around it, the loupe shown from
  // it, and the reading, the pointer's position with the mean of the averaged area.
  // Nothing to read when the capture fails, the pointer is on no monitor, or the area is
  // all off the monitors or holds any of the loupe: the caller then keeps its last good
  // sample rather than showing a failure as a colour. A capture that gives nothing this
  // time leaves the loupe alone and says so.
  [[nodiscard]] Reading Refresh(ScreenPoint pointer);
  // Moves the pointer by (dx, dy) physical pixels, never off the monitors; false when its
  // position cannot be read.
  bool Step(int dx, int dy);

  // The averaged area, kept for the program's run and written nowhere.
  [[nodiscard]] SampleArea& Area() noexcept { return area_; }
  [[nodiscard]] const SampleArea& Area() const noexcept { return area_; }
  // How long a refresh of the monitor under `pointer` lasts, in microseconds.
  [[nodiscard]] std::int64_t FrameMicroseconds(ScreenPoint pointer) const noexcept;

 private:
  Screen* screen_;
  LoupeView* loupeView_;
  std::unique_ptr<Loupe> loupe_;  // made on the first sampling
  std::vector<Monitor> monitors_;
  bool sampling_ = false;
  SampleArea area_;
  Capture capture_;
};

// "x.y" in decimal, e.g. "1024.768" or "-1280.300".
[[nodiscard]] std::string PositionText(ScreenPoint point);

}  // namespace tintelo
