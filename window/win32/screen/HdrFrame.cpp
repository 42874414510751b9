// Areas of an HDR desktop's frames read as pixels.
#include "window/win32/screen/HdrFrame.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "sampler/ScRgb.h"
#include "window/win32/base/Clock.h"

namespace tintelo::win {

namespace {

// How long the UI thread waits at most for the GPU to copy an area: an eighth of a 60 Hz
// frame. A GPU busy with a game's frame takes longer, and that refresh changes nothing.
constexpr LONGLONG kMapBudgetMicroseconds = 2000;
// A still's whole monitor, asked for once by a key, may take the GPU a frame or more: the
// user waits that long rather than see the monitor unavailable.
constexpr LONGLONG kStillMapBudgetMicroseconds = 100'000;

}  // namespace

HdrFrame::HdrFrame(ID3D11Device* device) noexcept {
  device->AddRef();
  device_.Reset(device);
  device->GetImmediateContext(context_.Put());
}

bool HdrFrame::Keep(ID3D11Texture2D* frame) noexcept {
  D3D11_TEXTURE2D_DESC desc{};
  frame->GetDesc(&desc);
  D3D11_TEXTURE2D_DESC keptDesc{};
  if (kept_) kept_.Get()->GetDesc(&keptDesc);
  if (!kept_ || keptDesc.Width != desc.Width || keptDesc.Height != desc.Height || keptDesc.Format != desc.Format ||
      keptDesc.SampleDesc.Count != desc.SampleDesc.Count) {
    // Only ever a copy's source and destination: no binding, no access by the CPU
    // ("CopyResource": same type, size and format, neither mapped).
    D3D11_TEXTURE2D_DESC made{};
    made.Width = desc.Width;
    made.Height = desc.Height;
    made.MipLevels = 1;
    made.ArraySize = 1;
    made.Format = desc.Format;
    made.SampleDesc = desc.SampleDesc;
    made.Usage = D3D11_USAGE_DEFAULT;
    if (desc.MipLevels != 1 || desc.ArraySize != 1 ||
        FAILED(device_.Get()->CreateTexture2D(&made, nullptr, kept_.Put()))) {
      kept_.Reset();
      return false;
    }
  }
  context_.Get()->CopyResource(kept_.Get(), frame);
  // The copy is only queued: sent to the GPU now, before the frame goes back to the
  // system, after which it may no longer be used ("ReleaseFrame").
  context_.Get()->Flush();
  return true;
}

HdrFrame::Read HdrFrame::ReadArea(ID3D11Texture2D* frame, const RECT& area, float white, std::span<Pixel> pixels,
                                  std::size_t stride) noexcept {
  D3D11_TEXTURE2D_DESC desc{};
  frame->GetDesc(&desc);
  // Windows composes an HDR desktop in FP16, and an SDR one in 8 bits a channel, whose
  // bytes are already what GDI reads.
  if (desc.Format != DXGI_FORMAT_R16G16B16A16_FLOAT || desc.SampleDesc.Count != 1) return Read::kRefused;
  if (area.left < 0 || area.top < 0 || area.right <= area.left || area.bottom <= area.top ||
      static_cast<UINT>(area.right) > desc.Width || static_cast<UINT>(area.bottom) > desc.Height) {
    return Read::kRefused;
  }
  const auto width = static_cast<UINT>(area.right - area.left);
  const auto height = static_cast<UINT>(area.bottom - area.top);
  if (stride < width || pixels.size() < (height - 1) * stride + width) return Read::kRefused;
  const bool still = std::size_t{width} * height > kKeptStagingPixels;
  if (!staging_ || width > stagingWidth_ || height > stagingHeight_) {
    D3D11_TEXTURE2D_DESC staging{};
    staging.Width = width > stagingWidth_ ? width : stagingWidth_;
    staging.Height = height > stagingHeight_ ? height : stagingHeight_;
    staging.MipLevels = 1;
    staging.ArraySize = 1;
    staging.Format = DXGI_FORMAT_R16G16B16A16_FLOAT;
    staging.SampleDesc.Count = 1;
    staging.Usage = D3D11_USAGE_STAGING;
    staging.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    if (const HRESULT made = device_.Get()->CreateTexture2D(&staging, nullptr, staging_.Put()); FAILED(made)) {
      staging_.Reset();
      stagingWidth_ = 0;
      stagingHeight_ = 0;
      // No room for a still's whole monitor says nothing against the road: that still
      // goes without the monitor ("ID3D11Device::CreateTexture2D": E_OUTOFMEMORY).
      return still && made == E_OUTOFMEMORY ? Read::kBusy : Read::kRefused;
    }
    stagingWidth_ = staging.Width;
    stagingHeight_ = staging.Height;
  }
  // Only the area.
  const D3D11_BOX box{static_cast<UINT>(area.left),  static_cast<UINT>(area.top),    0,
                      static_cast<UINT>(area.right), static_cast<UINT>(area.bottom), 1};
  context_.Get()->CopySubresourceRegion(staging_.Get(), 0, 0, 0, 0, frame, 0, &box);
  // Sent to the GPU now, then mapped with D3D11_MAP_FLAG_DO_NOT_WAIT, which answers
  // DXGI_ERROR_WAS_STILL_DRAWING instead of blocking while the GPU is still at it
  // ("D3D11_MAP_FLAG", "ID3D11DeviceContext::Map").
  context_.Get()->Flush();
  D3D11_MAPPED_SUBRESOURCE mapped{};
  const LONGLONG budget = still ? kStillMapBudgetMicroseconds : kMapBudgetMicroseconds;
  const std::int64_t start = MicrosecondsNow();
  HRESULT result = DXGI_ERROR_WAS_STILL_DRAWING;
  while ((result = context_.Get()->Map(staging_.Get(), 0, D3D11_MAP_READ, D3D11_MAP_FLAG_DO_NOT_WAIT, &mapped)) ==
             DXGI_ERROR_WAS_STILL_DRAWING &&
         MicrosecondsNow() - start < budget) {
    // A still's wait sleeps rather than spin a core for up to its whole budget.
    if (still) {
      Sleep(1);
    } else {
      SwitchToThread();
    }
  }
  const Read read = SUCCEEDED(result)                       ? Read::kDone
                    : result == DXGI_ERROR_WAS_STILL_DRAWING ? Read::kBusy
                    : result == DXGI_ERROR_DEVICE_REMOVED || result == DXGI_ERROR_DEVICE_RESET ? Read::kLost
                                                                                               : Read::kRefused;
  if (read == Read::kDone) {
    Convert(mapped, width, height, white, pixels, stride);
    context_.Get()->Unmap(staging_.Get(), 0);
  }
  if (still) {
    staging_.Reset();
    stagingWidth_ = 0;
    stagingHeight_ = 0;
  }
  return read;
}

void HdrFrame::Convert(const D3D11_MAPPED_SUBRESOURCE& mapped, UINT width, UINT height, float white,
                       std::span<Pixel> pixels, std::size_t stride) noexcept {
  const auto* rows = static_cast<const unsigned char*>(mapped.pData);
  for (UINT y = 0; y < height; ++y) {
    const unsigned char* row = rows + std::size_t{y} * mapped.RowPitch;
    for (UINT x = 0; x < width; ++x) {
      std::array<std::uint16_t, 4> rgba{};
      std::memcpy(rgba.data(), row + std::size_t{x} * sizeof(rgba), sizeof(rgba));
      pixels[y * stride + x] = PixelOfScRgb(rgba, white);
    }
  }
}

}  // namespace tintelo::win
