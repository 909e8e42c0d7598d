// The sample host container, called through the declarations the product uses: storage
// per component from position 20, the error path (11, A's 33, B's 21, 12), the failures
// it shows on request, and a unit's round trip through it as the product makes it.
#include <windows.h>
#include <gtest/gtest.h>
#include "SampleClient.h"
#include "common/TestSupport.h"
#include "external/ExtnContainer.h"

namespace {

class HostTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    // Loaded once so that its factory hook can be found.
    fw::ComPtr<IUnknown> warmUp;
    ASSERT_EQ(S_OK, txt::create(txs::kHostContainer, IID_IUnknown, warmUp));
    txs::clearSampleCallLog(txs::kHostDll);
  }
  void TearDown() override {
    EXPECT_EQ(0, txs::sampleLiveObjects(txs::kHostDll)) << "a container object was not released";
    EXPECT_EQ(0, txs::sampleLiveObjects(txs::kUnitsDll)) << "a unit was not released";
  }

  // A container from the exported factory, as the product holds it.
  fw::ComPtr<ExtnContainer> container(const std::wstring& file = std::wstring(), DWORD failures = 0) {
    auto factory =
        reinterpret_cast<SampleCreateHostContainerFn>(txs::sampleHook(txs::kHostDll, txs::kHookCreateHostContainer));
    fw::ComPtr<IDispatch> dispatch;
    fw::ComPtr<ExtnContainer> result;
    if (factory && SUCCEEDED(factory(file.empty() ? nullptr : file.c_str(), failures, dispatch.put())))
      result.queryFrom(dispatch.get(), IID_ExtnContainer);
    return result;
  }

  static fw::ComPtr<IStorage> storageOf(ExtnContainer* host, long mode, HRESULT* hr = nullptr) {
    fw::UniqueVariant value;
    HRESULT result = host->GetStorage(mode, value.get());
    if (hr) *hr = result;
    fw::ComPtr<IStorage> storage;
    if (SUCCEEDED(result) && value.get()->punkVal) storage.queryFrom(value.get()->punkVal, IID_IStorage);
    return storage;
  }
};

std::string readStreamText(IStorage* storage, const wchar_t* name) {
  fw::ComPtr<IStream> stream;
  if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put()))) return "<none>";
  char buffer[256] = "";
  ULONG read = 0;
  stream->Read(buffer, sizeof buffer - 1, &read);
  return std::string(buffer, read);
}

}  // namespace

TEST_F(HostTest, AnswersBothContainerIidsWithOneTableAndRecordsTheRequests) {
  fw::ComPtr<ExtnContainer> host = container();
  ASSERT_TRUE(host);
  fw::ComPtr<ExtnContainer> unitHost;
  ASSERT_EQ(S_OK, unitHost.queryFrom(host.get(), IID_ExtnContainerUnit));
  EXPECT_EQ(host.get(), unitHost.get());
  EXPECT_EQ((std::vector<std::string>{"HostContainer.QueryInterface(ExtnContainer)",
                                      "HostContainer.QueryInterface(ExtnContainerUnit)"}),
            txs::sampleCallLog(txs::kHostDll));
}

TEST_F(HostTest, RefusesEitherIidOnRequest) {
  fw::ComPtr<IDispatch> dispatch;
  ASSERT_EQ(S_OK, txt::create(txs::kHostContainer, IID_IDispatch, dispatch));
  fw::ComPtr<ISampleHostControl> control;
  ASSERT_EQ(S_OK, control.queryFrom(dispatch.get(), IID_ISampleHostControl));
  fw::ComPtr<IUnknown> answer;
  ASSERT_EQ(S_OK, control->SetFailures(hostRefuseUnitIid));
  EXPECT_EQ(E_NOINTERFACE, dispatch->QueryInterface(IID_ExtnContainerUnit, answer.put_void()));
  EXPECT_EQ(S_OK, dispatch->QueryInterface(IID_ExtnContainer, answer.put_void()));
  ASSERT_EQ(S_OK, control->SetFailures(hostRefuseContainerIid));
  EXPECT_EQ(E_NOINTERFACE, dispatch->QueryInterface(IID_ExtnContainer, answer.put_void()));
  EXPECT_EQ(S_OK, dispatch->QueryInterface(IID_ExtnContainerUnit, answer.put_void()));
}

TEST_F(HostTest, SaveModeStorageReachesTheCaseFile) {
  const std::wstring file = txt::tempFile(L"HostCase");
  {
    fw::ComPtr<ExtnContainer> host = container(file);
    ASSERT_TRUE(host);
    fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageSave);
    ASSERT_TRUE(storage);
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(L"CAPEOPEN", 0x1012, 0, 0, stream.put()));
    ASSERT_EQ(S_OK, stream->Write("saved bytes", 11, nullptr));
    EXPECT_EQ(std::vector<std::string>{"HostContainer.GetStorage(18)"},
              txt::logEntries(txs::kHostDll, "HostContainer.Get"));
  }
  fw::ComPtr<IStorage> root;
  ASSERT_EQ(S_OK, StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put()));
  fw::ComPtr<IStorage> component;
  ASSERT_EQ(S_OK, root->OpenStorage(kDefaultComponentStorage, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                    component.put()));
  EXPECT_EQ("saved bytes", readStreamText(component.get(), L"CAPEOPEN"));
  component.reset();
  root.reset();
  DeleteFileW(file.c_str());
}

