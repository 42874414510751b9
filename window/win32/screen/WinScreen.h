// The screen on Win32: the pointer, the monitors, and copies of the screen, the only way
// the program reads it.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "sampler/Screen.h"
#include "window/win32/base/Dib.h"
#include "window/win32/base/OwnTimer.h"

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

  // How long the duplications stay after sampling ends. A new one costs a factory, a
  // device and a duplication, tens of milliseconds or more, and reads its first refresh
  // through GDI when no frame is ready yet; a kept one holds the system's copy of each
  // monitor's desktop for it (about 66 MB of video memory for an FP16 4K monitor) and the
  // latest desktop image (as much again). Half a minute covers presses in a row, picking
  // one colour after another, and then gives the memory back.
  static constexpr UINT kQuietMs = 30'000;
  // How long a still waits for a new duplication's first desktop image: a few frames.
  static constexpr int kStillFrameWaits = 6;
  static constexpr DWORD kStillFrameWaitMs = 17;

  // The window that the quiet while's timer is set on and the session's changes come to.
  void SetOwner(HWND owner) noexcept { owner_ = owner; }
  // WM_WTSSESSION_CHANGE: a session locked, or gone to another console or a remote one,
  // shows another desktop; the duplications go, to be made afresh on return.
  void OnSessionChange(WPARAM event) noexcept;
  // Before the owner window goes, which must stop the session's notifications itself.
  void StopWatchingSession() noexcept;

  [[nodiscard]] bool CursorPos(ScreenPoint& point) override;
  void MoveCursor(ScreenPoint point) override;
  void Monitors(std::vector<Monitor>& monitors) override;
  [[nodiscard]] Captured Capture(const ScreenRect& area, std::span<Pixel> pixels) override;
  void EndCaptures() override;
  void DisplaysChanged() override;
  void DisplaySettingsChanged() override;

 private:
  // The quiet while after sampling is over: the duplications go.
  void LetGo() noexcept;
  // Asks for the session's changes, once a duplication exists.
  void WatchSession() noexcept;
  // The displays, read when first needed by either call and again by each Monitors().
  const std::vector<Display>& Displays();
  // Reads the displays again; a monitor whose HDR state changed since they were last read
  // starts afresh, and every one does when the monitors changed.
  void ReadDisplaysAgain();

  DibSurface copy_;                // made on the first capture, which BitBlt writes straight into
  std::vector<Display> displays_;  // as last read
  bool displaysRead_ = false;
  bool capturing_ = false;  // from a capture to the end of that sampling
  HWND owner_ = nullptr;
  bool watchingSession_ = false;                     // from the first duplication on
  std::unique_ptr<DesktopDuplication> duplication_;  // while sampling reads an HDR monitor
  OwnTimer<WinScreen, &WinScreen::LetGo> letGo_{*this};
};

}  // namespace tintelo::win
