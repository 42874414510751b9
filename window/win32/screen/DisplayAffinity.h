// The loupe's display affinity: whether copies of the screen, this program's own
// included, show a window, and what this system does with the value that asks them not
// to; and what the desktop's composition shows of a window (dwmapi, loaded on first use).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace tintelo::win {

// Keeps a window out of every copy of the screen, this program's own included, where the
// system does that: WDA_EXCLUDEFROMCAPTURE from Windows 10 2004 (build 19041) on, outside
// Remote Desktop. Earlier versions do not refuse that value but take it for WDA_MONITOR,
// which shows the window black in every copy, and a Remote Desktop session shows a
// window with any display affinity blank ("SetWindowDisplayAffinity"): there, and
// wherever the system does not keep the value, the window has no display affinity.
// Answers the affinity the window has afterwards, read back (DisplayAffinityOf): layered
// windows have been reported to refuse it on some builds.
std::optional<std::uint32_t> ExcludeFromCapture(HWND window) noexcept;

// The display affinity a window has, this program's or another's, as
// GetWindowDisplayAffinity reads it (Windows 7 on); nothing when it cannot be read.
[[nodiscard]] std::optional<std::uint32_t> DisplayAffinityOf(HWND window) noexcept;

// Whether the desktop is composed (always from Windows 8 on; with Aero on 7; never under
// Wine): a hidden window then leaves copies of the screen at the next composition.
[[nodiscard]] bool DesktopComposed() noexcept;
// Waits for the next composition, after which a window hidden before the call is in no
// copy of the screen ("DwmFlush"); at once where the desktop is not composed.
void WaitForComposition() noexcept;
// Whether the system keeps a visible window from showing (on another virtual desktop,
// for instance: "DWMWA_CLOAKED"); false where it cannot say.
[[nodiscard]] bool Cloaked(HWND window) noexcept;

}  // namespace tintelo::win
