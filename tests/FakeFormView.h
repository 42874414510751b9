// Stand-ins for the platform around Form1 and the screen sampler: every call is recorded,
// every answer scripted, so a test sees what the window would have shown and done.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sampler/Loupe.h"
#include "sampler/ScreenSampler.h"
#include "window/Form1.h"

namespace tintelo::testing_support {

// The screen as the sampler reaches it.
class FakeScreenApi final : public ScreenApi {
 public:
  struct Read {
    ScreenPoint point;
  };

  bool CursorPos(ScreenPoint& point) override {
    calls.emplace_back("CursorPos");
    if (!cursorWorks) return false;
    point = cursor;
    return true;
  }
  void MoveCursor(ScreenPoint point) override {
    calls.emplace_back("MoveCursor");
    cursor = point;
  }
  ColourValue Pixel(ScreenPoint point) override {
    calls.emplace_back("Pixel");
    reads.push_back(Read{point});
    return pixelAt ? pixelAt(point) : pixel;
  }

  // Script.
  bool cursorWorks = true;
  ScreenPoint cursor{};
  ColourValue pixel = 0;
  std::function<ColourValue(ScreenPoint)> pixelAt;  // when set, the screen instead of `pixel`

  // Record.
  std::vector<Read> reads;
  std::vector<std::string> calls;
};

// The screen as the loupe sees it: a picture of the desktop (by default, a colour made
// from each point's coordinates) with the loupe's window on top. With `slowRepaint`, the
// loupe's picture stays on the screen where it leaves a place until Repaint(), as it does
// until the window beneath has repainted.
class FakeDesktop final : public LoupeScreen {
 public:
  // The primary monitor, and one on its left where coordinates are negative.
  FakeDesktop() { monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-1920, 0, 0, 1080}, 96}}; }

  void Monitors(std::vector<Monitor>& out) override { out = monitors; }
  bool Capture(const ScreenRect& area, std::span<Pixel> pixels) override {
    std::size_t i = 0;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      for (std::int32_t x = area.left; x < area.right; ++x) pixels[i++] = Shown(ScreenPoint{x, y});
    }
    return true;
  }
  void Place(const ScreenRect& to) override {
    log.push_back("Place");
    if (visible && to != place) LeaveBehind();
    place = to;
    visible = true;
  }
  void Paint(std::span<const Pixel> with, int size) override {
    log.push_back("Paint");
    picture.assign(with.begin(), with.end());
    pictureSize = size;
  }
  void Hide() override {
    log.push_back("Hide");
    if (visible) LeaveBehind();
    visible = false;
  }

  // What the screen shows at a point right now.
  [[nodiscard]] Pixel Shown(ScreenPoint p) const {
    if (visible && place.Contains(p)) return PictureAt(place, picture, p);
    for (auto left = leftBehind.rbegin(); left != leftBehind.rend(); ++left) {
      if (left->place.Contains(p)) return PictureAt(left->place, left->picture, p);
    }
    return desktop(p);
  }
  // As GetPixel answers: 0x00BBGGRR.
  [[nodiscard]] ColourValue PixelRead(ScreenPoint p) const {
    const Pixel rgb = Shown(p);
    return static_cast<ColourValue>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
  }
  // The windows beneath the loupe's old places have repainted.
  void Repaint() { leftBehind.clear(); }

  std::vector<Monitor> monitors;
  bool slowRepaint = false;
  std::function<Pixel(ScreenPoint)> desktop = [](ScreenPoint p) {
    return static_cast<Pixel>(((p.x & 0xFF) << 16) | ((p.y & 0xFF) << 8) | ((p.x + p.y) & 0x7F));
  };

  bool visible = false;
  ScreenRect place;
  std::vector<Pixel> picture;
  int pictureSize = 0;
  std::vector<std::string> log;

 private:
  struct Left {
    ScreenRect place;
    std::vector<Pixel> picture;
  };
  static Pixel PictureAt(const ScreenRect& at, const std::vector<Pixel>& pixels, ScreenPoint p) {
    return pixels.at(static_cast<std::size_t>((p.y - at.top) * at.Width() + (p.x - at.left)));
  }
  void LeaveBehind() {
    if (slowRepaint) leftBehind.push_back(Left{place, picture});
  }

  std::vector<Left> leftBehind;
};

