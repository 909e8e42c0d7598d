#include "samples/zoo/ChaosObject.h"
#include <objidl.h>
#include <ocidl.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include "SampleCapeOpen.h"
#include "TxCOGUI.h"
#include "framework/ComPtr.h"
#include "framework/Module.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "samples/common/EarlyBound.h"
#include "samples/common/SampleModule.h"
#include "samples/zoo/ChaosValues.h"

namespace txs {

namespace {

fw::ComPtr<ICCAPEGUI> g_host;
uint64_t g_seed = 0;
uint64_t g_objectsUnderSeed = 0;
bool g_seedRead = false;
int g_reentryDepth = 0;

// The seed that applies now; a new seed restarts the object count.
uint64_t currentSeed() {
  wchar_t text[32] = L"";
  const DWORD capacity = sizeof text / sizeof text[0];
  uint64_t seed = 0;
  DWORD length = GetEnvironmentVariableW(wideFromNarrow(kChaosSeedVariable).c_str(), text, capacity);
  if (length > 0 && length < capacity) {
    seed = _wcstoui64(text, nullptr, 10);
  } else {
    fw::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wideFromNarrow(kChaosSeedKey).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
      DWORD type = 0, size = sizeof text - sizeof text[0];
      if (RegQueryValueExW(key.get(), wideFromNarrow(kChaosSeedValue).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
          ERROR_SUCCESS) {
        if (type == REG_DWORD && size == sizeof(DWORD)) {
          DWORD number = 0;
          memcpy(&number, text, sizeof number);
          seed = number;
        } else if (type == REG_SZ)
          seed = _wcstoui64(text, nullptr, 10);
      }
    }
  }
  if (!g_seedRead || seed != g_seed) {
    g_seed = seed;
    g_objectsUnderSeed = 0;
    g_seedRead = true;
  }
  return chaosStream(seed, ++g_objectsUnderSeed);
}

// The edge shapes (success with a null out pointer, lists at the ends of the LONG range,
// odd successes of Initialize and Terminate) come from a stream of their own, drawn after
// each of the object's answers, so that the draws a seed made before stay as they were.
const uint64_t kEdgeStream = 0xED6E;
const uint32_t kNullQueryPercent = 5;
const uint32_t kNullOutPercent = 5;
const uint32_t kEdgeListPercent = 10;
const uint32_t kOddSuccessPercent = 20;

// Its IDispatch refuses late binding (the product binds early).
class ChaosObject : public EarlyBound<ICapeThermoSystem>,
                    public EarlyBound<ICapeThermoPropertyPackage>,
                    public EarlyBound<ICapeUnit>,
                    public EarlyBound<ICapeUtilities>,
                    public EarlyBound<ICapeIdentification>,
                    public IPersistStorage,
                    public IPersistStreamInit,
                    public IPersistStream {
 public:
  ChaosObject(ChaosKind kind, uint64_t state) : kind_(kind), random_(state), edges_(chaosStream(state, kEdgeStream)) {
    fw::Module::lock();
    // How this object's QueryInterface behaves, for its whole life.
    uint32_t roll = random_.below(100);
    qiMode_ = roll < 55 ? QiMode::Steady : roll < 75 ? QiMode::Flaky : roll < 90 ? QiMode::AnswersThenFails
                                                                                  : QiMode::Stingy;
    answersLeft_ = 1 + random_.below(6);
    static const PersistSet kPersist[] = {PersistSet::None, PersistSet::Storage, PersistSet::Stream,
                                          PersistSet::StreamInit, PersistSet::All};
    persist_ = random_.pick(kPersist);
    strangers_ = random_.chance(10);
  }
  virtual ~ChaosObject() { fw::Module::unlock(); }
  ChaosObject(const ChaosObject&) = delete;
  ChaosObject& operator=(const ChaosObject&) = delete;
  // The class object has had its answer: from now on a query may come back empty-handed.
  void handOut() { handedOut_ = true; }

  // IUnknown
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    HRESULT hr = query(riid, ppv);
    // Success without a pointer, for anything but the identity, once the object is out.
    if (handedOut_ && !IsEqualIID(riid, IID_IUnknown) && edges_.chance(kNullQueryPercent)) {
      if (*ppv) reinterpret_cast<IUnknown*>(*ppv)->Release();
      *ppv = nullptr;
      return S_OK;
    }
    return hr;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refCount_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
  }

  // ICapeThermoSystem
  STDMETHOD(GetPropertyPackages)(VARIANT* list) override { return listAnswer(list, IID_ICapeThermoSystem); }
  STDMETHOD(ResolvePropertyPackage)(BSTR, IDispatch** package) override {
    HRESULT hr = result(IID_ICapeThermoSystem);
    if (!package) return hr;
    *package = nullptr;
    if (random_.chance(85) || SUCCEEDED(hr)) *package = objectAnswer(ChaosKind::Package);
    return emptyHanded(hr, package);
  }

