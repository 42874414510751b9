// The loupe's display affinity: whether copies of the screen, this program's own
// included, show a window, and what this system does with the value that asks them not to.
#pragma once

#include <windows.h>

namespace tintelo::win {

// Whether this system keeps a window with WDA_EXCLUDEFROMCAPTURE out of every copy of the
// screen, as ExcludeFromCapture below asks it to: Windows 10 2004 (build 19041) on, outside
// Remote Desktop.
[[nodiscard]] bool SystemExcludesFromCapture() noexcept;

// Keeps a window out of every copy of the screen, this program's own included, where the
// system does that: WDA_EXCLUDEFROMCAPTURE from Windows 10 2004 (build 19041) on, outside
// Remote Desktop. Earlier versions do not refuse that value but take it for WDA_MONITOR,
// which shows the window black in every copy, and a Remote Desktop session shows a
// window with any display affinity blank ("SetWindowDisplayAffinity"): there, and
// wherever the system does not keep the value, the window has no display affinity. True
// when the window is left out of copies.
bool ExcludeFromCapture(HWND window) noexcept;

}  // namespace tintelo::win
