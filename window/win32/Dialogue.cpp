// The system colour dialog, loaded on its first use.
#include "window/win32/Dialogue.h"

#include <commdlg.h>

#include "window/win32/Compat.h"

namespace tintelo::win {

namespace {

// The colour dialog's library pulls in a large part of the shell; loading it on the first
// use keeps it out of every start-up. Only System32's copy is ever loaded.
using ChooseColorFn = BOOL(WINAPI*)(LPCHOOSECOLORW);

ChooseColorFn ChooseColorEntry() {
  static const auto entry = ProcAddress<ChooseColorFn>(LoadSystemLibrary(L"comdlg32.dll"), "ChooseColorW");
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

}  // namespace tintelo::win
