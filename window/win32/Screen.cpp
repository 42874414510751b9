// The pointer position, the monitors and copies of the screen on Win32.
#include "window/win32/Screen.h"

#include <algorithm>
#include <array>
#include <cwchar>

#include "window/win32/Compat.h"
#include "window/win32/Duplication.h"

namespace tintelo::win {

namespace {

// Windows' SDR white when nothing raises it: 80 nits, scRGB 1.0.
constexpr unsigned kDefaultSdrWhiteLevel = 1000;

// A display source showing an HDR desktop: its GDI name ("\\.\DISPLAY1", as
// MONITORINFOEXW::szDevice gives it) and the brightness of its SDR white.
struct HdrSource {
  std::array<wchar_t, CCHDEVICENAME> device{};
  unsigned sdrWhiteLevel = 0;
};

// One DisplayConfigGetDeviceInfo request about a source or target of a display path.
template <typename Request>
bool DeviceInfo(Request& request, DISPLAYCONFIG_DEVICE_INFO_TYPE type, LUID adapter, UINT32 id) noexcept {
  request.header.type = type;
  request.header.size = sizeof(request);
  request.header.adapterId = adapter;
  request.header.id = id;
  return DisplayConfigGetDeviceInfo(&request.header) == ERROR_SUCCESS;
}

// The sources of the active display paths that show an HDR desktop. The display
// configuration calls are user32's from Windows 7 on; the advanced colour and SDR white
// level requests came with Windows 10 and fail before it, which leaves every desktop SDR.
std::vector<HdrSource> HdrSources() {
  std::vector<DISPLAYCONFIG_PATH_INFO> paths;
  std::vector<DISPLAYCONFIG_MODE_INFO> modes;
  LONG result = ERROR_INSUFFICIENT_BUFFER;
  // A display added between the two calls makes the second one answer
  // ERROR_INSUFFICIENT_BUFFER: ask for the sizes again ("QueryDisplayConfig").
  while (result == ERROR_INSUFFICIENT_BUFFER) {
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return {};
    paths.resize(pathCount);
    modes.resize(modeCount);
    result = QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr);
    paths.resize(pathCount);
  }
  std::vector<HdrSource> sources;
  if (result != ERROR_SUCCESS) return sources;
  for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
    DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO colour{};
    DISPLAYCONFIG_SDR_WHITE_LEVEL white{};
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    // Advanced colour with a wide gamut enforced is an SDR desktop with colour management
    // (Windows 11's Auto Color Management), whose SDR white is no brighter than GDI's.
    if (!DeviceInfo(colour, DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, path.targetInfo.adapterId,
                    path.targetInfo.id) ||
        colour.advancedColorEnabled == 0 || colour.wideColorEnforced != 0 ||
        !DeviceInfo(white, DISPLAYCONFIG_DEVICE_INFO_GET_SDR_WHITE_LEVEL, path.targetInfo.adapterId,
                    path.targetInfo.id) ||
        white.SDRWhiteLevel == 0 ||
        !DeviceInfo(source, DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, path.sourceInfo.adapterId, path.sourceInfo.id)) {
      continue;
    }
    HdrSource& hdr = sources.emplace_back();
    std::wcsncpy(hdr.device.data(), source.viewGdiDeviceName, hdr.device.size() - 1);
    hdr.sdrWhiteLevel = white.SDRWhiteLevel;
  }
  return sources;
}

struct Listing {
  std::vector<Monitor>* monitors;
  std::vector<ShownMonitor>* shown;
  std::vector<HdrSource> hdr;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  Listing& listing = *reinterpret_cast<Listing*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    // The refresh rate of the display mode the monitor shows; 0 and 1 both mean the
    // hardware's default, which says nothing ("DEVMODEW", dmDisplayFrequency).
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    const unsigned hz = EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1
                            ? mode.dmDisplayFrequency
                            : 0;
    const auto hdr = std::find_if(listing.hdr.begin(), listing.hdr.end(), [&](const HdrSource& source) {
      return std::wcscmp(source.device.data(), info.szDevice) == 0;
    });
    const unsigned sdrWhiteLevel = hdr != listing.hdr.end() ? hdr->sdrWhiteLevel : 0;
    listing.monitors->push_back(
        Monitor{ScreenRect{r.left, r.top, r.right, r.bottom}, DpiOfMonitor(monitor), hz, sdrWhiteLevel});
    ShownMonitor& shown = listing.shown->emplace_back();
    shown.area = r;
    std::wcsncpy(shown.device.data(), info.szDevice, shown.device.size() - 1);
    shown.sdrWhiteLevel = sdrWhiteLevel;
  }
  return TRUE;
}

}  // namespace

WinScreen::WinScreen() noexcept = default;
WinScreen::~WinScreen() = default;

bool WinScreen::CursorPos(ScreenPoint& point) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  point = ScreenPoint{p.x, p.y};
  return true;
}

void WinScreen::MoveCursor(ScreenPoint point) {
  // Physical pixels: the program is aware of every monitor's scale.
  SetCursorPos(point.x, point.y);
}

void WinScreen::Monitors(std::vector<Monitor>& monitors) {
  shown_.clear();
  Listing listing{&monitors, &shown_, HdrSources()};
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&listing));
}

bool WinScreen::Capture(const ScreenRect& area, std::span<Pixel> pixels) {
  const auto count = static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height());
  if (pixels.size() < count) return false;
  // One copy per refresh, through a DC of the screen taken and given back at once, so
  // nothing accumulates however long sampling runs.
  const RECT whole{area.left, area.top, area.right, area.bottom};
  if (!CopyScreen(whole, copy_)) return false;
  const std::span<const std::uint32_t> copied = copy_.Pixels();
  std::copy(copied.begin(), copied.end(), pixels.begin());
  for (const ShownMonitor& monitor : shown_) {
    // The one choice of road. GDI's copy of an HDR desktop clips it to 8 bits without
    // dividing by the SDR white level, so SDR colours come back too bright: the part of
    // the area on a monitor showing one is read again through Desktop Duplication. Where
    // that fails, GDI's pixels stay, as they do on every other monitor.
    if (!kForceDuplication && monitor.sdrWhiteLevel == 0) continue;
    RECT part{};
    if (!IntersectRect(&part, &whole, &monitor.area)) continue;
    if (!duplication_) duplication_ = std::make_unique<DesktopDuplication>();
    const auto width = static_cast<std::size_t>(area.Width());
    const auto first =
        static_cast<std::size_t>(part.top - area.top) * width + static_cast<std::size_t>(part.left - area.left);
    const unsigned white = monitor.sdrWhiteLevel != 0 ? monitor.sdrWhiteLevel : kDefaultSdrWhiteLevel;
    static_cast<void>(duplication_->Read(monitor.device.data(), part, white, pixels.subspan(first), width));
  }
  return true;
}

void WinScreen::EndCaptures() {
  // Sampling has ended: the duplications, their devices and kept frames go with it.
  duplication_.reset();
}

}  // namespace tintelo::win
