// ShowGUI as the user drives it: the Component Manager's choice comes back through the
// out parameters and every getter.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include "component/ComponentRoad.h"

namespace {

const char kManager[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
std::function<void(HWND)> g_script;

void CALLBACK runScript(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  if (g_script) g_script(dialog);
  // Whatever the script did, the dialog never waits for a person.
  if (IsWindow(dialog) && IsWindowVisible(dialog)) EndDialog(dialog, IDCANCEL);
}

std::string itemText(HWND tree, HTREEITEM item) {
  char text[512] = "";
  TVITEMA data = {};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

// The item with 'label' among the children of 'parent' (the roots when null).
HTREEITEM child(HWND tree, HTREEITEM parent, const std::string& label) {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
  while (item && itemText(tree, item) != label)
    item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  return item;
}

// Makes every COM task allocation (BSTRs among them) fail while armed. COM may still call
// it after it is revoked, for blocks it saw, so it lives as long as the process.
class FailingAllocations : public IMallocSpy {
 public:
  static FailingAllocations& instance() {
    static FailingAllocations* spy = new FailingAllocations;
    return *spy;
  }
  bool registered() { return registered_ || (registered_ = SUCCEEDED(CoRegisterMallocSpy(this))); }
  bool armed = false;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T cb) override { return armed ? 0 : cb; }
  STDMETHODIMP_(void*) PostAlloc(void* p) override { return p; }
  STDMETHODIMP_(void*) PreFree(void* p, BOOL) override { return p; }
  STDMETHODIMP_(void) PostFree(BOOL) override {}
  STDMETHODIMP_(SIZE_T) PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override {
    *out = p;
    return armed ? 0 : cb;
  }
  STDMETHODIMP_(void*) PostRealloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(void*) PreGetSize(void* p, BOOL) override { return p; }
  STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T cb, BOOL) override { return cb; }
  STDMETHODIMP_(void*) PreDidAlloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  STDMETHODIMP_(void) PreHeapMinimize() override {}
  STDMETHODIMP_(void) PostHeapMinimize() override {}

 private:
  FailingAllocations() = default;
  bool registered_ = false;
};

class ShowGuiTest : public ComponentRoad {
 protected:
  // Runs ShowGUI with 'script' driving the dialog once it is up.
  HRESULT show(BoxCapture& boxes, std::function<void(HWND)> script, BSTR* component, BSTR* catids) {
    g_script = std::move(script);
    boxes.onDialog([](HWND dialog) {
      char caption[128] = "";
      GetWindowTextA(dialog, caption, sizeof caption);
      if (strcmp(caption, kManager) == 0) SetTimer(dialog, 1, 20, runScript);
    });
    HRESULT hr = object->ShowGUI(component, catids);
    g_script = nullptr;
    return hr;
  }

  std::string text(HRESULT(STDMETHODCALLTYPE ICCAPEGUI::*getter)(BSTR*)) {
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, (object.get()->*getter)(&value));
    std::string result = tx::bstrText(value);
    SysFreeString(value);
    return result;
  }
};

}  // namespace

