// Desktop Duplication of HDR monitors: the outputs, their duplications and their frames.
#include "window/win32/screen/Duplication.h"

#include <dxgi1_6.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cwchar>
#include <memory>
#include <optional>
#include <utility>

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

}  // namespace

// One monitor: its duplication, and the desktop image kept from its frames.
struct DesktopDuplication::Output final : MonitorDuplication {
  explicit Output(Answer& answered) noexcept : answer(&answered) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() { Release(); }

  std::optional<FrameMode> Make() override;
  bool OnOwnDesktop() override { return InputDesktopIsOwn(); }
  Frame Next() override;
  FrameMode ShownMode() override;
  Copy CopyKept(const ScreenRect& area, unsigned sdrWhiteLevel, std::span<Pixel> pixels, std::size_t stride) override;
  void LetGo() noexcept override {
    Release();
    duplication.Reset();
    device3d.Reset();
  }
  void ForgetImage() noexcept override { kept.reset(); }

  // The output that shows the monitor, a device on its own adapter, and a duplication in
  // FP16 of a desktop composed in scRGB: S_OK; the failing call's error; or S_FALSE for a
  // desktop this road does not read (Remote Desktop, another encoding, a rotation).
  [[nodiscard]] HRESULT MakeDuplication(FrameMode& mode);
  // The frame held goes back to the system.
  void Release() noexcept {
    if (!held) return;
    held.Reset();
    duplication.Get()->ReleaseFrame();
  }

  std::array<wchar_t, CCHDEVICENAME> device{};
  KeptImageReads reads;
  Answer* answer;  // what the system last answered, for the probe of a desktop
  DXGI_COLOR_SPACE_TYPE colourSpace = DXGI_COLOR_SPACE_RESERVED;
  UniqueCom<ID3D11Device> device3d;  // the duplication's
  UniqueCom<IDXGIOutputDuplication> duplication;
  UniqueCom<ID3D11Texture2D> held;  // the frame acquired last, until the next acquire
  // The latest desktop image, on the device of the duplication that handed it over, which
  // may be one lost since: it serves until the next one brings an image of its own.
  std::unique_ptr<HdrFrame> kept;
};

std::optional<FrameMode> DesktopDuplication::Output::Make() {
  FrameMode mode;
  *answer = Answer{MakeDuplication(mode), colourSpace};
  if (answer->result != S_OK) return std::nullopt;
  return mode;
}

HRESULT DesktopDuplication::Output::MakeDuplication(FrameMode& mode) {
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
        const RECT& r = desc.DesktopCoordinates;
        mode.desktop = ScreenRect{r.left, r.top, r.right, r.bottom};
        output = std::move(candidate);
        break;
      }
    }
  }
  if (!output) return DXGI_ERROR_NOT_FOUND;
  HRESULT result =
      direct3d.createDevice(adapter.Get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_SINGLETHREADED,
                            nullptr, 0, D3D11_SDK_VERSION, device3d.Put(), nullptr, nullptr);
  if (FAILED(result)) return result;
  const auto output5 = Query<IDXGIOutput5>(output.Get());
  if (!output5) return E_NOINTERFACE;
  constexpr std::array<DXGI_FORMAT, 2> kFormats{DXGI_FORMAT_R16G16B16A16_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM};
  result = output5.Get()->DuplicateOutput1(device3d.Get(), 0, static_cast<UINT>(kFormats.size()), kFormats.data(),
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
  mode.quarterTurns = 0;
  return S_OK;
}

