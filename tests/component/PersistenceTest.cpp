// Saving components into the host's compound file and loading them back, by value.
#include "component/ComponentRoad.h"

namespace {

std::pair<std::string, double> dataOf(IDispatch* component) {
  fw::ComPtr<ISampleData> data;
  EXPECT_EQ(S_OK, component->QueryInterface(IID_ISampleData, data.put_void()));
  BSTR text = nullptr;
  double number = 0;
  if (data) data->GetData(&text, &number);
  std::string result = tx::bstrText(text);
  SysFreeString(text);
  return {result, number};
}

void setData(IDispatch* component, const wchar_t* text, double number) {
  fw::ComPtr<ISampleData> data;
  ASSERT_EQ(S_OK, component->QueryInterface(IID_ISampleData, data.put_void()));
  ASSERT_EQ(S_OK, data->SetData(text, number));
}

}  // namespace

class PersistenceTest : public ComponentRoad {
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

  // Creates the unit, lets it start as new, gives it data and saves it into 'file'.
  void saveCase(const txs::ClassInfo& unit, const std::wstring& file, const wchar_t* text, double number) {
    fw::ComPtr<IDispatch> created = createInCase(unit, file, true);
    ASSERT_TRUE(created);
    ASSERT_EQ(S_OK, object->loadStorage(VARIANT_FALSE));
    setData(created.get(), text, number);
    ASSERT_EQ(S_OK, object->saveStorage());
    ASSERT_EQ(S_OK, object->releaseComponents());
    ASSERT_EQ(S_OK, hostControl->CloseFile());
  }

  // A fresh object and component recalled from 'file'.
  fw::ComPtr<IDispatch> recallCase(const txs::ClassInfo& unit, const std::wstring& file) {
    object.reset();
    EXPECT_EQ(S_OK, tx::createProduct(object.put()));
    fw::ComPtr<IDispatch> created = createInCase(unit, file, false);
    EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));
    return created;
  }
};

TEST_F(PersistenceTest, EveryKindSurvivesACompoundFileRoundTrip) {
  struct Kind { const txs::ClassInfo* unit; long kind; };
  const Kind kinds[] = {{&txs::kStorageUnit, 1}, {&txs::kStreamUnit, 2}, {&txs::kStreamInitUnit, 3},
                        {&txs::kDualPersistUnit, 1}};
  BoxCapture boxes;
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.unit->progId);
    std::wstring file = tempFile(L"tx-roundtrip.stg");
    saveCase(*k.unit, file, L"reactor feed", 42.25);
    fw::ComPtr<IDispatch> recalled = recallCase(*k.unit, file);
    ASSERT_TRUE(recalled);
    LONG kind = 0;
    object->getPersistType(&kind);
    EXPECT_EQ(k.kind, kind);
    auto data = dataOf(recalled.get());
    EXPECT_EQ("reactor feed", data.first);
    EXPECT_EQ(42.25, data.second);
    object->releaseComponents();
    hostControl->CloseFile();
    DeleteFileW(file.c_str());
  }
  EXPECT_EQ(0u, boxes.count()) << (boxes.count() ? boxes.boxes()[0].text : "");
}

TEST_F(PersistenceTest, NewStreamComponentIsNotCalled) {
  BoxCapture boxes;
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamUnit, tempFile(L"tx-new.stg"), true);
  ASSERT_TRUE(created);
  txs::clearSampleCallLog(txs::kUnitsDll);
  txs::clearSampleCallLog(txs::kHostDll);
  EXPECT_EQ(S_OK, object->loadStorage(VARIANT_FALSE));
  EXPECT_TRUE(txs::sampleCallLog(txs::kUnitsDll).empty());
  EXPECT_EQ(std::vector<std::string>{"HostContainer.GetStorage(16)"}, calls(txs::kHostDll, "GetStorage"));
}

