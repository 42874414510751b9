// Desktop Duplication of HDR monitors: the outputs, their duplications and their frames.
#include "window/win32/screen/Duplication.h"

#include <dxgi1_6.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cwchar>
#include <utility>

#include "sampler/RoadTries.h"
#include "sampler/ScRgb.h"
#include "window/win32/base/Compat.h"
#include "window/win32/screen/HdrFrame.h"
#include "window/win32/screen/RoadChoice.h"

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

// Whether the session's input desktop is this thread's own. The secure desktop (a UAC
// prompt, the lock screen) cannot even be opened by the user's programs
// ("OpenInputDesktop"), which then answers null.
bool InputDesktopIsOwn() noexcept {
  HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (input == nullptr) return false;
  std::array<wchar_t, 64> inputName{};
  std::array<wchar_t, 64> ownName{};
  const bool same =
      GetUserObjectInformationW(input, UOI_NAME, inputName.data(), sizeof(inputName) - sizeof(wchar_t), nullptr) &&
      GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, ownName.data(),
                                sizeof(ownName) - sizeof(wchar_t), nullptr) &&
      std::wcscmp(inputName.data(), ownName.data()) == 0;
  CloseDesktop(input);
  return same;
}

// Copies `height` rows of `width` pixels, each `fromStride` apart in `from` and
// `toStride` apart in `to`.
void CopyRows(std::span<const Pixel> from, std::size_t fromStride, std::span<Pixel> to, std::size_t toStride,
              std::size_t width, std::size_t height) {
  for (std::size_t y = 0; y < height; ++y) {
    std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(y * fromStride), width,
                to.begin() + static_cast<std::ptrdiff_t>(y * toStride));
  }
}

}  // namespace

struct DesktopDuplication::Output {
  std::array<wchar_t, CCHDEVICENAME> device{};
  RoadTries tries;
  RECT desktop{};  // the monitor on the virtual screen, which frame pixel (0, 0) shows
  DXGI_COLOR_SPACE_TYPE colourSpace = DXGI_COLOR_SPACE_RESERVED;
  std::unique_ptr<HdrFrame> frame;
  UniqueCom<IDXGIOutputDuplication> duplication;
  UniqueCom<ID3D11Texture2D> held;  // the frame acquired last, until the next acquire
  // The last area read and its pixels, row by row: a refresh with no new frame finds
  // the monitor as it was, the pointer included.
  RECT lastPart{};
  std::vector<Pixel> last;

  // The output that shows the monitor, a device on its own adapter, and a duplication in
  // FP16 of a desktop composed in scRGB: S_OK; the failing call's error; or S_FALSE for a
  // desktop this road does not read (Remote Desktop, another encoding, a rotation).
  [[nodiscard]] HRESULT Make();
  // The frame held goes back to the system.
  void Release() noexcept {
    if (!held) return;
    held.Reset();
    duplication.Get()->ReleaseFrame();
  }
  void Drop() noexcept {
    Release();
    duplication.Reset();
    frame.reset();
    last.clear();
  }
};

HRESULT DesktopDuplication::Output::Make() {
  // A Remote Desktop session's desktop is the remote display driver's, not one composed
  // for this machine's monitors (SM_REMOTESESSION, "GetSystemMetrics").
  const Direct3D& direct3d = Libraries();
  if (direct3d.createFactory == nullptr || direct3d.createDevice == nullptr) return E_NOINTERFACE;
  if (GetSystemMetrics(SM_REMOTESESSION) != 0) return S_FALSE;
  const auto factory = MadeAs<IDXGIFactory1>(direct3d.createFactory);
  if (!factory) return E_NOINTERFACE;
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
  if (!output) return DXGI_ERROR_NOT_FOUND;
  UniqueCom<ID3D11Device> d3d;
  HRESULT result =
      direct3d.createDevice(adapter.Get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_SINGLETHREADED,
                            nullptr, 0, D3D11_SDK_VERSION, d3d.Put(), nullptr, nullptr);
  if (FAILED(result)) return result;
  const auto output5 = Query<IDXGIOutput5>(output.Get());
  if (!output5) return E_NOINTERFACE;
  constexpr std::array<DXGI_FORMAT, 2> kFormats{DXGI_FORMAT_R16G16B16A16_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM};
  result = output5.Get()->DuplicateOutput1(d3d.Get(), 0, static_cast<UINT>(kFormats.size()), kFormats.data(),
                                           duplication.Put());
  if (FAILED(result)) return result;
  // Only a desktop composed in linear scRGB is converted (RoadChoice.h).
  const auto output6 = Query<IDXGIOutput6>(output.Get());
  DXGI_OUTPUT_DESC1 described{};
  if (!output6 || FAILED(output6.Get()->GetDesc1(&described))) return E_NOINTERFACE;
  colourSpace = described.ColorSpace;
  if (!ConvertsDesktop(described.ColorSpace)) return S_FALSE;
  // A rotated monitor's frames come unrotated ("DXGI_OUTDUPL_DESC"): its pixels would lie
  // elsewhere in them.
  DXGI_OUTDUPL_DESC described2{};
  duplication.Get()->GetDesc(&described2);
  if (described2.Rotation != DXGI_MODE_ROTATION_IDENTITY && described2.Rotation != DXGI_MODE_ROTATION_UNSPECIFIED)
    return S_FALSE;
  frame = std::make_unique<HdrFrame>(d3d.Get());
  return S_OK;
}

