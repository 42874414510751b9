// Long run: sampling with the pointer sweeping a gradient, then slider moves and
// copies, with Tintelo.exe's memory and handle counts taken every 30 s and every
// readout checked against the others. Usage: tintelo_soak [minutes]
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

namespace {

using namespace tintelo::e2e;
namespace ids = tintelo::ids;

constexpr int kGradientWidth = 256;
constexpr int kGradientHeight = 256;

// A window whose colour depends on the place: red across, green down, blue on the sum.
LRESULT CALLBACK GradientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    for (int y = 0; y < kGradientHeight; y += 4) {
      for (int x = 0; x < kGradientWidth; x += 4) {
        HBRUSH brush = CreateSolidBrush(RGB(x, y, (x + y) / 2));
        RECT cell{x, y, x + 4, y + 4};
        FillRect(dc, &cell, brush);
        DeleteObject(brush);
      }
    }
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND ShowGradient() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = GradientProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SoakGradient";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kGradientWidth,
                                kGradientHeight, nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(window);
  return window;
}

struct Reading {
  double seconds;
  double workingSetKiB;
  double committedKiB;
  DWORD handles;
  DWORD gdiObjects;
  DWORD userObjects;
};

// GetProcessHandleCount answers 0 for another process under Wine; the system's process
// list carries the same count on both.
DWORD HandleCount(HANDLE process) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count != 0) return count;
  using QueryFn = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  std::vector<unsigned char> buffer(1 << 20);
  ULONG needed = 0;
  if (query == nullptr ||
      query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
    return 0;
  }
  const auto id = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetProcessId(process)));
  for (std::size_t at = 0;;) {
    const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    if (info->UniqueProcessId == id) return info->HandleCount;
    if (info->NextEntryOffset == 0) return 0;
    at += info->NextEntryOffset;
  }
}

Reading Read(HANDLE process, double seconds) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(process, &memory, sizeof(memory));
  const DWORD handles = HandleCount(process);
  return Reading{seconds,
                 static_cast<double>(memory.WorkingSetSize) / 1024.0,
                 static_cast<double>(memory.PagefileUsage) / 1024.0,
                 handles,
                 GetGuiResources(process, GR_GDIOBJECTS),
                 GetGuiResources(process, GR_USEROBJECTS)};
}

int Hex(const std::string& text, std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); }

// Every notation names the same colour as the decimal value (ordinary colours only).
bool Consistent(const Tintelo& app, std::string& why) {
  const std::string dec = app.Text(ids::kText1 + 1), hex = app.Text(ids::kText1 + 2), cmyk = app.Text(ids::kText1 + 3),
                    rgb = app.Text(ids::kText1 + 4), html = app.Text(ids::kText1 + 5);
  why = dec + " | " + hex + " | " + cmyk + " | " + rgb + " | " + html;
  if (dec.empty() || hex.size() != 8 || html.size() != 7) return false;
  const long value = std::stol(dec);
  const int r = static_cast<int>(value & 255), g = static_cast<int>((value >> 8) & 255),
            b = static_cast<int>((value >> 16) & 255);
  const int k = 255 - std::max({r, g, b});
  const std::string expectCmyk = std::to_string(255 - k - r) + "," + std::to_string(255 - k - g) + "," +
                                 std::to_string(255 - k - b) + "," + std::to_string(k);
  return Hex(hex, 2) == r && Hex(hex, 4) == g && Hex(hex, 6) == b && Hex(html, 1) == r && Hex(html, 3) == g &&
         Hex(html, 5) == b && rgb == std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b) &&
         cmyk == expectCmyk;
}

}  // namespace

