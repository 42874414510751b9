// The window's behaviour, free of any windowing platform: the event handlers of Form1
// and its controls, talking to the real controls through FormView.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Analysis.h"
#include "colour/Css.h"
#include "colour/Slider.h"
#include "sampler/Loupe.h"
#include "sampler/Screen.h"
#include "sampler/ScreenSampler.h"
#include "window/RecentColours.h"

namespace tintelo {

// The system colour dialog as the window uses it.
class ColourDialog {
 public:
  static constexpr std::int32_t kFullOpen = 2;  // custom-colour section expanded at once

  // How the dialog ended; NotShown when no dialog could be shown at all (its library
  // would not load).
  enum class Outcome { NotShown, Cancelled, Confirmed };

  virtual void SetFlags(std::int32_t flags) = 0;
  // Modal. Afterwards Color() is the confirmed colour, or the previous one after a cancel.
  [[nodiscard]] virtual Outcome ShowColor() = 0;
  [[nodiscard]] virtual ColourValue Color() const = 0;

 protected:
  ~ColourDialog() = default;
};

// The real controls, as the handlers see them. Indices are the control-array indices.
class FormView {
 public:
  [[nodiscard]] virtual ColourValue SwatchColour() const = 0;
  virtual void SetSwatchColour(ColourValue value) = 0;
  virtual void SetText(int index, std::string_view text) = 0;
  [[nodiscard]] virtual std::string Text(int index) const = 0;
  virtual void SetToolTip(int index, std::string_view text) = 0;
  [[nodiscard]] virtual std::string ToolTip(int index) const = 0;
  virtual void SetLabel2Caption(int index, std::string_view text) = 0;
  [[nodiscard]] virtual std::string Label2Caption(int index) const = 0;
  virtual void ShowSliderPosition(int index, std::int16_t position) = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
  // The timer that follows the pointer between Timer1's ticks: every kFollowIntervalMs
  // while on, each tick a Follow_Timer event.
  virtual void SetFollowTimerEnabled(bool enabled) = 0;
  // A steady clock, in microseconds.
  [[nodiscard]] virtual std::int64_t Microseconds() const = 0;
  // Lets pending window messages run once, as a handler that yields does.
  virtual void DoEvents() = 0;
  virtual void FocusSwatch() = 0;
  // Clears the clipboard and puts the text on it; false when another program holds it.
  [[nodiscard]] virtual bool CopyToClipboard(std::string_view text) = 0;
  virtual void Minimise() = 0;
  virtual void Beep() = 0;
  // Help panel position in twips, in the window's client area.
  virtual void MovePanel(int index, double left, double top) = 0;
  virtual void SetPanelVisible(int index, bool visible) = 0;
  [[nodiscard]] virtual ColourDialog& Dialogue() = 0;
  virtual void SetTopmost() = 0;
  // For the global shortcut: the window back where it was if minimised, topmost, in the
  // foreground, the swatch focused. False when the system kept another window in front
  // or the focus elsewhere: the window then asks for attention instead.
  [[nodiscard]] virtual bool ComeForward() = 0;
  // While taken, a left or a right click anywhere on the screen reaches no program and
  // comes to Form1 as Screen_Click. Where the system will not give them, nothing changes:
  // clicks land where they fall, as they did before.
  virtual void TakeClicks(bool taken) = 0;
  // The places on the screen of the program's own windows that copies of the screen show
  // (the loupe aside, which the sampler deals with), for a still to leave unread.
  [[nodiscard]] virtual std::vector<ScreenRect> OwnWindows() const = 0;
  // Sampling reads a still of the screen, or the live screen again: screen readers are told.
  virtual void ShowFrozen(bool frozen) = 0;
  // The contrast lines under the controls shown or hidden, the window grown or shrunk to
  // hold them; and what they say: the reference's square and the three lines.
  virtual void ShowContrast(bool shown) = 0;
  virtual void SetContrast(ColourValue reference, std::string_view lines) = 0;

