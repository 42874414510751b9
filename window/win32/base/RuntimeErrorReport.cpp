// The run-time error report.
#include "window/win32/base/RuntimeErrorReport.h"

#include <string>

#include "window/win32/base/Text.h"

namespace tintelo::win {

namespace {

// The window's thread alone registers it and reports.
BeforeReport beforeReport = nullptr;

}  // namespace

void SetBeforeReport(BeforeReport letGo) noexcept { beforeReport = letGo; }

void ReportRuntimeErrorAndExit(HWND owner, int number, const char* text) noexcept {
  if (beforeReport != nullptr) beforeReport();
  try {
    const std::wstring message =
        L"Erreur d'exécution '" + Widen(std::to_string(number)) + L"' :\n\n" + Widen(text != nullptr ? text : "");
    MessageBoxW(IsWindow(owner) ? owner : nullptr, message.c_str(), L"Tintelo", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    MessageBoxW(nullptr, L"Erreur d'exécution", L"Tintelo", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
  ExitProcess(number > 0 ? static_cast<UINT>(number) : 1);
}

LRESULT ReportHandlerError(HWND owner, int number, const char* text) noexcept {
  // One thread runs every handler, the report's own message loop included.
  static bool reporting = false;
  if (reporting) return 0;
  reporting = true;
  ReportRuntimeErrorAndExit(owner, number, text);
}

void ReportStartupFailureAndExit(const char* what, int index, std::optional<DWORD> error) noexcept {
  try {
    std::string text = std::string("Out of memory\n\n") + what;
    if (index >= 0) text += '(' + std::to_string(index) + ')';
    if (error) text += " : erreur Windows " + std::to_string(*error);
    ReportRuntimeErrorAndExit(nullptr, kErrOutOfMemory, text.c_str());
  } catch (...) {
    ReportRuntimeErrorAndExit(nullptr, kErrOutOfMemory, "Out of memory");
  }
}

}  // namespace tintelo::win
