// The window's controls: creation from the layout table, scaling, look-up and tab order.
#include "window/win32/form/ControlSet.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "colour/Slider.h"
#include "window/ControlIds.h"
#include "window/win32/base/Compat.h"
#include "window/win32/base/RuntimeErrorReport.h"
#include "window/win32/base/StartupMarks.h"
#include "window/win32/base/Text.h"
#include "window/win32/form/ChildWindows.h"

namespace tintelo::win {

namespace {

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

// The table position of a control, or the table's size when there is none.
std::size_t PositionOf(layout::Kind kind, int index) {
  const auto found = std::find_if(layout::kControls.begin(), layout::kControls.end(),
                                  [&](const layout::Control& c) { return c.kind == kind && c.index == index; });
  return static_cast<std::size_t>(found - layout::kControls.begin());
}

bool IsLabel(const layout::Control& c) {
  return c.kind == layout::Kind::Caption || c.kind == layout::Kind::SliderLetter;
}

// The table position of the label that names the control at `at`, or the table's size:
// a field's caption is on its row, a slider's letter has its index.
std::size_t LabelOf(std::size_t at) {
  const layout::Control& c = layout::kControls[at];
  const auto names = [&](const layout::Control& label) {
    if (c.kind == layout::Kind::Readout) return label.kind == layout::Kind::Caption && label.top == c.top;
    if (c.kind == layout::Kind::Slider) return label.kind == layout::Kind::SliderLetter && label.index == c.index;
    return false;
  };
  return static_cast<std::size_t>(std::find_if(layout::kControls.begin(), layout::kControls.end(), names) -
                                  layout::kControls.begin());
}

// The order the controls are made in, which is their stacking order, since a new child
// window goes below its older siblings: the table's, front to back, except that each
// label comes just before the control it names. Screen readers name a field or a scroll
// bar after the label just before it; none of these overlap, so nothing on screen moves.
std::array<std::size_t, layout::kControls.size()> CreationOrder() {
  std::array<std::size_t, layout::kControls.size()> order{};
  std::size_t next = 0;
  for (std::size_t at = 0; at < layout::kControls.size(); ++at) {
    if (IsLabel(layout::kControls[at])) continue;
    if (const std::size_t label = LabelOf(at); label < layout::kControls.size()) order[next++] = label;
    order[next++] = at;
  }
  return order;
}

// The control's name in the window description, without its index, for the start-up
// report.
const char* WindowOf(layout::Kind kind) {
  switch (kind) {
    case layout::Kind::Panel: return "Fenêtre Tool1";
    case layout::Kind::PanelText: return "Fenêtre Label4";
    case layout::Kind::Slider: return "Fenêtre hScroll1";
    case layout::Kind::Swatch: return "Fenêtre Picture1";
    case layout::Kind::Readout: return "Fenêtre Text1";
    case layout::Kind::Palette: return "Fenêtre Image1";
    case layout::Kind::ValueLabel:
    case layout::Kind::SliderLetter: return "Fenêtre Label2";
    case layout::Kind::Caption: break;
  }
  return "Fenêtre Label1";
}

}  // namespace

void ControlSet::Create(HWND form, HINSTANCE instance, UINT dpi, ChildWindows& children) {
  form_ = form;
  dpi_ = dpi;
  RebuildFonts();
  StartupMark("fonts");
  // The tooltip window has no owner: Wine places a window that owns a topmost popup
  // below that popup instead of making it topmost itself. Being topmost on its own, the
  // tooltip still shows above the window; the window destroys it on the way out.
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (tooltip_ == nullptr) ReportStartupFailureAndExit("Fenêtre d'info-bulle", -1, GetLastError());
  ScaleToolTip();

  for (const std::size_t at : CreationOrder()) {
    const layout::Control& c = layout::kControls[at];
    if (c.kind == layout::Kind::Panel) {
      panelLeft_.at(static_cast<std::size_t>(c.index)) = c.left;
      panelTop_.at(static_cast<std::size_t>(c.index)) = c.top;
    }
    const Blueprint blueprint = BlueprintOf(c.kind);
    const Place place = PlaceOf(at);
    const std::wstring text = Widen(c.text);
    HWND parent = c.kind == layout::Kind::PanelText ? Of(layout::Kind::Panel, c.index) : form;
    HWND window =
        CreateWindowExW(blueprint.exStyle, blueprint.windowClass, text.empty() ? nullptr : text.c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | blueprint.style, place.left, place.top, place.width, place.height,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(blueprint.idBase + c.index)), instance,
                        blueprint.ours ? &children : nullptr);
    if (window == nullptr) {
      const bool single = c.kind == layout::Kind::Swatch || c.kind == layout::Kind::Palette;
      ReportStartupFailureAndExit(WindowOf(c.kind), single ? -1 : c.index, GetLastError());
    }
    windows_[at] = window;
    if (blueprint.watched) children.Watch(window, c.kind, c.index);
    if (c.kind == layout::Kind::Slider) {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_RANGE | SIF_PAGE;
      info.nMin = Slider::kMin;
      info.nMax = Slider::kMax;
      info.nPage = 0;
      SetScrollInfo(window, SB_CTL, &info, FALSE);
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.kind)), FALSE);
  }
  // Only the help panels overlap other controls: make sure they are in front whatever the
  // system's default placement.
  for (int panel = 0; panel < kPanels; ++panel) {
    SetWindowPos(Of(layout::Kind::Panel, panel), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ControlSet::Rescale(UINT dpi) {
  dpi_ = dpi;
  RebuildFonts();
  ScaleToolTip();
  // Moved without drawing, then repainted once, children and all: a child moved without
  // drawing keeps the pixels it had at the old scale until it is told to paint again.
  for (std::size_t at = 0; at < kCount; ++at) {
    const Place place = PlaceOf(at);
    SetWindowPos(windows_[at], nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageW(windows_[at], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(layout::kControls[at].kind)), FALSE);
  }
  RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ControlSet::DestroyToolTip() {
  DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

HWND ControlSet::Of(layout::Kind kind, int index) const {
  const std::size_t at = PositionOf(kind, index);
  return at < kCount ? windows_[at] : nullptr;
}

int ControlSet::IndexOf(layout::Kind kind, HWND window) const {
  if (window == nullptr) return -1;
  for (std::size_t at = 0; at < kCount; ++at) {
    if (windows_[at] == window && layout::kControls[at].kind == kind) return layout::kControls[at].index;
  }
  return -1;
}

void ControlSet::MovePanel(int index, double left, double top) {
  const auto i = static_cast<std::size_t>(index);
  panelLeft_.at(i) = left;
  panelTop_.at(i) = top;
  SetWindowPos(Of(layout::Kind::Panel, index), nullptr, Px(left), Px(top), 0, 0,
               SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

ControlSet::Place ControlSet::PlaceOf(std::size_t at) const {
  const layout::Control& c = layout::kControls[at];
  const bool panel = c.kind == layout::Kind::Panel;
  const double left = panel ? panelLeft_.at(static_cast<std::size_t>(c.index)) : c.left;
  const double top = panel ? panelTop_.at(static_cast<std::size_t>(c.index)) : c.top;
  return Place{Px(left), Px(top), Px(c.width), Px(c.height)};
}

HFONT ControlSet::FontFor(layout::Kind kind) const {
  return kind == layout::Kind::SliderLetter ? letterFont_.Get() : font_.Get();
}

void ControlSet::RebuildFonts() {
  // The readouts are one line of 195 twips with no border, and each caption must fit its
  // label on one line: take the system's message font face and shrink it until both hold
  // at this DPI.
  constexpr int kLineTwips = 195;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  const ScreenDc screen;
  const auto fits = [&](HFONT font) {
    const SelectGuard select(screen.Get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.Get(), &tm);
    if (tm.tmHeight > Px(kLineTwips)) return false;
    for (const auto& c : layout::kControls) {
      if (c.kind != layout::Kind::Caption) continue;
      const std::wstring text = Widen(c.text);
      SIZE extent{};
      GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
      if (extent.cx >= Px(c.width)) return false;  // DrawText needs a pixel to spare before it wraps
    }
    return true;
  };
  // From 8 points down to 5, by half points (sizes in tenths of a point).
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

void ControlSet::ScaleToolTip() {
  // The tooltip draws with the system's status font, made for the system's scale, and
  // wraps at a width in pixels: on a monitor of another scale both follow it. At the
  // system's scale, until a change of scale, its own font is already the right one.
  if (dpi_ != SystemDpi() || tipFont_) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW face = metrics.lfStatusFont;
    face.lfHeight = MulDiv(face.lfHeight, static_cast<int>(dpi_), static_cast<int>(SystemDpi()));
    UniqueFont font(CreateFontIndirectW(&face));
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    tipFont_ = std::move(font);
  }
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kTipWidthAt96, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI));
}

HWND ControlSet::TabNeighbour(HWND from, bool backwards) const {
  struct Stop {
    int tabIndex;
    HWND window;
  };
  std::vector<Stop> stops;
  for (std::size_t at = 0; at < kCount; ++at) {
    const layout::Control& c = layout::kControls[at];
    const bool focusable = c.kind == layout::Kind::Swatch || c.kind == layout::Kind::Readout ||
                           c.kind == layout::Kind::Slider || c.kind == layout::Kind::Panel;
    if (focusable && IsWindowVisible(windows_[at])) stops.push_back({c.tabIndex, windows_[at]});
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

}  // namespace tintelo::win
