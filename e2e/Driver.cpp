// The end-to-end driver's helpers: starting Tintelo, pointer, keys, texts, clipboard.
#include "e2e/Driver.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <span>
#include <thread>
#include <vector>

#include "sampler/Loupe.h"
#include "window/ControlIds.h"
#include "window/win32/base/Compat.h"
#include "window/win32/base/Dib.h"
#include "window/win32/screen/DisplayAffinity.h"

namespace tintelo::e2e {

namespace {

// Keeps this thread's own windows (if any) responsive.
void DispatchWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    DispatchWaitingMessages();
    std::this_thread::sleep_for(10ms);
  }
}

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  DWORD_PTR ignored = 0;
  const auto timeout = static_cast<UINT>(std::chrono::milliseconds(kDeadline).count());
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout,
                             result != nullptr ? result : &ignored) != 0;
}

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + name;
}

std::wstring TinteloExe() {
  // TINTELO_EXE names the exe under test from outside the build: the release's own
  // download, say, which the GitHub workflow tests on Windows before publishing it.
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"TINTELO_EXE", path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return BesideThisProgram(L"Tintelo.exe");
  path.resize(length);
  return path;
}

std::wstring BesideTintelo(const wchar_t* name) {
  std::wstring path = TinteloExe();
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + name;
}

bool UnderWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

bool SetScreenDpi(int dpi) {
  if (!UnderWine()) {
    // The driver is aware of each monitor's scale (its manifest), so Windows gives it the
    // session's real scale here, not 96.
    HDC screen = GetDC(nullptr);
    const int sessionDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return sessionDpi == dpi;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return true;  // the program then starts at the old scale, and the test says so
  }
  const DWORD value = static_cast<DWORD>(dpi);
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
  return true;
}

WineDllOverride::WineDllOverride(const wchar_t* program, const wchar_t* dll, const wchar_t* how) : dll_(dll) {
  const std::wstring path = std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides";
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
  const auto bytes = static_cast<DWORD>((std::wcslen(how) + 1) * sizeof(wchar_t));
  RegSetValueExW(key_, dll_, 0, REG_SZ, reinterpret_cast<const BYTE*>(how), bytes);
}

WineDllOverride::~WineDllOverride() {
  RegDeleteValueW(key_, dll_);
  RegCloseKey(key_);
}

HANDLE StartProgram(const wchar_t* name) { return StartProgramAt(BesideThisProgram(name)); }

HANDLE StartProgramAt(const std::wstring& path) {
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Under Wine a start right after another program ended can fail now and then; a few
  // tries keep a test from failing for a reason that has nothing to do with it.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
      CloseHandle(info.hThread);
      return info.hProcess;
    }
    std::fprintf(stderr, "starting %ls failed (error %lu), trying again\n", path.c_str(), GetLastError());
    std::this_thread::sleep_for(200ms);
  }
  return nullptr;
}

namespace {

struct FindData {
  DWORD processId;
  HWND found;
  int count;
};

BOOL CALLBACK FindTintelo(HWND window, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) != ids::kWindowClass) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (data->processId == 0 || owner == data->processId) {
    data->found = window;
    ++data->count;
  }
  return TRUE;
}

}  // namespace

int CountTinteloWindows() {
  FindData data{0, nullptr, 0};
  EnumWindows(FindTintelo, reinterpret_cast<LPARAM>(&data));
  return data.count;
}

namespace {

// A spot of the window's own background, on the screen: halfway between the swatch and
// the nearest control to its right, level with the swatch's middle; none when no control
// stands there or the spot turns out not to be the window itself.
std::optional<POINT> BackgroundSpot(HWND window) {
  const RECT swatch = RectInParent(GetDlgItem(window, ids::kPicture1));
  LONG nearest = LONG_MAX;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = RectInParent(child);
    const bool level = r.top < swatch.bottom && r.bottom > swatch.top;
    if (level && r.left >= swatch.right) nearest = std::min(nearest, r.left);
  }
  if (nearest == LONG_MAX || nearest - swatch.right < 2) return std::nullopt;
  POINT spot{(swatch.right + nearest) / 2, (swatch.top + swatch.bottom) / 2};
  // Hidden controls count too: ChildWindowFromPoint skips none.
  if (ChildWindowFromPoint(window, spot) != window) return std::nullopt;
  ClientToScreen(window, &spot);
  // Nothing of another window over it either.
  if (WindowFromPoint(spot) != window) return std::nullopt;
  return spot;
}

}  // namespace

