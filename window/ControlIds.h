// Child-window identifiers of the main window, shared with anything that finds the
// controls from outside (accessibility tools, the end-to-end driver).
#pragma once

namespace tintelo::ids {

inline constexpr int kPicture1 = 100;
inline constexpr int kText1 = 200;     // + index 0..5
inline constexpr int kLabel1 = 300;    // + index 0, 2, 4, 6, 9, 11
inline constexpr int kLabel2 = 400;    // + index 0..5
inline constexpr int kLabel4 = 500;    // + index 0..1, child of the matching panel
inline constexpr int kTool1 = 600;     // + index 0..1
inline constexpr int kHScroll1 = 700;  // + index 0..2
inline constexpr int kImage1 = 800;
inline constexpr int kTimer1 = 1;
inline constexpr int kFollowTimer = 2;  // follows the pointer between Timer1's ticks

// The global shortcut that picks from anywhere: Win+Alt+C (RegisterHotKey's MOD_ALT and
// MOD_WIN, and the key's virtual-key code).
inline constexpr unsigned kPickShortcutModifiers = 0x0001 | 0x0008;
inline constexpr unsigned kPickShortcutKey = 'C';

inline constexpr wchar_t kWindowClass[] = L"TinteloForm1";
inline constexpr wchar_t kCaption[] = L"Tintelo v.1.0";
// The loupe beside the pointer while sampling, a top-level window of its own.
inline constexpr wchar_t kLoupeClass[] = L"TinteloLoupe";

}  // namespace tintelo::ids
