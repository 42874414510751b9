// The screen as the program reads it: one interface for the pointer, the monitors and the
// copy of an area of pixels, so that everything read from the screen takes one road.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tintelo {

// Physical screen pixels on the virtual screen: negative left of or above the primary monitor.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle of the virtual screen, right and bottom excluded.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  [[nodiscard]] constexpr std::int32_t Width() const noexcept { return right - left; }
  [[nodiscard]] constexpr std::int32_t Height() const noexcept { return bottom - top; }
  [[nodiscard]] constexpr bool Contains(ScreenPoint p) const noexcept {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  friend constexpr bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct Monitor {
  ScreenRect area;
  unsigned dpi = 96;  // the monitor's own scale: 96 at 100 %, 144 at 150 %
  unsigned hz = 0;    // how often it shows a new picture; 0 when the system does not say
};

// Screen pixels are 0x00RRGGBB, as 32-bit device-independent bitmaps hold them.
using Pixel = std::uint32_t;

// What a copy of the screen gave.
enum class Captured : std::uint8_t {
  kRead,       // the pixels
  kUnchanged,  // nothing this time (a GPU too busy to copy in time), and the pixels hold
               // no copy: what the last copy showed stays, and the next refresh tries again
  kFailed,     // the screen cannot be read at all
};

// What the program asks of the screen.
class Screen {
 public:
  [[nodiscard]] virtual bool CursorPos(ScreenPoint& point) = 0;
  // Puts the pointer somewhere else, in physical pixels.
  virtual void MoveCursor(ScreenPoint point) = 0;
  // Every monitor with its rectangle, scale and refresh rate, in physical pixels.
  virtual void Monitors(std::vector<Monitor>& monitors) = 0;
  // The screen's pixels in `area`, row by row from the top, in one copy. Pixels that no
  // monitor shows hold whatever the system answers there: the caller knows the monitors
  // and marks them.
  [[nodiscard]] virtual Captured Capture(const ScreenRect& area, std::span<Pixel> pixels) = 0;
  // Sampling has ended: what the copies held from one refresh to the next goes back to
  // the system; what makes the next sampling's first copy quick may stay for a while.
  virtual void EndCaptures() = 0;
  // The displays changed (a mode, a monitor): what the copies know of them is read again
  // before the next one, and every way of copying a monitor starts afresh.
  virtual void DisplaysChanged() = 0;
  // A setting changed that may be a monitor's HDR state or SDR white level: those are read
  // again; only a monitor whose HDR state changed starts afresh, unless the monitors
  // themselves did, and a new white level applies from the next copy.
  virtual void DisplaySettingsChanged() = 0;

 protected:
  ~Screen() = default;
};

}  // namespace tintelo
