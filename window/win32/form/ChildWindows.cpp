// The child windows' procedures and painting.
#include "window/win32/form/ChildWindows.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "window/Form1.h"
#include "window/win32/base/Dib.h"
#include "window/win32/base/Handles.h"
#include "window/win32/base/RuntimeErrorReport.h"
#include "window/win32/base/WindowProc.h"
#include "window/win32/form/ControlSet.h"
#include "window/win32/form/SchemeColours.h"

namespace tintelo::win {

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The palette picture's side in pixels, as resources/draw_pictures.py draws it.
constexpr int kPaletteSide = 32;

int MouseButtonsDown() {
  int held = 0;
  for (const int key : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
    if (GetKeyState(key) < 0) ++held;
  }
  return held;
}

SwatchKey SwatchKeyOf(WPARAM key) {
  switch (key) {
    case VK_SPACE: return SwatchKey::Space;
    case VK_RETURN: return SwatchKey::Enter;
    case VK_ESCAPE: return SwatchKey::Escape;
    case VK_LEFT: return SwatchKey::Left;
    case VK_RIGHT: return SwatchKey::Right;
    case VK_UP: return SwatchKey::Up;
    case VK_DOWN: return SwatchKey::Down;
    case VK_TAB: return SwatchKey::Tab;
    case VK_ADD: return SwatchKey::Grow;
    case VK_SUBTRACT: return SwatchKey::Shrink;
    case 'F': return SwatchKey::Freeze;
    case VK_PRIOR: return SwatchKey::ZoomIn;
    case VK_NEXT: return SwatchKey::ZoomOut;
    default: return SwatchKey::Other;
  }
}

// The swatch holds the pointer from a press until every button is up: the release
// anywhere on the screen comes back to it, and a button still held after Escape or Enter
// is released on the swatch, where it changes nothing. Sampling begun from the keyboard
// takes no capture: over another program's window a capture gets the mouse only while a
// button is down ("SetCapture"), so it would neither follow the pointer there nor keep a
// click from landing in that program; the follow timer watches the pointer instead.
void ReleaseCaptureOnceButtonsAreUp(HWND swatch) {
  if (MouseButtonsDown() == 0 && GetCapture() == swatch) ReleaseCapture();
}

}  // namespace

void ChildWindows::RegisterClasses(HINSTANCE instance, HCURSOR hand) {
  WNDCLASSEXW child{};
  child.cbSize = sizeof(child);
  child.hInstance = instance;
  const auto registerClass = [&](WNDPROC procedure, HCURSOR cursor, const wchar_t* name, const char* what) {
    child.lpfnWndProc = procedure;
    child.hCursor = cursor;
    child.lpszClassName = name;
    if (RegisterClassExW(&child) == 0) ReportStartupFailureAndExit(what, -1, GetLastError());
  };
  registerClass(ForwardToOwner<ChildWindows, &ChildWindows::OnSwatch>, LoadCursorW(nullptr, IDC_CROSS), kSwatchClass,
                "Classe de fenêtre TinteloSwatch");
  registerClass(ForwardToOwner<ChildWindows, &ChildWindows::OnPalette>, hand, kPaletteClass,
                "Classe de fenêtre TinteloImage");
  registerClass(ForwardToOwner<ChildWindows, &ChildWindows::OnPanel>, LoadCursorW(nullptr, IDC_ARROW), kPanelClass,
                "Classe de fenêtre TinteloPanel");
}

