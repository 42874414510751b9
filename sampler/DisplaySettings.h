// What a change of display settings (WM_SETTINGCHANGE) changes for the screen's copies.
// Windows sends no message of its own when a monitor's HDR state or SDR white level
// changes, only a setting change among many others: so the displays are read again, a new
// white level applies from the next copy, and only a monitor whose HDR state changed
// starts afresh, unless the monitors themselves changed.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "sampler/Screen.h"

namespace tintelo {

// One monitor as a setting change is judged: its name, where it stands, and whether it
// shows an HDR desktop.
struct DisplayState {
  std::wstring_view device;
  ScreenRect area;
  bool hdr = false;
};

// Which monitors start afresh.
struct Restarts {
  bool every = false;                    // the monitors are not those they were
  std::vector<std::wstring_view> which;  // otherwise these, by name (names from `now`)
};

[[nodiscard]] Restarts RestartsAfterSettingChange(std::span<const DisplayState> before,
                                                  std::span<const DisplayState> now);

}  // namespace tintelo
