#include "samples/host/HostContainer.h"
#include <oleauto.h>
#include "external/ExtnContainer.h"
#include "framework/ComPtr.h"
#include "framework/Module.h"
#include "samples/common/ComHelpers.h"
#include "samples/host/HostObjects.h"

namespace txs {

namespace {

const DWORD kSubStorageCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

// A container of the registered class: in memory until a file is opened.
HRESULT createRegisteredContainer(REFIID riid, void** out) { return HostContainer::create(nullptr, 0, riid, out); }

}  // namespace

HostContainer::HostContainer() : refCount_(0), failures_(0), componentName_(kDefaultComponentStorage) {
  fw::Module::lock();
  setLogName(kHostContainer.key);
}

HostContainer::~HostContainer() {
  root_.reset();
  fw::Module::unlock();
}

HRESULT HostContainer::create(const wchar_t* file, DWORD failures, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  HostContainer* created = nullptr;
  try {
    created = new (std::nothrow) HostContainer();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!created) return E_OUTOFMEMORY;
  fw::ComPtr<ISampleHostControl> control(static_cast<ISampleHostControl*>(created));
  created->failures_ = failures;
  HRESULT hr = S_OK;
  if (file) hr = created->OpenFile(file, GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES);
  if (SUCCEEDED(hr)) hr = fw::queryInterface(control.get(), riid, out);
  return hr;
}

STDMETHODIMP HostContainer::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_ExtnContainer) || IsEqualIID(riid, IID_ExtnContainerUnit)) {
    bool unit = IsEqualIID(riid, IID_ExtnContainerUnit);
    log("QueryInterface", unit ? "ExtnContainerUnit" : "ExtnContainer");
    if (failures_ & (unit ? hostRefuseUnitIid : hostRefuseContainerIid)) return E_NOINTERFACE;
    *ppv = static_cast<SampleExtnContainer*>(this);
  } else if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *ppv = static_cast<SampleExtnContainer*>(this);
  } else if (IsEqualIID(riid, IID_ISampleHostControl)) {
    *ppv = static_cast<ISampleHostControl*>(this);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *ppv = static_cast<ISupportErrorInfo*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) HostContainer::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) HostContainer::Release() {
  ULONG count = --refCount_;
  if (count == 0) delete this;
  return count;
}

HRESULT HostContainer::slot(int position) {
  try {
    log(("Slot" + std::to_string(position)).c_str());
  } catch (...) {
  }
  return E_NOTIMPL;
}

STDMETHODIMP HostContainer::Slot7() { return slot(7); }
STDMETHODIMP HostContainer::Slot8() { return slot(8); }
STDMETHODIMP HostContainer::Slot9() { return slot(9); }
STDMETHODIMP HostContainer::Slot10() { return slot(10); }
STDMETHODIMP HostContainer::Slot13() { return slot(13); }
STDMETHODIMP HostContainer::Slot14() { return slot(14); }
STDMETHODIMP HostContainer::Slot15() { return slot(15); }
STDMETHODIMP HostContainer::Slot16() { return slot(16); }
STDMETHODIMP HostContainer::Slot17() { return slot(17); }
STDMETHODIMP HostContainer::Slot18() { return slot(18); }
STDMETHODIMP HostContainer::Slot19() { return slot(19); }

STDMETHODIMP HostContainer::GetHostContext(SampleHostContext** context) {
  log("GetHostContext");
  if (!context) return E_POINTER;
  *context = nullptr;
  if (failures_ & hostFailHostContext)
    return failWith(E_FAIL, L"The host has no context for this component", IID_SampleExtnContainer);
  return HostContext::create(failures_, IID_SampleHostContext, reinterpret_cast<void**>(context));
}

