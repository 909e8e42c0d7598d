// A minimal host of TxCOGUI.dll: creates a CAPE-OPEN component by its ProgID, initialises
// it as new, saves it into a compound file through a container of its own, reopens the file
// and loads the component from it. Every failed call is printed with its HRESULT and the
// program exits with 1.
//
//   minimal_host PROGID CASEFILE [FILTER]     FILTER: categoryFilter bits, 32 (unit
//                                             operations) when not given
//
// Build (MinGW):  g++ -I include minimal_host.cpp include/TxCOGUI_i.c -municode -static
//                     -lole32 -loleaut32 -luuid
// Build (MSVC):   cl /EHsc /I include minimal_host.cpp include\TxCOGUI_i.c ole32.lib
//                    oleaut32.lib uuid.lib
// TxCOGUI.dll must be registered (regsvr32 TxCOGUI.dll), and so must the component.
#include <windows.h>
#include <cwchar>
#include <cstdio>
#include "ExtnContainer.h"  // the container that the host hands to setup
#include "TxCOGUIHost.h"    // TxCOGUI.h (ICCAPEGUI, CLSID_CCAPEGUI, categoryFilter) and setFilter

namespace {

bool succeeded(HRESULT hr, const char* call) {
  if (FAILED(hr)) std::fprintf(stderr, "%s failed: 0x%08lX\n", call, static_cast<unsigned long>(hr));
  return SUCCEEDED(hr);
}

// Owns one COM reference.
template <class T>
class Ref {
 public:
  explicit Ref(T* owned = nullptr) : p_(owned) {}
  ~Ref() { reset(); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }

 private:
  T* p_;
};

const wchar_t kComponentStorage[] = L"Component";

// The host's side of the DLL's persistence: one object that is the container, its host
// context and its message log. The three interfaces put their methods in different
// entries of the same table layout, so one method per name serves all three.
class CaseContainer final : public ExtnContainer, public ExtnHostContext, public ExtnMessageLog {
 public:
  CaseContainer() : refs_(1) {}
  // The open case file whose sub-storage "Component" the component is saved into.
  void setCase(IStorage* root) {
    if (root) root->AddRef();
    if (root_) root_->Release();
    root_ = root;
  }

  // IUnknown
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_ExtnContainer) ||
        IsEqualIID(iid, IID_ExtnContainerUnit))
      *out = static_cast<ExtnContainer*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: the DLL calls through the table only.
  STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // ExtnContainer, slot 20: mode 18 to save (a new, empty sub-storage), 16 to load.
  STDMETHOD(GetStorage)(long mode, VARIANT* storage) override {
    if (!storage || !root_) return E_POINTER;
    IStorage* component = nullptr;
    HRESULT hr = (mode & STGM_READWRITE)
                     ? root_->CreateStorage(kComponentStorage, STGM_CREATE | mode, 0, 0, &component)
                     : root_->OpenStorage(kComponentStorage, nullptr, mode, nullptr, 0, &component);
    if (!succeeded(hr, mode & STGM_READWRITE ? "CreateStorage" : "OpenStorage")) return hr;
    VariantInit(storage);
    V_VT(storage) = VT_UNKNOWN;
    V_UNKNOWN(storage) = component;  // the DLL clears the VARIANT
    return S_OK;
  }
  // Slot 12: what went wrong while saving or loading.
  STDMETHOD(AddMessage)(BSTR message, long) override {
    std::fwprintf(stderr, L"host message: %ls\n", message ? message : L"");
    return S_OK;
  }
  // Slot 11, then the context's slot 33 and the log's slot 21, just before AddMessage.
  STDMETHOD(GetHostContext)(ExtnHostContext** context) override {
    if (!context) return E_POINTER;
    AddRef();
    *context = this;
    return S_OK;
  }
  STDMETHOD(GetMessageLog)(ExtnMessageLog** log) override {
    if (!log) return E_POINTER;
    AddRef();
    *log = this;
    return S_OK;
  }
  STDMETHOD(Prepare)(long) override { return S_OK; }

  // The entries that the DLL never calls.
