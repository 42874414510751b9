// Measures Tintelo.exe against floor programs, round by round in one run: time to a
// visible window and memory against an empty-window program and against one with
// Tintelo's standard child windows, where Tintelo's own start-up time goes, and CPU per
// sampling tick against a program that only reads the pixel under the pointer.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

namespace {

using tintelo::e2e::WaitUntil;
using namespace std::chrono_literals;

constexpr double kSamplingSpanMs = 10000;

double Now() {
  LARGE_INTEGER counter{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

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

double CpuMs(HANDLE process, const std::string& exeName) {
  const double windows = WindowsCpuMs(process);
  return windows > 0 ? windows : LinuxCpuMs(exeName);
}

struct Running {
  HANDLE process = nullptr;
  DWORD id = 0;
  HWND window = nullptr;
};

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

// Starts a program built beside this one and waits for its window.
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

struct StartupFigures {
  double ms = 0;
  double peakKiB = 0;
  double privateKiB = 0;
};

StartupFigures MeasureStartup(const wchar_t* exe) {
  StartupFigures figures;
  Running run = Start(exe, figures.ms);
  WaitForInputIdle(run.process, 5000);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(run.process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  figures.peakKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
  figures.privateKiB = static_cast<double>(memory.PrivateUsage) / 1024.0;
  if (figures.privateKiB == 0) figures.privateKiB = LinuxPrivateKiB(tintelo::e2e::Narrow(exe));
  Stop(run);
  return figures;
}

// One start of the marked build: the milliseconds from CreateProcess to each step of its
// start-up, in the order the steps came.
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

// Sweeps the pointer over the screen for the given time; returns the span in ms.
double Sweep(double ms) {
  const double start = Now();
  double t = 0;
  while ((t = Now() - start) < ms) {
    const double angle = t / 300.0;
    tintelo::e2e::MovePointer(
        POINT{640 + static_cast<LONG>(400 * std::cos(angle)), 512 + static_cast<LONG>(400 * std::sin(angle))});
    Sleep(10);
  }
  return t;
}

double CpuPerTick(const wchar_t* exe, bool pressSwatch, double spanMs) {
  double ms = 0;
  Running run = Start(exe, ms);
  WaitForInputIdle(run.process, 5000);
  if (pressSwatch) {
    WaitUntil([&] { return GetDlgItem(run.window, tintelo::ids::kPicture1) != nullptr; });
    tintelo::e2e::MovePointer(tintelo::e2e::CentreOnScreen(GetDlgItem(run.window, tintelo::ids::kPicture1)));
    tintelo::e2e::PressButton(MOUSEEVENTF_LEFTDOWN);
  }
  const double before = CpuMs(run.process, tintelo::e2e::Narrow(exe));
  const double span = Sweep(spanMs);
  const double used = CpuMs(run.process, tintelo::e2e::Narrow(exe)) - before;
  if (pressSwatch) tintelo::e2e::ReleaseButton(MOUSEEVENTF_LEFTUP);
  Stop(run);
  return used / (span / 50.0);
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

void Row(const char* what, double floor, double tintelo) {
  std::printf("%-34s %12.2f %12.2f %8.2f\n", what, floor, tintelo, floor > 0 ? tintelo / floor : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const wchar_t* tintelo = L"Tintelo.exe";
  const wchar_t* floorSampler = L"FloorSampler.exe";
  // The empty window, Tintelo's standard child windows alone, and Tintelo.
  const std::array<const wchar_t*, 3> programs{L"FloorWindow.exe", L"FloorControls.exe", tintelo};

  std::array<std::vector<double>, 3> ms, peak, privateBytes;
  for (int i = 0; i < rounds; ++i) {
    // Each round starts with another program, so warm caches favour none.
    for (std::size_t k = 0; k < programs.size(); ++k) {
      const std::size_t which = (k + static_cast<std::size_t>(i)) % programs.size();
      const StartupFigures f = MeasureStartup(programs[which]);
      ms[which].push_back(f.ms);
      peak[which].push_back(f.peakKiB);
      privateBytes[which].push_back(f.privateKiB);
    }
  }

  // Where start-up goes: the median time from CreateProcess to each step, for the floors
  // and the marked build of Tintelo (the steps are Tintelo's; a floor has fewer).
  const std::array<const wchar_t*, 3> marked{L"FloorWindow.exe", L"FloorControls.exe", L"TinteloMarked.exe"};
  std::vector<std::string> stepNames;
  std::array<std::map<std::string, std::vector<double>>, 3> stepTimes;
  for (int i = 0; i < rounds; ++i) {
    for (std::size_t k = 0; k < marked.size(); ++k) {
      for (const auto& [step, at] : StartupSteps(marked[k])) {
        if (k == 2 && std::find(stepNames.begin(), stepNames.end(), step) == stepNames.end()) {
          stepNames.push_back(step);
        }
        stepTimes[k][step].push_back(at);
      }
    }
  }

  std::vector<double> tickFloor, tickTintelo;
  // Process times come in 10 ms steps under Wine: long spans keep that step small
  // against the total.
  for (int i = 0; i < 3; ++i) {
    tickFloor.push_back(CpuPerTick(floorSampler, false, kSamplingSpanMs));
    tickTintelo.push_back(CpuPerTick(tintelo, true, kSamplingSpanMs));
  }
  const double idle = IdleCpu(tintelo, 10000);

  std::printf("%-30s %10s %10s %10s %8s %8s\n", "median of rounds", "floor", "controls", "Tintelo", "ratio",
              "vs ctrls");
  const auto row = [&](const char* what, const std::array<std::vector<double>, 3>& values) {
    const double f = Median(values[0]), c = Median(values[1]), t = Median(values[2]);
    std::printf("%-30s %10.2f %10.2f %10.2f %8.2f %8.2f\n", what, f, c, t, t / f, t / c);
  };
  row("time to visible window (ms)", ms);
  row("peak working set (KiB)", peak);
  row("private memory (KiB)", privateBytes);
  std::printf("\n%-30s %10s %10s %10s\n", "start-up step, ms from start", "floor", "controls", "Tintelo");
  for (const std::string& step : stepNames) {
    std::printf("%-30s", step.c_str());
    for (const auto& times : stepTimes) {
      const auto found = times.find(step);
      if (found == times.end()) {
        std::printf(" %10s", "-");
      } else {
        std::printf(" %10.2f", Median(found->second));
      }
    }
    std::printf("\n");
  }
  std::printf("\n%-34s %12s %12s %8s\n", "median of runs", "floor", "Tintelo", "ratio");
  Row("CPU per sampling tick (ms)", Median(tickFloor), Median(tickTintelo));
  std::printf("%-34s %12s %12.2f\n", "CPU while idle for 10 s (ms)", "-", idle);
  std::printf("rounds: %d start-ups of each program, 3 sampling runs of %.0f s\n", rounds, kSamplingSpanMs / 1000);
  return 0;
}
