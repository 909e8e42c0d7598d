// The sample unit operations: the interfaces of each CAPE-OPEN version, and a round trip
// of each COM persistence kind through a compound file, checked by value.
#include <windows.h>
#include <gtest/gtest.h>
#include "SampleClient.h"
#include "common/TestSupport.h"
#include "external/CapeOpen.h"

namespace {

class UnitsTest : public tx::ComTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(0, txs::sampleLiveObjects(txs::kUnitsDll)) << "a sample object was not released";
  }
};

bool answers(IUnknown* object, REFIID iid) {
  fw::ComPtr<IUnknown> answer;
  return object->QueryInterface(iid, answer.put_void()) == S_OK && answer;
}

struct Offered {
  const txs::ClassInfo* info;
  bool unit10, utilities, storage, stream, streamInit;
};

// Data of a unit, read through ISampleData.
std::pair<std::string, double> dataOf(IUnknown* unit) {
  fw::ComPtr<ISampleData> data;
  if (FAILED(data.queryFrom(unit, IID_ISampleData))) return {"<no ISampleData>", -1};
  BSTR text = nullptr;
  double number = -1;
  data->GetData(&text, &number);
  std::string result = tx::narrow(text);
  SysFreeString(text);
  return {result, number};
}

void setData(IUnknown* unit, const wchar_t* text, double number) {
  fw::ComPtr<ISampleData> data;
  ASSERT_EQ(S_OK, data.queryFrom(unit, IID_ISampleData));
  ASSERT_EQ(S_OK, data->SetData(text, number));
}

// A compound file with one sub-storage, "Unit".
fw::ComPtr<IStorage> unitStorage(const std::wstring& file, bool create, fw::ComPtr<IStorage>& root) {
  fw::ComPtr<IStorage> storage;
  if (create) {
    if (SUCCEEDED(StgCreateDocfile(file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, root.put())))
      root->CreateStorage(L"Unit", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, storage.put());
  } else if (SUCCEEDED(
                 StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put()))) {
    root->OpenStorage(L"Unit", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, storage.put());
  }
  return storage;
}

}  // namespace

TEST_F(UnitsTest, EachVersionOffersItsInterfaces) {
  const Offered table[] = {
      {&txs::kMixer, true, true, false, false, false},         {&txs::kUnit093, false, false, false, false, false},
      {&txs::kUnitNo10, false, true, false, false, false},     {&txs::kUnit09, false, false, false, false, false},
      {&txs::kUnit11, true, true, false, false, false},        {&txs::kStorageUnit, true, true, true, false, false},
      {&txs::kStreamUnit, true, true, false, true, false},     {&txs::kStreamInitUnit, true, true, false, false, true},
      {&txs::kDualPersistUnit, true, true, true, false, true},
  };
  for (const Offered& row : table) {
    SCOPED_TRACE(row.info->key);
    fw::ComPtr<IUnknown> unit;
    ASSERT_EQ(S_OK, txt::create(*row.info, IID_IUnknown, unit));
    EXPECT_TRUE(answers(unit.get(), IID_IDispatch));
    EXPECT_EQ(row.unit10, answers(unit.get(), IID_ICapeUnit));
    EXPECT_EQ(row.utilities, answers(unit.get(), IID_ICapeUtilities));
    EXPECT_EQ(row.utilities, answers(unit.get(), IID_ICapeIdentification));
    EXPECT_EQ(row.storage, answers(unit.get(), IID_IPersistStorage));
    EXPECT_EQ(row.stream, answers(unit.get(), IID_IPersistStream));
    EXPECT_EQ(row.streamInit, answers(unit.get(), IID_IPersistStreamInit));
    bool persists = row.storage || row.stream || row.streamInit;
    EXPECT_EQ(persists, answers(unit.get(), IID_IPersist));
    EXPECT_EQ(persists, answers(unit.get(), IID_ISampleData));
    // None of them is the earlier unit interface that the probe also asks for.
    EXPECT_FALSE(answers(unit.get(), IID_ICapeUnit_7D66));
  }
}

TEST_F(UnitsTest, DispatchOnlyUnitAnswersByName) {
  fw::ComPtr<IDispatch> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kUnit093, IID_IDispatch, unit));
  DISPID id = 0;
  ASSERT_EQ(S_OK, tx::dispIdOf(unit.get(), L"ComponentName", &id));
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  fw::UniqueVariant name;
  ASSERT_EQ(S_OK, unit->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, name.get(), nullptr, nullptr));
  ASSERT_EQ(VT_BSTR, name.get()->vt);
  EXPECT_EQ(txs::kUnit093.values.name, tx::narrow(name.get()->bstrVal));
}

TEST_F(UnitsTest, UnitInterfaceAnswersAndLogs) {
  fw::ComPtr<ICapeUnit> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kMixer, IID_ICapeUnit, unit));
  txs::clearSampleCallLog(txs::kUnitsDll);
  ASSERT_EQ(S_OK, unit->Calculate());
  BSTR message = SysAllocString(L"before");
  CapeBoolean valid = 0;
  ASSERT_EQ(S_OK, unit->Validate(&message, &valid));
  EXPECT_EQ(1, valid);
  EXPECT_EQ("The sample unit is valid", tx::narrow(message));
  SysFreeString(message);
  EXPECT_EQ((std::vector<std::string>{"Mixer.Calculate", "Mixer.Validate"}), txs::sampleCallLog(txs::kUnitsDll));
}

