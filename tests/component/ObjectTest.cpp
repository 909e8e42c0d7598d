// The CCAPEGUI object as hosts see it: creation, interfaces, aggregation, defaults, the
// plain getters and setters, and the method frames.
#include <gtest/gtest.h>
#include <vector>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "component/CCAPEGUI.h"
#include "framework/ObjectRoot.h"

namespace {

class ObjectTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }
  fw::ComPtr<ICCAPEGUI> object;
};

// Takes a BSTR that the object handed out: its text, "<null>" for a null one.
std::string taken(BSTR value) {
  std::string text = tx::bstrText(value);
  SysFreeString(value);
  return text;
}

// An object of the test's own that aggregates a CCAPEGUI object and hands out its
// ICCAPEGUI and IDispatch; it counts references and records what it was asked for.
class Outer : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    asked.push_back(riid);
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    if (inner && (IsEqualIID(riid, IID_ICCAPEGUI) || IsEqualIID(riid, IID_IDispatch)))
      return inner->QueryInterface(riid, ppv);
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }

  LONG refs = 1;
  IUnknown* inner = nullptr;
  std::vector<IID> asked;
};

// A hidden top-level window, as the host's.
struct HostWindow {
  HostWindow() : window(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                        nullptr, nullptr)) {}
  fw::UniqueWindow window;
  HWND get() const { return window.get(); }
};

// The object built inside the test program itself, so that the support library's
// process-wide state (the owner window) is the one the test can read.
fw::ComPtr<ICCAPEGUI> internalObject() {
  fw::ComPtr<ICCAPEGUI> result;
  EXPECT_EQ(S_OK, fw::ComObject<CCCAPEGUI>::CreateInstance(IID_ICCAPEGUI, result.put_void()));
  return result;
}

}  // namespace

TEST_F(ObjectTest, NewObjectHasDocumentedDefaults) {
  BSTR text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemProgID(&text));
  EXPECT_EQ(nullptr, text);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemAlias(&text));
  EXPECT_EQ(nullptr, text);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetParentProgID(&text));
  EXPECT_EQ(nullptr, text);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetParentAlias(&text));
  EXPECT_EQ(nullptr, text);
  ASSERT_EQ(S_OK, object->GetCATID(&text));
  EXPECT_EQ("", taken(text));
  LONG version = -1;
  ASSERT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(0, version);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->get_serverName(&text));
  EXPECT_EQ(nullptr, text);

  // The registry fields: empty, never null.
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, object->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
  for (BSTR& field : info) EXPECT_EQ("", taken(field));
}

TEST_F(ObjectTest, QueryInterfaceAnswersItsThreeInterfacesOnly) {
  fw::ComPtr<IUnknown> unknown, unknownAgain;
  fw::ComPtr<IDispatch> dispatch;
  fw::ComPtr<ICCAPEGUI> gui;
  ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, unknown.put_void()));
  ASSERT_EQ(S_OK, object->QueryInterface(IID_IDispatch, dispatch.put_void()));
  ASSERT_EQ(S_OK, object->QueryInterface(IID_ICCAPEGUI, gui.put_void()));
  ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IUnknown, unknownAgain.put_void()));
  EXPECT_EQ(unknown.get(), unknownAgain.get());  // one identity

  const IID* others[] = {&IID_IPersist,       &IID_IPersistStream,  &IID_IClassFactory, &IID_IProvideClassInfo,
                         &IID_ISupportErrorInfo, &IID_IMarshal, &IID_IConnectionPointContainer, &IID_NULL,
                         &CLSID_CCAPEGUI,     &LIBID_TXSHOWCOCATIDSLib};
  for (const IID* iid : others) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*iid, &out));
    EXPECT_EQ(nullptr, out);
  }
  EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(ObjectTest, AggregatedObjectDelegatesToTheOuterObject) {
  Outer outer;
  fw::ComPtr<ICCAPEGUI> notAllowed;
  // An outer object may ask for nothing but IUnknown at creation.
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            CoCreateInstance(CLSID_CCAPEGUI, &outer, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, notAllowed.put_void()));
  EXPECT_FALSE(notAllowed);
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&outer.inner)));
  ASSERT_NE(nullptr, outer.inner);
  EXPECT_EQ(1, outer.refs);

  // The inner IUnknown answers IUnknown with itself.
  IUnknown* innerSelf = nullptr;
  ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&innerSelf)));
  EXPECT_EQ(outer.inner, innerSelf);
  innerSelf->Release();

  ICCAPEGUI* gui = nullptr;
  ASSERT_EQ(S_OK, outer.QueryInterface(IID_ICCAPEGUI, reinterpret_cast<void**>(&gui)));
  EXPECT_EQ(2, outer.refs);  // the reference that the interface carries is the outer object's
  gui->AddRef();
  EXPECT_EQ(3, outer.refs);
  gui->Release();
  EXPECT_EQ(2, outer.refs);

  IUnknown* identity = nullptr;
  ASSERT_EQ(S_OK, gui->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
  identity->Release();
  outer.asked.clear();
  void* persist = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, gui->QueryInterface(IID_IPersist, &persist));
  EXPECT_EQ(nullptr, persist);
  ASSERT_EQ(1u, outer.asked.size());
  EXPECT_TRUE(IsEqualIID(IID_IPersist, outer.asked[0]));

  // The aggregated object works as a plain one.
  BSTR catid = nullptr;
  EXPECT_EQ(S_OK, gui->GetCATID(&catid));
  EXPECT_EQ("", taken(catid));
  gui->Release();
  EXPECT_EQ(1, outer.refs);
  EXPECT_EQ(0u, outer.inner->Release());
  outer.inner = nullptr;
  EXPECT_EQ(1, outer.refs);
}

