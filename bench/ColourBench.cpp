// Cost of the readout refresh run on every sampling tick, and of each conversion in it;
// the CSS texts' cost, and their round trip over every one of the 16,777,216 colours.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "colour/Analysis.h"
#include "colour/Css.h"
#include "colour/Module1.h"
#include "tests/CssBack.h"

namespace tintelo {
namespace {

// Accepts every write and keeps nothing; the sliders never move, as in a steady sample.
class NullView final : public ReadoutView {
 public:
  [[nodiscard]] ColourValue SwatchColour() const override { return colour; }
  void SetReadout(int, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void SetSliderPosition(int, std::int16_t position) override { benchmark::DoNotOptimize(position); }
  ColourValue colour = 0;
};

void BM_ReadoutRefresh(benchmark::State& state) {
  NullView view;
  ColourValue colour = 0x123456;
  for (auto _ : state) {
    view.colour = colour;
    fnAnalyseCouleurs(view);
    colour = (colour + 0x010203) & 0xFFFFFF;
  }
}
BENCHMARK(BM_ReadoutRefresh);

void BM_RgbText(benchmark::State& state) {
  ColourValue colour = 0x123456;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fnRgbText(colour));
    colour = (colour + 0x010203) & 0xFFFFFF;
  }
}
BENCHMARK(BM_RgbText);

void BM_HtmlColour(benchmark::State& state) {
  std::uint32_t n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        fnHtmlColour(static_cast<Component>(n), static_cast<Component>(n >> 8), static_cast<Component>(n >> 16)));
    n += 0x010203;
  }
}
BENCHMARK(BM_HtmlColour);

void BM_RgbToCmyk(benchmark::State& state) {
  std::uint32_t n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        fnRgbToCmyk(static_cast<Component>(n), static_cast<Component>(n >> 8), static_cast<Component>(n >> 16)));
    n += 0x010203;
  }
}
BENCHMARK(BM_RgbToCmyk);

// Each CSS text of a colour that changes every time.
void BM_CssText(benchmark::State& state) {
  const auto notation = static_cast<CssNotation>(state.range(0));
  ColourValue colour = 0x123456;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CssText(colour, notation));
    colour = (colour + 0x010305) & 0xFFFFFF;
  }
}
BENCHMARK(BM_CssText)->DenseRange(0, 4);

// Every colour, in hsl(), oklch() and lab(), back through the inverse conversions: the
// counter says how many did not give back the colour they were made from (0 expected).
void BM_CssRoundTripOfEveryColour(benchmark::State& state) {
  std::int64_t failures = 0;
  for (auto _ : state) {
    for (ColourValue colour = 0; colour < 0x1000000; ++colour) {
      for (const CssNotation notation : {CssNotation::Hsl, CssNotation::Oklch, CssNotation::Lab}) {
        if (testing_support::ColourOfCss(CssText(colour, notation)) != colour) ++failures;
      }
    }
  }
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_CssRoundTripOfEveryColour)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tintelo