// The system colour dialog: the user either confirms a colour or cancels, which leaves
// the dialog's colour as it was.
class FakeColourDialog final : public ColourDialog {
 public:
  void SetFlags(std::int32_t value) override {
    flags = value;
    if (log != nullptr) log->push_back("Dialog.SetFlags");
  }
  bool ShowColor() override {
    ++shows;
    flagsWhenShown.push_back(flags);
    if (log != nullptr) log->push_back(available ? "Dialog.Show" : "Dialog.Unavailable");
    if (!available) return false;
    if (answer) colour = *answer;
    return true;
  }
  [[nodiscard]] ColourValue Color() const override { return colour; }

  bool available = true;              // false: its library cannot be loaded
  std::optional<ColourValue> answer;  // nothing: the user cancels
  ColourValue colour = 0;
  std::int32_t flags = 0;
  int shows = 0;
  std::vector<std::int32_t> flagsWhenShown;
  std::vector<std::string>* log = nullptr;
};

class FakeFormView final : public FormView {
 public:
  FakeFormView() { dialogue.log = &log; }
  FakeFormView(const FakeFormView&) = delete;
  FakeFormView& operator=(const FakeFormView&) = delete;

  [[nodiscard]] ColourValue SwatchColour() const override { return swatch; }
  void SetSwatchColour(ColourValue value) override {
    swatch = value;
    swatchHistory.push_back(value);
  }
  void SetText(int index, std::string_view text) override {
    if (onSetText) onSetText(index, text);
    texts.at(static_cast<std::size_t>(index)) = text;
    ++textWrites;
  }
  [[nodiscard]] std::string Text(int index) const override { return texts.at(static_cast<std::size_t>(index)); }
  void SetToolTip(int index, std::string_view text) override { toolTips.at(static_cast<std::size_t>(index)) = text; }
  [[nodiscard]] std::string ToolTip(int index) const override { return toolTips.at(static_cast<std::size_t>(index)); }
  void SetLabel2Caption(int index, std::string_view text) override {
    label2.at(static_cast<std::size_t>(index)) = text;
    ++labelWrites;
  }
  [[nodiscard]] std::string Label2Caption(int index) const override {
    return label2.at(static_cast<std::size_t>(index));
  }
  void ShowSliderPosition(int index, std::int16_t position) override {
    sliders.at(static_cast<std::size_t>(index)) = position;
  }
  void SetTimerEnabled(bool enabled) override {
    timerEnabled = enabled;
    log.push_back(enabled ? "Timer.On" : "Timer.Off");
  }
  void DoEvents() override {
    ++yields;
    if (onDoEvents) onDoEvents();
  }
  void FocusSwatch() override {
    ++swatchFocused;
    log.push_back("FocusSwatch");
  }
  bool CopyToClipboard(std::string_view text) override {
    log.push_back("Copy");
    if (clipboardHeld) return false;
    clipboard = text;
    return true;
  }
  void Minimise() override {
    ++minimised;
    log.push_back("Minimise");
  }
  void Beep() override {
    ++beeps;
    log.push_back("Beep");
  }
  void MovePanel(int index, double left, double top) override {
    panels.at(static_cast<std::size_t>(index)).left = left;
    panels.at(static_cast<std::size_t>(index)).top = top;
    log.push_back("Tool1(" + std::to_string(index) + ").Move");
  }
  void SetPanelVisible(int index, bool visible) override {
    panels.at(static_cast<std::size_t>(index)).visible = visible;
    log.push_back("Tool1(" + std::to_string(index) + (visible ? ").Show" : ").Hide"));
  }
  ColourDialog& Dialogue() override { return dialogue; }
  void SetTopmost() override { ++topmost; }

  struct Panel {
    double left = 960;  // where the layout puts both panels until the first move
    double top = -480;
    bool visible = false;
  };

  // The state the user would see.
  ColourValue swatch = 0;
  std::array<std::string, Form1::kReadouts> texts{"0.0", "", "", "", "", ""};
  std::array<std::string, Form1::kReadouts> toolTips{};
  std::array<std::string, 6> label2{"R", "G", "B", "000", "000", "000"};
  std::array<std::int16_t, Form1::kSliders> sliders{};
  std::array<Panel, 2> panels{};
  bool timerEnabled = false;
  std::string clipboard;
  FakeColourDialog dialogue;

  // Script.
  bool clipboardHeld = false;  // another program has the clipboard open
  std::function<void()> onDoEvents;
  std::function<void(int, std::string_view)> onSetText;

  // Record.
  std::vector<ColourValue> swatchHistory;
  std::vector<std::string> log;
  int textWrites = 0;
  int labelWrites = 0;
  int yields = 0;
  int swatchFocused = 0;
  int minimised = 0;
  int beeps = 0;
  int topmost = 0;
};

}  // namespace tintelo::testing_support
