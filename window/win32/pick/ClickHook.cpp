// The low-level mouse hook behind the clicks that pick, and the thread that owns it.
#include "window/win32/pick/ClickHook.h"

#include "window/win32/base/RuntimeErrorReport.h"

namespace tintelo::win {

namespace {

// Written by the window's thread before the hook's thread starts and after it ends.
ClickHook* instance = nullptr;

// Asks the hook's thread to set or remove the hook as things now stand, and to end. A
// thread's WM_QUIT is PostQuitMessage's alone ("WM_QUIT").
constexpr UINT kUpdate = WM_APP;
constexpr UINT kQuit = WM_APP + 3;

// How long Set waits for the hook's thread, which only pumps messages and so answers at
// once; past it, a click taken this early reaches the window beneath.
constexpr DWORD kSetWaitMs = 1000;

constexpr std::size_t kLeft = 0;
constexpr std::size_t kRight = 1;

}  // namespace

ClickHook::~ClickHook() {
  if (!thread_) return;
  taking_.store(0);
  // The thread's queue exists before Set returns, unless Set gave up waiting for it.
  while (PostThreadMessageW(threadId_, kQuit, 0, 0) == FALSE &&
         WaitForSingleObject(thread_.Get(), 10) == WAIT_TIMEOUT) {
  }
  WaitForSingleObject(thread_.Get(), INFINITE);
  SetBeforeReport(nullptr);
  instance = nullptr;
}

void ClickHook::Set(HWND owner) noexcept {
  if (taking_.load() != 0) return;
  owner_.store(owner);
  if (++takings_ == 0) ++takings_;
  taking_.store(takings_);
  if (!thread_) {
    if (instance == nullptr) {
      if (!hooked_) hooked_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
      instance = this;
      if (hooked_) thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, &threadId_));
    }
    if (!thread_) {
      // No thread, no hook: nothing is taken, and the next Set tries again.
      if (instance == this) instance = nullptr;
      taking_.store(0);
      return;
    }
    // A report lets go of the screen's clicks before its box shows, so the click on OK
    // reaches it.
    SetBeforeReport([]() noexcept { instance->Remove(); });
  } else {
    ResetEvent(hooked_.Get());
    PostThreadMessageW(threadId_, kUpdate, 0, 0);
  }
  WaitForSingleObject(hooked_.Get(), kSetWaitMs);
}

void ClickHook::Remove() noexcept {
  taking_.store(0);
  if (thread_) PostThreadMessageW(threadId_, kUpdate, 0, 0);
}

DWORD WINAPI ClickHook::Run(void* self) noexcept {
  auto& hook = *static_cast<ClickHook*>(self);
  // The queue first, so that the window's thread can post here once Set has returned.
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  hook.Update();
  // A bare loop: the hook's calls arrive inside GetMessage, and this thread owns no window.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kUpdate) hook.Update();
    if (msg.hwnd == nullptr && msg.message == kQuit) PostQuitMessage(0);
  }
  hook.hook_.Reset();
  return 0;
}

void ClickHook::Update() noexcept {
  const unsigned taking = taking_.load();
  const bool wanted = taking != 0 || pressedIn_[kLeft] != 0 || pressedIn_[kRight] != 0;
  // Windows removes a hook that kept it waiting without a word ("LowLevelMouseProc"), and
  // the handle then says nothing of it: each new taking sets the hook afresh.
  if (taking != 0 && taking != setFor_) {
    hook_.Reset();
    setFor_ = taking;
  }
  if (wanted && !hook_) {
    hook_.Reset(SetWindowsHookExW(WH_MOUSE_LL, Procedure, GetModuleHandleW(nullptr), 0));
  } else if (!wanted) {
    hook_.Reset();
  }
  SetEvent(hooked_.Get());
}

LRESULT CALLBACK ClickHook::Procedure(int code, WPARAM message, LPARAM event) noexcept {
  // Below zero the hook must pass the event on untouched ("LowLevelMouseProc").
  if (code == HC_ACTION && instance->Take(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(event))) return 1;
  return CallNextHookEx(nullptr, code, message, event);
}

bool ClickHook::Take(WPARAM message, const MSLLHOOKSTRUCT& event) noexcept {
  switch (message) {
    case WM_MOUSEWHEEL: {
      if (taking_.load() == 0) return false;
      // The delta is mouseData's high word ("MSLLHOOKSTRUCT"); Ctrl's state comes from
      // GetAsyncKeyState, which reads the system's key state and waits on no thread.
      const auto delta = static_cast<WORD>(HIWORD(event.mouseData));
      const bool control = GetAsyncKeyState(VK_CONTROL) < 0;
      PostMessageW(owner_.load(), kWheel, delta, control ? 1 : 0);
      return true;
    }
    // The tilt wheel would scroll the window beneath: it goes nowhere.
    case WM_MOUSEHWHEEL: return taking_.load() != 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const unsigned taking = taking_.load();
      unsigned& pressedIn = pressedIn_[message == WM_LBUTTONDOWN ? kLeft : kRight];
      if (taking == 0) {
        // A press let through after taking has ended: its release goes with it, even if a
        // release swallowed earlier never came (another hook may have taken it).
        pressedIn = 0;
        if (pressedIn_[kLeft] == 0 && pressedIn_[kRight] == 0) PostThreadMessageW(GetCurrentThreadId(), kUpdate, 0, 0);
        return false;
      }
      pressedIn = taking;
      return true;
    }
    case WM_LBUTTONUP: return Release(kLeft, kLeftClick);
    case WM_RBUTTONUP: return Release(kRight, kRightClick);
    default: return false;
  }
}

bool ClickHook::Release(std::size_t button, UINT click) noexcept {
  unsigned& pressedIn = pressedIn_[button];
  if (pressedIn == 0) return false;
  // A click only when press and release came in the same taking: a press from a taking
  // that has ended clicks nothing, even in the next one.
  const unsigned taking = taking_.load();
  if (taking == pressedIn) PostMessageW(owner_.load(), click, 0, 0);
  pressedIn = 0;
  // The hook was kept for this release alone: it goes once the procedure has returned.
  if (taking == 0) PostThreadMessageW(GetCurrentThreadId(), kUpdate, 0, 0);
  return true;
}

}  // namespace tintelo::win