TEST_F(PersistenceTest, OldCaseIsUpgradedWithANotice) {
  BoxCapture boxes;
  std::wstring file = tempFile(L"tx-old.stg");
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamInitUnit, file, true);
  ASSERT_TRUE(created);
  EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));
  EXPECT_EQ(1u, calls(txs::kUnitsDll, "StreamInitUnit.InitNew").size());
  EXPECT_TRUE(calls(txs::kUnitsDll, "StreamInitUnit.Load").empty());
  EXPECT_EQ(tx::narrow(txs::kInitNewText), dataOf(created.get()).first);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("CAPE-OPEN component of type 'Sample Stream Init Unit' had been persisted using old CAPE-OPEN "
            "mechanism. It has been succesfully upgraded to be saved through new COM Persistence.",
            boxes.boxes()[0].text);
  EXPECT_EQ("", boxes.boxes()[0].caption);
  EXPECT_TRUE(boxes.boxes()[0].type & MB_ICONINFORMATION);

  // With warnings off the component is started as new without a word.
  boxes.clear();
  ASSERT_EQ(S_OK, object->put_enableWarnings(1));  // only VARIANT_TRUE turns them on
  EXPECT_EQ(S_OK, object->loadStorage(VARIANT_TRUE));
  EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(2u, calls(txs::kUnitsDll, "StreamInitUnit.InitNew").size());
}

TEST_F(PersistenceTest, TrueAsOneInitialisesInsteadOfLoading) {
  BoxCapture boxes;
  std::wstring file = tempFile(L"tx-one.stg");
  saveCase(txs::kStreamInitUnit, file, L"saved", 7);
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamInitUnit, file, false);
  ASSERT_TRUE(created);
  txs::clearSampleCallLog(txs::kUnitsDll);
  EXPECT_EQ(S_OK, object->loadStorage(1));
  EXPECT_EQ(1u, calls(txs::kUnitsDll, ".InitNew").size());
  EXPECT_TRUE(calls(txs::kUnitsDll, ".Load").empty());
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(PersistenceTest, AutomationSuccessCodeFromLoadCountsAsSuccess) {
  BoxCapture boxes;
  for (const txs::ClassInfo* unit : {&txs::kQuirk800A02E1, &txs::kQuirk800A02E1Storage}) {
    SCOPED_TRACE(unit->progId);
    std::wstring file = tempFile(L"tx-quirk.stg");
    fw::ComPtr<IDispatch> created = createInCase(*unit, file, true);
    ASSERT_TRUE(created);
    EXPECT_EQ(S_OK, object->loadStorage(VARIANT_FALSE));  // InitNew answers 0x800A02E1
    ASSERT_EQ(S_OK, object->saveStorage());
    HRESULT loaded = object->loadStorage(VARIANT_TRUE);
    // Stream kinds count the code as success; IPersistStorage::Load does not.
    if (unit == &txs::kQuirk800A02E1) {
      EXPECT_EQ(S_OK, loaded);
    } else {
      EXPECT_EQ(txs::kAutomationQuirk, loaded);
    }
    object->releaseComponents();
    hostControl->CloseFile();
    DeleteFileW(file.c_str());
  }
  EXPECT_EQ(1u, boxes.count());  // the storage kind's failed load
}

