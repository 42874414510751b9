// Keeping the window above the others.
#pragma once

#include <windows.h>

namespace tintelo::win {

// Keeps the window above every window that is not topmost, without moving, resizing or
// activating it.
void fnSetTopmost(HWND form);

}  // namespace tintelo::win
