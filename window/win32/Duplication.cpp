// Desktop Duplication of HDR monitors: the outputs, their duplications and their frames.
#include "window/win32/Duplication.h"

#include <dxgi1_6.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <utility>

#include "sampler/ScRgb.h"
#include "window/win32/Compat.h"
#include "window/win32/HdrFrame.h"
#include "window/win32/RoadChoice.h"

namespace tintelo::win {

namespace {

using CreateDxgiFactory1Fn = HRESULT(WINAPI*)(REFIID, void**);

// dxgi.dll and d3d11.dll, loaded from System32 the first time a duplication is made, never
// at start-up, and kept for the program's life. Without either, GDI reads every monitor.
struct Direct3D {
  CreateDxgiFactory1Fn createFactory;
  PFN_D3D11_CREATE_DEVICE createDevice;
};

const Direct3D& Libraries() noexcept {
  static const Direct3D libraries{
      ProcAddress<CreateDxgiFactory1Fn>(LoadSystemLibrary(L"dxgi.dll"), "CreateDXGIFactory1"),
      ProcAddress<PFN_D3D11_CREATE_DEVICE>(LoadSystemLibrary(L"d3d11.dll"), "D3D11CreateDevice")};
  return libraries;
}

}  // namespace

struct DesktopDuplication::Output {
  std::array<wchar_t, CCHDEVICENAME> device{};
  // Made and checked once; false after any failure but a lost duplication, so that the
  // rest of this sampling reads the monitor through GDI without trying again each refresh.
  bool working = false;
  RECT desktop{};  // the monitor on the virtual screen, which frame pixel (0, 0) shows
  std::unique_ptr<HdrFrame> frame;
  UniqueCom<IDXGIOutputDuplication> duplication;

  // The output that shows the monitor, a device on its own adapter, and a duplication in
  // FP16 of a desktop composed in scRGB.
  [[nodiscard]] bool Make();
};

bool DesktopDuplication::Output::Make() {
  // A Remote Desktop session's desktop is the remote display driver's, not one composed
  // for this machine's monitors (SM_REMOTESESSION, "GetSystemMetrics").
  const Direct3D& direct3d = Libraries();
  if (direct3d.createFactory == nullptr || direct3d.createDevice == nullptr || GetSystemMetrics(SM_REMOTESESSION) != 0)
    return false;
  const auto factory = MadeAs<IDXGIFactory1>(direct3d.createFactory);
  if (!factory) return false;
  // The output whose GDI name is the monitor's, and the adapter it belongs to: the device
  // must be made on that adapter, or DuplicateOutput1 refuses it with E_INVALIDARG
  // ("IDXGIOutput5::DuplicateOutput1").
  UniqueCom<IDXGIAdapter1> adapter;
  UniqueCom<IDXGIOutput> output;
  for (UINT a = 0; !output && factory.Get()->EnumAdapters1(a, adapter.Put()) == S_OK; ++a) {
    UniqueCom<IDXGIOutput> candidate;
    for (UINT o = 0; adapter.Get()->EnumOutputs(o, candidate.Put()) == S_OK; ++o) {
      DXGI_OUTPUT_DESC desc{};
      if (SUCCEEDED(candidate.Get()->GetDesc(&desc)) && std::wcscmp(desc.DeviceName, device.data()) == 0) {
        desktop = desc.DesktopCoordinates;
        output = std::move(candidate);
        break;
      }
    }
  }
  UniqueCom<ID3D11Device> d3d;
  UniqueCom<IDXGIOutput5> output5;
  constexpr std::array<DXGI_FORMAT, 2> kFormats{DXGI_FORMAT_R16G16B16A16_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM};
  if (!output ||
      FAILED(direct3d.createDevice(adapter.Get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_SINGLETHREADED,
                                   nullptr, 0, D3D11_SDK_VERSION, d3d.Put(), nullptr, nullptr)) ||
      !(output5 = Query<IDXGIOutput5>(output.Get())) ||
      FAILED(output5.Get()->DuplicateOutput1(d3d.Get(), 0, static_cast<UINT>(kFormats.size()), kFormats.data(),
                                             duplication.Put()))) {
    return false;
  }
  // Only a desktop composed in linear scRGB is converted (RoadChoice.h).
  const auto output6 = Query<IDXGIOutput6>(output.Get());
  DXGI_OUTPUT_DESC1 described{};
  if (!output6 || FAILED(output6.Get()->GetDesc1(&described)) || !ConvertsDesktop(described.ColorSpace)) return false;
  // A rotated monitor's frames come unrotated ("DXGI_OUTDUPL_DESC"): its pixels would lie
  // elsewhere in them.
  DXGI_OUTDUPL_DESC described2{};
  duplication.Get()->GetDesc(&described2);
  if (described2.Rotation != DXGI_MODE_ROTATION_IDENTITY && described2.Rotation != DXGI_MODE_ROTATION_UNSPECIFIED)
    return false;
  frame = std::make_unique<HdrFrame>(d3d.Get());
  return true;
}

DesktopDuplication::DesktopDuplication() noexcept = default;
DesktopDuplication::~DesktopDuplication() = default;

bool DesktopDuplication::Read(const wchar_t* device, const RECT& part, unsigned sdrWhiteLevel, std::span<Pixel> pixels,
                              std::size_t stride) {
  auto found = std::find_if(outputs_.begin(), outputs_.end(), [device](const std::unique_ptr<Output>& output) {
    return std::wcscmp(output->device.data(), device) == 0;
  });
  if (found == outputs_.end()) {
    auto output = std::make_unique<Output>();
    std::wcsncpy(output->device.data(), device, output->device.size() - 1);
    output->working = output->Make();
    if (!output->working) output->duplication.Reset();
    found = outputs_.insert(outputs_.end(), std::move(output));
  }
  Output& output = **found;
  if (!output.working) return false;

  // No wait: a refresh with no new frame reads the last one kept.
  DXGI_OUTDUPL_FRAME_INFO info{};
  UniqueCom<IDXGIResource> resource;
  const HRESULT acquired = output.duplication.Get()->AcquireNextFrame(0, &info, resource.Put());
  if (acquired == DXGI_ERROR_ACCESS_LOST) {
    // A desktop switch, a change of mode or a full-screen program: this duplication is
    // done and a new one is made at the next refresh ("IDXGIOutputDuplication::AcquireNextFrame").
    outputs_.erase(found);
    return false;
  }
  if (acquired == S_OK) {
    // A frame that only moves the pointer leaves the desktop image as it was, and says so
    // with a LastPresentTime of 0 ("DXGI_OUTDUPL_FRAME_INFO").
    bool kept = true;
    if (info.LastPresentTime.QuadPart != 0) {
      const auto texture = Query<ID3D11Texture2D>(resource.Get());
      kept = texture && output.frame->Keep(texture.Get());
    }
    resource.Reset();
    output.duplication.Get()->ReleaseFrame();
    output.working = kept;
  } else if (acquired != DXGI_ERROR_WAIT_TIMEOUT) {
    output.working = false;
  }
  if (!output.working) return false;
  const RECT inFrame{part.left - output.desktop.left, part.top - output.desktop.top, part.right - output.desktop.left,
                     part.bottom - output.desktop.top};
  return output.frame->Read(inFrame, ScRgbOfWhiteLevel(sdrWhiteLevel), pixels, stride);
}

}  // namespace tintelo::win
