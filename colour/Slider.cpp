// The slider model: range, steps and what each scroll-bar action does to the value.
#include "colour/Slider.h"

#include <algorithm>

namespace tintelo {

bool Slider::Move(int value) {
  const auto clamped = static_cast<std::int16_t>(std::clamp(value, int{kMin}, int{kMax}));
  if (clamped == value_) return false;
  value_ = clamped;
  host_->ShowSliderPosition(index_, value_);
  return true;
}

void Slider::SetValue(int value) {
  if (Move(value)) host_->SliderChanged(index_);
}

void Slider::Apply(SliderAction action, int thumb) {
  switch (action) {
    case SliderAction::LineUp: SetValue(value_ - kSmallChange); break;
    case SliderAction::LineDown: SetValue(value_ + kSmallChange); break;
    case SliderAction::PageUp: SetValue(value_ - kLargeChange); break;
    case SliderAction::PageDown: SetValue(value_ + kLargeChange); break;
    case SliderAction::Top: SetValue(kMin); break;
    case SliderAction::Bottom: SetValue(kMax); break;
    case SliderAction::Track:
      // The scroll event follows every tracking step, with the new position in place.
      Move(thumb);
      host_->SliderScrolled(index_);
      break;
    case SliderAction::ThumbReleased: SetValue(thumb); break;
  }
}

}  // namespace tintelo
