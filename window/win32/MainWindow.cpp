#include "MainWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <span>
#include <vector>

#include "Contrast.h"
#include "ControlIds.h"
#include "Layout.h"
#include "RuntimeErrorReport.h"
#include "Text.h"
#include "resource.h"

namespace tintelo::win {

namespace {

// System colour `text` where it reads on `background`, else black or white.
COLORREF TextColourOn(int text, COLORREF background) {
  return static_cast<COLORREF>(ReadableTextColour(static_cast<ColourValue>(GetSysColor(text)),
                                                  static_cast<ColourValue>(background)));
}

constexpr wchar_t kSwatchClass[] = L"TinteloSwatch";
constexpr wchar_t kPaletteClass[] = L"TinteloImage";
constexpr wchar_t kPanelClass[] = L"TinteloPanel";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR kSubclassId = 1;
constexpr wchar_t kSwatchName[] = L"Couleur";  // what a screen reader calls the swatch
// Sent from Windows 10 1703 on; the headers show it only to programs that need that version.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

// Which control a subclassed child window is, kept in its subclass data: kind in the
// high byte, array index in the low one.
DWORD_PTR Tag(layout::Kind kind, int index) {
  return (static_cast<DWORD_PTR>(kind) << 8) | static_cast<DWORD_PTR>(index);
}

// How each kind of control is made. `watched` controls are subclassed: they report their
// mouse moves (the help panels depend on them) or a screen reader's first request;
// `ours` are this program's own window classes.
struct Blueprint {
  DWORD exStyle;
  const wchar_t* windowClass;
  DWORD style;
  int idBase;
  bool watched;
  bool ours;
};

Blueprint BlueprintOf(layout::Kind kind) {
  // SS_NOTIFY makes a label take the pointer itself, so moving over it does not reach
  // the window background (which would hide the help panels). WS_TABSTOP: a scroll bar
  // control takes the focus on a click only with it.
  constexpr DWORD kLabel = WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX;
  switch (kind) {
    case layout::Kind::Panel: return {0, kPanelClass, WS_BORDER | WS_CLIPCHILDREN, ids::kTool1, false, true};
    case layout::Kind::PanelText: return {0, L"STATIC", kLabel | SS_LEFT, ids::kLabel4, true, false};
    case layout::Kind::Slider:
      return {0, L"SCROLLBAR", WS_VISIBLE | WS_TABSTOP | SBS_VERT, ids::kHScroll1, true, false};
    case layout::Kind::Swatch: return {WS_EX_CLIENTEDGE, kSwatchClass, WS_VISIBLE, ids::kPicture1, false, true};
    case layout::Kind::Readout:
      return {0, L"EDIT", WS_VISIBLE | ES_LEFT | ES_READONLY | ES_AUTOHSCROLL, ids::kText1, true, false};
    case layout::Kind::Palette: return {0, kPaletteClass, WS_VISIBLE, ids::kImage1, false, true};
    case layout::Kind::ValueLabel:
    case layout::Kind::SliderLetter: return {0, L"STATIC", kLabel | SS_CENTER, ids::kLabel2, false, false};
    case layout::Kind::Caption: break;
  }
  return {0, L"STATIC", kLabel | SS_RIGHT, ids::kLabel1, true, false};
}

// GetDpiForWindow and AdjustWindowRectExForDpi exist from Windows 10 1607 on; user32 is
// already loaded, so looking them up loads nothing new. Older systems use the system DPI.
UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = ProcAddress<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (getDpi != nullptr) {
    if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
  }
  const WindowDc screen(nullptr);
  return static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

// GetSystemMetricsForDpi exists from Windows 10 1607 on; before it, every monitor has the
// system's scale.
int MetricForDpi(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi =
      ProcAddress<GetSystemMetricsForDpiFn>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

RECT FrameFor(int clientWidth, int clientHeight, UINT dpi) {
  RECT rect{0, 0, clientWidth, clientHeight};
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = ProcAddress<AdjustFn>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
  if (adjust != nullptr) {
    adjust(&rect, kFormStyle, FALSE, 0, dpi);
  } else {
    AdjustWindowRectEx(&rect, kFormStyle, FALSE, 0);
  }
  return rect;
}

// Runs a handler; a run-time error that leaves it ends the program with the standard report.
template <typename Handler>
LRESULT Guarded(HWND owner, Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const RuntimeError& error) {
    ReportRuntimeErrorAndExit(owner, error.Number(), error.what());
  } catch (const std::exception& error) {
    ReportRuntimeErrorAndExit(owner, 0, error.what());
  } catch (...) {
    ReportRuntimeErrorAndExit(owner, 0, "");
  }
}

// Sampling rewrites every readout 20 times a second, mostly with the text already shown
// while the pointer rests: an unchanged text is left alone, so nothing repaints for it.
void SetWindowTextIfChanged(HWND window, std::string_view text) {
  const std::wstring wanted = Widen(text);
  std::array<wchar_t, 64> shown{};
  const int length = GetWindowTextW(window, shown.data(), static_cast<int>(shown.size()));
  // A longer text than the buffer holds compares unequal and is simply written.
  if (std::wstring_view(shown.data(), static_cast<std::size_t>(length)) != wanted) {
    SetWindowTextW(window, wanted.c_str());
  }
}

MainWindow* FromWindow(HWND window) { return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

int MouseButtonsDown() {
  int held = 0;
  for (const int key : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
    if (GetKeyState(key) < 0) ++held;
  }
  return held;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), form_(*this, screen_) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> self(new MainWindow(instance));

  self->hand_ = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_TINTELO_HAND));

