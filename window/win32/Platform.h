// The screen reads, the colour dialog and the clipboard on Win32.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "Form1.h"
#include "ScreenSampler.h"

namespace tintelo::win {

// A typed entry point of a module, or null when the module or the entry is missing: for
// calls that newer systems have and older ones lack.
template <typename Fn>
[[nodiscard]] Fn ProcAddress(HMODULE module, const char* name) noexcept {
  return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

class WinScreen final : public ScreenApi {
 public:
  [[nodiscard]] bool CursorPos(ScreenPoint& point) override;
  [[nodiscard]] Handle DesktopWindow() override;
  [[nodiscard]] Handle WindowDc(Handle window) override;
  [[nodiscard]] ColourValue Pixel(Handle dc, ScreenPoint point) override;
  void ReleaseDc(Handle window, Handle dc) override;
};

// The colour dialog component: remembers its colour and the custom colours for the run.
class Dialogue final : public ColourDialog {
 public:
  void SetOwner(HWND owner) noexcept { owner_ = owner; }
  void SetFlags(std::int32_t flags) override { flags_ = flags; }
  void ShowColor() override;
  [[nodiscard]] ColourValue Color() const override { return static_cast<ColourValue>(color_); }

 private:
  HWND owner_ = nullptr;
  std::int32_t flags_ = 0;
  COLORREF color_ = RGB(0, 0, 0);
  std::array<COLORREF, 16> custom_{};
};

// Clears the clipboard and leaves the text on it as CF_UNICODETEXT (Windows derives the
// ANSI and OEM forms). Another program may hold the clipboard open for a moment, so the
// open is retried for about half a second, the window painting meanwhile; false if the
// clipboard stayed busy.
[[nodiscard]] bool CopyTextToClipboard(HWND owner, std::string_view text);

}  // namespace tintelo::win

namespace tintelo::win {

// Keeps the window above every window that is not topmost, without moving, resizing or
// activating it.
void fnSetTopmost(HWND form);

}  // namespace tintelo::win
