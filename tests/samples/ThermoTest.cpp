// The sample property system and packages as the product calls them: package list,
// resolution by name, compound, phase and property lists by value, utilities, Edit.
#include <windows.h>
#include <gtest/gtest.h>
#include "SampleClient.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "external/CapeOpen.h"

namespace {

class ThermoTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, txt::create(txs::kThermoSystem, IID_ICapeThermoSystem, system_));
    txs::clearSampleCallLog(txs::kThermoDll);
  }
  void TearDown() override {
    system_.reset();
    EXPECT_EQ(0, txs::sampleLiveObjects(txs::kThermoDll)) << "a sample object was not released";
  }

  fw::ComPtr<ICapeThermoPropertyPackage> resolve(const char* name) {
    fw::ComPtr<IDispatch> object;
    BSTR text = SysAllocString(tx::widen(name).c_str());
    HRESULT hr = system_->ResolvePropertyPackage(text, object.put());
    SysFreeString(text);
    fw::ComPtr<ICapeThermoPropertyPackage> package;
    if (SUCCEEDED(hr) && object) package.queryFrom(object.get(), IID_ICapeThermoPropertyPackage);
    return package;
  }

  fw::ComPtr<ICapeThermoSystem> system_;
};

// The six lists of GetComponentList and the two others, compared by value with the data.
void expectPackageData(ICapeThermoPropertyPackage* package, const txs::PackageData& data) {
  fw::UniqueVariant lists[6];
  ASSERT_EQ(S_OK, package->GetComponentList(lists[0].get(), lists[1].get(), lists[2].get(), lists[3].get(),
                                            lists[4].get(), lists[5].get()));
  std::vector<std::string> ids, formulae, names, cas;
  std::vector<double> boiling, weights;
  LONG lower = -1;
  ASSERT_TRUE(txt::readStrings(*lists[0].get(), &ids, &lower));
  EXPECT_EQ(0, lower);
  ASSERT_TRUE(txt::readStrings(*lists[1].get(), &formulae));
  ASSERT_TRUE(txt::readStrings(*lists[2].get(), &names));
  ASSERT_TRUE(txt::readDoubles(*lists[3].get(), &boiling));
  ASSERT_TRUE(txt::readDoubles(*lists[4].get(), &weights));
  ASSERT_TRUE(txt::readStrings(*lists[5].get(), &cas));
  ASSERT_EQ(static_cast<size_t>(data.compoundCount), ids.size());
  for (int i = 0; i < data.compoundCount; ++i) {
    const txs::Compound& c = data.compounds[i];
    EXPECT_EQ(c.id, ids[i]);
    EXPECT_EQ(c.formula, formulae[i]);
    EXPECT_EQ(c.name, names[i]);
    EXPECT_DOUBLE_EQ(c.boilTemp, boiling[i]);
    EXPECT_DOUBLE_EQ(c.molWt, weights[i]);
    EXPECT_EQ(c.casNo, cas[i]);
  }

  fw::UniqueVariant phases, properties;
  ASSERT_EQ(S_OK, package->GetPhaseList(phases.get()));
  ASSERT_EQ(S_OK, package->GetPropList(properties.get()));
  std::vector<std::string> phaseNames, propertyNames;
  ASSERT_TRUE(txt::readStrings(*phases.get(), &phaseNames));
  ASSERT_TRUE(txt::readStrings(*properties.get(), &propertyNames));
  EXPECT_EQ(std::vector<std::string>(data.phases, data.phases + data.phaseCount), phaseNames);
  EXPECT_EQ(std::vector<std::string>(data.properties, data.properties + data.propertyCount), propertyNames);
}

}  // namespace

TEST_F(ThermoTest, SystemListsItsThreePackagesInOrder) {
  fw::UniqueVariant list;
  ASSERT_EQ(S_OK, system_->GetPropertyPackages(list.get()));
  std::vector<std::string> names;
  LONG lower = -1;
  ASSERT_TRUE(txt::readStrings(*list.get(), &names, &lower));
  EXPECT_EQ(0, lower);
  ASSERT_EQ(3u, names.size());
  for (int i = 0; i < txs::kSystemPackageCount; ++i) EXPECT_EQ(txs::kSystemPackages[i].name, names[i]);
  EXPECT_EQ(std::vector<std::string>{"ThermoSystem.GetPropertyPackages"}, txs::sampleCallLog(txs::kThermoDll));
}

