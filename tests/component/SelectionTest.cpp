// Selecting a component: the host's container held by setup, setProgIds without the dialog, and
// ShowGUI as the user drives the Component Manager, its choice read back through every getter.
#include "common/ProductFixture.h"
#include "external/CapeOpen.h"
#include "external/ExtnContainer.h"
#include "manager/ManagerTestSupport.h"

namespace {

// A host container or a component of the test's own: answers the IID it is told to, records what it
// was asked for, counts the references it gives and answers Terminate with 'stopResult'.
struct RecordingObject : ICapeUtilities {
  explicit RecordingObject(const IID& answers) : answers(answers) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    asked.push_back(riid);
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !IsEqualIID(riid, answers))
      return *ppv = nullptr, E_NOINTERFACE;
    return *ppv = this, AddRef(), S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_FAIL; }
  STDMETHODIMP get_parameters(CapeInterface*) override { return E_NOTIMPL; }
  STDMETHODIMP put_simulationContext(CapeInterface) override { return E_NOTIMPL; }
  STDMETHODIMP Initialize() override { return E_NOTIMPL; }
  STDMETHODIMP Terminate() override { return ++stops, stopResult; }
  STDMETHODIMP Edit() override { return E_NOTIMPL; }
  IID answers;
  std::vector<IID> asked;
  ULONG refs = 1;
  HRESULT stopResult = S_OK;
  int stops = 0;
};

// Makes every COM task allocation (BSTRs among them) fail while armed. COM may still call it after
// it is revoked, for blocks it saw, so it lives as long as the process.
struct FailingAllocations : IMallocSpy {
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
  STDMETHODIMP_(SIZE_T) PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override { return *out = p, armed ? 0 : cb; }
  STDMETHODIMP_(void*) PostRealloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(void*) PreGetSize(void* p, BOOL) override { return p; }
  STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T cb, BOOL) override { return cb; }
  STDMETHODIMP_(void*) PreDidAlloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  STDMETHODIMP_(void) PreHeapMinimize() override {}
  STDMETHODIMP_(void) PostHeapMinimize() override {}
  bool armed = false;
};

