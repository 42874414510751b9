// The window's event logic, platform-free: what each event does to the view.
#include "window/Form1.h"

#include "colour/Wcag.h"

namespace tintelo {

Form1::Form1(FormView& view, Screen& screen, LoupeView& loupe) noexcept
    : view_(view), sampler_(screen, loupe), hScroll1_{Slider(0, *this), Slider(1, *this), Slider(2, *this)} {}

template <typename Handler>
auto Form1::EndingSamplingOnError(Handler&& handler) -> decltype(handler()) {
  try {
    return handler();
  } catch (...) {
    if (sampler_.Sampling()) StopSampling();
    sampler_.Thaw();  // a still taken for a sampling that never began
    throw;
  }
}

void Form1::fnAnalyseCouleurs() {
  tintelo::fnAnalyseCouleurs(static_cast<ColourView&>(*this));
  RefreshContrast();
}

void Form1::SetSliderPosition(int index, std::int16_t position) {
  hScroll1_.at(static_cast<std::size_t>(index)).SetValue(position);
}

void Form1::SliderChanged(int) {
  fnSliderUpdate(*this, slidersLive);
  RefreshContrast();
}

// Dragging the thumb runs the same update, so the colour follows the thumb.
void Form1::SliderScrolled(int index) { SliderChanged(index); }

void Form1::hScroll1_Action(int index, SliderAction action, int thumb) {
  EndingSamplingOnError([&] { hScroll1_.at(static_cast<std::size_t>(index)).Apply(action, thumb); });
}

void Form1::Form_Load() {
  const std::string tip = view_.ToolTip(0);
  for (int i = 1; i < kReadouts; ++i) view_.SetToolTip(i, tip);
}

void Form1::Form_Activate() {
  // The platform reports every activation; the start-up work belongs to the first one only.
  if (activated_) return;
  activated_ = true;
  slidersLive = false;
  fnAnalyseCouleurs();
  slidersLive = true;
  view_.SetTopmost();
}

void Form1::HidePanels() {
  view_.SetPanelVisible(0, false);
  view_.SetPanelVisible(1, false);
}

void Form1::Form_MouseMove() { HidePanels(); }
void Form1::Text1_MouseMove(int) { HidePanels(); }
void Form1::Label1_MouseMove(int) { HidePanels(); }
void Form1::Label4_MouseMove(int) { HidePanels(); }

void Form1::StartSampling(bool read) {
  if (!sampler_.Sampling()) {
    before_.swatch = view_.SwatchColour();
    before_.position = view_.Text(0);
    for (int i = 0; i < kSliders; ++i)
      before_.values.at(static_cast<std::size_t>(i)) = view_.Label2Caption(kSliders + i);
    sampler_.Begin();
    // The loupe shows at once; the readouts wait for the first tick or move unless asked,
    // so that a click too short for a tick leaves the colour as it was.
    if (const auto pointer = sampler_.Pointer()) Refresh(*pointer, read);
  }
  slidersLive = false;
  view_.SetTimerEnabled(true);
}

void Form1::StartSamplingFromKeyboard(bool read) {
  byKeyboard_ = true;
  StartSampling(read);
  // No pointer moves reach the window: the follow timer watches the pointer, and the
  // clicks that would land in other programs end or cancel sampling instead, where the
  // system lets them be taken.
  view_.SetFollowTimerEnabled(true);
  view_.TakeClicks(true);
}

void Form1::Picture1_MouseDown() {
  // Disarm the sliders before yielding, so neither a tick nor a release that runs during
  // the yields sees a half-started state. A release handled there ends sampling, and
  // the sliders are then armed again: they are armed whenever no button is held.
  EndingSamplingOnError([&] {
    byKeyboard_ = false;
    StartSampling();
    view_.DoEvents();
    view_.DoEvents();
  });
}

void Form1::StopSampling() {
  view_.SetPanelVisible(0, false);
  view_.SetTimerEnabled(false);
  view_.SetFollowTimerEnabled(false);
  view_.TakeClicks(false);
  if (sampler_.Frozen()) view_.ShowFrozen(false);
  sampler_.End();
  slidersLive = true;
  sampled_ = false;
}

void Form1::KeepSample() {
  // The colours passed on the way are not taken, only the one sampling ends on; a press
  // too short for a reading took none.
  const bool took = sampled_;
  StopSampling();
  if (took) Take(view_.SwatchColour());
}

void Form1::CancelSampling() {
  // Back through the same refresh as every colour source, still disarmed so that the
  // sliders follow without composing a colour; then the texts the refresh does not
  // write: the position, and the value labels as they read (at start-up "000").
  view_.SetSwatchColour(before_.swatch);
  view_.SetText(0, before_.position);
  fnAnalyseCouleurs();
  for (int i = 0; i < kSliders; ++i)
    view_.SetLabel2Caption(kSliders + i, before_.values.at(static_cast<std::size_t>(i)));
  StopSampling();
}

void Form1::Picture1_MouseUp() { KeepSample(); }

void Form1::Picture1_CaptureLost() {
  // Another window took the pointer; the release will never reach the swatch.
  if (sampler_.Sampling()) KeepSample();
}

void Form1::Picture1_LostFocus() {
  // The keys that end sampling cannot reach the swatch any more.
  if (sampler_.Sampling()) KeepSample();
}

void Form1::Form_DisplayChange() {
  EndingSamplingOnError([&] {
    // A still goes with the displays it showed: sampling goes on from the live screen.
    const bool frozen = sampler_.Frozen();
    sampler_.DisplaysChanged();
    if (frozen) {
      view_.ShowFrozen(false);
      if (sampler_.Sampling()) RefreshNow();
    }
  });
}

void Form1::Form_SettingChange() {
  EndingSamplingOnError([&] { sampler_.DisplaySettingsChanged(); });
}

void Form1::Form_HotKey(bool shift) {
  // A press on the swatch ends with its release, wherever the shortcut is pressed.
  if (sampler_.Sampling() && !byKeyboard_) return;
  EndingSamplingOnError([&] {
    if (sampler_.Sampling()) {
      if (shift) {
        ToggleFreeze();
      } else {
        KeepSample();
      }
      return;
    }
    // The still first: what the pointer lights in another program goes out as soon as
    // the window comes forward.
    if (shift) sampler_.Freeze(view_.OwnWindows());
    // Pressed from another program, the user is looking at the screen, not at the window:
    // the readouts show the pixel under the pointer at once.
    if (!view_.ComeForward()) {
      sampler_.Thaw();
      return;
    }
    StartSamplingFromKeyboard(true);
    if (shift) view_.ShowFrozen(sampler_.Frozen());
  });
}

void Form1::Screen_Click(Button button) {
  // A click taken just as sampling ended by other means is a click on nothing.
  if (!sampler_.Sampling() || !byKeyboard_) return;
  EndingSamplingOnError([&] {
    if (button == Button::Left) {
      KeepSample();
    } else {
      CancelSampling();
    }
  });
}

void Form1::RecentColour_Click(int index) {
  const auto colours = recent_.Newest();
  if (index < 0 || static_cast<std::size_t>(index) >= colours.size()) return;
  const ColourValue colour = colours[static_cast<std::size_t>(index)];
  EndingSamplingOnError([&] {
    if (sampler_.Sampling()) StopSampling();
    view_.SetSwatchColour(colour);
    fnAnalyseCouleurs();
  });
}

void Form1::Picture1_MouseMove(double x, double y) {
  view_.MovePanel(0, x + kPanelOffsetX, y + kSwatchPanelOffsetY);
  view_.SetPanelVisible(0, true);
  if (sampler_.Sampling()) EndingSamplingOnError([&] { FollowPointer(false); });
}

bool Form1::Picture1_KeyDown(SwatchKey key, bool shift, bool repeat) {
  return EndingSamplingOnError([&] {
    const int step = shift ? kLongStep : 1;
    switch (key) {
      case SwatchKey::Space:
      case SwatchKey::Enter:
        // A key held down starts or ends once, not on and off with each repeat.
        if (repeat) return true;
        if (sampler_.Sampling()) {
          KeepSample();
        } else {
          StartSamplingFromKeyboard(false);
        }
        return true;
      case SwatchKey::Escape:
        if (!sampler_.Sampling()) return false;
        CancelSampling();
        return true;
      case SwatchKey::Left: return StepPointer(-step, 0);
      case SwatchKey::Right: return StepPointer(step, 0);
      case SwatchKey::Up: return StepPointer(0, -step);
      case SwatchKey::Down: return StepPointer(0, step);
      case SwatchKey::Grow: return StepArea(1);
      case SwatchKey::Shrink: return StepArea(-1);
      case SwatchKey::ZoomIn: return StepZoom(1);
      case SwatchKey::ZoomOut: return StepZoom(-1);
      case SwatchKey::Freeze:
        if (repeat) return sampler_.Sampling();
        return ToggleFreeze();
      // Tab would give a field the focus, which copies it.
      case SwatchKey::Tab: return sampler_.Sampling();
      case SwatchKey::Other: return false;
    }
    return false;
  });
}

bool Form1::Picture1_MouseWheel(int delta, bool control) {
  if (!sampler_.Sampling()) return false;
  return EndingSamplingOnError([&] {
    // Parts of a notch add up only while Ctrl stays as it was.
    if (control != wheelControl_) wheel_ = 0;
    wheelControl_ = control;
    wheel_ += delta;
    const int notches = wheel_ / kWheelNotch;
    wheel_ -= notches * kWheelNotch;
    if (notches != 0) {
      if (control) {
        StepZoom(notches);
      } else {
        StepArea(notches);
      }
    }
    return true;
  });
}

bool Form1::StepPointer(int dx, int dy) {
  // Only sampling moves the pointer; otherwise the arrows are not the swatch's.
  if (!sampler_.Sampling()) return false;
  // The readouts and the loupe follow at once, not at the next tick.
  if (sampler_.Step(dx, dy)) RefreshNow();
  return true;
}

bool Form1::StepArea(int steps) {
  if (!sampler_.Sampling()) return false;
  // The outline and the readouts change at once; past either end nothing does.
  if (sampler_.StepArea(steps)) RefreshNow();
  return true;
}

bool Form1::StepZoom(int steps) {
  if (!sampler_.Sampling()) return false;
  // The loupe changes at once; the readouts come from the capture, whatever it shows.
  if (sampler_.StepZoom(steps)) RefreshNow();
  return true;
}

bool Form1::ToggleFreeze() {
  if (!sampler_.Sampling()) return false;
  if (sampler_.Frozen()) {
    sampler_.Thaw();
  } else {
    sampler_.Freeze(view_.OwnWindows());
  }
  view_.ShowFrozen(sampler_.Frozen());
  RefreshNow();
  return true;
}

void Form1::RefreshNow() {
  if (const auto pointer = sampler_.Pointer()) Refresh(*pointer, true);
}

void Form1::Timer1_Timer() {
  // A tick can still be queued after the release; it must not sample then.
  if (sampler_.Sampling()) EndingSamplingOnError([&] { FollowPointer(true); });
}

void Form1::Follow_Timer() {
  if (sampler_.Sampling()) EndingSamplingOnError([&] { FollowPointer(false); });
}

void Form1::FollowPointer(bool resting) {
  const auto pointer = sampler_.Pointer();
  if (!pointer) return;
  const std::int64_t now = view_.Microseconds();
  const std::int64_t frame = sampler_.FrameMicroseconds(*pointer);
  if (resting) {
    // A still pointer is read again at each tick, since the screen beneath it can change,
    // unless a move has just been read: the monitor has shown nothing newer since.
    if (now - refreshedAt_ >= frame) Refresh(*pointer, true);
    return;
  }
  if (*pointer == refreshedPointer_) {
    // Caught up with the pointer. Pointer moves reach the window while a button holds
    // it, so only sampling begun from the keyboard keeps looking.
    if (!byKeyboard_) view_.SetFollowTimerEnabled(false);
    return;
  }
  // At most one refresh for a move per picture the monitor shows: a move that comes
  // sooner is taken up by the follow timer once the frame is over.
  if (now - followedAt_ < frame) {
    view_.SetFollowTimerEnabled(true);
    return;
  }
  followedAt_ = now;
  Refresh(*pointer, true);
}

void Form1::Refresh(ScreenPoint pointer, bool read) {
  const std::int64_t now = view_.Microseconds();
  const Reading reading = sampler_.Refresh(pointer);
  if (reading.unchanged) return;
  refreshedAt_ = now;
  refreshedPointer_ = pointer;
  const std::optional<Sample>& sample = reading.sample;
  if (!read || !sample) return;
  sampled_ = true;
  view_.SetSwatchColour(sample->colour);
  view_.SetText(0, PositionText(sample->point));
  fnAnalyseCouleurs();
}

void Form1::Text1_GotFocus(int index) {
  view_.FocusSwatch();
  CopyText(view_.Text(index));
}

void Form1::CopyText(const std::string& text) {
  // Minimising tells the user the copy worked, so a failed copy keeps the window up.
  if (view_.CopyToClipboard(text)) {
    Take(view_.SwatchColour());
    view_.Minimise();
  } else {
    view_.Beep();
  }
}

void Form1::Take(ColourValue colour) {
  recent_.Take(colour);
  RefreshContrast();
}

void Form1::CssCopy_Click(CssNotation notation) {
  EndingSamplingOnError([&] {
    // One key picks and copies.
    if (sampler_.Sampling()) KeepSample();
    CopyText(CssText(view_.SwatchColour(), notation));
  });
}

void Form1::Contrast_Click() {
  contrastShown_ = !contrastShown_;
  // Filled before the window grows, so the lines never show stale.
  RefreshContrast();
  view_.ShowContrast(contrastShown_);
}

void Form1::Reference_Click() {
  if (pinned_) {
    pinned_.reset();
    RefreshContrast();
    return;
  }
  pinned_ = view_.SwatchColour();
  if (contrastShown_) {
    RefreshContrast();
  } else {
    Contrast_Click();
  }
}

void Form1::RefreshContrast() {
  if (!contrastShown_) return;
  const ColourValue current = view_.SwatchColour();
  const ColourValue reference = ContrastReference(pinned_, recent_.Newest(), current);
  view_.SetContrast(reference, ContrastLines(current, reference));
}

void Form1::Image1_Click() {
  view_.SetPanelVisible(1, false);
  ColourDialog& dialogue = view_.Dialogue();
  dialogue.SetFlags(ColourDialog::kFullOpen);
  // A dialog that never showed has nothing to report: the beep is the only news, and the
  // colour stays as it is.
  const ColourDialog::Outcome outcome = dialogue.ShowColor();
  if (outcome == ColourDialog::Outcome::NotShown) {
    view_.Beep();
    return;
  }
  view_.SetSwatchColour(dialogue.Color());
  fnAnalyseCouleurs();
  if (outcome == ColourDialog::Outcome::Confirmed) Take(view_.SwatchColour());
}

void Form1::Image1_MouseMove(double x, double y) {
  view_.MovePanel(1, x + kPanelOffsetX, y + kPalettePanelOffsetY);
  view_.SetPanelVisible(1, true);
}

}  // namespace tintelo
