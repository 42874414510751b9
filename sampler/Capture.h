// One copy of the screen around the pointer, taken once per refresh: the readouts average
// part of it and the loupe shows all of it, so the two never disagree.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "colour/Colour.h"
#include "sampler/Screen.h"

namespace tintelo {

struct Capture {
  // Pixels across: as many as the loupe shows at its widest; odd, so one is in the middle.
  static constexpr int kSide = 45;
  static constexpr int kCentre = kSide / 2;
  static constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

  // What a captured pixel is.
  enum class Mark : std::uint8_t {
    kScreen,     // the screen's own
    kNoMonitor,  // on no monitor, or not read at all: it counts for nothing
    kLoupe,      // the loupe, or a picture it left that the screen still shows
    kUnavailable,  // in a still, what it could not hold: one of our windows, or a monitor
                   // that could not be copied
  };

  ScreenRect area;  // kSide square, the pointer in the middle
  std::array<Pixel, kPixels> pixels{};
  std::array<Mark, kPixels> marks{};

  [[nodiscard]] static constexpr std::size_t Index(int column, int row) noexcept {
    return static_cast<std::size_t>(row * kSide + column);
  }
};

// The screen pixels around the pointer that a capture copies.
[[nodiscard]] ScreenRect CaptureArea(ScreenPoint pointer) noexcept;

// The square the readouts average, centred on the pointer: 1, 3, 5, ... 15 pixels across.
class SampleArea {
 public:
  static constexpr int kSmallest = 1;
  static constexpr int kLargest = 15;
  static_assert(kLargest <= Capture::kSide);

  [[nodiscard]] int Side() const noexcept { return side_; }
  // Half the side, rounded down: how far it reaches on each side of the pointer.
  [[nodiscard]] int Reach() const noexcept { return side_ / 2; }
  // One size up (steps > 0) or down, never past either end; false when nothing changed.
  bool Step(int steps) noexcept;

 private:
  int side_ = kSmallest;
};

// The mean of the area's pixels around the capture's middle, each channel's 8-bit values
// averaged and rounded half up, as a colour value. Pixels that no monitor shows do not
// count; nothing when none is left, or when any is the loupe's or unavailable (a mean of
// part of the area would not be what the user asked for).
[[nodiscard]] std::optional<ColourValue> MeanOf(const Capture& capture, int reach) noexcept;

}  // namespace tintelo
