// Which monitors a change of display settings starts afresh.
#include "sampler/DisplaySettings.h"

#include <algorithm>

namespace tintelo {

Restarts RestartsAfterSettingChange(std::span<const DisplayState> before, std::span<const DisplayState> now) {
  Restarts restarts;
  if (before.size() != now.size()) {
    restarts.every = true;
    return restarts;
  }
  for (const DisplayState& display : now) {
    const auto was = std::find_if(before.begin(), before.end(),
                                  [&display](const DisplayState& old) { return old.device == display.device; });
    if (was == before.end() || was->area != display.area) {
      restarts.every = true;
      restarts.which.clear();
      return restarts;
    }
    if (was->hdr != display.hdr) restarts.which.push_back(display.device);
  }
  return restarts;
}

}  // namespace tintelo
