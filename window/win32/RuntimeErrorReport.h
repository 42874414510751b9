// The standard report of a run-time error that escaped an event handler.
#pragma once

#include <windows.h>

namespace tintelo::win {

// Shows the error number and text, then ends the program: its state can no longer be
// trusted, and there is nothing to save.
[[noreturn]] void ReportRuntimeErrorAndExit(HWND owner, int number, const char* text) noexcept;

}  // namespace tintelo::win
