#include "samples/zoo/QIFails.h"
#include <oaidl.h>
#include <new>
#include "framework/Module.h"
#include "samples/common/EarlyBound.h"
#include "samples/common/SampleModule.h"
#include "samples/common/SampleRegistry.h"

namespace txs {

namespace {

class QIFailsObject : public HandMade<IDispatch> {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (ppv) *ppv = nullptr;
    try {
      logCall(kQIFails.key, "QueryInterface", guidText(riid));
    } catch (...) {
    }
    return E_FAIL;
  }
};

// The object is both its IUnknown and its IDispatch; any other request fails as its
// QueryInterface would.
HRESULT createQIFails(REFIID riid, void** out) {
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_FAIL;
  QIFailsObject* object = nullptr;
  try {
    object = new (std::nothrow) QIFailsObject();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!object) return E_OUTOFMEMORY;
  *out = static_cast<IDispatch*>(object);
  return S_OK;
}

}  // namespace

HRESULT createQIFailsFactory(IClassFactory** factory) { return createCreatorFactory<createQIFails>(factory); }

}  // namespace txs
