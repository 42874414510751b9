// The window's event logic, platform-free: what each event does to the view.
#include "window/Form1.h"

namespace tintelo {

Form1::Form1(FormView& view, ScreenApi& screen, LoupeScreen& loupe) noexcept
    : view_(view),
      sampler_(screen),
      loupeScreen_(loupe),
      hScroll1_{Slider(0, *this), Slider(1, *this), Slider(2, *this)} {}

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

void Form1::StartSampling() {
  if (!sampling_) {
    before_.swatch = view_.SwatchColour();
    before_.position = view_.Text(0);
    for (int i = 0; i < kSliders; ++i)
      before_.values.at(static_cast<std::size_t>(i)) = view_.Label2Caption(kSliders + i);
    sampling_ = true;
    if (!loupe_) loupe_ = std::make_unique<Loupe>(loupeScreen_);
    loupe_->Begin();
    if (const auto pointer = sampler_.Pointer()) loupe_->Refresh(*pointer);
  }
  slidersLive = false;
  view_.SetTimerEnabled(true);
}

void Form1::Picture1_MouseDown() {
  // Disarm the sliders before yielding, so neither a tick nor a release that runs during
  // the yields sees a half-started state. A release handled there ends sampling, and
  // the sliders are then armed again: they are armed whenever no button is held.
  StartSampling();
  view_.DoEvents();
  view_.DoEvents();
}

void Form1::StopSampling() {
  view_.SetPanelVisible(0, false);
  view_.SetTimerEnabled(false);
  if (loupe_) loupe_->End();
  slidersLive = true;
  sampling_ = false;
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

void Form1::Picture1_MouseUp() { StopSampling(); }

void Form1::Picture1_CaptureLost() {
  // Another window took the pointer; the release will never reach the swatch.
  if (sampling_) StopSampling();
}

void Form1::Picture1_LostFocus() {
  // The keys that end sampling cannot reach the swatch any more.
  if (sampling_) StopSampling();
}

void Form1::Picture1_MouseMove(double x, double y) {
  view_.MovePanel(0, x + kPanelOffsetX, y + kSwatchPanelOffsetY);
  view_.SetPanelVisible(0, true);
  if (sampling_) {
    if (const auto pointer = sampler_.Pointer()) loupe_->Refresh(*pointer);
  }
}

bool Form1::Picture1_KeyDown(SwatchKey key, bool shift, bool repeat) {
  const int step = shift ? kLongStep : 1;
  switch (key) {
    case SwatchKey::Space:
    case SwatchKey::Enter:
      // A key held down starts or ends once, not on and off with each repeat.
      if (repeat) return true;
      if (sampling_) {
        StopSampling();
      } else {
        StartSampling();
      }
      return true;
    case SwatchKey::Escape:
      if (!sampling_) return false;
      CancelSampling();
      return true;
    case SwatchKey::Left: return StepPointer(-step, 0);
    case SwatchKey::Right: return StepPointer(step, 0);
    case SwatchKey::Up: return StepPointer(0, -step);
    case SwatchKey::Down: return StepPointer(0, step);
    // Tab would give a field the focus, which copies it.
    case SwatchKey::Tab: return sampling_;
    case SwatchKey::Other: return false;
  }
  return false;
}

bool Form1::StepPointer(int dx, int dy) {
  // Only sampling moves the pointer; otherwise the arrows are not the swatch's.
  if (!sampling_) return false;
  if (const auto from = sampler_.Pointer()) {
    sampler_.MovePointer(StepOnMonitors(loupe_->Monitors(), *from, dx, dy));
    // The readouts and the loupe follow at once, not at the next tick.
    TakeSample();
  }
  return true;
}

void Form1::Timer1_Timer() {
  // A tick can still be queued after the release; it must not sample then.
  if (sampling_) TakeSample();
}

void Form1::TakeSample() {
  const auto pointer = sampler_.Pointer();
  if (!pointer) return;
  // The loupe moves out of the way before the pixel is read.
  loupe_->Refresh(*pointer);
  const auto sample = sampler_.ReadAt(*pointer);
  if (!sample || !loupe_->Trusts(sample->point)) return;
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
  // A dialog that never showed has nothing to report: the beep is the only news, and the
  // colour stays as it is.
  if (!dialogue.ShowColor()) {
    view_.Beep();
    return;
  }
  view_.SetSwatchColour(dialogue.Color());
  fnAnalyseCouleurs();
}

void Form1::Image1_MouseMove(double x, double y) {
  view_.MovePanel(1, x + kPanelOffsetX, y + kPalettePanelOffsetY);
  view_.SetPanelVisible(1, true);
}

}  // namespace tintelo
