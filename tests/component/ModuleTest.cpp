// The DLL as hosts and COM load it: the file (imports, resources), its class object called directly
// (class table, CreateInstance with and without an outer object, aggregation) and the unload answer.
#include <set>
#include <vector>
#include "common/TestSupport.h"

namespace {

// An outer object of the test's own: it counts references, records what it was asked for and,
// once it aggregates a CCAPEGUI object, hands out its ICCAPEGUI and IDispatch.
struct Outer : IUnknown {
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    asked.push_back(riid);
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) return *ppv = this, AddRef(), S_OK;
    bool delegated = IsEqualIID(riid, IID_ICCAPEGUI) || IsEqualIID(riid, IID_IDispatch);
    return inner && delegated ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
  LONG refs = 1;
  IUnknown* inner = nullptr;
  std::vector<IID> asked;
};

class ModuleTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    module_ = LoadLibraryA(tx::productDll().c_str());
    ASSERT_NE(nullptr, module_);
    getClassObject = reinterpret_cast<decltype(getClassObject)>(GetProcAddress(module_, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<decltype(canUnloadNow)>(GetProcAddress(module_, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);
    ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.put_void()));
  }
  void TearDown() override {
    factory.reset();
    if (module_) FreeLibrary(module_);
  }
  template <class T>
  const T* at(DWORD rva) const { return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module_) + rva); }

  HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
  fw::ComPtr<IClassFactory> factory;
  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(ModuleTest, SixtyFourBitDllNeedingOnlyWindowsWithItsIconAndVersion) {
  const auto* nt = at<IMAGE_NT_HEADERS64>(at<IMAGE_DOS_HEADER>(0)->e_lfanew);
  ASSERT_EQ(IMAGE_NT_SIGNATURE, nt->Signature);
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, nt->FileHeader.Machine);
  EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
  // Nothing beyond Windows' own libraries: no runtime library of the compiler.
  const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "GDI32.DLL", "KERNEL32.DLL",
      "MSVCRT.DLL", "OLE32.DLL", "OLEAUT32.DLL", "SHELL32.DLL", "SHLWAPI.DLL", "USER32.DLL", "VERSION.DLL"};
  int count = 0;
  DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (const auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(imports); imports && entry->Name; ++entry, ++count) {
    std::string name = at<char>(entry->Name);
    CharUpperA(&name[0]);
    EXPECT_TRUE(system.count(name)) << name << " is not a library of Windows itself";
  }
  EXPECT_GT(count, 0);

  EXPECT_NE(nullptr, LoadIconA(module_, MAKEINTRESOURCEA(217)));
  std::string path = tx::productDll();
  std::vector<BYTE> block(GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_TRUE(!block.empty() && GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  char* value = nullptr;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\OriginalFilename",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ("TxCOGUI.dll", value);
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}

TEST_F(ModuleTest, ClassTableHoldsOnlyCcapeguiWhoseClassObjectIsMadeOnceAndKept) {
  const struct { const GUID* clsid; const IID* iid; HRESULT hr; } rows[] = {
      {&IID_ICCAPEGUI, &IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE}, {&CLSID_CCAPEGUI, &IID_IUnknown, S_OK},
      {&CLSID_NULL, &IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE}, {&CLSID_CCAPEGUI, &IID_IDispatch, E_NOINTERFACE}};
  for (const auto& row : rows) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(row.hr, getClassObject(*row.clsid, *row.iid, &out));
    EXPECT_EQ(row.hr == S_OK ? static_cast<IUnknown*>(factory.get()) : nullptr, out);
    if (row.hr == S_OK && out) static_cast<IUnknown*>(out)->Release();
  }
  EXPECT_EQ(E_POINTER, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, nullptr));
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IClassFactory2, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, factory->QueryInterface(IID_IUnknown, nullptr));
  // COM finds the same class object; giving back every reference of ours does not end it.
  fw::ComPtr<IClassFactory> viaCom;
  ASSERT_EQ(S_OK,
            CoGetClassObject(CLSID_CCAPEGUI, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, viaCom.put_void()));
  EXPECT_EQ(factory.get(), viaCom.get());
  viaCom.reset();
  IClassFactory* raw = factory.detach();
  raw->Release();
  ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.put_void()));
  EXPECT_EQ(raw, factory.get());
}

