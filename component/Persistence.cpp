// Component persistence: the component saves itself into, and loads itself from, the
// storage that the host's container hands out for it. The object writes no bytes itself.
#include "component/CCAPEGUI.h"
#include "external/ExtnContainer.h"
#include "framework/Raii.h"

namespace {

const wchar_t kStreamName[] = L"CAPEOPEN";
const DWORD kCreateMode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;  // 0x1012
const DWORD kOpenMode = STGM_READ | STGM_SHARE_EXCLUSIVE;                       // 0x10
const long kSaveMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;                   // 18
const long kLoadMode = STGM_READ | STGM_SHARE_EXCLUSIVE;                        // 16
// What automation components return from InitNew or Load when all went well.
const HRESULT kAutomationSuccess = static_cast<HRESULT>(0x800A02E1);
const HRESULT kPersistenceError = 101;

const char kSaveError[] = "Error saving component through COM persistence";
const char kLoadError[] = "Error loading component through COM persistence";

// A failure that ends a persistence operation with the persistence error report.
struct PersistenceFault {
  HRESULT code;
};

HRESULT acceptAutomationSuccess(HRESULT hr) { return hr == kAutomationSuccess ? S_OK : hr; }

// IPersistStream and IPersistStreamInit share Save and Load but are distinct interfaces.
class StreamPersist {
 public:
  HRESULT query(IDispatch* component, long kind) {
    if (!component) return E_POINTER;
    if (kind == 2) return component->QueryInterface(IID_IPersistStream, stream_.put_void());
    return component->QueryInterface(IID_IPersistStreamInit, streamInit_.put_void());
  }
  HRESULT save(IStream* stream) { return stream_ ? stream_->Save(stream, TRUE) : streamInit_->Save(stream, TRUE); }
  HRESULT load(IStream* stream) { return stream_ ? stream_->Load(stream) : streamInit_->Load(stream); }

 private:
  fw::ComPtr<IPersistStream> stream_;
  fw::ComPtr<IPersistStreamInit> streamInit_;
};

}  // namespace

std::string CCCAPEGUI::displayName() const { return compAlias.empty() ? compProgId : compAlias; }