Tintelo::Tintelo() {
  // The window opens centred on the primary monitor, where the virtual display starts
  // its pointer and where the last test may have left it. Resting there, the pointer
  // gets the window mouse moves the test never made (Wine sends one when a window is
  // shown or moved under it), which hide help panels: every test starts with it in
  // the monitor's corner.
  MovePointer(POINT{0, 0});
  process_ = StartTintelo();
  if (process_ == nullptr) return;
  processId_ = GetProcessId(process_);
  WaitUntil([&] {
    FindData data{processId_, nullptr, 0};
    EnumWindows(FindTintelo, reinterpret_cast<LPARAM>(&data));
    window_ = data.found;
    // Ready once shown and the first analysis has filled the readouts.
    return window_ != nullptr && IsWindowVisible(window_) && !Text(ids::kText1 + 5).empty();
  });
  if (window_ != nullptr) BringForward();
}

void Tintelo::BringForward() {
  // A program started by a process that is not in the foreground may not take the
  // foreground itself ("SetForegroundWindow"), and keys then go to whatever holds it: on
  // a CI runner, the console the driver runs in. A click on a window moves the foreground
  // to it whatever the lock ("LockSetForegroundWindow": clicking a background window), so
  // the driver clicks as a user would, on the window's background, where no control acts
  // on it. Wine has no such lock: there the window has the foreground already.
  const std::optional<POINT> spot = BackgroundSpot(window_);
  if (!spot) {
    ADD_FAILURE() << "no spot of Tintelo's own background to click between the swatch and the readouts";
    return;
  }
  MovePointer(*spot);
  PressButton(MOUSEEVENTF_LEFTDOWN);
  ReleaseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window_; }))
      << "a click on Tintelo's background did not bring it to the foreground";
  // Back in the corner, where every test starts (see above).
  MovePointer(POINT{0, 0});
}

