// The loupe's window: a small topmost popup beside the pointer that shows the picture the
// platform-free loupe draws. A view and nothing more: it places, paints and hides, and
// reads nothing. It is made on the first sampling, never takes the focus, the activation
// or the mouse, and has no taskbar button.
#pragma once

#include <windows.h>

#include <span>

#include "sampler/Loupe.h"
#include "window/win32/base/Dib.h"

namespace tintelo::win {

class LoupeWindow final : public LoupeView {
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

  void Show(const ScreenRect& place, std::span<const Pixel> picture) override;
  void Hide() override;
  [[nodiscard]] bool HideForCopy() override;
  [[nodiscard]] LoupeInCopies InCopies() const override { return inCopies_; }
  // Null until the first sampling makes it.
  [[nodiscard]] HWND Handle() const noexcept { return window_; }

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] bool MakeWindow();

  HWND owner_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  bool shown_ = false;
  LoupeInCopies inCopies_ = LoupeInCopies::kUnsure;  // its affinity as read back when it last appeared
  // The window's own copy of its picture: the system shows a layered window's bitmap
  // itself, with no painting of ours and nothing borrowed from elsewhere.
  DibSurface picture_;
};

}  // namespace tintelo::win
