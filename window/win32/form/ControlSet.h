// The window's controls: every child window of the layout table by kind and index,
// created in place at a DPI with its font, laid out again when the DPI changes, the
// tooltip, and the order Tab walks them in.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "window/Layout.h"
#include "window/win32/base/Handles.h"

namespace tintelo::win {

class ChildWindows;

class ControlSet {
 public:
  ControlSet() = default;
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control on `form` at `dpi`, front to back, each in its final place with
  // its font. `children` is the data of this program's own window classes and subclasses
  // the standard controls whose messages matter. A control Windows refuses ends the
  // program with the start-up report.
  void Create(HWND form, HINSTANCE instance, UINT dpi, ChildWindows& children);
  // Fonts, places and the tooltip at a new DPI, then one repaint of everything.
  void Rescale(UINT dpi);
  // The tooltip has no owner (see Create): the window ends it on its way out.
  void DestroyToolTip();

  // The control of a kind and control-array index (0 for single controls).
  [[nodiscard]] HWND Of(layout::Kind kind, int index = 0) const;
  // The control-array index of `window` among the controls of `kind`, or -1.
  [[nodiscard]] int IndexOf(layout::Kind kind, HWND window) const;
  [[nodiscard]] HWND ToolTip() const { return tooltip_; }
  // The font of the fields and captions, at the present scale.
  [[nodiscard]] HFONT Font() const { return font_.Get(); }

  [[nodiscard]] UINT Dpi() const { return dpi_; }
  [[nodiscard]] int Px(double twips) const { return layout::Pixels(twips, dpi_); }
  [[nodiscard]] double Twips(int pixels) const { return layout::Twips(pixels, dpi_); }

  // Moves a help panel, in twips, keeping where it is for the next change of scale.
  void MovePanel(int index, double left, double top);
  // The next visible control to take the focus on Tab or Shift+Tab.
  [[nodiscard]] HWND TabNeighbour(HWND from, bool backwards) const;

 private:
  static constexpr std::size_t kCount = layout::kControls.size();
  static constexpr int kPanels = 2;
  static constexpr int kTipWidthAt96 = 400;  // where the tooltip wraps, in pixels at 96 DPI

  struct Place {
    int left, top, width, height;
  };
  [[nodiscard]] Place PlaceOf(std::size_t at) const;
  [[nodiscard]] HFONT FontFor(layout::Kind kind) const;
  void RebuildFonts();
  void ScaleToolTip();

  HWND form_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::array<HWND, kCount> windows_{};  // in the table's order
  std::array<double, kPanels> panelLeft_{};
  std::array<double, kPanels> panelTop_{};
  HWND tooltip_ = nullptr;
  UniqueFont font_;
  UniqueFont letterFont_;
  UniqueFont tipFont_;
};

}  // namespace tintelo::win