TEST_F(ShowGuiTest, ChoosingAPackageFillsEveryGetter) {
  BoxCapture boxes;
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_ThermoSystem | catf_PropertyPackage));
  BSTR component = nullptr, catids = nullptr;
  bool selected = false;
  HRESULT hr = show(boxes, [&](HWND dialog) {
    HWND tree = GetDlgItem(dialog, 1018);
    HTREEITEM systems = child(tree, nullptr, "Thermo Property Systems");
    HTREEITEM system = child(tree, systems, "Sample Property System [TxSamples.ThermoSystem.1]");
    HTREEITEM package = child(tree, system, "Light Hydrocarbons PR");
    if (!package) return;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(package));
    selected = true;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }, &component, &catids);
  ASSERT_TRUE(selected);
  EXPECT_EQ(S_OK, hr);
  EXPECT_EQ("Light Hydrocarbons PR", tx::bstrText(component));
  EXPECT_EQ("{678c09a4-7d66-11D2-a67d-00105a42887f}", tx::bstrText(catids));
  SysFreeString(component);
  SysFreeString(catids);

  EXPECT_EQ("Light Hydrocarbons PR", text(&ICCAPEGUI::GetItemProgID));
  EXPECT_EQ("Light Hydrocarbons PR", text(&ICCAPEGUI::GetItemAlias));
  EXPECT_EQ("TxSamples.ThermoSystem.1", text(&ICCAPEGUI::GetParentProgID));
  EXPECT_EQ("Sample Property System", text(&ICCAPEGUI::GetParentAlias));
  EXPECT_EQ("{678c09a4-7d66-11D2-a67d-00105a42887f}", text(&ICCAPEGUI::GetCATID));
  EXPECT_EQ("{48A5EE01-C142-4CD3-8B24-753429CE9195}", text(&ICCAPEGUI::GetItemCLSID));
  EXPECT_EQ("{48A5EE01-C142-4CD3-8B24-753429CE9195}", text(&ICCAPEGUI::GetParentCLSID));
  EXPECT_EQ("", text(&ICCAPEGUI::get_serverName));
  LONG version = 0;
  object->get_compCOversion(&version);
  EXPECT_EQ(100, version);
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, object->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
  EXPECT_EQ("Equation of state package for C1 to C4", tx::bstrText(info[0]));
  EXPECT_EQ("1.2.3", tx::bstrText(info[1]));
  EXPECT_EQ(txs::kVendorURL, tx::bstrText(info[2]));
  EXPECT_EQ(txs::kHelpURL, tx::bstrText(info[3]));
  EXPECT_EQ("Peng-Robinson equation of state", tx::bstrText(info[4]));
  for (BSTR& field : info) SysFreeString(field);
  EXPECT_EQ(0u, boxes.count());

  // The choice can be created at once.
  fw::ComPtr<IDispatch> created, system;
  EXPECT_EQ(S_OK, object->createComp(created.put(), system.put()));
  EXPECT_TRUE(created && system);
}

TEST_F(ShowGuiTest, CancellingAtOnceGivesTwoEmptyStrings) {
  BoxCapture boxes;
  boxes.queueAnswers({IDYES});
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_UnitOperation));
  BSTR component = nullptr, catids = nullptr;
  HRESULT hr = show(boxes, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); },
                    &component, &catids);
  EXPECT_EQ(S_OK, hr);
  ASSERT_NE(nullptr, component);
  ASSERT_NE(nullptr, catids);
  EXPECT_EQ(0u, SysStringLen(component));
  EXPECT_EQ(0u, SysStringLen(catids));
  SysFreeString(component);
  SysFreeString(catids);
  EXPECT_EQ("<null>", text(&ICCAPEGUI::GetItemProgID));
  // The question the user answered with Yes.
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(IDYES, boxes.boxes()[0].answer);
}

TEST_F(ShowGuiTest, AFailureAfterTheDialogIsReportedAndStillWritesTwoEmptyStrings) {
  BoxCapture boxes;
  FailingAllocations& allocations = FailingAllocations::instance();
  ASSERT_TRUE(allocations.registered());
  boxes.queueAnswers({IDYES});
  // No string can be made from the moment the user confirms the cancel until a report.
  boxes.onBox([&](const CapturedBox& box) { allocations.armed = box.text.find("abort") != std::string::npos; });
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_UnitOperation));
  BSTR component = reinterpret_cast<BSTR>(1), catids = reinterpret_cast<BSTR>(1);
  HRESULT hr = show(boxes, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); },
                    &component, &catids);
  allocations.armed = false;
  EXPECT_EQ(S_OK, hr);
  EXPECT_TRUE(boxes.anyContains("Unexpected error in CCAPEGUI::ShowGui for ProgId:"));
  // Never the caller's uninitialised pointers back.
  ASSERT_NE(reinterpret_cast<BSTR>(1), component);
  ASSERT_NE(reinterpret_cast<BSTR>(1), catids);
  EXPECT_EQ("", tx::bstrText(component));
  EXPECT_EQ("", tx::bstrText(catids));
  SysFreeString(component);
  SysFreeString(catids);
}

TEST_F(ShowGuiTest, DefaultFilterShowsNoCategory) {
  BoxCapture boxes;
  boxes.queueAnswers({IDYES});
  BSTR component = nullptr, catids = nullptr;
  int roots = -1;
  show(boxes, [&](HWND dialog) {
    roots = static_cast<int>(SendMessageA(GetDlgItem(dialog, 1018), TVM_GETCOUNT, 0, 0));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }, &component, &catids);
  EXPECT_EQ(0, roots);
  SysFreeString(component);
  SysFreeString(catids);
}