TEST_F(HostTest, LoadModeOpensTheComponentsStorageForReadingOnly) {
  fw::ComPtr<ExtnContainer> host = container();
  ASSERT_TRUE(host);
  fw::ComPtr<ISampleHostControl> control;
  ASSERT_EQ(S_OK, control.queryFrom(host.get(), IID_ISampleHostControl));
  ASSERT_EQ(S_OK, control->SetComponentName(L"Unit 7"));
  {
    fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageLoad);
    ASSERT_TRUE(storage);  // created empty for a component new to the case
    fw::ComPtr<IEnumSTATSTG> elements;
    ASSERT_EQ(S_OK, storage->EnumElements(0, nullptr, 0, elements.put()));
    STATSTG element = {};
    EXPECT_EQ(S_FALSE, elements->Next(1, &element, nullptr));
  }
  {
    fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageSave);
    ASSERT_TRUE(storage);
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(L"CAPEOPEN", 0x1012, 0, 0, stream.put()));
    ASSERT_EQ(S_OK, stream->Write("abc", 3, nullptr));
  }
  fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageLoad);
  ASSERT_TRUE(storage);
  EXPECT_EQ("abc", readStreamText(storage.get(), L"CAPEOPEN"));
  fw::ComPtr<IStream> stream;
  EXPECT_TRUE(FAILED(storage->CreateStream(L"Other", 0x1012, 0, 0, stream.put())));

  fw::ComPtr<IStorage> root;
  ASSERT_EQ(S_OK, control->GetRootStorage(root.put()));
  storage.reset();
  fw::ComPtr<IStorage> byName;
  EXPECT_EQ(S_OK, root->OpenStorage(L"Unit 7", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, byName.put()));
}

TEST_F(HostTest, StorageFailuresOnRequest) {
  {
    fw::ComPtr<ExtnContainer> host = container(std::wstring(), hostFailGetStorage);
    fw::UniqueVariant value;
    EXPECT_EQ(E_FAIL, host->GetStorage(extnStorageSave, value.get()));
    EXPECT_EQ("The host cannot give a storage", txt::errorDescription());
    EXPECT_EQ(VT_EMPTY, value.get()->vt);
  }
  {
    fw::ComPtr<ExtnContainer> host = container(std::wstring(), hostNoStorage);
    fw::UniqueVariant value;
    EXPECT_EQ(S_OK, host->GetStorage(extnStorageLoad, value.get()));
    EXPECT_EQ(VT_EMPTY, value.get()->vt);
    EXPECT_EQ(nullptr, value.get()->punkVal);
  }
  {
    fw::ComPtr<ExtnContainer> host = container(std::wstring(), hostStorageWithoutIStorage);
    fw::UniqueVariant value;
    EXPECT_EQ(S_OK, host->GetStorage(extnStorageSave, value.get()));
    ASSERT_NE(nullptr, value.get()->punkVal);
    fw::ComPtr<IStorage> storage;
    EXPECT_EQ(E_NOINTERFACE, storage.queryFrom(value.get()->punkVal, IID_IStorage));
  }
  {
    fw::ComPtr<ExtnContainer> host = container(std::wstring(), hostStorageAsDispatch);
    fw::UniqueVariant value;
    EXPECT_EQ(S_OK, host->GetStorage(extnStorageSave, value.get()));
    EXPECT_EQ(VT_DISPATCH, value.get()->vt);
    fw::ComPtr<IStorage> storage;
    EXPECT_EQ(S_OK, storage.queryFrom(value.get()->punkVal, IID_IStorage));
  }
}

TEST_F(HostTest, ErrorPathCallsAreRecordedWithTheirArguments) {
  fw::ComPtr<ExtnContainer> host = container();
  ASSERT_TRUE(host);
  fw::ComPtr<ExtnHostContext> context;
  ASSERT_EQ(S_OK, host->GetHostContext(context.put()));
  ASSERT_TRUE(context);
  fw::ComPtr<ExtnMessageLog> log;
  ASSERT_EQ(S_OK, context->GetMessageLog(log.put()));
  ASSERT_TRUE(log);
  EXPECT_EQ(S_OK, log->Prepare(0));
  BSTR message = SysAllocString(L"Error saving component through COM persistence: Sample Mixer");
  EXPECT_EQ(S_OK, host->AddMessage(message, 0));
  SysFreeString(message);
  EXPECT_EQ((std::vector<std::string>{"HostContainer.QueryInterface(ExtnContainer)", "HostContainer.GetHostContext",
                                      "HostContext.GetMessageLog", "MessageLog.Prepare(0)",
                                      "HostContainer.AddMessage(Error saving component through COM persistence: "
                                      "Sample Mixer,0)"}),
            txs::sampleCallLog(txs::kHostDll));
}

