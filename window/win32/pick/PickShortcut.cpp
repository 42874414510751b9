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

constexpr UINT kShift = 0x0004;  // MOD_SHIFT

std::wstring NoticeLine(const wchar_t* name, DWORD refusal) {
  const std::wstring shortcut = std::wstring(L"Le raccourci ") + name + L' ';
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

PickShortcut::PickShortcut() noexcept
    : combinations_{Combination{kId, ids::kPickShortcutModifiers, L"Win+Alt+C"},
                    Combination{kFrozenId, ids::kPickShortcutModifiers | kShift, L"Maj+Win+Alt+C"}} {}

void PickShortcut::Register(HWND window) noexcept {
  window_ = window;
  for (Combination& combination : combinations_) {
    // A combination another program holds is refused, not shared ("RegisterHotKey").
    combination.registered =
        RegisterHotKey(window, combination.id, combination.modifiers | kNoRepeat, ids::kPickShortcutKey) != FALSE;
    combination.refusal = combination.registered ? ERROR_SUCCESS : GetLastError();
    // A refusal that comes without a reason still gets its notice.
    if (!combination.registered && combination.refusal == ERROR_SUCCESS) combination.refusal = ERROR_GEN_FAILURE;
  }
}

void PickShortcut::Unregister() noexcept {
  for (Combination& combination : combinations_) {
    if (combination.registered) UnregisterHotKey(window_, combination.id);
    combination.registered = false;
  }
}

void PickShortcut::NoticeIfRefused(HWND anchor) {
  if (balloon_ != nullptr) return;
  // Said once: a notice that could not be made is not tried again.
  std::wstring text;
  for (Combination& combination : combinations_) {
    const DWORD refusal = std::exchange(combination.refusal, ERROR_SUCCESS);
    if (combination.registered || refusal == ERROR_SUCCESS) continue;
    if (!text.empty()) text += L"\r\n";
    text += NoticeLine(combination.name, refusal);
  }
  if (text.empty()) return;
  balloon_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_CLOSE,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (balloon_ == nullptr) return;
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
