// The system colour dialog, loaded on its first use.
#include "window/win32/form/Dialogue.h"

#include <commdlg.h>

#include "window/win32/base/Compat.h"

namespace tintelo::win {

namespace {

// The colour dialog's library pulls in a large part of the shell; loading it on the first
// use keeps it out of every start-up. Only System32's copy is ever loaded.
using ChooseColorFn = BOOL(WINAPI*)(LPCHOOSECOLORW);
using CommDlgExtendedErrorFn = DWORD(WINAPI*)();

struct DialogEntries {
  ChooseColorFn chooseColor = nullptr;
  CommDlgExtendedErrorFn extendedError = nullptr;
};

// Kept once found. A library that would not load is tried again at the next click: what
// kept it out (little memory, a desktop heap full for the moment) may be gone by then.
const DialogEntries* Entries() {
  static DialogEntries entries;
  if (entries.chooseColor == nullptr) {
    HMODULE library = LoadSystemLibrary(L"comdlg32.dll");
    entries.chooseColor = ProcAddress<ChooseColorFn>(library, "ChooseColorW");
    entries.extendedError = ProcAddress<CommDlgExtendedErrorFn>(library, "CommDlgExtendedError");
    if (entries.chooseColor == nullptr || entries.extendedError == nullptr) {
      if (library != nullptr) FreeLibrary(library);
      entries = DialogEntries{};
      return nullptr;
    }
  }
  return &entries;
}

}  // namespace

ColourDialog::Outcome Dialogue::ShowColor() {
  const DialogEntries* entries = Entries();
  if (entries == nullptr) return Outcome::NotShown;
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner_;
  choose.rgbResult = color_;
  choose.lpCustColors = custom_.data();
  choose.Flags = static_cast<DWORD>(flags_);
  if (entries->chooseColor(&choose)) {
    color_ = choose.rgbResult;
    return Outcome::Confirmed;
  }
  // A cancel leaves the previous colour in place; a dialog that could not be made at all
  // (an extended error, CommDlgExtendedError page) was never shown.
  return entries->extendedError() == 0 ? Outcome::Cancelled : Outcome::NotShown;
}

}  // namespace tintelo::win
