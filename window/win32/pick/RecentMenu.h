// "Couleurs récentes": the colours taken this run, as a submenu of the window's system
// menu, and as a menu of its own from the swatch's menu key or Shift+F10.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "colour/Colour.h"
#include "window/win32/base/Handles.h"

namespace tintelo::win {

class RecentMenu {
 public:
  RecentMenu() noexcept = default;
  RecentMenu(const RecentMenu&) = delete;
  RecentMenu& operator=(const RecentMenu&) = delete;

  // Adds a separator and the submenu at the end of the window's system menu, which
  // destroys it with the window.
  void AddTo(HWND window);
  // The menu about to open is the list: it is made anew from `colours` (newest first),
  // each a square of the colour sized for `dpi` beside its HTML notation, which is what
  // a screen reader reads. False for any other menu.
  bool Fill(HMENU opening, std::span<const ColourValue> colours, UINT dpi);
  // Shows the list alone at `at`, on screen, and waits; the index of the colour chosen,
  // or -1.
  [[nodiscard]] int Track(HWND owner, POINT at, std::span<const ColourValue> colours, UINT dpi);

  // The index of the colour a menu command chose, or -1 when the command is another.
  // The system menu keeps the low four bits of a command to itself (WM_SYSCOMMAND).
  [[nodiscard]] static int IndexOf(WPARAM command) noexcept;

 private:
  HMENU list_ = nullptr;
  std::vector<UniqueBitmap> squares_;  // the items' pictures, which a menu does not own
};

}  // namespace tintelo::win
