// The second start-up floor: a Win32 program that opens a window of Tintelo's size with
// the same child windows as Tintelo, of the standard classes (a plain label where
// Tintelo has a window class of its own), and the tooltip, and nothing else: no fonts,
// no icons, no subclassing, no event logic. Between the empty-window floor and this one
// lies what Wine charges per window; between this one and Tintelo, what is ours.
#include <windows.h>

#include <commctrl.h>

#include "bench/win/FloorShow.h"
#include "window/Layout.h"
#include "window/win32/base/StartupMarks.h"

namespace {

const wchar_t* StandardClassOf(tintelo::layout::Kind kind) {
  switch (kind) {
    case tintelo::layout::Kind::Readout: return L"EDIT";
    case tintelo::layout::Kind::Slider: return L"SCROLLBAR";
    default: return L"STATIC";
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tintelo::win::StartupMark("winmain");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW wc{};
  wc.lpfnWndProc = tintelo::bench::FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INACTIVEBORDER + 1);
  wc.lpszClassName = L"FloorControls";
  RegisterClassW(&wc);
  const auto px = [](int twips) { return tintelo::layout::Pixels(twips, USER_DEFAULT_SCREEN_DPI); };
  RECT frame{0, 0, px(tintelo::layout::kClientWidth), px(tintelo::layout::kClientHeight)};
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&frame, kStyle, FALSE);
  HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"Floor", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  tintelo::win::StartupMark("window");
  CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  HWND panels[2] = {};
  for (const auto& c : tintelo::layout::kControls) {
    const bool panel = c.kind == tintelo::layout::Kind::Panel;
    const bool inPanel = c.kind == tintelo::layout::Kind::PanelText;
    const DWORD visible = panel ? 0 : WS_VISIBLE;
    HWND child = CreateWindowExW(0, StandardClassOf(c.kind), nullptr, WS_CHILD | WS_CLIPSIBLINGS | visible, px(c.left),
                                 px(c.top), px(c.width), px(c.height), inPanel ? panels[c.index] : window, nullptr,
                                 instance, nullptr);
    if (panel) panels[c.index] = child;
  }
  tintelo::win::StartupMark("controls");
  return tintelo::bench::ShowAndRun(window);
}
