// Class factory of one COM class T (an ObjectRoot class with interfaceTable()).
// Its own references do not lock the module; LockServer does.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include "framework/ObjectRoot.h"

namespace fw {

template <class T>
class ClassFactory : public IClassFactory {
 public:
  ClassFactory() : refCount_(0) {}
  virtual ~ClassFactory() {}

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&refCount_); }
  STDMETHOD_(ULONG, Release)() override {
    LONG count = InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return count;
  }

  STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return AggObject<T>::CreateInstance(outer, riid, ppv);
    return ComObject<T>::CreateInstance(riid, ppv);
  }
  STDMETHOD(LockServer)(BOOL lock) override {
    if (lock) Module::lock(); else Module::unlock();
    return S_OK;
  }

 private:
  LONG refCount_;
};

}  // namespace fw
