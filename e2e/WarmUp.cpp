// Run once on a new Wine prefix before the end-to-end tests: the prefix's first program
// start, first colour dialog and first clipboard use happen here, so whatever they cost
// on a new machine falls inside no test's deadline. Outside Wine it does nothing.
#include <cstdio>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

using namespace tintelo::e2e;
namespace ids = tintelo::ids;

namespace {

bool Step(const char* what, bool done) {
  if (!done) std::fprintf(stderr, "warm-up: %s failed\n", what);
  return done;
}

}  // namespace

int main() {
  // A Windows session has no new prefix: its first colour dialog and clipboard use cost
  // nothing a test's deadline notices.
  if (!UnderWine()) {
    std::puts("warm-up: not under Wine, nothing to warm up");
    return 0;
  }
  Tintelo app;
  if (!Step("starting Tintelo", app.Window() != nullptr)) return 1;
  HWND dialog = OpenColourDialog(app);
  if (!Step("opening the colour dialog", dialog != nullptr)) return 1;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (!Step("closing the colour dialog", WaitUntil([&] { return ColourDialogOf(app.ProcessId()) == nullptr; }, 60s))) {
    return 1;
  }
  SetClipboardTextForTest(L"");
  Click(CentreOnScreen(app.Control(ids::kText1 + 5)));
  if (!Step("copying a readout", WaitUntil([] { return ClipboardText() == std::wstring(L"#000000"); }, 60s))) return 1;
  return Step("closing Tintelo", app.Close()) ? 0 : 1;
}
