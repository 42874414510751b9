// The scheme's colours and high contrast, read from the system.
#include "window/win32/form/SchemeColours.h"

namespace tintelo::win {

namespace {

ColourValue System(int index) { return static_cast<ColourValue>(GetSysColor(index)); }

// SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON ("High Contrast Parameter").
bool HighContrastOn() {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof(highContrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(highContrast), &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

void SchemePaint::Refresh() {
  const SchemeColours scheme{System(COLOR_WINDOW),  System(COLOR_WINDOWTEXT),     System(COLOR_BTNFACE),
                             System(COLOR_BTNTEXT), System(COLOR_INACTIVEBORDER), System(COLOR_INFOBK),
                             System(COLOR_INFOTEXT)};
  const bool highContrast = HighContrastOn();
  for (const Surface surface : {Surface::Field, Surface::Form, Surface::HelpPanel}) {
    const ColourPair pair = SurfaceColours(surface, scheme, highContrast);
    pairs_.at(Index(surface)) = pair;
    brushes_.at(Index(surface)).Reset(CreateSolidBrush(static_cast<COLORREF>(pair.background)));
  }
}

LRESULT SchemePaint::ControlColour(HDC dc, Surface surface) const {
  const ColourPair pair = Of(surface);
  SetTextColor(dc, static_cast<COLORREF>(pair.text));
  SetBkColor(dc, static_cast<COLORREF>(pair.background));
  return reinterpret_cast<LRESULT>(Brush(surface));
}

}  // namespace tintelo::win
