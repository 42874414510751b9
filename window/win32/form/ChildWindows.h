// The child windows' behaviour. The swatch, the palette picture and the help panels are
// this program's own window classes, one procedure each; the standard controls whose
// mouse moves (fields, captions, panel texts) or first screen-reader request (sliders)
// matter are subclassed. Every procedure finds this object in its window's data and
// passes what happened on to the window's event logic.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "colour/Colour.h"
#include "window/Layout.h"
#include "window/win32/form/Accessibility.h"

namespace tintelo {
class Form1;
}

namespace tintelo::win {

class ControlSet;
class SchemePaint;

inline constexpr wchar_t kSwatchClass[] = L"TinteloSwatch";
inline constexpr wchar_t kPaletteClass[] = L"TinteloImage";
inline constexpr wchar_t kPanelClass[] = L"TinteloPanel";

class ChildWindows {
 public:
  // `scheme` gives the colours to draw with; `text` answers screen readers for the swatch
  // and the sliders.
  ChildWindows(Form1& form, const ControlSet& controls, const SchemePaint& scheme, const AccessibleText& text) noexcept
      : form_(&form), controls_(&controls), scheme_(&scheme), text_(&text) {}
  ChildWindows(const ChildWindows&) = delete;
  ChildWindows& operator=(const ChildWindows&) = delete;

  // Registers the swatch's, the palette picture's and the help panels' window classes; a
  // class Windows refuses ends the program with the start-up report.
  static void RegisterClasses(HINSTANCE instance, HCURSOR hand);
  // Reads the palette picture's pixels from the resources, once; a resource that is not
  // the expected bitmap leaves the picture empty.
  void LoadPalette(HINSTANCE instance, int resourceId);
  // Subclasses a standard control so that its messages reach this object.
  void Watch(HWND control, layout::Kind kind, int index);

  [[nodiscard]] ColourValue SwatchColour() const { return swatchColour_; }
  void SetSwatchColour(ColourValue value);
  // The swatch's value, as screen readers read it, has changed: they are told.
  void SwatchValueChanged();

  // A screen reader asked one of the windows for an object: the first time, the swatch
  // and the sliders get their names and values.
  void ObjectRequested();
  // Before the controls go.
  void Detach() { annotations_.Clear(); }

 private:
  // What a subclassed control's data points to.
  struct Watched {
    ChildWindows* owner;
    layout::Kind kind;
    int index;
  };

  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data) noexcept;

  LRESULT OnSwatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPalette(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnWatched(const Watched& watched, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PaintSwatch(HWND window) const;
  void PaintPalette(HWND window);

  Form1* form_;
  const ControlSet* controls_;
  const SchemePaint* scheme_;
  const AccessibleText* text_;
  ColourValue swatchColour_ = 0;
  bool paletteArmed_ = false;
  wchar_t keypadChar_ = L'\0';  // the character the last keypad + or - will type
  std::array<Watched, layout::kControls.size()> watched_{};
  std::size_t watchedCount_ = 0;
  Annotations annotations_;

  // The palette picture's pixels as read (0xAARRGGBB, rows from the top), and ready to
  // draw on the background they were made for; made again only when that background
  // changes.
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint32_t> paletteOnBackground_;
  COLORREF paletteBackground_ = CLR_INVALID;
};

}  // namespace tintelo::win
