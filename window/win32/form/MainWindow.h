// Form1 on Win32: the main window, its life from creation to the last message, and the
// view the platform-free Form1 drives. The window's controls are a ControlSet, their
// behaviour ChildWindows; its files are MainWindow.cpp (creation, showing, scale),
// MainWindowProc.cpp (the window procedure) and MainWindowView.cpp (the view).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "window/Form1.h"
#include "window/win32/base/Handles.h"
#include "window/win32/form/Accessibility.h"
#include "window/win32/form/ChildWindows.h"
#include "window/win32/form/ContrastView.h"
#include "window/win32/form/ControlSet.h"
#include "window/win32/form/Dialogue.h"
#include "window/win32/form/LoupeWindow.h"
#include "window/win32/form/SchemeColours.h"
#include "window/win32/pick/ClickHook.h"
#include "window/win32/pick/PickShortcut.h"
#include "window/win32/pick/RecentMenu.h"
#include "window/win32/screen/WinScreen.h"

namespace tintelo::win {

class MainWindow final : private FormView, private AccessibleText {
 public:
  // Registers the window classes and creates the window, hidden, with every control. A
  // class or window Windows refuses ends the program with the start-up report
  // (RuntimeErrorReport.h): no window is left missing a control.
  [[nodiscard]] static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window and runs the first activation.
  void Show();
  // Keyboard navigation the window does itself; true when the message was consumed.
  [[nodiscard]] bool PreTranslate(const MSG& msg);
  // The follow timer where it is a high-resolution waitable timer, which the message loop
  // waits on beside the messages, while it runs; null otherwise.
  [[nodiscard]] HANDLE FollowWaitable() const noexcept { return followTimerEnabled_ ? followWaitable_.Get() : nullptr; }
  // That timer is due: one Follow_Timer event.
  void OnFollowWaitable();

 private:
  explicit MainWindow(HINSTANCE instance);

  // Creation and scale (MainWindow.cpp).
  [[nodiscard]] SIZE FrameSize(UINT dpi) const;  // the outer size for the layout's client area
  void LoadIcons();
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  // The window procedure (MainWindowProc.cpp): each message is one handler.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(WPARAM wParam);
  void OnTimer(WPARAM id);
  void OnHotKey(WPARAM id);
  // A menu's or a move's own message loop began or ended.
  void OnLoop(bool& in, bool entered);
  [[nodiscard]] bool OnSysCommand(WPARAM command);
  void OnInitMenuPopup(HMENU menu);
  void OnContextMenu(HWND from, LPARAM at);
  [[nodiscard]] BOOL OnGetDpiScaledSize(UINT dpi, SIZE& size) const;
  void OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColour(HDC dc, HWND control);
  [[nodiscard]] BOOL OnEraseBackground(HDC dc) const;
  void OnSettingChange(WPARAM setting);
  void OnScroll(HWND bar, int code);
  void OnSchemeChanged(bool colours);
  void OnDestroy();
  void OnNcDestroy();

  // FormView (MainWindowView.cpp)
  [[nodiscard]] ColourValue SwatchColour() const override { return children_.SwatchColour(); }
  void SetSwatchColour(ColourValue value) override { children_.SetSwatchColour(value); }
  void SetText(int index, std::string_view text) override;
  [[nodiscard]] std::string Text(int index) const override;
  void SetToolTip(int index, std::string_view text) override;
  [[nodiscard]] std::string ToolTip(int index) const override;
  void SetLabel2Caption(int index, std::string_view text) override;
  [[nodiscard]] std::string Label2Caption(int index) const override;
  [[nodiscard]] HWND Label2(int index) const;
  void ShowSliderPosition(int index, std::int16_t position) override;
  void SwitchTimer(UINT_PTR id, UINT intervalMs, bool& on, bool enabled);
  void SetTimerEnabled(bool enabled) override;
  void SetFollowTimerEnabled(bool enabled) override;
  [[nodiscard]] std::int64_t Microseconds() const override;
  void DoEvents() override;
  void FocusSwatch() override;
  [[nodiscard]] bool CopyToClipboard(std::string_view text) override;
  void Minimise() override;
  void Beep() override;
  void MovePanel(int index, double left, double top) override { controls_.MovePanel(index, left, top); }
  void SetPanelVisible(int index, bool visible) override;
  [[nodiscard]] ColourDialog& Dialogue() override { return dialogue_; }
  void SetTopmost() override;
  [[nodiscard]] bool ComeForward() override;
  void TakeClicks(bool taken) override;
  [[nodiscard]] std::vector<ScreenRect> OwnWindows() const override;
  void ShowFrozen(bool frozen) override;
  void ShowContrast(bool shown) override;
  void SetContrast(ColourValue reference, std::string_view lines) override;
  // The client area's height in twips: the controls', and the contrast lines' while shown.
  [[nodiscard]] int ClientHeightTwips() const noexcept;

  // AccessibleText (MainWindowView.cpp)
  [[nodiscard]] std::wstring AccessibleName(HWND control) const override;
  [[nodiscard]] std::wstring AccessibleValue(HWND control) const override;

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  std::array<std::wstring, Form1::kReadouts> toolTips_{};
  bool timerEnabled_ = false;
  bool followTimerEnabled_ = false;
  // A window timer fires on the system's tick, about 15.6 ms, however short its interval
  // ("SetTimer"), so the refresh after a burst of moves could come 16 to 31 ms late. A
  // high-resolution waitable timer (CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, Windows 10
  // 1803 on) keeps the interval asked for; null where the system has none.
  UniqueKernelHandle followWaitable_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  PickShortcut shortcut_;
  // The message loops of a menu and of a move or size, which run no sampling: the
  // shortcut pressed in a menu closes it first, and starts sampling once its loop is
  // over (kHotKeyAfterMenu); during a move it does nothing.
  static constexpr UINT kHotKeyAfterMenu = WM_APP + 16;
  bool inMenu_ = false;
  bool inMoveSize_ = false;
  WPARAM hotKeyAfterMenu_ = 0;  // the shortcut's id, or 0
  bool frozen_ = false;         // sampling reads a still: the swatch's value says so
  bool contrastShown_ = false;
  ContrastView contrast_;
  ClickHook clickHook_;
  RecentMenu recentMenu_;

  SchemePaint scheme_;
  WinScreen screen_;
  LoupeWindow loupe_;
  win::Dialogue dialogue_;
  Form1 form_;
  ControlSet controls_;
  ChildWindows children_;
};

}  // namespace tintelo::win
