// Whether a display shows an HDR desktop, from the display configuration's two queries
// about advanced colour. Windows 11 24H2 has a second query whose active colour mode tells
// HDR from Auto Color Management (a wide-gamut SDR desktop); the first query cannot tell
// them apart there, so it is asked only where the second is unknown.
#pragma once

#include <cstdint>
#include <optional>

namespace tintelo {

// DISPLAYCONFIG_ADVANCED_COLOR_MODE: the desktop's active colour mode.
enum class ColourMode : std::uint32_t { kSdr = 0, kWideGamut = 1, kHdr = 2 };

// The older query's answer (DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO), Windows 10 1709 on.
struct LegacyColourAnswer {
  bool advancedColourEnabled = false;
  // A wide gamut enforced is an SDR desktop with colour management, whose SDR white is no
  // brighter than GDI's.
  bool wideColourEnforced = false;
};

// `askMode` asks the newer query and answers nothing where the system does not have it;
// only then is `askLegacy` asked, and it too may answer nothing.
template <typename AskMode, typename AskLegacy>
[[nodiscard]] bool ShowsHdr(AskMode&& askMode, AskLegacy&& askLegacy) {
  if (const std::optional<ColourMode> mode = askMode()) return *mode == ColourMode::kHdr;
  const std::optional<LegacyColourAnswer> legacy = askLegacy();
  return legacy && legacy->advancedColourEnabled && !legacy->wideColourEnforced;
}

}  // namespace tintelo
