#include "Platform.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "Text.h"

namespace tintelo::win {

bool WinScreen::CursorPos(ScreenPoint& point) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  point = ScreenPoint{p.x, p.y};
  return true;
}

ScreenApi::Handle WinScreen::DesktopWindow() { return reinterpret_cast<Handle>(GetDesktopWindow()); }

ScreenApi::Handle WinScreen::WindowDc(Handle window) {
  return reinterpret_cast<Handle>(GetWindowDC(reinterpret_cast<HWND>(window)));
}

ColourValue WinScreen::Pixel(Handle dc, ScreenPoint point) {
  // Monitors of different sizes leave parts of the virtual screen that no monitor shows.
  // There GetPixel answers a colour rather than CLR_INVALID (seen under Wine), so a point
  // on no monitor counts as a failed read.
  if (MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONULL) == nullptr) return kInvalidColour;
  return static_cast<ColourValue>(GetPixel(reinterpret_cast<HDC>(dc), point.x, point.y));
}

void WinScreen::ReleaseDc(Handle window, Handle dc) {
  ReleaseDC(reinterpret_cast<HWND>(window), reinterpret_cast<HDC>(dc));
}

namespace {

// The colour dialog's library pulls in a large part of the shell; loading it on the first
// use keeps it out of every start-up. Only System32's copy is ever loaded.
using ChooseColorFn = BOOL(WINAPI*)(LPCHOOSECOLORW);

ChooseColorFn ChooseColorEntry() {
  static const auto entry = ProcAddress<ChooseColorFn>(
      LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "ChooseColorW");
  return entry;
}

}  // namespace

void Dialogue::ShowColor() {
  const ChooseColorFn chooseColor = ChooseColorEntry();
  if (chooseColor == nullptr) return;  // no dialog to be had: the colour stays as it was
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner_;
  choose.rgbResult = color_;
  choose.lpCustColors = custom_.data();
  choose.Flags = static_cast<DWORD>(flags_);
  // A cancel leaves the previous colour in place.
  if (chooseColor(&choose)) color_ = choose.rgbResult;
}

namespace {

// Clipboard histories, remote desktop and clipboard managers keep the clipboard open for
// a moment after each change. Waits between tries, doubling from 10 ms up to 160 ms, for
// 470 ms in all before the copy is given up.
constexpr DWORD kClipboardFirstWaitMs = 10;
constexpr DWORD kClipboardLongestWaitMs = 160;
constexpr DWORD kClipboardPatienceMs = 500;

// Waits `ms` while the window keeps painting and answering other programs' messages;
// input stays queued, so a click cannot start a second copy inside this one.
void WaitPainting(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_PAINT | QS_SENDMESSAGE) != WAIT_OBJECT_0) {
      return;
    }
    MSG msg;
    // Peeking also delivers messages sent by other threads.
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

bool PutText(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* data = GlobalLock(memory);
  if (data == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(data, text.c_str(), bytes);
  GlobalUnlock(memory);
  // On success the clipboard owns the memory; on failure it is still ours.
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, std::string_view text) {
  const std::wstring wide = Widen(text);
  DWORD waited = 0;
  for (DWORD wait = kClipboardFirstWaitMs;; wait = std::min(wait * 2, kClipboardLongestWaitMs)) {
    if (OpenClipboard(owner)) {
      const bool copied = EmptyClipboard() && PutText(wide);
      CloseClipboard();
      return copied;
    }
    if (waited + wait > kClipboardPatienceMs) return false;
    WaitPainting(wait);
    waited += wait;
  }
}

}  // namespace tintelo::win

namespace tintelo::win {

void fnSetTopmost(HWND form) {
  SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace tintelo::win
