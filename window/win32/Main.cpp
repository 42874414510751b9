// Start-up: one instance per session, the window, the message loop.
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "window/win32/base/Compat.h"
#include "window/win32/base/RuntimeErrorReport.h"
#include "window/win32/base/StartupMarks.h"
#include "window/win32/form/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tintelo::win::StartupMark("winmain");
  tintelo::win::RestrictDllSearchToSystem32();

  // A second start ends silently, before any window exists. The mutex lives as long as
  // this process; the name is per session, so other users' instances do not count.
  const tintelo::win::UniqueKernelHandle instanceMutex(CreateMutexW(nullptr, FALSE, L"Local\\Tintelo.SingleInstance"));
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) return 0;

  // InitCommonControlsEx answers only TRUE or FALSE and documents no last error: whatever
  // GetLastError held then came from an earlier call, so the report gives none.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};  // the tooltip's class
  if (!InitCommonControlsEx(&controls)) {
    tintelo::win::ReportStartupFailureAndExit("Classes des contrôles communs", -1, std::nullopt);
  }
  tintelo::win::StartupMark("commctrl");

  // A class or window Windows refuses ends the program in there, with the report.
  const auto window = tintelo::win::MainWindow::Create(instance);
  window->Show();
  tintelo::win::WriteStartupMarks();

  // The messages, and the follow timer where it is a waitable timer. Modal loops (the
  // colour dialog, a message box, a menu) run no sampling, and need only the messages.
  // Without the timer, GetMessage alone: waiting on both costs a wait and two looks at
  // the queue for each message, where GetMessage takes one call (under Wine, one
  // round trip to its server each), and each pointer move is a message.
  MSG msg{};
  for (;;) {
    HANDLE follow = window->FollowWaitable();
    if (follow == nullptr) {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return static_cast<int>(msg.wParam);
      if (window->PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    if (MsgWaitForMultipleObjectsEx(1, &follow, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
      window->OnFollowWaitable();
    }
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      if (window->PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      // Sampling may have ended in there: the loop waits on the messages alone again.
      if (window->FollowWaitable() == nullptr) break;
    }
  }
}
