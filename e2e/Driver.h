// Drives the real Tintelo.exe from another process, as a user and a screen reader do:
// windows found by class and identifier, texts read with WM_GETTEXT, pointer and keys
// sent with SendInput, the clipboard read back.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "window/win32/base/Text.h"

namespace tintelo::e2e {

using namespace std::chrono_literals;

inline constexpr auto kDeadline = 10s;

// Sends a message to one of the program's windows and waits for the reply; false if none
// came. The wait is long on purpose: under Wine with no window manager, hiding a dialog or
// a window blocks the program's thread for about 2 s while the X11 driver waits for a
// manager to withdraw it, and a reply cut short at 2 s made a busy program read as an
// empty text.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);

// Polls until the condition holds or the deadline passes; never a fixed sleep.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = kDeadline);

using win::Narrow;
using win::Widen;

// Path of a file beside the test program (Tintelo.exe is built next to it).
std::wstring BesideThisProgram(const wchar_t* name);
// The Tintelo.exe under test: the one TINTELO_EXE names, or else the one built beside the
// test program.
std::wstring TinteloExe();
// Path of a file beside the Tintelo.exe under test.
std::wstring BesideTintelo(const wchar_t* name);

// True when this driver runs under Wine: only Wine's ntdll exports wine_get_version.
// Outside Wine the driver leaves out what only Wine needs, and the tests that only Wine
// can run skip themselves and say why.
[[nodiscard]] bool UnderWine();

// Sets the screen scale of the programs started next, where that can be done. Wine reads
// LogPixels at each process start, so under Wine it writes it and returns true. Windows
// reads it at sign-in, and it is the user's own setting: there nothing is written, and
// the answer is whether the session already runs at that scale.
bool SetScreenDpi(int dpi);

// Why a test that starts the program at another scale skips itself outside Wine.
inline constexpr char kScaleNeedsWine[] =
    "starting a program at another scale needs Wine, which reads LogPixels at each start; Windows reads it "
    "at sign-in (README, Scales)";

// Tells Wine how to load one DLL for one program, as a DllOverrides value under
// AppDefaults: "native,builtin" prefers a copy beside the program (the default search
// order) to Wine's own, "" loads none at all. Wine reads it at each load; the value goes
// on scope exit.
class WineDllOverride {
 public:
  WineDllOverride(const wchar_t* program, const wchar_t* dll, const wchar_t* how);
  ~WineDllOverride();
  WineDllOverride(const WineDllOverride&) = delete;
  WineDllOverride& operator=(const WineDllOverride&) = delete;

 private:
  const wchar_t* dll_;
  HKEY key_ = nullptr;
};

class Tintelo {
 public:
  Tintelo();   // starts the program, waits for its window and first analysis, and clicks it
  ~Tintelo();  // closes it, or kills it if it does not go
  Tintelo(const Tintelo&) = delete;
  Tintelo& operator=(const Tintelo&) = delete;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] HANDLE Process() const { return process_; }
  [[nodiscard]] DWORD ProcessId() const { return processId_; }
  [[nodiscard]] HWND Control(int id) const;
  [[nodiscard]] std::string Text(int id) const;

  // Asks the window to close and waits for the process to end; false if it did not.
  bool Close();

