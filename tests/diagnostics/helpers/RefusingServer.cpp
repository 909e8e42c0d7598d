// An in-process server whose class object refuses to make any object: creation fails
// with E_OUTOFMEMORY after the server was found.
#include <windows.h>
#include <objbase.h>

namespace {

class RefusingFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_OUTOFMEMORY;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

RefusingFactory g_factory;

}  // namespace

extern "C" {
HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID iid, void** object) { return g_factory.QueryInterface(iid, object); }
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
}
