// One window procedure for every window class of this program whose windows each belong
// to one object.
#pragma once

#include <windows.h>

#include "window/win32/base/RuntimeErrorReport.h"

namespace tintelo::win {

// The object is the window's creation parameter (CreateWindowExW's last argument, which
// arrives in CREATESTRUCT::lpCreateParams). It is kept in GWLP_USERDATA from WM_NCCREATE
// on and gets every later message through `Handle`; a run-time error that leaves it ends
// the program with the standard report. The few messages sent before WM_NCCREATE, and
// those after the object has let go of its window (GWLP_USERDATA back to 0), go to
// DefWindowProcW.
template <typename Owner, LRESULT (Owner::*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ForwardToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded(window, [&] { return (owner->*Handle)(window, message, wParam, lParam); });
}

}  // namespace tintelo::win