TEST_F(UnitsTest, StorageKindRoundTripsThroughACompoundFile) {
  const std::wstring file = txt::tempFile(L"StorageUnit");
  {
    fw::ComPtr<IPersistStorage> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kStorageUnit, IID_IPersistStorage, unit));
    fw::ComPtr<IStorage> root;
    fw::ComPtr<IStorage> storage = unitStorage(file, true, root);
    ASSERT_TRUE(storage);
    ASSERT_EQ(S_OK, unit->InitNew(storage.get()));
    EXPECT_EQ(std::make_pair(tx::narrow(txs::kInitNewText), txs::kInitNewNumber), dataOf(unit.get()));
    setData(unit.get(), L"Storage text", 273.15);
    EXPECT_EQ(S_OK, unit->IsDirty());
    ASSERT_EQ(S_OK, unit->Save(storage.get(), TRUE));
    ASSERT_EQ(S_OK, unit->SaveCompleted(nullptr));
    EXPECT_EQ(S_FALSE, unit->IsDirty());
    ASSERT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
    ASSERT_EQ(S_OK, root->Commit(STGC_DEFAULT));
  }
  {
    fw::ComPtr<IStorage> root;
    fw::ComPtr<IStorage> storage = unitStorage(file, false, root);
    ASSERT_TRUE(storage);
    CLSID written = CLSID_NULL;
    ASSERT_EQ(S_OK, ReadClassStg(storage.get(), &written));
    EXPECT_TRUE(IsEqualCLSID(txs::kStorageUnit.clsid, written));
    fw::ComPtr<IStream> record;
    EXPECT_EQ(S_OK,
              storage->OpenStream(txs::kStorageDataStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, record.put()));
    record.reset();
    fw::ComPtr<IPersistStorage> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kStorageUnit, IID_IPersistStorage, unit));
    ASSERT_EQ(S_OK, unit->Load(storage.get()));
    EXPECT_EQ(std::make_pair(std::string("Storage text"), 273.15), dataOf(unit.get()));
  }
  DeleteFileW(file.c_str());
}

TEST_F(UnitsTest, StreamKindsRoundTripThroughTheCapeOpenStream) {
  const struct {
    const txs::ClassInfo* info;
    const IID* iid;
  } kinds[] = {{&txs::kStreamUnit, &IID_IPersistStream},
               {&txs::kStreamInitUnit, &IID_IPersistStreamInit},
               {&txs::kDualPersistUnit, &IID_IPersistStreamInit}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.info->key);
    const std::wstring file = txt::tempFile(L"StreamUnit");
    const std::wstring text = std::wstring(L"Stream data of ") + kind.info->progIdW;
    {
      fw::ComPtr<IPersistStream> unit;  // IPersistStreamInit has the same first entries
      ASSERT_EQ(S_OK, txt::create(*kind.info, *kind.iid, unit));
      setData(unit.get(), text.c_str(), -42.25);
      fw::ComPtr<IStorage> root;
      fw::ComPtr<IStorage> storage = unitStorage(file, true, root);
      ASSERT_TRUE(storage);
      fw::ComPtr<IStream> stream;
      ASSERT_EQ(S_OK, storage->CreateStream(L"CAPEOPEN", 0x1012, 0, 0, stream.put()));
      ASSERT_EQ(S_OK, unit->Save(stream.get(), TRUE));
      ULARGE_INTEGER size = {};
      ASSERT_EQ(S_OK, unit->GetSizeMax(&size));
      STATSTG stat = {};
      ASSERT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
      EXPECT_EQ(size.QuadPart, stat.cbSize.QuadPart);
      ASSERT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
    }
    {
      fw::ComPtr<IStorage> root;
      fw::ComPtr<IStorage> storage = unitStorage(file, false, root);
      ASSERT_TRUE(storage);
      fw::ComPtr<IStream> stream;
      ASSERT_EQ(S_OK, storage->OpenStream(L"CAPEOPEN", nullptr, 0x10, 0, stream.put()));
      fw::ComPtr<IPersistStream> unit;
      ASSERT_EQ(S_OK, txt::create(*kind.info, *kind.iid, unit));
      ASSERT_EQ(S_OK, unit->Load(stream.get()));
      EXPECT_EQ(std::make_pair(tx::narrow(text.c_str()), -42.25), dataOf(unit.get()));
    }
    DeleteFileW(file.c_str());
  }
}

TEST_F(UnitsTest, StreamInitStartsNewDataOnlyThroughInitNew) {
  fw::ComPtr<IPersistStreamInit> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kStreamInitUnit, IID_IPersistStreamInit, unit));
  EXPECT_EQ(std::make_pair(std::string(), 0.0), dataOf(unit.get()));
  ASSERT_EQ(S_OK, unit->InitNew());
  EXPECT_EQ(std::make_pair(tx::narrow(txs::kInitNewText), txs::kInitNewNumber), dataOf(unit.get()));
  CLSID clsid = CLSID_NULL;
  ASSERT_EQ(S_OK, unit->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(txs::kStreamInitUnit.clsid, clsid));
}

TEST_F(UnitsTest, LoadingForeignDataFailsWithErrorInformation) {
  fw::ComPtr<IPersistStreamInit> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kStreamInitUnit, IID_IPersistStreamInit, unit));
  fw::ComPtr<IStream> stream;
  ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
  const char junk[] = "not sample data at all";
  ASSERT_EQ(S_OK, stream->Write(junk, sizeof junk, nullptr));
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  EXPECT_TRUE(FAILED(unit->Load(stream.get())));
  EXPECT_EQ("The stream holds no sample data", txt::errorDescription());
  EXPECT_EQ(std::make_pair(std::string(), 0.0), dataOf(unit.get()));
}
