// The performance counter in microseconds: GetTickCount moves in steps of the system's
// timer, about 16 ms, as long as a whole refresh of the monitor.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tintelo::win {

// Whole seconds and the rest apart: the counter times a million overflows 64 bits after
// about ten days of uptime at a 10 MHz counter.
[[nodiscard]] inline std::int64_t MicrosecondsNow() noexcept {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency;
}

}  // namespace tintelo::win
