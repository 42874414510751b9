// Run once on a new Wine prefix before the end-to-end tests: the first start of a
// program there builds the font cache, the first colour dialog loads comdlg32 and the
// shell, the first clipboard use starts Wine's clipboard handling. Each takes seconds,
// once; done here, none of it falls inside a test's deadline.
#include <cstdio>

#include "ControlIds.h"
#include "Driver.h"

using namespace tintelo::e2e;
namespace ids = tintelo::ids;

namespace {

bool Step(const char* what, bool done) {
  if (!done) std::fprintf(stderr, "warm-up: %s failed\n", what);
  return done;
}

}  // namespace

int main() {
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
