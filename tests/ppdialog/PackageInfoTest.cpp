// The package's lists in the dialog: loaded by setPPInfo (and LoadPackageInfo) from the
// sample packages and the fault zoo, and the component's own view behind "Custom View".
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "component/CCAPEGUI.h"
#include "external/CapeOpen.h"
#include "framework/ObjectRoot.h"
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/COTHConfigIds.h"
#include "ppdialog/DialogDriver.h"
#include "samples/common/SampleHooks.h"
#include "support/CTxBSTR.h"

using namespace ppt;
using Texts = std::vector<std::string>;

namespace {

struct Lists {
  Texts compIds, casNos, properties, phases, flashTypes;
};

Lists expectedLists(const txs::PackageData& data) {
  Lists lists;
  for (int i = 0; i < data.compoundCount; ++i) {
    lists.compIds.push_back(data.compounds[i].id);
    lists.casNos.push_back(data.compounds[i].casNo);
  }
  for (int i = 0; i < data.propertyCount; ++i) lists.properties.push_back(data.properties[i]);
  for (int i = 0; i < data.phaseCount; ++i) lists.phases.push_back(data.phases[i]);
  return lists;
}

void expectLists(const Lists& want, const Lists& seen) {
  EXPECT_EQ(want.compIds, seen.compIds);
  EXPECT_EQ(want.casNos, seen.casNos);
  EXPECT_EQ(want.properties, seen.properties);
  EXPECT_EQ(want.phases, seen.phases);
}

const txs::PackageData& airData() {
  for (const txs::PackageData& package : txs::kSystemPackages)
    if (std::string(package.name) == "Air Ideal Gas") return package;
  return txs::kSystemPackages[0];
}

class PackageInfo : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }

  // The lists as the dialog shows them, read from a showing closed with the close box.
  Lists shownLists(ICCAPEGUI* target = nullptr) {
    Lists lists;
    BoxCapture capture;
    DialogDriver driver(capture);
    driver.then([&](HWND d) {
            lists.compIds = listItems(d, IDC_COMPIDS);
            lists.casNos = listItems(d, IDC_CASNOS);
            lists.properties = listItems(d, IDC_PROPERTIES);
            lists.phases = listItems(d, IDC_PHASES);
            lists.flashTypes = listItems(d, IDC_FLASH_TYPES);
          })
        .then(pressCloseBox);
    EXPECT_EQ(S_OK, (target ? target : object.get())->ShowThermoGUI(VARIANT_TRUE));
    EXPECT_EQ(1, driver.dialogsSeen());
    EXPECT_EQ(0u, capture.count());
    return lists;
  }

  static HRESULT create(const txs::ClassInfo& info, IDispatch** out) {
    return CoCreateInstance(info.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(out));
  }

  // A package of the zoo's faulty property system.
  static HRESULT faultyPackage(const char* name, IDispatch** out) {
    fw::ComPtr<IDispatch> system;
    HRESULT hr = create(txs::kFaultySystem, system.put());
    fw::ComPtr<ICapeThermoSystem> thermo;
    if (SUCCEEDED(hr)) hr = thermo.queryFrom(system.get(), IID_ICapeThermoSystem);
    if (SUCCEEDED(hr)) hr = thermo->ResolvePropertyPackage(CTxBSTR(name), out);
    return hr;
  }

  // setComponent followed by setPPInfo (inside a BoxCapture of the caller's).
  HRESULT load(IDispatch* component) {
    HRESULT hr = object->setComponent(component);
    if (FAILED(hr)) return hr;
    return object->setPPInfo(nullptr, nullptr, nullptr);
  }

  fw::ComPtr<ICCAPEGUI> object;
};

// An object of the product built in this program, so that its C++ side can be reached.
HRESULT createInProcess(ICCAPEGUI** out) {
  return fw::ComObject<CCCAPEGUI>::CreateInstance(IID_ICCAPEGUI, reinterpret_cast<void**>(out));
}

}  // namespace

TEST_F(PackageInfo, SamplePackageListsInArrayOrder) {
  fw::ComPtr<IDispatch> package;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, package.put()));
  fw::UniqueVariant flashTypes;
  SAFEARRAYBOUND bound = {3, 1};  // lower bound 1: shown whole
  flashTypes.get()->vt = VT_ARRAY | VT_BSTR;
  flashTypes.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  BSTR* types = static_cast<BSTR*>(flashTypes.get()->parray->pvData);
  types[0] = SysAllocString(L"TP");
  types[1] = SysAllocString(L"PH");
  types[2] = SysAllocString(L"PS");
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*flashTypes.get()));
  {
    BoxCapture capture;
    ASSERT_EQ(S_OK, load(package.get()));
    EXPECT_EQ(0u, capture.count());
  }
  Lists seen = shownLists();
  expectLists(expectedLists(txs::kStandalonePackage), seen);
  EXPECT_EQ((Texts{"PH", "PS", "TP"}), seen.flashTypes);
  // A second showing fills the lists again from what was loaded, not twice over.
  expectLists(expectedLists(txs::kStandalonePackage), shownLists());
}

