// A timer that belongs to the object that needs it: the window it is set on never sees
// it, and no identifier has to be routed back.
#pragma once

#include <windows.h>

#include "window/win32/base/RuntimeErrorReport.h"

namespace tintelo::win {

// Set on `owner` with a timer procedure and this object's address as its identifier, so
// its WM_TIMER goes straight to that procedure from whichever message loop dispatches it,
// modal ones included ("SetTimer", "TimerProc"), and never to the window's own. `Due` is a
// member of `Owner`, run under the error boundary as a window message is.
template <typename Owner, void (Owner::*Due)()>
class OwnTimer {
 public:
  explicit OwnTimer(Owner& owner) noexcept : owner_(&owner) {}
  ~OwnTimer() { Stop(); }
  OwnTimer(const OwnTimer&) = delete;
  OwnTimer& operator=(const OwnTimer&) = delete;

  // Due every `intervalMs` from now on, on `window`'s thread; started again if it ran.
  void Start(HWND window, UINT intervalMs) noexcept {
    Stop();
    if (window != nullptr && SetTimer(window, Id(), intervalMs, Procedure) != 0) window_ = window;
  }
  void Stop() noexcept {
    if (window_ == nullptr) return;
    KillTimer(window_, Id());
    window_ = nullptr;
  }
  [[nodiscard]] bool Running() const noexcept { return window_ != nullptr; }

 private:
  [[nodiscard]] UINT_PTR Id() const noexcept { return reinterpret_cast<UINT_PTR>(this); }
  static void CALLBACK Procedure(HWND window, UINT, UINT_PTR id, DWORD) noexcept {
    // One posted before a Stop may still come ("KillTimer"): a stopped timer ignores it.
    // The owner outlives the window the timer is set on.
    auto* timer = reinterpret_cast<OwnTimer*>(id);
    if (timer->window_ != window) return;
    static_cast<void>(Guarded(window, [timer] {
      (timer->owner_->*Due)();
      return LRESULT{0};
    }));
  }

  Owner* owner_;
  HWND window_ = nullptr;
};

}  // namespace tintelo::win
