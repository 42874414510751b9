#include "window/RecentColours.h"

#include <algorithm>

namespace tintelo {

void RecentColours::Take(ColourValue colour) {
  auto found = std::find(colours_.begin(), colours_.end(), colour);
  if (found == colours_.end()) {
    if (colours_.size() < kMost) colours_.push_back(colour);
    found = colours_.end() - 1;
  }
  // The colour found (or the oldest, which a new one replaces) becomes the first.
  *found = colour;
  std::rotate(colours_.begin(), found, found + 1);
}

}  // namespace tintelo