class SelectionTest : public tx::ProductTest {
 protected:
  // ShowGUI with 'step' driving the Component Manager; the dialog must run, and end by the step.
  HRESULT show(std::function<void(HWND)> step, BSTR* component, BSTR* catids) {
    tx::DialogDriver driver(boxes, mt::kManagerCaption);
    driver.then(step);
    HRESULT hr = object->ShowGUI(component, catids);
    EXPECT_EQ(1, driver.dialogsSeen());
    EXPECT_FALSE(driver.forcedClose());
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
  RecordingObject unitHost(IID_ExtnContainerUnit), packageHost(IID_ExtnContainer);
  const struct { RecordingObject* host; long filter; HRESULT hr; const IID* asked; ULONG unitRefs, packageRefs; }
      steps[] = {{&unitHost, catf_UnitOperation, S_OK, &IID_ExtnContainerUnit, 2, 1},
                 {&packageHost, catf_PropertyPackage, S_OK, &IID_ExtnContainer, 1, 2},  // the replaced one given back
                 {&unitHost, catf_PropertyPackage, E_NOINTERFACE, &IID_ExtnContainer, 1, 2},  // reported, one kept
                 {nullptr, catf_ThermoSystem, S_OK, nullptr, 1, 1},  // none: held one dropped
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

TEST_F(SelectionTest, ReleaseTakesAnyStopThatSucceedsReportsAFailingOneAndGivesAllBack) {
  // Terminate of the fault zoo's member (with its error information), else of a component of the test's own.
  const struct { HRESULT stop, hr; const char* box; } rows[] = {
      {E_FAIL, E_FAIL, " ERROR: Unexpected error \n(Terminate failed on purpose: TxSamples)"},
      {S_OK, S_OK, nullptr}, {S_FALSE, S_OK, nullptr}, {2, S_OK, nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stop);
    boxes.clear();
    RecordingObject own(IID_ICapeUtilities);
    own.stopResult = row.stop;
    fw::ComPtr<IDispatch> created;
    if (row.box) choose(catf_UnitOperation, txs::kTerminateFails.progId);
    ASSERT_EQ(S_OK, row.box ? object->createComp(created.put(), nullptr) : object->setComponent(&own));
    created.reset();
    EXPECT_EQ(row.hr, object->releaseComponents());
    expectBoxes(std::vector<std::string>(row.box ? 1 : 0, row.box ? row.box : ""));
    EXPECT_EQ(row.box ? 0 : 1, own.stops);
    EXPECT_EQ(1u, own.refs);
  }
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll));
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
    std::vector<tx::TreeNode> nodes = tx::readTree(GetDlgItem(dialog, IDC_CO_TREE));
    const tx::TreeNode* node = tx::findNode(nodes, "Thermo Property Systems");
    for (const char* label : {"Sample Property System [TxSamples.ThermoSystem.1]", "Light Hydrocarbons PR"})
      node = node ? tx::findNode(node->children, label) : nullptr;
    if (!(selected = node != nullptr)) return;
    tx::selectTreeItem(dialog, IDC_CO_TREE, node->item);
    tx::clickButton(dialog, IDOK);
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
    roots = static_cast<int>(TreeView_GetCount(GetDlgItem(dialog, IDC_CO_TREE)));
    tx::clickButton(dialog, IDCANCEL);
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
  FailingAllocations& allocations = *new FailingAllocations;
  ASSERT_EQ(S_OK, CoRegisterMallocSpy(&allocations));
  boxes.queueAnswers({IDYES});
  boxes.onBox([&](const CapturedBox& box) { allocations.armed = box.text.find("abort") != std::string::npos; });
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_UnitOperation));
  BSTR component = reinterpret_cast<BSTR>(1), catids = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(S_OK, show([](HWND dialog) { tx::clickButton(dialog, IDCANCEL); }, &component, &catids));
  allocations.armed = false;
  boxes.onBox(nullptr);
  EXPECT_TRUE(boxes.anyContains("Unexpected error in CCAPEGUI::ShowGui for ProgId:"));
  ASSERT_TRUE(component != reinterpret_cast<BSTR>(1) && catids != reinterpret_cast<BSTR>(1));  // never the caller's
  EXPECT_EQ("", take(component));
  EXPECT_EQ("", take(catids));
}

TEST_F(SelectionTest, RegisteredTextsInAnyScriptComeBackExactlyAndLongOnesAreCutBetweenCharacters) {
  const std::string name = "Überhitzer ポンプ Насос 𝄞", about = "Pumpe, ポンプ, насос 𝄞", cut(2046, 'a');
  tx::RegisteredClass unit("TxTest.Насос.1", {mt::kUnitsCatid},
                           {{"Name", name}, {"Description", about}, {"About", cut + "ポ"},
                            {"VendorURL", cut + "Ü"}, {"HelpURL", cut + "𝄞"}});
  fw::UniqueHKey values;  // a lone surrogate, which no UTF-8 text can carry
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow("CLSID\\" + unit.clsid() +
                                         "\\CapeDescription").c_str(), 0, KEY_WRITE, values.put()));
  const wchar_t lone[] = L"1.\xD834x";
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(values.get(), L"ComponentVersion", 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(lone), sizeof lone));
  choose(catf_UnitOperation, unit.progId());
  // The cut keeps 2047 bytes at most and never half a character: 2046, 2046 and 2046 bytes.
  EXPECT_EQ("TxTest.Насос.1 | " + name + " | <null> | <null> |  |  | 100 | " + about + " | 1.\xEF\xBF\xBDx | " + cut +
                " | " + cut + " | " + cut,
            choice());
  BSTR alias = nullptr;
  ASSERT_EQ(S_OK, object->GetItemAlias(&alias));
  EXPECT_EQ(L"\u00DCberhitzer \u30DD\u30F3\u30D7 \u041D\u0430\u0441\u043E\u0441 \U0001D11E",
            std::wstring(alias, SysStringLen(alias)));
  SysFreeString(alias);
  EXPECT_EQ(0u, boxes.count());
}
