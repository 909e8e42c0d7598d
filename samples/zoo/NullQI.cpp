#include "samples/zoo/NullQI.h"
#include <oaidl.h>
#include <new>
#include "samples/common/EarlyBound.h"
#include "samples/common/SampleModule.h"
#include "samples/common/SampleRegistry.h"

namespace txs {

namespace {

class NullQIObject : public HandMade<IDispatch> {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    try {
      logCall(kNullQI.key, "QueryInterface", guidText(riid));
    } catch (...) {
    }
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = static_cast<IUnknown*>(this);
      AddRef();
    }
    // Every other interface: "yes", and nothing to call it through.
    return S_OK;
  }
};

HRESULT createNullQI(REFIID riid, void** out) {
  NullQIObject* object = nullptr;
  try {
    object = new (std::nothrow) NullQIObject();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

}  // namespace

HRESULT createNullQIFactory(IClassFactory** factory) { return createCreatorFactory<createNullQI>(factory); }

}  // namespace txs
