// Which displays show an HDR desktop, and how bright their SDR white is, as the display
// configuration tells it.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

namespace tintelo::win {

// A display source showing an HDR desktop: its GDI name ("\\.\DISPLAY1", as
// MONITORINFOEXW::szDevice gives it) and the brightness of its SDR white, in thousandths
// of 80 nits.
struct HdrSource {
  std::array<wchar_t, CCHDEVICENAME> device{};
  unsigned sdrWhiteLevel = 0;
};

// The sources of the active display paths that show an HDR desktop.
[[nodiscard]] std::vector<HdrSource> HdrSources();

}  // namespace tintelo::win
