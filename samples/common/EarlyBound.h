// IDispatch of an object without type information: early binding only, every late call
// refused. It declares no virtual function of its own, so I's methods keep their slots.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include "framework/Module.h"
#include "samples/common/SampleModule.h"

namespace txs {

template <class I>
class EarlyBound : public I {
 public:
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
};

// A made-by-hand object of one interface I: reference count, live count and module lock;
// the derived class answers QueryInterface. Made with one reference.
template <class I>
class HandMade : public EarlyBound<I> {
 public:
  HandMade() { fw::Module::lock(); }
  // Virtual, so that Release deletes the derived object; its slots follow I's methods.
  virtual ~HandMade() { fw::Module::unlock(); }
  HandMade(const HandMade&) = delete;
  HandMade& operator=(const HandMade&) = delete;

  STDMETHOD_(ULONG, AddRef)() override { return ++refCount_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
  }

 private:
  LiveObject live_;
  ULONG refCount_ = 1;
};

}  // namespace txs