// The storage of the host for 'mode'; null when the host gave no object that answers IStorage.
HRESULT CCCAPEGUI::hostStorage(long mode, IStorage** storage) {
  *storage = nullptr;
  ExtnContainer* host = static_cast<ExtnContainer*>(container.get());
  fw::UniqueVariant value;
  HRESULT hr = host->GetStorage(mode, value.put());
  if (FAILED(hr)) return reportUnexpected(hr);
  // Only an object pointer is read, also through a reference (as hosts written in other
  // languages hand it out): any other content is no storage, never a pointer.
  VARIANT* v = value.get();
  IUnknown* object = nullptr;
  if (V_VT(v) == VT_UNKNOWN || V_VT(v) == VT_DISPATCH) {
    object = V_UNKNOWN(v);
  } else if (V_VT(v) == (VT_BYREF | VT_UNKNOWN) || V_VT(v) == (VT_BYREF | VT_DISPATCH)) {
    object = V_UNKNOWNREF(v) ? *V_UNKNOWNREF(v) : nullptr;
  }
  if (!object) return S_OK;
  hr = object->QueryInterface(IID_IStorage, reinterpret_cast<void**>(storage));
  if (FAILED(hr)) {
    *storage = nullptr;
    if (hr != E_NOINTERFACE) throw PersistenceFault{hr};
  }
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::getPersistType(LONG* pt) {
  return windowFrame([&]() -> HRESULT {
    if (!pt) return E_POINTER;
    try {
      return persistKind(pt);
    } catch (...) {
      return reportPersistenceError(kPersistenceError, kSaveError, displayName().c_str());
    }
  });
}

HRESULT CCCAPEGUI::persistKind(LONG* pt) {
  if (persistType != 0) {
    *pt = persistType;
    return S_OK;
  }
  if (!component) {
    *pt = 0;
    return S_OK;
  }
  static const struct { const IID* iid; long kind; } kinds[] = {
      {&IID_IPersistStorage, 1}, {&IID_IPersistStreamInit, 3}, {&IID_IPersistStream, 2}};
  for (const auto& kind : kinds) {
    fw::ComPtr<IUnknown> persist;
    HRESULT hr = component->QueryInterface(*kind.iid, persist.put_void());
    if (SUCCEEDED(hr)) {
      *pt = kind.kind;
      return S_OK;
    }
    if (hr != E_NOINTERFACE) throw PersistenceFault{hr};
  }
  *pt = 0;
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::saveStorage() {
  return windowFrame([&]() -> HRESULT {
    if (!container) return S_OK;
    try {
      fw::ComPtr<IStorage> storage;
      HRESULT hr = hostStorage(kSaveMode, storage.put());
      if (FAILED(hr)) return hr;
      if (persistType == 1) {
        fw::ComPtr<IPersistStorage> persist;
        hr = component ? component->QueryInterface(IID_IPersistStorage, persist.put_void()) : E_POINTER;
        if (FAILED(hr)) return reportUnexpected(hr);
        if (!storage) throw PersistenceFault{E_POINTER};
        hr = persist->Save(storage.get(), TRUE);
        if (FAILED(hr)) {
          // A transacted storage drops what the failed save wrote.
          storage->Revert();
          return reportUnexpected(hr);
        }
        persist->SaveCompleted(storage.get());
      } else if (persistType == 2 || persistType == 3) {
        hr = saveStreamKind(storage.get());
        if (FAILED(hr)) return hr;
      }
      return S_OK;
    } catch (...) {
      // Allocation failures too: the host's container hears of every one.
      return reportPersistenceError(kPersistenceError, kSaveError, nullptr);
    }
  });
}

// Kinds 2 and 3: the component writes the "CAPEOPEN" stream. It writes into memory first,
// so a failing Save leaves the stream of the last good save in the host's case.
HRESULT CCCAPEGUI::saveStreamKind(IStorage* storage) {
  StreamPersist persist;
  HRESULT hr = persist.query(component, persistType);
  if (FAILED(hr)) return reportUnexpected(hr);
  if (!storage) throw PersistenceFault{E_POINTER};

  fw::ComPtr<IStream> memory;
  hr = CreateStreamOnHGlobal(nullptr, TRUE, memory.put());
  if (FAILED(hr)) return reportUnexpected(hr);
  hr = persist.save(memory.get());
  if (FAILED(hr)) return reportUnexpected(hr);

  fw::ComPtr<IStream> stream;
  hr = storage->CreateStream(kStreamName, kCreateMode, 0, 0, stream.put());
  if (FAILED(hr)) return reportUnexpected(hr);
  LARGE_INTEGER start = {};
  ULARGE_INTEGER all;
  all.QuadPart = ~0ULL;
  hr = memory->Seek(start, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = memory->CopyTo(stream.get(), all, nullptr, nullptr);
  if (FAILED(hr)) return reportUnexpected(hr);
  stream.reset();
  hr = storage->Commit(STGC_DEFAULT);
  if (FAILED(hr)) return reportUnexpected(hr);
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::loadStorage(VARIANT_BOOL recalling) {
  return windowFrame([&]() -> HRESULT {
    isRecalling = (recalling == VARIANT_TRUE);
    // No container or no COM persistence: the component is left to the old mechanism.
    if (!container || persistType == 0) return S_OK;
    try {
      fw::ComPtr<IStorage> storage;
      HRESULT hr = hostStorage(kLoadMode, storage.put());
      if (FAILED(hr)) return hr;
      if (!isRecalling) return initNewPersistence(storage.get());

      if (persistType == 2 || persistType == 3) {
        StreamPersist persist;
        hr = persist.query(component, persistType);
        if (FAILED(hr)) return reportUnexpected(hr);
        if (!storage) throw PersistenceFault{E_POINTER};
        fw::ComPtr<IStream> stream;
        hr = storage->OpenStream(kStreamName, nullptr, kOpenMode, 0, stream.put());
        HRESULT opened = openOrUpgrade(hr, storage.get());
        if (opened == STG_E_FILENOTFOUND) return S_OK;  // initialised as new
        if (FAILED(opened)) return opened;
        hr = acceptAutomationSuccess(persist.load(stream.get()));
        if (FAILED(hr)) {
          std::string text = std::string("Unexpected error ") +
                             (persistType == 3 ? "loading COM persistence (IPersistStreamInit)"
                                               : "loading COM persistence (IPersistStream)");
          return MTUtils::reportError(hr, text.c_str(), nullptr, nullptr, true);
        }
      } else if (persistType == 1) {
        fw::ComPtr<IPersistStorage> persist;
        hr = component ? component->QueryInterface(IID_IPersistStorage, persist.put_void()) : E_POINTER;
        if (FAILED(hr)) return reportUnexpected(hr);
        if (!storage) throw PersistenceFault{E_POINTER};
        hr = persist->Load(storage.get());
        if (FAILED(hr)) return reportUnexpected(hr);
      }
      closingStep();
      return S_OK;
    } catch (...) {
      return reportPersistenceError(kPersistenceError, kLoadError, displayName().c_str());
    }
  });
}

HRESULT CCCAPEGUI::initNewPersistence(IStorage* storage) {
  HRESULT hr = S_OK;
  const char* what = nullptr;
  if (persistType == 1) {
    fw::ComPtr<IPersistStorage> persist;
    hr = component ? component->QueryInterface(IID_IPersistStorage, persist.put_void()) : E_POINTER;
    if (FAILED(hr)) return reportUnexpected(hr);
    if (!storage) throw PersistenceFault{E_POINTER};
    hr = persist->InitNew(storage);
    what = "initializing COM persistence (IPersistStorage)";
  } else if (persistType == 3) {
    fw::ComPtr<IPersistStreamInit> persist;
    hr = component ? component->QueryInterface(IID_IPersistStreamInit, persist.put_void()) : E_POINTER;
    if (FAILED(hr)) return reportUnexpected(hr);
    hr = persist->InitNew();
    what = "initializing COM persistence (IPersistStreamInit)";
  } else {
    return S_OK;
  }
  hr = acceptAutomationSuccess(hr);
  if (FAILED(hr)) {
    std::string text = std::string("Unexpected error ") + what;
    return MTUtils::reportError(hr, text.c_str(), nullptr, nullptr, true);
  }
  return hr;
}

HRESULT CCCAPEGUI::openOrUpgrade(HRESULT result, IStorage* storage) {
  if (result == STG_E_FILENOTFOUND) {
    // Saved by the old mechanism: start the component as new and say it was upgraded.
    HRESULT hr = initNewPersistence(storage);
    if (FAILED(hr)) return report(hr, "Unexpected error. Contact support");
    if (enableWarnings) {
      std::string notice = "CAPE-OPEN component of type '" + displayName() +
                           "' had been persisted using old CAPE-OPEN mechanism. It has been succesfully upgraded to "
                           "be saved through new COM Persistence.";
      MTUtils::showMessage(notice.c_str(), "", MB_ICONINFORMATION, nullptr);
    }
    return STG_E_FILENOTFOUND;
  }
  if (FAILED(result)) reportUnexpected(result);
  return result;
}

HRESULT CCCAPEGUI::reportPersistenceError(HRESULT code, const char* text, const char* detail) {
  std::string message = text;
  if (detail) message.append(": ").append(detail);
  if (message.size() > 399) message.resize(399);

  ExtnContainer* host = static_cast<ExtnContainer*>(container.get());
  if (!host) return report(code, text);

  fw::ComPtr<ExtnHostContext> context;
  HRESULT hr = host->GetHostContext(context.put());
  if (FAILED(hr)) return reportUnexpected(hr);
  if (!context) return reportUnexpected(E_POINTER);
  fw::ComPtr<ExtnMessageLog> log;
  hr = context->GetMessageLog(log.put());
  if (FAILED(hr)) return reportUnexpected(hr);
  if (!log) return reportUnexpected(E_POINTER);
  hr = log->Prepare(0);
  if (FAILED(hr)) return reportUnexpected(hr);
  log.reset();
  context.reset();
  CTxBSTR wideMessage(message.c_str());
  hr = host->AddMessage(wideMessage, 0);
  if (FAILED(hr)) return reportUnexpected(hr);
  if (code == 100) report(code, text);
  return MTUtils::traceError(code, text, nullptr);
}
