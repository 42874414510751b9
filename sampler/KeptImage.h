// What a monitor read through Desktop Duplication serves for each refresh's area. The
// duplication hands out a frame only when the desktop has changed, and the area follows
// the pointer: so the latest desktop image is kept whole on the GPU, refreshed when a
// frame brings a new one, and every area, wherever the pointer has gone, is copied from
// it. A GPU too busy to copy the area in time leaves that refresh unchanged rather than
// showing GDI's too-bright colours; GDI reads only monitors the road cannot serve at all.
// The duplication itself is the shell's (window/win32/screen/Duplication.cpp), behind
// MonitorDuplication; the tests drive the same choices with a fake one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sampler/RoadTries.h"
#include "sampler/Screen.h"

namespace tintelo {

// What a monitor shows: its rectangle on the virtual screen, which the frame's pixel (0, 0)
// is the top left of, and its rotation in quarter turns.
struct FrameMode {
  ScreenRect desktop;
  int quarterTurns = 0;
  friend constexpr bool operator==(const FrameMode&, const FrameMode&) = default;
};

// One monitor's duplication and the desktop image kept from its frames.
class MonitorDuplication {
 public:
  // Makes the duplication anew; the image kept from an earlier one stays. The mode of its
  // frames, or nothing when the system refuses it or the road cannot read its frames.
  [[nodiscard]] virtual std::optional<FrameMode> Make() = 0;
  // Whether the session's input desktop is the program's own (see RoadTries).
  [[nodiscard]] virtual bool OnOwnDesktop() = 0;

  enum class Frame : std::uint8_t {
    kNewImage,   // a new desktop image, now kept in place of the last one
    kSameImage,  // no frame, or one that moved only the pointer: the kept image is the latest
    kLost,       // the duplication is lost (a mode change, a desktop switch): make another
    kFailed,     // any other failure
  };
  // The next frame, without waiting.
  [[nodiscard]] virtual Frame Next() = 0;
  // The mode the monitor shows now, as the system says it.
  [[nodiscard]] virtual FrameMode ShownMode() = 0;

  enum class Copy : std::uint8_t { kDone, kBusy, kRefused, kLost };
  // `area` of the kept image, in the frame's own coordinates, as pixels for SDR white
  // `sdrWhiteLevel`, row by row, `stride` apart. kBusy when the GPU has not copied it in
  // time, kRefused when the image cannot be read (its format, its encoding), kLost when
  // its device is gone (removed or reset: a driver update, a GPU reset): nothing is
  // written then.
  [[nodiscard]] virtual Copy CopyKept(const ScreenRect& area, unsigned sdrWhiteLevel, std::span<Pixel> pixels,
                                      std::size_t stride) = 0;

  // The duplication goes (its frame back to the system); the kept image stays.
  virtual void LetGo() noexcept = 0;
  // The kept image goes, with the video memory it holds.
  virtual void ForgetImage() noexcept = 0;

 protected:
  ~MonitorDuplication() = default;
};

// What one read of a monitor's part of the capture gave.
enum class AreaRead : std::uint8_t {
  kRead,       // the pixels, from the latest desktop image
  kUnchanged,  // nothing this time (the GPU is busy): what is shown stays, the next refresh tries again
  kFallBack,   // the road cannot serve this monitor now: GDI's pixels stay
  kNotYet,     // the road works but has no desktop image yet (a duplication just made, no
               // frame so far): GDI's pixels stay, and a later read may have one
};

// The choices for one monitor, from one read to the next.
class KeptImageReads {
 public:
  // `part` of the virtual screen, all on the monitor, into `pixels` (row by row, `stride`
  // apart), at SDR white `sdrWhiteLevel`.
  [[nodiscard]] AreaRead Read(MonitorDuplication& duplication, const ScreenRect& part, unsigned sdrWhiteLevel,
                              std::span<Pixel> pixels, std::size_t stride);

 private:
  [[nodiscard]] AreaRead FromKept(MonitorDuplication& duplication, const ScreenRect& part, unsigned sdrWhiteLevel,
                                  std::span<Pixel> pixels, std::size_t stride);
  void Forget(MonitorDuplication& duplication) noexcept;

  RoadTries tries_;
  FrameMode made_;                 // the working duplication's mode
  std::optional<FrameMode> kept_;  // the kept image's mode, while there is one
  // The duplication was lost and none has been made since: the kept image serves only
  // while the monitor still shows its mode.
  bool lost_ = false;
};

}  // namespace tintelo
