// Which monitors the screen's second road, Desktop Duplication, reads, and which of its
// desktops it converts: the one place where the forced-duplication build differs from
// Tintelo.exe. That build reads every monitor through Desktop Duplication, to check on a
// desktop that refuses it (Wine's) that the fallback reads exactly what GDI alone does,
// and on one that hands out frames that they read what GDI does.
#pragma once

#include <windows.h>

#include <dxgicommon.h>

namespace tintelo::win {

#ifdef TINTELO_FORCE_DUPLICATION
inline constexpr bool kForceDuplication = true;
#else
inline constexpr bool kForceDuplication = false;
#endif

// Windows' SDR white when nothing raises it: 80 nits, scRGB 1.0.
inline constexpr unsigned kDefaultSdrWhiteLevel = 1000;

// Whether a monitor whose SDR white level is `sdrWhiteLevel` (0 on an SDR desktop) is read
// through Desktop Duplication. GDI's copy of an HDR desktop clips it to 8 bits without
// dividing by the SDR white level, so SDR colours come back too bright.
[[nodiscard]] constexpr bool ReadsThroughDuplication(unsigned sdrWhiteLevel) noexcept {
  return kForceDuplication || sdrWhiteLevel != 0;
}

// The SDR white the duplication's frames are converted for: an SDR desktop's, read only
// in the forced build, is scRGB 1.0.
[[nodiscard]] constexpr unsigned WhiteLevelRead(unsigned sdrWhiteLevel) noexcept {
  return sdrWhiteLevel != 0 ? sdrWhiteLevel : kDefaultSdrWhiteLevel;
}

// Whether a desktop composed in `space` is converted. The output says HDR10 (PQ, BT.2020)
// when Windows composes in scRGB for an HDR display, and sRGB when it composes in 8 bits;
// other encodings, such as those of Windows 11's Auto Color Management, are left to GDI
// ("Using DirectX with high dynamic range displays and advanced color"). The forced build
// takes an SDR desktop's FP16 frames too, white at scRGB 1.0, so that where Windows hands
// them out its readouts can be set against GDI's.
[[nodiscard]] constexpr bool ConvertsDesktop(DXGI_COLOR_SPACE_TYPE space) noexcept {
  return space == DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 || space == DXGI_COLOR_SPACE_RGB_FULL_G10_NONE_P709 ||
         (kForceDuplication && space == DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P709);
}

}  // namespace tintelo::win
