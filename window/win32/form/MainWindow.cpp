// The main window's creation, first showing and changes of scale.
#include "window/win32/form/MainWindow.h"

#include "resources/resource.h"
#include "window/ControlIds.h"
#include "window/Layout.h"
#include "window/win32/base/Compat.h"
#include "window/win32/base/RuntimeErrorReport.h"
#include "window/win32/base/StartupMarks.h"
#include "window/win32/base/WindowProc.h"

namespace tintelo::win {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// A frame of `size` centred in the primary monitor's work area.
RECT CentredOnPrimary(SIZE size) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const LONG left = work.left + (work.right - work.left - size.cx) / 2;
  const LONG top = work.top + (work.bottom - work.top - size.cy) / 2;
  return RECT{left, top, left + size.cx, top + size.cy};
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), form_(*this, screen_, loupe_), children_(form_, controls_, scheme_, *this) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> self(new MainWindow(instance));
  self->scheme_.Refresh();
  self->children_.LoadPalette(instance, IDB_PALETTE);

  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = ForwardToOwner<MainWindow, &MainWindow::HandleMessage>;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // No class background: the window paints its own, which high contrast changes.
  form.lpszClassName = ids::kWindowClass;
  if (RegisterClassExW(&form) == 0) ReportStartupFailureAndExit("Classe de fenêtre TinteloForm1", -1, GetLastError());
  ChildWindows::RegisterClasses(instance, LoadCursorW(instance, MAKEINTRESOURCEW(IDC_TINTELO_HAND)));
  StartupMark("classes");

  // Created where it opens, centred on the primary monitor, at the size the system's scale
  // gives: moving or resizing a window after its creation costs another round trip to the
  // display server.
  const RECT place = CentredOnPrimary(self->FrameSize(SystemDpi()));
  self->hwnd_ =
      CreateWindowExW(0, ids::kWindowClass, ids::kCaption, kFormStyle, place.left, place.top, place.right - place.left,
                      place.bottom - place.top, nullptr, nullptr, instance, self.get());
  if (self->hwnd_ == nullptr) ReportStartupFailureAndExit("Fenêtre Form1", -1, GetLastError());
  StartupMark("window");
  // A primary monitor at another scale than the system's (changed since the session
  // began) asks for another size.
  const UINT dpi = DpiOfWindow(self->hwnd_);
  if (dpi != SystemDpi()) {
    const RECT scaled = CentredOnPrimary(self->FrameSize(dpi));
    SetWindowPos(self->hwnd_, nullptr, scaled.left, scaled.top, scaled.right - scaled.left, scaled.bottom - scaled.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  self->shortcut_.Register(self->hwnd_);
  self->recentMenu_.AddTo(self->hwnd_);
  self->dialogue_.SetOwner(self->hwnd_);
  self->loupe_.SetOwner(self->hwnd_, instance);
  self->screen_.SetOwner(self->hwnd_);
  // Refused by systems before Windows 10 1803, which have only the window timer.
  constexpr DWORD kHighResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
  self->followWaitable_.Reset(CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS));
  self->controls_.Create(self->hwnd_, instance, dpi, self->children_);
  self->contrast_.Create(self->hwnd_, instance, self->controls_);
  StartupMark("controls");
  self->LoadIcons();
  StartupMark("icons");
  for (int i = 0; i < Form1::kSliders; ++i) self->ShowSliderPosition(i, self->form_.SliderValue(i));
  self->SetToolTip(0, layout::kReadoutTip);
  self->form_.Form_Load();
  StartupMark("loaded");
  return self;
}

void MainWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  StartupMark("shown");
  UpdateWindow(hwnd_);
  StartupMark("painted");
  SetForegroundWindow(hwnd_);
  FocusSwatch();
  // The start-up activation runs once the window is shown, and after ShowWindow has
  // returned: a topmost change made while the show is still under way does not stick
  // everywhere, and a window started in the background may not be activated at all.
  // Once the window is up, the notice can point at it; it allocates its text, so it runs
  // under the error boundary as the activation does.
  Guarded(hwnd_, [&] {
    form_.Form_Activate();
    shortcut_.NoticeIfRefused(controls_.Of(layout::Kind::Swatch));
    return 0;
  });
}

bool MainWindow::PreTranslate(const MSG& msg) {
  const bool ctrlKey = msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 &&
                       (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd));
  if (ctrlKey && ((msg.wParam >= '1' && msg.wParam <= '5') || msg.wParam == 'K' || msg.wParam == 'R')) {
    // Ctrl+1 to Ctrl+5, Ctrl+K and Ctrl+R, wherever the focus is in the window; not with
    // Alt, since AltGr is Ctrl+Alt and types # and other signs on many keyboards. A held
    // key acts once.
    if ((msg.lParam & (1 << 30)) == 0) {
      Guarded(hwnd_, [&] {
        if (msg.wParam == 'K') {
          form_.Contrast_Click();
        } else if (msg.wParam == 'R') {
          form_.Reference_Click();
        } else {
          form_.CssCopy_Click(kCssNotations.at(msg.wParam - '1'));
        }
        return 0;
      });
    }
    return true;
  }
  // Tab order is not the stacking order here (the help panels are in front but last in
  // the tab order), so the window walks its own tab list instead of the dialog manager.
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  // While sampling, Tab waits: a field that took the focus would be copied.
  if (form_.Picture1_KeyDown(SwatchKey::Tab, GetKeyState(VK_SHIFT) < 0, (msg.lParam & (1 << 30)) != 0)) return true;
  HWND next = controls_.TabNeighbour(GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next != nullptr) SetFocus(next);
  return true;
}

SIZE MainWindow::FrameSize(UINT dpi) const {
  return FrameForDpi(layout::Pixels(layout::kClientWidth, dpi), layout::Pixels(ClientHeightTwips(), dpi), kFormStyle,
                     dpi);
}

int MainWindow::ClientHeightTwips() const noexcept {
  return layout::kClientHeight + (contrastShown_ ? layout::kContrastHeight : 0);
}

void MainWindow::LoadIcons() {
  // The caption and the taskbar ask for the icon at the monitor's scale; the resource
  // holds every size from 16 to 256 pixels.
  const UINT dpi = controls_.Dpi();
  const auto load = [&](int width, int height) {
    return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TINTELO), IMAGE_ICON, MetricForDpi(width, dpi),
                                         MetricForDpi(height, dpi), 0));
  };
  UniqueIcon big(load(SM_CXICON, SM_CYICON));
  UniqueIcon small(load(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  // The window no longer shows the previous pair: they can go.
  icon_ = std::move(big);
  smallIcon_ = std::move(small);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  // Where the system suggests, at the size the layout asks for: the suggestion is the old
  // frame scaled, a pixel off the exact client size where the system did not ask first.
  SIZE frame = FrameSize(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // A frame drawn at another scale than the one asked for (Wine keeps the system's) leaves
  // the client area off by its difference: measure it and make up for it.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int wrongWidth = client.right - layout::Pixels(layout::kClientWidth, dpi);
  const int wrongHeight = client.bottom - layout::Pixels(ClientHeightTwips(), dpi);
  if (wrongWidth != 0 || wrongHeight != 0) {
    frame.cx -= wrongWidth;
    frame.cy -= wrongHeight;
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  controls_.Rescale(dpi);
  contrast_.Rescale(controls_);
  LoadIcons();
}

}  // namespace tintelo::win
