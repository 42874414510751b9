// Sampling the screen under the pointer: each refresh reads the pointer, copies the
// screen around it once, shows that copy in the loupe and averages the readouts' area of
// it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "colour/Colour.h"
#include "sampler/Capture.h"
#include "sampler/Loupe.h"
#include "sampler/Monitors.h"
#include "sampler/Screen.h"
#include "sampler/Still.h"

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
  // Sampling ends: the loupe goes, a still is freed, and the screen lets go of what its
  // copies held.
  void End();
  // From Begin to End: the one place that says whether sampling runs, which the window
  // asks and the screen is told of (Screen::EndCaptures).
  [[nodiscard]] bool Sampling() const noexcept { return sampling_; }
  // The displays changed: a still is freed at once (sampling goes back to the live
  // screen); while sampling, the monitors are read again at once and the next refresh
  // uses them; otherwise the next sampling reads them as it begins.
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
  // The area one size up or down; the loupe zooms out as far as it must to show it
  // whole. False when nothing changed.
  bool StepArea(int steps) noexcept;
  // The loupe's magnification, kept for the program's run and written nowhere: `steps`
  // levels in (> 0) or out, no further in than shows the averaged area whole. False
  // when nothing changed.
  bool StepZoom(int steps) noexcept { return zoom_.Step(steps, area_.Side()); }
  [[nodiscard]] int ZoomCells() const noexcept { return zoom_.Cells(); }

  // Takes a still of every monitor, with `ours`, the places of the program's own windows
  // that copies show, left unread; the loupe is hidden first where copies would show it,
  // and its pictures that the still finds are left unread too. From then on every
  // refresh reads the still, wherever the pointer goes, until Thaw, End, or the displays
  // change. It may be taken before sampling begins, which then reads it at once.
  void Freeze(std::span<const ScreenRect> ours);
  // Back to the live screen: the still goes; one taken for a sampling that never began
  // lets the screen go of what its copies held, as the end of a sampling does.
  void Thaw();
  [[nodiscard]] bool Frozen() const noexcept { return still_.Held(); }
  [[nodiscard]] std::size_t StillBytes() const noexcept { return still_.Bytes(); }
  // How long a refresh of the monitor under `pointer` lasts, in microseconds.
  [[nodiscard]] std::int64_t FrameMicroseconds(ScreenPoint pointer) const noexcept;

 private:
  Screen* screen_;
  LoupeView* loupeView_;
  std::unique_ptr<Loupe> loupe_;  // made on the first sampling
  std::vector<Monitor> monitors_;
  bool sampling_ = false;
  SampleArea area_;
  LoupeZoom zoom_;
  Capture capture_;
  Still still_;
};

// "x.y" in decimal, e.g. "1024.768" or "-1280.300".
[[nodiscard]] std::string PositionText(ScreenPoint point);

}  // namespace tintelo
