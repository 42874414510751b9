// The main window as the view Form1 drives, and as screen readers read it.
#include "window/win32/form/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "window/ControlIds.h"
#include "window/win32/base/Clock.h"
#include "window/win32/base/RuntimeErrorReport.h"
#include "window/win32/base/Text.h"
#include "window/win32/form/Clipboard.h"
#include "window/win32/form/Topmost.h"
#include "window/win32/screen/DisplayAffinity.h"

namespace tintelo::win {

namespace {

constexpr wchar_t kSwatchName[] = L"Couleur";  // what a screen reader calls the swatch
constexpr int kHtmlReadout = 5;                // Text1(5), the colour as "#RRGGBB"

// Sampling rewrites every readout 20 times a second, mostly with the text already shown
// while the pointer rests: an unchanged text is left alone, so nothing repaints for it.
void SetWindowTextIfChanged(HWND window, std::string_view text) {
  constexpr int kLongestCompared = 64;  // every readout and label is shorter
  const std::wstring wanted = Widen(text);
  std::array<wchar_t, kLongestCompared> shown{};
  const int length = GetWindowTextW(window, shown.data(), kLongestCompared);
  // A longer text than the buffer holds compares unequal and is simply written.
  if (std::wstring_view(shown.data(), static_cast<std::size_t>(length)) != wanted) {
    SetWindowTextW(window, wanted.c_str());
  }
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

}  // namespace

void MainWindow::SetText(int index, std::string_view text) {
  SetWindowTextIfChanged(controls_.Of(layout::Kind::Readout, index), text);
}

std::string MainWindow::Text(int index) const { return TextOf(controls_.Of(layout::Kind::Readout, index)); }

void MainWindow::SetToolTip(int index, std::string_view text) {
  const auto i = static_cast<std::size_t>(index);
  const bool existed = !toolTips_.at(i).empty();
  toolTips_[i] = Widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(controls_.Of(layout::Kind::Readout, index));
  tool.lpszText = toolTips_[i].data();
  SendMessageW(controls_.ToolTip(), existed ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string MainWindow::ToolTip(int index) const { return Narrow(toolTips_.at(static_cast<std::size_t>(index))); }

HWND MainWindow::Label2(int index) const {
  // Label2(0..2) are the slider letters, Label2(3..5) the values.
  return controls_.Of(index < Form1::kSliders ? layout::Kind::SliderLetter : layout::Kind::ValueLabel, index);
}

void MainWindow::SetLabel2Caption(int index, std::string_view text) { SetWindowTextIfChanged(Label2(index), text); }

std::string MainWindow::Label2Caption(int index) const { return TextOf(Label2(index)); }

void MainWindow::ShowSliderPosition(int index, std::int16_t position) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(controls_.Of(layout::Kind::Slider, index), SB_CTL, &info, TRUE);
}

void MainWindow::SwitchTimer(UINT_PTR id, UINT intervalMs, bool& on, bool enabled) {
  if (enabled == on) return;
  on = enabled;
  if (enabled) {
    SetTimer(hwnd_, id, intervalMs, nullptr);
  } else {
    KillTimer(hwnd_, id);
  }
}

void MainWindow::SetTimerEnabled(bool enabled) {
  SwitchTimer(ids::kTimer1, Form1::kTimerIntervalMs, timerEnabled_, enabled);
}

void MainWindow::SetFollowTimerEnabled(bool enabled) {
  if (!followWaitable_) {
    SwitchTimer(ids::kFollowTimer, Form1::kFollowIntervalMs, followTimerEnabled_, enabled);
    return;
  }
  if (enabled == followTimerEnabled_) return;
  followTimerEnabled_ = enabled;
  if (!enabled) {
    CancelWaitableTimer(followWaitable_.Get());
    return;
  }
  // Due one interval from now (relative: negative, in 100 ns units), then every interval.
  LARGE_INTEGER due{};
  due.QuadPart = -static_cast<LONGLONG>(Form1::kFollowIntervalMs) * 10'000;
  if (!SetWaitableTimer(followWaitable_.Get(), &due, Form1::kFollowIntervalMs, nullptr, nullptr, FALSE)) {
    followWaitable_.Reset();
    followTimerEnabled_ = false;
    SwitchTimer(ids::kFollowTimer, Form1::kFollowIntervalMs, followTimerEnabled_, true);
  }
}

void MainWindow::OnFollowWaitable() {
  Guarded(hwnd_, [&] {
    form_.Follow_Timer();
    return 0;
  });
}

std::int64_t MainWindow::Microseconds() const { return MicrosecondsNow(); }

void MainWindow::DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void MainWindow::FocusSwatch() { SetFocus(controls_.Of(layout::Kind::Swatch)); }

bool MainWindow::CopyToClipboard(std::string_view text) { return CopyTextToClipboard(hwnd_, text); }

void MainWindow::Minimise() { ShowWindow(hwnd_, SW_MINIMIZE); }

void MainWindow::Beep() { MessageBeep(MB_ICONHAND); }

void MainWindow::SetPanelVisible(int index, bool visible) {
  HWND panel = controls_.Of(layout::Kind::Panel, index);
  if ((IsWindowVisible(panel) != FALSE) != visible) ShowWindow(panel, visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::SetTopmost() { fnSetTopmost(hwnd_); }

bool MainWindow::ComeForward() {
  // Back where it was. The shortcut's WM_HOTKEY gives this thread the right to take the
  // foreground from whichever program has it ("SetForegroundWindow": the calling
  // process received the last input event), yet the system may still refuse it, for
  // instance while another program's menu is open.
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  const bool foreground = SetForegroundWindow(hwnd_) != FALSE && GetForegroundWindow() == hwnd_;
  fnSetTopmost(hwnd_);
  FocusSwatch();
  if (foreground && GetFocus() == controls_.Of(layout::Kind::Swatch)) return true;
  // The keys would go to another program: the taskbar button flashes until the window is
  // brought forward.
  FLASHWINFO flash{sizeof(flash), hwnd_, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
  return false;
}

void MainWindow::TakeClicks(bool taken) {
  if (taken) {
    clickHook_.Set(hwnd_);
  } else {
    clickHook_.Remove();
  }
}

std::vector<ScreenRect> MainWindow::OwnWindows() const {
  // Every window of this thread that shows: the main one, a notice, a tooltip. The loupe
  // is the sampler's to leave out.
  struct Found {
    HWND loupe;
    std::vector<ScreenRect> places;
  } found{loupe_.Handle(), {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto& f = *reinterpret_cast<Found*>(data);
        RECT r{};
        // The rectangle takes in the drop shadow, which changes the pixels beneath too.
        if (window != f.loupe && IsWindowVisible(window) && !IsIconic(window) && !Cloaked(window) &&
            GetWindowRect(window, &r))
          f.places.push_back(ScreenRect{r.left, r.top, r.right, r.bottom});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.places;
}

void MainWindow::ShowContrast(bool shown) {
  if (contrastShown_ == shown) return;
  contrastShown_ = shown;
  contrast_.Show(shown);
  // The window grows downwards to hold the lines, and moves up where it would leave its
  // monitor's work area; it shrinks back where it is.
  RECT now{};
  GetWindowRect(hwnd_, &now);
  const SIZE frame = FrameSize(controls_.Dpi());
  LONG top = now.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor) &&
      top + frame.cy > monitor.rcWork.bottom) {
    top = std::max(monitor.rcWork.top, monitor.rcWork.bottom - frame.cy);
  }
  SetWindowPos(hwnd_, nullptr, now.left, top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetContrast(ColourValue reference, std::string_view lines) { contrast_.Set(reference, lines); }

void MainWindow::ShowFrozen(bool frozen) {
  if (frozen_ == frozen) return;
  frozen_ = frozen;
  children_.SwatchValueChanged();
}

std::wstring MainWindow::AccessibleName(HWND control) const {
  if (control == controls_.Of(layout::Kind::Swatch)) return kSwatchName;
  // A scroll bar is named by the label before it only by some screen readers (the rule
  // is documented for edit controls): each slider says its letter itself.
  const int slider = controls_.IndexOf(layout::Kind::Slider, control);
  if (slider < 0) return {};
  return Widen(Label2Caption(slider));
}

std::wstring MainWindow::AccessibleValue(HWND control) const {
  // The swatch's colour as the HTML field shows it; a slider's component, 0 to 255.
  if (control == controls_.Of(layout::Kind::Swatch)) return Widen(Text(kHtmlReadout)) + (frozen_ ? L", Figé" : L"");
  const int slider = controls_.IndexOf(layout::Kind::Slider, control);
  if (slider < 0) return {};
  // std::to_wstring formats through the C runtime's wide printf, which mingw-w64 links in
  // whole (24 KB of Tintelo.exe, floating point included); std::to_string is plain integer code.
  return Widen(std::to_string(-form_.SliderValue(slider)));
}

}  // namespace tintelo::win
