// The contrast lines under the window's controls: a square of the reference's colour and
// one static text of three lines beside it, out of the tab order and never copied, which
// screen readers read as it stands. Made hidden with the other controls; shown, placed and
// filled as Form1 asks.
#pragma once

#include <windows.h>

#include <string_view>

#include "colour/Colour.h"
#include "window/win32/base/Handles.h"

namespace tintelo::win {

class ControlSet;

class ContrastView {
 public:
  // Makes the square and the text on `form`, hidden, at the controls' scale and font.
  void Create(HWND form, HINSTANCE instance, const ControlSet& controls);
  // Places and font at the controls' new scale.
  void Rescale(const ControlSet& controls);
  void Show(bool shown);
  void Set(ColourValue reference, std::string_view lines);
  // The square's brush for WM_CTLCOLORSTATIC; null for any other control.
  [[nodiscard]] HBRUSH BrushFor(HWND control) const;

 private:
  HWND square_ = nullptr;
  HWND text_ = nullptr;
  UniqueBrush brush_;
};

}  // namespace tintelo::win
