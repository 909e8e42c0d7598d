#include "samples/zoo/QIFails.h"
#include <oaidl.h>
#include <new>
#include "framework/Module.h"
#include "samples/common/SampleModule.h"
#include "samples/common/SampleRegistry.h"

namespace txs {

namespace {

class QIFailsObject : public IDispatch {
 public:
  QIFailsObject() : refCount_(1) { fw::Module::lock(); }
  virtual ~QIFailsObject() { fw::Module::unlock(); }
  QIFailsObject(const QIFailsObject&) = delete;
  QIFailsObject& operator=(const QIFailsObject&) = delete;

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (ppv) *ppv = nullptr;
    try {
      logCall(kQIFails.key, "QueryInterface", guidText(riid));
    } catch (...) {
    }
    return E_FAIL;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refCount_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
  }
  STDMETHOD(GetTypeInfoCount)(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  LiveObject live_;
  LONG refCount_;
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
