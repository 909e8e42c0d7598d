#include "cohost/CaseContainer.h"
#include <cstdio>
#include <new>
#include "cohost/Console.h"
#include "framework/WideText.h"
#include "support/CTxBSTR.h"

namespace {

// Minimal IDispatch for the host's helper objects: no late binding.
#define TX_NO_DISPATCH                                                                                    \
  STDMETHOD(GetTypeInfoCount)(UINT* count) override { if (count) *count = 0; return S_OK; }             \
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                       \
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }      \
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {   \
    return E_NOTIMPL;                                                                                     \
  }

#define TX_SLOT(n) STDMETHOD(Reserved##n)() override { return E_NOTIMPL; }

// Reference counting and QueryInterface for IUnknown, IDispatch and the object's own table.
#define TX_UNKNOWN(Interface)                                                                             \
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {                                           \
    if (!ppv) return E_POINTER;                                                                           \
    *ppv = nullptr;                                                                                       \
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;        \
    *ppv = static_cast<Interface*>(this);                                                                 \
    AddRef();                                                                                             \
    return S_OK;                                                                                          \
  }                                                                                                       \
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }       \
  STDMETHOD_(ULONG, Release)() override {                                                                 \
    LONG count = InterlockedDecrement(&refs_);                                                            \
    if (count == 0) delete this;                                                                          \
    return static_cast<ULONG>(count);                                                                     \
  }

// Object B: the host's message log, readied before each message.
class MessageLog : public ExtnMessageLog {
 public:
  TX_UNKNOWN(ExtnMessageLog)
  TX_NO_DISPATCH
  TX_SLOT(7) TX_SLOT(8) TX_SLOT(9) TX_SLOT(10) TX_SLOT(11) TX_SLOT(12) TX_SLOT(13) TX_SLOT(14)
  TX_SLOT(15) TX_SLOT(16) TX_SLOT(17) TX_SLOT(18) TX_SLOT(19) TX_SLOT(20)
  STDMETHOD(Prepare)(long) override { return S_OK; }

 private:
  virtual ~MessageLog() {}
  LONG refs_ = 1;
};

// Object A: the host's context, which hands out the log.
class HostContext : public ExtnHostContext {
 public:
  TX_UNKNOWN(ExtnHostContext)
  TX_NO_DISPATCH
  TX_SLOT(7) TX_SLOT(8) TX_SLOT(9) TX_SLOT(10) TX_SLOT(11) TX_SLOT(12) TX_SLOT(13) TX_SLOT(14)
  TX_SLOT(15) TX_SLOT(16) TX_SLOT(17) TX_SLOT(18) TX_SLOT(19) TX_SLOT(20) TX_SLOT(21) TX_SLOT(22)
  TX_SLOT(23) TX_SLOT(24) TX_SLOT(25) TX_SLOT(26) TX_SLOT(27) TX_SLOT(28) TX_SLOT(29) TX_SLOT(30)
  TX_SLOT(31) TX_SLOT(32)
  STDMETHOD(GetMessageLog)(ExtnMessageLog** log) override {
    if (!log) return E_POINTER;
    *log = new (std::nothrow) MessageLog();
    return *log ? S_OK : E_OUTOFMEMORY;
  }

 private:
  virtual ~HostContext() {}
  LONG refs_ = 1;
};

}  // namespace

CaseContainer::CaseContainer(IStorage* root, const wchar_t* componentName)
    : refs_(1), root_(root), componentName_(componentName ? componentName : L"Component") {}

HRESULT CaseContainer::create(IStorage* root, const wchar_t* componentName, CaseContainer** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) CaseContainer(root, componentName);
  return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CaseContainer::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_ExtnContainer) ||
      IsEqualIID(riid, IID_ExtnContainerUnit)) {
    *ppv = static_cast<ExtnContainer*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CaseContainer::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) CaseContainer::Release() {
  LONG count = InterlockedDecrement(&refs_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CaseContainer::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP CaseContainer::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CaseContainer::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP CaseContainer::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP CaseContainer::GetHostContext(ExtnHostContext** context) {
  if (!context) return E_POINTER;
  *context = new (std::nothrow) HostContext();
  return *context ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CaseContainer::AddMessage(BSTR message, long) {
  try {
    messages_.push_back(narrowFromWide(message));
    printText(stderr, "[host message] %s\n", messages_.back().c_str());
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

STDMETHODIMP CaseContainer::GetStorage(long mode, VARIANT* storage) {
  if (!storage) return E_POINTER;
  VariantInit(storage);
  modes_.push_back(mode);
  if (!root_) return E_UNEXPECTED;
  fw::ComPtr<IStorage> component;
  const DWORD exclusive = static_cast<DWORD>(mode) | STGM_SHARE_EXCLUSIVE;
  HRESULT hr;
  if (mode == extnStorageSave) {
    hr = root_->CreateStorage(componentName_.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                              component.put());
  } else {
    hr = root_->OpenStorage(componentName_.c_str(), nullptr, exclusive, nullptr, 0, component.put());
    // A component new to the case has no storage yet.
    if (hr == STG_E_FILENOTFOUND)
      hr = root_->CreateStorage(componentName_.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                component.put());
  }
  if (FAILED(hr)) return hr;
  storage->vt = VT_UNKNOWN;
  storage->punkVal = component.detach();
  return S_OK;
}
