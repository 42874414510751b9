// Measures Tintelo.exe against floor programs, round by round in one run: time to a
// visible window and memory against an empty-window program and against one with
// Tintelo's standard child windows, where Tintelo's own start-up time goes, and CPU per
// sampling tick against a program that only reads the pixel under the pointer. With an
// earlier build beside it as TinteloBefore.exe (scripts/bench.sh makes one from a
// revision), that build is measured in the same rounds, and so are the sampler's own
// figures: the time from a pointer move to the readout that shows it, and CPU per
// refresh with the smallest and the largest averaged area. Run as "hook", what the click
// hook costs every other program's pointer (MoveArrivals), in a process of its own, so
// that the driver's own pointer hook, set by the other figures, is not in it. Run as
// "freeze", what a still of the screen costs (Freezes).
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/win/ProcessMeasures.h"
#include "e2e/Driver.h"
#include "window/ControlIds.h"

namespace {

using namespace tintelo::bench;
using tintelo::e2e::WaitUntil;
using namespace std::chrono_literals;

constexpr double kSamplingSpanMs = 10000;

// Sweeps the pointer in a circle for the given time, a move every `stepMs`; returns the
// span in ms. Below 10 ms a step, the moves do not wait for Wine's echo of each one.
double Sweep(double ms, DWORD stepMs) {
  const double start = Now();
  double t = 0;
  while ((t = Now() - start) < ms) {
    const double angle = t / 300.0;
    const POINT at{640 + static_cast<LONG>(400 * std::cos(angle)), 512 + static_cast<LONG>(400 * std::sin(angle))};
    if (stepMs >= 10) {
      tintelo::e2e::MovePointer(at);
    } else {
      SetCursorPos(at.x, at.y);
    }
    Sleep(stepMs);
  }
  return t;
}

// Starts a program and, for Tintelo, holds the button on its swatch until sampling reads
// the swatch.
Running StartSampling(const wchar_t* exe) {
  double ms = 0;
  Running run = Start(exe, ms);
  WaitForInputIdle(run.process, 5000);
  HWND swatch = nullptr;
  WaitUntil([&] { return (swatch = GetDlgItem(run.window, tintelo::ids::kPicture1)) != nullptr; }, 2s);
  if (swatch == nullptr) return run;  // a floor
  const POINT centre = tintelo::e2e::CentreOnScreen(swatch);
  tintelo::e2e::MovePointer(centre);
  tintelo::e2e::PressButton(MOUSEEVENTF_LEFTDOWN);
  WaitUntil([&] {
    return tintelo::e2e::WindowText(GetDlgItem(run.window, tintelo::ids::kText1)) == tintelo::e2e::PositionText(centre);
  });
  return run;
}

void StopSampling(Running& run) {
  tintelo::e2e::ReleaseButton(MOUSEEVENTF_LEFTUP);
  Stop(run);
}

// CPU per `perMs` of sampling while the pointer sweeps, a move every `stepMs`.
double CpuWhileSweeping(const wchar_t* exe, double spanMs, DWORD stepMs, double perMs) {
  Running run = StartSampling(exe);
  const double before = CpuMs(run.process, tintelo::e2e::Narrow(exe));
  const double span = Sweep(spanMs, stepMs);
  const double used = CpuMs(run.process, tintelo::e2e::Narrow(exe)) - before;
  StopSampling(run);
  return used / (span / perMs);
}

// CPU per 50 ms of sampling (a tick's period), a move every 10 ms.
double CpuPerTick(const wchar_t* exe, double spanMs) { return CpuWhileSweeping(exe, spanMs, 10, 50); }

// CPU per refresh with the pointer at rest, where each refresh is a tick, with the area
// stepped up `notches` times by the wheel. The screen beneath changes colour every 10 ms,
// so that every refresh shows something new: a new picture in the loupe, new readouts.
double CpuPerRestingRefresh(const wchar_t* exe, int notches, double spanMs) {
  constexpr tintelo::e2e::Colour kOne{200, 40, 90, "", "", "", "", ""};
  constexpr tintelo::e2e::Colour kOther{30, 150, 210, "", "", "", "", ""};
  tintelo::e2e::ColourWindow beneath(RECT{200, 200, 400, 400}, kOne);
  Running run = StartSampling(exe);
  tintelo::e2e::MovePointer(POINT{300, 300});
  for (int i = 0; i < notches; ++i) tintelo::e2e::Wheel(WHEEL_DELTA);
  Sleep(500);
  const double before = CpuMs(run.process, tintelo::e2e::Narrow(exe));
  const double start = Now();
  for (int i = 0; Now() - start < spanMs; ++i) {
    beneath.Repaint(i % 2 == 0 ? kOther : kOne);
    Sleep(10);
  }
  const double used = CpuMs(run.process, tintelo::e2e::Narrow(exe)) - before;
  const double span = Now() - start;
  StopSampling(run);
  return used / (span / 50.0);
}

// CPU per second of sampling, a move every millisecond.
double CpuPerSecondSweeping(const wchar_t* exe, double spanMs) { return CpuWhileSweeping(exe, spanMs, 1, 1000); }

// Milliseconds from each pointer move, while the button holds the swatch, to the readout
// that shows the new position. The moves come at irregular times, so that none keeps
// step with the 20 Hz tick.
std::vector<double> MoveLatencies(const wchar_t* exe, int moves) {
  Running run = StartSampling(exe);
  HWND position = GetDlgItem(run.window, tintelo::ids::kText1);
  std::vector<double> ms;
  unsigned seed = 12345;
  for (int i = 0; i < moves; ++i) {
    // Distinct positions left of the window, so that each move changes the readout.
    const POINT at{100 + (i % 40) * 9, 120 + (i / 40) * 11};
    seed = seed * 1103515245u + 12345u;
    Sleep(20 + (seed >> 16) % 41);
    const std::string wanted = tintelo::e2e::PositionText(at);
    const double start = Now();
    SetCursorPos(at.x, at.y);
    while (tintelo::e2e::WindowText(position) != wanted && Now() - start < 1000) {
    }
    ms.push_back(Now() - start);
  }
  StopSampling(run);
  return ms;
}

// Milliseconds from the input that starts sampling to the loupe shown and the position
// readout at the pointer: the global shortcut with the pointer anywhere, or a press on the
// swatch (whose readouts wait for the first tick). The starts alternate between two
// points, so that each changes the readout.
std::vector<double> StartLatencies(const wchar_t* exe, bool shortcut, int starts) {
  namespace e2e = tintelo::e2e;
  double ms = 0;
  Running run = Start(exe, ms);
  WaitForInputIdle(run.process, 5000);
  Sleep(500);
  HWND position = GetDlgItem(run.window, tintelo::ids::kText1);
  const POINT swatch = e2e::CentreOnScreen(GetDlgItem(run.window, tintelo::ids::kPicture1));
  const auto loupe = [&] { return e2e::VisibleWindowOf(run.id, tintelo::ids::kLoupeClass) != nullptr; };
  std::vector<double> out;
  for (int i = 0; i < starts; ++i) {
    const POINT at = shortcut ? POINT{100 + (i % 2) * 7, 120} : POINT{swatch.x + (i % 2) * 3, swatch.y};
    e2e::MovePointer(at);
    const std::string wanted = e2e::PositionText(at);
    const double start = Now();
    shortcut ? e2e::PressShortcut() : e2e::PressButton(MOUSEEVENTF_LEFTDOWN);
    while ((!loupe() || e2e::WindowText(position) != wanted) && Now() - start < 2000) {
    }
    out.push_back(Now() - start);
    shortcut ? e2e::PressShortcut() : e2e::ReleaseButton(MOUSEEVENTF_LEFTUP);
    WaitUntil([&] { return !loupe(); }, 2s);
  }
  Stop(run);
  return out;
}

// A window of the benchmark's own, beneath the pointer, and where and when a move last
// reached it.
POINT arrivedAt{-1, -1};
double arrivedMs = 0;

LRESULT CALLBACK Beneath(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    arrivedAt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &arrivedAt);
    arrivedMs = Now();
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void DispatchWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Milliseconds from this process's SendInput of a pointer move to the WM_MOUSEMOVE it
// brings a window of this process beneath the pointer (SendInput's own return included,
// where the system makes it wait for the hooks), while `exe` runs: with sampling begun
// from the shortcut, so its click hook is set, when `sampling`; with its window's thread
// held busy `holdMs` at each tick of sampling (TINTELO_HOLD_REFRESH_MS, read by the
// marked build alone). Windows calls a low-level hook by a message to the thread that set
// it, so a hook on the window's thread would keep every move waiting for the refresh.
std::vector<double> MoveArrivals(const wchar_t* exe, bool sampling, int holdMs, int moves) {
  static const ATOM kClass = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = Beneath;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    c.lpszClassName = L"BenchBeneath";
    return RegisterClassW(&c);
  }();
  HWND beneath = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(kClass), L"", WS_POPUP | WS_VISIBLE, 40,
                                 80, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetEnvironmentVariableW(L"TINTELO_HOLD_REFRESH_MS", holdMs > 0 ? std::to_wstring(holdMs).c_str() : nullptr);
  double ms = 0;
  Running run = Start(exe, ms);
  SetEnvironmentVariableW(L"TINTELO_HOLD_REFRESH_MS", nullptr);
  WaitForInputIdle(run.process, 5000);
  Sleep(500);
  SetCursorPos(60, 100);
  const auto loupe = [&] { return tintelo::e2e::VisibleWindowOf(run.id, tintelo::ids::kLoupeClass) != nullptr; };
  if (sampling) {
    tintelo::e2e::PressShortcut();
    WaitUntil(loupe, 5s);
  }
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<double> out;
  unsigned seed = 54321;
  for (int i = 0; i < moves; ++i) {
    // Distinct points, so that no late move of an earlier one reads as this one's.
    const POINT at{60 + (i % 30) * 12, 110 + (i / 30 % 20) * 13};
    seed = seed * 1103515245u + 12345u;
    Sleep(20 + (seed >> 16) % 41);
    DispatchWaiting();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = (at.x * 65536 + width / 2) / width;
    input.mi.dy = (at.y * 65536 + height / 2) / height;
    const double start = Now();
    SendInput(1, &input, sizeof(input));
    // The normalised coordinates may land a pixel off.
    const auto arrived = [&] { return std::abs(arrivedAt.x - at.x) <= 1 && std::abs(arrivedAt.y - at.y) <= 1; };
    while (!arrived() && Now() - start < 2000) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      DispatchWaiting();
    }
    out.push_back((arrived() ? arrivedMs : Now()) - start);
  }
  if (sampling) {
    tintelo::e2e::PressShortcut();
    WaitUntil([&] { return !loupe(); }, 5s);
  }
  Stop(run);
  DestroyWindow(beneath);
  return out;
}

