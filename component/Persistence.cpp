// Component persistence: the component saves itself into, and loads itself from, the
// storage that the host's container hands out for it. The object writes no bytes itself.
#include "component/CCAPEGUI.h"
#include "external/ExtnContainer.h"
#include "framework/Raii.h"
#include "framework/WideText.h"

namespace {

// How a component persists (persistType).
enum PersistKind : long {
  kNoPersistence = 0,
  kPersistStorage = 1,
  kPersistStream = 2,
  kPersistStreamInit = 3,
};

const wchar_t kStreamName[] = L"CAPEOPEN";
const DWORD kCreateMode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;  // 0x1012
const DWORD kOpenMode = STGM_READ | STGM_SHARE_EXCLUSIVE;                       // 0x10
// What automation components return from InitNew or Load when all went well.
const HRESULT kAutomationSuccess = static_cast<HRESULT>(0x800A02E1);

const char kSaveError[] = "Error saving component through COM persistence";
const char kLoadError[] = "Error loading component through COM persistence";

HRESULT acceptAutomationSuccess(HRESULT hr) { return hr == kAutomationSuccess ? S_OK : hr; }

bool isStreamKind(long kind) { return kind == kPersistStream || kind == kPersistStreamInit; }

// IPersistStream and IPersistStreamInit share Save and Load but are distinct interfaces.
class StreamPersist {
 public:
  HRESULT query(IDispatch* component, long kind) {
    if (kind == kPersistStream) return stream_.queryFrom(component, IID_IPersistStream);
    return streamInit_.queryFrom(component, IID_IPersistStreamInit);
  }
  HRESULT save(IStream* stream) { return stream_ ? stream_->Save(stream, TRUE) : streamInit_->Save(stream, TRUE); }
  HRESULT load(IStream* stream) { return stream_ ? stream_->Load(stream) : streamInit_->Load(stream); }

 private:
  fw::ComPtr<IPersistStream> stream_;
  fw::ComPtr<IPersistStreamInit> streamInit_;
};

}  // namespace

// The persistence error that ends an operation: its text, and the component's display
// name for the load (none for the save).
struct CCCAPEGUI::PersistStep {
  const char* text;
  const char* detail;
};

std::string CCCAPEGUI::displayName() const { return choice.name.empty() ? choice.progId : choice.name; }

HRESULT CCCAPEGUI::persistenceFault(const PersistStep& step) {
  return reportPersistenceError(step.text, step.detail);
}

