// The global shortcut that starts picking from anywhere, the same with Shift that starts
// it on a still of the screen, and the notice shown when another program already holds
// either combination.
#pragma once

#include <windows.h>

#include <array>

#include "window/win32/base/OwnTimer.h"

namespace tintelo::win {

class PickShortcut {
 public:
  static constexpr int kId = 1;        // WM_HOTKEY's wParam
  static constexpr int kFrozenId = 2;  // with Shift

  PickShortcut() noexcept;
  ~PickShortcut();
  PickShortcut(const PickShortcut&) = delete;
  PickShortcut& operator=(const PickShortcut&) = delete;

  // Registers both combinations for the window; a refusal is kept for the notice.
  void Register(HWND window) noexcept;
  void Unregister() noexcept;
  // Once, when the window first shows: if either combination could not be had, a balloon
  // by `anchor` says so, one line for each, without a modal box, until `kNoticeMs` have
  // passed or the user clicks it. Nothing otherwise.
  void NoticeIfRefused(HWND anchor);
  // The notice goes, if it shows; its own timer ends it after kNoticeMs.
  void EndNotice() noexcept;

  static constexpr UINT kNoticeMs = 15000;

 private:
  struct Combination {
    int id;
    UINT modifiers;
    const wchar_t* name;
    bool registered = false;
    DWORD refusal = ERROR_SUCCESS;  // kept for the notice until it shows
  };

  HWND window_ = nullptr;
  std::array<Combination, 2> combinations_;
  HWND balloon_ = nullptr;
  OwnTimer<PickShortcut, &PickShortcut::EndNotice> noticeTimer_{*this};
};

}  // namespace tintelo::win
