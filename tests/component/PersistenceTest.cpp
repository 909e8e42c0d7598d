// Saving components into the host's compound file and loading them back, by value, and what the
// object does when the component or the host's container fails.
#include "common/ProductFixture.h"

namespace {

class PersistenceTest : public tx::ProductTest {
 protected:
  // The unit created for the host's container over 'file'.
  fw::ComPtr<IDispatch> createInCase(const txs::ClassInfo& unit, const std::wstring& file, bool create,
                                     DWORD failures = 0) {
    openHost(file, create, failures);
    choose(catf_UnitOperation, unit.progId);
    fw::ComPtr<IDispatch> created;
    EXPECT_EQ(S_OK, object->createComp(created.put(), nullptr));
    return created;
  }
  // Creates the unit, starts it as new, gives it data and saves it into 'file'.
  void saveCase(const txs::ClassInfo& unit, const std::wstring& file, const wchar_t* text, double number) {
    fw::ComPtr<IDispatch> created = createInCase(unit, file, true);
    ASSERT_TRUE(created);
    ASSERT_EQ(S_OK, object->loadStorage(VARIANT_FALSE));
    fw::ComPtr<ISampleData> data;
    ASSERT_EQ(S_OK, created->QueryInterface(IID_ISampleData, data.put_void()));
    ASSERT_EQ(S_OK, data->SetData(text, number));
    ASSERT_EQ(S_OK, object->saveStorage());
    ASSERT_EQ(S_OK, object->releaseComponents());
    ASSERT_EQ(S_OK, hostControl->CloseFile());
  }
  static std::pair<std::string, double> dataOf(IDispatch* component) {
    fw::ComPtr<ISampleData> data;
    EXPECT_EQ(S_OK, component->QueryInterface(IID_ISampleData, data.put_void()));
    BSTR text = nullptr;
    double number = 0;
    if (data) data->GetData(&text, &number);
    return {take(text), number};
  }
  // Whether the component's storage in the closed case file holds the stream that stream kinds write.
  static bool hasStream(const std::wstring& file) {
    fw::ComPtr<IStorage> root, component;
    fw::ComPtr<IStream> stream;
    const DWORD mode = STGM_READ | STGM_SHARE_EXCLUSIVE;
    return SUCCEEDED(StgOpenStorage(file.c_str(), nullptr, mode, nullptr, 0, root.put())) &&
           SUCCEEDED(root->OpenStorage(kDefaultComponentStorage, nullptr, mode, nullptr, 0, component.put())) &&
           SUCCEEDED(component->OpenStream(L"CAPEOPEN", nullptr, mode, 0, stream.put()));
  }
};

}  // namespace

TEST_F(PersistenceTest, EveryKindSurvivesACompoundFileRoundTrip) {
  const std::pair<const txs::ClassInfo*, long> kinds[] = {
      {&txs::kStorageUnit, 1}, {&txs::kStreamUnit, 2}, {&txs::kStreamInitUnit, 3}, {&txs::kDualPersistUnit, 1}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.first->progId);
    std::wstring file = tempFile(L"tx-roundtrip.stg");
    saveCase(*k.first, file, L"reactor feed", 42.25);
    object.reset();  // a fresh object recalls the case
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
    fw::ComPtr<IDispatch> recalled = createInCase(*k.first, file, false);
    ASSERT_TRUE(recalled);
    EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));
    LONG kind = 0;
    EXPECT_EQ(S_OK, object->getPersistType(&kind));
    EXPECT_EQ(k.second, kind);
    EXPECT_EQ(std::make_pair(std::string("reactor feed"), 42.25), dataOf(recalled.get()));
    EXPECT_EQ(S_OK, object->releaseComponents());
    hostControl->CloseFile();
    DeleteFileW(file.c_str());
  }
  EXPECT_EQ(0u, boxes.count()) << ::testing::PrintToString(boxes.texts());
}