 protected:
  ~FormView() = default;
};

// The keys the swatch acts on while it holds the focus.
// Grow and Shrink are + and -, from the numeric keypad or typed as characters; Freeze is
// F, ZoomIn and ZoomOut are Page Up and Page Down.
enum class SwatchKey { Space, Enter, Escape, Left, Right, Up, Down, Tab, Grow, Shrink, Freeze, ZoomIn, ZoomOut, Other };

class Form1 final : private ColourView, private SliderHost {
 public:
  static constexpr int kReadouts = 6;
  static constexpr int kSliders = 3;
  static constexpr int kTimerIntervalMs = 50;
  // How often the pointer is looked at between ticks, where no pointer move reaches the
  // window; the shortest interval a timer has (USER_TIMER_MINIMUM).
  static constexpr int kFollowIntervalMs = 10;
  // A notch of the mouse wheel (WHEEL_DELTA); finer wheels send parts of one.
  static constexpr int kWheelNotch = 120;
  // Where a help panel goes, in twips from the pointer's place in the hovered control.
  static constexpr double kPanelOffsetX = 400;
  static constexpr double kSwatchPanelOffsetY = 400;
  static constexpr double kPalettePanelOffsetY = 800;

  // Arrows move the pointer one physical pixel while sampling; with Shift, this many.
  static constexpr int kLongStep = 10;

  Form1(FormView& view, Screen& screen, LoupeView& loupe) noexcept;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  [[nodiscard]] bool SlidersLive() const noexcept { return slidersLive; }
  [[nodiscard]] bool Sampling() const noexcept { return sampler_.Sampling(); }
  [[nodiscard]] int AreaSide() const noexcept { return sampler_.Area().Side(); }
  [[nodiscard]] int ZoomCells() const noexcept { return sampler_.ZoomCells(); }
  [[nodiscard]] bool Frozen() const noexcept { return sampler_.Frozen(); }
  [[nodiscard]] const RecentColours& Recent() const noexcept { return recent_; }
  [[nodiscard]] std::int16_t SliderValue(int index) const {
    return hScroll1_.at(static_cast<std::size_t>(index)).Value();
  }

  void fnAnalyseCouleurs();

  // Window events.
  void Form_Load();
  void Form_Activate();
  void Form_MouseMove();
  // The global shortcut, from anywhere: the window comes forward and sampling begins
  // where the pointer is, as with Space, with the readouts at once; pressed again while
  // sampling from the keyboard, it ends sampling and keeps the colour. While the swatch
  // is held it does nothing, and where the window cannot have the foreground and the
  // focus sampling does not begin: the keys would go to another program. With Shift,
  // sampling begins frozen, on a still taken before the window comes forward, so that it
  // holds what the pointer lit in another program; while sampling, it freezes or thaws.
  void Form_HotKey(bool shift = false);
  // The displays changed (WM_DISPLAYCHANGE): modes, monitors.
  void Form_DisplayChange();
  // A setting changed (WM_SETTINGCHANGE), which may be a monitor's HDR state or SDR white
  // level: while sampling, those alone are read again.
  void Form_SettingChange();
  // The recent colour `index` (0 the newest) chosen from the menu: it becomes the colour
  // as the dialog's does, without being copied.
  void RecentColour_Click(int index);
  // Ctrl+1 to Ctrl+5 or the "Copier en CSS" menu: the colour's CSS text copied, as a click
  // on a notation copies it; while sampling, sampling ends keeping the colour first.
  void CssCopy_Click(CssNotation notation);
  // Ctrl+K or the system menu's "Contraste": the contrast lines shown or hidden.
  void Contrast_Click();
  // Ctrl+R or "Garder comme référence": the current colour pinned as the reference (which
  // shows the lines), or unpinned.
  void Reference_Click();
  [[nodiscard]] bool ContrastShown() const noexcept { return contrastShown_; }
  [[nodiscard]] bool ReferencePinned() const noexcept { return pinned_.has_value(); }

  // While sampling begun from the keyboard, clicks anywhere are Tintelo's: a left click
  // ends sampling keeping the colour, a right click cancels it as Escape does.
  enum class Button { Left, Right };
  void Screen_Click(Button button);

