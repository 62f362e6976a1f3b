// The in-process server around the stand-in capture filter: the class
// factory that CoCreateInstance reaches through the registry.
#include <windows.h>

#include "capture_filter.h"

namespace {

class FilterFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // A static object: its lifetime is the module's.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    equipment::CaptureFilter* filter = new equipment::CaptureFilter();
    HRESULT hr = filter->QueryInterface(riid, out);
    filter->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

FilterFactory factory;

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != equipment::CLSID_StandInCapture) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(riid, out);
}

// The module stays loaded for the life of the process; a test process is short.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
