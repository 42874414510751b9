// The program's own bitmaps, and screen copies into them.
#include "window/win32/base/Dib.h"

#include <algorithm>

namespace tintelo::win {

void DibSurface::Release() noexcept {
  if (dc_ && old_ != nullptr) KeepingLastError([&] { SelectObject(dc_.Get(), old_); });
  old_ = nullptr;
  bitmap_.Reset();
  dc_.Reset();
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
}

bool DibSurface::Ensure(int width, int height) noexcept {
  if (dc_ && width == width_ && height == height_) return true;
  Release();
  if (width <= 0 || height <= 0) return false;
  dc_.Reset(CreateCompatibleDC(nullptr));
  const BITMAPINFO info = TopDownDib(width, height);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc_ || !bitmap_ || bits == nullptr) {
    Release();
    return false;
  }
  old_ = SelectObject(dc_.Get(), bitmap_.Get());
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

std::span<std::uint32_t> DibSurface::Pixels() const noexcept {
  if (bits_ == nullptr) return {};
  return {bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
}

bool CopyScreen(const RECT& area, DibSurface& surface) noexcept {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (!surface.Ensure(width, height)) return false;
  const std::span<std::uint32_t> pixels = surface.Pixels();
  // Only the part on the virtual screen is copied, the rest left black: a copy reaching
  // past the screen's edge is refused whole under Wine.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT virtualScreen{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT part{};
  const bool onScreen = IntersectRect(&part, &area, &virtualScreen) != FALSE;
  if (!onScreen || EqualRect(&part, &area) == FALSE) std::fill(pixels.begin(), pixels.end(), 0u);
  if (!onScreen) return true;
  const ScreenDc screen;
  if (screen.Get() == nullptr) return false;
  if (!BitBlt(surface.Dc(), part.left - area.left, part.top - area.top, part.right - part.left, part.bottom - part.top,
              screen.Get(), part.left, part.top, SRCCOPY)) {
    return false;
  }
  GdiFlush();
  std::transform(pixels.begin(), pixels.end(), pixels.begin(), [](std::uint32_t p) { return p & 0x00FFFFFF; });
  return true;
}

}  // namespace tintelo::win