STDMETHODIMP HostContainer::AddMessage(BSTR message, LONG flags) {
  try {
    log("AddMessage", narrowFromWide(message) + "," + std::to_string(flags));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (failures_ & hostFailAddMessage)
    return failWith(E_FAIL, L"The host could not record the message", IID_SampleExtnContainer);
  return S_OK;
}

HRESULT HostContainer::ensureRoot() {
  if (root_) return S_OK;
  fw::ComPtr<ILockBytes> bytes;
  HRESULT hr = CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
  if (SUCCEEDED(hr)) hr = StgCreateDocfileOnILockBytes(bytes.get(), kSubStorageCreate, 0, root_.put());
  return hr;
}

STDMETHODIMP HostContainer::GetStorage(LONG mode, VARIANT* storage) {
  try {
    log("GetStorage", std::to_string(mode));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  if (!storage) return E_POINTER;
  VariantInit(storage);
  if (failures_ & hostFailGetStorage)
    return failWith(E_FAIL, L"The host cannot give a storage", IID_SampleExtnContainer);
  if (failures_ & hostNoStorage) return S_OK;
  if (failures_ & hostStorageWithoutIStorage) {
    fw::ComPtr<IUnknown> other;
    HRESULT hr = HostContext::create(failures_, IID_IUnknown, other.put_void());
    if (FAILED(hr)) return hr;
    storage->vt = VT_UNKNOWN;
    storage->punkVal = other.detach();
    return S_OK;
  }
  HRESULT hr = ensureRoot();
  fw::ComPtr<IStorage> component;
  if (SUCCEEDED(hr)) {
    if (mode == extnStorageSave) {
      hr = root_->CreateStorage(componentName_.c_str(), kSubStorageCreate, 0, 0, component.put());
    } else {
      hr = root_->OpenStorage(componentName_.c_str(), nullptr, static_cast<DWORD>(mode), nullptr, 0, component.put());
      // A component new to the case has no storage yet.
      if (hr == STG_E_FILENOTFOUND)
        hr = root_->CreateStorage(componentName_.c_str(), kSubStorageCreate, 0, 0, component.put());
    }
  }
  if (FAILED(hr)) return failWith(hr, L"The host's case file gives no storage", IID_SampleExtnContainer);
  if (failures_ & hostStorageByReference) {
    referenced_ = component;
    byReference_ = referenced_.get();
    storage->vt = VT_BYREF | VT_UNKNOWN;
    storage->ppunkVal = &byReference_;
    return S_OK;
  }
  storage->vt = (failures_ & hostStorageAsDispatch) ? VT_DISPATCH : VT_UNKNOWN;
  storage->punkVal = component.detach();
  return S_OK;
}

STDMETHODIMP HostContainer::OpenFile(LPCWSTR path, BOOL create) {
  if (!path) return E_POINTER;
  root_.reset();
  if (create) return StgCreateDocfile(path, kSubStorageCreate, 0, root_.put());
  return StgOpenStorage(path, nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, root_.put());
}

STDMETHODIMP HostContainer::CloseFile() {
  HRESULT hr = root_ ? root_->Commit(STGC_DEFAULT) : S_OK;
  root_.reset();
  return hr;
}

STDMETHODIMP HostContainer::SetComponentName(LPCWSTR name) {
  if (!name || !*name) return E_INVALIDARG;
  try {
    componentName_ = name;
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP HostContainer::SetFailures(DWORD failures) {
  failures_ = failures;
  return S_OK;
}

STDMETHODIMP HostContainer::GetRootStorage(IStorage** root) {
  if (!root) return E_POINTER;
  *root = nullptr;
  HRESULT hr = ensureRoot();
  return SUCCEEDED(hr) ? root_.copyTo(root) : hr;
}

STDMETHODIMP HostContainer::AddComponent(LPCWSTR name, IDispatch** container) {
  if (!container) return E_POINTER;
  *container = nullptr;
  if (!name || !*name) return E_INVALIDARG;
  HRESULT hr = ensureRoot();
  if (FAILED(hr)) return hr;
  fw::ComPtr<IDispatch> created;
  hr = create(nullptr, 0, IID_IDispatch, created.put_void());
  if (FAILED(hr)) return hr;
  HostContainer* sibling = static_cast<HostContainer*>(static_cast<SampleExtnContainer*>(created.get()));
  sibling->root_ = root_;
  hr = sibling->SetComponentName(name);
  if (SUCCEEDED(hr)) *container = created.detach();
  return hr;
}

HRESULT createHostContainerFactory(IClassFactory** factory) {
  return createCreatorFactory<createRegisteredContainer>(factory);
}

}  // namespace txs