MonitorDuplication::Frame DesktopDuplication::Output::Next() {
  // The frame held since the last read goes back just before the next is asked for, as
  // Microsoft recommends: while the program holds it, the system need not copy the
  // desktop's updates into it ("IDXGIOutputDuplication::AcquireNextFrame"). No wait.
  Release();
  DXGI_OUTDUPL_FRAME_INFO info{};
  UniqueCom<IDXGIResource> resource;
  const HRESULT acquired = duplication.Get()->AcquireNextFrame(0, &info, resource.Put());
  if (acquired != S_OK) answer->result = acquired;
  // Nothing on the monitor has changed since the last frame, the pointer included.
  if (acquired == DXGI_ERROR_WAIT_TIMEOUT) return Frame::kSameImage;
  // A desktop switch, a change of mode or a full-screen program, or the device removed or
  // reset (a driver update, a GPU reset): this duplication is done, another is made.
  if (acquired == DXGI_ERROR_ACCESS_LOST || acquired == DXGI_ERROR_DEVICE_REMOVED ||
      acquired == DXGI_ERROR_DEVICE_RESET) {
    return Frame::kLost;
  }
  if (FAILED(acquired)) return Frame::kFailed;
  held = Query<ID3D11Texture2D>(resource.Get());
  if (!held) {
    duplication.Get()->ReleaseFrame();
    return Frame::kFailed;
  }
  // A frame with no time for the desktop's last update brings only the pointer's
  // ("DXGI_OUTDUPL_FRAME_INFO", LastPresentTime): the pixels are the kept image's.
  if (info.LastPresentTime.QuadPart == 0) return Frame::kSameImage;
  if (!kept || kept->Device() != device3d.Get()) kept = std::make_unique<HdrFrame>(device3d.Get());
  return kept->Keep(held.Get()) ? Frame::kNewImage : Frame::kFailed;
}

FrameMode DesktopDuplication::Output::ShownMode() {
  // The display mode the monitor shows now: where it stands, its size, which way it is
  // turned ("DEVMODEW": dmPosition, dmPelsWidth, dmDisplayOrientation, DMDO_DEFAULT to
  // DMDO_270 in quarter turns).
  DEVMODEW shown{};
  shown.dmSize = sizeof(shown);
  if (!EnumDisplaySettingsW(device.data(), ENUM_CURRENT_SETTINGS, &shown)) return FrameMode{};
  const LONG left = shown.dmPosition.x;
  const LONG top = shown.dmPosition.y;
  return FrameMode{
      ScreenRect{left, top, left + static_cast<LONG>(shown.dmPelsWidth), top + static_cast<LONG>(shown.dmPelsHeight)},
      static_cast<int>(shown.dmDisplayOrientation)};
}

MonitorDuplication::Copy DesktopDuplication::Output::CopyKept(const ScreenRect& area, unsigned sdrWhiteLevel,
                                                              std::span<Pixel> pixels, std::size_t stride) {
  if (!kept) return Copy::kRefused;
  const RECT inFrame{area.left, area.top, area.right, area.bottom};
  switch (kept->ReadKept(inFrame, ScRgbOfWhiteLevel(sdrWhiteLevel), pixels, stride)) {
    case HdrFrame::Read::kDone: return Copy::kDone;
    case HdrFrame::Read::kBusy: return Copy::kBusy;
    case HdrFrame::Read::kLost: return Copy::kLost;
    case HdrFrame::Read::kRefused: break;
  }
  answer->result = S_FALSE;
  return Copy::kRefused;
}

DesktopDuplication::DesktopDuplication() noexcept = default;
DesktopDuplication::~DesktopDuplication() = default;

void DesktopDuplication::EndReads() noexcept {
  for (const auto& output : outputs_) output->Release();
}

std::vector<std::unique_ptr<DesktopDuplication::Output>>::iterator DesktopDuplication::Find(const wchar_t* device) {
  return std::find_if(outputs_.begin(), outputs_.end(), [device](const std::unique_ptr<Output>& output) {
    return std::wcscmp(output->device.data(), device) == 0;
  });
}

void DesktopDuplication::Forget(const wchar_t* device) noexcept {
  if (const auto found = Find(device); found != outputs_.end()) outputs_.erase(found);
}

AreaRead DesktopDuplication::Read(const wchar_t* device, const RECT& part, unsigned sdrWhiteLevel,
                                  std::span<Pixel> pixels, std::size_t stride) {
  auto found = Find(device);
  if (found == outputs_.end()) {
    auto output = std::make_unique<Output>(last_);
    std::wcsncpy(output->device.data(), device, output->device.size() - 1);
    found = outputs_.insert(outputs_.end(), std::move(output));
  }
  Output& output = **found;
  return output.reads.Read(output, ScreenRect{part.left, part.top, part.right, part.bottom}, sdrWhiteLevel, pixels,
                           stride);
}

}  // namespace tintelo::win
