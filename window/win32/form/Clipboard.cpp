// Copying a text to the clipboard, waiting a little for a busy one.
#include "window/win32/form/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "window/win32/base/Text.h"

namespace tintelo::win {

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
