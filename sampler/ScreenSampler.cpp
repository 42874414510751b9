// One refresh of the sampler: pointer, capture, loupe, reading.
#include "sampler/ScreenSampler.h"

namespace tintelo {

void ScreenSampler::Begin() {
  if (!loupe_) loupe_ = std::make_unique<Loupe>(*loupeView_);
  monitors_.clear();
  screen_->Monitors(monitors_);
  sampling_ = true;
}

void ScreenSampler::End() {
  if (loupe_) loupe_->End();
  still_.Free();
  screen_->EndCaptures();
  sampling_ = false;
}

void ScreenSampler::DisplaysChanged() {
  // The still shows monitors that may be gone or elsewhere.
  still_.Free();
  screen_->DisplaysChanged();
  if (!sampling_) return;
  monitors_.clear();
  screen_->Monitors(monitors_);
}

void ScreenSampler::DisplaySettingsChanged() {
  if (sampling_) screen_->DisplaySettingsChanged();
}

std::optional<ScreenPoint> ScreenSampler::Pointer() {
  ScreenPoint point;
  if (!screen_->CursorPos(point)) return std::nullopt;
  return point;
}

bool ScreenSampler::StepArea(int steps) noexcept {
  if (!area_.Step(steps)) return false;
  zoom_.Fit(area_.Side());
  return true;
}

void ScreenSampler::Freeze(std::span<const ScreenRect> ours) {
  // Where copies show the loupe and a composed desktop can leave it out of the next one,
  // it goes first: the still then holds the screen beneath. Where nothing composes the
  // desktop, its picture would stay until the windows beneath repaint: it stays, and the
  // still leaves its place unread.
  if (loupe_) loupe_->StepAsideForCopy();
  if (!sampling_) {
    monitors_.clear();
    screen_->Monitors(monitors_);
  }
  still_.Take(*screen_, monitors_, ours);
  if (loupe_) loupe_->MarkShownIn(still_);
}

void ScreenSampler::Thaw() {
  if (!still_.Held()) return;
  still_.Free();
  if (!sampling_) screen_->EndCaptures();
}

Reading ScreenSampler::Refresh(ScreenPoint pointer) {
  const ScreenRect area = CaptureArea(pointer);
  const bool frozen = still_.Held();
  bool read = true;
  if (frozen) {
    capture_.area = area;
    still_.Fill(capture_);
  } else {
    const Captured captured = screen_->Capture(area, capture_.pixels);
    // The pixels the loupe shows are those of the last copy read, untouched.
    if (captured == Captured::kUnchanged) return Reading{std::nullopt, true};
    read = captured == Captured::kRead;
    capture_.area = area;
    for (int row = 0; row < Capture::kSide; ++row) {
      for (int column = 0; column < Capture::kSide; ++column) {
        const ScreenPoint at{capture_.area.left + column, capture_.area.top + row};
        capture_.marks[Capture::Index(column, row)] =
            read && OnAMonitor(monitors_, at) ? Capture::Mark::kScreen : Capture::Mark::kNoMonitor;
      }
    }
  }
  loupe_->Refresh(capture_, pointer, MonitorAt(monitors_, pointer), area_.Reach(), zoom_.Cells(), frozen);

  if (!read || !OnAMonitor(monitors_, pointer)) return {};
  const auto colour = MeanOf(capture_, area_.Reach());
  if (!colour) return {};
  return Reading{Sample{pointer, *colour}};
}

bool ScreenSampler::Step(int dx, int dy) {
  const auto from = Pointer();
  if (!from) return false;
  screen_->MoveCursor(StepOnMonitors(monitors_, *from, dx, dy));
  return true;
}

std::int64_t ScreenSampler::FrameMicroseconds(ScreenPoint pointer) const noexcept {
  const Monitor* monitor = MonitorAt(monitors_, pointer);
  const unsigned hz = monitor != nullptr && monitor->hz != 0 ? monitor->hz : kDefaultHz;
  return (1'000'000 + hz / 2) / hz;
}

std::string PositionText(ScreenPoint point) { return std::to_string(point.x) + '.' + std::to_string(point.y); }

}  // namespace tintelo