DesktopDuplication::DesktopDuplication() noexcept = default;
DesktopDuplication::~DesktopDuplication() {
  for (const auto& output : outputs_) output->Release();
}

void DesktopDuplication::EndReads() noexcept {
  for (const auto& output : outputs_) output->Release();
}

bool DesktopDuplication::Read(const wchar_t* device, const RECT& part, unsigned sdrWhiteLevel, std::span<Pixel> pixels,
                              std::size_t stride) {
  auto found = std::find_if(outputs_.begin(), outputs_.end(), [device](const std::unique_ptr<Output>& output) {
    return std::wcscmp(output->device.data(), device) == 0;
  });
  if (found == outputs_.end()) {
    auto output = std::make_unique<Output>();
    std::wcsncpy(output->device.data(), device, output->device.size() - 1);
    found = outputs_.insert(outputs_.end(), std::move(output));
  }
  Output& output = **found;
  if (!output.tries.Working()) {
    if (!output.tries.ShouldTry(InputDesktopIsOwn)) return false;
    last_ = Answer{output.Make(), output.colourSpace};
    const bool made = last_.result == S_OK;
    output.tries.Tried(made, made || InputDesktopIsOwn());
    if (!made) {
      output.Drop();
      return false;
    }
  }

  // The frame held since the last read goes back just before the next is asked for, as
  // Microsoft recommends: while the program holds it, the system need not copy the
  // desktop's updates into it ("IDXGIOutputDuplication::AcquireNextFrame"). No wait.
  output.Release();
  DXGI_OUTDUPL_FRAME_INFO info{};
  UniqueCom<IDXGIResource> resource;
  const HRESULT acquired = output.duplication.Get()->AcquireNextFrame(0, &info, resource.Put());
  const auto width = static_cast<std::size_t>(part.right - part.left);
  const auto height = static_cast<std::size_t>(part.bottom - part.top);
  if (acquired == DXGI_ERROR_WAIT_TIMEOUT) {
    // Nothing on the monitor has changed since the last frame, the pointer included.
    if (!EqualRect(&part, &output.lastPart) || output.last.size() != width * height) return false;
    CopyRows(output.last, width, pixels, stride, width, height);
    return true;
  }
  if (acquired != S_OK) last_.result = acquired;
  if (FAILED(acquired)) {
    // DXGI_ERROR_ACCESS_LOST: a desktop switch, a change of mode or a full-screen program;
    // this duplication is done and a new one is made at the next read. Any other failure
    // leaves the monitor to GDI until something changes.
    output.Drop();
    if (acquired == DXGI_ERROR_ACCESS_LOST) {
      output.tries.Lost();
    } else {
      output.tries.Failed();
    }
    return false;
  }
  output.held = Query<ID3D11Texture2D>(resource.Get());
  if (!output.held) {
    output.duplication.Get()->ReleaseFrame();
    output.Drop();
    output.tries.Failed();
    return false;
  }
  const RECT inFrame{part.left - output.desktop.left, part.top - output.desktop.top, part.right - output.desktop.left,
                     part.bottom - output.desktop.top};
  switch (output.frame->ReadArea(output.held.Get(), inFrame, ScRgbOfWhiteLevel(sdrWhiteLevel), pixels, stride)) {
    case HdrFrame::Read::kBusy: output.last.clear(); return false;
    case HdrFrame::Read::kRefused:
      last_.result = S_FALSE;
      output.Drop();
      output.tries.Failed();
      return false;
    case HdrFrame::Read::kDone: break;
  }
  output.lastPart = part;
  output.last.resize(width * height);
  CopyRows(pixels, stride, output.last, width, width, height);
  return true;
}

}  // namespace tintelo::win
