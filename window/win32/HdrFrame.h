// The desktop of an HDR monitor as Desktop Duplication hands it over, read as the screen's
// pixels: each new frame is copied whole into a texture of the program's own on the GPU,
// since the frame itself is the system's again once it is released, and an area of that
// copy goes through a staging texture the CPU can map, from scRGB half floats to the
// bytes SDR programs drew. A refresh that brings no new frame (nothing on the monitor
// changed) reads the copy of the last one, which is the desktop as it still is.
#pragma once

#include <windows.h>

#include <d3d11.h>

#include <cstddef>
#include <span>

#include "sampler/Screen.h"
#include "window/win32/Handles.h"

namespace tintelo::win {

class HdrFrame {
 public:
  // Frames of `device`, which this object keeps a reference to.
  explicit HdrFrame(ID3D11Device* device) noexcept;

  // Takes a new frame, an R16G16B16A16_FLOAT texture of `device` that can be released as
  // soon as this returns. False when it is of another format, whose encoding is not
  // scRGB, or when no copy can be made: nothing is kept then.
  [[nodiscard]] bool Keep(ID3D11Texture2D* frame) noexcept;

  // The pixels of `area` (in the frame's own coordinates, all within it) of the frame
  // kept last, row by row from the top, `stride` pixels from one row's start to the
  // next, converted for SDR white at scRGB `white`. False, and nothing written, when no
  // frame is kept or the area cannot be copied and mapped.
  [[nodiscard]] bool Read(const RECT& area, float white, std::span<Pixel> pixels, std::size_t stride) noexcept;

 private:
  UniqueCom<ID3D11Device> device_;
  UniqueCom<ID3D11DeviceContext> context_;
  UniqueCom<ID3D11Texture2D> kept_;     // the last frame, whole, on the GPU
  UniqueCom<ID3D11Texture2D> staging_;  // grows to the largest area read, mapped for the CPU
  UINT width_ = 0;                      // the kept frame's size
  UINT height_ = 0;
  UINT stagingWidth_ = 0;
  UINT stagingHeight_ = 0;
};

}  // namespace tintelo::win
