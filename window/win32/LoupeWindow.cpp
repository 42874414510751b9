// The loupe's window, its painting, and the screen reads the loupe makes.
#include "window/win32/LoupeWindow.h"

#include <algorithm>

#include "window/win32/Compat.h"
#include "window/win32/Dib.h"
#include "window/win32/WindowProc.h"

namespace tintelo::win {

namespace {

// Topmost, no taskbar button and not in Alt+Tab, never activated; layered and
// transparent so that the mouse goes through it to whatever lies beneath (Windows also
// leaves layered windows out of screen reads made without CAPTUREBLT).
constexpr DWORD kLoupeExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
        Monitor{ScreenRect{r.left, r.top, r.right, r.bottom}, DpiOfMonitor(monitor)});
  }
  return TRUE;
}

}  // namespace

LoupeWindow::~LoupeWindow() {
  if (captureDc_ && captureOld_ != nullptr) SelectObject(captureDc_.Get(), captureOld_);
  if (window_ != nullptr) DestroyWindow(window_);
}

void LoupeWindow::Monitors(std::vector<Monitor>& monitors) {
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
}

bool LoupeWindow::Capture(const ScreenRect& area, std::span<Pixel> pixels) {
  const int width = area.Width();
  const int height = area.Height();
  if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > pixels.size()) return false;
  if (!captureDc_ || width != captureWidth_ || height != captureHeight_) {
    if (captureDc_ && captureOld_ != nullptr) SelectObject(captureDc_.Get(), captureOld_);
    captureOld_ = nullptr;
    captureBitmap_.Reset();
    captureDc_.Reset(CreateCompatibleDC(nullptr));
    const BITMAPINFO info = TopDownDib(width, height);
    void* bits = nullptr;
    captureBitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!captureDc_ || !captureBitmap_ || bits == nullptr) {
      captureBitmap_.Reset();
      captureDc_.Reset();
      return false;
    }
    captureOld_ = SelectObject(captureDc_.Get(), captureBitmap_.Get());
    captureBits_ = static_cast<Pixel*>(bits);
    captureWidth_ = width;
    captureHeight_ = height;
  }
  // One small copy of the screen per refresh.
  const ScreenDc screen;
  if (screen.Get() == nullptr) return false;
  if (!BitBlt(captureDc_.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY)) return false;
  GdiFlush();
  const Pixel* bits = captureBits_;
  std::transform(bits, bits + width * height, pixels.begin(), [](Pixel p) { return p & 0x00FFFFFF; });
  return true;
}

bool LoupeWindow::MakeWindow() {
  static const ATOM kClass = [instance = instance_] {
    WNDCLASSEXW loupe{};
    loupe.cbSize = sizeof(loupe);
    loupe.lpfnWndProc = ForwardToOwner<LoupeWindow, &LoupeWindow::HandleMessage>;
    loupe.hInstance = instance;
    loupe.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    loupe.lpszClassName = kLoupeClass;
    return RegisterClassExW(&loupe);
  }();
  if (kClass == 0) return false;
  window_ = CreateWindowExW(kLoupeExStyle, kLoupeClass, L"", WS_POPUP, 0, 0, 0, 0, owner_, nullptr, instance_, this);
  if (window_ == nullptr) return false;
  SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
  ExcludeFromCapture(window_);
  return true;
}

void LoupeWindow::Place(const ScreenRect& place) {
  if (window_ == nullptr && !MakeWindow()) return;
  // Above everything when it appears; after that it only moves.
  const UINT flags = SWP_NOACTIVATE | SWP_NOOWNERZORDER | (shown_ ? SWP_NOZORDER : SWP_SHOWWINDOW);
  SetWindowPos(window_, HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(), flags);
  shown_ = true;
}

void LoupeWindow::Paint(std::span<const Pixel> picture, int size) {
  picture_ = picture;
  size_ = size;
  if (window_ == nullptr) return;
  const WindowDc dc(window_);
  if (dc.Get() != nullptr) Draw(dc.Get());
}

void LoupeWindow::Hide() {
  if (window_ == nullptr || !shown_) return;
  ShowWindow(window_, SW_HIDE);
  shown_ = false;
}

void LoupeWindow::Draw(HDC dc) const {
  if (picture_.size() < static_cast<std::size_t>(size_) * static_cast<std::size_t>(size_) || size_ == 0) return;
  const BITMAPINFO info = TopDownDib(size_, size_);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(size_), static_cast<DWORD>(size_), 0, 0, 0, static_cast<UINT>(size_),
                    picture_.data(), &info, DIB_RGB_COLORS);
}

LRESULT LoupeWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    // The loupe sizes itself for the monitor under the pointer at every refresh.
    case WM_DPICHANGED: return 0;
    case WM_PAINT: {
      const PaintScope paint(window);
      Draw(paint.Dc());
      return 0;
    }
    case WM_NCDESTROY:
      window_ = nullptr;
      shown_ = false;
      break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tintelo::win
