// The window's event logic, platform-free: what each event does to the view.
#include "window/Form1.h"

namespace tintelo {

Form1::Form1(FormView& view, ScreenApi& screen) noexcept
    : view_(view), sampler_(screen), hScroll1_{Slider(0, *this), Slider(1, *this), Slider(2, *this)} {}

void Form1::fnAnalyseCouleurs() { tintelo::fnAnalyseCouleurs(static_cast<ColourView&>(*this)); }

void Form1::SetSliderPosition(int index, std::int16_t position) {
  hScroll1_.at(static_cast<std::size_t>(index)).SetValue(position);
}

void Form1::SliderChanged(int) { fnSliderUpdate(*this, slidersLive); }

// Dragging the thumb runs the same update, so the colour follows the thumb.
void Form1::SliderScrolled(int index) { SliderChanged(index); }

void Form1::hScroll1_Action(int index, SliderAction action, int thumb) {
  hScroll1_.at(static_cast<std::size_t>(index)).Apply(action, thumb);
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

void Form1::Picture1_MouseDown() {
  // Disarm the sliders before yielding, so neither a tick nor a release that runs during
  // the yields sees a half-started state. A release handled there ends sampling, and
  // the sliders are then armed again: they are armed whenever no button is held.
  buttonHeld_ = true;
  slidersLive = false;
  view_.SetTimerEnabled(true);
  view_.DoEvents();
  view_.DoEvents();
}

void Form1::StopSampling() {
  view_.SetPanelVisible(0, false);
  view_.SetTimerEnabled(false);
  slidersLive = true;
  buttonHeld_ = false;
}

void Form1::Picture1_MouseUp() { StopSampling(); }

void Form1::Picture1_CaptureLost() {
  // Another window took the pointer; the release will never reach the swatch.
  if (buttonHeld_) StopSampling();
}

void Form1::Picture1_MouseMove(double x, double y) {
  view_.MovePanel(0, x + kPanelOffsetX, y + kSwatchPanelOffsetY);
  view_.SetPanelVisible(0, true);
}

void Form1::Timer1_Timer() {
  // A tick can still be queued after the release; it must not sample then.
  if (!buttonHeld_) return;
  const auto sample = sampler_.Take();
  if (!sample) return;
  view_.SetSwatchColour(sample->colour);
  view_.SetText(0, PositionText(sample->point));
  fnAnalyseCouleurs();
}

void Form1::Text1_GotFocus(int index) {
  view_.FocusSwatch();
  const std::string text = view_.Text(index);
  // Minimising tells the user the copy worked, so a failed copy keeps the window up.
  if (view_.CopyToClipboard(text)) {
    view_.Minimise();
  } else {
    view_.Beep();
  }
}

void Form1::Image1_Click() {
  view_.SetPanelVisible(1, false);
  ColourDialog& dialogue = view_.Dialogue();
  dialogue.SetFlags(ColourDialog::kFullOpen);
  dialogue.ShowColor();
  view_.SetSwatchColour(dialogue.Color());
  fnAnalyseCouleurs();
}

void Form1::Image1_MouseMove(double x, double y) {
  view_.MovePanel(1, x + kPanelOffsetX, y + kPalettePanelOffsetY);
  view_.SetPanelVisible(1, true);
}

}  // namespace tintelo