TEST_F(PersistenceTest, OperationsOnANewCaseCallWhatTheyShouldAndReportWhatFails) {
  const struct {
    const char* what;
    const txs::ClassInfo* unit;
    DWORD failures;   // of the host's container
    const char* ops;  // in turn: L loadStorage(FALSE), S saveStorage, R loadStorage(TRUE); all but the last succeed
    HRESULT hr;       // of the last
    std::vector<std::string> hostLog;  // the whole log of the host's container during the operations, when given
    const char* once;                  // a call of the unit made once
    bool noUnitCall;
    bool stream;  // the case holds the CAPEOPEN stream afterwards
    std::vector<std::string> boxes;
  } rows[] = {
      {"a new stream unit is not called", &txs::kStreamUnit, 0, "L", S_OK, {"HostContainer.GetStorage(16)"}, nullptr,
       true, false, {}},
      {"a unit without persistence still asks for the storage once", &txs::kMixer, 0, "S", S_OK,
       {"HostContainer.GetStorage(18)"}, nullptr, true, false, {}},
      {"a missing storage goes to the host's message log", &txs::kStreamUnit, hostNoStorage, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext", "HostContext.GetMessageLog",
        "MessageLog.Prepare(0)", "HostContainer.AddMessage(Error saving component through COM persistence,0)"},
       nullptr, true, false, {}},
      {"loading names the component in the host's log", &txs::kStreamUnit, hostNoStorage, "R", E_FAIL,
       {"HostContainer.GetStorage(16)", "HostContainer.GetHostContext", "HostContext.GetMessageLog",
        "MessageLog.Prepare(0)",
        "HostContainer.AddMessage(Error loading component through COM persistence: Sample Stream Unit,0)"},
       nullptr, true, false, {}},
      {"storage handed out as IDispatch", &txs::kStreamInitUnit, hostStorageAsDispatch, "S", S_OK, {},
       "StreamInitUnit.Save", false, true, {}},
      {"storage handed out by reference", &txs::kStreamInitUnit, hostStorageByReference, "S", S_OK, {},
       "StreamInitUnit.Save", false, true, {}},
      {"a failed save leaves no half-written stream", &txs::kSaveFails, 0, "S", E_FAIL, {}, nullptr, false, false,
       {"*(Persistence failed on purpose: TxSamples)"}},
      {"a failing InitNew", &txs::kInitNewFails, 0, "L", E_FAIL, {}, nullptr, false, false,
       {"^ ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)"}},
      {"a failing InitNew of a storage kind", &txs::kInitNewFailsStorage, 0, "L", E_FAIL, {}, nullptr, false, false,
       {"^ ERROR: Unexpected error initializing COM persistence (IPersistStorage)"}},
      {"a failing Load of a storage kind", &txs::kLoadFailsStorage, 0, "LSR", E_FAIL, {}, nullptr, false, false,
       {" ERROR: Unexpected error \n(Persistence failed on purpose: TxSamples)"}},
      {"a failing Load of a stream kind", &txs::kLoadFailsStream, 0, "LSR", E_FAIL, {}, nullptr, false, true,
       {"^ ERROR: Unexpected error loading COM persistence (IPersistStream)"}},
      {"the host's storage fails", &txs::kStreamUnit, hostFailGetStorage, "S", E_FAIL, {"HostContainer.GetStorage(18)"},
       nullptr, true, false, {" ERROR: Unexpected error \n(The host cannot give a storage: TxSamples)"}},
      {"the host's storage is no storage", &txs::kStreamUnit, hostStorageWithoutIStorage, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext", "HostContext.GetMessageLog",
        "MessageLog.Prepare(0)", "HostContainer.AddMessage(Error saving component through COM persistence,0)"},
       nullptr, true, false, {}},
      // Without the host's message log the report is a box, naming what the host lacked.
      {"no host context", &txs::kStreamUnit, hostNoStorage | hostFailHostContext, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext"}, nullptr, true, false,
       {" ERROR: Unexpected error \n(The host has no context for this component: TxSamples)"}},
      {"no message log", &txs::kStreamUnit, hostNoStorage | hostFailMessageLog, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext", "HostContext.GetMessageLog"}, nullptr, true,
       false, {" ERROR: Unexpected error \n(The host has no message log: TxSamples)"}},
      {"the log cannot be prepared", &txs::kStreamUnit, hostNoStorage | hostFailPrepare, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext", "HostContext.GetMessageLog",
        "MessageLog.Prepare(0)"},
       nullptr, true, false, {" ERROR: Unexpected error \n(The host's message log is not ready: TxSamples)"}},
      {"the message is refused", &txs::kStreamUnit, hostNoStorage | hostFailAddMessage, "S", E_FAIL,
       {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext", "HostContext.GetMessageLog",
        "MessageLog.Prepare(0)", "HostContainer.AddMessage(Error saving component through COM persistence,0)"},
       nullptr, true, false, {" ERROR: Unexpected error \n(The host could not record the message: TxSamples)"}},
      {"the automation success code of stream kinds is success", &txs::kQuirk800A02E1, 0, "LSR", S_OK, {}, nullptr,
       false, true, {}},
      {"IPersistStorage::Load does not count it so", &txs::kQuirk800A02E1Storage, 0, "LSR", txs::kAutomationQuirk, {},
       nullptr, false, false, {"*Unexpected error "}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    boxes.clear();
    const std::wstring file = tempFile(L"tx-operations.stg");
    fw::ComPtr<IDispatch> created = createInCase(*row.unit, file, true, row.failures);
    ASSERT_TRUE(created);
    for (const char* dll : {txs::kUnitsDll, txs::kZooDll, txs::kHostDll}) txs::clearSampleCallLog(dll);
    HRESULT hr = S_OK;
    for (const char* op = row.ops; *op; ++op) {
      ASSERT_EQ(S_OK, hr) << "before " << *op;
      hr = *op == 'S' ? object->saveStorage() : object->loadStorage(*op == 'R' ? VARIANT_TRUE : VARIANT_FALSE);
    }
    EXPECT_EQ(row.hr, hr);
    if (!row.hostLog.empty()) { EXPECT_EQ(row.hostLog, txs::sampleCallLog(txs::kHostDll)); }
    std::vector<std::string> unitLog = txs::sampleCallLog(row.unit->dll);
    if (row.once) { EXPECT_EQ(1u, calls(row.unit->dll, row.once).size()) << ::testing::PrintToString(unitLog); }
    if (row.noUnitCall) { EXPECT_EQ(std::vector<std::string>{}, unitLog); }
    expectBoxes(row.boxes);
    created.reset();
    object->releaseComponents();
    hostControl->CloseFile();
    EXPECT_EQ(row.stream, hasStream(file));
    DeleteFileW(file.c_str());
  }
}

