// Where start-up time goes, for the program benchmark. A build made with
// TINTELO_STARTUP_MARKS records the performance counter at each step of the start and,
// once the window has painted, writes the steps to the file named by the environment
// variable TINTELO_STARTUP_MARKS. In the program users get the calls compile to nothing.
#pragma once

namespace tintelo::win {

#ifdef TINTELO_STARTUP_MARKS
void StartupMark(const char* step) noexcept;
void WriteStartupMarks() noexcept;
#else
inline void StartupMark(const char*) noexcept {}
inline void WriteStartupMarks() noexcept {}
#endif

}  // namespace tintelo::win
