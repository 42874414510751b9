// The colour dialog component: the system's colour dialog, loaded on its first use.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "window/Form1.h"

namespace tintelo::win {

// Remembers its colour and the custom colours for the run.
class Dialogue final : public ColourDialog {
 public:
  void SetOwner(HWND owner) noexcept { owner_ = owner; }
  void SetFlags(std::int32_t flags) override { flags_ = flags; }
  [[nodiscard]] Outcome ShowColor() override;
  [[nodiscard]] ColourValue Color() const override { return static_cast<ColourValue>(color_); }

 private:
  HWND owner_ = nullptr;
  std::int32_t flags_ = 0;
  COLORREF color_ = RGB(0, 0, 0);
  std::array<COLORREF, 16> custom_{};
};

}  // namespace tintelo::win
