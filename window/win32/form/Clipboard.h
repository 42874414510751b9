// Copying a text to the clipboard.
#pragma once

#include <windows.h>

#include <string_view>

namespace tintelo::win {

// Clears the clipboard and leaves the text on it as CF_UNICODETEXT (Windows derives the
// ANSI and OEM forms). Another program may hold the clipboard open for a moment, so the
// open is retried for about half a second, the window painting meanwhile; false if the
// clipboard stayed busy.
[[nodiscard]] bool CopyTextToClipboard(HWND owner, std::string_view text);

}  // namespace tintelo::win
