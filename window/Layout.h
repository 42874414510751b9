// The window description: every control with its place and size in twips (1440 to the
// inch), listed in stacking order from the front to the back.
#pragma once

#include <array>
#include <string_view>

namespace tintelo::layout {

// Twips at a scale in pixels, to the nearest pixel, halves away from zero as MulDiv rounds
// them: 15 twips are one pixel at 96 DPI, 10 at 144 DPI.
[[nodiscard]] constexpr int Pixels(double twips, unsigned dpi) noexcept {
  const double pixels = twips * static_cast<double>(dpi) / 1440.0;
  return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}
[[nodiscard]] constexpr double Twips(int pixels, unsigned dpi) noexcept {
  return pixels * 1440.0 / static_cast<double>(dpi);
}

inline constexpr int kClientWidth = 4785;
inline constexpr int kClientHeight = 2175;

// The contrast lines, under the controls while shown: the client area grows by their
// height; the reference's square on the left, the three lines beside it.
inline constexpr int kContrastHeight = 780;
inline constexpr int kContrastSquareLeft = 300;
inline constexpr int kContrastTop = kClientHeight + 60;
inline constexpr int kContrastSquareSide = 480;
inline constexpr int kContrastTextLeft = 1080;
inline constexpr int kContrastTextWidth = kClientWidth - kContrastTextLeft - 120;
inline constexpr int kContrastTextHeight = 3 * 195 + 60;

enum class Kind { Panel, PanelText, Slider, Swatch, Readout, Palette, ValueLabel, SliderLetter, Caption };

struct Control {
  Kind kind;
  int index;
  int left, top, width, height;
  int tabIndex;           // -1: none
  std::string_view text;  // UTF-8
};

inline constexpr std::string_view kReadoutTip = "Cliquez pour copier la valeur dans le presse-papiers";

inline constexpr std::array kControls{
    Control{Kind::Panel, 1, 960, -480, 2415, 555, 24, ""},
    Control{Kind::PanelText, 1, 60, 60, 2280, 435, 25, "Cliquez pour choisir une couleur sur la palette système."},
    Control{Kind::Panel, 0, 960, -480, 2655, 555, 22, ""},
    Control{Kind::PanelText, 0, 60, 60, 2580, 435, 23,
            "Cliquez pour analyser un point, puis relâchez le bouton une fois terminé."},
    Control{Kind::Slider, 0, 3480, 480, 195, 1215, 19, ""},
    Control{Kind::Swatch, 0, 240, 240, 555, 975, 0, ""},
    Control{Kind::Readout, 0, 1740, 240, 1380, 195, 18, "0.0"},
    Control{Kind::Readout, 1, 1740, 540, 1380, 195, 17, ""},
    Control{Kind::Readout, 2, 1740, 840, 1380, 195, 16, ""},
    Control{Kind::Readout, 3, 1740, 1140, 1380, 195, 15, ""},
    Control{Kind::Readout, 4, 1740, 1440, 1380, 195, 14, ""},
    Control{Kind::Readout, 5, 1740, 1740, 1380, 195, 13, ""},
    Control{Kind::Slider, 1, 3900, 480, 195, 1215, 20, ""},
    Control{Kind::Slider, 2, 4320, 480, 195, 1215, 21, ""},
    Control{Kind::Palette, 0, 300, 1440, 480, 480, -1, ""},
    Control{Kind::ValueLabel, 5, 4260, 1740, 330, 195, 12, "000"},
    Control{Kind::ValueLabel, 4, 3840, 1740, 330, 195, 11, "000"},
    Control{Kind::ValueLabel, 3, 3420, 1740, 330, 195, 10, "000"},
    Control{Kind::SliderLetter, 2, 4260, 240, 330, 195, 9, "B"},
    Control{Kind::SliderLetter, 1, 3840, 240, 330, 195, 8, "G"},
    Control{Kind::SliderLetter, 0, 3420, 240, 330, 195, 7, "R"},
    Control{Kind::Caption, 11, 1080, 1140, 615, 195, 6, "CMYK :"},
    Control{Kind::Caption, 9, 1080, 240, 615, 195, 5, "Pos XY :"},
    Control{Kind::Caption, 6, 1080, 1740, 600, 195, 4, "HTML :"},
    Control{Kind::Caption, 4, 1260, 1440, 435, 195, 3, "RGB :"},
    Control{Kind::Caption, 2, 1080, 840, 600, 195, 2, "Hexa. :"},
    Control{Kind::Caption, 0, 1260, 540, 435, 195, 1, "Déc. :"},
};

}  // namespace tintelo::layout
