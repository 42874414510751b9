// Cost of the readout refresh run on every sampling tick, and of each conversion in it.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "colour/Analysis.h"
#include "colour/Module1.h"

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

}  // namespace
}  // namespace tintelo
