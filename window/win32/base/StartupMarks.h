// Where start-up time goes, for the program benchmark. A build made with
// TINTELO_STARTUP_MARKS records the performance counter at each step of the start and,
// once the window has painted, writes the steps to the file named by the environment
// variable TINTELO_STARTUP_MARKS. It also holds the window's thread busy at each tick of
// sampling for the milliseconds TINTELO_HOLD_REFRESH_MS names, when it is set: a slow
// refresh, whose cost to the rest of the system the benchmark measures. In the program
// users get the calls compile to nothing.
#pragma once

namespace tintelo::win {

#ifdef TINTELO_STARTUP_MARKS
void StartupMark(const char* step) noexcept;
void WriteStartupMarks() noexcept;
void HoldRefresh() noexcept;
#else
inline void StartupMark(const char*) noexcept {}
inline void WriteStartupMarks() noexcept {}
inline void HoldRefresh() noexcept {}
#endif

}  // namespace tintelo::win