  if (HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_PALETTE_GIF), MAKEINTRESOURCEW(10)); found) {
    if (HGLOBAL loaded = LoadResource(instance, found); loaded) {
      const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
      if (bytes != nullptr) self->palette_ = DecodeGif(std::span(bytes, SizeofResource(instance, found)));
    }
  }

  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = FormProc;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INACTIVEBORDER + 1);
  form.lpszClassName = ids::kWindowClass;
  RegisterClassExW(&form);

  WNDCLASSEXW child{};
  child.cbSize = sizeof(child);
  child.lpfnWndProc = ChildProc;
  child.hInstance = instance;
  child.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  child.lpszClassName = kSwatchClass;
  RegisterClassExW(&child);
  child.hCursor = self->hand_;
  child.lpszClassName = kPaletteClass;
  RegisterClassExW(&child);
  child.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  child.lpszClassName = kPanelClass;
  RegisterClassExW(&child);

  self->hwnd_ = CreateWindowExW(0, ids::kWindowClass, ids::kCaption, kFormStyle, 0, 0, 0, 0, nullptr, nullptr,
                                instance, self.get());
  if (self->hwnd_ == nullptr) return nullptr;
  self->dialogue_.SetOwner(self->hwnd_);
  self->dpi_ = DpiOf(self->hwnd_);
  self->LoadIcons();
  self->RebuildFonts();
  self->CreateControls();

  // Centred on the monitor the window starts on, at that monitor's scale.
  const SIZE frame = self->FrameSize(self->dpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(self->hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const int width = frame.cx;
  const int height = frame.cy;
  const RECT& work = monitor.rcWork;
  SetWindowPos(self->hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  self->form_.Form_Load();
  return self;
}

HWND& MainWindow::Slot(const layout::Control& c) {
  const auto i = static_cast<std::size_t>(c.index);
  switch (c.kind) {
    case layout::Kind::Panel: return tool1_.at(i);
    case layout::Kind::PanelText: return label4_.at(i);
    case layout::Kind::Slider: return hScroll1_.at(i);
    case layout::Kind::Swatch: return picture1_;
    case layout::Kind::Readout: return text1_.at(i);
    case layout::Kind::Palette: return image1_;
    case layout::Kind::ValueLabel:
    case layout::Kind::SliderLetter: return label2_.at(i);
    case layout::Kind::Caption: break;
  }
  return label1_.at(i);
}

HWND MainWindow::Slot(const layout::Control& c) const { return const_cast<MainWindow*>(this)->Slot(c); }

MainWindow::Place MainWindow::PlaceOf(const layout::Control& c) const {
  const bool panel = c.kind == layout::Kind::Panel;
  const double left = panel ? panelLeft_.at(static_cast<std::size_t>(c.index)) : c.left;
  const double top = panel ? panelTop_.at(static_cast<std::size_t>(c.index)) : c.top;
  return Place{Px(left), Px(top), Px(c.width), Px(c.height)};
}

void MainWindow::CreateControls() {
  // The tooltip window has no owner: Wine places a window that owns a topmost popup
  // below that popup instead of making it topmost itself. Being topmost on its own, the
  // tooltip still shows above the window; the window destroys it on the way out.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_,
                             nullptr);
  ScaleToolTip();

  // Each control is created in its final place with its font: no second pass at start-up.
  for (const auto& c : layout::kControls) {
    const auto i = static_cast<std::size_t>(c.index);
    if (c.kind == layout::Kind::Panel) {
      panelLeft_.at(i) = c.left;
      panelTop_.at(i) = c.top;
    }
    const Blueprint blueprint = BlueprintOf(c.kind);
    const Place place = PlaceOf(c);
    const std::wstring text = Widen(c.text);
    HWND& slot = Slot(c);
    slot = CreateWindowExW(blueprint.exStyle, blueprint.windowClass, text.empty() ? nullptr : text.c_str(),
                           WS_CHILD | WS_CLIPSIBLINGS | blueprint.style, place.left, place.top, place.width,
                           place.height, c.kind == layout::Kind::PanelText ? tool1_.at(i) : hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(blueprint.idBase + c.index)), instance_,
                           blueprint.ours ? this : nullptr);
    if (blueprint.watched) SetWindowSubclass(slot, SubclassProc, kSubclassId, Tag(c.kind, c.index));
    if (c.kind == layout::Kind::Slider) {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
      info.nMin = Slider::kMin;
      info.nMax = Slider::kMax;
      info.nPage = 0;
      info.nPos = form_.SliderValue(c.index);
      SetScrollInfo(slot, SB_CTL, &info, FALSE);
    }
    SendMessageW(slot, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c)), FALSE);
  }
  // Screen readers name a field or a scroll bar after the label just before it in the
  // stacking order: each caption goes right before the field on its row, each letter
  // right before its slider. None of them overlap, so nothing on screen changes.
  for (const auto& c : layout::kControls) {
    if (c.kind != layout::Kind::Caption && c.kind != layout::Kind::SliderLetter) continue;
    HWND named = nullptr;
    for (const auto& field : layout::kControls) {
      const bool sameRow = field.kind == layout::Kind::Readout && field.top == c.top;
      const bool sameSlider = field.kind == layout::Kind::Slider && field.index == c.index;
      if (c.kind == layout::Kind::Caption ? sameRow : sameSlider) named = Slot(field);
    }
    HWND label = Slot(c);
    HWND before = GetWindow(named, GW_HWNDPREV);
    if (before != label) {
      SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  // A new child window goes below its older siblings, so creating the table front to
  // back gives its stacking order. Only the help panels overlap other controls: make
  // sure of them whatever the system's default placement.
  SetWindowPos(tool1_[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(tool1_[1], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetToolTip(0, layout::kReadoutTip);
}

HFONT MainWindow::FontFor(const layout::Control& c) const {
  return c.kind == layout::Kind::SliderLetter ? letterFont_.Get() : font_.Get();
}

int MainWindow::Px(double twips) const {
  return static_cast<int>(std::lround(twips * static_cast<double>(dpi_) / 1440.0));
}

double MainWindow::Twips(int pixels) const { return pixels * 1440.0 / static_cast<double>(dpi_); }

void MainWindow::Layout() {
  // Moved without drawing, then repainted once, children and all: a child moved without
  // drawing keeps the pixels it had at the old scale until it is told to paint again.
  for (const auto& c : layout::kControls) {
    const Place place = PlaceOf(c);
    HWND control = Slot(c);
    SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c)), FALSE);
  }
  RepaintAll();
}

void MainWindow::RepaintAll() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

SIZE MainWindow::FrameSize(UINT dpi) const {
  const auto px = [dpi](int twips) { return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0)); };
  const RECT frame = FrameFor(px(layout::kClientWidth), px(layout::kClientHeight), dpi);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void MainWindow::LoadIcons() {
  // The caption and the taskbar ask for the icon at the monitor's scale; the resource
  // holds every size from 16 to 256 pixels.
  const auto load = [&](int width, int height) {
    return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TINTELO), IMAGE_ICON,
                                         MetricForDpi(width, dpi_), MetricForDpi(height, dpi_), 0));
  };
  UniqueIcon big(load(SM_CXICON, SM_CYICON));
  UniqueIcon small(load(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  // The window no longer shows the previous pair: they can go.
  icon_ = std::move(big);
  smallIcon_ = std::move(small);
}

void MainWindow::ScaleToolTip() {
  // The tooltip draws with the system's status font, made for the system's scale, and
  // wraps at 400 pixels of 96 DPI: on a monitor of another scale both follow it.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW face = metrics.lfStatusFont;
  face.lfHeight = MulDiv(face.lfHeight, static_cast<int>(dpi_), static_cast<int>(DpiOf(nullptr)));
  UniqueFont font(CreateFontIndirectW(&face));
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  tipFont_ = std::move(font);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kTipWidthAt96, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI));
}