  // ICapeThermoPropertyPackage
  STDMETHOD(GetPhaseList)(VARIANT* phases) override { return listAnswer(phases, IID_ICapeThermoPropertyPackage); }
  STDMETHOD(GetComponentList)
  (VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps, VARIANT* molWt, VARIANT* casNo) override {
    HRESULT hr = result(IID_ICapeThermoPropertyPackage);
    for (VARIANT* out : {compIds, formulae, names, boilTemps, molWt, casNo}) {
      if (!out) continue;
      // [in, out]: what came in is ours to free before answering.
      if (random_.chance(90)) {
        VariantClear(out);
        chaosVariant(random_, out, random_.chance(2));
      }
    }
    VARIANT* const lists[] = {compIds, formulae, names, boilTemps, molWt, casNo};
    edgeList(edges_.pick(lists));
    return hr;
  }
  STDMETHOD(GetUniversalConstant)(IDispatch*, VARIANT, VARIANT* values) override {
    return listAnswer(values, IID_ICapeThermoPropertyPackage);
  }
  STDMETHOD(GetComponentConstant)(IDispatch*, VARIANT, VARIANT* values) override {
    return listAnswer(values, IID_ICapeThermoPropertyPackage);
  }
  STDMETHOD(CalcProp)(IDispatch*, VARIANT, VARIANT, BSTR) override { return result(IID_ICapeThermoPropertyPackage); }
  STDMETHOD(CalcEquilibrium)(IDispatch*, BSTR, VARIANT) override { return result(IID_ICapeThermoPropertyPackage); }
  STDMETHOD(PropCheck)(IDispatch*, VARIANT, VARIANT* valid) override {
    return listAnswer(valid, IID_ICapeThermoPropertyPackage);
  }
  STDMETHOD(ValidityCheck)(IDispatch*, VARIANT, VARIANT* list) override {
    return listAnswer(list, IID_ICapeThermoPropertyPackage);
  }
  STDMETHOD(GetPropList)(VARIANT* props) override { return listAnswer(props, IID_ICapeThermoPropertyPackage); }

  // ICapeUnit
  STDMETHOD(get_ports)(IDispatch** ports) override {
    HRESULT hr = result(IID_ICapeUnit);
    if (ports) *ports = random_.chance(50) ? newChaosPlainObject() : nullptr;
    return emptyHanded(hr, ports);
  }
  STDMETHOD(get_ValStatus)(LONG* status) override {
    HRESULT hr = result(IID_ICapeUnit);
    if (status) *status = static_cast<LONG>(random_.next());
    return hr;
  }
  STDMETHOD(Calculate)() override { return result(IID_ICapeUnit); }
  STDMETHOD(Validate)(BSTR* message, LONG* valid) override {
    HRESULT hr = result(IID_ICapeUnit);
    if (message && random_.chance(50)) {
      SysFreeString(*message);
      *message = chaosText(random_, false);
    }
    if (valid) *valid = static_cast<LONG>(random_.below(3));
    return hr;
  }

  // ICapeUtilities
  STDMETHOD(get_parameters)(IDispatch** parameters) override {
    HRESULT hr = result(IID_ICapeUtilities);
    if (parameters) *parameters = random_.chance(30) ? newChaosPlainObject() : nullptr;
    return emptyHanded(hr, parameters);
  }
  STDMETHOD(put_simulationContext)(IDispatch*) override { return result(IID_ICapeUtilities); }
  STDMETHOD(Initialize)() override { return withHost(IID_ICapeUtilities, true); }
  STDMETHOD(Terminate)() override { return withHost(IID_ICapeUtilities, true); }
  STDMETHOD(Edit)() override {
    if (random_.chance(5)) {
      UINT types[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL | MB_ICONQUESTION, MB_OK | MB_SYSTEMMODAL};
      MessageBoxW(nullptr, L"Chaos component: edit", L"Chaos", random_.pick(types));
    }
    return withHost(IID_ICapeUtilities, false);
  }

  // ICapeIdentification
  STDMETHOD(get_ComponentName)(BSTR* name) override { return textAnswer(name); }
  STDMETHOD(put_ComponentName)(BSTR) override { return result(IID_ICapeIdentification); }
  STDMETHOD(get_ComponentDescription)(BSTR* description) override { return textAnswer(description); }
  STDMETHOD(put_ComponentDescription)(BSTR) override { return result(IID_ICapeIdentification); }

