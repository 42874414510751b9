// The contrast lines' two controls.
#include "window/win32/form/ContrastView.h"

#include "window/Layout.h"
#include "window/win32/base/Text.h"
#include "window/win32/form/ControlSet.h"

namespace tintelo::win {

void ContrastView::Create(HWND form, HINSTANCE instance, const ControlSet& controls) {
  // No SS_NOTIFY: neither takes the pointer or the focus, so nothing copies them.
  square_ = CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", nullptr, WS_CHILD, 0, 0, 0, 0, form, nullptr, instance, nullptr);
  text_ = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, form, nullptr, instance,
                          nullptr);
  Rescale(controls);
}

void ContrastView::Rescale(const ControlSet& controls) {
  if (square_ == nullptr || text_ == nullptr) return;
  const int side = controls.Px(layout::kContrastSquareSide);
  MoveWindow(square_, controls.Px(layout::kContrastSquareLeft), controls.Px(layout::kContrastTop), side, side, TRUE);
  MoveWindow(text_, controls.Px(layout::kContrastTextLeft), controls.Px(layout::kContrastTop),
             controls.Px(layout::kContrastTextWidth), controls.Px(layout::kContrastTextHeight), TRUE);
  SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(controls.Font()), TRUE);
}

void ContrastView::Show(bool shown) {
  ShowWindow(square_, shown ? SW_SHOWNA : SW_HIDE);
  ShowWindow(text_, shown ? SW_SHOWNA : SW_HIDE);
}

void ContrastView::Set(ColourValue reference, std::string_view lines) {
  brush_.Reset(CreateSolidBrush(static_cast<COLORREF>(reference)));
  InvalidateRect(square_, nullptr, TRUE);
  SetWindowTextW(text_, Widen(lines).c_str());
}

HBRUSH ContrastView::BrushFor(HWND control) const {
  return control == square_ && control != nullptr ? brush_.Get() : nullptr;
}

}  // namespace tintelo::win