#define TX_RESERVED(n) \
  STDMETHOD(Reserved##n)() override { return E_NOTIMPL; }
  TX_RESERVED(7) TX_RESERVED(8) TX_RESERVED(9) TX_RESERVED(10) TX_RESERVED(11) TX_RESERVED(12) TX_RESERVED(13)
  TX_RESERVED(14) TX_RESERVED(15) TX_RESERVED(16) TX_RESERVED(17) TX_RESERVED(18) TX_RESERVED(19)
  TX_RESERVED(20) TX_RESERVED(21) TX_RESERVED(22) TX_RESERVED(23) TX_RESERVED(24) TX_RESERVED(25)
  TX_RESERVED(26) TX_RESERVED(27) TX_RESERVED(28) TX_RESERVED(29) TX_RESERVED(30) TX_RESERVED(31)
  TX_RESERVED(32)
#undef TX_RESERVED

 private:
  ~CaseContainer() { setCase(nullptr); }
  ULONG refs_;
  IStorage* root_ = nullptr;
};

// The road of one component through one CCAPEGUI object.
bool run(const wchar_t* progId, const wchar_t* caseFile, long filter) {
  Ref<ICCAPEGUI> gui;
  if (!succeeded(CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid()),
                 "CoCreateInstance(CCAPEGUI)"))
    return false;
  Ref<CaseContainer> container(new CaseContainer());  // the one reference of its own

  // A new case: the compound file with an empty storage for the component.
  Ref<IStorage> root, empty;
  if (!succeeded(StgCreateDocfile(caseFile, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, root.put()),
                 "StgCreateDocfile") ||
      !succeeded(root->CreateStorage(kComponentStorage, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                     empty.put()),
                 "CreateStorage"))
    return false;
  empty.reset();
  container->setCase(root.get());

  // No window of its own: 0 leaves the DLL's message boxes without an owner.
  if (!succeeded(gui->setup(0, static_cast<ExtnContainer*>(container.get()), filter), "setup")) return false;
  BSTR component = SysAllocString(progId);
  HRESULT hr = gui->setProgIds(component, nullptr);
  SysFreeString(component);
  if (!succeeded(hr, "setProgIds")) return false;
  Ref<IDispatch> created, parent;
  if (!succeeded(gui->createComp(created.put(), parent.put()), "createComp")) return false;
  long kind = 0;
  if (!succeeded(gui->getPersistType(&kind), "getPersistType")) return false;
  std::wprintf(L"created %ls, persistence kind %ld\n", progId, kind);

  bool done = succeeded(gui->loadStorage(VARIANT_FALSE), "loadStorage(new)") &&
              succeeded(gui->saveStorage(), "saveStorage") && succeeded(root->Commit(STGC_DEFAULT), "Commit");
  // The case closed and opened again for reading, as after a restart of the host.
  container->setCase(nullptr);
  root.reset();
  done = done &&
         succeeded(StgOpenStorage(caseFile, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put()),
                   "StgOpenStorage");
  if (done) container->setCase(root.get());
  done = done && succeeded(gui->loadStorage(VARIANT_TRUE), "loadStorage(recall)");
  if (done) std::wprintf(L"saved to and loaded from %ls\n", caseFile);

  // Before the object goes: the component, its parent and the container are given back.
  created.reset();
  parent.reset();
  done = succeeded(gui->releaseComponents(), "releaseComponents") && done;
  container->setCase(nullptr);
  return done;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc > 4) {
    std::fwprintf(stderr, L"usage: minimal_host PROGID CASEFILE [FILTER]\n");
    return 2;
  }
  const long filter = argc == 4 ? std::wcstol(argv[3], nullptr, 10) : static_cast<long>(catf_UnitOperation);
  if (!succeeded(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), "CoInitializeEx")) return 1;
  const bool done = run(argv[1], argv[2], filter);
  CoUninitialize();
  return done ? 0 : 1;
}
