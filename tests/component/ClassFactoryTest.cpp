// The DLL's exports and class object called directly, as COM calls them: the class
// table, the cached class object, CreateInstance's edge cases and the unload answer.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "common/TestSupport.h"

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

class ClassFactoryTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    module_ = LoadLibraryA(tx::productDll().c_str());
    ASSERT_NE(nullptr, module_);
    getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module_, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<CanUnloadNowFn>(GetProcAddress(module_, "DllCanUnloadNow"));
    ASSERT_NE(nullptr, getClassObject);
    ASSERT_NE(nullptr, canUnloadNow);
    ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.put_void()));
  }
  void TearDown() override {
    factory.reset();
    if (module_) FreeLibrary(module_);
  }

  GetClassObjectFn getClassObject = nullptr;
  CanUnloadNowFn canUnloadNow = nullptr;
  fw::ComPtr<IClassFactory> factory;

 private:
  HMODULE module_ = nullptr;
};

// An outer object that only counts.
class CountingUnknown : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
  LONG refs = 1;
};

}  // namespace

TEST_F(ClassFactoryTest, ClassTableHoldsOnlyCcapegui) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_ICCAPEGUI, IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(CLSID_NULL, IID_IUnknown, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, nullptr));
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, getClassObject(CLSID_CCAPEGUI, IID_IDispatch, &out));
  EXPECT_EQ(nullptr, out);
}

TEST_F(ClassFactoryTest, ClassObjectIsMadeOnceAndKept) {
  fw::ComPtr<IClassFactory> again;
  fw::ComPtr<IUnknown> asUnknown;
  ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, again.put_void()));
  ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IUnknown, asUnknown.put_void()));
  EXPECT_EQ(factory.get(), again.get());
  EXPECT_EQ(static_cast<IUnknown*>(factory.get()), asUnknown.get());
  // Giving back every reference of ours does not end it: the module keeps one.
  again.reset();
  asUnknown.reset();
  IClassFactory* raw = factory.detach();
  raw->Release();
  ASSERT_EQ(S_OK, getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.put_void()));
  EXPECT_EQ(raw, factory.get());
}

TEST_F(ClassFactoryTest, UnloadWaitsForObjectsAndLocks) {
  EXPECT_EQ(S_OK, canUnloadNow());  // class object references do not lock the module

  fw::ComPtr<ICCAPEGUI> first, second;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ICCAPEGUI, first.put_void()));
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_ICCAPEGUI, second.put_void()));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  first.reset();
  EXPECT_EQ(S_FALSE, canUnloadNow());
  second.reset();
  EXPECT_EQ(S_OK, canUnloadNow());

  ASSERT_EQ(S_OK, factory->LockServer(TRUE));
  ASSERT_EQ(S_OK, factory->LockServer(TRUE));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  ASSERT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  ASSERT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_OK, canUnloadNow());

  CountingUnknown outer;
  fw::ComPtr<IUnknown> inner;
  ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, inner.put_void()));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  inner.reset();
  EXPECT_EQ(S_OK, canUnloadNow());
  EXPECT_EQ(1, outer.refs);
}

TEST_F(ClassFactoryTest, UnloadAnswerThroughCom) {
  fw::ComPtr<IClassFactory> viaCom;
  ASSERT_EQ(S_OK, CoGetClassObject(CLSID_CCAPEGUI, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   viaCom.put_void()));
  // The registered server is the module the test loaded.
  EXPECT_EQ(factory.get(), viaCom.get());
  fw::ComPtr<ICCAPEGUI> object;
  ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  EXPECT_EQ(S_FALSE, canUnloadNow());
  object.reset();
  EXPECT_EQ(S_OK, canUnloadNow());
}

TEST_F(ClassFactoryTest, CreateInstanceEdgeCases) {
  EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_ICCAPEGUI, nullptr));

  // An interface the object lacks: nothing handed out, nothing left alive.
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IPersist, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(S_OK, canUnloadNow());

  CountingUnknown outer;
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_ICCAPEGUI, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(1, outer.refs);
  EXPECT_EQ(S_OK, canUnloadNow());

  // IUnknown, IDispatch and ICCAPEGUI can all be asked for at creation.
  for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &IID_ICCAPEGUI}) {
    fw::ComPtr<IUnknown> created;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, *iid, created.put_void()));
    EXPECT_TRUE(created);
  }
  EXPECT_EQ(S_OK, canUnloadNow());
}

TEST_F(ClassFactoryTest, ClassFactoryAnswersItsOwnInterfacesOnly) {
  fw::ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, factory->QueryInterface(IID_IUnknown, unknown.put_void()));
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IClassFactory2, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, factory->QueryInterface(IID_IUnknown, nullptr));
}
