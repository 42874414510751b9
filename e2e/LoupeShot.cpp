// Makes the README's picture of the loupe: a few colours and a one-pixel line beside
// Tintelo's window, sampling begun with Space with the pointer where they meet, and the
// screen around both saved as a BMP file (scripts/screenshots.sh turns it into a PNG);
// with "frozen", after F has frozen the screen.
// Usage: tintelo_loupe_shot.exe out.bmp [live|frozen]
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <span>
#include <string_view>

#include "e2e/Driver.h"
#include "window/win32/base/Dib.h"

using namespace tintelo::e2e;

namespace {

// A 32-bit BMP file keeps its pixels as the bitmap does (0x00RRGGBB, blue byte first):
// the copy is written as it is.
bool WriteBmp(const char* path, const tintelo::win::DibSurface& picture) {
  const BITMAPINFOHEADER info = tintelo::win::TopDownDib(picture.Width(), picture.Height()).bmiHeader;
  const std::span<std::uint32_t> pixels = picture.Pixels();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size_bytes());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size_bytes()));
  return static_cast<bool>(out);
}

RECT Union(const RECT& a, const RECT& b) {
  RECT u{};
  UnionRect(&u, &a, &b);
  return u;
}

}  // namespace

int main(int argc, char** argv) {
  const bool frozen = argc == 3 && std::string_view(argv[2]) == "frozen";
  if (argc < 2 || argc > 3 || (argc == 3 && !frozen && std::string_view(argv[2]) != "live")) {
    std::fprintf(stderr, "usage: tintelo_loupe_shot out.bmp [live|frozen]\n");
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
  if (frozen) PressKey('F');
  WaitUntil([] { return false; }, 1s);  // the loupe's and the readouts' paint

  RECT window{};
  RECT shown{};
  GetWindowRect(app.Window(), &window);
  GetWindowRect(loupe, &shown);
  RECT area = Union(Union(window, shown), square(-40, -40));
  InflateRect(&area, 12, 12);
  tintelo::win::DibSurface shot;
  const bool written = tintelo::win::CopyScreen(area, shot) && WriteBmp(argv[1], shot);
  PressKey(VK_ESCAPE);
  return written ? 0 : 1;
}
