// The screen on Win32: the pointer, the monitors, and copies of the screen, the only way
// the program reads it.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "sampler/Screen.h"
#include "window/win32/Dib.h"

namespace tintelo::win {

class DesktopDuplication;

// Everything the program knows of one monitor: what the platform-free sampler sees, its
// GDI name, and its SDR white level when it shows an HDR desktop (0 otherwise).
struct Display {
  Monitor monitor;
  std::array<wchar_t, CCHDEVICENAME> device{};
  unsigned sdrWhiteLevel = 0;
};

// The monitors as the system describes them now.
[[nodiscard]] std::vector<Display> ReadDisplays();

class WinScreen final : public Screen {
 public:
  WinScreen() noexcept;
  ~WinScreen();
  WinScreen(const WinScreen&) = delete;
  WinScreen& operator=(const WinScreen&) = delete;

  [[nodiscard]] bool CursorPos(ScreenPoint& point) override;
  void MoveCursor(ScreenPoint point) override;
  void Monitors(std::vector<Monitor>& monitors) override;
  [[nodiscard]] bool Capture(const ScreenRect& area, std::span<Pixel> pixels) override;
  void EndCaptures() override;
  void DisplaysChanged() override;

 private:
  // The displays, read when first needed by either call and again by each Monitors().
  const std::vector<Display>& Displays();

  DibSurface copy_;                // made on the first capture, which BitBlt writes straight into
  std::vector<Display> displays_;  // as last read
  bool displaysRead_ = false;
  std::unique_ptr<DesktopDuplication> duplication_;  // while sampling reads an HDR monitor
};

}  // namespace tintelo::win
