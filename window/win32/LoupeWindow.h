// The loupe's window: a small topmost popup beside the pointer that shows the picture the
// platform-free loupe draws, reads the screen around the pointer for it, and lists the
// monitors. It is made on the first sampling, never takes the focus, the activation or
// the mouse, and has no taskbar button.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "sampler/Loupe.h"
#include "window/win32/Handles.h"

namespace tintelo::win {

inline constexpr wchar_t kLoupeClass[] = L"TinteloLoupe";

class LoupeWindow final : public LoupeScreen {
 public:
  LoupeWindow() = default;
  ~LoupeWindow();
  LoupeWindow(const LoupeWindow&) = delete;
  LoupeWindow& operator=(const LoupeWindow&) = delete;

  // The main window, which owns the loupe: minimised with it, gone with it.
  void SetOwner(HWND owner, HINSTANCE instance) noexcept {
    owner_ = owner;
    instance_ = instance;
  }

  void Monitors(std::vector<Monitor>& monitors) override;
  [[nodiscard]] bool Capture(const ScreenRect& area, std::span<Pixel> pixels) override;
  void Place(const ScreenRect& place) override;
  void Paint(std::span<const Pixel> picture, int size) override;
  void Hide() override;

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] bool MakeWindow();
  void Draw(HDC dc) const;

  HWND owner_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  bool shown_ = false;
  std::span<const Pixel> picture_;
  int size_ = 0;

  // The capture's bitmap, made once, which BitBlt writes straight into.
  UniqueMemoryDc captureDc_;
  UniqueBitmap captureBitmap_;
  Pixel* captureBits_ = nullptr;
  HGDIOBJ captureOld_ = nullptr;
  int captureWidth_ = 0;
  int captureHeight_ = 0;
};

}  // namespace tintelo::win