void ChildWindows::LoadPalette(HINSTANCE instance, int resourceId) {
  // A BITMAP resource is the bitmap file without its file header: the BITMAPINFOHEADER,
  // then the rows.
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_BITMAP);
  HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const auto* bytes = loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
  constexpr std::size_t kRowBytes = kPaletteSide * sizeof(std::uint32_t);
  BITMAPINFOHEADER header{};
  if (bytes == nullptr || SizeofResource(instance, found) < sizeof(header) + kPaletteSide * kRowBytes) return;
  std::memcpy(&header, bytes, sizeof(header));
  // Only the form draw_pictures.py writes is taken: 32 bits a pixel, uncompressed, no
  // colour table between the header and the rows. A height's sign says which way the
  // rows run ("BITMAPINFOHEADER": positive, bottom-up).
  const bool valid = header.biSize == sizeof(header) && header.biPlanes == 1 && header.biBitCount == 32 &&
                     header.biCompression == BI_RGB && header.biClrUsed == 0 && header.biWidth == kPaletteSide &&
                     (header.biHeight == kPaletteSide || header.biHeight == -kPaletteSide);
  if (!valid) return;
  // Each pixel's bytes are blue, green, red and the mask: read as one little-endian
  // value, the 0xAARRGGBB that painting takes.
  const std::uint8_t* rows = bytes + sizeof(header);
  palette_.resize(std::size_t{kPaletteSide} * kPaletteSide);
  for (std::size_t y = 0; y < kPaletteSide; ++y) {
    const std::size_t from = header.biHeight > 0 ? kPaletteSide - 1 - y : y;
    std::memcpy(palette_.data() + y * kPaletteSide, rows + from * kRowBytes, kRowBytes);
  }
}

void ChildWindows::Watch(HWND control, layout::Kind kind, int index) {
  Watched& watched = watched_.at(watchedCount_++);
  watched = Watched{this, kind, index};
  SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&watched));
}

void ChildWindows::SetSwatchColour(ColourValue value) {
  if (value == swatchColour_) return;
  swatchColour_ = value;
  HWND swatch = controls_->Of(layout::Kind::Swatch);
  // Painted at once, not when the queue is next empty: a refresh that follows the pointer
  // back onto the swatch may copy the screen before then, and would read the swatch's
  // old colour as the screen's, and keep it.
  RedrawWindow(swatch, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  SwatchValueChanged();
}

void ChildWindows::SwatchValueChanged() {
  HWND swatch = controls_->Of(layout::Kind::Swatch);
  if (annotations_.Has(swatch, AccessibleProperty::Value)) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, swatch, OBJID_CLIENT, CHILDID_SELF);
  }
}

void ChildWindows::ObjectRequested() {
  const auto handle = [](HWND window) { return reinterpret_cast<AnnotationService::Control>(window); };
  const std::array annotated{
      handle(controls_->Of(layout::Kind::Swatch)), handle(controls_->Of(layout::Kind::Slider, 0)),
      handle(controls_->Of(layout::Kind::Slider, 1)), handle(controls_->Of(layout::Kind::Slider, 2))};
  annotations_.OnObjectRequested(annotated, *text_);
}

LRESULT CALLBACK ChildWindows::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) noexcept {
  const auto* watched = reinterpret_cast<const Watched*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, SubclassProc, kSubclassId);
  return Guarded(window, [&] { return watched->owner->OnWatched(*watched, window, message, wParam, lParam); });
}