// The three figures of the click hook, p50 and p95 each: no hook, the hook with the
// window's thread idle, and with it held 500 ms at each tick.
void PrintMoveArrivals(const wchar_t* exe, int moves) {
  const std::vector<double> none = MoveArrivals(exe, false, 0, moves);
  const std::vector<double> idle = MoveArrivals(exe, true, 0, moves);
  const std::vector<double> held = MoveArrivals(exe, true, 500, moves);
  std::printf("%-44s %10s %10s %10s %8s %8s\n", "another program's move to its window (ms)", "no hook", "hook",
              "hook, held", "vs none", "vs idle");
  for (const double share : {0.5, 0.95}) {
    const double n = Percentile(none, share), i = Percentile(idle, share), h = Percentile(held, share);
    std::printf("%-44s %10.2f %10.2f %10.2f %8.2f %8.2f\n", share < 0.9 ? "p50" : "p95", n, i, h, h / n, h / i);
  }
  std::printf("%d moves each, %ls, the window's thread held 500 ms at each tick of sampling\n\n", moves, exe);
}

}  // namespace

// The still: the time from F to the first reading from it, p50 and p95 (F then an arrow
// step, which reads the still: the position readout shows the step); the private memory
// it adds against 4 bytes a pixel of every monitor, and what stays once thawed; and CPU
// per refresh at rest while frozen against live, over a screen that changes every 10 ms.
void PrintFreezes(const wchar_t* exe, int freezes) {
  namespace e2e = tintelo::e2e;
  constexpr e2e::Colour kOne{200, 40, 90, "", "", "", "", ""};
  constexpr e2e::Colour kOther{30, 150, 210, "", "", "", "", ""};
  e2e::ColourWindow beneath(RECT{40, 40, 260, 260}, kOne);
  double pixels = 0;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT r, LPARAM sum) -> BOOL {
        *reinterpret_cast<double*>(sum) += static_cast<double>(r->right - r->left) * (r->bottom - r->top);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&pixels));
  Running run = StartSampling(exe);
  const POINT at{120, 120};
  e2e::MovePointer(at);
  const std::string name = e2e::Narrow(exe);
  HWND position = GetDlgItem(run.window, tintelo::ids::kText1);
  const auto shows = [&](POINT p) { return e2e::WindowText(position) == e2e::PositionText(p); };
  WaitUntil([&] { return shows(at); });
  const auto cpuPerRefresh = [&] {
    const double before = CpuMs(run.process, name);
    const double start = Now();
    for (int i = 0; Now() - start < kSamplingSpanMs; ++i) {
      beneath.Repaint(i % 2 == 0 ? kOther : kOne);
      Sleep(10);
    }
    return (CpuMs(run.process, name) - before) / ((Now() - start) / 50.0);
  };
  Sleep(500);
  const double live = cpuPerRefresh();
  const double privateLive = PrivateKiB(run.process, name);
  std::vector<double> ready;
  double privateFrozen = 0;
  const POINT stepped{at.x + 1, at.y};
  for (int i = 0; i < freezes; ++i) {
    const double start = Now();
    e2e::PressKey('F');
    e2e::PressKey(VK_RIGHT);
    while (!shows(stepped) && Now() - start < 10000) {
    }
    ready.push_back(Now() - start);
    if (i == 0) privateFrozen = PrivateKiB(run.process, name);
    e2e::PressKey('F');
    e2e::PressKey(VK_LEFT);
    WaitUntil([&] { return shows(at); }, 5s);
  }
  Sleep(500);
  const double privateThawed = PrivateKiB(run.process, name);
  e2e::PressKey('F');
  Sleep(500);
  const double still = cpuPerRefresh();
  StopSampling(run);
  const double allowed = pixels * 4 / 1024;
  std::printf("%-44s %10s %10s %8s\n", "a still of the screen", "figure", "against", "ratio");
  std::printf("%-44s %10.2f %10s %8s\n", "F to the first reading of it, p50 (ms)", Percentile(ready, 0.5), "-", "-");
  std::printf("%-44s %10.2f %10s %8s\n", "F to the first reading of it, p95 (ms)", Percentile(ready, 0.95), "-", "-");
  std::printf("%-44s %10.0f %10.0f %8.2f\n", "private memory frozen minus live (KiB)", privateFrozen - privateLive,
              allowed, (privateFrozen - privateLive) / allowed);
  std::printf("%-44s %10.0f %10.0f %8.2f\n", "private memory thawed minus live (KiB)", privateThawed - privateLive,
              allowed, (privateThawed - privateLive) / allowed);
  std::printf("%-44s %10.2f %10.2f %8.2f\n", "CPU per refresh at rest, frozen vs live (ms)", still, live,
              live > 0 ? still / live : 0.0);
  const auto late = std::count_if(ready.begin(), ready.end(), [](double ms) { return ms >= 10000; });
  std::printf("monitors: %.0f pixels in all; %d freezes, %td with no reading within 10 s\n", pixels, freezes, late);
}

