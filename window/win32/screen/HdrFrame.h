// Frames of an HDR desktop as Desktop Duplication hands them over, read as the screen's
// pixels. The latest desktop image is kept whole on the GPU, since a frame comes only when
// the desktop changes while the area read follows the pointer; only the area the capture
// needs is copied from it, into a staging texture the CPU maps without waiting on a GPU
// busy with other work, then converted from scRGB half floats to the bytes SDR programs
// drew.
#pragma once

#include <windows.h>

#include <d3d11.h>

#include <cstddef>
#include <span>

#include "sampler/Screen.h"
#include "window/win32/base/Handles.h"

namespace tintelo::win {

class HdrFrame {
 public:
  // Frames of `device`, which this object keeps a reference to.
  explicit HdrFrame(ID3D11Device* device) noexcept;

  // `frame`, a texture of the device, becomes the kept image: copied on the GPU into a
  // texture of its size and format, made again only when those change. That costs the
  // frame's size in video memory (8 bytes a pixel in FP16: about 66 MB for a 4K monitor)
  // and one copy on the GPU per new desktop image. False when no such texture can be made:
  // nothing is kept then.
  [[nodiscard]] bool Keep(ID3D11Texture2D* frame) noexcept;
  [[nodiscard]] ID3D11Device* Device() const noexcept { return device_.Get(); }

  enum class Read { kDone, kBusy, kRefused, kLost };
  // The pixels of `area` (in the frame's own coordinates, all within it) of `frame`, an
  // R16G16B16A16_FLOAT texture of the device, row by row from the top, `stride` pixels
  // from one row's start to the next, converted for SDR white at scRGB `white`. kBusy when
  // the GPU has not copied the area within a couple of milliseconds, kRefused when the
  // frame is of another format, whose encoding is not scRGB, or the area cannot be
  // copied, kLost when the device is removed or reset: nothing is written then.
  [[nodiscard]] Read ReadArea(ID3D11Texture2D* frame, const RECT& area, float white, std::span<Pixel> pixels,
                              std::size_t stride) noexcept;
  // The same, from the kept image; kRefused when there is none.
  [[nodiscard]] Read ReadKept(const RECT& area, float white, std::span<Pixel> pixels, std::size_t stride) noexcept {
    return kept_ ? ReadArea(kept_.Get(), area, white, pixels, stride) : Read::kRefused;
  }

 private:
  // The mapped copy's pixels, converted.
  static void Convert(const D3D11_MAPPED_SUBRESOURCE& mapped, UINT width, UINT height, float white,
                      std::span<Pixel> pixels, std::size_t stride) noexcept;

  UniqueCom<ID3D11Device> device_;
  UniqueCom<ID3D11DeviceContext> context_;
  UniqueCom<ID3D11Texture2D> kept_;     // the latest desktop image, on the GPU
  // Grows to the largest area a refresh reads, mapped for the CPU; one made for a larger
  // area (a still's whole monitor) goes once read.
  static constexpr UINT kKeptStagingPixels = 64 * 64;
  UniqueCom<ID3D11Texture2D> staging_;
  UINT stagingWidth_ = 0;
  UINT stagingHeight_ = 0;
};

}  // namespace tintelo::win