TEST_F(ThermoTest, EachPackageAnswersItsDataByValue) {
  for (const txs::PackageData& data : txs::kSystemPackages) {
    SCOPED_TRACE(data.name);
    fw::ComPtr<ICapeThermoPropertyPackage> package = resolve(data.name);
    ASSERT_TRUE(package);
    expectPackageData(package.get(), data);
    std::string object = std::string("ThermoSystem:") + data.name;
    EXPECT_EQ(
        (std::vector<std::string>{object + ".GetComponentList", object + ".GetPhaseList", object + ".GetPropList"}),
        txt::logEntries(txs::kThermoDll, object + "."));
  }
  EXPECT_EQ(3u, txt::logEntries(txs::kThermoDll, "ThermoSystem.ResolvePropertyPackage(").size());
}

TEST_F(ThermoTest, ListsPassedInWithContentAreReplaced) {
  fw::ComPtr<ICapeThermoPropertyPackage> package = resolve(txs::kSystemPackages[0].name);
  ASSERT_TRUE(package);
  fw::UniqueVariant lists[6];
  for (auto& list : lists) {
    list.get()->vt = VT_BSTR;
    list.get()->bstrVal = SysAllocString(L"stale");
  }
  ASSERT_EQ(S_OK, package->GetComponentList(lists[0].get(), lists[1].get(), lists[2].get(), lists[3].get(),
                                            lists[4].get(), lists[5].get()));
  std::vector<std::string> ids;
  ASSERT_TRUE(txt::readStrings(*lists[0].get(), &ids));
  EXPECT_EQ(std::vector<std::string>({"water", "ethanol"}), ids);
}

TEST_F(ThermoTest, UnknownPackageFailsWithErrorInformation) {
  fw::ComPtr<IDispatch> object;
  BSTR name = SysAllocString(L"No Such Package");
  EXPECT_EQ(E_INVALIDARG, system_->ResolvePropertyPackage(name, object.put()));
  SysFreeString(name);
  EXPECT_FALSE(object);
  EXPECT_EQ(tx::narrow(txs::kUnknownPackageError), txt::errorDescription());
}

TEST_F(ThermoTest, UtilitiesAreLoggedPerObject) {
  fw::ComPtr<ICapeUtilities> systemUtilities;
  ASSERT_EQ(S_OK, systemUtilities.queryFrom(system_.get(), IID_ICapeUtilities));
  ASSERT_EQ(S_OK, systemUtilities->Initialize());
  fw::ComPtr<ICapeThermoPropertyPackage> package = resolve("Air Ideal Gas");
  ASSERT_TRUE(package);
  fw::ComPtr<ICapeUtilities> packageUtilities;
  ASSERT_EQ(S_OK, packageUtilities.queryFrom(package.get(), IID_ICapeUtilities));
  ASSERT_EQ(S_OK, packageUtilities->Initialize());
  ASSERT_EQ(S_OK, packageUtilities->Terminate());
  ASSERT_EQ(S_OK, systemUtilities->Terminate());
  EXPECT_EQ((std::vector<std::string>{"ThermoSystem.Initialize", "ThermoSystem.ResolvePropertyPackage(Air Ideal Gas)",
                                      "ThermoSystem:Air Ideal Gas.Initialize", "ThermoSystem:Air Ideal Gas.Terminate",
                                      "ThermoSystem.Terminate"}),
            txs::sampleCallLog(txs::kThermoDll));
}

