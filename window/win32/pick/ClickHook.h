// Clicks taken from the whole screen while sampling runs from the keyboard: a low-level
// mouse hook, set only for that time, on a thread of its own.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstddef>

#include "window/win32/base/Handles.h"

namespace tintelo::win {

// While taking, a left or a right click anywhere reaches no program, this one's own
// windows included: the press and the release are both swallowed, and the release is
// posted to the owner as kLeftClick or kRightClick. So is the wheel, whose every turn is
// posted as kWheel, with its delta (WHEEL_DELTA units, up positive) as wParam's low word
// and lParam 1 when Ctrl was down; the tilt wheel is swallowed and goes nowhere. Pointer
// moves and the other buttons pass on as ever, and so does a release whose press came
// before the hook.
//
// Windows calls a low-level hook by a message to the thread that set it, and every mouse
// event of the system waits for the answer; past LowLevelHooksTimeout (at most 1 s from
// Windows 10 1709 on) it removes the hook without a word ("LowLevelMouseProc"). So the
// hook lives on a thread that does nothing else: it sets and removes the hook, pumps its
// messages and posts the owner what it took. It never waits on the window's thread; the
// two share atomics only. The thread is made at the first taking and stays, idle in
// GetMessage, until the owner goes.
//
// A press swallowed is a promise: its release is swallowed too, even when taking has
// ended in between (Escape, the shortcut, the focus lost, an error report), so no program
// sees a release without its press. The hook goes once no swallowed button is down. Only
// one can exist at a time: the procedure has no other way to find it than one pointer.
class ClickHook {
 public:
  static constexpr UINT kLeftClick = WM_APP + 1;
  static constexpr UINT kRightClick = WM_APP + 2;
  static constexpr UINT kWheel = WM_APP + 4;

  ClickHook() noexcept = default;
  // Ends the thread and waits for it; its hook goes with it.
  ~ClickHook();
  ClickHook(const ClickHook&) = delete;
  ClickHook& operator=(const ClickHook&) = delete;

  // Starts taking; returns once the hook is set. Where Windows will not set it, nothing
  // is taken.
  void Set(HWND owner) noexcept;
  // Stops taking presses at once; the hook goes when no swallowed button is down. Safe
  // from any thread: it only writes an atomic and posts.
  void Remove() noexcept;

 private:
  static DWORD WINAPI Run(void* self) noexcept;
  static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM event) noexcept;
  // On the hook's thread: the hook set or removed as taking and the buttons held ask.
  void Update() noexcept;
  // On the hook's thread: true when the mouse message is swallowed.
  bool Take(WPARAM message, const MSLLHOOKSTRUCT& event) noexcept;
  bool Release(std::size_t button, UINT click) noexcept;

  // Shared by both threads.
  std::atomic<HWND> owner_{nullptr};
  std::atomic<unsigned> taking_{0};  // which taking runs, counted from 1; 0 when none

  // The window's thread only.
  UniqueKernelHandle thread_;
  DWORD threadId_ = 0;
  UniqueKernelHandle hooked_;  // set by the hook's thread after each Update
  unsigned takings_ = 0;

  // The hook's thread only.
  UniqueHook hook_;
  std::array<unsigned, 2> pressedIn_{};  // the taking each button's swallowed press came in; 0: none
  unsigned setFor_ = 0;                  // the taking the hook was last set for
};

}  // namespace tintelo::win
