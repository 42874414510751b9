// What the program benchmark measures of a process, on Windows and under Wine (whose
// GetProcessTimes and private bytes read 0, so Linux's own account is read instead):
// starting a program beside the benchmark and waiting for its window, its CPU time, its
// memory after start-up, the steps of the marked build's start-up, its CPU while idle;
// and the medians and percentiles the figures are given as.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tintelo::bench {

// Milliseconds on the performance counter.
[[nodiscard]] double Now();
// The process's CPU time in ms, from Windows or, under Wine, from Linux.
[[nodiscard]] double CpuMs(HANDLE process, const std::string& exeName);

struct Running {
  HANDLE process = nullptr;
  DWORD id = 0;
  HWND window = nullptr;
};

// Starts a program built beside this one and waits for its window.
[[nodiscard]] Running Start(const wchar_t* name, double& msToVisible);
void Stop(Running& run);

struct StartupFigures {
  double ms = 0;
  double peakKiB = 0;
  double privateKiB = 0;
};

// One start: the time to a visible window and the memory then.
[[nodiscard]] StartupFigures MeasureStartup(const wchar_t* exe);
// One start of the marked build: the milliseconds from CreateProcess to each step of its
// start-up, in the order the steps came.
[[nodiscard]] std::vector<std::pair<std::string, double>> StartupSteps(const wchar_t* exe);
// The process's private memory in KiB now, from Windows or, under Wine, from Linux.
[[nodiscard]] double PrivateKiB(HANDLE process, const std::string& exeName);
// CPU in ms over `spanMs` of a program left alone after its first paint.
[[nodiscard]] double IdleCpu(const wchar_t* exe, double spanMs);

[[nodiscard]] double Median(std::vector<double> values);
// The value below which `share` of the values lie (nearest rank).
[[nodiscard]] double Percentile(std::vector<double> values, double share);

}  // namespace tintelo::bench
