// The recent colours' menu: its items, their squares, and the commands they send.
#include "window/win32/pick/RecentMenu.h"

#include "colour/Module1.h"
#include "window/RecentColours.h"
#include "window/win32/base/Compat.h"
#include "window/win32/base/Dib.h"
#include "window/win32/base/Text.h"

namespace tintelo::win {

namespace {

constexpr UINT kFirstCommand = 0x0100;
constexpr UINT kCommandStep = 0x0010;
constexpr wchar_t kListName[] = L"Couleurs récentes";
constexpr wchar_t kEmpty[] = L"Aucune couleur";

// A square of the colour with a grey edge, so that a colour like the menu's own still
// shows where it is; opaque, since a menu blends a 32-bit picture by its alpha.
UniqueBitmap Square(COLORREF colour, int side, int edge) {
  const BITMAPINFO info = TopDownDib(side, side);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  const std::uint32_t fill = 0xFF000000u | RgbOf(colour);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const bool onEdge = x < edge || y < edge || x >= side - edge || y >= side - edge;
      pixels[y * side + x] = onEdge ? 0xFF808080u : fill;
    }
  }
  return bitmap;
}

}  // namespace

void RecentMenu::AddTo(HWND window) {
  HMENU system = GetSystemMenu(window, FALSE);
  if (system == nullptr) return;
  // Once it is in the system menu, the list is destroyed with it; until then it is ours.
  list_ = CreatePopupMenu();
  if (list_ == nullptr) return;
  if (!AppendMenuW(system, MF_SEPARATOR, 0, nullptr) ||
      !AppendMenuW(system, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(list_), kListName)) {
    DestroyMenu(list_);
    list_ = nullptr;
  }
}

bool RecentMenu::Fill(HMENU opening, std::span<const ColourValue> colours, UINT dpi) {
  if (opening == nullptr || opening != list_) return false;
  while (GetMenuItemCount(list_) > 0) DeleteMenu(list_, 0, MF_BYPOSITION);
  squares_.clear();
  if (colours.empty()) {
    AppendMenuW(list_, MF_STRING | MF_GRAYED, 0, kEmpty);
    return true;
  }
  const int side = MetricForDpi(SM_CXSMICON, dpi);
  const int edge = static_cast<int>(dpi / 96 > 0 ? dpi / 96 : 1);
  for (UINT position = 0; position < colours.size(); ++position) {
    const auto colour = static_cast<COLORREF>(colours[position]);
    std::wstring text = Widen(fnHtmlColour(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    squares_.push_back(Square(colour, side, edge));
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
    item.wID = kFirstCommand + position * kCommandStep;
    item.dwTypeData = text.data();
    item.hbmpItem = squares_.back().Get();
    InsertMenuItemW(list_, position, TRUE, &item);
  }
  return true;
}

int RecentMenu::Track(HWND owner, POINT at, std::span<const ColourValue> colours, UINT dpi) {
  if (!Fill(list_, colours, dpi)) return -1;
  // Filled here, since TPM_NONOTIFY keeps WM_INITMENUPOPUP from the owner; the choice
  // comes back as the answer, not as a command.
  const BOOL chosen =
      TrackPopupMenuEx(list_, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, owner, nullptr);
  return IndexOf(static_cast<WPARAM>(chosen));
}

int RecentMenu::IndexOf(WPARAM command) noexcept {
  const auto id = static_cast<UINT>(command) & ~(kCommandStep - 1);
  if (id < kFirstCommand) return -1;
  const UINT index = (id - kFirstCommand) / kCommandStep;
  return index < RecentColours::kMost ? static_cast<int>(index) : -1;
}

}  // namespace tintelo::win