int main(int argc, char** argv) {
  // "freeze": the still's figures alone, on whatever display the bench runs on.
  if (argc > 1 && std::string(argv[1]) == "freeze") {
    PrintFreezes(L"Tintelo.exe", argc > 2 ? std::atoi(argv[2]) : 40);
    return 0;
  }
  // "hook [marked exe]": the click hook's figures alone.
  if (argc > 1 && std::string(argv[1]) == "hook") {
    const std::wstring exe = argc > 2 ? tintelo::e2e::Widen(argv[2]) : L"TinteloMarked.exe";
    PrintMoveArrivals(exe.c_str(), 120);
    return 0;
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const wchar_t* tintelo = L"Tintelo.exe";
  const wchar_t* before = L"TinteloBefore.exe";
  const wchar_t* floorSampler = L"FloorSampler.exe";
  const bool withBefore =
      GetFileAttributesW(tintelo::e2e::BesideThisProgram(before).c_str()) != INVALID_FILE_ATTRIBUTES;
  // "follow": only how a pointer move reaches the readouts and what sweeping costs, Tintelo
  // and the earlier build in turn, over three runs, for comparing the two quickly.
  if (argc > 2 && std::strcmp(argv[2], "follow") == 0 && withBefore) {
    for (int run = 0; run < 3; ++run) {
      for (std::size_t k = 0; k < 2; ++k) {
        const wchar_t* program = k == 0 ? tintelo : before;
        const std::vector<double> moves = MoveLatencies(program, 240);
        std::printf("run %d %-8ls move to readout p50 %6.2f p95 %6.2f ms, CPU per s sweeping %6.1f ms\n", run + 1,
                    k == 0 ? L"Tintelo" : L"before", Percentile(moves, 0.5), Percentile(moves, 0.95),
                    CpuPerSecondSweeping(program, kSamplingSpanMs));
      }
    }
    return 0;
  }
  // The empty window, Tintelo's standard child windows alone, Tintelo, and the earlier build.
  std::vector<const wchar_t*> programs{L"FloorWindow.exe", L"FloorControls.exe", tintelo};
  if (withBefore) programs.push_back(before);

  std::vector<std::vector<double>> ms(programs.size()), peak(programs.size()), privateBytes(programs.size());
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

  // The sampler's figures, Tintelo and the earlier build in turn. Process times come in
  // 10 ms steps under Wine: long spans keep that step small against the total.
  std::vector<const wchar_t*> samplers{tintelo};
  if (withBefore) samplers.push_back(before);
  std::vector<double> tickFloor;
  std::vector<std::vector<double>> tick(samplers.size()), rest1(samplers.size()), rest15(samplers.size()),
      sweep1ms(samplers.size()), latency(samplers.size()), idle(samplers.size());
  for (int i = 0; i < 3; ++i) {
    tickFloor.push_back(CpuPerTick(floorSampler, kSamplingSpanMs));
    for (std::size_t k = 0; k < samplers.size(); ++k) {
      tick[k].push_back(CpuPerTick(samplers[k], kSamplingSpanMs));
      rest1[k].push_back(CpuPerRestingRefresh(samplers[k], 0, kSamplingSpanMs));
      rest15[k].push_back(CpuPerRestingRefresh(samplers[k], 7, kSamplingSpanMs));
      sweep1ms[k].push_back(CpuPerSecondSweeping(samplers[k], kSamplingSpanMs));
    }
  }
  for (std::size_t k = 0; k < samplers.size(); ++k) {
    latency[k] = MoveLatencies(samplers[k], 240);
    idle[k].push_back(IdleCpu(samplers[k], 10000));
  }

  std::printf("%-30s %10s %10s %10s %8s %8s", "median of rounds", "floor", "controls", "Tintelo", "ratio", "vs ctrls");
  if (withBefore) std::printf(" %10s %8s", "before", "vs before");
  std::printf("\n");
  const auto row = [&](const char* what, const std::vector<std::vector<double>>& values) {
    const double f = Median(values[0]), c = Median(values[1]), t = Median(values[2]);
    std::printf("%-30s %10.2f %10.2f %10.2f %8.2f %8.2f", what, f, c, t, t / f, t / c);
    if (withBefore) std::printf(" %10.2f %8.2f", Median(values[3]), t / Median(values[3]));
    std::printf("\n");
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
  std::printf("\n%-44s %10s %10s %8s", "median of runs", "floor", "Tintelo", "ratio");
  if (withBefore) std::printf(" %10s %8s", "before", "vs before");
  std::printf("\n");
  const auto sampled = [&](const char* what, double floor, const std::vector<double>& values) {
    std::printf("%-44s", what);
    if (floor > 0) {
      std::printf(" %10.2f %10.2f %8.2f", floor, values[0], values[0] / floor);
    } else {
      std::printf(" %10s %10.2f %8s", "-", values[0], "-");
    }
    if (withBefore) std::printf(" %10.2f %8.2f", values[1], values[1] > 0 ? values[0] / values[1] : 0.0);
    std::printf("\n");
  };
  const auto medians = [](const std::vector<std::vector<double>>& runs) {
    std::vector<double> m;
    for (const auto& r : runs) m.push_back(Median(r));
    return m;
  };
  sampled("CPU per 50 ms, sweeping, a move per 10 ms", Median(tickFloor), medians(tick));
  sampled("CPU per refresh at rest, area 1 (ms)", 0, medians(rest1));
  sampled("CPU per refresh at rest, area 15 (ms)", 0, medians(rest15));
  sampled("CPU per s, sweeping, a move per 1 ms (ms)", 0, medians(sweep1ms));
  // The 50th and 95th percentiles of each sampler's times, a row each.
  const auto percentiles = [&](const std::string& what, const std::vector<std::vector<double>>& runs) {
    for (const double share : {0.5, 0.95}) {
      std::vector<double> at;
      for (const auto& r : runs) at.push_back(Percentile(r, share));
      sampled((what + (share < 0.9 ? ", p50 (ms)" : ", p95 (ms)")).c_str(), 0, at);
    }
  };
  percentiles("move to readout", latency);
  sampled("CPU while idle for 10 s (ms)", 0, medians(idle));
  // From a press on the swatch to the loupe and the first readout: with the forced
  // duplication build, whether the screen's road is warm from the press before.
  std::vector<std::vector<double>> pressed;
  for (const wchar_t* sampler : samplers) pressed.push_back(StartLatencies(sampler, false, 60));
  percentiles("press to loupe and readout", pressed);
  // Picking from anywhere: its figure beside the press's, in the same run.
  const std::vector<double> fromShortcut = StartLatencies(tintelo, true, 60);
  std::printf("\n%-44s %10s %10s %8s\n", "start to loupe and readout (ms)", "press", "shortcut", "ratio");
  for (const double share : {0.5, 0.95}) {
    const double press = Percentile(pressed[0], share), shortcut = Percentile(fromShortcut, share);
    std::printf("%-44s %10.2f %10.2f %8.2f\n", share < 0.9 ? "p50" : "p95", press, shortcut, shortcut / press);
  }
  std::printf("rounds: %d start-ups of each program, 3 sampling runs of %.0f s, %zu moves\n", rounds,
              kSamplingSpanMs / 1000, latency[0].size());
  return 0;
}
