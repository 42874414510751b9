// Process measures for the program benchmark.
#include "bench/win/ProcessMeasures.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "e2e/Driver.h"

namespace tintelo::bench {

namespace {

using tintelo::e2e::WaitUntil;

double WindowsCpuMs(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Linux's folder for the process running `exeName`, seen through Wine's Z: drive, or "".
std::string LinuxProcessFolder(const std::string& exeName) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string folder;
  do {
    if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
    const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
    if (ReadWhole(dir + "\\cmdline").find(exeName) != std::string::npos) folder = dir;
  } while (folder.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return folder;
}

// Wine's GetProcessTimes reports no CPU time at all, so under Wine the time is read
// from Linux's own account of the process (user and system time, in 10 ms ticks).
double LinuxCpuMs(const std::string& exeName) {
  const std::string folder = LinuxProcessFolder(exeName);
  if (folder.empty()) return 0;
  const std::string stat = ReadWhole(folder + "\\stat");
  const std::size_t after = stat.rfind(')');
  if (after == std::string::npos) return 0;
  std::istringstream fields(stat.substr(after + 2));
  std::string field;
  unsigned long long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stoull(field);
    if (i == 15) system = std::stoull(field);
  }
  return static_cast<double>(user + system) * 10.0;
}

// Wine reports no private bytes either: Linux's count of the pages only this process
// maps (clean and dirty), in KiB.
double LinuxPrivateKiB(const std::string& exeName) {
  const std::string folder = LinuxProcessFolder(exeName);
  if (folder.empty()) return 0;
  std::istringstream lines(ReadWhole(folder + "\\smaps_rollup"));
  std::string key;
  double kib = 0;
  double total = 0;
  std::string unit;
  while (lines >> key) {
    if (key == "Private_Clean:" || key == "Private_Dirty:") {
      lines >> kib >> unit;
      total += kib;
    }
  }
  return total;
}

struct FindData {
  DWORD id;
  HWND found;
};

HWND VisibleWindowOf(DWORD id) {
  FindData data{id, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* d = reinterpret_cast<FindData*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == d->id && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
          d->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.found;
}

}  // namespace

double Now() {
  LARGE_INTEGER counter{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double CpuMs(HANDLE process, const std::string& exeName) {
  const double windows = WindowsCpuMs(process);
  return windows > 0 ? windows : LinuxCpuMs(exeName);
}

Running Start(const wchar_t* name, double& msToVisible) {
  Running run;
  const double start = Now();
  run.process = tintelo::e2e::StartProgram(name);
  if (run.process == nullptr) {
    std::fwprintf(stderr, L"cannot start %ls\n", name);
    std::exit(1);
  }
  run.id = GetProcessId(run.process);
  // Polled tightly: the figure is the time until the window can be seen.
  while ((run.window = VisibleWindowOf(run.id)) == nullptr && Now() - start < 20000) Sleep(0);
  msToVisible = Now() - start;
  return run;
}

void Stop(Running& run) {
  PostMessageW(run.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(run.process, 10000) != WAIT_OBJECT_0) TerminateProcess(run.process, 1);
  CloseHandle(run.process);
  run = {};
}

StartupFigures MeasureStartup(const wchar_t* exe) {
  StartupFigures figures;
  Running run = Start(exe, figures.ms);
  WaitForInputIdle(run.process, 5000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(run.process, &memory, sizeof(memory));
  figures.peakKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
  figures.privateKiB = PrivateKiB(run.process, tintelo::e2e::Narrow(exe));
  Stop(run);
  return figures;
}

double PrivateKiB(HANDLE process, const std::string& exeName) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  const double windows = static_cast<double>(memory.PrivateUsage) / 1024.0;
  return windows > 0 ? windows : LinuxPrivateKiB(exeName);
}

std::vector<std::pair<std::string, double>> StartupSteps(const wchar_t* exe) {
  wchar_t folder[MAX_PATH] = {};
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"tim", 0, path);
  DeleteFileW(path);
  SetEnvironmentVariableW(L"TINTELO_STARTUP_MARKS", path);
  const double before = Now();
  double ms = 0;
  Running run = Start(exe, ms);
  WaitUntil([&] { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; });
  Stop(run);
  SetEnvironmentVariableW(L"TINTELO_STARTUP_MARKS", nullptr);
  std::vector<std::pair<std::string, double>> steps;
  std::istringstream lines(ReadWhole(tintelo::e2e::Narrow(path)));
  std::string step;
  double at = 0;
  while (lines >> step >> at) steps.emplace_back(step, at - before);
  steps.emplace_back("seen-visible", ms);  // when the bench saw the window visible
  DeleteFileW(path);
  return steps;
}

double IdleCpu(const wchar_t* exe, double spanMs) {
  double ms = 0;
  Running run = Start(exe, ms);
  WaitForInputIdle(run.process, 5000);
  Sleep(1000);  // past the first paint
  const double before = CpuMs(run.process, tintelo::e2e::Narrow(exe));
  Sleep(static_cast<DWORD>(spanMs));
  const double used = CpuMs(run.process, tintelo::e2e::Narrow(exe)) - before;
  Stop(run);
  return used;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
  return values.at(std::max<std::size_t>(rank, 1) - 1);
}

}  // namespace tintelo::bench
