// Selecting a component: the host's container held by setup, setProgIds without the dialog, and
// ShowGUI as the user drives the Component Manager, its choice read back through every getter.
#include "common/ProductFixture.h"
#include <commctrl.h>
#include <functional>
#include "external/ExtnContainer.h"

namespace {

// A host container of the test's own: answers the IID it is told to, records what it was asked
// for and counts the references it gives.
struct RecordingContainer : IDispatch {
  explicit RecordingContainer(const IID& answers) : answers(answers) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    asked.push_back(riid);
    bool ok = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, answers);
    *ppv = ok ? this : nullptr;
    if (ok) AddRef();
    return ok ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  IID answers;
  std::vector<IID> asked;
  ULONG refs = 1;
};

const char kManager[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
std::function<void(HWND)> g_script;

void CALLBACK runScript(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  if (g_script) g_script(dialog);
  if (IsWindow(dialog) && IsWindowVisible(dialog)) EndDialog(dialog, IDCANCEL);  // never waits for a person
}

// The item with 'label' among the children of 'parent' (the roots when null).
HTREEITEM child(HWND tree, HTREEITEM parent, const std::string& label) {
  char text[512] = "";
  TVITEMA data = {};
  HTREEITEM item = TreeView_GetNextItem(tree, parent, parent ? TVGN_CHILD : TVGN_ROOT);
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    data = {TVIF_TEXT, item, 0, 0, text, sizeof text};
    if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) && label == text) break;
  }
  return item;
}

void click(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Makes every COM task allocation (BSTRs among them) fail while armed. COM may still call it after
// it is revoked, for blocks it saw, so it lives as long as the process.
struct FailingAllocations : IMallocSpy {
  static FailingAllocations& instance() {
    static FailingAllocations* spy = new FailingAllocations;
    return *spy;
  }
  bool registered() { return registered_ || (registered_ = SUCCEEDED(CoRegisterMallocSpy(this))); }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
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
  bool armed = false;
  bool registered_ = false;
};

class SelectionTest : public tx::ProductTest {
 protected:
  // ShowGUI with 'script' driving the Component Manager once it is up; the dialog must run.
  HRESULT show(std::function<void(HWND)> script, BSTR* component, BSTR* catids) {
    int ran = 0;
    g_script = [&](HWND dialog) {
      ++ran;
      script(dialog);
    };
    boxes.onDialog([](HWND dialog) {
      char caption[128] = "";
      GetWindowTextA(dialog, caption, sizeof caption);
      if (strcmp(caption, kManager) == 0) SetTimer(dialog, 1, 20, runScript);
    });
    HRESULT hr = object->ShowGUI(component, catids);
    g_script = nullptr;
    EXPECT_EQ(1, ran);
    return hr;
  }
  // The choice as the getters tell it: ProgID, alias, parent's ProgID and alias, CATID, server, version, the
  // registry's information.
  std::string choice() {
    std::string told;
    for (auto getter : {&ICCAPEGUI::GetItemProgID, &ICCAPEGUI::GetItemAlias, &ICCAPEGUI::GetParentProgID,
                        &ICCAPEGUI::GetParentAlias, &ICCAPEGUI::GetCATID, &ICCAPEGUI::get_serverName})
      told += text(getter) + " | ";
    LONG version = -1;
    BSTR info[5] = {};
    EXPECT_EQ(S_OK, object->get_compCOversion(&version));
    EXPECT_EQ(S_OK, object->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
    told += std::to_string(version);
    for (BSTR field : info) told += " | " + take(field);
    return told;
  }
};

}  // namespace

TEST_F(SelectionTest, SetupHoldsOneContainerAskedByTheUnitOperationBit) {
  RecordingContainer unitHost(IID_ExtnContainerUnit), packageHost(IID_ExtnContainer);
  const struct {
    RecordingContainer* host;
    long filter;
    HRESULT hr;
    const IID* asked;
    ULONG unitRefs, packageRefs;
  } steps[] = {{&unitHost, catf_UnitOperation, S_OK, &IID_ExtnContainerUnit, 2, 1},
               {&packageHost, catf_PropertyPackage, S_OK, &IID_ExtnContainer, 1, 2},      // the replaced one given back
               {&unitHost, catf_PropertyPackage, E_NOINTERFACE, &IID_ExtnContainer, 1, 2},  // reported, held one kept
               {nullptr, catf_ThermoSystem, S_OK, nullptr, 1, 1},                           // none: held one dropped
               {&packageHost, catf_ThermoSystem, S_OK, &IID_ExtnContainer, 1, 2}};
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    EXPECT_EQ(step.hr, object->setup(0, step.host, step.filter));
    if (step.host) { EXPECT_TRUE(IsEqualIID(*step.asked, step.host->asked.back())); }
    EXPECT_EQ(step.unitRefs, unitHost.refs);
    EXPECT_EQ(step.packageRefs, packageHost.refs);
  }
  ASSERT_NO_FATAL_FAILURE(expectBoxes({" ERROR: Unexpected error (0x80004002)"}));
  EXPECT_EQ("Brisk Tarnix CAPE-OPEN", boxes.boxes()[0].caption);
  for (int release = 0; release < 2; ++release) {  // a second release does nothing
    ASSERT_EQ(S_OK, object->releaseComponents());
    EXPECT_EQ(1u, packageHost.refs);
  }
}

