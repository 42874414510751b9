// The readout refresh: every notation and the slider positions from the swatch colour,
// and the slider update that turns slider positions back into a colour.
#pragma once

#include <cstdint>
#include <string_view>

#include "colour/Colour.h"

namespace tintelo {

// What the refresh needs of the window: read the swatch, write Text1(1)..Text1(5)
// and the three slider positions. A slider write may run the slider update (and with
// it this refresh) again before it returns.
class ReadoutView {
 public:
  [[nodiscard]] virtual ColourValue SwatchColour() const = 0;
  virtual void SetReadout(int index, std::string_view text) = 0;
  virtual void SetSliderPosition(int index, std::int16_t position) = 0;

 protected:
  ~ReadoutView() = default;
};

// The slider update also writes the swatch and the value labels Label2(3)..Label2(5).
class ColourView : public ReadoutView {
 public:
  virtual void SetSwatchColour(ColourValue value) = 0;
  [[nodiscard]] virtual std::int16_t SliderPosition(int index) const = 0;
  virtual void SetValueLabel(int index, std::string_view text) = 0;

 protected:
  ~ColourView() = default;
};

// Refreshes Text1(1)..Text1(5) and the sliders from the swatch. Keeps nothing between
// calls, so a nested call from a slider event is a full refresh of its own.
void fnAnalyseCouleurs(ReadoutView& view);

// A slider moved: relabel all three values, then, when armed, compose the colour from
// the three positions, put it into the swatch and refresh.
void fnSliderUpdate(ColourView& view, bool slidersLive);

}  // namespace tintelo
