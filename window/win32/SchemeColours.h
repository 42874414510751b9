// Text colours from the colour scheme that stay readable on what is painted behind them.
#pragma once

#include <windows.h>

#include "colour/Contrast.h"

namespace tintelo::win {

// System colour `text` where it reads on `background`, else black or white.
inline COLORREF TextColourOn(int text, COLORREF background) {
  return static_cast<COLORREF>(
      ReadableTextColour(static_cast<ColourValue>(GetSysColor(text)), static_cast<ColourValue>(background)));
}

}  // namespace tintelo::win
