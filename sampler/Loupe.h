// The loupe: while sampling, a small window beside the pointer shows the capture the
// readouts come from, magnified pixel for pixel, with the pixels they average outlined.
//
// Its hard part is that no read may ever take a pixel of the loupe itself. What a copy of
// the screen finds where the loupe stands, or stood a moment ago, depends on the system:
// - its picture, where it stands whenever screen copies include it (Windows 8 and later
//   copy layered windows with a plain SRCCOPY; Wine), and where it stood until the window
//   beneath repaints, wherever nothing composes the desktop (Wine on X without a
//   compositor, Windows 7 without Aero);
// - black, where a system shows a window with display affinity black in every copy
//   (Windows 8.1 and Windows 10 before 2004 take WDA_EXCLUDEFROMCAPTURE for WDA_MONITOR,
//   "SetWindowDisplayAffinity"). The shell asks for it only from Windows 10 2004 on, but a
//   black frame where the loupe stands or has just stood is refused all the same;
// - the true screen, from Windows 10 2004 on, where WDA_EXCLUDEFROMCAPTURE leaves the
//   loupe out of every copy.
// So the loupe remembers the pictures it showed and where. Where a capture still finds
// one of them, or black where the window's display affinity, read back from the system,
// may blacken it, over the whole of such a place that it covers, those pixels are the
// loupe's. The pictures have a two-colour border and a grid shaded against every
// cell, so the true screen, once repainted, never matches one by chance.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sampler/Capture.h"
#include "sampler/LoupeGeometry.h"
#include "sampler/LoupePicture.h"
#include "sampler/Monitors.h"
#include "sampler/Still.h"

namespace tintelo {

// What copies of the screen find where the loupe's window stands, as its display
// affinity, read back from the system, says.
enum class LoupeInCopies : std::uint8_t {
  kUnsure,   // the affinity could not be read: its picture, or black
  kPicture,  // none (WDA_NONE): its picture, and where nothing composes the desktop, its old ones
  kBlack,    // WDA_MONITOR: black
  kLeftOut,  // WDA_EXCLUDEFROMCAPTURE kept: the windows beneath it
};

// The meaning of the affinity GetWindowDisplayAffinity read, or of none read. The
// program asks for WDA_EXCLUDEFROMCAPTURE only where the system keeps the window out of
// copies with it (Windows 10 2004 on); earlier ones would take it for WDA_MONITOR.
[[nodiscard]] LoupeInCopies InCopiesOfAffinity(std::optional<std::uint32_t> affinity) noexcept;

// The loupe's window, as the loupe sees it: it places, paints and hides, nothing else.
class LoupeView {
 public:
  // Shows `picture`, as many pixels square as `place` is wide, at `place`, above every
  // other window and without taking the focus. Place and picture change together, so the
  // old picture is never seen at the new place.
  virtual void Show(const ScreenRect& place, std::span<const Pixel> picture) = 0;
  virtual void Hide() = 0;
  // Hides the window so that the next copy of the screen does not show it, where the
  // system can promise that (a composed desktop: hidden, then the next composition waited
  // for); false where it cannot, and the window stays as it is.
  [[nodiscard]] virtual bool HideForCopy() = 0;
  // What copies of the screen find where it stands, as it learnt when it last appeared.
  [[nodiscard]] virtual LoupeInCopies InCopies() const = 0;

 protected:
  ~LoupeView() = default;
};

class Loupe {
 public:
  // The pictures remembered after the loupe has left their place, and for how many
  // refreshes at most: about a second while the pointer moves (60 a second), three while
  // it rests (20 a second). A black copy is the loupe's only for the refreshes just after
  // it has left: a frame is all a compositor takes.
  static constexpr std::size_t kRememberedPictures = 8;
  static constexpr int kRememberedRefreshes = 60;
  static constexpr int kBlackRefreshes = 2;

  explicit Loupe(LoupeView& view) noexcept : view_(&view) {}
  Loupe(const Loupe&) = delete;
  Loupe& operator=(const Loupe&) = delete;

  // Marks the capture's pixels that are the loupe's, then shows the middle `cells` of the
  // capture beside the pointer, sized for `monitor` (null when there is none), with the
  // averaged area, `reach` pixels each side of the pointer, outlined. A capture `frozen`
  // comes from a still of the screen, which holds none of the loupe: it is shown as such
  // and not looked at for the loupe's pictures.
  void Refresh(Capture& capture, ScreenPoint pointer, const Monitor* monitor, int reach, int cells, bool frozen);
  // Sampling ends: the loupe goes.
  void End();
  // A still is to be taken: where copies would show the loupe and its window can leave
  // them, it goes until the next refresh.
  void StepAsideForCopy();
  // Marks unavailable each place of `still` where it finds one of the loupe's pictures,
  // as a refresh marks a capture's.
  void MarkShownIn(Still& still) const;

 private:
  // Everything a picture is made from: its pixels can be worked out again from it.
  struct Shot {
    ScreenRect place;
    Capture capture;  // what it magnified; cells not marked kScreen are hatched
    LoupeLook look;
    int age = 0;  // refreshes since the loupe left its place
  };

  [[nodiscard]] static Pixel PictureAt(const Shot& shot, int x, int y);
  // Marks what `shot` still covers of the capture as the loupe's, where the capture
  // finds its picture or (`blackToo`) black there; false when the capture shows that its
  // place has repainted.
  bool Judge(const Shot& shot, bool blackToo, Capture& capture, std::array<bool, Capture::kPixels>& decided) const;
  // Whether black is the loupe's where `shot` stands, for the window's affinity.
  [[nodiscard]] bool BlackIsItsOwn(const Shot& shot) const;
  void Guard(Capture& capture);
  void Leave();

  LoupeView* view_;
  bool shown_ = false;
  Shot current_;
  // Pictures the loupe has left, the newest first.
  std::array<Shot, kRememberedPictures> left_{};
  std::size_t leftCount_ = 0;
  LoupePicture picture_;
};

}  // namespace tintelo
