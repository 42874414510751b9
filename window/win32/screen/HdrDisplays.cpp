// HDR detection through the display configuration.
#include "window/win32/screen/HdrDisplays.h"

#include <cwchar>
#include <optional>

#include "sampler/HdrQuery.h"

namespace tintelo::win {

namespace {

// The query that tells HDR from Auto Color Management, from Windows 11 24H2 on, and its
// answer, laid out as wingdi.h of the Windows SDK 10.0.26100 has them
// (DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO_2, DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO_2);
// mingw-w64's headers do not have them yet. Earlier systems refuse the type with
// ERROR_INVALID_PARAMETER, and the older query answers.
constexpr auto kGetAdvancedColourInfo2 = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(15);
struct AdvancedColourInfo2 {
  DISPLAYCONFIG_DEVICE_INFO_HEADER header;
  UINT32 value;  // advancedColorSupported, advancedColorActive, ... as bit fields
  DISPLAYCONFIG_COLOR_ENCODING colorEncoding;
  UINT32 bitsPerColorChannel;
  UINT32 activeColorMode;  // DISPLAYCONFIG_ADVANCED_COLOR_MODE
};
static_assert(sizeof(AdvancedColourInfo2) == 36);

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
// desktop SDR. Which advanced colour query decides: sampler/HdrQuery.h.
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
    const LUID adapter = path.targetInfo.adapterId;
    const UINT32 target = path.targetInfo.id;
    const auto askMode = [&]() -> std::optional<ColourMode> {
      AdvancedColourInfo2 info{};
      if (!DeviceInfo(info, kGetAdvancedColourInfo2, adapter, target)) return std::nullopt;
      return static_cast<ColourMode>(info.activeColorMode);
    };
    const auto askLegacy = [&]() -> std::optional<LegacyColourAnswer> {
      DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO info{};
      if (!DeviceInfo(info, DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, adapter, target)) return std::nullopt;
      return LegacyColourAnswer{info.advancedColorEnabled != 0, info.wideColorEnforced != 0};
    };
    DISPLAYCONFIG_SDR_WHITE_LEVEL white{};
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    if (!ShowsHdr(askMode, askLegacy) ||
        !DeviceInfo(white, DISPLAYCONFIG_DEVICE_INFO_GET_SDR_WHITE_LEVEL, adapter, target) ||
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
