// The colours the user took during this run, newest first: kept in memory only, written
// nowhere, gone when the program ends.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "colour/Colour.h"

namespace tintelo {

class RecentColours {
 public:
  static constexpr std::size_t kMost = 12;

  // Puts the colour first; one already in the list moves up instead of showing twice,
  // and past kMost the oldest goes.
  void Take(ColourValue colour);
  [[nodiscard]] std::span<const ColourValue> Newest() const noexcept { return colours_; }

 private:
  std::vector<ColourValue> colours_;
};

}  // namespace tintelo
