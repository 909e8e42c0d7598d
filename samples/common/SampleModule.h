// State and entry points shared by every sample DLL: the live-object count, the call
// log, the class table that each DLL supplies, and its registration.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <new>
#include <string>
#include "framework/ClassFactory.h"
#include "framework/Module.h"
#include "samples/common/SampleIds.h"

namespace txs {

struct SystemTraits;

// One class served by a DLL. createFactory is null for a class registered without a
// server; system is set for property systems, whose packages are registered too.
struct SampleClass {
  const ClassInfo* info;
  HRESULT (*createFactory)(IClassFactory** factory);
  const SystemTraits* system;
};

// Supplied by each DLL.
const SampleClass* sampleClasses(int* count);

// The class object 'Factory' with the one reference that *factory takes.
template <class Factory>
HRESULT handOutFactory(IClassFactory** factory) {
  auto* created = new (std::nothrow) Factory();
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  *factory = created;
  return S_OK;
}

// Class object of an ObjectRoot class T.
template <class T>
HRESULT createFactory(IClassFactory** factory) {
  return handOutFactory<fw::ClassFactory<T>>(factory);
}

// Class object of a class whose objects are made by hand rather than as ObjectRoot
// classes: each request goes to Create, aggregation is refused. As with
// fw::ClassFactory, its own references do not lock the module; LockServer does.
template <HRESULT (*Create)(REFIID riid, void** out)>
class CreatorFactory : public IClassFactory {
 public:
  CreatorFactory() = default;
  virtual ~CreatorFactory() = default;
  CreatorFactory(const CreatorFactory&) = delete;
  CreatorFactory& operator=(const CreatorFactory&) = delete;

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
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
    if (outer) return CLASS_E_NOAGGREGATION;
    return Create(riid, ppv);
  }
  STDMETHOD(LockServer)(BOOL lock) override {
    if (lock)
      fw::Module::lock();
    else
      fw::Module::unlock();
    return S_OK;
  }

 private:
  LONG refCount_ = 0;
};

template <HRESULT (*Create)(REFIID riid, void** out)>
HRESULT createCreatorFactory(IClassFactory** factory) {
  return handOutFactory<CreatorFactory<Create>>(factory);
}

// Counts one live sample object for as long as it exists.
class LiveObject {
 public:
  LiveObject();
  ~LiveObject();
  LiveObject(const LiveObject&) = delete;
  LiveObject& operator=(const LiveObject&) = delete;
};

LONG liveObjects();

// Appends "<object>.<method>" or "<object>.<method>(<arguments>)" to the call log.
void logCall(const std::string& object, const char* method, const std::string& arguments = std::string());
std::string callLogText();
void clearCallLog();

// Milliseconds after which an Edit window closes itself; 0 waits for the user.
DWORD editAutoClose();
void setEditAutoClose(DWORD milliseconds);

// Windows of the DLL that are open (they keep it loaded).
void windowOpened();
void windowClosed();
LONG openWindows();

}  // namespace txs