TEST_F(ObjectTest, GetLastErrorLeavesItsArgumentAlone) {
  BSTR mine = SysAllocString(L"host's text");
  BSTR message = mine;
  EXPECT_EQ(S_OK, object->getLastError(&message));
  EXPECT_EQ(mine, message);
  EXPECT_STREQ(L"host's text", message);
  SysFreeString(mine);
  EXPECT_EQ(S_OK, object->getLastError(nullptr));
}

TEST_F(ObjectTest, ServerNameIsAFreshCopyEachWay) {
  BSTR given = SysAllocString(L"\\\\computer");
  ASSERT_EQ(S_OK, object->put_serverName(given));
  BSTR first = nullptr, second = nullptr;
  ASSERT_EQ(S_OK, object->get_serverName(&first));
  ASSERT_EQ(S_OK, object->get_serverName(&second));
  EXPECT_NE(given, first);
  EXPECT_NE(first, second);
  SysFreeString(given);  // the object keeps its own copy
  EXPECT_EQ("\\\\computer", taken(first));
  EXPECT_EQ("\\\\computer", taken(second));

  BSTR empty = SysAllocString(L"");
  ASSERT_EQ(S_OK, object->put_serverName(empty));
  SysFreeString(empty);
  ASSERT_EQ(S_OK, object->get_serverName(&first));
  EXPECT_EQ("", taken(first));
  ASSERT_EQ(S_OK, object->put_serverName(nullptr));
  ASSERT_EQ(S_OK, object->get_serverName(&first));
  EXPECT_EQ("<null>", taken(first));
}

TEST_F(ObjectTest, CompCOversionIsStoredAsGiven) {
  for (LONG value : {93L, 1000L, -5L, 0L}) {
    ASSERT_EQ(S_OK, object->put_compCOversion(value));
    LONG read = 12345;
    ASSERT_EQ(S_OK, object->get_compCOversion(&read));
    EXPECT_EQ(value, read);
  }
}

TEST_F(ObjectTest, AliasesAreKeptAndNullIsEmpty) {
  BSTR component = SysAllocString(L"My package");
  BSTR parent = SysAllocString(L"My system");
  ASSERT_EQ(S_OK, object->setAlias(component, parent));
  SysFreeString(component);
  SysFreeString(parent);
  BSTR text = nullptr;
  ASSERT_EQ(S_OK, object->GetItemAlias(&text));
  EXPECT_EQ("My package", taken(text));
  ASSERT_EQ(S_OK, object->GetParentAlias(&text));
  EXPECT_EQ("My system", taken(text));
  // The ProgIDs are other fields.
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemProgID(&text));
  EXPECT_EQ(nullptr, text);

  ASSERT_EQ(S_OK, object->setAlias(nullptr, nullptr));
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemAlias(&text));
  EXPECT_EQ(nullptr, text);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetParentAlias(&text));
  EXPECT_EQ(nullptr, text);
}

TEST_F(ObjectTest, NullOutPointersOfThePlainMethodsAreRefused) {
  EXPECT_EQ(E_POINTER, object->GetItemAlias(nullptr));
  EXPECT_EQ(E_POINTER, object->GetParentProgID(nullptr));
  EXPECT_EQ(E_POINTER, object->GetParentAlias(nullptr));
  EXPECT_EQ(E_POINTER, object->get_compCOversion(nullptr));
  BSTR a = nullptr, b = nullptr, c = nullptr, d = nullptr;
  EXPECT_EQ(E_POINTER, object->GetItemInfo(&a, &b, &c, &d, nullptr));
  EXPECT_EQ(E_POINTER, object->GetItemInfo(nullptr, &a, &b, &c, &d));
  // Nothing is handed out when the call is refused.
  EXPECT_EQ(nullptr, a);
  EXPECT_EQ(nullptr, d);
}

