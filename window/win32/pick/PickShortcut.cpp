// The global shortcut's registration and the notice of a refusal.
#include "window/win32/pick/PickShortcut.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "window/ControlIds.h"
#include "window/win32/base/Compat.h"
#include "window/win32/base/Text.h"

namespace tintelo::win {

namespace {

constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT, Windows 7 on: a held key starts once
constexpr int kNoticeWidth = 320;   // the balloon's widest line, in pixels at 100 %

std::wstring NoticeText(DWORD refusal) {
  const std::wstring shortcut = L"Le raccourci Win+Alt+C ";
  const std::wstring rest = L"\u00A0: Tintelo fonctionne sans lui.";
  // Held by another program or by Windows itself, which keeps Windows-key combinations
  // for its own features: RegisterHotKey answers the same, and says nothing of who.
  if (refusal == ERROR_HOTKEY_ALREADY_REGISTERED) return shortcut + L"est déjà utilisé" + rest;
  return shortcut + L"n'a pas pu être enregistré (erreur Windows " + Widen(std::to_string(refusal)) + L")" + rest;
}

}  // namespace

PickShortcut::~PickShortcut() {
  EndNotice();
  Unregister();
}

void PickShortcut::Register(HWND window) noexcept {
  window_ = window;
  // A combination another program holds is refused, not shared ("RegisterHotKey").
  registered_ = RegisterHotKey(window, kId, ids::kPickShortcutModifiers | kNoRepeat, ids::kPickShortcutKey) != FALSE;
  refusal_ = registered_ ? ERROR_SUCCESS : GetLastError();
  // A refusal that comes without a reason still gets its notice.
  if (!registered_ && refusal_ == ERROR_SUCCESS) refusal_ = ERROR_GEN_FAILURE;
}

void PickShortcut::Unregister() noexcept {
  if (registered_) UnregisterHotKey(window_, kId);
  registered_ = false;
}

void PickShortcut::NoticeIfRefused(HWND anchor) {
  if (registered_ || refusal_ == ERROR_SUCCESS || balloon_ != nullptr) return;
  // Said once: a notice that could not be made is not tried again.
  const DWORD refusal = std::exchange(refusal_, ERROR_SUCCESS);
  balloon_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_CLOSE,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (balloon_ == nullptr) return;
  std::wstring text = NoticeText(refusal);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = window_;
  tool.lpszText = text.data();
  SendMessageW(balloon_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(balloon_, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(L"Tintelo"));
  SendMessageW(balloon_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kNoticeWidth, static_cast<int>(DpiOfWindow(window_)), 96));
  RECT swatch{};
  GetWindowRect(anchor, &swatch);
  SendMessageW(balloon_, TTM_TRACKPOSITION, 0, MAKELPARAM((swatch.left + swatch.right) / 2, swatch.bottom));
  SendMessageW(balloon_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  noticeTimer_.Start(window_, kNoticeMs);
}

void PickShortcut::EndNotice() noexcept {
  if (balloon_ == nullptr) return;
  noticeTimer_.Stop();
  DestroyWindow(balloon_);
  balloon_ = nullptr;
}

}  // namespace tintelo::win
