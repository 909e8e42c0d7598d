// Object root for COM classes: a single-threaded reference count, the outer unknown of
// an aggregated object, and the table-driven QueryInterface. The implementation class
// derives from its interfaces and from ObjectRoot; ComObject<T> (plain) and
// AggObject<T> (aggregated) supply IUnknown, as ATL's CComObject/CComAggObject do.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <new>
#include "framework/Module.h"

namespace fw {

// One row of an interface table: the IID and the offset of the interface in the class.
struct InterfaceEntry {
  const IID* iid;
  ptrdiff_t offset;
};

// Offset of interface I in class C, for InterfaceEntry tables.
template <class C, class I>
ptrdiff_t interfaceOffset() {
  // Any non-null address serves: only the difference is used.
  C* object = reinterpret_cast<C*>(8);
  return reinterpret_cast<char*>(static_cast<I*>(object)) - reinterpret_cast<char*>(object);
}

class ObjectRoot {
 public:
  ObjectRoot() : refCount_(0), outerUnknown_(nullptr) {}
  HRESULT FinalConstruct() { return S_OK; }
  void FinalRelease() {}

  // Finds riid in a table ended by a null IID; IUnknown answers with the first entry.
  // The pointer handed out is AddRef'ed through its own IUnknown, which is the outer
  // object's when aggregated.
  static HRESULT InternalQueryInterface(void* self, const InterfaceEntry* table, REFIID riid, void** ppv);

 protected:
  ULONG internalAddRef() { return ++refCount_; }
  ULONG internalRelease() { return --refCount_; }

  LONG refCount_;
  IUnknown* outerUnknown_;

  template <class T> friend class ComObject;
  template <class T> friend class ContainedObject;
  template <class T> friend class AggObject;
};

// A plain object: IUnknown of its own; the module stays locked while it lives.
template <class T>
class ComObject : public T {
 public:
  ComObject() { Module::lock(); }
  ~ComObject() {
    // A large count keeps AddRef/Release inside FinalRelease from deleting again.
    this->refCount_ = -(LONG_MAX / 2);
    this->FinalRelease();
    Module::unlock();
  }
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    return ObjectRoot::InternalQueryInterface(this, T::interfaceTable(), riid, ppv);
  }
  STDMETHOD_(ULONG, AddRef)() override { return this->internalAddRef(); }
  STDMETHOD_(ULONG, Release)() override {
    ULONG count = this->internalRelease();
    if (count == 0) delete this;
    return count;
  }

  // Builds an object, runs FinalConstruct and asks it for riid; on failure the object is gone.
  static HRESULT CreateInstance(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComObject* object = nullptr;
    try {
      object = new (std::nothrow) ComObject();
    } catch (...) {
      // A constructor that throws (a string that cannot be allocated) means no memory.
      return E_OUTOFMEMORY;
    }
    if (!object) return E_OUTOFMEMORY;
    object->internalAddRef();
    HRESULT hr = E_OUTOFMEMORY;
    try {
      hr = object->FinalConstruct();
      if (SUCCEEDED(hr)) hr = object->QueryInterface(riid, ppv);
    } catch (...) {
      // FinalConstruct builds members that allocate; a throw there means no memory.
      hr = E_OUTOFMEMORY;
    }
    object->Release();
    return hr;
  }
};

// The aggregated part of an AggObject: its IUnknown is the outer object's.
template <class T>
class ContainedObject : public T {
 public:
  explicit ContainedObject(IUnknown* outer) { this->outerUnknown_ = outer; }
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override { return this->outerUnknown_->QueryInterface(riid, ppv); }
  STDMETHOD_(ULONG, AddRef)() override { return this->outerUnknown_->AddRef(); }
  STDMETHOD_(ULONG, Release)() override { return this->outerUnknown_->Release(); }
};

// An aggregated object: the non-delegating IUnknown that the outer object holds.
template <class T>
class AggObject : public IUnknown {
 public:
  explicit AggObject(IUnknown* outer) : refCount_(0), contained_(outer) { Module::lock(); }
  virtual ~AggObject() {
    refCount_ = -(LONG_MAX / 2);
    contained_.FinalRelease();
    Module::unlock();
  }
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return ObjectRoot::InternalQueryInterface(static_cast<T*>(&contained_), T::interfaceTable(), riid, ppv);
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refCount_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
  }

  static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    // COM rules: an aggregating outer object may only ask for IUnknown.
    if (!outer || !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    AggObject* object = nullptr;
    try {
      object = new (std::nothrow) AggObject(outer);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    HRESULT hr = E_OUTOFMEMORY;
    try {
      hr = object->contained_.FinalConstruct();
      if (SUCCEEDED(hr)) hr = object->QueryInterface(riid, ppv);
    } catch (...) {
      hr = E_OUTOFMEMORY;
    }
    object->Release();
    return hr;
  }

 private:
  LONG refCount_;
  ContainedObject<T> contained_;
};

}  // namespace fw