TEST_F(PackageInfo, OddListsOfTheZooAreShownWhole) {
  BoxCapture capture;
  fw::ComPtr<IDispatch> lowerBoundOne, numbers;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultLowerBoundOne, lowerBoundOne.put()));
  ASSERT_EQ(S_OK, load(lowerBoundOne.get()));
  expectLists(expectedLists(airData()), shownLists());

  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultNumberLists, numbers.put()));
  ASSERT_EQ(S_OK, load(numbers.get()));
  Lists seen = shownLists();
  Lists want;
  for (int i = 1; i <= airData().compoundCount; ++i) want.compIds.push_back(std::to_string(i));
  want.casNos = want.compIds;
  for (int i = 1; i <= airData().propertyCount; ++i) want.properties.push_back(std::to_string(i));
  for (int i = 1; i <= airData().phaseCount; ++i) want.phases.push_back(std::to_string(i));
  expectLists(want, seen);
  EXPECT_EQ(0u, capture.count());
}

TEST_F(PackageInfo, FailedLoadsAreReportedAndKeepWhatWasShown) {
  BoxCapture capture;
  fw::ComPtr<IDispatch> good;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, good.put()));
  ASSERT_EQ(S_OK, load(good.get()));
  const Lists refrigerants = expectedLists(txs::kStandalonePackage);

  // GetComponentList fails: nothing changes, the package's own error text is shown.
  fw::ComPtr<IDispatch> failing;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultComponentListFails, failing.put()));
  ASSERT_EQ(S_OK, object->setComponent(failing.get()));
  capture.clear();
  EXPECT_EQ(E_FAIL, object->setPPInfo(nullptr, nullptr, nullptr));
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("Unexpected error "));
  EXPECT_TRUE(capture.anyContains(tx::narrow(txs::kListError)));
  expectLists(refrigerants, shownLists());

  // GetPhaseList fails: the compounds came before it and are the new ones.
  fw::ComPtr<IDispatch> phasesFail;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultPhaseListFails, phasesFail.put()));
  ASSERT_EQ(S_OK, object->setComponent(phasesFail.get()));
  capture.clear();
  EXPECT_EQ(E_FAIL, object->setPPInfo(nullptr, nullptr, nullptr));
  EXPECT_EQ(1u, capture.count());
  Lists seen = shownLists();
  Lists want = refrigerants;
  want.compIds = expectedLists(airData()).compIds;
  want.casNos = expectedLists(airData()).casNos;
  expectLists(want, seen);

  // Not a property package, or a unit operation: a failure code, the lists as they were.
  fw::ComPtr<IDispatch> notAPackage, mixer;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultNotAPackage, notAPackage.put()));
  ASSERT_EQ(S_OK, create(txs::kMixer, mixer.put()));
  for (IDispatch* component : {notAPackage.get(), mixer.get()}) {
    ASSERT_EQ(S_OK, object->setComponent(component));
    capture.clear();
    EXPECT_EQ(E_POINTER, object->setPPInfo(nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, capture.count());
    expectLists(want, shownLists());
  }
  EXPECT_EQ(S_OK, object->releaseComponents());
}

TEST_F(PackageInfo, NoComponentIsAFailureAndTheListsStayEmpty) {
  BoxCapture capture;
  EXPECT_EQ(E_POINTER, object->setPPInfo(nullptr, nullptr, nullptr));
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("Unexpected error "));
  Lists seen = shownLists();
  expectLists(Lists(), seen);
}

