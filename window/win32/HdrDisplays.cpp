// HDR detection through the display configuration.
#include "window/win32/HdrDisplays.h"

#include <cwchar>

namespace tintelo::win {

namespace {

// One DisplayConfigGetDeviceInfo request about a source or target of a display path.
template <typename Request>
bool DeviceInfo(Request& request, DISPLAYCONFIG_DEVICE_INFO_TYPE type, LUID adapter, UINT32 id) noexcept {
  request.header.type = type;
  request.header.size = sizeof(request);
  request.header.adapterId = adapter;
  request.header.id = id;
  return DisplayConfigGetDeviceInfo(&request.header) == ERROR_SUCCESS;
}

}  // namespace

// The display configuration calls are user32's from Windows 7 on; the advanced colour and
// SDR white level requests came with Windows 10 and fail before it, which leaves every
// desktop SDR.
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

}  // namespace tintelo::win