Tintelo::~Tintelo() {
  if (process_ == nullptr) return;
  if (!Close()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool Tintelo::Close() {
  if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return true;
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0;
}

HWND Tintelo::Control(int id) const {
  if (id >= ids::kLabel4 && id < ids::kLabel4 + 2) return GetDlgItem(Control(ids::kTool1 + id - ids::kLabel4), id);
  return GetDlgItem(window_, id);
}

std::string Tintelo::Text(int id) const { return WindowText(Control(id)); }

std::string WindowText(HWND window) {
  if (window == nullptr) return {};
  wchar_t buffer[512] = {};
  DWORD_PTR copied = 0;
  SendAndWait(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), &copied);
  return Narrow(std::wstring(buffer, copied));
}

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

SCROLLINFO ScrollInfo(HWND bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  return info;
}

POINT CentreOnScreen(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

namespace {

// Under Wine with no window manager, every pointer move the driver makes also warps the X
// server's pointer, and the window under it reports that position back a little later,
// as a mouse move of its own. A report that arrives after the next move puts the pointer
// back where it was (seen here under load: the help panels shown again over a field the
// pointer had reached). A low-level hook sees those reports, which are the only mouse
// input not injected by a program, so each move waits for its own report before the next.
std::atomic<long long> lastReport{0};
std::atomic<long> reports{0};

long long Pack(POINT p) { return (static_cast<long long>(p.x) << 32) | static_cast<std::uint32_t>(p.y); }

LRESULT CALLBACK WatchReports(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    if ((event->flags & LLMHF_INJECTED) == 0) {
      lastReport.store(Pack(event->pt));
      reports.fetch_add(1);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Installs the hook on a thread of its own that only answers it, so a program reporting a
// move never waits on a test that is busy elsewhere. Outside Wine there is no X server to
// echo anything: no hook.
void WatchPointer() {
  static const bool installed = [] {
    if (!UnderWine()) return false;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread([ready] {
      SetWindowsHookExW(WH_MOUSE_LL, WatchReports, GetModuleHandleW(nullptr), 0);
      SetEvent(ready);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }).detach();
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    // Wine's pointer starts at 0,0 and the X server's at the screen centre; a position
    // Wine already holds moves nothing, so go through another point to bring both here.
    SetCursorPos(1, 1);
    SetCursorPos(0, 0);
    return true;
  }();
  (void)installed;
}

void Send(INPUT input) {
  WatchPointer();
  SendInput(1, &input, sizeof(input));
}

bool PointerAt(POINT screen) {
  POINT at{};
  GetCursorPos(&at);
  return at.x == screen.x && at.y == screen.y;
}

}  // namespace

void MovePointer(POINT screen) {
  // SetCursorPos rather than SendInput: with a low-level hook installed, Wine moves the X
  // pointer only for the former. The window under the pointer gets the same WM_MOUSEMOVE.
  WatchPointer();
  if (PointerAt(screen)) return;
  const long before = reports.load();
  SetCursorPos(screen.x, screen.y);
  if (!UnderWine()) return;
  // Over the bare screen no window reports anything.
  HWND under = WindowFromPoint(screen);
  if (under == nullptr || under == GetDesktopWindow()) return;
  WaitUntil([&] { return reports.load() != before && lastReport.load() == Pack(screen); }, 300ms);
}

void PressButton(DWORD downFlag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = downFlag;
  Send(input);
}

void ReleaseButton(DWORD upFlag) { PressButton(upFlag); }

void Click(POINT screen) {
  MovePointer(screen);
  PressButton(MOUSEEVENTF_LEFTDOWN);
  ReleaseButton(MOUSEEVENTF_LEFTUP);
}

void PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (const WORD key : keys) add(key, 0);
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD key, bool shift) {
  if (shift) {
    PressChord({VK_SHIFT, key});
  } else {
    PressChord({key});
  }
}

void PressShortcut() { PressChord({VK_LWIN, VK_MENU, static_cast<WORD>(ids::kPickShortcutKey)}); }

void Type(wchar_t character) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void Wheel(int delta) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(delta);
  Send(input);
}

Readouts Snapshot(const Tintelo& app) {
  Readouts now;
  for (int i = 0; i < 6; ++i) now.push_back(app.Text(ids::kText1 + i));
  for (int i = 0; i < 3; ++i) now.push_back(std::to_string(ScrollInfo(app.Control(ids::kHScroll1 + i)).nPos));
  for (int i = 3; i < 6; ++i) now.push_back(app.Text(ids::kLabel2 + i));
  return now;
}

testing::AssertionResult ReadoutsSettleOn(const Tintelo& app, const Readouts& expected,
                                          std::chrono::milliseconds deadline) {
  Readouts seen;
  if (!WaitUntil([&] { return (seen = Snapshot(app)) == expected; }, deadline)) {
    return testing::AssertionFailure() << "the readouts show " << testing::PrintToString(seen) << ", not "
                                       << testing::PrintToString(expected);
  }
  if (const Readouts after = Snapshot(app); after != expected) {
    return testing::AssertionFailure() << "the readouts showed " << testing::PrintToString(expected) << ", then "
                                       << testing::PrintToString(after);
  }
  return testing::AssertionSuccess();
}

std::string PositionText(POINT at) { return std::to_string(at.x) + '.' + std::to_string(at.y); }

Readouts Showing(POINT at, const Colour& c) {
  return {PositionText(at),
          c.decimal,
          c.hex,
          c.cmyk,
          c.rgb,
          c.html,
          std::to_string(-c.red),
          std::to_string(-c.green),
          std::to_string(-c.blue),
          std::to_string(c.red),
          std::to_string(c.green),
          std::to_string(c.blue)};
}

COLORREF Rgb(const Colour& c) { return RGB(c.red, c.green, c.blue); }

COLORREF ScreenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return pixel;
}

HWND CaptureOf(const Tintelo& app) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &gui)) return nullptr;
  return gui.hwndCapture;
}

testing::AssertionResult PressOnTheSwatch(const Tintelo& app, std::optional<HeldButton>& button, const Button& which) {
  const POINT onSwatch = CentreOnScreen(app.Control(ids::kPicture1));
  MovePointer(onSwatch);
  button.emplace(which);
  if (!WaitUntil([&] { return app.Text(ids::kText1) == PositionText(onSwatch); })) {
    return testing::AssertionFailure() << "Text1(0) reads " << app.Text(ids::kText1);
  }
  return testing::AssertionSuccess();
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* windowClass) {
  std::vector<HWND> found;
  for (HWND w = FindWindowW(windowClass, nullptr); w != nullptr; w = FindWindowExW(nullptr, w, windowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

HWND VisibleWindowOf(DWORD processId, const wchar_t* windowClass) {
  const std::vector<HWND> found = VisibleWindowsOf(processId, windowClass);
  return found.empty() ? nullptr : found.front();
}

HWND LoupeOf(const Tintelo& app) { return VisibleWindowOf(app.ProcessId(), ids::kLoupeClass); }

bool LoupeLeftOutOfCopies(HWND loupe) {
  return InCopiesOfAffinity(win::DisplayAffinityOf(loupe)) == LoupeInCopies::kLeftOut;
}

void NotCheckedHere(const std::string& what) {
  std::printf("[ NOT HERE ] %s\n", what.c_str());
  std::fflush(stdout);
  testing::Test::RecordProperty("not_checked_here", what);
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
  win::DibSurface copy;
  if (!win::CopyScreen(area, copy)) return {};
  const std::span<std::uint32_t> rgb = copy.Pixels();
  std::vector<COLORREF> pixels(rgb.size());
  std::transform(rgb.begin(), rgb.end(), pixels.begin(), win::ColorRefOf);
  return pixels;
}

namespace {

constexpr wchar_t kButtonMessages[] = L"DriverButtonMessages";

LRESULT CALLBACK PaintColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) ||
      (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK)) {
    const auto count = reinterpret_cast<std::uintptr_t>(GetPropW(window, kButtonMessages));
    SetPropW(window, kButtonMessages, reinterpret_cast<HANDLE>(count + 1));
  }
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A popup of this program at `place`, with `data` in its GWLP_USERDATA before its first
// paint, shown without taking the focus.
HWND ShowPopup(ATOM windowClass, RECT place, LONG_PTR data) {
  HWND window =
      CreateWindowExW(0, MAKEINTATOM(windowClass), nullptr, WS_POPUP, place.left, place.top, place.right - place.left,
                      place.bottom - place.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, data);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return window;
}

ATOM RegisterPopupClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  return RegisterClassW(&wc);
}

}  // namespace