TEST_F(PackageInfo, LoadPackageInfoDropsThePackageItCannotUse) {
  fw::ComPtr<IDispatch> good, qiFails, unit;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, good.put()));
  ASSERT_EQ(S_OK, create(txs::kQIFails, qiFails.put()));
  ASSERT_EQ(S_OK, create(txs::kUnit093, unit.put()));
  CCOTHConfig config(nullptr);
  EXPECT_EQ(E_POINTER, config.LoadPackageInfo(nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(S_OK, config.LoadPackageInfo(good.get(), nullptr, nullptr, nullptr));
  EXPECT_TRUE(config.hasPackage());
  // A QueryInterface that fails otherwise than with E_NOINTERFACE gives its own code.
  EXPECT_EQ(E_FAIL, config.LoadPackageInfo(qiFails.get(), nullptr, nullptr, nullptr));
  EXPECT_FALSE(config.hasPackage());
  EXPECT_EQ(S_OK, config.LoadPackageInfo(good.get(), nullptr, nullptr, nullptr));
  EXPECT_EQ(E_POINTER, config.LoadPackageInfo(unit.get(), nullptr, nullptr, nullptr));
  EXPECT_FALSE(config.hasPackage());
  EXPECT_EQ(S_OK, config.LoadPackageInfo(good.get(), nullptr, nullptr, nullptr));
  EXPECT_EQ(E_POINTER, config.LoadPackageInfo(nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(config.hasPackage());
}

TEST_F(PackageInfo, CustomViewCallsTheComponentsEdit) {
  fw::ComPtr<IDispatch> package;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, package.put()));
  BoxCapture capture;
  ASSERT_EQ(S_OK, object->setComponent(package.get()));
  txs::clearSampleCallLog(txs::kThermoDll);
  DialogDriver driver(capture);
  driver.then([](HWND d) { clickButton(d, IDC_CUSTOM_VIEW); }).then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  std::vector<std::string> log = txs::sampleCallLog(txs::kThermoDll);
  EXPECT_EQ((std::vector<std::string>{"PropertyPackage.Edit"}), log);
  EXPECT_EQ((std::vector<std::string>{std::string(txs::kStandalonePackage.name) + txs::kEditCaptionSuffix}),
            driver.otherDialogs());
  EXPECT_EQ(0u, capture.count());
  EXPECT_EQ(S_OK, object->releaseComponents());
}

TEST_F(PackageInfo, CustomViewOfTheZooReportsWhatWentWrong) {
  fw::ComPtr<ICCAPEGUI> local;
  ASSERT_EQ(S_OK, createInProcess(local.put()));
  CCCAPEGUI* product = static_cast<CCCAPEGUI*>(local.get());
  BoxCapture capture;

  fw::ComPtr<IDispatch> editFails, noUtilities, qiFails;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultEditFails, editFails.put()));
  ASSERT_EQ(S_OK, create(txs::kUnit093, noUtilities.put()));
  ASSERT_EQ(S_OK, create(txs::kQIFails, qiFails.put()));

  // Edit fails: the message with the component's own error text, and its code.
  ASSERT_EQ(S_OK, local->setComponent(editFails.get()));
  capture.clear();
  EXPECT_EQ(E_FAIL, product->ShowCustomView());
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("The component does not provide a Custom View."));
  EXPECT_TRUE(capture.anyContains(tx::narrow(txs::kEditError)));

  // No utilities interface: the component has no view of its own.
  ASSERT_EQ(S_OK, local->setComponent(noUtilities.get()));
  capture.clear();
  EXPECT_EQ(E_FAIL, product->ShowCustomView());
  ASSERT_EQ(1u, capture.count());
  EXPECT_EQ(" ERROR: The component does not provide a Custom View.", capture.boxes()[0].text);

  // QueryInterface fails outright: the same message, with that failure.
  local->setComponent(qiFails.get());  // its persistence probe may report too
  capture.clear();
  EXPECT_EQ(E_FAIL, product->ShowCustomView());
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("The component does not provide a Custom View."));
  ASSERT_EQ(S_OK, local->setComponent(nullptr));
}

TEST_F(PackageInfo, CreatedPackageOfTheSampleSystemAsTheHostImportsIt) {
  const txs::PackageData& data = txs::kSystemPackages[0];
  BoxCapture capture;
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_PropertyPackage));
  ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(data.name), CTxBSTR(txs::kThermoSystem.progIdW)));
  fw::ComPtr<IDispatch> component, parent;
  ASSERT_EQ(S_OK, object->createComp(component.put(), parent.put()));
  ASSERT_EQ(S_OK, object->setPPInfo(nullptr, nullptr, nullptr));
  EXPECT_EQ(0u, capture.texts().size()) << (capture.count() ? capture.texts()[0] : "");

  BSTR name = nullptr;
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  EXPECT_EQ(std::string(data.values.name) + "(from '" + txs::kThermoSystem.progId + "')", tx::bstrText(name));
  SysFreeString(name);

  expectLists(expectedLists(data), shownLists());

  // "Browse Static Information" shows the Component Manager on the package; the names
  // shown afterwards are those its result gave.
  DialogDriver driver(capture);
  std::string package, system;
  driver.then([](HWND d) { clickButton(d, IDC_BROWSE_STATIC); })
      .then([&](HWND d) {
        package = controlText(d, IDC_PACKAGE_NAME);
        system = controlText(d, IDC_SYSTEM_NAME);
      })
      .then(pressOk);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(1u, driver.otherDialogs().size());
  EXPECT_EQ(data.values.name, package);
  EXPECT_EQ(txs::kThermoSystem.values.name, system);
  BSTR alias = nullptr;
  ASSERT_EQ(S_OK, object->GetItemAlias(&alias));
  EXPECT_EQ(package, tx::bstrText(alias));
  SysFreeString(alias);
  component.reset();
  parent.reset();
  EXPECT_EQ(S_OK, object->releaseComponents());
}
