// What a screen reader is told about the swatch and the sliders, read through UI
// Automation as Narrator reads it: the names "Couleur", "R", "G" and "B", the swatch's
// value as the HTML field shows it, each slider's value its component, 0 to 255, at
// start-up and after the red slider is pushed to the top. Wine cannot hand an accessible
// object to another process, so this runs on Windows only, in the GitHub workflow's
// Windows job; it is no part of the end-to-end suite. Exit code 0 when everything holds.
//
// It uses UIAutomationCore's node functions (UiaNodeFromHandle, UiaGetPropertyValue),
// the client API under both UI Automation client libraries, with the system's own
// proxies for standard controls: those are what Narrator is given. The managed
// System.Windows.Automation would put its own older proxies in their place.
#include <windows.h>

#include <oleauto.h>
#include <uiautomationclient.h>  // the property identifiers

#include <array>
#include <cstdio>
#include <string>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

using namespace tintelo::e2e;
namespace ids = tintelo::ids;

namespace {

// Declared here, loaded at run time: some mingw-w64 headers leave them out. A node is an
// opaque handle (HUIANODE in UIAutomationCoreApi.h).
using UiaNode = void*;
using NodeFromHandleFn = HRESULT(WINAPI*)(HWND, UiaNode*);
using GetPropertyValueFn = HRESULT(WINAPI*)(UiaNode, int, VARIANT*);
using NodeReleaseFn = BOOL(WINAPI*)(UiaNode);

struct UiaCore {
  NodeFromHandleFn nodeFromHandle = nullptr;
  GetPropertyValueFn getPropertyValue = nullptr;
  NodeReleaseFn nodeRelease = nullptr;
};

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A string property of the window's UI Automation element; "(none)" when the element or
// the property is missing (UI Automation answers an object, not a string, for a property
// the element does not support).
std::wstring Property(const UiaCore& uia, HWND window, int property) {
  UiaNode node = nullptr;
  if (FAILED(uia.nodeFromHandle(window, &node)) || node == nullptr) return L"(no element)";
  VARIANT value;
  VariantInit(&value);
  std::wstring text = L"(none)";
  if (SUCCEEDED(uia.getPropertyValue(node, property, &value))) {
    if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
      text.assign(value.bstrVal, SysStringLen(value.bstrVal));
    } else if (value.vt == VT_R8) {
      text = std::to_wstring(value.dblVal);
    }
  }
  VariantClear(&value);
  uia.nodeRelease(node);
  return text;
}

struct Expected {
  int id;
  const wchar_t* name;
  std::wstring value;
};

bool Holds(const UiaCore& uia, const Expected& e, HWND control) {
  return Property(uia, control, UIA_NamePropertyId) == e.name &&
         Property(uia, control, UIA_LegacyIAccessibleValuePropertyId) == e.value;
}

// Waits for every expectation (the program sets up what screen readers are told on their
// first request, and a slider's value follows its position), then prints what was read.
bool Check(const UiaCore& uia, const Tintelo& app, const char* when, const std::array<Expected, 4>& expected) {
  WaitUntil([&] {
    for (const Expected& e : expected) {
      if (!Holds(uia, e, app.Control(e.id))) return false;
    }
    return true;
  });
  bool all = true;
  for (const Expected& e : expected) {
    HWND control = app.Control(e.id);
    const bool holds = Holds(uia, e, control);
    all = all && holds;
    std::printf("%s %s: name \"%s\", value \"%s\" (expected \"%s\", \"%s\"); Value \"%s\", RangeValue \"%s\"\n",
                holds ? "ok    " : "FAILED", when, Narrow(Property(uia, control, UIA_NamePropertyId)).c_str(),
                Narrow(Property(uia, control, UIA_LegacyIAccessibleValuePropertyId)).c_str(), Narrow(e.name).c_str(),
                Narrow(e.value).c_str(), Narrow(Property(uia, control, UIA_ValueValuePropertyId)).c_str(),
                Narrow(Property(uia, control, UIA_RangeValueValuePropertyId)).c_str());
  }
  return all;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 2;
  HMODULE core = LoadLibraryExW(L"UIAutomationCore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const UiaCore uia{Entry<NodeFromHandleFn>(core, "UiaNodeFromHandle"),
                    Entry<GetPropertyValueFn>(core, "UiaGetPropertyValue"),
                    Entry<NodeReleaseFn>(core, "UiaNodeRelease")};
  if (core == nullptr || uia.nodeFromHandle == nullptr || uia.getPropertyValue == nullptr ||
      uia.nodeRelease == nullptr) {
    std::puts("UIAutomationCore.dll or its node functions are missing");
    return 2;
  }
  bool all = false;
  {
    Tintelo app;
    if (app.Window() == nullptr) {
      std::puts("Tintelo's window never appeared");
      return 2;
    }
    all = Check(uia, app, "at start-up",
                {{{ids::kPicture1, L"Couleur", L"#000000"},
                  {ids::kHScroll1 + 0, L"R", L"0"},
                  {ids::kHScroll1 + 1, L"G", L"0"},
                  {ids::kHScroll1 + 2, L"B", L"0"}}});
    // What the scroll bar itself sends its window for the Home key.
    SendAndWait(app.Window(), WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(app.Control(ids::kHScroll1)));
    all = Check(uia, app, "red at the top",
                {{{ids::kPicture1, L"Couleur", L"#FF0000"},
                  {ids::kHScroll1 + 0, L"R", L"255"},
                  {ids::kHScroll1 + 1, L"G", L"0"},
                  {ids::kHScroll1 + 2, L"B", L"0"}}}) &&
          all;
    if (!app.Close()) all = false;
  }
  CoUninitialize();
  return all ? 0 : 1;
}
