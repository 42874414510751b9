// The vertical R/G/B slider as the rest of the program relies on it: a position from
// -255 (top) to 0 (bottom) holding the negated component, with synchronous events.
#pragma once

#include <cstdint>

namespace tintelo {

class SliderHost {
 public:
  // Mirror the position onto whatever draws the slider.
  virtual void ShowSliderPosition(int index, std::int16_t position) = 0;
  virtual void SliderChanged(int index) = 0;
  virtual void SliderScrolled(int index) = 0;

 protected:
  ~SliderHost() = default;
};

// What the user did to the slider, in the vocabulary of a vertical scroll bar.
enum class SliderAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Track, ThumbReleased };

class Slider {
 public:
  static constexpr std::int16_t kMin = -255;
  static constexpr std::int16_t kMax = 0;
  static constexpr std::int16_t kSmallChange = 1;
  static constexpr std::int16_t kLargeChange = 10;

  Slider(int index, SliderHost& host) noexcept : index_(index), host_(&host) {}
  Slider(const Slider&) = delete;
  Slider& operator=(const Slider&) = delete;

  [[nodiscard]] std::int16_t Value() const noexcept { return value_; }

  // A program write. A value outside the range is clamped to the nearer end, so the
  // position can never leave -255..0 whatever the caller computed. The change event
  // runs before this returns, and only when the position actually moved.
  void SetValue(int value);

  // A user action; `thumb` is the thumb position for Track and ThumbReleased.
  void Apply(SliderAction action, int thumb = 0);

 private:
  bool Move(int value);

  int index_;
  SliderHost* host_;
  std::int16_t value_ = 0;
};

}  // namespace tintelo