TEST_F(PersistenceTest, ComponentWithoutPersistenceStillAsksForTheStorageOnce) {
  BoxCapture boxes;
  fw::ComPtr<IDispatch> created = createInCase(txs::kMixer, tempFile(L"tx-none.stg"), true);
  ASSERT_TRUE(created);
  txs::clearSampleCallLog(txs::kHostDll);
  txs::clearSampleCallLog(txs::kUnitsDll);
  EXPECT_EQ(S_OK, object->saveStorage());
  EXPECT_EQ(std::vector<std::string>{"HostContainer.GetStorage(18)"}, calls(txs::kHostDll, "HostContainer."));
  EXPECT_TRUE(txs::sampleCallLog(txs::kUnitsDll).empty());
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(PersistenceTest, MissingStorageGoesToTheHostsMessageLog) {
  BoxCapture boxes;
  fw::ComPtr<IDispatch> created = createInCase(txs::kStreamUnit, tempFile(L"tx-nostorage.stg"), true, hostNoStorage);
  ASSERT_TRUE(created);
  txs::clearSampleCallLog(txs::kHostDll);
  EXPECT_EQ(E_FAIL, object->saveStorage());
  std::vector<std::string> log = txs::sampleCallLog(txs::kHostDll);
  std::vector<std::string> expected = {"HostContainer.GetStorage(18)", "HostContainer.GetHostContext",
                                       "HostContext.GetMessageLog", "MessageLog.Prepare(0)",
                                       "HostContainer.AddMessage(Error saving component through COM persistence,0)"};
  EXPECT_EQ(expected, log);
  EXPECT_EQ(0u, boxes.count());  // the host shows it, not the product

  // Loading names the component in the message.
  txs::clearSampleCallLog(txs::kHostDll);
  EXPECT_EQ(E_FAIL, object->loadStorage(VARIANT_TRUE));
  EXPECT_EQ(1u, calls(txs::kHostDll, "AddMessage(Error loading component through COM persistence: Sample Stream "
                                     "Unit,0)").size());
}

TEST_F(PersistenceTest, StorageHandedOutAsDispatchOrByReferenceIsUsed) {
  for (DWORD form : {static_cast<DWORD>(hostStorageAsDispatch), static_cast<DWORD>(hostStorageByReference)}) {
    SCOPED_TRACE(form);
    BoxCapture boxes;
    txs::clearSampleCallLog(txs::kUnitsDll);
    fw::ComPtr<IDispatch> created = createInCase(txs::kStreamInitUnit, tempFile(L"tx-storage-form.stg"), true, form);
    ASSERT_TRUE(created);
    setData(created.get(), L"handed out", 3);
    EXPECT_EQ(S_OK, object->saveStorage());
    EXPECT_EQ(1u, calls(txs::kUnitsDll, "StreamInitUnit.Save").size());
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(S_OK, object->releaseComponents());
  }
}

TEST_F(PersistenceTest, FailedSaveLeavesNoHalfWrittenStream) {
  BoxCapture boxes;
  fw::ComPtr<IDispatch> created = createInCase(txs::kSaveFails, tempFile(L"tx-savefails.stg"), true);
  ASSERT_TRUE(created);
  EXPECT_EQ(E_FAIL, object->saveStorage());
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("(Persistence failed on purpose: TxSamples)"));
  fw::ComPtr<IStorage> root, component;
  ASSERT_EQ(S_OK, hostControl->GetRootStorage(root.put()));
  ASSERT_EQ(S_OK, root->OpenStorage(kDefaultComponentStorage, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                    component.put()));
  fw::ComPtr<IStream> stream;
  EXPECT_EQ(STG_E_FILENOTFOUND, component->OpenStream(L"CAPEOPEN", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                                      stream.put()));
}

TEST_F(PersistenceTest, FailingLoadAndInitNewAreReportedWithTheirContext) {
  BoxCapture boxes;
  std::wstring file = tempFile(L"tx-loadfails.stg");
  saveCase(txs::kStreamInitUnit, file, L"x", 1);
  // A stream written by another unit is still a CAPEOPEN stream: LoadFails refuses it.
  fw::ComPtr<IDispatch> created = createInCase(txs::kLoadFails, file, false);
  ASSERT_TRUE(created);
  EXPECT_EQ(E_FAIL, object->loadStorage(VARIANT_TRUE));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(0u, boxes.boxes()[0].text.find(" ERROR: Unexpected error loading COM persistence (IPersistStreamInit)"));

  boxes.clear();
  object->releaseComponents();
  choose(catf_UnitOperation, txs::kInitNewFails.progId);
  ASSERT_EQ(S_OK, object->createComp(created.put(), nullptr));
  EXPECT_EQ(E_FAIL, object->loadStorage(VARIANT_FALSE));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(0u, boxes.boxes()[0].text.find(" ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)"));
}

TEST_F(PersistenceTest, PersistenceKindProbeFailureWithoutContainerIsShown) {
  BoxCapture boxes;
  fw::ComPtr<IDispatch> faulty;
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kQIFails.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   faulty.put_void()));
  EXPECT_EQ(E_FAIL, object->setComponent(faulty.get()));
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ(" ERROR: Error saving component through COM persistence", boxes.boxes()[0].text);
  EXPECT_EQ(0u, boxes.boxes()[1].text.find(" ERROR: Unexpected error "));
  object->releaseComponents();
}
