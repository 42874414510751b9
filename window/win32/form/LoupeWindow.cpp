// The loupe's window and its picture.
#include "window/win32/form/LoupeWindow.h"

#include <algorithm>

#include "window/ControlIds.h"
#include "window/win32/base/WindowProc.h"
#include "window/win32/screen/DisplayAffinity.h"

namespace tintelo::win {

namespace {

// Topmost, no taskbar button and not in Alt+Tab, never activated; layered, so that the
// system keeps its picture and UpdateLayeredWindow moves and repaints it in one call, and
// transparent, so that the mouse goes through it to whatever lies beneath.
constexpr DWORD kLoupeExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;

}  // namespace

LoupeWindow::~LoupeWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool LoupeWindow::MakeWindow() {
  static const ATOM kClass = [instance = instance_] {
    WNDCLASSEXW loupe{};
    loupe.cbSize = sizeof(loupe);
    loupe.lpfnWndProc = ForwardToOwner<LoupeWindow, &LoupeWindow::HandleMessage>;
    loupe.hInstance = instance;
    loupe.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    loupe.lpszClassName = ids::kLoupeClass;
    return RegisterClassExW(&loupe);
  }();
  if (kClass == 0) return false;
  window_ =
      CreateWindowExW(kLoupeExStyle, ids::kLoupeClass, L"", WS_POPUP, 0, 0, 0, 0, owner_, nullptr, instance_, this);
  return window_ != nullptr;
}

void LoupeWindow::Show(const ScreenRect& place, std::span<const Pixel> picture) {
  const int width = place.Width();
  const int height = place.Height();
  if (picture.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return;
  if (window_ == nullptr && !MakeWindow()) return;
  if (!picture_.Ensure(width, height)) return;
  std::copy_n(picture.begin(), picture_.Pixels().size(), picture_.Pixels().begin());
  POINT at{place.left, place.top};
  SIZE extent{width, height};
  POINT origin{0, 0};
  BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, 0};
  const auto update = [&] {
    UpdateLayeredWindow(window_, nullptr, &at, &extent, picture_.Dc(), &origin, 0, &opaque, ULW_OPAQUE);
  };
  update();
  if (shown_) return;
  // Each time it appears: a Remote Desktop session may have begun since the last time.
  inCopies_ = InCopiesOfAffinity(ExcludeFromCapture(window_));
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
  shown_ = true;
  // Windows shows the picture it was given while the window was hidden; Wine shows none
  // until the window's next update once it is visible. The same picture again.
  update();
}

void LoupeWindow::Hide() {
  if (window_ == nullptr || !shown_) return;
  ShowWindow(window_, SW_HIDE);
  shown_ = false;
}

bool LoupeWindow::HideForCopy() {
  if (window_ == nullptr || !shown_ || !DesktopComposed()) return false;
  Hide();
  WaitForComposition();
  return true;
}

LRESULT LoupeWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    // The loupe sizes itself for the monitor under the pointer at every refresh.
    case WM_DPICHANGED: return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      shown_ = false;
      break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tintelo::win
