// A window stand-in for the readout refresh: real slider models, recorded writes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Analysis.h"
#include "colour/Slider.h"

namespace tintelo::testing_support {

class FakeColourView final : public ColourView, public SliderHost {
 public:
  FakeColourView() : sliders_{Slider(0, *this), Slider(1, *this), Slider(2, *this)} {}

  // ColourView
  [[nodiscard]] ColourValue SwatchColour() const override { return swatch; }
  void SetReadout(int index, std::string_view text) override {
    readouts.at(static_cast<std::size_t>(index)) = text;
    log.push_back("Text1(" + std::to_string(index) + ")");
  }
  void SetSliderPosition(int index, std::int16_t position) override {
    log.push_back("hScroll1(" + std::to_string(index) + ")=" + std::to_string(position));
    sliders_.at(static_cast<std::size_t>(index)).SetValue(position);
  }
  void SetSwatchColour(ColourValue value) override {
    swatch = value;
    swatchHistory.push_back(value);
  }
  [[nodiscard]] std::int16_t SliderPosition(int index) const override {
    return sliders_.at(static_cast<std::size_t>(index)).Value();
  }
  void SetValueLabel(int index, std::string_view text) override {
    labels.at(static_cast<std::size_t>(index - 3)) = text;
  }

  // SliderHost
  void ShowSliderPosition(int, std::int16_t) override {}
  void SliderChanged(int index) override {
    log.push_back("change(" + std::to_string(index) + ")");
    ++changeEvents;
    fnSliderUpdate(*this, slidersLive);
  }
  void SliderScrolled(int index) override { SliderChanged(index); }

  Slider& slider(int index) { return sliders_.at(static_cast<std::size_t>(index)); }

  ColourValue swatch = 0;
  bool slidersLive = false;
  int changeEvents = 0;
  std::array<std::string, 6> readouts{};
  std::array<std::string, 3> labels{"000", "000", "000"};
  std::vector<ColourValue> swatchHistory;
  std::vector<std::string> log;

 private:
  std::array<Slider, 3> sliders_;
};

}  // namespace tintelo::testing_support
