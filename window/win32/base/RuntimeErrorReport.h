// The standard report of a run-time error that escaped an event handler.
#pragma once

#include <windows.h>

#include <exception>
#include <new>
#include <optional>

#include "colour/Colour.h"

namespace tintelo::win {

// Runs at the start of every report, before its message box shows: what takes the
// screen's input lets go of it there (the click hook stops taking presses), so that the
// click on OK reaches the box. One at a time; null for none. The shell's rooms register
// here, since this base depends on none of them.
using BeforeReport = void (*)() noexcept;
void SetBeforeReport(BeforeReport letGo) noexcept;

// Shows the error number and text, then ends the program: its state can no longer be
// trusted, and there is nothing to save. The exit code is the error's number (6 for
// "Overflow"), or 1 for an error without one: a script learns what happened even when
// the report itself cannot be shown.
[[noreturn]] void ReportRuntimeErrorAndExit(HWND owner, int number, const char* text) noexcept;

// Run-time error 7, "Out of memory": what Windows answers when it has no room left for a
// window class or a window (the desktop heap full, too many windows), without which the
// program cannot start.
inline constexpr int kErrOutOfMemory = 7;

// Reports that the window class or window named `what` (with its control-array index
// unless -1) could not be made at start-up, with the error Windows gave for it, as
// run-time error 7; ends the program with exit code 7. A refusal that comes with no
// error (a call that answers only yes or no) passes nullopt, and the report names what
// was refused and nothing more.
[[noreturn]] void ReportStartupFailureAndExit(const char* what, int index, std::optional<DWORD> error) noexcept;

// Reports a run-time error that left a message handler and ends the program, unless a
// report is already on screen: its message box keeps the program's messages flowing, and
// an error raised meanwhile is dropped (the handler's message answered 0) rather than
// stacked as a second report. The program ends when the first report is closed.
[[nodiscard]] LRESULT ReportHandlerError(HWND owner, int number, const char* text) noexcept;

// Runs a message handler; a run-time error that leaves it ends the program with the
// standard report, owned by `owner`.
template <typename Handler>
LRESULT Guarded(HWND owner, Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const RuntimeError& error) {
    return ReportHandlerError(owner, error.Number(), error.what());
  } catch (const std::bad_alloc&) {
    return ReportHandlerError(owner, kErrOutOfMemory, "Out of memory");
  } catch (const std::exception& error) {
    return ReportHandlerError(owner, 0, error.what());
  } catch (...) {
    return ReportHandlerError(owner, 0, "");
  }
}

}  // namespace tintelo::win