TEST_F(ObjectTest, EnableWarningsTakesAnyValue) {
  EXPECT_EQ(S_OK, object->put_enableWarnings(VARIANT_TRUE));
  EXPECT_EQ(S_OK, object->put_enableWarnings(1));
  EXPECT_EQ(S_OK, object->put_enableWarnings(VARIANT_FALSE));
}

TEST_F(ObjectTest, CreationMakesNoWindowOwnerAndPlainMethodsLeaveTheOwner) {
  HostWindow host, other;
  MTUtils::setOwnerWindow(other.get());
  fw::ComPtr<ICCAPEGUI> own = internalObject();
  ASSERT_TRUE(own);
  // FinalConstruct ran the window frame with no host window yet.
  EXPECT_EQ(nullptr, MTUtils::ownerWindow());

  ASSERT_EQ(S_OK, own->setup(reinterpret_cast<INT_PTR>(host.get()), nullptr, catf_PropertyPackage));
  MTUtils::setOwnerWindow(other.get());
  BSTR text = nullptr;
  ASSERT_EQ(S_OK, own->GetItemProgID(&text));
  SysFreeString(text);
  ASSERT_EQ(S_OK, own->GetCATID(&text));
  SysFreeString(text);
  ASSERT_EQ(S_OK, own->put_compCOversion(90));
  ASSERT_EQ(S_OK, own->setAlias(nullptr, nullptr));
  EXPECT_EQ(other.get(), MTUtils::ownerWindow());

  // A window-frame method makes the host's window the owner, and it stays so.
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, own->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
  for (BSTR field : info) SysFreeString(field);
  EXPECT_EQ(host.get(), MTUtils::ownerWindow());
  MTUtils::setOwnerWindow(nullptr);
}

TEST_F(ObjectTest, EveryObjectIsItsOwn) {
  fw::ComPtr<ICCAPEGUI> second;
  ASSERT_EQ(S_OK, tx::createProduct(second.put()));
  ASSERT_NE(object.get(), second.get());
  ASSERT_EQ(S_OK, object->put_compCOversion(110));
  BSTR name = SysAllocString(L"first");
  ASSERT_EQ(S_OK, object->setAlias(name, name));
  SysFreeString(name);
  LONG version = -1;
  ASSERT_EQ(S_OK, second->get_compCOversion(&version));
  EXPECT_EQ(0, version);
  BSTR alias = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, second->GetItemAlias(&alias));
  EXPECT_EQ(nullptr, alias);
}

namespace {

// The host's last reference, dropped from a timer of its own while a dialog of the object
// runs; the dialog is closed by the same timer.
struct DroppedHost {
  static ICCAPEGUI* object;
  static HRESULT (*canUnload)();
  static HRESULT whileUp;
  static void CALLBACK drop(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    if (object) object->Release();
    object = nullptr;
    whileUp = canUnload();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
};
ICCAPEGUI* DroppedHost::object = nullptr;
HRESULT (*DroppedHost::canUnload)() = nullptr;
HRESULT DroppedHost::whileUp = E_FAIL;

TEST(ObjectLifetimeTest, TheObjectOutlivesItsDialogsWhenTheHostLetsItGo) {
  fw::ComInit com;
  using Show = HRESULT (*)(ICCAPEGUI*);
  const struct {
    const char* name;
    Show show;
  } cases[] = {
      {"ShowGUI",
       [](ICCAPEGUI* o) {
         BSTR component = nullptr, category = nullptr;
         HRESULT hr = o->ShowGUI(&component, &category);
         SysFreeString(component);
         SysFreeString(category);
         return hr;
       }},
      {"showStaticInfo", [](ICCAPEGUI* o) { return o->showStaticInfo(); }},
      {"ShowThermoGUI", [](ICCAPEGUI* o) { return o->ShowThermoGUI(VARIANT_TRUE); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ICCAPEGUI* raw = nullptr;
    ASSERT_EQ(S_OK, tx::createProduct(&raw));
    DroppedHost::object = raw;
    DroppedHost::canUnload = reinterpret_cast<HRESULT (*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("TxCOGUI.dll"), "DllCanUnloadNow")));
    ASSERT_NE(DroppedHost::canUnload, nullptr);
    DroppedHost::whileUp = E_FAIL;
    BoxCapture boxes;
    boxes.queueAnswers({IDYES});  // the Component Manager asks before it is cancelled
    int dialogs = 0;
    boxes.onDialog([&](HWND dialog) {
      if (dialogs++ == 0) SetTimer(dialog, 1, 20, &DroppedHost::drop);
    });
    EXPECT_EQ(S_OK, c.show(raw));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(DroppedHost::object, nullptr);
    // The method held the object for the dialog's run, and let it go when it returned.
    EXPECT_EQ(S_FALSE, DroppedHost::whileUp);
    EXPECT_EQ(S_OK, DroppedHost::canUnload());
    if (DroppedHost::object) DroppedHost::object->Release();
    DroppedHost::object = nullptr;
  }
}

}  // namespace
