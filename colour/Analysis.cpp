// The readout refresh and the slider update.
#include "colour/Analysis.h"

#include <array>
#include <charconv>
#include <string>

#include "colour/Module1.h"

namespace tintelo {

namespace {

inline constexpr int kErrTypeMismatch = 13;

// Decimal text to an integer; anything that is not a plain number is a type mismatch.
std::int64_t ParseDecimal(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) RaiseOverflow();
  if (ec != std::errc() || end != text.data() + text.size()) throw RuntimeError(kErrTypeMismatch, "Type mismatch");
  return value;
}

std::string DecimalText(std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), end);
}

}  // namespace

void fnAnalyseCouleurs(ReadoutView& view) {
  const ColourValue c = view.SwatchColour();

  // The components are read back from the RGB text, so every notation agrees with it.
  const std::string rgb = fnRgbText(c);
  std::array<std::string_view, 3> pieces{};
  std::size_t start = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::size_t comma = i + 1 < pieces.size() ? rgb.find(',', start) : rgb.size();
    pieces[i] = std::string_view(rgb).substr(start, comma - start);
    start = comma + 1;
  }
  std::array<Component, 3> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = CheckedByte(ParseDecimal(pieces[i]));

  const Cmyk cmyk = fnRgbToCmyk(bytes[0], bytes[1], bytes[2]);

  view.SetReadout(1, DecimalText(c));
  view.SetReadout(2, "0x" + fnHtmlColour(bytes[0], bytes[1], bytes[2]).substr(1));
  view.SetReadout(
      3, DecimalText(cmyk.C) + ',' + DecimalText(cmyk.M) + ',' + DecimalText(cmyk.Y) + ',' + DecimalText(cmyk.K));
  view.SetReadout(4, fnRgbText(c));
  view.SetReadout(5, fnHtmlColour(bytes[0], bytes[1], bytes[2]));

  // Each write may re-enter this refresh through the slider update before it returns.
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    view.SetSliderPosition(static_cast<int>(i), CheckedInt16(ParseDecimal(pieces[i]) * -1));
  }
}

void fnSliderUpdate(ColourView& view, bool slidersLive) {
  for (int i = 0; i < 3; ++i) view.SetValueLabel(3 + i, DecimalText(CheckedNegate(view.SliderPosition(i))));
  if (!slidersLive) return;
  const int red = CheckedNegate(view.SliderPosition(0));
  const int green = CheckedNegate(view.SliderPosition(1));
  const int blue = CheckedNegate(view.SliderPosition(2));
  view.SetSwatchColour(ComposeColour(red, green, blue));
  fnAnalyseCouleurs(view);
}

}  // namespace tintelo
