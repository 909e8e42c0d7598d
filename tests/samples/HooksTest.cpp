// The samples' test hooks, on which the product tests' "nothing held" and "was called"
// checks rest: a missing hook reads as no objects and an empty log, so such checks would
// pass whatever the product did. Each DLL's count must follow its objects, and its log
// must record calls (with their arguments) and clear.
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include "common/TestSupport.h"
#include "external/CapeOpen.h"
#include "external/ExtnContainer.h"
#include "samples/common/SampleHooks.h"

namespace {

using Log = std::vector<std::string>;

class HooksTest : public tx::ComTest {};

fw::ComPtr<IUnknown> create(const txs::ClassInfo& info, REFIID iid) {
  fw::ComPtr<IUnknown> object;
  EXPECT_EQ(S_OK, CoCreateInstance(info.clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.put_void())) << info.key;
  return object;
}

}  // namespace

TEST_F(HooksTest, EachDllCountsItsObjectsAndLogsTheirCalls) {
  const struct {
    const txs::ClassInfo* info;
    const IID* iid;
    std::function<HRESULT(IUnknown*)> call;  // one call that the object logs
    const char* logged;
  } rows[] = {
      {&txs::kThermoSystem, &IID_ICapeThermoSystem,
       [](IUnknown* o) {
         fw::UniqueVariant list;
         return static_cast<ICapeThermoSystem*>(o)->GetPropertyPackages(list.put());
       },
       "ThermoSystem.GetPropertyPackages"},
      {&txs::kMixer, &IID_ICapeUnit, [](IUnknown* o) { return static_cast<ICapeUnit*>(o)->Calculate(); },
       "Mixer.Calculate"},
      {&txs::kTerminateFails, &IID_ICapeUtilities,
       [](IUnknown* o) { return static_cast<ICapeUtilities*>(o)->Initialize(); }, "TerminateFails.Initialize"},
      {&txs::kHostContainer, &IID_IDispatch,
       [](IUnknown* o) {
         fw::ComPtr<IUnknown> container;
         return container.queryFrom(o, IID_ExtnContainerUnit);
       },
       "HostContainer.QueryInterface(ExtnContainerUnit)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.info->key);
    const char* dll = row.info->dll;
    fw::ComPtr<IUnknown> object = create(*row.info, *row.iid);
    ASSERT_TRUE(object);
    for (const char* hook : {txs::kHookLiveObjects, txs::kHookCallLog, txs::kHookClearCallLog})
      ASSERT_NE(nullptr, txs::sampleHook(dll, hook)) << hook;
    EXPECT_EQ(1, txs::sampleLiveObjects(dll));
    txs::clearSampleCallLog(dll);
    EXPECT_EQ(Log{}, txs::sampleCallLog(dll));
    EXPECT_EQ(S_OK, row.call(object.get()));
    EXPECT_EQ(S_OK, row.call(object.get()));
    EXPECT_EQ((Log{row.logged, row.logged}), txs::sampleCallLog(dll));
    txs::clearSampleCallLog(dll);
    EXPECT_EQ(Log{}, txs::sampleCallLog(dll));
    object.reset();
    // Still loaded: the count that fell is the DLL's, not the reader's 0 for a DLL that is gone.
    ASSERT_NE(nullptr, GetModuleHandleA(dll));
    EXPECT_EQ(0, txs::sampleLiveObjects(dll));
  }
}

TEST_F(HooksTest, ObjectsThatASampleHandsOutAreCountedAndLoggedToo) {
  fw::ComPtr<IUnknown> object = create(txs::kThermoSystem, IID_ICapeThermoSystem);
  ASSERT_TRUE(object);
  auto system = static_cast<ICapeThermoSystem*>(object.get());
  txs::clearSampleCallLog(txs::kThermoDll);
  fw::ComPtr<IDispatch> resolved;
  BSTR name = SysAllocString(L"Air Ideal Gas");
  ASSERT_EQ(S_OK, system->ResolvePropertyPackage(name, resolved.put()));
  SysFreeString(name);
  fw::ComPtr<ICapeUtilities> package;
  ASSERT_EQ(S_OK, package.queryFrom(resolved.get(), IID_ICapeUtilities));
  resolved.reset();
  EXPECT_EQ(2, txs::sampleLiveObjects(txs::kThermoDll));
  EXPECT_EQ(S_OK, package->Initialize());
  EXPECT_EQ((Log{"ThermoSystem.ResolvePropertyPackage(Air Ideal Gas)", "ThermoSystem:Air Ideal Gas.Initialize"}),
            txs::sampleCallLog(txs::kThermoDll));
  object.reset();
  EXPECT_EQ(1, txs::sampleLiveObjects(txs::kThermoDll));
  package.reset();
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kThermoDll));
}
