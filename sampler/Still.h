// A still of the screen: one copy of every monitor, taken at once, that sampling reads
// instead of the screen while the user wants what was there rather than what is (a
// button's colour before the pointer lit it, a menu, a frame of a video). Nothing of it is
// ever written anywhere; it costs 4 bytes a pixel of the monitors it copied while held,
// and nothing once freed.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "sampler/Capture.h"
#include "sampler/Screen.h"

namespace tintelo {

class Still {
 public:
  // A copy of the screen that gives nothing this time (a GPU too busy) is asked again at
  // most this many times before its monitor counts as not copied.
  static constexpr int kTries = 4;

  // Copies each of `monitors` through the screen's one road, as a refresh does. `ours`
  // are the places of the program's own windows that the copy cannot leave out: they are
  // never read. A monitor that cannot be copied is held as unavailable.
  void Take(Screen& screen, std::span<const Monitor> monitors, std::span<const ScreenRect> ours);
  void Free() noexcept;
  [[nodiscard]] bool Held() const noexcept { return held_; }
  // What a place shows is not the screen (one of our windows was there): never read.
  void MarkUnavailable(const ScreenRect& place);

  // The still's pixel at `point`; nothing where it holds none that may be read.
  [[nodiscard]] std::optional<Pixel> At(ScreenPoint point) const noexcept;
  // The capture's pixels and marks for its area, from the still: on no monitor, or
  // unavailable, as the still says.
  void Fill(Capture& capture) const noexcept;
  // The memory its pixels take.
  [[nodiscard]] std::size_t Bytes() const noexcept;

 private:
  struct Part {
    ScreenRect area;            // the monitor's
    std::vector<Pixel> pixels;  // row by row; none when the monitor could not be copied
  };
  [[nodiscard]] const Part* PartAt(ScreenPoint point) const noexcept;
  // The same, and what the point is for a capture: the screen, unavailable, or on no monitor.
  [[nodiscard]] std::optional<Pixel> At(ScreenPoint point, Capture::Mark& mark) const noexcept;

  std::vector<Part> parts_;
  std::vector<ScreenRect> unavailable_;
  bool held_ = false;
};

}  // namespace tintelo
