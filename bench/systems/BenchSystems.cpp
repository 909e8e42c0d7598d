// Twenty synthetic property systems for the catalogue benchmark, served by one in-process
// DLL: each answers GetPropertyPackages with ten names and does nothing else. The classes
// are registered by the benchmark itself, so the DLL has no self-registration.
#include <windows.h>
#include <oleauto.h>
#include <new>
#include <string>
#include "bench/BenchIds.h"
#include "external/CapeOpen.h"
#include "framework/ComPtr.h"

namespace {

LONG g_objects = 0;
LONG g_locks = 0;

class BenchSystem final : public ICapeThermoSystem {
 public:
  explicit BenchSystem(int index) : index_(index) { InterlockedIncrement(&g_objects); }
  BenchSystem(const BenchSystem&) = delete;
  BenchSystem& operator=(const BenchSystem&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, IID_ICapeThermoSystem))
      return E_NOINTERFACE;
    *object = static_cast<ICapeThermoSystem*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
      InterlockedDecrement(&g_objects);
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // No type information: the benchmark's callers bind early.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  STDMETHODIMP GetPropertyPackages(CapeVariant* list) override {
    if (!list) return E_POINTER;
    VariantInit(list);
    SAFEARRAY* names = SafeArrayCreateVector(VT_BSTR, 0, bench::kPackagesPerSystem);
    if (!names) return E_OUTOFMEMORY;
    for (LONG j = 0; j < bench::kPackagesPerSystem; ++j) {
      std::wstring name = L"Bench Package " + std::to_wstring(j);
      BSTR element = SysAllocString(name.c_str());
      HRESULT hr = element ? SafeArrayPutElement(names, &j, element) : E_OUTOFMEMORY;
      SysFreeString(element);  // SafeArrayPutElement stores a copy
      if (FAILED(hr)) {
        SafeArrayDestroy(names);
        return hr;
      }
    }
    list->vt = VT_ARRAY | VT_BSTR;
    list->parray = names;
    return S_OK;
  }
  STDMETHODIMP ResolvePropertyPackage(CapeString, CapeInterface* package) override {
    if (!package) return E_POINTER;
    *package = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~BenchSystem() = default;
  LONG refs_ = 1;
  int index_;
};

class SystemFactory final : public IClassFactory {
 public:
  explicit SystemFactory(int index) : index_(index) { InterlockedIncrement(&g_objects); }
  SystemFactory(const SystemFactory&) = delete;
  SystemFactory& operator=(const SystemFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
      InterlockedDecrement(&g_objects);
      delete this;
    }
    return static_cast<ULONG>(left);
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    BenchSystem* system = new (std::nothrow) BenchSystem(index_);
    if (!system) return E_OUTOFMEMORY;
    HRESULT hr = fw::queryInterface(system, iid, object);
    system->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) InterlockedIncrement(&g_locks);
    else InterlockedDecrement(&g_locks);
    return S_OK;
  }

 private:
  ~SystemFactory() = default;
  LONG refs_ = 1;
  int index_;
};

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  int index = bench::systemIndex(clsid);
  if (index < 0) return CLASS_E_CLASSNOTAVAILABLE;
  SystemFactory* factory = new (std::nothrow) SystemFactory(index);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = fw::queryInterface(factory, iid, object);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