void MainWindow::RebuildFonts() {
  // The readouts are one line of 195 twips with no border, and each caption must fit its
  // label on one line: take the system's message font face and shrink it until both hold
  // at this DPI.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  const WindowDc screen(nullptr);
  const auto fits = [&](HFONT font) {
    const SelectGuard select(screen.Get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.Get(), &tm);
    if (tm.tmHeight > Px(195)) return false;
    for (const auto& c : layout::kControls) {
      if (c.kind != layout::Kind::Caption) continue;
      const std::wstring text = Widen(c.text);
      SIZE extent{};
      GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
      if (extent.cx >= Px(c.width)) return false;  // DrawText needs a pixel to spare before it wraps
    }
    return true;
  };
  for (int tenths = 80; tenths >= 50; tenths -= 5) {
    face.lfHeight = -MulDiv(tenths, static_cast<int>(dpi_), 720);
    font_.Reset(CreateFontIndirectW(&face));
    if (fits(font_.Get())) break;
  }

  // The R, G and B letters: Arial 6.75 points, regular.
  LOGFONTW letters{};
  letters.lfHeight = -MulDiv(675, static_cast<int>(dpi_), 7200);
  letters.lfWeight = FW_NORMAL;
  letters.lfCharSet = ANSI_CHARSET;
  lstrcpynW(letters.lfFaceName, L"Arial", LF_FACESIZE);
  letterFont_.Reset(CreateFontIndirectW(&letters));
}

void MainWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  FocusSwatch();
  // The start-up activation runs once the window is shown, and after ShowWindow has
  // returned: a topmost change made while the show is still under way does not stick
  // everywhere, and a window started in the background may not be activated at all.
  Guarded(hwnd_, [&] {
    form_.Form_Activate();
    return 0;
  });
}

HWND MainWindow::TabNeighbour(HWND from, bool backwards) const {
  struct Stop {
    int tabIndex;
    HWND window;
  };
  std::vector<Stop> stops;
  for (const auto& c : layout::kControls) {
    const bool focusable = c.kind == layout::Kind::Swatch || c.kind == layout::Kind::Readout ||
                           c.kind == layout::Kind::Slider || c.kind == layout::Kind::Panel;
    HWND window = Slot(c);
    if (focusable && IsWindowVisible(window)) stops.push_back({c.tabIndex, window});
  }
  std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.tabIndex < b.tabIndex; });
  const auto at = std::find_if(stops.begin(), stops.end(), [&](const Stop& s) { return s.window == from; });
  if (stops.empty()) return nullptr;
  if (at == stops.end()) return stops.front().window;
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t here = at - stops.begin();
  const std::ptrdiff_t next = backwards ? (here + n - 1) % n : (here + 1) % n;
  return stops[static_cast<std::size_t>(next)].window;
}

