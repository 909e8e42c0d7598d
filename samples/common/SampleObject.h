// Pieces every sample COM object shares: the generated CAPE-OPEN declarations, the
// dispatch base over the samples' type library, error-information support, and the
// object's name in the call log.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>
#include "SampleCapeOpen.h"
#include "framework/ComPtr.h"
#include "framework/DispatchImpl.h"
#include "framework/ObjectRoot.h"
#include "samples/common/SampleModule.h"

namespace txs {

template <class I, const IID* piid>
using SampleDispatch = fw::DispatchImpl<I, piid, &LIBID_TxSamplesLib>;

// Every failing sample method leaves COM error information for its interface.
class SupportErrorInfo : public ISupportErrorInfo {
 public:
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID) override { return S_OK; }
};

// The log name and live count of one object.
class SampleIdentity {
 public:
  SampleIdentity() = default;
  // Virtual so that an object deletes itself through its most derived class.
  virtual ~SampleIdentity() = default;
  SampleIdentity(const SampleIdentity&) = delete;
  SampleIdentity& operator=(const SampleIdentity&) = delete;
  void setLogName(const std::string& name) { logName_ = name; }
  const std::string& logName() const { return logName_; }
  // Never throws: a call whose entry cannot be made goes on unlogged.
  void log(const char* method, const char* arguments = nullptr) const noexcept {
    try {
      logCall(logName_, method, arguments ? arguments : "");
    } catch (...) {
    }
  }
  void log(const char* method, const std::string& arguments) const noexcept { log(method, arguments.c_str()); }

 private:
  LiveObject live_;
  std::string logName_;
};

// An object of class T with its FinalConstruct run and one reference held by 'out'
// (IID_IUnknown of T's table); the caller then sets it up through 'object'.
template <class T>
HRESULT createObject(fw::ComPtr<IUnknown>& out, T** object) {
  *object = nullptr;
  fw::ComObject<T>* created = nullptr;
  try {
    created = new (std::nothrow) fw::ComObject<T>();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  HRESULT hr = created->FinalConstruct();
  if (SUCCEEDED(hr)) hr = created->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out.put()));
  if (SUCCEEDED(hr)) *object = created;
  created->Release();
  return hr;
}

// Runs setup() where only an HRESULT may leave: a throw there means no memory.
template <class Setup>
HRESULT setUpOrNoMemory(Setup setup) {
  try {
    setup();
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

// A new T, set up by setup(T&) (a throw there means no memory), asked for 'riid'; on
// failure *out is null and the object is gone.
template <class T, class Setup>
HRESULT createObjectAs(Setup setup, REFIID riid, void** out) {
  *out = nullptr;
  fw::ComPtr<IUnknown> unknown;
  T* object = nullptr;
  HRESULT hr = createObject(unknown, &object);
  if (SUCCEEDED(hr)) hr = setUpOrNoMemory([&] { setup(*object); });
  if (FAILED(hr)) return hr;
  return fw::queryInterface(unknown.get(), riid, out);
}

}  // namespace txs
