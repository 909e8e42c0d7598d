// The CCAPEGUI object's identity and life: its interfaces, the owner window of its messages, and
// its dialogs outliving the host's last reference.
#include "common/DialogDriver.h"
#include "common/ProductFixture.h"
#include "component/CCAPEGUI.h"
#include "framework/ObjectRoot.h"

namespace {

using ObjectTest = tx::ProductTest;

}  // namespace

TEST_F(ObjectTest, QueryInterfaceAnswersItsThreeInterfacesOnlyAndEveryObjectIsItsOwn) {
  const std::pair<const IID*, HRESULT> rows[] = {{&IID_IUnknown, S_OK}, {&IID_IDispatch, S_OK}, {&IID_ICCAPEGUI, S_OK},
      {&IID_IPersist, E_NOINTERFACE}, {&IID_IPersistStream, E_NOINTERFACE}, {&IID_IClassFactory, E_NOINTERFACE},
      {&IID_IProvideClassInfo, E_NOINTERFACE}, {&IID_ISupportErrorInfo, E_NOINTERFACE}, {&IID_IMarshal, E_NOINTERFACE},
      {&IID_IConnectionPointContainer, E_NOINTERFACE}, {&IID_NULL, E_NOINTERFACE}, {&CLSID_CCAPEGUI, E_NOINTERFACE},
      {&LIBID_TXSHOWCOCATIDSLib, E_NOINTERFACE}};
  fw::ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, identity.put_void()));
  for (const auto& row : rows) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(row.second, object->QueryInterface(*row.first, &out));
    if (row.second != S_OK) { EXPECT_EQ(nullptr, out); }
    if (row.second != S_OK || !out) continue;
    fw::ComPtr<IUnknown> answered, back;
    answered.attach(static_cast<IUnknown*>(out));
    ASSERT_EQ(S_OK, answered->QueryInterface(IID_IUnknown, back.put_void()));
    EXPECT_EQ(identity.get(), back.get());  // one identity
  }
  EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));

  fw::ComPtr<ICCAPEGUI> second;
  LONG version = -1;
  ASSERT_EQ(S_OK, tx::createProduct(second.put()));
  ASSERT_EQ(S_OK, object->put_compCOversion(110));
  EXPECT_TRUE(object.get() != second.get() && SUCCEEDED(second->get_compCOversion(&version)) && version == 0);
}

TEST_F(ObjectTest, OnlyWindowFrameMethodsMakeTheHostsWindowTheOwner) {
  fw::UniqueWindow host(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                        nullptr, nullptr));
  fw::UniqueWindow other(CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  // The object built inside this program, whose support library's owner window the test can read.
  MTUtils::setOwnerWindow(other.get());
  fw::ComPtr<ICCAPEGUI> own;
  ASSERT_EQ(S_OK, fw::ComObject<CCCAPEGUI>::CreateInstance(IID_ICCAPEGUI, own.put_void()));
  EXPECT_EQ(nullptr, MTUtils::ownerWindow());  // FinalConstruct: no host window yet

  ASSERT_EQ(S_OK, own->setup(reinterpret_cast<INT_PTR>(host.get()), nullptr, catf_PropertyPackage));
  MTUtils::setOwnerWindow(other.get());
  BSTR text = nullptr;
  ASSERT_EQ(S_OK, own->GetItemProgID(&text));
  ASSERT_EQ(S_OK, own->GetCATID(&text));
  SysFreeString(text);
  ASSERT_EQ(S_OK, own->put_compCOversion(90));
  ASSERT_EQ(S_OK, own->setAlias(nullptr, nullptr));
  EXPECT_EQ(other.get(), MTUtils::ownerWindow());
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, own->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
  for (BSTR field : info) SysFreeString(field);
  EXPECT_EQ(host.get(), MTUtils::ownerWindow());  // and it stays so
  MTUtils::setOwnerWindow(nullptr);
}

TEST_F(ObjectTest, TheObjectOutlivesItsDialogsWhenTheHostLetsItGo) {
  object.reset();
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      GetProcAddress(GetModuleHandleA("TxCOGUI.dll"), "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  const char kManager[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
  const std::pair<std::string, const char*> shows[] = {{"ShowGUI", kManager}, {"showStaticInfo", kManager},
      {"ShowThermoGUI", "CAPE-OPEN Property Package Detailed Information"}};
  for (const auto& show : shows) {
    SCOPED_TRACE(show.first);
    ICCAPEGUI* raw = nullptr;
    ASSERT_EQ(S_OK, tx::createProduct(&raw));
    HRESULT whileUp = E_FAIL;
    boxes.queueAnswers({IDYES});  // the Component Manager asks before it is cancelled
    tx::DialogDriver driver(boxes, show.second);
    driver.then([&](HWND dialog) {  // the host's last reference goes while the dialog runs
      raw->Release();
      raw = nullptr;
      whileUp = canUnload();
      tx::postClick(dialog, IDCANCEL);
    });
    BSTR component = nullptr, category = nullptr;
    EXPECT_EQ(S_OK, show.first == "ShowGUI"          ? raw->ShowGUI(&component, &category)
                    : show.first == "showStaticInfo" ? raw->showStaticInfo()
                                                     : raw->ShowThermoGUI(VARIANT_TRUE));
    SysFreeString(component);
    SysFreeString(category);
    EXPECT_EQ(1, driver.dialogsSeen());
    // The method held the object for the dialog's run, and let it go when it returned.
    EXPECT_EQ(S_FALSE, whileUp);
    EXPECT_EQ(S_OK, canUnload());
    if (raw) raw->Release();
  }
}
