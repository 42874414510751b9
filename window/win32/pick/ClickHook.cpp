// The low-level mouse hook behind the clicks that pick.
#include "window/win32/pick/ClickHook.h"

namespace tintelo::win {

namespace {

ClickHook* active = nullptr;

}  // namespace

void ClickHook::Set(HWND owner) noexcept {
  if (hook_ || active != nullptr) return;
  owner_ = owner;
  leftDown_ = rightDown_ = false;
  hook_.Reset(SetWindowsHookExW(WH_MOUSE_LL, Procedure, GetModuleHandleW(nullptr), 0));
  if (hook_) active = this;
}

void ClickHook::Remove() noexcept {
  if (!hook_) return;
  hook_.Reset();
  active = nullptr;
}

LRESULT CALLBACK ClickHook::Procedure(int code, WPARAM message, LPARAM event) noexcept {
  // Below zero the hook must pass the event on untouched ("LowLevelMouseProc").
  if (code == HC_ACTION && active != nullptr && active->Take(message)) return 1;
  return CallNextHookEx(nullptr, code, message, event);
}

bool ClickHook::Take(WPARAM message) noexcept {
  switch (message) {
    case WM_LBUTTONDOWN: leftDown_ = true; return true;
    case WM_RBUTTONDOWN: rightDown_ = true; return true;
    case WM_LBUTTONUP:
      if (!leftDown_) return false;
      leftDown_ = false;
      PostMessageW(owner_, kLeftClick, 0, 0);
      return true;
    case WM_RBUTTONUP:
      if (!rightDown_) return false;
      rightDown_ = false;
      PostMessageW(owner_, kRightClick, 0, 0);
      return true;
    default: return false;
  }
}

}  // namespace tintelo::win
