// When the screen's second road (a duplication of one monitor's desktop) is tried, and
// tried again after it failed. A duplication lost (a mode change, a full-screen program,
// a desktop switch) is made again at the next read. One refused is tried again only once
// something has changed: after a display change (which starts every monitor afresh), or,
// when it was refused while the session showed another desktop (a lock, the secure
// desktop of a UAC prompt), once the session's own desktop is back
// ("IDXGIOutput5::DuplicateOutput1", "IDXGIOutputDuplication::AcquireNextFrame").
#pragma once

#include <cstdint>

namespace tintelo {

class RoadTries {
 public:
  // Whether to make the duplication now. `onOwnDesktop` says whether the session's input
  // desktop is the program's own; it is asked only for a duplication refused away from it.
  template <typename OnOwnDesktop>
  [[nodiscard]] bool ShouldTry(OnOwnDesktop&& onOwnDesktop) const {
    switch (state_) {
      case State::kUntried:
      case State::kLost: return true;
      case State::kRefusedAway: return onOwnDesktop();
      case State::kWorking:
      case State::kRefused: return false;
    }
    return false;
  }
  // The outcome of a try, and the input desktop's then.
  void Tried(bool made, bool onOwnDesktop) noexcept {
    state_ = made ? State::kWorking : onOwnDesktop ? State::kRefused : State::kRefusedAway;
  }
  // A working duplication was lost, or handed out a frame the road cannot read.
  void Lost() noexcept { state_ = State::kLost; }
  void Failed() noexcept { state_ = State::kRefused; }
  [[nodiscard]] bool Working() const noexcept { return state_ == State::kWorking; }

 private:
  enum class State : std::uint8_t { kUntried, kWorking, kLost, kRefused, kRefusedAway };
  State state_ = State::kUntried;
};

}  // namespace tintelo
