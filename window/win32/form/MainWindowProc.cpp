// The main window's procedure: which handler each message goes to, and the handlers.
#include "window/win32/form/MainWindow.h"

#include <windowsx.h>

#include <utility>

#include "window/ControlIds.h"
#include "window/win32/base/StartupMarks.h"
#include "window/win32/form/SchemeColours.h"

namespace tintelo::win {

namespace {

// Sent from Windows 10 1703 on; the headers show it only to programs that need that version.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

}  // namespace

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: hwnd_ = window; return DefWindowProcW(window, message, wParam, lParam);
    case WM_ACTIVATE: OnActivate(wParam); return 0;
    case WM_SETFOCUS: FocusSwatch(); return 0;
    case WM_MOUSEMOVE: form_.Form_MouseMove(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_HOTKEY: OnHotKey(wParam); return 0;
    case kHotKeyAfterMenu: OnHotKey(wParam); return 0;
    case WM_ENTERMENULOOP: OnLoop(inMenu_, true); return 0;
    case WM_EXITMENULOOP: OnLoop(inMenu_, false); return 0;
    case WM_ENTERSIZEMOVE: OnLoop(inMoveSize_, true); return 0;
    case WM_EXITSIZEMOVE: OnLoop(inMoveSize_, false); return 0;
    case ClickHook::kLeftClick: form_.Screen_Click(Form1::Button::Left); return 0;
    case ClickHook::kRightClick: form_.Screen_Click(Form1::Button::Right); return 0;
    case ClickHook::kWheel: form_.Picture1_MouseWheel(static_cast<short>(LOWORD(wParam)), lParam != 0); return 0;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wParam), lParam); return 0;
    case WM_VSCROLL: OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)); return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC: return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case kGetDpiScaledSize: return OnGetDpiScaledSize(LOWORD(wParam), *reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SYSCOLORCHANGE: OnSchemeChanged(true); return 0;
    case WM_SETTINGCHANGE: OnSettingChange(wParam); return 0;
    case WM_DISPLAYCHANGE: form_.Form_DisplayChange(); return 0;
    case WM_THEMECHANGED: OnSchemeChanged(false); return 0;
    case WM_GETOBJECT: children_.ObjectRequested(); return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CLOSE: DestroyWindow(hwnd_); return 0;
    case WM_WTSSESSION_CHANGE: screen_.OnSessionChange(wParam); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCDESTROY: OnNcDestroy(); return 0;
    default: return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void MainWindow::OnActivate(WPARAM wParam) {
  // Coming back (from another program or from the taskbar) the focus returns to the
  // swatch, never to a readout field, which would copy it.
  if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) FocusSwatch();
}

void MainWindow::OnTimer(WPARAM id) {
  if (id == ids::kTimer1) {
    HoldRefresh();
    form_.Timer1_Timer();
  }
  if (id == ids::kFollowTimer) form_.Follow_Timer();
}

