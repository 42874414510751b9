// The global shortcut that starts picking from anywhere, and the notice shown when
// another program already holds its combination.
#pragma once

#include <windows.h>

#include "window/win32/base/OwnTimer.h"

namespace tintelo::win {

class PickShortcut {
 public:
  static constexpr int kId = 1;  // WM_HOTKEY's wParam

  PickShortcut() noexcept = default;
  ~PickShortcut();
  PickShortcut(const PickShortcut&) = delete;
  PickShortcut& operator=(const PickShortcut&) = delete;

  // Registers the combination for the window; a refusal is kept for the notice.
  void Register(HWND window) noexcept;
  void Unregister() noexcept;
  // Once, when the window first shows: if the combination could not be had, a balloon
  // by `anchor` says so, without a modal box, until `kNoticeMs` have passed or the user
  // clicks it. Nothing otherwise.
  void NoticeIfRefused(HWND anchor);
  // The notice goes, if it shows; its own timer ends it after kNoticeMs.
  void EndNotice() noexcept;

  static constexpr UINT kNoticeMs = 15000;

 private:
  HWND window_ = nullptr;
  bool registered_ = false;
  DWORD refusal_ = ERROR_SUCCESS;
  HWND balloon_ = nullptr;
  OwnTimer<PickShortcut, &PickShortcut::EndNotice> noticeTimer_{*this};
};

}  // namespace tintelo::win
