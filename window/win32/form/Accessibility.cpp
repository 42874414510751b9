// Dynamic annotation of the swatch and the sliders for screen readers.
#include "window/win32/form/Accessibility.h"

#include <oleacc.h>

#include "window/win32/base/Compat.h"

namespace tintelo::win {

namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);

// COM interfaces have no virtual destructor: their objects are never deleted through them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// Answers the annotation service from the window's texts each time a client reads them,
// so a colour that changes 20 times a second costs nothing while nobody listens.
class PropServer final : public IAccPropServer {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, IID_IAccPropServer)) {
      *object = static_cast<IAccPropServer*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // One object for the program's whole life: references need no counting.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetPropValue(const BYTE* id, DWORD idLength, MSAAPROPID prop, VARIANT* value,
                                         BOOL* has) override {
    if (value == nullptr || has == nullptr) return E_POINTER;
    value->vt = VT_EMPTY;
    *has = FALSE;
    if (source == nullptr || services == nullptr || allocString == nullptr) return S_OK;
    HWND control = nullptr;
    DWORD object = 0;
    DWORD child = 0;
    if (FAILED(services->DecomposeHwndIdentityString(id, idLength, &control, &object, &child)) ||
        child != CHILDID_SELF) {
      return S_OK;
    }
    std::wstring text;
    if (IsEqualGUID(prop, PROPID_ACC_NAME)) text = source->AccessibleName(control);
    if (IsEqualGUID(prop, PROPID_ACC_VALUE)) text = source->AccessibleValue(control);
    if (text.empty()) return S_OK;  // the standard object's own
    value->bstrVal = allocString(text.c_str());
    if (value->bstrVal == nullptr) return E_OUTOFMEMORY;
    value->vt = VT_BSTR;
    *has = TRUE;
    return S_OK;
  }

  const AccessibleText* source = nullptr;
  IAccPropServices* services = nullptr;
  SysAllocStringFn allocString = nullptr;
  CoUninitializeFn uninitialize = nullptr;
};
#pragma GCC diagnostic pop

PropServer& Server() {
  static PropServer server;
  return server;
}

// The annotation service's calls for the swatch and the sliders, each answered by the
// server above.
class ServiceCalls final : public AnnotationService {
 public:
  explicit ServiceCalls(PropServer& server) noexcept : server_(server) {}

  bool Annotate(Control control, AccessibleProperty property) override {
    const MSAAPROPID id = IdOf(property);
    return SUCCEEDED(server_.services->SetHwndPropServer(
        reinterpret_cast<HWND>(control), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &id, 1, &server_, ANNO_THIS));
  }
  void Clear(Control control, AccessibleProperty property) override {
    const MSAAPROPID id = IdOf(property);
    // Only on the way out, for annotations the service took: a refusal here leaves
    // nothing this program could do, and the windows go right after.
    (void)server_.services->ClearHwndProps(reinterpret_cast<HWND>(control), static_cast<DWORD>(OBJID_CLIENT),
                                           CHILDID_SELF, &id, 1);
  }

 private:
  static MSAAPROPID IdOf(AccessibleProperty property) {
    return property == AccessibleProperty::Name ? PROPID_ACC_NAME : PROPID_ACC_VALUE;
  }

  PropServer& server_;
};

// Lets go of the service and of COM.
void Release(PropServer& server) {
  server.services->Release();
  server.services = nullptr;
  server.source = nullptr;
  server.uninitialize();
}

}  // namespace

void Annotations::OnObjectRequested(std::span<const AnnotationService::Control> controls,
                                    const AccessibleText& source) {
  if (tried_) return;
  tried_ = true;  // a system without the service is not asked again at every request
  // Only now that a client is there.
  HMODULE ole = LoadSystemLibrary(L"ole32.dll");
  HMODULE automation = LoadSystemLibrary(L"oleaut32.dll");
  const auto initialize = ProcAddress<CoInitializeExFn>(ole, "CoInitializeEx");
  const auto uninitialize = ProcAddress<CoUninitializeFn>(ole, "CoUninitialize");
  const auto create = ProcAddress<CoCreateInstanceFn>(ole, "CoCreateInstance");
  const auto allocString = ProcAddress<SysAllocStringFn>(automation, "SysAllocString");
  if (initialize == nullptr || uninitialize == nullptr || create == nullptr || allocString == nullptr) return;
  // The service calls the server back on this thread, through the window's message loop.
  if (FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED))) return;
  IAccPropServices* services = nullptr;
  if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                    reinterpret_cast<void**>(&services)))) {
    uninitialize();
    return;
  }
  PropServer& server = Server();
  server.source = &source;
  server.services = services;
  server.allocString = allocString;
  server.uninitialize = uninitialize;
  ServiceCalls calls(server);
  annotated_.Annotate(calls, controls);
  // A system that took none (Wine answers E_NOTIMPL) has no use for the service or COM.
  if (!annotated_.Any()) Release(server);
}

void Annotations::Clear() {
  if (!annotated_.Any()) return;
  PropServer& server = Server();
  ServiceCalls calls(server);
  annotated_.Clear(calls);
  Release(server);
}

}  // namespace tintelo::win