LRESULT ChildWindows::OnSwatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintSwatch(window); return 0;
    case WM_GETOBJECT: ObjectRequested(); return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      // The swatch's class has no CS_DBLCLKS, so a quick second press comes as one more
      // button-down, never as a double click. The swatch keeps the pointer while a button
      // is held, so the release anywhere on the screen comes back here.
      SetFocus(window);
      SetCapture(window);
      form_->Picture1_MouseDown();
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
      form_->Picture1_MouseUp();
      ReleaseCaptureOnceButtonsAreUp(window);
      return message == WM_XBUTTONUP ? TRUE : 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) form_->Picture1_CaptureLost();
      return 0;
    case WM_KEYDOWN: {
      // The keypad's + and - also type their characters, which must not step twice.
      keypadChar_ = wParam == VK_ADD ? L'+' : wParam == VK_SUBTRACT ? L'-' : L'\0';
      // Bit 30: the key was already down, this is its auto-repeat.
      const bool used =
          form_->Picture1_KeyDown(SwatchKeyOf(wParam), GetKeyState(VK_SHIFT) < 0, (lParam & (1 << 30)) != 0);
      ReleaseCaptureOnceButtonsAreUp(window);
      return used ? 0 : DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_CHAR: {
      // + and - by the character typed, wherever the keyboard layout has them: on a
      // French keyboard - is the 6 key, which no virtual-key code names.
      const auto typed = static_cast<wchar_t>(wParam);
      if (typed == std::exchange(keypadChar_, L'\0')) return 0;
      const SwatchKey key = typed == L'+' ? SwatchKey::Grow : typed == L'-' ? SwatchKey::Shrink : SwatchKey::Other;
      if (key != SwatchKey::Other && form_->Picture1_KeyDown(key, false, (lParam & (1 << 30)) != 0)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_MOUSEWHEEL:
      // Reaches the swatch while it holds the focus and the mouse, as it does while sampling.
      if (form_->Picture1_MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0))
        return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_KILLFOCUS:
      form_->Picture1_LostFocus();
      ReleaseCaptureOnceButtonsAreUp(window);
      return 0;
    case WM_MOUSEMOVE:
      form_->Picture1_MouseMove(controls_->Twips(GET_X_LPARAM(lParam)), controls_->Twips(GET_Y_LPARAM(lParam)));
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT ChildWindows::OnPalette(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintPalette(window); return 0;
    case WM_LBUTTONDOWN:
      paletteArmed_ = true;
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP: {
      const bool armed = std::exchange(paletteArmed_, false);
      if (GetCapture() == window) ReleaseCapture();
      RECT client{};
      GetClientRect(window, &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (armed && PtInRect(&client, at)) form_->Image1_Click();
      return 0;
    }
    case WM_CAPTURECHANGED: paletteArmed_ = false; return 0;
    case WM_MOUSEMOVE:
      form_->Image1_MouseMove(controls_->Twips(GET_X_LPARAM(lParam)), controls_->Twips(GET_Y_LPARAM(lParam)));
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT ChildWindows::OnPanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, scheme_->Brush(Surface::HelpPanel));
      return 1;
    }
    case WM_CTLCOLORSTATIC: return scheme_->ControlColour(reinterpret_cast<HDC>(wParam), Surface::HelpPanel);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT ChildWindows::OnWatched(const Watched& watched, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT) ObjectRequested();
  if (message == WM_MOUSEMOVE) {
    switch (watched.kind) {
      case layout::Kind::Readout: form_->Text1_MouseMove(watched.index); break;
      case layout::Kind::Caption: form_->Label1_MouseMove(watched.index); break;
      case layout::Kind::PanelText: form_->Label4_MouseMove(watched.index); break;
      default: break;
    }
  }
  if (watched.kind == layout::Kind::Readout) {
    switch (message) {
      case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_ARROW)); return TRUE;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        // A click only gives the field the focus, which copies it; no caret, no
        // selection drag, no pointer capture kept by a field that is minimised away.
        SetFocus(window);
        return 0;
      case WM_CONTEXTMENU: return 0;
      default: break;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void ChildWindows::PaintSwatch(HWND window) const {
  const PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  const UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(swatchColour_) & 0x00FFFFFF));
  FillRect(paint.Dc(), &client, brush.Get());
}

void ChildWindows::PaintPalette(HWND window) {
  const PaintScope paint(window);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(paint.Dc(), &client, scheme_->Brush(Surface::Form));
  if (palette_.empty()) return;
  // The picture's transparent pixels take the window background's colour, worked out
  // again only when the colour scheme or high contrast has changed it.
  const auto back = static_cast<COLORREF>(scheme_->Of(Surface::Form).background);
  if (back != paletteBackground_) {
    const std::uint32_t backRgb =
        (std::uint32_t{GetRValue(back)} << 16) | (std::uint32_t{GetGValue(back)} << 8) | std::uint32_t{GetBValue(back)};
    paletteOnBackground_.resize(palette_.size());
    std::transform(palette_.begin(), palette_.end(), paletteOnBackground_.begin(),
                   [&](std::uint32_t p) { return (p >> 24) != 0 ? (p & 0x00FFFFFF) : backRgb; });
    paletteBackground_ = back;
  }
  // Scaled by whole pixels without smoothing, as pixel art should be.
  const BITMAPINFO info = TopDownDib(kPaletteSide, kPaletteSide);
  SetStretchBltMode(paint.Dc(), COLORONCOLOR);
  StretchDIBits(paint.Dc(), 0, 0, client.right, client.bottom, 0, 0, kPaletteSide, kPaletteSide,
                paletteOnBackground_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace tintelo::win