TEST_F(ModuleTest, CreateInstanceWithAndWithoutAnOuterObjectLeavesNothingAlive) {
  Outer outer;
  const struct { bool aggregated; const IID* iid; bool nullOut; HRESULT hr; } rows[] = {
      {false, &IID_IUnknown, false, S_OK}, {false, &IID_IDispatch, false, S_OK}, {false, &IID_ICCAPEGUI, false, S_OK},
      {false, &IID_ICCAPEGUI, true, E_POINTER}, {false, &IID_IPersist, false, E_NOINTERFACE},
      {true, &IID_ICCAPEGUI, false, CLASS_E_NOAGGREGATION}, {true, &IID_IDispatch, false, CLASS_E_NOAGGREGATION},
      {true, &IID_IUnknown, false, S_OK}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.aggregated << " " << row.nullOut << " " << row.hr);
    void* created = reinterpret_cast<void*>(1);
    EXPECT_EQ(row.hr,
              factory->CreateInstance(row.aggregated ? &outer : nullptr, *row.iid, row.nullOut ? nullptr : &created));
    EXPECT_EQ(row.hr == S_OK || row.nullOut, created != nullptr);
    EXPECT_EQ(row.hr == S_OK ? S_FALSE : S_OK, canUnloadNow());  // each object locks the module
    if (row.hr == S_OK && created) static_cast<IUnknown*>(created)->Release();
    EXPECT_EQ(S_OK, canUnloadNow());
    EXPECT_EQ(1, outer.refs);
  }
}

TEST_F(ModuleTest, AggregatedObjectDelegatesToTheOuterObject) {
  Outer outer;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&outer.inner)));
  ASSERT_NE(nullptr, outer.inner);
  EXPECT_EQ(1, outer.refs);
  void* got = nullptr;  // the inner IUnknown answers IUnknown with itself
  ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IUnknown, &got));
  EXPECT_EQ(outer.inner, got);
  outer.inner->Release();
  ICCAPEGUI* gui = nullptr;
  ASSERT_EQ(S_OK, outer.QueryInterface(IID_ICCAPEGUI, reinterpret_cast<void**>(&gui)));
  EXPECT_EQ(2, outer.refs);  // the reference that the interface carries is the outer object's
  EXPECT_EQ(3u, gui->AddRef());  // counted by the outer object
  EXPECT_EQ(2u, gui->Release());
  ASSERT_EQ(S_OK, gui->QueryInterface(IID_IUnknown, &got));
  EXPECT_EQ(static_cast<void*>(&outer), got);
  outer.Release();
  outer.asked.clear();
  EXPECT_EQ(E_NOINTERFACE, gui->QueryInterface(IID_IPersist, &got));
  EXPECT_EQ(nullptr, got);
  ASSERT_EQ(1u, outer.asked.size());
  EXPECT_TRUE(IsEqualIID(IID_IPersist, outer.asked[0]));
  BSTR catid = nullptr;  // and works as a plain one
  EXPECT_EQ(S_OK, gui->GetCATID(&catid));
  EXPECT_EQ("", tx::bstrText(catid));
  SysFreeString(catid);
  gui->Release();
  EXPECT_EQ(1, outer.refs);
  EXPECT_EQ(0u, outer.inner->Release());
  EXPECT_EQ(1, outer.refs);
}

TEST_F(ModuleTest, UnloadWaitsForEveryObjectAndLock) {
  EXPECT_EQ(S_OK, canUnloadNow());  // references to the class object do not lock the module
  fw::ComPtr<ICCAPEGUI> first, second;
  ASSERT_EQ(S_OK, tx::createProduct(first.put()));
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ICCAPEGUI, second.put_void()));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  first.reset();
  EXPECT_EQ(S_FALSE, canUnloadNow());
  second.reset();
  EXPECT_EQ(S_OK, canUnloadNow());
  for (const auto& step : {std::make_pair(TRUE, S_FALSE), std::make_pair(TRUE, S_FALSE), std::make_pair(FALSE, S_FALSE),
                            std::make_pair(FALSE, S_OK)}) {
    ASSERT_EQ(S_OK, factory->LockServer(step.first));
    EXPECT_EQ(step.second, canUnloadNow());
  }
  EXPECT_EQ(S_OK, canUnloadNow());
}
