// Frames of an HDR desktop kept on the GPU, and areas of them read as pixels.
#include "window/win32/HdrFrame.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "sampler/ScRgb.h"

namespace tintelo::win {

HdrFrame::HdrFrame(ID3D11Device* device) noexcept {
  device->AddRef();
  device_.Reset(device);
  device->GetImmediateContext(context_.Put());
}

bool HdrFrame::Keep(ID3D11Texture2D* frame) noexcept {
  D3D11_TEXTURE2D_DESC desc{};
  frame->GetDesc(&desc);
  // Windows composes an HDR desktop in FP16, and an SDR one in 8 bits a channel, whose
  // bytes are already what GDI reads.
  if (desc.Format != DXGI_FORMAT_R16G16B16A16_FLOAT || desc.SampleDesc.Count != 1) {
    kept_.Reset();
    return false;
  }
  if (!kept_ || desc.Width != width_ || desc.Height != height_) {
    // CopyResource wants the same size, format and count of mipmaps and array slices; the
    // copy is only ever copied from, so it binds to nothing ("ID3D11DeviceContext::CopyResource").
    D3D11_TEXTURE2D_DESC copy = desc;
    copy.Usage = D3D11_USAGE_DEFAULT;
    copy.BindFlags = 0;
    copy.CPUAccessFlags = 0;
    copy.MiscFlags = 0;
    if (FAILED(device_.Get()->CreateTexture2D(&copy, nullptr, kept_.Put()))) {
      kept_.Reset();
      return false;
    }
    width_ = desc.Width;
    height_ = desc.Height;
  }
  context_.Get()->CopyResource(kept_.Get(), frame);
  return true;
}

bool HdrFrame::Read(const RECT& area, float white, std::span<Pixel> pixels, std::size_t stride) noexcept {
  if (!kept_ || area.left < 0 || area.top < 0 || area.right <= area.left || area.bottom <= area.top ||
      static_cast<UINT>(area.right) > width_ || static_cast<UINT>(area.bottom) > height_) {
    return false;
  }
  const auto width = static_cast<UINT>(area.right - area.left);
  const auto height = static_cast<UINT>(area.bottom - area.top);
  if (stride < width || pixels.size() < (height - 1) * stride + width) return false;
  if (!staging_ || width > stagingWidth_ || height > stagingHeight_) {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = width > stagingWidth_ ? width : stagingWidth_;
    desc.Height = height > stagingHeight_ ? height : stagingHeight_;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_R16G16B16A16_FLOAT;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_STAGING;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    if (FAILED(device_.Get()->CreateTexture2D(&desc, nullptr, staging_.Put()))) {
      staging_.Reset();
      stagingWidth_ = 0;
      stagingHeight_ = 0;
      return false;
    }
    stagingWidth_ = desc.Width;
    stagingHeight_ = desc.Height;
  }
  const D3D11_BOX box{static_cast<UINT>(area.left),  static_cast<UINT>(area.top),    0,
                      static_cast<UINT>(area.right), static_cast<UINT>(area.bottom), 1};
  context_.Get()->CopySubresourceRegion(staging_.Get(), 0, 0, 0, 0, kept_.Get(), 0, &box);
  // Map waits for the copy to be done.
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context_.Get()->Map(staging_.Get(), 0, D3D11_MAP_READ, 0, &mapped))) return false;
  const auto* rows = static_cast<const unsigned char*>(mapped.pData);
  for (UINT y = 0; y < height; ++y) {
    const unsigned char* row = rows + std::size_t{y} * mapped.RowPitch;
    for (UINT x = 0; x < width; ++x) {
      std::array<std::uint16_t, 4> rgba{};
      std::memcpy(rgba.data(), row + std::size_t{x} * sizeof(rgba), sizeof(rgba));
      pixels[y * stride + x] = PixelOfScRgb(rgba, white);
    }
  }
  context_.Get()->Unmap(staging_.Get(), 0);
  return true;
}

}  // namespace tintelo::win