  // IPersist, IPersistStorage, IPersistStream, IPersistStreamInit
  STDMETHOD(GetClassID)(CLSID* clsid) override {
    HRESULT hr = result(IID_IPersist);
    if (clsid) *clsid = random_.chance(80) ? ownClsid() : GUID{static_cast<unsigned long>(random_.next()), 1, 2, {3}};
    return hr;
  }
  STDMETHOD(IsDirty)() override { return random_.chance(50) ? S_OK : random_.chance(80) ? S_FALSE : chaosFailure(random_); }
  STDMETHOD(InitNew)(IStorage*) override { return result(IID_IPersistStorage); }
  STDMETHOD(Load)(IStorage* storage) override {
    if (storage && random_.chance(60)) {
      fw::ComPtr<IStream> stream;
      if (SUCCEEDED(storage->OpenStream(L"Chaos", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        readSome(stream.get());
    }
    return result(IID_IPersistStorage);
  }
  STDMETHOD(Save)(IStorage* storage, BOOL) override {
    if (storage && random_.chance(70)) {
      fw::ComPtr<IStream> stream;
      if (SUCCEEDED(storage->CreateStream(L"Chaos", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                          stream.put())))
        writeSome(stream.get());
    }
    return result(IID_IPersistStorage);
  }
  STDMETHOD(SaveCompleted)(IStorage*) override { return result(IID_IPersistStorage); }
  STDMETHOD(HandsOffStorage)() override { return result(IID_IPersistStorage); }
  STDMETHOD(Load)(IStream* stream) override {
    if (stream) readSome(stream);
    return result(IID_IPersistStream);
  }
  STDMETHOD(Save)(IStream* stream, BOOL) override {
    if (stream) writeSome(stream);
    return result(IID_IPersistStream);
  }
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) override {
    HRESULT hr = result(IID_IPersistStream);
    if (size) size->QuadPart = random_.chance(50) ? random_.below(100000) : random_.next();
    return hr;
  }
  STDMETHOD(InitNew)() override { return result(IID_IPersistStreamInit); }

 private:
  enum class QiMode { Steady, Flaky, AnswersThenFails, Stingy };
  enum class PersistSet { None, Storage, Stream, StreamInit, All };

  HRESULT query(REFIID riid, void** ppv) {
    *ppv = nullptr;
    void* found = lookUp(riid);
    if (!found) return E_NOINTERFACE;
    if (!IsEqualIID(riid, IID_IUnknown) && !answerNow()) return random_.chance(80) ? E_NOINTERFACE : chaosFailure(random_);
    *ppv = found;
    AddRef();
    return S_OK;
  }

  void* lookUp(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
      return static_cast<ICapeUtilities*>(this);
    if (IsEqualIID(riid, IID_ICapeUtilities)) return static_cast<ICapeUtilities*>(this);
    if (IsEqualIID(riid, IID_ICapeIdentification)) return static_cast<ICapeIdentification*>(this);
    bool any = strangers_;  // now and then an object offers what its kind does not
    if (IsEqualIID(riid, IID_ICapeThermoSystem) && (any || kind_ == ChaosKind::System))
      return static_cast<ICapeThermoSystem*>(this);
    if (IsEqualIID(riid, IID_ICapeThermoPropertyPackage) && (any || kind_ == ChaosKind::Package))
      return static_cast<ICapeThermoPropertyPackage*>(this);
    if (IsEqualIID(riid, IID_ICapeUnit) && (any || kind_ == ChaosKind::Unit)) return static_cast<ICapeUnit*>(this);
    bool storage = persist_ == PersistSet::Storage || persist_ == PersistSet::All;
    bool stream = persist_ == PersistSet::Stream || persist_ == PersistSet::All;
    bool streamInit = persist_ == PersistSet::StreamInit || persist_ == PersistSet::All;
    if (IsEqualIID(riid, IID_IPersist) && persist_ != PersistSet::None) return static_cast<IPersistStorage*>(this);
    if (IsEqualIID(riid, IID_IPersistStorage) && storage) return static_cast<IPersistStorage*>(this);
    if (IsEqualIID(riid, IID_IPersistStream) && stream) return static_cast<IPersistStream*>(this);
    if (IsEqualIID(riid, IID_IPersistStreamInit) && streamInit) return static_cast<IPersistStreamInit*>(this);
    return nullptr;
  }

  bool answerNow() {
    switch (qiMode_) {
      case QiMode::Steady: return true;
      case QiMode::Flaky: return random_.chance(60);
      case QiMode::AnswersThenFails: return answersLeft_ > 0 ? (--answersLeft_, true) : false;
      case QiMode::Stingy: return random_.chance(15);
    }
    return true;
  }

  const CLSID& ownClsid() const {
    return kind_ == ChaosKind::System ? kChaosSystem.clsid
           : kind_ == ChaosKind::Package ? kChaosPackage.clsid
                                         : kChaosUnit.clsid;
  }

  HRESULT result(REFIID iid) { return chaosReport(random_, chaosResult(random_), iid); }

  HRESULT listAnswer(VARIANT* out, REFIID iid) {
    HRESULT hr = result(iid);
    if (!out) return hr;
    // [out, retval]: may come in uninitialised; a null or empty answer is left now and then.
    VariantInit(out);
    if (random_.chance(90)) chaosVariant(random_, out, random_.chance(3));
    edgeList(out);
    return hr;
  }

  void edgeList(VARIANT* out) {
    if (!out || !edges_.chance(kEdgeListPercent)) return;
    VariantClear(out);
    chaosEdgeList(edges_, out);
  }

  HRESULT textAnswer(BSTR* out) {
    HRESULT hr = result(IID_ICapeIdentification);
    if (out) *out = chaosText(random_, random_.chance(5));
    return emptyHanded(hr, out);
  }

  // Success with nothing in the out pointer.
  HRESULT emptyHanded(HRESULT hr, IDispatch** out) {
    if (!out || !edges_.chance(kNullOutPercent)) return hr;
    if (*out) (*out)->Release();
    *out = nullptr;
    return S_OK;
  }
  HRESULT emptyHanded(HRESULT hr, BSTR* out) {
    if (!out || !edges_.chance(kNullOutPercent)) return hr;
    SysFreeString(*out);
    *out = nullptr;
    return S_OK;
  }

  IDispatch* objectAnswer(ChaosKind kind) {
    uint32_t roll = random_.below(100);
    if (roll < 10) return nullptr;
    if (roll < 15) return newChaosPlainObject();
    if (roll < 20) {
      AddRef();
      return static_cast<ICapeUtilities*>(this);
    }
    void* made = nullptr;
    if (FAILED(createChaosObject(kind, IID_IDispatch, &made))) return nullptr;
    return static_cast<IDispatch*>(made);
  }

  // Initialize, Edit and Terminate: a result, and now and then a call back into the host
  // while the host is calling us; Initialize and Terminate also answer odd successes.
  HRESULT withHost(REFIID iid, bool oddSuccesses) {
    fw::ComPtr<ICapeUtilities> self;  // the host may release us meanwhile: we live to answer
    if (g_host && g_reentryDepth < 2 && random_.chance(15)) {
      fw::ComPtr<ICCAPEGUI> host = g_host;  // the host may forget itself meanwhile
      self = this;
      ++g_reentryDepth;
      callHost(host.get());
      --g_reentryDepth;
    }
    HRESULT hr = result(iid);
    return oddSuccesses && edges_.chance(kOddSuccessPercent) ? chaosOddSuccess(edges_) : hr;
  }

  void callHost(ICCAPEGUI* host) {
    BSTR text = nullptr;
    LONG number = 0;
    switch (random_.below(9)) {
      case 0: host->releaseComponents(); break;
      case 1: host->ShowThermoGUI(random_.chance(50) ? VARIANT_TRUE : VARIANT_FALSE); break;
      case 2: host->GetItemProgID(&text); break;
      case 3: host->GetParentProgID(&text); break;
      case 4: host->GetCATID(&text); break;
      case 5: host->getFullCOPPClassName(&text); break;
      case 6: host->getPersistType(&number); break;
      case 7: host->get_compCOversion(&number); break;
      default: host->saveStorage(); break;
    }
    SysFreeString(text);
  }

  void readSome(IStream* stream) {
    // No C++ allocation that could throw out of a COM method: a failed one reads nothing.
    ULONG size = 1 + random_.below(65536), read = 0;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (buffer) stream->Read(buffer.get(), size, &read);
  }

  void writeSome(IStream* stream) {
    uint32_t roll = random_.below(100);
    if (roll < 30) return;  // writes nothing
    ULONG size = roll < 98 ? random_.below(4096) : 10 * 1024 * 1024, written = 0;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
    if (!buffer) return;
    memset(buffer.get(), 'c', size);
    stream->Write(buffer.get(), size, &written);
  }

  LiveObject live_;
  ULONG refCount_ = 0;
  ChaosKind kind_;
  ChaosRandom random_;
  ChaosRandom edges_;
  QiMode qiMode_;
  uint32_t answersLeft_;
  PersistSet persist_;
  bool strangers_;
  bool handedOut_ = false;
};

}  // namespace

void setChaosHost(IUnknown* host) {
  if (!host) {
    g_host.reset();
    return;
  }
  fw::ComPtr<ICCAPEGUI> gui;
  if (SUCCEEDED(gui.queryFrom(host, IID_ICCAPEGUI))) g_host = gui;
}

HRESULT createChaosObject(ChaosKind kind, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    uint64_t state = currentSeed();
    ChaosObject* object = new (std::nothrow) ChaosObject(kind, state);
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    HRESULT hr = fw::queryInterface(static_cast<ICapeUtilities*>(object), riid, out);
    object->handOut();
    object->Release();
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace txs