bool MainWindow::PreTranslate(const MSG& msg) {
  // Tab order is not the stacking order here (the help panels are in front but last in
  // the tab order), so the window walks its own tab list instead of the dialog manager.
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  HWND next = TabNeighbour(GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next != nullptr) SetFocus(next);
  return true;
}

// ---- FormView ----

void MainWindow::SetSwatchColour(ColourValue value) {
  if (value == swatchColour_) return;
  swatchColour_ = value;
  InvalidateRect(picture1_, nullptr, FALSE);
  if (annotations_.Active()) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, picture1_, OBJID_CLIENT, CHILDID_SELF);
}

void MainWindow::SetText(int index, std::string_view text) {
  SetWindowTextIfChanged(text1_.at(static_cast<std::size_t>(index)), text);
}

std::string MainWindow::Text(int index) const {
  HWND edit = text1_.at(static_cast<std::size_t>(index));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void MainWindow::SetToolTip(int index, std::string_view text) {
  const auto i = static_cast<std::size_t>(index);
  const bool existed = !toolTips_.at(i).empty();
  toolTips_[i] = Widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(text1_[i]);
  tool.lpszText = toolTips_[i].data();
  SendMessageW(tooltip_, existed ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string MainWindow::ToolTip(int index) const { return Narrow(toolTips_.at(static_cast<std::size_t>(index))); }

void MainWindow::SetLabel2Caption(int index, std::string_view text) {
  SetWindowTextIfChanged(label2_.at(static_cast<std::size_t>(index)), text);
}

void MainWindow::ShowSliderPosition(int index, std::int16_t position) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(hScroll1_.at(static_cast<std::size_t>(index)), SB_CTL, &info, TRUE);
}

void MainWindow::SetTimerEnabled(bool enabled) {
  if (enabled == timerEnabled_) return;
  timerEnabled_ = enabled;
  if (enabled) {
    SetTimer(hwnd_, ids::kTimer1, Form1::kTimerIntervalMs, nullptr);
  } else {
    KillTimer(hwnd_, ids::kTimer1);
  }
}

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

void MainWindow::FocusSwatch() { SetFocus(picture1_); }

bool MainWindow::CopyToClipboard(std::string_view text) { return CopyTextToClipboard(hwnd_, text); }

void MainWindow::Minimise() { ShowWindow(hwnd_, SW_MINIMIZE); }

void MainWindow::Beep() { MessageBeep(MB_ICONHAND); }

void MainWindow::MovePanel(int index, double left, double top) {
  const auto i = static_cast<std::size_t>(index);
  panelLeft_.at(i) = left;
  panelTop_.at(i) = top;
  SetWindowPos(tool1_[i], nullptr, Px(left), Px(top), 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetPanelVisible(int index, bool visible) {
  HWND panel = tool1_.at(static_cast<std::size_t>(index));
  if ((IsWindowVisible(panel) != FALSE) != visible) ShowWindow(panel, visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::SetTopmost() { fnSetTopmost(hwnd_); }

// ---- Messages ----

LRESULT CALLBACK MainWindow::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  MainWindow* self = FromWindow(window);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded(window, [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        // Coming back (from another program or from the taskbar) the focus returns to
        // the swatch, never to a readout field, which would copy it.
        if (HIWORD(wParam) == 0) FocusSwatch();
      }
      return 0;
    case WM_SETFOCUS: FocusSwatch(); return 0;
    case WM_MOUSEMOVE: form_.Form_MouseMove(); return 0;
    case WM_TIMER:
      if (wParam == ids::kTimer1) form_.Timer1_Timer();
      return 0;
    case WM_VSCROLL: OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)); return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_SETFOCUS) {
        const int id = LOWORD(wParam);
        if (id >= ids::kText1 && id < ids::kText1 + Form1::kReadouts) form_.Text1_GotFocus(id - ids::kText1);
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      if (std::find(text1_.begin(), text1_.end(), control) != text1_.end()) {
        // Read-only edits ask here too: they stay white like editable ones, with the
        // scheme's window text unless it is too light to read there (High Contrast Black).
        SetTextColor(dc, TextColourOn(COLOR_WINDOWTEXT, RGB(255, 255, 255)));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      SetTextColor(dc, TextColourOn(COLOR_BTNTEXT, GetSysColor(COLOR_INACTIVEBORDER)));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVEBORDER));
    }
    case kGetDpiScaledSize: {
      // Asked before a move to a monitor of another scale: the client area stays exactly
      // the layout's size in twips, which scaling the frame in proportion would miss.
      *reinterpret_cast<SIZE*>(lParam) = FrameSize(LOWORD(wParam));
      return TRUE;
    }
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SYSCOLORCHANGE:
      // Common controls learn of a new scheme only from their top-level window.
      if (tooltip_ != nullptr) SendMessageW(tooltip_, WM_SYSCOLORCHANGE, 0, 0);
      [[fallthrough]];
    case WM_SETTINGCHANGE:
      // The children too: the form clips them out of its own repaint.
      RepaintAll();
      return 0;
    case WM_GETOBJECT: OnObjectRequested(); return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CLOSE: DestroyWindow(hwnd_); return 0;
    case WM_DESTROY:
      annotations_.Clear();
      SetTimerEnabled(false);
      DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    default: return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  RebuildFonts();
  LoadIcons();
  ScaleToolTip();
  // Where the system suggests, at the size the layout asks for: the suggestion is the old
  // frame scaled, a pixel off the exact client size where the system did not ask first.
  SIZE frame = FrameSize(dpi_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // A frame drawn at another scale than the one asked for (Wine keeps the system's) leaves
  // the client area off by its difference: measure it and make up for it.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int wrongWidth = client.right - Px(layout::kClientWidth);
  const int wrongHeight = client.bottom - Px(layout::kClientHeight);
  if (wrongWidth != 0 || wrongHeight != 0) {
    frame.cx -= wrongWidth;
    frame.cy -= wrongHeight;
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  Layout();
}

void MainWindow::OnObjectRequested() {
  const std::array<HWND, 4> annotated{picture1_, hScroll1_[0], hScroll1_[1], hScroll1_[2]};
  annotations_.OnObjectRequested(annotated, *this);
}

std::wstring MainWindow::AccessibleName(HWND control) const {
  if (control == picture1_) return kSwatchName;
  return {};  // the sliders take their letters, the label before each
}

std::wstring MainWindow::AccessibleValue(HWND control) const {
  // The swatch's colour as the HTML field shows it; a slider's component, 0 to 255.
  if (control == picture1_) return Widen(Text(5));
  const auto slider = std::find(hScroll1_.begin(), hScroll1_.end(), control);
  if (slider == hScroll1_.end()) return {};
  return std::to_wstring(-form_.SliderValue(static_cast<int>(slider - hScroll1_.begin())));
}

void MainWindow::OnScroll(HWND bar, int code) {
  const auto found = std::find(hScroll1_.begin(), hScroll1_.end(), bar);
  if (found == hScroll1_.end()) return;
  const int index = static_cast<int>(found - hScroll1_.begin());
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

LRESULT CALLBACK MainWindow::ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  MainWindow* self = FromWindow(window);
  if (self == nullptr || message == WM_NCDESTROY) return DefWindowProcW(window, message, wParam, lParam);
  // Dispatch by control identifier: it is set before the first message, while the
  // member handles are assigned only once creation returns.
  const int id = GetDlgCtrlID(window);
  return Guarded(window, [&]() -> LRESULT {
    if (id == ids::kPicture1) return self->HandleSwatch(window, message, wParam, lParam);
    if (id == ids::kImage1) return self->HandlePalette(window, message, wParam, lParam);
    if (id == ids::kTool1 || id == ids::kTool1 + 1) return self->HandlePanel(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  });
}

LRESULT MainWindow::HandleSwatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintSwatch(window); return 0;
    case WM_GETOBJECT: OnObjectRequested(); return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
      // The swatch keeps the pointer while a button is held, so the release anywhere on
      // the screen comes back here.
      SetFocus(window);
      SetCapture(window);
      form_.Picture1_MouseDown();
      return message == WM_XBUTTONDOWN || message == WM_XBUTTONDBLCLK ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
      form_.Picture1_MouseUp();
      if (MouseButtonsDown() == 0 && GetCapture() == window) ReleaseCapture();
      return message == WM_XBUTTONUP ? TRUE : 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) form_.Picture1_CaptureLost();
      return 0;
    case WM_MOUSEMOVE:
      form_.Picture1_MouseMove(Twips(GET_X_LPARAM(lParam)), Twips(GET_Y_LPARAM(lParam)));
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT MainWindow::HandlePalette(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintPalette(window); return 0;
    case WM_LBUTTONDOWN:
      paletteArmed_ = true;
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP: {
      const bool armed = std::exchange(paletteArmed_, false);
      if (GetCapture() == window) ReleaseCapture();
      RECT client{};
      GetClientRect(window, &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (armed && PtInRect(&client, at)) form_.Image1_Click();
      return 0;
    }
    case WM_CAPTURECHANGED: paletteArmed_ = false; return 0;
    case WM_MOUSEMOVE:
      form_.Image1_MouseMove(Twips(GET_X_LPARAM(lParam)), Twips(GET_Y_LPARAM(lParam)));
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT MainWindow::HandlePanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, TextColourOn(COLOR_INFOTEXT, GetSysColor(COLOR_INFOBK)));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) noexcept {
  const auto kind = static_cast<layout::Kind>(data >> 8);
  const int index = static_cast<int>(data & 0xFF);
  HWND form = GetAncestor(window, GA_ROOT);
  MainWindow* self = form != nullptr ? FromWindow(form) : nullptr;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, SubclassProc, kSubclassId);
  if (self == nullptr) return DefSubclassProc(window, message, wParam, lParam);
  return Guarded(form, [&]() -> LRESULT {
    if (message == WM_GETOBJECT) self->OnObjectRequested();
    if (message == WM_MOUSEMOVE) {
      switch (kind) {
        case layout::Kind::Readout: self->form_.Text1_MouseMove(index); break;
        case layout::Kind::Caption: self->form_.Label1_MouseMove(index); break;
        case layout::Kind::PanelText: self->form_.Label4_MouseMove(index); break;
        default: break;
      }
    }
    if (kind == layout::Kind::Readout) {
      switch (message) {
        case WM_SETCURSOR:
          SetCursor(LoadCursorW(nullptr, IDC_ARROW));
          return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
          // A click only gives the field the focus, which copies it; no caret, no
          // selection drag, no pointer capture kept by a field that is minimised away.
          SetFocus(window);
          return 0;
        case WM_CONTEXTMENU: return 0;
        default: break;
      }
    }
    return DefSubclassProc(window, message, wParam, lParam);
  });
}

void MainWindow::PaintSwatch(HWND window) {
  const PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  const UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(swatchColour_) & 0x00FFFFFF));
  FillRect(paint.Dc(), &client, brush.Get());
}

void MainWindow::PaintPalette(HWND window) {
  const PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(paint.Dc(), &client, GetSysColorBrush(COLOR_INACTIVEBORDER));
  if (!palette_) return;
  // The picture's transparent pixels take the window background's colour; scaled by
  // whole pixels without smoothing, as pixel art should be.
  const COLORREF back = GetSysColor(COLOR_INACTIVEBORDER);
  std::vector<std::uint32_t> pixels(palette_->pixels.size());
  const std::uint32_t backRgb = (std::uint32_t{GetRValue(back)} << 16) | (std::uint32_t{GetGValue(back)} << 8) |
                                std::uint32_t{GetBValue(back)};
  std::transform(palette_->pixels.begin(), palette_->pixels.end(), pixels.begin(),
                 [&](std::uint32_t p) { return (p >> 24) != 0 ? (p & 0x00FFFFFF) : backRgb; });
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = palette_->width;
  info.bmiHeader.biHeight = -palette_->height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(paint.Dc(), COLORONCOLOR);
  StretchDIBits(paint.Dc(), 0, 0, client.right, client.bottom, 0, 0, palette_->width, palette_->height,
                pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace tintelo::win
