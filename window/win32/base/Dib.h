// 32-bit top-down device-independent bitmaps, as the program draws its pictures and reads
// the screen, and as its tests read the screen back: one 0x00RRGGBB value per pixel, rows
// from the top. GDI's colour references hold the same colour the other way round
// (0x00BBGGRR); the two conversions below are the only place that swaps them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "window/win32/base/Handles.h"

namespace tintelo::win {

[[nodiscard]] inline BITMAPINFO TopDownDib(int width, int height) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A bitmap pixel (0x00RRGGBB) as a colour reference, and back; the top byte is dropped.
[[nodiscard]] constexpr COLORREF ColorRefOf(std::uint32_t rgb) noexcept {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
[[nodiscard]] constexpr std::uint32_t RgbOf(COLORREF colour) noexcept { return ColorRefOf(colour); }

// A 32-bit top-down bitmap of its own, selected into a memory DC for as long as it lives,
// that GDI draws into and the program reads directly. Made again only when its size
// changes.
class DibSurface {
 public:
  DibSurface() = default;
  ~DibSurface() { Release(); }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // A surface of that size, ready to draw on; false when GDI has no room for it.
  [[nodiscard]] bool Ensure(int width, int height) noexcept;
  [[nodiscard]] HDC Dc() const noexcept { return dc_.Get(); }
  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  // Its pixels; after GDI has drawn, read them only once GdiFlush has returned.
  [[nodiscard]] std::span<std::uint32_t> Pixels() const noexcept;
  // The bitmap and its DC go; the next Ensure makes them again.
  void Release() noexcept;

 private:

  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Copies `area` of the screen (virtual-screen coordinates, monitors left of or above the
// primary one included) into `surface`, sized to it, with one BitBlt from the screen's DC;
// false when the screen could not be read. The top bytes are cleared.
[[nodiscard]] bool CopyScreen(const RECT& area, DibSurface& surface) noexcept;

}  // namespace tintelo::win
