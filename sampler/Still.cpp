// The still: its copy, and what it gives for each point.
#include "sampler/Still.h"

#include <algorithm>
#include <new>

namespace tintelo {

void Still::Take(Screen& screen, std::span<const Monitor> monitors, std::span<const ScreenRect> ours) {
  Free();
  held_ = true;
  unavailable_.assign(ours.begin(), ours.end());
  parts_.reserve(monitors.size());
  for (const Monitor& monitor : monitors) {
    Part& part = parts_.emplace_back();
    part.area = monitor.area;
    const auto count = static_cast<std::size_t>(std::max(0, monitor.area.Width())) *
                       static_cast<std::size_t>(std::max(0, monitor.area.Height()));
    try {
      part.pixels.resize(count);
    } catch (const std::bad_alloc&) {
      continue;  // no room for this monitor: unavailable, as one that cannot be copied
    }
    Captured captured = Captured::kUnchanged;
    for (int attempt = 0; attempt < kTries && captured == Captured::kUnchanged; ++attempt) {
      captured = screen.Capture(monitor.area, part.pixels);
    }
    if (captured != Captured::kRead) {
      part.pixels.clear();
      part.pixels.shrink_to_fit();
    }
  }
}

void Still::Free() noexcept {
  // Swapped out, so that the memory goes back now, not when the vectors are next resized.
  std::vector<Part>().swap(parts_);
  std::vector<ScreenRect>().swap(unavailable_);
  held_ = false;
}

void Still::MarkUnavailable(const ScreenRect& place) { unavailable_.push_back(place); }

const Still::Part* Still::PartAt(ScreenPoint point) const noexcept {
  const auto part = std::find_if(parts_.begin(), parts_.end(), [point](const Part& p) { return p.area.Contains(point); });
  return part != parts_.end() ? &*part : nullptr;
}

std::optional<Pixel> Still::At(ScreenPoint point) const noexcept {
  Capture::Mark mark = Capture::Mark::kNoMonitor;
  return At(point, mark);
}

std::optional<Pixel> Still::At(ScreenPoint point, Capture::Mark& mark) const noexcept {
  const Part* part = PartAt(point);
  mark = part == nullptr ? Capture::Mark::kNoMonitor : Capture::Mark::kUnavailable;
  if (part == nullptr || part->pixels.empty()) return std::nullopt;
  if (std::any_of(unavailable_.begin(), unavailable_.end(), [point](const ScreenRect& r) { return r.Contains(point); }))
    return std::nullopt;
  mark = Capture::Mark::kScreen;
  const auto column = static_cast<std::size_t>(point.x - part->area.left);
  const auto row = static_cast<std::size_t>(point.y - part->area.top);
  return part->pixels[row * static_cast<std::size_t>(part->area.Width()) + column];
}

void Still::Fill(Capture& capture) const noexcept {
  for (int row = 0; row < Capture::kSide; ++row) {
    for (int column = 0; column < Capture::kSide; ++column) {
      const std::size_t i = Capture::Index(column, row);
      const ScreenPoint at{capture.area.left + column, capture.area.top + row};
      capture.pixels[i] = At(at, capture.marks[i]).value_or(0);
    }
  }
}

std::size_t Still::Bytes() const noexcept {
  std::size_t bytes = 0;
  for (const Part& part : parts_) bytes += part.pixels.capacity() * sizeof(Pixel);
  return bytes;
}

}  // namespace tintelo