TEST_F(ThermoTest, EditShowsAWindowOfItsOwnUntilClosed) {
  fw::ComPtr<ICapeUtilities> utilities;
  ASSERT_EQ(S_OK, utilities.queryFrom(system_.get(), IID_ICapeUtilities));
  BoxCapture capture;
  std::string caption, text;
  capture.onDialog([&](HWND dialog) {
    char buffer[512] = "";
    GetWindowTextA(dialog, buffer, sizeof buffer);
    caption = buffer;
    GetDlgItemTextA(dialog, 1001, buffer, sizeof buffer);
    text = buffer;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(S_OK, utilities->Edit());
  EXPECT_EQ(std::string(txs::kThermoSystem.values.name) + txs::kEditCaptionSuffix, caption);
  EXPECT_NE(std::string::npos, text.find(txs::kThermoSystem.values.description));
  EXPECT_EQ(0u, capture.count());
  EXPECT_EQ(std::vector<std::string>{"ThermoSystem.Edit"}, txs::sampleCallLog(txs::kThermoDll));
}

TEST_F(ThermoTest, EditClosesItselfWhenTheHookSaysSo) {
  fw::ComPtr<ICapeThermoPropertyPackage> package = resolve("Water-Ethanol NRTL");
  ASSERT_TRUE(package);
  fw::ComPtr<ICapeUtilities> utilities;
  ASSERT_EQ(S_OK, utilities.queryFrom(package.get(), IID_ICapeUtilities));
  BoxCapture capture;
  int dialogs = 0;
  capture.onDialog([&](HWND) { ++dialogs; });  // seen, left open: the window closes itself
  txs::setSampleEditAutoClose(txs::kThermoDll, 50);
  HRESULT hr = utilities->Edit();
  txs::setSampleEditAutoClose(txs::kThermoDll, 0);
  EXPECT_EQ(S_OK, hr);
  EXPECT_EQ(1, dialogs);
}

TEST_F(ThermoTest, StandalonePackageAnswersRefrigerants) {
  fw::ComPtr<ICapeThermoPropertyPackage> package;
  ASSERT_EQ(S_OK, txt::create(txs::kPropertyPackage, IID_ICapeThermoPropertyPackage, package));
  expectPackageData(package.get(), txs::kStandalonePackage);
  fw::ComPtr<ICapeIdentification> identification;
  ASSERT_EQ(S_OK, identification.queryFrom(package.get(), IID_ICapeIdentification));
  BSTR name = nullptr;
  ASSERT_EQ(S_OK, identification->get_ComponentName(&name));
  EXPECT_EQ(txs::kPropertyPackage.values.name, tx::narrow(name));
  SysFreeString(name);
  EXPECT_EQ(3u, txt::logEntries(txs::kThermoDll, "PropertyPackage.Get").size());
}

TEST_F(ThermoTest, DispatchReachesTheMethodsByName) {
  fw::ComPtr<IDispatch> dispatch;
  ASSERT_EQ(S_OK, dispatch.queryFrom(system_.get(), IID_IDispatch));
  DISPID id = 0;
  ASSERT_EQ(S_OK, tx::dispIdOf(dispatch.get(), L"GetPropertyPackages", &id));
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  fw::UniqueVariant result;
  ASSERT_EQ(S_OK, dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, result.get(), nullptr, nullptr));
  std::vector<std::string> names;
  ASSERT_TRUE(txt::readStrings(*result.get(), &names));
  EXPECT_EQ(3u, names.size());
}

TEST_F(ThermoTest, TheDllMayUnloadOnlyWhenEverythingIsReleased) {
  HMODULE module = GetModuleHandleA(txs::kThermoDll);
  ASSERT_NE(nullptr, module);
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  fw::ComPtr<ICapeThermoPropertyPackage> package = resolve("Air Ideal Gas");
  EXPECT_EQ(2, txs::sampleLiveObjects(txs::kThermoDll));
  EXPECT_EQ(S_FALSE, canUnload());
  system_.reset();
  EXPECT_EQ(1, txs::sampleLiveObjects(txs::kThermoDll));
  EXPECT_EQ(S_FALSE, canUnload());
  package.reset();
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kThermoDll));
  EXPECT_EQ(S_OK, canUnload());
}

TEST_F(ThermoTest, AnUnusedDllIsUnloadedAndAPinnedOneKeepsItsLog) {
  system_.reset();
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(nullptr, GetModuleHandleA(txs::kThermoDll));

  HMODULE pinned = txs::pinSampleDll(txs::kThermoSystem);
  ASSERT_NE(nullptr, pinned);
  ASSERT_EQ(S_OK, txt::create(txs::kThermoSystem, IID_ICapeThermoSystem, system_));
  fw::UniqueVariant list;
  ASSERT_EQ(S_OK, system_->GetPropertyPackages(list.get()));
  system_.reset();
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(pinned, GetModuleHandleA(txs::kThermoDll));
  EXPECT_EQ(std::vector<std::string>{"ThermoSystem.GetPropertyPackages"}, txs::sampleCallLog(txs::kThermoDll));
  FreeLibrary(pinned);
}