TEST_F(HostTest, ErrorPathFailuresOnRequest) {
  const struct {
    DWORD failure;
    int failingStep;  // 0 context, 1 log, 2 prepare, 3 message
  } cases[] = {{hostFailHostContext, 0}, {hostFailMessageLog, 1}, {hostFailPrepare, 2}, {hostFailAddMessage, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failingStep);
    fw::ComPtr<ExtnContainer> host = container(std::wstring(), c.failure);
    ASSERT_TRUE(host);
    fw::ComPtr<ExtnHostContext> context;
    HRESULT hr = host->GetHostContext(context.put());
    EXPECT_EQ(c.failingStep == 0 ? E_FAIL : S_OK, hr);
    if (FAILED(hr)) {
      EXPECT_FALSE(context);
      continue;
    }
    fw::ComPtr<ExtnMessageLog> log;
    hr = context->GetMessageLog(log.put());
    EXPECT_EQ(c.failingStep == 1 ? E_FAIL : S_OK, hr);
    if (FAILED(hr)) continue;
    EXPECT_EQ(c.failingStep == 2 ? E_FAIL : S_OK, log->Prepare(0));
    BSTR message = SysAllocString(L"m");
    EXPECT_EQ(c.failingStep == 3 ? E_FAIL : S_OK, host->AddMessage(message, 0));
    SysFreeString(message);
  }
}

TEST_F(HostTest, UnitRoundTripThroughTheContainerAsTheProductMakesIt) {
  const std::wstring file = txt::tempFile(L"HostRoundTrip");
  {
    fw::ComPtr<ExtnContainer> host = container(file);
    ASSERT_TRUE(host);
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kStreamInitUnit, IID_IPersistStreamInit, unit));
    fw::ComPtr<ISampleData> data;
    ASSERT_EQ(S_OK, data.queryFrom(unit.get(), IID_ISampleData));
    ASSERT_EQ(S_OK, data->SetData(L"kept in the case", 12.5));
    fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageSave);
    ASSERT_TRUE(storage);
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->CreateStream(L"CAPEOPEN", 0x1012, 0, 0, stream.put()));
    ASSERT_EQ(S_OK, unit->Save(stream.get(), TRUE));
    ASSERT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
  }
  {
    fw::ComPtr<ExtnContainer> host = container(file);  // the case opened again
    ASSERT_TRUE(host);
    fw::ComPtr<IStorage> storage = storageOf(host.get(), extnStorageLoad);
    ASSERT_TRUE(storage);
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, storage->OpenStream(L"CAPEOPEN", nullptr, 0x10, 0, stream.put()));
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kStreamInitUnit, IID_IPersistStreamInit, unit));
    ASSERT_EQ(S_OK, unit->Load(stream.get()));
    fw::ComPtr<ISampleData> data;
    ASSERT_EQ(S_OK, data.queryFrom(unit.get(), IID_ISampleData));
    BSTR text = nullptr;
    double number = 0;
    ASSERT_EQ(S_OK, data->GetData(&text, &number));
    EXPECT_EQ("kept in the case", tx::narrow(text));
    EXPECT_EQ(12.5, number);
    SysFreeString(text);
  }
  DeleteFileW(file.c_str());
}

TEST_F(HostTest, ComponentsOfOneCaseShareItsFile) {
  const std::wstring file = txt::tempFile(L"HostTwoComponents");
  {
    fw::ComPtr<ExtnContainer> first = container(file);
    ASSERT_TRUE(first);
    fw::ComPtr<ISampleHostControl> control;
    ASSERT_EQ(S_OK, control.queryFrom(first.get(), IID_ISampleHostControl));
    fw::ComPtr<IDispatch> added;
    ASSERT_EQ(S_OK, control->AddComponent(L"Second", added.put()));
    fw::ComPtr<ExtnContainer> second;
    ASSERT_EQ(S_OK, second.queryFrom(added.get(), IID_ExtnContainer));
    const struct {
      ExtnContainer* host;
      const char* text;
    } writes[] = {{first.get(), "one"}, {second.get(), "two"}};
    for (const auto& write : writes) {
      fw::ComPtr<IStorage> storage = storageOf(write.host, extnStorageSave);
      ASSERT_TRUE(storage);
      fw::ComPtr<IStream> stream;
      ASSERT_EQ(S_OK, storage->CreateStream(L"CAPEOPEN", 0x1012, 0, 0, stream.put()));
      ASSERT_EQ(S_OK, stream->Write(write.text, 3, nullptr));
    }
  }
  fw::ComPtr<IStorage> root;
  ASSERT_EQ(S_OK, StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put()));
  const struct {
    const wchar_t* name;
    const char* text;
  } expected[] = {{kDefaultComponentStorage, "one"}, {L"Second", "two"}};
  for (const auto& component : expected) {
    fw::ComPtr<IStorage> storage;
    ASSERT_EQ(S_OK,
              root->OpenStorage(component.name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, storage.put()));
    EXPECT_EQ(component.text, readStreamText(storage.get(), L"CAPEOPEN"));
  }
  root.reset();
  DeleteFileW(file.c_str());
}
