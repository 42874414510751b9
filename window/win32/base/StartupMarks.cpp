// The start-up marks of the benchmark build: one line per step, "step milliseconds", the
// milliseconds read from the performance counter every process shares.
#include "window/win32/base/StartupMarks.h"

#ifdef TINTELO_STARTUP_MARKS

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "window/win32/base/Clock.h"

namespace tintelo::win {

namespace {

struct Mark {
  const char* step;
  LONGLONG counter;
};

constexpr std::size_t kMostMarks = 16;
std::array<Mark, kMostMarks> marks{};
std::size_t markCount = 0;

}  // namespace

void StartupMark(const char* step) noexcept {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  if (markCount < kMostMarks) marks[markCount++] = Mark{step, now.QuadPart};
}

void WriteStartupMarks() noexcept {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TINTELO_STARTUP_MARKS", path, MAX_PATH) == 0) return;
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  FILE* out = _wfopen(path, L"w");
  if (out == nullptr) return;
  for (std::size_t i = 0; i < markCount; ++i) {
    std::fprintf(out, "%s %.3f\n", marks[i].step,
                 static_cast<double>(marks[i].counter) * 1000.0 / static_cast<double>(frequency.QuadPart));
  }
  std::fclose(out);
}

void HoldRefresh() noexcept {
  static const double holdMs = [] {
    wchar_t text[16] = {};
    return GetEnvironmentVariableW(L"TINTELO_HOLD_REFRESH_MS", text, 16) == 0 ? 0.0 : _wtof(text);
  }();
  if (holdMs <= 0) return;
  // Busy, not asleep: a refresh that copies the screen keeps a core at work.
  const std::int64_t until = MicrosecondsNow() + static_cast<std::int64_t>(holdMs * 1000.0);
  while (MicrosecondsNow() < until) {
  }
}

}  // namespace tintelo::win

#endif
