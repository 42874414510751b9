// Start-up: one instance per session, the window, the message loop.
#include <windows.h>

#include <commctrl.h>

#include "MainWindow.h"

namespace {

// Never look for DLLs beside the executable (a downloads folder can hold planted ones):
// only System32. The call exists from Windows 8 on, and on Windows 7 with KB2533623.
void RestrictDllSearchToSystem32() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto set = tintelo::win::ProcAddress<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"),
                                                                         "SetDefaultDllDirectories");
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystem32();

  // A second start ends silently, before any window exists. The mutex lives as long as
  // this process; the name is per session, so other users' instances do not count.
  const tintelo::win::UniqueKernelHandle instanceMutex(CreateMutexW(nullptr, FALSE, L"Local\\Tintelo.SingleInstance"));
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};  // the tooltip's class
  InitCommonControlsEx(&controls);

  const auto window = tintelo::win::MainWindow::Create(instance);
  if (!window) return 1;
  window->Show();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window->PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
