// Keeping the window above the others.
#include "window/win32/form/Topmost.h"

namespace tintelo::win {

void fnSetTopmost(HWND form) {
  SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace tintelo::win