int main(int argc, char** argv) {
  const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
  HWND gradient = ShowGradient();
  Tintelo app;
  if (app.Window() == nullptr) {
    std::puts("Tintelo did not start");
    return 1;
  }
  const DWORD start = GetTickCount();
  const auto elapsed = [&] { return (GetTickCount() - start) / 1000.0; };
  std::vector<Reading> readings{Read(app.Process(), 0)};
  int checks = 0;
  int inconsistent = 0;

  // Sampling: hold the button on the swatch and sweep the gradient and the screen.
  MovePointer(CentreOnScreen(app.Control(ids::kPicture1)));
  PressButton(MOUSEEVENTF_LEFTDOWN);
  const double sampling = minutes * 60 * 0.8;
  double nextReading = 30;
  int step = 0;
  while (elapsed() < sampling) {
    const double t = elapsed();
    const bool overGradient = (step / 200) % 2 == 0;
    const POINT at =
        overGradient
            ? POINT{static_cast<LONG>(128 + 120 * std::sin(t * 1.3)), static_cast<LONG>(128 + 120 * std::cos(t * 0.7))}
            : POINT{static_cast<LONG>(640 + 600 * std::sin(t * 0.9)), static_cast<LONG>(512 + 480 * std::cos(t * 0.4))};
    MovePointer(at);
    ++step;
    if (step % 100 == 0) {
      // Hold still for a few ticks, then every notation must agree.
      Sleep(150);
      std::string why;
      ++checks;
      if (!Consistent(app, why)) {
        ++inconsistent;
        std::printf("inconsistent at %.0f s: %s\n", t, why.c_str());
      }
    }
    if (t >= nextReading) {
      readings.push_back(Read(app.Process(), t));
      nextReading += 30;
    }
    Sleep(15);
  }
  ReleaseButton(MOUSEEVENTF_LEFTUP);

  // Sliders and copies for the rest of the time.
  while (elapsed() < minutes * 60) {
    for (int i = 0; i < 3; ++i) {
      HWND bar = app.Control(ids::kHScroll1 + i);
      for (int n = 0; n < 5; ++n) SendMessageW(app.Window(), WM_VSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(bar));
      SendMessageW(app.Window(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar));
    }
    Click(CentreOnScreen(app.Control(ids::kText1 + 5)));
    WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }, std::chrono::seconds(2));
    ShowWindow(app.Window(), SW_RESTORE);
    WaitUntil([&] { return IsIconic(app.Window()) == FALSE; }, std::chrono::seconds(2));
    std::string why;
    ++checks;
    if (!Consistent(app, why)) {
      ++inconsistent;
      std::printf("inconsistent after sliders: %s\n", why.c_str());
    }
    if (elapsed() >= nextReading) {
      readings.push_back(Read(app.Process(), elapsed()));
      nextReading += 30;
    }
  }
  readings.push_back(Read(app.Process(), elapsed()));
  const bool alive = WaitForSingleObject(app.Process(), 0) == WAIT_TIMEOUT;
  DestroyWindow(gradient);

  std::printf("%8s %14s %14s %8s %6s %6s\n", "seconds", "working KiB", "committed KiB", "handles", "GDI", "USER");
  for (const auto& r : readings) {
    std::printf("%8.0f %14.0f %14.0f %8lu %6lu %6lu\n", r.seconds, r.workingSetKiB, r.committedKiB, r.handles,
                r.gdiObjects, r.userObjects);
  }
  // Growth after the first minute: last reading against the first one past 60 s.
  const Reading* settled = &readings.back();
  for (const auto& r : readings) {
    if (r.seconds >= 60) {
      settled = &r;
      break;
    }
  }
  const Reading& last = readings.back();
  std::printf("after the first minute: working set %+.0f KiB, committed %+.0f KiB, handles %+ld\n",
              last.workingSetKiB - settled->workingSetKiB, last.committedKiB - settled->committedKiB,
              static_cast<long>(last.handles) - static_cast<long>(settled->handles));
  std::printf("readout checks: %d, inconsistent: %d; program %s\n", checks, inconsistent,
              alive ? "still running" : "ENDED");
  return alive && inconsistent == 0 ? 0 : 1;
}
