// Desktop Duplication of the monitors that show an HDR desktop: the second way of reading
// the screen, which WinScreen chooses for them. GDI's copy of an HDR desktop clips its
// scRGB values to 8 bits without dividing by the SDR white level, so SDR colours come back
// too bright and their hues shift; a duplication in FP16 gives the values themselves.
// Made when sampling first reads such a monitor, with d3d11.dll and dxgi.dll loaded then,
// and kept from one sampling to the next (WinScreen says how long): a new one takes a
// factory, a device and the duplication, and its first frame may not be ready for the
// first refresh. Each monitor's latest desktop image is kept whole on the GPU, and what
// every read serves from it is chosen in sampler/KeptImage.*.
#pragma once

#include <windows.h>

#include <dxgicommon.h>

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "sampler/KeptImage.h"
#include "sampler/Screen.h"

namespace tintelo::win {

class DesktopDuplication {
 public:
  DesktopDuplication() noexcept;
  ~DesktopDuplication();
  DesktopDuplication(const DesktopDuplication&) = delete;
  DesktopDuplication& operator=(const DesktopDuplication&) = delete;

  // The pixels of `part` of the virtual screen, all on the monitor whose GDI name is
  // `device`, row by row from the top, `stride` pixels from one row's start to the next,
  // as the SDR programs beneath drew them at SDR white `sdrWhiteLevel` (thousandths of 80
  // nits), from the latest desktop image. Nothing is written unless they are read:
  // kFallBack leaves GDI's pixels, kUnchanged asks for the refresh to change nothing.
  // Throws std::bad_alloc when there is no room for its records, which ends the program
  // with the run-time error report as every other handler's error does.
  [[nodiscard]] AreaRead Read(const wchar_t* device, const RECT& part, unsigned sdrWhiteLevel, std::span<Pixel> pixels,
                              std::size_t stride);
  // Sampling has ended: every frame held goes back to the system; the duplications and
  // their kept images stay.
  void EndReads() noexcept;
  // The monitor `device` starts afresh: its duplication and kept image go.
  void Forget(const wchar_t* device) noexcept;

  // What the system last answered: the making of a duplication (S_OK, its error, or
  // S_FALSE for a desktop left to GDI), then each AcquireNextFrame that was not S_OK, and
  // the colour space the output said it composes in. For the probe of a desktop.
  struct Answer {
    HRESULT result = S_OK;
    DXGI_COLOR_SPACE_TYPE colourSpace = DXGI_COLOR_SPACE_RESERVED;
  };
  [[nodiscard]] const Answer& LastAnswer() const noexcept { return last_; }

 private:
  struct Output;
  // The monitor's duplication, by its GDI name, or outputs_.end().
  [[nodiscard]] std::vector<std::unique_ptr<Output>>::iterator Find(const wchar_t* device);

  std::vector<std::unique_ptr<Output>> outputs_;  // one duplication per monitor read
  Answer last_;
};

}  // namespace tintelo::win
