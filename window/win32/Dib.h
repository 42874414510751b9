// 32-bit top-down device-independent bitmaps, as the program draws its pictures and reads
// the screen, and as its tests read the screen back: one 0x00RRGGBB value per pixel, rows
// from the top.
#pragma once

#include <windows.h>

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

}  // namespace tintelo::win
