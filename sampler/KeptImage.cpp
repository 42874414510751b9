// The choices of a monitor read through Desktop Duplication, from its kept image.
#include "sampler/KeptImage.h"

namespace tintelo {

AreaRead KeptImageReads::Read(MonitorDuplication& duplication, const ScreenRect& part, unsigned sdrWhiteLevel,
                              std::span<Pixel> pixels, std::size_t stride) {
  if (!tries_.Working()) {
    if (tries_.ShouldTry([&duplication] { return duplication.OnOwnDesktop(); })) {
      const std::optional<FrameMode> made = duplication.Make();
      const bool onOwnDesktop = made.has_value() || duplication.OnOwnDesktop();
      tries_.Tried(made.has_value(), onOwnDesktop);
      if (made) {
        made_ = *made;
        lost_ = false;
        // Frames of another size, place or rotation: the kept image shows a desktop that is
        // no more.
        if (kept_ && *kept_ != made_) Forget(duplication);
      } else {
        duplication.LetGo();
        // Refused on the program's own desktop, the road will not serve the monitor before
        // the displays change. Away from it (a lock, a UAC prompt), it is tried again once
        // the desktop is back, and the kept image serves until then.
        if (onOwnDesktop) Forget(duplication);
      }
    }
    if (!tries_.Working())
      return lost_ ? FromKept(duplication, part, sdrWhiteLevel, pixels, stride) : AreaRead::kFallBack;
  }

  switch (duplication.Next()) {
    case MonitorDuplication::Frame::kNewImage: kept_ = made_; break;
    case MonitorDuplication::Frame::kSameImage: break;
    case MonitorDuplication::Frame::kLost:
      // A new duplication is made at the next read.
      duplication.LetGo();
      tries_.Lost();
      lost_ = true;
      break;
    case MonitorDuplication::Frame::kFailed:
      duplication.LetGo();
      Forget(duplication);
      tries_.Failed();
      return AreaRead::kFallBack;
  }
  return FromKept(duplication, part, sdrWhiteLevel, pixels, stride);
}

AreaRead KeptImageReads::FromKept(MonitorDuplication& duplication, const ScreenRect& part, unsigned sdrWhiteLevel,
                                  std::span<Pixel> pixels, std::size_t stride) {
  if (!kept_) return tries_.Working() ? AreaRead::kNotYet : AreaRead::kFallBack;
  // Lost with no duplication since, nothing says the monitor still shows the kept image's
  // mode but the system's answer now.
  if (lost_ && duplication.ShownMode() != *kept_) {
    Forget(duplication);
    return AreaRead::kFallBack;
  }
  const ScreenRect& desktop = kept_->desktop;
  // Monitors read before a change the kept image has not seen yet.
  if (part.left < desktop.left || part.top < desktop.top || part.right > desktop.right ||
      part.bottom > desktop.bottom || part.right <= part.left || part.bottom <= part.top) {
    return AreaRead::kFallBack;
  }
  const ScreenRect inFrame{part.left - desktop.left, part.top - desktop.top, part.right - desktop.left,
                           part.bottom - desktop.top};
  switch (duplication.CopyKept(inFrame, sdrWhiteLevel, pixels, stride)) {
    case MonitorDuplication::Copy::kDone: return AreaRead::kRead;
    case MonitorDuplication::Copy::kBusy: return AreaRead::kUnchanged;
    case MonitorDuplication::Copy::kRefused: tries_.Failed(); break;
    // A new device and duplication at the next read.
    case MonitorDuplication::Copy::kLost: tries_.Lost(); break;
  }
  duplication.LetGo();
  Forget(duplication);
  return AreaRead::kFallBack;
}

void KeptImageReads::Forget(MonitorDuplication& duplication) noexcept {
  duplication.ForgetImage();
  kept_.reset();
  lost_ = false;
}

}  // namespace tintelo
