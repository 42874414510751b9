// Clicks taken from the whole screen while sampling runs from the keyboard: a low-level
// mouse hook, set only for that time.
#pragma once

#include <windows.h>

#include "window/win32/base/Handles.h"

namespace tintelo::win {

// While set, a left or a right click anywhere reaches no program, this one's own windows
// included: the press and the release are both swallowed, and the release is posted to
// the owner as kLeftClick or kRightClick. Pointer moves, the wheel and the other buttons
// pass on as ever, and so does a release whose press came before the hook.
//
// The procedure only decides and posts: Windows removes a low-level hook that keeps it
// waiting longer than LowLevelHooksTimeout, silently from Windows 7 on
// ("LowLevelMouseProc"). It runs on the thread that set the hook, inside that thread's
// message retrieval. Only one can be set at a time, since the procedure has no other way
// to find its hook than one pointer of this file.
class ClickHook {
 public:
  static constexpr UINT kLeftClick = WM_APP + 1;
  static constexpr UINT kRightClick = WM_APP + 2;

  ClickHook() noexcept = default;
  ~ClickHook() { Remove(); }
  ClickHook(const ClickHook&) = delete;
  ClickHook& operator=(const ClickHook&) = delete;

  // Where Windows will not set it, nothing is taken.
  void Set(HWND owner) noexcept;
  void Remove() noexcept;

 private:
  static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM event) noexcept;
  // True when the mouse message is swallowed.
  bool Take(WPARAM message) noexcept;

  UniqueHook hook_;
  HWND owner_ = nullptr;
  bool leftDown_ = false;  // a left press was swallowed, and its release will be
  bool rightDown_ = false;
};

}  // namespace tintelo::win
