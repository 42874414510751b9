// Makes the README's picture of the loupe: a few colours and a one-pixel line beside
// Tintelo's window, sampling begun with Space with the pointer where they meet, and the
// screen around both saved as a BMP file (scripts/screenshots.sh turns it into a PNG).
// Usage: tintelo_loupe_shot.exe out.bmp
#include <cstdio>
#include <fstream>
#include <vector>

#include "e2e/Driver.h"

using namespace tintelo::e2e;

namespace {

bool WriteBmp(const char* path, const RECT& area, const std::vector<COLORREF>& pixels) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  for (const COLORREF c : pixels) {
    const unsigned char bgra[4] = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
    out.write(reinterpret_cast<const char*>(bgra), 4);
  }
  return static_cast<bool>(out);
}

RECT Union(const RECT& a, const RECT& b) {
  RECT u{};
  UnionRect(&u, &a, &b);
  return u;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tintelo_loupe_shot out.bmp\n");
    return 2;
  }
  // Left of where Tintelo opens, centred on the screen.
  const int cx = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int cy = GetSystemMetrics(SM_CYSCREEN) / 2;
  const POINT meeting{cx - 380, cy - 60};
  const auto square = [&](int dx, int dy) {
    return RECT{meeting.x + dx, meeting.y + dy, meeting.x + dx + 40, meeting.y + dy + 40};
  };
  const Colour coral{240, 96, 80, "", "", "", "", ""};
  const Colour teal{32, 160, 150, "", "", "", "", ""};
  const Colour gold{250, 200, 60, "", "", "", "", ""};
  const Colour plum{110, 70, 140, "", "", "", "", ""};
  const Colour white{255, 255, 255, "", "", "", "", ""};
  const ColourWindow a(square(-40, -40), coral);
  const ColourWindow b(square(0, -40), teal);
  const ColourWindow c(square(-40, 0), gold);
  const ColourWindow d(square(0, 0), plum);
  const RECT lineAt{meeting.x + 3, meeting.y - 40, meeting.x + 4, meeting.y + 40};
  const ColourWindow line(lineAt, white);
  if (!line.Shown(POINT{lineAt.left, meeting.y})) return 1;

  Tintelo app;
  if (app.Window() == nullptr) return 1;
  MovePointer(meeting);
  PressKey(VK_SPACE);
  HWND loupe = nullptr;
  if (!WaitUntil([&] { return (loupe = LoupeOf(app)) != nullptr; })) return 1;
  WaitUntil([] { return false; }, 1s);  // the loupe's and the readouts' paint

  RECT window{};
  RECT shown{};
  GetWindowRect(app.Window(), &window);
  GetWindowRect(loupe, &shown);
  RECT area = Union(Union(window, shown), square(-40, -40));
  InflateRect(&area, 12, 12);
  const bool written = WriteBmp(argv[1], area, ScreenPixels(area));
  PressKey(VK_ESCAPE);
  return written ? 0 : 1;
}
