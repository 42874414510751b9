// Stand-ins for the platform around Form1 and the screen sampler: every call is recorded,
// every answer scripted, so a test sees what the window would have shown and done.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sampler/Loupe.h"
#include "sampler/Screen.h"
#include "window/Form1.h"

namespace tintelo::testing_support {

// The screen with the loupe on it, as the sampler reaches it: a pointer, monitors and a
// picture of the desktop (by default, a colour made from each point's coordinates) with
// the loupe's window on top. What a copy of the screen finds where the loupe stands or
// stood depends on the system, as `copies` says.
class FakeDesktop final : public Screen, public LoupeView {
 public:
  enum class Copies {
    kLoupe,              // the loupe where it stands; the window beneath repaints at once
    kLoupeUntilRepaint,  // and its pictures where it stood, until Repaint()
    kBlackForAFrame,     // black where it stands, and for one copy where it stood
    kTrueScreen,         // never the loupe
  };

  // The primary monitor, and one on its left where coordinates are negative.
  FakeDesktop() { monitors = {Monitor{ScreenRect{0, 0, 1920, 1080}, 96}, Monitor{ScreenRect{-1920, 0, 0, 1080}, 96}}; }

  // Screen.
  bool CursorPos(ScreenPoint& point) override {
    if (!cursorWorks) return false;
    point = cursor;
    return true;
  }
  void MoveCursor(ScreenPoint point) override { cursor = point; }
  void Monitors(std::vector<Monitor>& out) override {
    ++monitorsRead;
    out = monitors;
  }
  Captured Capture(const ScreenRect& area, std::span<Pixel> pixels) override {
    captures.push_back(area);
    if (!captureWorks) return Captured::kFailed;
    // A copy that gives nothing this time, as a busy GPU's, still leaves GDI's pixels in
    // the buffer, which nothing may show.
    std::size_t i = 0;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      for (std::int32_t x = area.left; x < area.right; ++x) pixels[i++] = Copied(ScreenPoint{x, y});
    }
    if (gpuBusy) return Captured::kUnchanged;
    // A black frame lasts one copy.
    if (copies == Copies::kBlackForAFrame) leftBehind.clear();
    return Captured::kRead;
  }
  void EndCaptures() override { ++capturesEnded; }
  void DisplaysChanged() override { ++displaysChanged; }
  void DisplaySettingsChanged() override { ++displaySettingsChanged; }

  // LoupeView.
  void Show(const ScreenRect& to, std::span<const Pixel> with) override {
    log.push_back("Show");
    if (visible && to != place) LeaveBehind();
    place = to;
    visible = true;
    picture.assign(with.begin(), with.end());
  }
  LoupeInCopies InCopies() const override { return inCopies; }
  bool HideForCopy() override {
    if (!composed) return false;
    Hide();
    // Composed: the next copy shows what lies beneath.
    leftBehind.clear();
    return true;
  }
  void Hide() override {
    log.push_back("Hide");
    if (visible) LeaveBehind();
    visible = false;
  }

