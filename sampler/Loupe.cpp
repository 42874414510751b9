// The loupe: what it shows at each refresh, and what it remembers of the pictures it left.
#include "sampler/Loupe.h"

#include <algorithm>
#include <span>

namespace tintelo {

LoupeInCopies InCopiesOfAffinity(std::optional<std::uint32_t> affinity) noexcept {
  if (!affinity) return LoupeInCopies::kUnsure;
  switch (*affinity) {
    case 0x00: return LoupeInCopies::kPicture;  // WDA_NONE
    case 0x01: return LoupeInCopies::kBlack;    // WDA_MONITOR
    case 0x11: return LoupeInCopies::kLeftOut;  // WDA_EXCLUDEFROMCAPTURE
    default: return LoupeInCopies::kUnsure;
  }
}

Pixel Loupe::PictureAt(const Shot& shot, int x, int y) {
  const LoupeLook& look = shot.look;
  return LoupePixel(look, LoupeAxis::At(look.geometry, look.reach, x), LoupeAxis::At(look.geometry, look.reach, y), x,
                    y, shot.capture);
}

bool Loupe::BlackIsItsOwn(const Shot& shot) const {
  // A black copy is the loupe's only where its window's affinity may blacken it, and for
  // a picture it has left, only just after.
  const LoupeInCopies inCopies = view_->InCopies();
  return (inCopies == LoupeInCopies::kBlack || inCopies == LoupeInCopies::kUnsure) && shot.age < kBlackRefreshes;
}

void Loupe::MarkShownIn(Still& still) const {
  // As Guard does for a capture: each place shows at most the newest picture that
  // covered it, and an older one only where no newer one stood.
  std::array<const Shot*, kRememberedPictures + 1> shots{};
  std::size_t count = 0;
  if (shown_) shots[count++] = &current_;
  for (std::size_t k = 0; k < leftCount_; ++k) shots[count++] = &left_[k];
  for (std::size_t k = 0; k < count; ++k) {
    const Shot& shot = *shots[k];
    const auto newer = std::span(shots).first(k);
    const bool blackToo = BlackIsItsOwn(shot);
    bool covers = false;
    bool picture = true;
    bool black = blackToo;
    for (std::int32_t y = shot.place.top; y < shot.place.bottom && (picture || black); ++y) {
      for (std::int32_t x = shot.place.left; x < shot.place.right && (picture || black); ++x) {
        const ScreenPoint at{x, y};
        if (std::any_of(newer.begin(), newer.end(), [at](const Shot* n) { return n->place.Contains(at); })) continue;
        const std::optional<Pixel> p = still.At(at);
        if (!p) continue;
        covers = true;
        if (*p != PictureAt(shot, x - shot.place.left, y - shot.place.top)) picture = false;
        if (*p != 0) black = false;
      }
    }
    if (covers && (picture || black)) still.MarkUnavailable(shot.place);
  }
}

void Loupe::End() {
  if (!shown_) return;
  view_->Hide();
  // What it showed last may stay on the screen for a while after it has gone.
  Leave();
  shown_ = false;
}

void Loupe::StepAsideForCopy() {
  if (!shown_ || view_->InCopies() == LoupeInCopies::kLeftOut || !view_->HideForCopy()) return;
  Leave();
  shown_ = false;
}

void Loupe::Leave() {
  std::move_backward(left_.begin(), left_.end() - 1, left_.end());
  left_[0] = current_;
  left_[0].age = 0;
  leftCount_ = std::min(leftCount_ + 1, left_.size());
}

bool Loupe::Judge(const Shot& shot, bool blackToo, Capture& capture,
                  std::array<bool, Capture::kPixels>& decided) const {
  std::array<bool, Capture::kPixels> visible{};  // its pixels here that no newer picture took
  bool covers = false;
  bool picture = true;
  bool black = blackToo;
  for (int row = 0; row < Capture::kSide; ++row) {
    for (int column = 0; column < Capture::kSide; ++column) {
      const std::size_t i = Capture::Index(column, row);
      const ScreenPoint at{capture.area.left + column, capture.area.top + row};
      if (decided[i] || capture.marks[i] != Capture::Mark::kScreen || !shot.place.Contains(at)) continue;
      visible[i] = true;
      covers = true;
      const Pixel p = capture.pixels[i];
      if (p != PictureAt(shot, at.x - shot.place.left, at.y - shot.place.top)) picture = false;
      if (p != 0) black = false;
    }
  }
  const bool loupe = covers && (picture || black);
  for (std::size_t i = 0; i < Capture::kPixels; ++i) {
    if (!visible[i]) continue;
    decided[i] = true;
    if (loupe) capture.marks[i] = Capture::Mark::kLoupe;
  }
  return !covers || loupe;
}

void Loupe::Guard(Capture& capture) {
  // Each screen pixel around the pointer shows at most one of the loupe's pictures: the
  // newest that covered it, the one where it stands now first, unless its window has
  // repainted since. A picture whose part here differs anywhere from the capture has
  // been repainted away and is forgotten. Black is the loupe's only where its window's
  // affinity may blacken it: a black screen is read at once wherever it cannot.
  std::array<bool, Capture::kPixels> decided{};
  if (shown_) Judge(current_, BlackIsItsOwn(current_), capture, decided);
  std::size_t kept = 0;
  for (std::size_t k = 0; k < leftCount_; ++k) {
    Shot& shot = left_[k];
    if (!Judge(shot, BlackIsItsOwn(shot), capture, decided) || ++shot.age > kRememberedRefreshes)
      continue;
    if (kept != k) left_[kept] = shot;
    ++kept;
  }
  leftCount_ = kept;
}

void Loupe::Refresh(Capture& capture, ScreenPoint pointer, const Monitor* monitor, int reach, int cells,
                    bool frozen) {
  if (!frozen) Guard(capture);

  const LoupeLook look{LoupeGeometry::ForDpi(monitor != nullptr ? monitor->dpi : 96, cells), reach, frozen};
  const LoupeGeometry& geometry = look.geometry;
  const ScreenRect unbounded{pointer.x - 0x10000, pointer.y - 0x10000, pointer.x + 0x10000, pointer.y + 0x10000};
  const ScreenRect place =
      PlaceLoupe(pointer, geometry.Size(), geometry.gap, monitor != nullptr ? monitor->area : unbounded);
  const bool moved = !shown_ || place != current_.place || geometry != current_.look.geometry;
  // While the pointer rests over a still screen, the picture shown is already right.
  const bool same = !moved && look == current_.look && capture.pixels == current_.capture.pixels &&
                    capture.marks == current_.capture.marks;
  if (shown_ && moved) Leave();
  current_.place = place;
  current_.capture = capture;
  current_.look = look;
  current_.age = 0;
  shown_ = true;
  if (!same) view_->Show(place, picture_.Draw(current_.capture, look));
}

}  // namespace tintelo