// The storage of the host for 'mode'; null when the host gave no object that answers IStorage.
// The host's VARIANT ('value') may hold the only reference that keeps the storage valid: the
// caller keeps it until the component is done with the storage.
HRESULT CCCAPEGUI::hostStorage(long mode, fw::UniqueVariant& value, IStorage** storage, const PersistStep& step) {
  *storage = nullptr;
  HRESULT hr = container->GetStorage(mode, value.put());
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
  hr = fw::queryInterface(object, IID_IStorage, reinterpret_cast<void**>(storage));
  if (FAILED(hr) && hr != E_NOINTERFACE) return persistenceFault(step);
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::getPersistType(LONG* pt) {
  return windowFrame([&]() -> HRESULT {
    if (!pt) return E_POINTER;
    try {
      return persistKind(pt);
    } catch (...) {
      // Allocation failures too: the host's container hears of every one.
      return persistenceFault({kSaveError, displayName().c_str()});
    }
  });
}

HRESULT CCCAPEGUI::persistKind(LONG* pt) {
  if (persistType != kNoPersistence) {
    *pt = persistType;
    return S_OK;
  }
  if (!component) {
    *pt = kNoPersistence;
    return S_OK;
  }
  static const struct {
    const IID* iid;
    long kind;
  } kinds[] = {{&IID_IPersistStorage, kPersistStorage},
               {&IID_IPersistStreamInit, kPersistStreamInit},
               {&IID_IPersistStream, kPersistStream}};
  for (const auto& kind : kinds) {
    fw::ComPtr<IUnknown> persist;
    HRESULT hr = persist.queryFrom(component.get(), *kind.iid);
    if (SUCCEEDED(hr)) {
      *pt = kind.kind;
      return S_OK;
    }
    if (hr != E_NOINTERFACE) return persistenceFault({kSaveError, displayName().c_str()});
  }
  *pt = kNoPersistence;
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::saveStorage() {
  return windowFrame([&]() -> HRESULT {
    if (!container) return S_OK;
    const PersistStep step = {kSaveError, nullptr};
    try {
      // Released in the reverse order: the persistence interface, the VARIANT, the storage.
      fw::ComPtr<IStorage> storage;
      fw::UniqueVariant value;
      HRESULT hr = hostStorage(extnStorageSave, value, storage.put(), step);
      if (FAILED(hr)) return hr;
      if (persistType == kPersistStorage) {
        fw::ComPtr<IPersistStorage> persist;
        hr = persist.queryFrom(component.get(), IID_IPersistStorage);
        if (FAILED(hr)) return reportUnexpected(hr);
        if (!storage) return persistenceFault(step);
        hr = persist->Save(storage.get(), TRUE);
        if (FAILED(hr)) {
          // A transacted storage drops what the failed save wrote.
          storage->Revert();
          return reportUnexpected(hr);
        }
        // The save itself succeeded; what the component says to SaveCompleted changes nothing.
        (void)persist->SaveCompleted(storage.get());
      } else if (isStreamKind(persistType)) {
        hr = saveStreamKind(storage.get(), step);
        if (FAILED(hr)) return hr;
      }
      return S_OK;
    } catch (...) {
      return persistenceFault(step);
    }
  });
}

// The component writes the "CAPEOPEN" stream. It writes into memory first, so a failing
// Save leaves the stream of the last good save in the host's case.
HRESULT CCCAPEGUI::saveStreamKind(IStorage* storage, const PersistStep& step) {
  StreamPersist persist;
  HRESULT hr = persist.query(component.get(), persistType);
  if (FAILED(hr)) return reportUnexpected(hr);
  if (!storage) return persistenceFault(step);

  fw::ComPtr<IStream> memory;
  hr = CreateStreamOnHGlobal(nullptr, TRUE, memory.put());
  hr = fw::requireOut(hr, memory.get());
  if (FAILED(hr)) return reportUnexpected(hr);
  hr = persist.save(memory.get());
  if (FAILED(hr)) return reportUnexpected(hr);

  fw::ComPtr<IStream> stream;
  hr = storage->CreateStream(kStreamName, kCreateMode, 0, 0, stream.put());
  hr = fw::requireOut(hr, stream.get());
  if (FAILED(hr)) return reportUnexpected(hr);
  LARGE_INTEGER start = {};
  ULARGE_INTEGER all;
  all.QuadPart = ~0ULL;
  hr = memory->Seek(start, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = memory->CopyTo(stream.get(), all, nullptr, nullptr);
  if (FAILED(hr)) return reportUnexpected(hr);
  // The stream goes after the commit.
  hr = storage->Commit(STGC_DEFAULT);
  if (FAILED(hr)) return reportUnexpected(hr);
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::loadStorage(VARIANT_BOOL recalling) {
  return windowFrame([&]() -> HRESULT {
    isRecalling = (recalling == VARIANT_TRUE);
    // No container or no COM persistence: the component is left to the old mechanism.
    if (!container || persistType == kNoPersistence) return S_OK;
    const std::string name = displayName();
    const PersistStep step = {kLoadError, name.c_str()};
    try {
      fw::ComPtr<IStorage> storage;
      fw::UniqueVariant value;
      HRESULT hr = hostStorage(extnStorageLoad, value, storage.put(), step);
      if (FAILED(hr)) return hr;
      if (!isRecalling) return initNewPersistence(storage.get(), step);

      if (isStreamKind(persistType)) {
        bool initialisedAsNew = false;
        hr = loadStreamKind(storage.get(), step, &initialisedAsNew);
        if (FAILED(hr)) return hr;
        if (initialisedAsNew) return S_OK;
      } else if (persistType == kPersistStorage) {
        fw::ComPtr<IPersistStorage> persist;
        hr = persist.queryFrom(component.get(), IID_IPersistStorage);
        if (FAILED(hr)) return reportUnexpected(hr);
        if (!storage) return persistenceFault(step);
        hr = persist->Load(storage.get());
        if (FAILED(hr)) return reportUnexpected(hr);
      }
      closingStep();
      return S_OK;
    } catch (...) {
      return persistenceFault(step);
    }
  });
}

// The component reads the "CAPEOPEN" stream; when there is none it is initialised as new
// instead ('initialisedAsNew').
HRESULT CCCAPEGUI::loadStreamKind(IStorage* storage, const PersistStep& step, bool* initialisedAsNew) {
  StreamPersist persist;
  HRESULT hr = persist.query(component.get(), persistType);
  if (FAILED(hr)) return reportUnexpected(hr);
  if (!storage) return persistenceFault(step);
  fw::ComPtr<IStream> stream;
  hr = storage->OpenStream(kStreamName, nullptr, kOpenMode, 0, stream.put());
  hr = fw::requireOut(hr, stream.get());
  HRESULT opened = openOrUpgrade(hr, storage, step);
  *initialisedAsNew = opened == STG_E_FILENOTFOUND;
  if (*initialisedAsNew) return S_OK;
  if (FAILED(opened)) return opened;
  hr = acceptAutomationSuccess(persist.load(stream.get()));
  if (FAILED(hr)) {
    std::string text = std::string("Unexpected error ") + (persistType == kPersistStreamInit
                                                               ? "loading COM persistence (IPersistStreamInit)"
                                                               : "loading COM persistence (IPersistStream)");
    return MTUtils::reportError(hr, text.c_str(), nullptr, nullptr, true);
  }
  return S_OK;
}

HRESULT CCCAPEGUI::initNewPersistence(IStorage* storage, const PersistStep& step) {
  HRESULT hr = S_OK;
  const char* what = nullptr;
  if (persistType == kPersistStorage) {
    fw::ComPtr<IPersistStorage> persist;
    hr = persist.queryFrom(component.get(), IID_IPersistStorage);
    if (FAILED(hr)) return reportUnexpected(hr);
    if (!storage) return persistenceFault(step);
    hr = persist->InitNew(storage);
    what = "initializing COM persistence (IPersistStorage)";
  } else if (persistType == kPersistStreamInit) {
    fw::ComPtr<IPersistStreamInit> persist;
    hr = persist.queryFrom(component.get(), IID_IPersistStreamInit);
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

HRESULT CCCAPEGUI::openOrUpgrade(HRESULT result, IStorage* storage, const PersistStep& step) {
  if (result == STG_E_FILENOTFOUND) {
    // Saved by the old mechanism: start the component as new and say it was upgraded.
    HRESULT hr = initNewPersistence(storage, step);
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

HRESULT CCCAPEGUI::reportPersistenceError(const char* text, const char* detail) {
  std::string message = text;
  if (detail) message.append(": ").append(detail);
  if (message.size() > 399) cutNarrow(message, 399);  // never inside a character

  if (!container) return report(MTUtils::kPersistenceError, text);

  fw::ComPtr<ExtnHostContext> context;
  HRESULT hr = container->GetHostContext(context.put());
  hr = fw::requireOut(hr, context.get());
  if (FAILED(hr)) return reportUnexpected(hr);
  fw::ComPtr<ExtnMessageLog> log;
  hr = context->GetMessageLog(log.put());
  hr = fw::requireOut(hr, log.get());
  if (FAILED(hr)) return reportUnexpected(hr);
  hr = log->Prepare(0);
  if (FAILED(hr)) return reportUnexpected(hr);
  log.reset();
  context.reset();
  CTxBSTR wideMessage(message.c_str());
  hr = container->AddMessage(wideMessage, 0);
  if (FAILED(hr)) return reportUnexpected(hr);
  return MTUtils::traceError(MTUtils::kPersistenceError, text, nullptr);
}