  // What the screen shows at a point right now, and what a copy of it finds there.
  [[nodiscard]] Pixel Shown(ScreenPoint p) const {
    if (visible && place.Contains(p)) return PictureAt(place, picture, p);
    for (auto left = leftBehind.rbegin(); left != leftBehind.rend(); ++left) {
      if (left->place.Contains(p)) return PictureAt(left->place, left->picture, p);
    }
    return desktop(p);
  }
  [[nodiscard]] Pixel Copied(ScreenPoint p) const {
    switch (copies) {
      case Copies::kTrueScreen: return desktop(p);
      case Copies::kBlackForAFrame:
        if (visible && place.Contains(p)) return 0;
        for (const Left& left : leftBehind) {
          if (left.place.Contains(p)) return 0;
        }
        return desktop(p);
      case Copies::kLoupe:
      case Copies::kLoupeUntilRepaint: break;
    }
    return Shown(p);
  }
  // The screen as a colour value (0x00BBGGRR), the way the readouts show it.
  [[nodiscard]] static ColourValue AsColour(Pixel rgb) {
    return static_cast<ColourValue>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
  }
  [[nodiscard]] static Pixel AsPixel(ColourValue colour) {
    return static_cast<Pixel>(AsColour(static_cast<Pixel>(colour)));
  }
  // The readouts' colour for the area `side` pixels across around `centre`, worked out the
  // plain way: each channel's mean over the desktop's pixels on a monitor, rounded half up.
  [[nodiscard]] ColourValue MeanAround(ScreenPoint centre, int side) const {
    std::array<double, 3> sum{};
    int counted = 0;
    for (int y = centre.y - side / 2; y <= centre.y + side / 2; ++y) {
      for (int x = centre.x - side / 2; x <= centre.x + side / 2; ++x) {
        const ScreenPoint at{x, y};
        if (std::none_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return m.area.Contains(at); }))
          continue;
        const Pixel p = desktop(at);
        sum[0] += (p >> 16) & 0xFF;
        sum[1] += (p >> 8) & 0xFF;
        sum[2] += p & 0xFF;
        ++counted;
      }
    }
    const auto mean = [&](double s) { return static_cast<int>(std::floor(s / counted + 0.5)); };
    return ComposeColour(mean(sum[0]), mean(sum[1]), mean(sum[2]));
  }
  // One colour all over.
  void Fill(ColourValue colour) {
    desktop = [rgb = AsPixel(colour)](ScreenPoint) { return rgb; };
  }
  // The windows beneath the loupe's old places have repainted.
  void Repaint() { leftBehind.clear(); }

  // Script.
  bool cursorWorks = true;
  bool captureWorks = true;
  bool gpuBusy = false;  // copies give nothing this time
  ScreenPoint cursor{};
  std::vector<Monitor> monitors;
  Copies copies = Copies::kLoupe;
  LoupeInCopies inCopies = LoupeInCopies::kUnsure;  // what the loupe's window says of copies
  bool composed = false;  // a hidden loupe is in no copy after the next composition
  std::function<Pixel(ScreenPoint)> desktop = [](ScreenPoint p) {
    return static_cast<Pixel>(((p.x & 0xFF) << 16) | ((p.y & 0xFF) << 8) | ((p.x + p.y) & 0x7F));
  };

  // Record: the loupe's window, every area copied, and how often sampling's end let go of
  // what the copies held.
  bool visible = false;
  ScreenRect place;
  std::vector<Pixel> picture;
  std::vector<std::string> log;
  std::vector<ScreenRect> captures;
  int capturesEnded = 0;
  int monitorsRead = 0;
  int displaysChanged = 0;
  int displaySettingsChanged = 0;

 private:
  struct Left {
    ScreenRect place;
    std::vector<Pixel> picture;
  };
  static Pixel PictureAt(const ScreenRect& at, const std::vector<Pixel>& pixels, ScreenPoint p) {
    return pixels.at(static_cast<std::size_t>((p.y - at.top) * at.Width() + (p.x - at.left)));
  }
  void LeaveBehind() {
    if (copies == Copies::kLoupeUntilRepaint || copies == Copies::kBlackForAFrame)
      leftBehind.push_back(Left{place, picture});
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
  Outcome ShowColor() override {
    ++shows;
    flagsWhenShown.push_back(flags);
    if (log != nullptr) log->push_back(available ? "Dialog.Show" : "Dialog.Unavailable");
    if (!available) return Outcome::NotShown;
    if (!answer) return Outcome::Cancelled;
    colour = *answer;
    return Outcome::Confirmed;
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
  void SetFollowTimerEnabled(bool enabled) override { followTimerEnabled = enabled; }
  [[nodiscard]] std::int64_t Microseconds() const override { return now; }
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
  bool ComeForward() override {
    log.push_back("ComeForward");
    if (onComeForward) onComeForward();
    return !foregroundRefused;
  }
  void TakeClicks(bool taken) override { clicksTaken = taken; }
  std::vector<ScreenRect> OwnWindows() const override { return own; }
  void ShowContrast(bool shown) override {
    contrastShown = shown;
    log.push_back(shown ? "Contrast.Show" : "Contrast.Hide");
  }
  void SetContrast(ColourValue reference, std::string_view lines) override {
    contrastReference = reference;
    contrastLines = lines;
  }
  void ShowFrozen(bool shown) override {
    frozen = shown;
    log.push_back(shown ? "Frozen" : "Live");
  }

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
  bool followTimerEnabled = false;
  bool clicksTaken = false;  // clicks anywhere come to the window, and to no program
  bool frozen = false;       // what screen readers are told
  bool contrastShown = false;
  ColourValue contrastReference = -1;
  std::string contrastLines;
  std::string clipboard;
  FakeColourDialog dialogue;

  // Script.
  std::int64_t now = 0;            // the clock, in microseconds
  std::vector<ScreenRect> own;     // our windows' places on the screen
  bool clipboardHeld = false;      // another program has the clipboard open
  bool foregroundRefused = false;  // the system keeps another program in front
  std::function<void()> onDoEvents;
  std::function<void()> onComeForward;
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