ColourWindow::ColourWindow(RECT place, const Colour& colour) : colour_(Rgb(colour)) {
  static const ATOM kClass = RegisterPopupClass(L"DriverColourWindow", PaintColour);
  window_ = ShowPopup(kClass, place, static_cast<LONG_PTR>(colour_));
}

ColourWindow::~ColourWindow() {
  RemovePropW(window_, kButtonMessages);
  DestroyWindow(window_);
}

void ColourWindow::Repaint(const Colour& colour) {
  colour_ = Rgb(colour);
  SetWindowLongPtrW(window_, GWLP_USERDATA, static_cast<LONG_PTR>(colour_));
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int ColourWindow::ButtonMessages() const {
  DispatchWaitingMessages();
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(GetPropW(window_, kButtonMessages)));
}

bool ColourWindow::Shown(POINT at) const {
  return WaitUntil([&] { return ScreenPixel(at) == colour_; });
}

PatternWindow::PatternWindow(RECT place, Pattern pattern) : place_(place), pattern_(pattern) {
  static const ATOM kClass = RegisterPopupClass(L"DriverPatternWindow", Paint);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels_[static_cast<std::size_t>(y * width + x)] = pattern(POINT{place.left + x, place.top + y});
    }
  }
  window_ = ShowPopup(kClass, place, reinterpret_cast<LONG_PTR>(this));
}

PatternWindow::~PatternWindow() { DestroyWindow(window_); }

bool PatternWindow::Shown() const {
  return WaitUntil([&] {
    const std::vector<COLORREF> shown = ScreenPixels(place_);
    if (shown.empty()) return false;
    for (LONG y = place_.top; y < place_.bottom; ++y) {
      for (LONG x = place_.left; x < place_.right; ++x) {
        if (MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) == nullptr) continue;
        const auto i = static_cast<std::size_t>((y - place_.top) * (place_.right - place_.left) + (x - place_.left));
        if (win::RgbOf(shown[i]) != pattern_(POINT{x, y})) return false;
      }
    }
    return true;
  });
}

LRESULT CALLBACK PatternWindow::Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* self = reinterpret_cast<const PatternWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT || self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  const int width = self->place_.right - self->place_.left;
  const int height = self->place_.bottom - self->place_.top;
  const BITMAPINFO info = win::TopDownDib(width, height);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height),
                    self->pixels_.data(), &info, DIB_RGB_COLORS);
  EndPaint(window, &ps);
  return 0;
}

HWND ColourDialogOf(DWORD processId) { return VisibleWindowOf(processId, L"#32770"); }

HWND OpenColourDialog(const Tintelo& app) {
  Click(CentreOnScreen(app.Control(ids::kImage1)));
  HWND dialog = nullptr;
  WaitUntil([&] { return (dialog = ColourDialogOf(app.ProcessId())) != nullptr; });
  return dialog;
}

bool TypeColour(HWND dialog, int red, int green, int blue) {
  int editId = 706;  // the red, green and blue edits of the custom-colour section
  for (const int value : {red, green, blue}) {
    const std::wstring text = std::to_wstring(value);
    if (!SendAndWait(GetDlgItem(dialog, editId++), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
      return false;
    }
  }
  return true;
}

bool ConfirmColour(HWND dialog, int red, int green, int blue) {
  if (dialog == nullptr || !TypeColour(dialog, red, green, blue)) return false;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::optional<std::wstring> ClipboardText() {
  std::optional<std::wstring> text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data)); chars != nullptr) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardTextForTest(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes); memory != nullptr) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace tintelo::e2e
