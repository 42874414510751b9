// Form1 on Win32: creates the real controls from the window description, turns their
// messages into calls on the platform-free Form1 and implements its view.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "Accessibility.h"
#include "Form1.h"
#include "GifImage.h"
#include "Handles.h"
#include "Layout.h"
#include "Platform.h"

namespace tintelo::win {

class MainWindow final : public FormView, private AccessibleText {
 public:
  // Registers the window classes and creates the window, hidden, with every control.
  [[nodiscard]] static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window and runs the first activation.
  void Show();
  // Keyboard navigation the window does itself; true when the message was consumed.
  [[nodiscard]] bool PreTranslate(const MSG& msg);

  // FormView
  [[nodiscard]] ColourValue SwatchColour() const override { return swatchColour_; }
  void SetSwatchColour(ColourValue value) override;
  void SetText(int index, std::string_view text) override;
  [[nodiscard]] std::string Text(int index) const override;
  void SetToolTip(int index, std::string_view text) override;
  [[nodiscard]] std::string ToolTip(int index) const override;
  void SetLabel2Caption(int index, std::string_view text) override;
  void ShowSliderPosition(int index, std::int16_t position) override;
  void SetTimerEnabled(bool enabled) override;
  void DoEvents() override;
  void FocusSwatch() override;
  [[nodiscard]] bool CopyToClipboard(std::string_view text) override;
  void Minimise() override;
  void Beep() override;
  void MovePanel(int index, double left, double top) override;
  void SetPanelVisible(int index, bool visible) override;
  [[nodiscard]] ColourDialog& Dialogue() override { return dialogue_; }
  void SetTopmost() override;

 private:
  explicit MainWindow(HINSTANCE instance);

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data) noexcept;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleSwatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePalette(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  struct Place {
    int left, top, width, height;
  };

  // The window handle of a control of the description, and its place in pixels at the
  // current DPI.
  [[nodiscard]] HWND& Slot(const layout::Control& c);
  [[nodiscard]] HWND Slot(const layout::Control& c) const;
  [[nodiscard]] Place PlaceOf(const layout::Control& c) const;
  [[nodiscard]] HFONT FontFor(const layout::Control& c) const;
  void CreateControls();
  void Layout();
  void RepaintAll();
  void RebuildFonts();
  void LoadIcons();
  void ScaleToolTip();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnObjectRequested();
  // AccessibleText
  [[nodiscard]] std::wstring AccessibleName(HWND control) const override;
  [[nodiscard]] std::wstring AccessibleValue(HWND control) const override;
  // The window's outer size that gives the layout's client area at `dpi`.
  [[nodiscard]] SIZE FrameSize(UINT dpi) const;
  void PaintSwatch(HWND window);
  void PaintPalette(HWND window);
  void OnScroll(HWND bar, int code);
  [[nodiscard]] int Px(double twips) const;
  [[nodiscard]] double Twips(int pixels) const;
  [[nodiscard]] HWND TabNeighbour(HWND from, bool backwards) const;

  static constexpr int kTipWidthAt96 = 400;  // where the tooltip wraps, in pixels at 96 DPI

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;

  HWND picture1_ = nullptr;
  HWND image1_ = nullptr;
  HWND tooltip_ = nullptr;
  std::array<HWND, 6> text1_{};
  std::array<HWND, 12> label1_{};  // only 0, 2, 4, 6, 9 and 11 exist
  std::array<HWND, 6> label2_{};
  std::array<HWND, 2> label4_{};
  std::array<HWND, 2> tool1_{};
  std::array<HWND, 3> hScroll1_{};
  std::array<double, 2> panelLeft_{};
  std::array<double, 2> panelTop_{};
  std::array<std::wstring, 6> toolTips_{};

  ColourValue swatchColour_ = 0;
  bool timerEnabled_ = false;
  bool paletteArmed_ = false;
  UniqueFont font_;
  UniqueFont letterFont_;
  UniqueFont tipFont_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  HCURSOR hand_ = nullptr;
  std::optional<RgbaImage> palette_;

  WinScreen screen_;
  win::Dialogue dialogue_;
  Form1 form_;
  Annotations annotations_;
};

}  // namespace tintelo::win
