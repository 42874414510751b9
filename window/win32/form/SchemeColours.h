// The colours the window draws its fields, captions, letters, value labels and help
// panels with: chosen for the colour scheme and high contrast by colour/Contrast.h, and
// read again whenever either changes.
#pragma once

#include <windows.h>

#include <array>

#include "colour/Contrast.h"
#include "window/win32/base/Handles.h"

namespace tintelo::win {

class SchemePaint {
 public:
  // Reads the scheme's colours and whether high contrast is on; at start-up, and again
  // on every change of either.
  void Refresh();

  [[nodiscard]] ColourPair Of(Surface surface) const { return pairs_.at(Index(surface)); }
  [[nodiscard]] HBRUSH Brush(Surface surface) const { return brushes_.at(Index(surface)).Get(); }
  // The answer to a control's WM_CTLCOLORSTATIC: its text in the surface's text colour,
  // on the surface's background.
  [[nodiscard]] LRESULT ControlColour(HDC dc, Surface surface) const;

 private:
  static constexpr std::size_t kSurfaces = 3;
  [[nodiscard]] static std::size_t Index(Surface surface) { return static_cast<std::size_t>(surface); }

  std::array<ColourPair, kSurfaces> pairs_{};
  std::array<UniqueBrush, kSurfaces> brushes_;
};

}  // namespace tintelo::win