TEST_F(PersistenceTest, TheHostsMessageIsCutBetweenCharacters) {
  const std::wstring file = tempFile(L"tx-cut.stg");
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamUnit, file, true, hostNoStorage);
  ASSERT_TRUE(created);
  // The text and ": " are 49 bytes: the 399-byte limit falls inside the first 'ポ'.
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR((std::wstring(348, L'x') + L"ポンプ").c_str()), CTxBSTR(L"")));
  txs::clearSampleCallLog(txs::kHostDll);
  EXPECT_EQ(E_FAIL, object->loadStorage(VARIANT_TRUE));
  EXPECT_EQ(1u, calls(txs::kHostDll, "HostContainer.AddMessage(Error loading component through COM persistence: " +
                                         std::string(348, 'x') + ",0)")
                    .size())
      << ::testing::PrintToString(txs::sampleCallLog(txs::kHostDll));
  created.reset();
  object->releaseComponents();
  hostControl->CloseFile();
  DeleteFileW(file.c_str());
}

TEST_F(PersistenceTest, OldCaseIsUpgradedWithANoticeAndASavedOneIsInitialisedOrRefused) {
  std::wstring file = tempFile(L"tx-old.stg");
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamInitUnit, file, true);
  ASSERT_TRUE(created);
  EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));  // no CAPEOPEN stream: saved by the old mechanism
  EXPECT_EQ(1u, calls(txs::kUnitsDll, "StreamInitUnit.InitNew").size());
  EXPECT_TRUE(calls(txs::kUnitsDll, "StreamInitUnit.Load").empty());
  EXPECT_EQ(narrowFromWide(txs::kInitNewText), dataOf(created.get()).first);
  ASSERT_NO_FATAL_FAILURE(expectBoxes({"CAPE-OPEN component of type 'Sample Stream Init Unit' had been persisted using "
                                       "old CAPE-OPEN mechanism. It has been succesfully upgraded to be saved through "
                                       "new COM Persistence."}));
  EXPECT_EQ("", boxes.boxes()[0].caption);
  EXPECT_TRUE(boxes.boxes()[0].type & MB_ICONINFORMATION);
  // With warnings off the component is started as new without a word; only VARIANT_TRUE turns them on.
  boxes.clear();
  ASSERT_EQ(S_OK, object->put_enableWarnings(1));
  EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));
  EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(2u, calls(txs::kUnitsDll, "StreamInitUnit.InitNew").size());
  created.reset();
  object->releaseComponents();
  hostControl->CloseFile();

  // A saved case: 1 is not VARIANT_TRUE, so the unit is initialised instead of loaded.
  saveCase(txs::kStreamInitUnit, file, L"saved", 7);
  created = createInCase(txs::kStreamInitUnit, file, false);
  ASSERT_TRUE(created);
  txs::clearSampleCallLog(txs::kUnitsDll);
  EXPECT_EQ(S_OK, object->loadStorage(1));
  EXPECT_EQ(1u, calls(txs::kUnitsDll, ".InitNew").size());
  EXPECT_TRUE(calls(txs::kUnitsDll, ".Load").empty());
  EXPECT_EQ(0u, boxes.count());
  object->releaseComponents();
  hostControl->CloseFile();
  // A stream written by another unit is still a CAPEOPEN stream: LoadFails refuses it.
  created = createInCase(txs::kLoadFails, file, false);
  ASSERT_TRUE(created);
  EXPECT_EQ(E_FAIL, object->loadStorage(VARIANT_TRUE));
  expectBoxes({"^ ERROR: Unexpected error loading COM persistence (IPersistStreamInit)"});
}
