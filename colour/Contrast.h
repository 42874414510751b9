// Choosing a text colour that stays readable on a given background, whatever colour
// scheme the user runs, and the colours each part of the window is drawn with, in and
// out of high contrast.
#pragma once

#include <cmath>

#include "colour/Colour.h"

namespace tintelo {

// Relative luminance of a 0x00BBGGRR colour, 0 (black) to 1 (white), as WCAG 2.2 defines
// it (with sRGB's own threshold, 0.04045; WCAG 2.0's 0.03928 gives the same for every
// 8-bit value, none lying between the two).
[[nodiscard]] inline double RelativeLuminance(ColourValue colour) {
  const auto linear = [](int component) {
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF) +
         0.0722 * linear((colour >> 16) & 0xFF);
}

// 1 (no contrast) to 21 (black on white).
[[nodiscard]] inline double ContrastRatio(ColourValue a, ColourValue b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

// The scheme's own text colour where it reads on `background` (at least 4.5:1, the WCAG
// level for body text); otherwise black or white, whichever contrasts more.
[[nodiscard]] inline ColourValue ReadableTextColour(ColourValue preferred, ColourValue background) {
  constexpr double kReadable = 4.5;
  constexpr ColourValue kBlack = 0;
  constexpr ColourValue kWhite = ComposeColour(255, 255, 255);
  if (ContrastRatio(preferred, background) >= kReadable) return preferred;
  return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

// The system colours a colour scheme gives (GetSysColor), those the window draws with.
struct SchemeColours {
  ColourValue window = 0;          // COLOR_WINDOW
  ColourValue windowText = 0;      // COLOR_WINDOWTEXT
  ColourValue buttonFace = 0;      // COLOR_BTNFACE
  ColourValue buttonText = 0;      // COLOR_BTNTEXT
  ColourValue inactiveBorder = 0;  // COLOR_INACTIVEBORDER, the window's own background
  ColourValue infoBackground = 0;  // COLOR_INFOBK, the help panels' background outside high contrast
  ColourValue infoText = 0;        // COLOR_INFOTEXT
};

// What text is drawn on: a readout field, the window's background (captions, slider
// letters, value labels) or a help panel.
enum class Surface { Field, Form, HelpPanel };

struct ColourPair {
  ColourValue text = 0;
  ColourValue background = 0;
  friend constexpr bool operator==(const ColourPair&, const ColourPair&) = default;
};

// Under high contrast, the theme's documented pairs as they are: the user chose them to
// read by. Microsoft's high-contrast guidance maps everything to one of two pairs ("High
// Contrast Parameter"): the fields and the help panels take COLOR_WINDOW with
// COLOR_WINDOWTEXT (Windows 11's contrast themes let the user set neither COLOR_INFOBK
// nor COLOR_INFOTEXT, so the tooltip pair may not be the theme's at all); the window's
// background takes COLOR_BTNFACE with COLOR_BTNTEXT, since the inactive border colour it
// has otherwise comes with no text colour. Otherwise the window looks as it always has:
// white fields, the inactive border colour and the tooltip colours behind the rest, each
// with the scheme's text colour where it reads there.
[[nodiscard]] inline ColourPair SurfaceColours(Surface surface, const SchemeColours& scheme, bool highContrast) {
  constexpr ColourValue kWhite = ComposeColour(255, 255, 255);
  switch (surface) {
    case Surface::Field:
      if (highContrast) return {scheme.windowText, scheme.window};
      return {ReadableTextColour(scheme.windowText, kWhite), kWhite};
    case Surface::Form:
      if (highContrast) return {scheme.buttonText, scheme.buttonFace};
      return {ReadableTextColour(scheme.buttonText, scheme.inactiveBorder), scheme.inactiveBorder};
    case Surface::HelpPanel: break;
  }
  if (highContrast) return {scheme.windowText, scheme.window};
  return {ReadableTextColour(scheme.infoText, scheme.infoBackground), scheme.infoBackground};
}

}  // namespace tintelo