TEST_F(SelectionTest, SetProgIdsWithoutTheDialog) {
  ASSERT_EQ(S_OK, object->put_serverName(CTxBSTR(L"\\\\faraway")));
  ASSERT_EQ(S_OK, object->setProgIds(nullptr, nullptr));
  // The server is taken from the registry lookup, which has none.
  EXPECT_EQ("<null> | <null> | <null> | <null> |  |  | 100 |  |  |  |  | ", choice());
  EXPECT_EQ(0u, boxes.count());
  BSTR clsid = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(CO_E_CLASSSTRING, object->GetItemCLSID(&clsid));
  EXPECT_EQ(reinterpret_cast<BSTR>(1), clsid);  // not written
  expectBoxes({"*The component with ProgID '' is not correctly registered. It's CLSID does not appear in the "
               "registry."});

  // A package of an unregistered system keeps its name and the null CLSID.
  boxes.clear();
  ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(L"Orphan Package"), CTxBSTR(L"TxSamples.NoSuchSystem.1")));
  // The system's own lookup found nothing.
  EXPECT_EQ("Orphan Package | Orphan Package | <null> | <null> |  |  | 100 |  |  |  |  | ", choice());
  EXPECT_EQ("{00000000-0000-0000-0000-000000000000}", text(&ICCAPEGUI::GetItemCLSID));
  EXPECT_EQ("Orphan Package(Standalone)", text(&ICCAPEGUI::getFullCOPPClassName));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SelectionTest, ChoosingAPackageInTheDialogFillsEveryGetter) {
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_ThermoSystem | catf_PropertyPackage));
  BSTR component = nullptr, catids = nullptr;
  bool selected = false;
  EXPECT_EQ(S_OK, show([&](HWND dialog) {
    HWND tree = GetDlgItem(dialog, 1018);
    HTREEITEM systems = child(tree, nullptr, "Thermo Property Systems");
    HTREEITEM system = child(tree, systems, "Sample Property System [TxSamples.ThermoSystem.1]");
    HTREEITEM package = child(tree, system, "Light Hydrocarbons PR");
    if (!package) return;
    selected = TreeView_SelectItem(tree, package);
    click(dialog, IDOK);
  }, &component, &catids));
  ASSERT_TRUE(selected);
  EXPECT_EQ("Light Hydrocarbons PR", take(component));
  EXPECT_EQ("{678c09a4-7d66-11D2-a67d-00105a42887f}", take(catids));
  EXPECT_EQ("Light Hydrocarbons PR | Light Hydrocarbons PR | TxSamples.ThermoSystem.1 | Sample Property System | "
            "{678c09a4-7d66-11D2-a67d-00105a42887f} |  | 100 | Equation of state package for C1 to C4 | 1.2.3 | " +
                std::string(txs::kVendorURL) + " | " + txs::kHelpURL + " | Peng-Robinson equation of state",
            choice());
  for (auto getter : {&ICCAPEGUI::GetItemCLSID, &ICCAPEGUI::GetParentCLSID})  // the system's, which the catalogue gave
    EXPECT_EQ("{48A5EE01-C142-4CD3-8B24-753429CE9195}", text(getter));
  EXPECT_EQ(0u, boxes.count());
  fw::ComPtr<IDispatch> created, system;  // the choice can be created at once
  EXPECT_EQ(S_OK, object->createComp(created.put(), system.put()));
  EXPECT_TRUE(created && system);
}

TEST_F(SelectionTest, CancellingGivesTwoEmptyStrings) {
  // The object's own filter shows no category; the user cancels and confirms it.
  boxes.queueAnswers({IDYES});
  BSTR component = nullptr, catids = nullptr;
  int roots = -1;
  EXPECT_EQ(S_OK, show([&](HWND dialog) {
    roots = TreeView_GetCount(GetDlgItem(dialog, 1018));
    click(dialog, IDCANCEL);
  }, &component, &catids));
  EXPECT_EQ(0, roots);
  ASSERT_TRUE(component && catids);
  EXPECT_EQ("", take(component));
  EXPECT_EQ("", take(catids));
  EXPECT_EQ("<null>", text(&ICCAPEGUI::GetItemProgID));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(IDYES, boxes.boxes()[0].answer);
}

// Alone in its process: strings freed before would be handed out again without an allocation.
TEST_F(SelectionTest, AFailureAfterTheDialogIsReportedAndStillWritesTwoEmptyStrings) {
  // No string can be made from the moment the user confirms the cancel until a report.
  FailingAllocations& allocations = FailingAllocations::instance();
  ASSERT_TRUE(allocations.registered());
  boxes.queueAnswers({IDYES});
  boxes.onBox([&](const CapturedBox& box) { allocations.armed = box.text.find("abort") != std::string::npos; });
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_UnitOperation));
  BSTR component = reinterpret_cast<BSTR>(1), catids = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(S_OK, show([](HWND dialog) { click(dialog, IDCANCEL); }, &component, &catids));
  allocations.armed = false;
  boxes.onBox(nullptr);
  EXPECT_TRUE(boxes.anyContains("Unexpected error in CCAPEGUI::ShowGui for ProgId:"));
  ASSERT_TRUE(component != reinterpret_cast<BSTR>(1) && catids != reinterpret_cast<BSTR>(1));  // never the caller's
  EXPECT_EQ("", take(component));
  EXPECT_EQ("", take(catids));
}