void MainWindow::OnHotKey(WPARAM id) {
  // A modal window (the colour dialog, a message box) disables this one: the shortcut
  // waits until it is closed. A move or size is the user's own drag: it waits too.
  if ((id != PickShortcut::kId && id != PickShortcut::kFrozenId) || !IsWindowEnabled(hwnd_)) return;
  // The thread's own account of its loops covers menus this window does not own (a
  // control's); the marks kept here cover a system that does not say.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  const DWORD loops = GetGUIThreadInfo(GetCurrentThreadId(), &gui) ? gui.flags : 0;
  const bool inMenu = inMenu_ || (loops & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
  // A move or size, or a drag that holds the mouse in this window (a slider's thumb);
  // while the swatch is held, sampling runs and its handler says what the shortcut does.
  const bool dragging =
      inMoveSize_ || (loops & GUI_INMOVESIZE) != 0 || (gui.hwndCapture != nullptr && !form_.Sampling());
  if (!inMenu && dragging) return;
  if (inMenu) {
    // The open menu holds the keyboard and would swallow the click that picks, and its
    // loop runs no follow timer: it closes first, and sampling begins after it, where
    // the menu is one of this window's, whose loop's end it hears of (OnLoop). Another's
    // menu only closes.
    hotKeyAfterMenu_ = inMenu_ ? id : 0;
    EndMenu();
    return;
  }
  hotKeyAfterMenu_ = 0;
  form_.Form_HotKey(id == PickShortcut::kFrozenId);
}

void MainWindow::OnLoop(bool& in, bool entered) {
  in = entered;
  if (entered || inMenu_ || hotKeyAfterMenu_ == 0) return;
  // Still inside the menu's loop as it ends: the shortcut runs from the main loop, once.
  PostMessageW(hwnd_, kHotKeyAfterMenu, std::exchange(hotKeyAfterMenu_, 0), 0);
}

bool MainWindow::OnSysCommand(WPARAM command) {
  const int index = RecentMenu::IndexOf(command);
  if (index < 0) return false;
  form_.RecentColour_Click(index);
  return true;
}

void MainWindow::OnInitMenuPopup(HMENU menu) { recentMenu_.Fill(menu, form_.Recent().Newest(), controls_.Dpi()); }

void MainWindow::OnContextMenu(HWND from, LPARAM at) {
  // The menu key or Shift+F10 on the swatch (a point of -1, -1); a right press there
  // samples, and its release never asks for a menu. While sampling the keys are sampling's.
  HWND swatch = controls_.Of(layout::Kind::Swatch);
  if (from != swatch || GET_X_LPARAM(at) != -1 || GET_Y_LPARAM(at) != -1 || form_.Sampling()) return;
  RECT place{};
  GetWindowRect(swatch, &place);
  // A menu tracked without notifications sends no WM_ENTERMENULOOP: its loop is marked here.
  OnLoop(inMenu_, true);
  const int index = recentMenu_.Track(hwnd_, POINT{place.left, place.bottom}, form_.Recent().Newest(), controls_.Dpi());
  OnLoop(inMenu_, false);
  if (index >= 0) form_.RecentColour_Click(index);
}

BOOL MainWindow::OnGetDpiScaledSize(UINT dpi, SIZE& size) const {
  // Asked before a move to a monitor of another scale: the client area stays exactly the
  // layout's size in twips, which scaling the frame in proportion would miss.
  size = FrameSize(dpi);
  return TRUE;
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Wine sends the system menu's own items here, where Windows sends WM_SYSCOMMAND.
  if (HIWORD(wParam) == 0 && lParam == 0) {
    (void)OnSysCommand(LOWORD(wParam));
    return;
  }
  if (HIWORD(wParam) != EN_SETFOCUS) return;
  const int id = LOWORD(wParam);
  if (id >= ids::kText1 && id < ids::kText1 + Form1::kReadouts) form_.Text1_GotFocus(id - ids::kText1);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  if (HBRUSH square = contrast_.BrushFor(control); square != nullptr) return reinterpret_cast<LRESULT>(square);
  // Read-only edits ask here too, as labels do.
  const bool field = controls_.IndexOf(layout::Kind::Readout, control) >= 0;
  return scheme_.ControlColour(dc, field ? Surface::Field : Surface::Form);
}

BOOL MainWindow::OnEraseBackground(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, scheme_.Brush(Surface::Form));
  return TRUE;
}

void MainWindow::OnScroll(HWND bar, int code) {
  const int index = controls_.IndexOf(layout::Kind::Slider, bar);
  if (index < 0) return;
  // The 16-bit position in the message cannot hold negative positions: ask the bar.
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(bar, SB_CTL, &info);
  switch (code) {
    case SB_LINEUP: form_.hScroll1_Action(index, SliderAction::LineUp); break;
    case SB_LINEDOWN: form_.hScroll1_Action(index, SliderAction::LineDown); break;
    case SB_PAGEUP: form_.hScroll1_Action(index, SliderAction::PageUp); break;
    case SB_PAGEDOWN: form_.hScroll1_Action(index, SliderAction::PageDown); break;
    case SB_TOP: form_.hScroll1_Action(index, SliderAction::Top); break;
    case SB_BOTTOM: form_.hScroll1_Action(index, SliderAction::Bottom); break;
    case SB_THUMBTRACK: form_.hScroll1_Action(index, SliderAction::Track, info.nTrackPos); break;
    case SB_THUMBPOSITION: form_.hScroll1_Action(index, SliderAction::ThumbReleased, info.nTrackPos); break;
    default: break;
  }
  // The bar shows the slider's position even if something outside moved it meanwhile
  // (another program can set any scroll bar's position).
  if (GetScrollPos(bar, SB_CTL) != form_.SliderValue(index)) ShowSliderPosition(index, form_.SliderValue(index));
}

void MainWindow::OnSettingChange(WPARAM setting) {
  // High contrast switched on or off; other settings change nothing this window draws.
  if (setting == SPI_SETHIGHCONTRAST) OnSchemeChanged(false);
  // Microsoft documents no message for a change of the SDR white level or of HDR alone
  // (which may come without WM_DISPLAYCHANGE): while sampling, any setting changed reads
  // the HDR states and white levels again, a few milliseconds, and only a monitor whose
  // HDR state changed starts its duplication afresh.
  form_.Form_SettingChange();
}

void MainWindow::OnSchemeChanged(bool colours) {
  scheme_.Refresh();
  // Common controls learn of a new scheme only from their top-level window.
  if (colours && controls_.ToolTip() != nullptr) SendMessageW(controls_.ToolTip(), WM_SYSCOLORCHANGE, 0, 0);
  // The children too: the form clips them out of its own repaint.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void MainWindow::OnNcDestroy() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

void MainWindow::OnDestroy() {
  clickHook_.Remove();
  screen_.StopWatchingSession();
  shortcut_.EndNotice();
  shortcut_.Unregister();
  children_.Detach();
  SetTimerEnabled(false);
  SetFollowTimerEnabled(false);
  controls_.DestroyToolTip();
  PostQuitMessage(0);
}

}  // namespace tintelo::win
