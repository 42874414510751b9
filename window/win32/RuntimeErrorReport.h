// The standard report of a run-time error that escaped an event handler.
#pragma once

#include <windows.h>

#include <exception>

#include "colour/Colour.h"

namespace tintelo::win {

// Shows the error number and text, then ends the program: its state can no longer be
// trusted, and there is nothing to save.
[[noreturn]] void ReportRuntimeErrorAndExit(HWND owner, int number, const char* text) noexcept;

// Runs a message handler; a run-time error that leaves it ends the program with the
// standard report, owned by `owner`.
template <typename Handler>
LRESULT Guarded(HWND owner, Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const RuntimeError& error) {
    ReportRuntimeErrorAndExit(owner, error.Number(), error.what());
  } catch (const std::exception& error) {
    ReportRuntimeErrorAndExit(owner, 0, error.what());
  } catch (...) {
    ReportRuntimeErrorAndExit(owner, 0, "");
  }
}

}  // namespace tintelo::win
