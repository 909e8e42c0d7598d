#include "samples/common/SampleUnit.h"
#include <oleauto.h>
#include "samples/common/ComHelpers.h"

namespace txs {

namespace {

// The persisted record: magic, format version, text length in characters, the text
// (UTF-16), the number.
const DWORD kRecordMagic = 0x44535854;  // "TXSD"
const DWORD kRecordVersion = 1;

HRESULT readExactly(IStream* stream, void* data, ULONG size) {
  ULONG read = 0;
  HRESULT hr = stream->Read(data, size, &read);
  if (FAILED(hr)) return hr;
  return read == size ? S_OK : STG_E_READFAULT;
}

HRESULT writeExactly(IStream* stream, const void* data, ULONG size) {
  ULONG written = 0;
  HRESULT hr = stream->Write(data, size, &written);
  if (FAILED(hr)) return hr;
  return written == size ? S_OK : STG_E_WRITEFAULT;
}

}  // namespace

void SampleUnit::buildTable(const UnitTraits& traits, fw::InterfaceEntry* table) {
  int n = 0;
  auto add = [&](const IID* iid, ptrdiff_t offset) { table[n++] = {iid, offset}; };
  if (traits.unit10) {
    add(&IID_ICapeUnit, fw::interfaceOffset<SampleUnit, ICapeUnit>());
    add(&IID_IDispatch, fw::interfaceOffset<SampleUnit, ICapeUnit>());
  } else {
    add(&IID_IDispatch, fw::interfaceOffset<SampleUnit, ICapeIdentification>());
  }
  if (traits.utilities) {
    add(&IID_ICapeUtilities, fw::interfaceOffset<SampleUnit, ICapeUtilities>());
    add(&IID_ICapeIdentification, fw::interfaceOffset<SampleUnit, ICapeIdentification>());
  }
  if (traits.unit10 || traits.utilities)
    add(&IID_ISupportErrorInfo, fw::interfaceOffset<SampleUnit, ISupportErrorInfo>());
  bool storage = traits.persist == PersistKind::Storage || traits.persist == PersistKind::StorageAndStreamInit;
  bool streamInit = traits.persist == PersistKind::StreamInit || traits.persist == PersistKind::StorageAndStreamInit;
  bool stream = traits.persist == PersistKind::Stream;
  if (storage) add(&IID_IPersistStorage, fw::interfaceOffset<SampleUnit, IPersistStorage>());
  if (streamInit) add(&IID_IPersistStreamInit, fw::interfaceOffset<SampleUnit, IPersistStreamInit>());
  if (stream) add(&IID_IPersistStream, fw::interfaceOffset<SampleUnit, IPersistStream>());
  if (storage)
    add(&IID_IPersist, fw::interfaceOffset<SampleUnit, IPersistStorage>());
  else if (streamInit)
    add(&IID_IPersist, fw::interfaceOffset<SampleUnit, IPersistStreamInit>());
  else if (stream)
    add(&IID_IPersist, fw::interfaceOffset<SampleUnit, IPersistStream>());
  if (traits.persist != PersistKind::None) add(&IID_ISampleData, fw::interfaceOffset<SampleUnit, ISampleData>());
  table[n] = {nullptr, 0};
}

void SampleUnit::setup(const UnitTraits& traits) {
  traits_ = &traits;
  setLogName(traits.info->key);
  nameAfter(*traits.info);
  answers_.noParameters = L"The sample unit has no parameters";
  answers_.terminateFails = traits.terminateFails;
}

REFIID SampleUnit::streamIid() const {
  return traits_->persist == PersistKind::Stream ? IID_IPersistStream : IID_IPersistStreamInit;
}

// --- ICapeUnit ---

STDMETHODIMP SampleUnit::get_ports(IDispatch** ports) {
  log("get_ports");
  if (!ports) return E_POINTER;
  *ports = nullptr;
  return failWith(E_NOTIMPL, L"The sample unit has no ports", IID_ICapeUnit);
}

STDMETHODIMP SampleUnit::get_ValStatus(LONG* status) {
  log("get_ValStatus");
  if (!status) return E_POINTER;
  *status = 1;  // valid
  return S_OK;
}

STDMETHODIMP SampleUnit::Calculate() {
  log("Calculate");
  return S_OK;
}

STDMETHODIMP SampleUnit::Validate(BSTR* message, LONG* isValid) {
  log("Validate");
  if (!message || !isValid) return E_POINTER;
  BSTR text = SysAllocString(L"The sample unit is valid");
  if (!text) return E_OUTOFMEMORY;
  SysFreeString(*message);
  *message = text;
  *isValid = 1;
  return S_OK;
}

// --- Persistence ---

STDMETHODIMP SampleUnit::GetClassID(CLSID* clsid) {
  log("GetClassID");
  if (!clsid) return E_POINTER;
  *clsid = traits_->info->clsid;
  return S_OK;
}

STDMETHODIMP SampleUnit::IsDirty() {
  log("IsDirty");
  return dirty_ ? S_OK : S_FALSE;
}

HRESULT SampleUnit::initNew(REFIID iid) {
  if (traits_->fault == PersistFault::InitNewFails) return failWith(E_FAIL, kPersistError, iid);
  try {
    text_ = kInitNewText;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  number_ = kInitNewNumber;
  dirty_ = false;
  return traits_->fault == PersistFault::Quirk800A02E1 ? kAutomationQuirk : S_OK;
}

HRESULT SampleUnit::readRecord(IStream* stream, REFIID iid) {
  if (!stream) return E_POINTER;
  if (traits_->fault == PersistFault::LoadFails) return failWith(E_FAIL, kPersistError, iid);
  DWORD header[3] = {};
  HRESULT hr = readExactly(stream, header, sizeof header);
  if (FAILED(hr)) return failWith(hr, L"The stream holds no sample data", iid);
  if (header[0] != kRecordMagic || header[1] != kRecordVersion || header[2] > 0x100000)
    return failWith(STG_E_INVALIDHEADER, L"The stream holds no sample data", iid);
  try {
    std::wstring text(header[2], L'\0');
    if (header[2]) hr = readExactly(stream, &text[0], header[2] * sizeof(wchar_t));
    double number = 0;
    if (SUCCEEDED(hr)) hr = readExactly(stream, &number, sizeof number);
    if (FAILED(hr)) return failWith(hr, L"The sample data is cut short", iid);
    text_ = text;
    number_ = number;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  dirty_ = false;
  return traits_->fault == PersistFault::Quirk800A02E1 ? kAutomationQuirk : S_OK;
}

HRESULT SampleUnit::writeRecord(IStream* stream) {
  DWORD header[3] = {kRecordMagic, kRecordVersion, static_cast<DWORD>(text_.size())};
  HRESULT hr = writeExactly(stream, header, sizeof header);
  if (SUCCEEDED(hr) && !text_.empty())
    hr = writeExactly(stream, text_.data(), static_cast<ULONG>(text_.size() * sizeof(wchar_t)));
  if (SUCCEEDED(hr)) hr = writeExactly(stream, &number_, sizeof number_);
  return hr;
}

STDMETHODIMP SampleUnit::InitNew(IStorage* storage) {
  log("InitNew");
  if (!storage) return E_POINTER;
  return initNew(IID_IPersistStorage);
}

STDMETHODIMP SampleUnit::Load(IStorage* storage) {
  log("Load");
  if (!storage) return E_POINTER;
  if (traits_->fault == PersistFault::LoadFails) return failWith(E_FAIL, kPersistError, IID_IPersistStorage);
  fw::ComPtr<IStream> stream;
  HRESULT hr = storage->OpenStream(kStorageDataStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
  if (FAILED(hr)) return failWith(hr, L"The storage holds no sample data", IID_IPersistStorage);
  return readRecord(stream.get(), IID_IPersistStorage);
}

STDMETHODIMP SampleUnit::Save(IStorage* storage, BOOL sameAsLoad) {
  log("Save", sameAsLoad ? "1" : "0");
  if (!storage) return E_POINTER;
  if (traits_->fault == PersistFault::SaveFails) return failWith(E_FAIL, kPersistError, IID_IPersistStorage);
  HRESULT hr = WriteClassStg(storage, traits_->info->clsid);
  fw::ComPtr<IStream> stream;
  if (SUCCEEDED(hr))
    hr = storage->CreateStream(kStorageDataStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                               stream.put());
  if (SUCCEEDED(hr)) hr = writeRecord(stream.get());
  if (FAILED(hr)) return failWith(hr, L"The sample data could not be written", IID_IPersistStorage);
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP SampleUnit::SaveCompleted(IStorage*) {
  log("SaveCompleted");
  return S_OK;
}

STDMETHODIMP SampleUnit::HandsOffStorage() {
  log("HandsOffStorage");
  return S_OK;
}

STDMETHODIMP SampleUnit::Load(IStream* stream) {
  log("Load");
  return readRecord(stream, streamIid());
}

STDMETHODIMP SampleUnit::Save(IStream* stream, BOOL clearDirty) {
  log("Save", clearDirty ? "1" : "0");
  if (!stream) return E_POINTER;
  if (traits_->fault == PersistFault::SaveFails) return failWith(E_FAIL, kPersistError, streamIid());
  HRESULT hr = writeRecord(stream);
  if (FAILED(hr)) return failWith(hr, L"The sample data could not be written", streamIid());
  if (clearDirty) dirty_ = false;
  return S_OK;
}

STDMETHODIMP SampleUnit::GetSizeMax(ULARGE_INTEGER* size) {
  log("GetSizeMax");
  if (!size) return E_POINTER;
  size->QuadPart = 3 * sizeof(DWORD) + text_.size() * sizeof(wchar_t) + sizeof(double);
  return S_OK;
}

STDMETHODIMP SampleUnit::InitNew() {
  log("InitNew");
  return initNew(IID_IPersistStreamInit);
}

// --- ISampleData ---

STDMETHODIMP SampleUnit::SetData(LPCWSTR text, double number) {
  try {
    text_ = text ? text : L"";
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  number_ = number;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP SampleUnit::GetData(BSTR* text, double* number) {
  if (!text || !number) return E_POINTER;
  *text = SysAllocStringLen(text_.data(), static_cast<UINT>(text_.size()));
  if (!*text) return E_OUTOFMEMORY;
  *number = number_;
  return S_OK;
}

}  // namespace txs
