// What a change of display settings (WM_SETTINGCHANGE) changes for the screen's copies.
// Windows sends no message of its own when a monitor's HDR state or SDR white level
// changes, only a setting change among many others: so the displays are read again, a new
// white level applies from the next copy, and only a monitor whose HDR state changed
// starts afresh, unless the monitors themselves changed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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
  bool every = false;       // the monitors are not those they were
  std::uint64_t which = 0;  // otherwise these: bit i for the i-th monitor of `now`
};

// `state` gives each display's DisplayState, so that the caller's own records are judged
// as they are, with no list made for it.
template <typename Display, typename State>
[[nodiscard]] Restarts RestartsAfterSettingChange(std::span<const Display> before, std::span<const Display> now,
                                                  State state) {
  Restarts restarts;
  restarts.every = before.size() != now.size() || now.size() > 64;
  for (std::size_t i = 0; i < now.size() && !restarts.every; ++i) {
    const DisplayState is = state(now[i]);
    const auto was =
        std::find_if(before.begin(), before.end(), [&](const Display& old) { return state(old).device == is.device; });
    if (was == before.end() || state(*was).area != is.area) {
      restarts.every = true;
    } else if (state(*was).hdr != is.hdr) {
      restarts.which |= std::uint64_t{1} << i;
    }
  }
  if (restarts.every) restarts.which = 0;
  return restarts;
}

}  // namespace tintelo