 private:
  // Clicks the window's background, so that it takes the keys.
  void BringForward();

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// Starts a program built beside this one without waiting for anything; returns the
// process handle, or null.
HANDLE StartProgram(const wchar_t* name);
HANDLE StartProgramAt(const std::wstring& path);
inline HANDLE StartTintelo() { return StartProgramAt(TinteloExe()); }

// Top-level Tintelo windows on the desktop, whichever process owns them.
int CountTinteloWindows();

[[nodiscard]] std::string WindowText(HWND window);
[[nodiscard]] RECT RectInParent(HWND control);  // in the parent's client coordinates
[[nodiscard]] RECT ClientRect(HWND window);
[[nodiscard]] SCROLLINFO ScrollInfo(HWND bar);
[[nodiscard]] POINT CentreOnScreen(HWND window);

void MovePointer(POINT screen);
void PressButton(DWORD downFlag);  // MOUSEEVENTF_LEFTDOWN, RIGHTDOWN, ...
void ReleaseButton(DWORD upFlag);
void Click(POINT screen);
void PressKey(WORD key, bool shift = false);
// Keys pressed in order, then let go in the reverse order.
void PressChord(std::initializer_list<WORD> keys);
// Tintelo's global shortcut, Win+Alt+C, pressed and let go.
void PressShortcut();
// A character typed, whatever key of whichever keyboard layout makes it.
void Type(wchar_t character);
// The mouse wheel turned by `delta` (WHEEL_DELTA a notch, away from the user positive).
void Wheel(int delta);

// A colour as every readout must show it.
struct Colour {
  int red, green, blue;
  const char* decimal;
  const char* hex;
  const char* cmyk;
  const char* rgb;
  const char* html;
};

inline constexpr Colour kBrown{153, 102, 51, "3368601", "0x996633", "0,51,102,102", "153,102,51", "#996633"};
inline constexpr Colour kSky{32, 160, 224, "14721056", "0x20A0E0", "192,64,0,31", "32,160,224", "#20A0E0"};

// Readouts Text1(0..5), the three slider positions, then the three value labels.
using Readouts = std::vector<std::string>;
[[nodiscard]] Readouts Snapshot(const Tintelo& app);
// Waits until the readouts read `expected`, and a read right after still does: they rest
// there, not pass through on the way elsewhere. A failure says what they read.
[[nodiscard]] testing::AssertionResult ReadoutsSettleOn(const Tintelo& app, const Readouts& expected,
                                                        std::chrono::milliseconds deadline = kDeadline);

// Text1(0)'s text for a point: "x.y".
[[nodiscard]] std::string PositionText(POINT at);
// What Snapshot reads once the colour has been sampled at the point.
[[nodiscard]] Readouts Showing(POINT at, const Colour& c);
[[nodiscard]] COLORREF Rgb(const Colour& c);
// The pixel as this process reads it from the screen.
[[nodiscard]] COLORREF ScreenPixel(POINT at);
// The window of the program that holds the pointer capture, or null.
[[nodiscard]] HWND CaptureOf(const Tintelo& app);
// The visible top-level window of that class that the process owns, or null.
[[nodiscard]] HWND VisibleWindowOf(DWORD processId, const wchar_t* windowClass);
// All of them, in the order Windows lists them.
[[nodiscard]] std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* windowClass);
// The program's loupe while it shows, or null.
[[nodiscard]] HWND LoupeOf(const Tintelo& app);
// True where the system leaves the loupe out of every copy of the screen, this driver's
// included: where its window has WDA_EXCLUDEFROMCAPTURE, read from this process with
// GetWindowDisplayAffinity. The program asks for it from Windows 10 2004 (build 19041) on
// and outside Remote Desktop ("SetWindowDisplayAffinity"). A copy over the loupe then
// finds the windows beneath it, and no copy reads its picture. Wine keeps no display
// affinity: there copies show the loupe's picture.
[[nodiscard]] bool LoupeLeftOutOfCopies(HWND loupe);
// Says, in the log and as a "not_checked_here" property of the test's XML report, what
// the running test leaves unchecked on this system and why, where it goes on with the rest.
void NotCheckedHere(const std::string& what);
// The screen's pixels in `area`, as GetPixel gives them (0x00BBGGRR), row by row; none
// when the screen could not be read.
[[nodiscard]] std::vector<COLORREF> ScreenPixels(const RECT& area);

// A plain window of one solid colour, for the program to sample.
class ColourWindow {
 public:
  ColourWindow(RECT place, const Colour& colour);
  ~ColourWindow();
  ColourWindow(const ColourWindow&) = delete;
  ColourWindow& operator=(const ColourWindow&) = delete;

  // True once the colour is really on the screen, where Tintelo reads it.
  [[nodiscard]] bool Shown(POINT at) const;
  // Repaints it in another colour at once.
  void Repaint(const Colour& colour);
  // How many button messages (presses and releases, any button) it has received, once
  // this thread has taken what is waiting for it.
  [[nodiscard]] int ButtonMessages() const;

 private:
  COLORREF colour_;
  HWND window_ = nullptr;
};

// A pattern: a pixel's colour (0x00RRGGBB) at each point of the screen.
using Pattern = std::uint32_t (*)(POINT);

// A window that shows a pattern pixel for pixel, by screen position.
class PatternWindow {
 public:
  PatternWindow(RECT place, Pattern pattern);
  ~PatternWindow();
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;

  // True once the screen shows the pattern wherever a monitor does.
  [[nodiscard]] bool Shown() const;

 private:
  static LRESULT CALLBACK Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  RECT place_;
  Pattern pattern_;
  std::vector<std::uint32_t> pixels_;
  HWND window_ = nullptr;
};

struct Button {
  const char* name;
  DWORD down;
  DWORD up;
};

inline constexpr Button kLeftButton{"Left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};

// Lets go of the button even when an assertion ends the test early, so the next test
// does not start with a button held.
class HeldButton {
 public:
  explicit HeldButton(const Button& button) : up_(button.up) { PressButton(button.down); }
  ~HeldButton() { Release(); }
  HeldButton(const HeldButton&) = delete;
  HeldButton& operator=(const HeldButton&) = delete;
  void Release() {
    if (held_) ReleaseButton(up_);
    held_ = false;
  }

 private:
  DWORD up_;
  bool held_ = true;
};

// Holds `which` on the swatch and waits until sampling reads the swatch's own point. The
// button is held in `button`, so that it is let go whenever the caller's test ends; a
// failure says what Text1(0) read instead.
[[nodiscard]] testing::AssertionResult PressOnTheSwatch(const Tintelo& app, std::optional<HeldButton>& button,
                                                        const Button& which = kLeftButton);

// The system colour dialog that the palette picture opens: the visible one of the
// process, or null.
[[nodiscard]] HWND ColourDialogOf(DWORD processId);
// Clicks the palette picture and waits for the dialog; null if it never shows.
[[nodiscard]] HWND OpenColourDialog(const Tintelo& app);
// Types red, green and blue into the dialog's custom-colour edits.
[[nodiscard]] bool TypeColour(HWND dialog, int red, int green, int blue);
// Types the colour, confirms it and waits until the dialog is gone.
[[nodiscard]] bool ConfirmColour(HWND dialog, int red, int green, int blue);

[[nodiscard]] std::optional<std::wstring> ClipboardText();
void SetClipboardTextForTest(const std::wstring& text);

}  // namespace tintelo::e2e