  // Swatch: press anywhere with any button to sample, release (or lose the capture) to stop.
  // While sampling, the readouts follow every pointer move, at most once per refresh of
  // the monitor under the pointer.
  void Picture1_MouseDown();
  void Picture1_MouseUp();
  void Picture1_CaptureLost();
  void Picture1_MouseMove(double x, double y);
  // The swatch's keys: Space or Enter starts sampling where the pointer is and ends it,
  // the arrows step the pointer, + and - step the averaged area, F freezes the screen or
  // goes back to the live one, Page Up and Page Down zoom the loupe in and out, Escape
  // cancels, and Tab waits until sampling is over. True when the key was used; `repeat`
  // for a key held down.
  bool Picture1_KeyDown(SwatchKey key, bool shift, bool repeat);
  // The wheel while sampling, in WHEEL_DELTA units, up positive: a notch up grows the
  // averaged area, a notch down shrinks it; with Ctrl, up zooms the loupe in and down
  // out. True when sampling took it.
  bool Picture1_MouseWheel(int delta, bool control = false);
  void Picture1_LostFocus();
  void Timer1_Timer();
  void Follow_Timer();

  void Text1_GotFocus(int index);
  void Text1_MouseMove(int index);
  void Label1_MouseMove(int index);
  void Label4_MouseMove(int index);

  void Image1_Click();
  void Image1_MouseMove(double x, double y);

  // A user action on slider `index` (arrow, track, thumb).
  void hScroll1_Action(int index, SliderAction action, int thumb = 0);

 private:
  // ColourView, for the refresh and the slider update.
  [[nodiscard]] ColourValue SwatchColour() const override { return view_.SwatchColour(); }
  void SetReadout(int index, std::string_view text) override { view_.SetText(index, text); }
  void SetSliderPosition(int index, std::int16_t position) override;
  void SetSwatchColour(ColourValue value) override { view_.SetSwatchColour(value); }
  [[nodiscard]] std::int16_t SliderPosition(int index) const override { return SliderValue(index); }
  void SetValueLabel(int index, std::string_view text) override { view_.SetLabel2Caption(index, text); }

  // SliderHost.
  void ShowSliderPosition(int index, std::int16_t position) override { view_.ShowSliderPosition(index, position); }
  void SliderChanged(int index) override;
  // The text on the clipboard, and the window out of the way, as a copy does; a refusal beeps.
  void CopyText(const std::string& text);
  // A colour joins the recent colours (and may become the contrast's reference).
  void Take(ColourValue colour);
  // The contrast lines after any change of either colour; nothing while they are hidden.
  void RefreshContrast();
  void SliderScrolled(int index) override;

  void HidePanels();
  // `read`: the readouts at once, not at the first tick or move.
  void StartSampling(bool read = false);
  void StartSamplingFromKeyboard(bool read);
  void StopSampling();
  // Sampling's end that keeps the colour: a reading taken joins the recent colours.
  void KeepSample();
  void CancelSampling();
  bool StepPointer(int dx, int dy);
  bool StepArea(int steps);
  bool StepZoom(int steps);
  bool ToggleFreeze();
  // A refresh at the pointer, at once, after a change that the loupe or the readouts show.
  void RefreshNow();
  void FollowPointer(bool resting);
  // One capture at the pointer for the loupe and, when `read`, the readouts. A capture
  // that gives nothing this time counts as no refresh: the next tick or move tries again.
  void Refresh(ScreenPoint pointer, bool read);
  // Runs a handler that may sample. A run-time error that leaves it ends sampling first
  // (the timers stop, the loupe goes), so that the error's report, which keeps messages
  // flowing while it shows, is the only one: no tick can raise another behind it.
  template <typename Handler>
  auto EndingSamplingOnError(Handler&& handler) -> decltype(handler());

  // What Escape brings back: everything sampling can change that the swatch colour and
  // the refresh do not give back by themselves.
  struct BeforeSampling {
    ColourValue swatch = 0;
    std::string position;
    std::array<std::string, kSliders> values;
  };

  FormView& view_;
  ScreenSampler sampler_;
  std::array<Slider, kSliders> hScroll1_;
  bool slidersLive = false;
  bool activated_ = false;
  BeforeSampling before_;
  // The last refresh: when, and where the pointer was; and when a move was last followed.
  std::int64_t refreshedAt_ = 0;
  ScreenPoint refreshedPointer_;
  std::int64_t followedAt_ = 0;
  bool byKeyboard_ = false;  // sampling began with a key: no pointer moves reach the window
  bool sampled_ = false;     // this sampling has shown a reading; every stop clears it
  RecentColours recent_;
  bool contrastShown_ = false;
  std::optional<ColourValue> pinned_;  // the contrast's reference, while pinned
  int wheel_ = 0;               // wheel movement short of a notch
  bool wheelControl_ = false;   // whether Ctrl was down for it
};

}  // namespace tintelo
