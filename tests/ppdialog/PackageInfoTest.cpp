// The package's lists in the dialog: loaded by setPPInfo (and LoadPackageInfo) from the
// sample packages and the fault zoo, and the component's own view behind "Custom View".
#include "component/CCAPEGUI.h"
#include "external/CapeOpen.h"
#include "framework/ObjectRoot.h"
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/PackageDialog.h"
#include "samples/common/SampleHooks.h"

using namespace ppt;

namespace {

// compIds, casNos, properties, phases, flash types: as the dialog shows them.
using Lists = std::vector<Texts>;
Lists listsOf(const txs::PackageData& data, const Texts& flashTypes) {
  Lists lists(5);
  for (int i = 0; i < data.compoundCount; ++i) {
    lists[0].push_back(data.compounds[i].id);
    lists[1].push_back(data.compounds[i].casNo);
  }
  lists[2].assign(data.properties, data.properties + data.propertyCount);
  lists[3].assign(data.phases, data.phases + data.phaseCount);
  lists[4] = flashTypes;
  return lists;
}

HRESULT create(const txs::ClassInfo& info, IDispatch** out) {
  return CoCreateInstance(info.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(out));
}

// A package of the zoo's faulty property system.
HRESULT faultyPackage(const char* name, IDispatch** out) {
  fw::ComPtr<IDispatch> system;
  HRESULT hr = create(txs::kFaultySystem, system.put());
  fw::ComPtr<ICapeThermoSystem> thermo;
  if (SUCCEEDED(hr)) hr = thermo.queryFrom(system.get(), IID_ICapeThermoSystem);
  if (SUCCEEDED(hr)) hr = thermo->ResolvePropertyPackage(CTxBSTR(name), out);
  return hr;
}

class PackageInfo : public ProductTest {};

}  // namespace

TEST_F(PackageInfo, EachLoadShowsItsListsAndAFailedOneKeepsWhatWasShown) {
  // Flash types with lower bound 1 are shown whole.
  fw::UniqueVariant flashTypes;
  makeStrings(flashTypes.get(), {L"TP", L"PH", L"PS"}, 1);
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*flashTypes.get()));
  const Texts flash = {"PH", "PS", "TP"};
  ASSERT_STREQ("Air Ideal Gas", txs::kSystemPackages[2].name);  // the data of the zoo's packages
  const Lists refrigerants = listsOf(txs::kStandalonePackage, flash), air = listsOf(txs::kSystemPackages[2], flash);
  Lists afterPhases = refrigerants, afterProperties = air, numbers(5);
  for (int i : {0, 1}) afterPhases[i] = air[i];
  afterProperties[2] = refrigerants[2];
  for (size_t list = 0; list < 4; ++list)
    for (size_t i = 1; i <= air[list].size(); ++i) numbers[list].push_back(std::to_string(i));
  numbers[4] = flash;

  fw::ComPtr<IDispatch> good, mixer;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, good.put()));
  ASSERT_EQ(S_OK, create(txs::kMixer, mixer.put()));
  const struct Load {
    const char* fault;  // of the zoo's system; null: 'component'
    IDispatch* component;
    HRESULT hr;
    const wchar_t* error;  // the package's own error text in the report
    Lists shown;
  } loads[] = {
      {nullptr, nullptr, E_POINTER, nullptr, {{}, {}, {}, {}, flash}},
      {nullptr, good.get(), S_OK, nullptr, refrigerants},
      {txs::kFaultComponentListFails, nullptr, E_FAIL, txs::kListError, refrigerants},
      {txs::kFaultPhaseListFails, nullptr, E_FAIL, nullptr, afterPhases},  // the compounds came first
      {txs::kFaultNotAPackage, nullptr, E_POINTER, nullptr, afterPhases},
      {nullptr, mixer.get(), E_POINTER, nullptr, afterPhases},
      {txs::kFaultPropListFails, nullptr, E_FAIL, nullptr, afterProperties},
      {txs::kFaultLowerBoundOne, nullptr, S_OK, nullptr, air},
      {txs::kFaultNumberLists, nullptr, S_OK, nullptr, numbers},
  };
  for (const Load& load : loads) {
    SCOPED_TRACE(load.fault ? load.fault : load.component ? "sample" : "none");
    fw::ComPtr<IDispatch> faulty;
    ASSERT_TRUE(!load.fault || faultyPackage(load.fault, faulty.put()) == S_OK);
    BoxCapture capture;
    ASSERT_EQ(S_OK, object->setComponent(load.fault ? faulty.get() : load.component));
    capture.clear();
    EXPECT_EQ(load.hr, object->setPPInfo(nullptr, nullptr, nullptr));
    EXPECT_EQ(load.shown, shownLists(capture));
    ASSERT_EQ(load.hr == S_OK ? 0u : 1u, capture.count());
    EXPECT_TRUE(load.hr == S_OK || capture.anyContains("Unexpected error "));
    EXPECT_TRUE(!load.error || capture.anyContains(tx::narrow(load.error)));
  }
  EXPECT_EQ(S_OK, object->releaseComponents());
}

TEST_F(PackageInfo, LoadPackageInfoDropsThePackageItCannotUse) {
  fw::ComPtr<IDispatch> good, qiFails, unit;
  ASSERT_EQ(S_OK, create(txs::kPropertyPackage, good.put()));
  ASSERT_EQ(S_OK, create(txs::kQIFails, qiFails.put()));
  ASSERT_EQ(S_OK, create(txs::kUnit093, unit.put()));
  CCOTHConfig config(nullptr);
  // A QueryInterface that fails otherwise than with E_NOINTERFACE gives its own code.
  const struct {
    IDispatch* component;
    HRESULT hr;
  } loads[] = {{nullptr, E_POINTER}, {good.get(), S_OK}, {qiFails.get(), E_FAIL}, {good.get(), S_OK},
               {unit.get(), E_POINTER}, {good.get(), S_OK}, {nullptr, E_POINTER}};
  for (const auto& load : loads) {
    EXPECT_EQ(load.hr, config.LoadPackageInfo(load.component, nullptr, nullptr, nullptr));
    EXPECT_EQ(load.hr == S_OK, config.hasPackage());
  }
}

TEST_F(PackageInfo, CustomViewReportsWhatWentWrong) {
  // An object of the product built in this program, so that its C++ side can be reached.
  fw::ComPtr<ICCAPEGUI> local;
  ASSERT_EQ(S_OK, fw::ComObject<CCCAPEGUI>::CreateInstance(IID_ICCAPEGUI, reinterpret_cast<void**>(local.put())));
  fw::ComPtr<IDispatch> editFails, noUtilities, qiFails;
  ASSERT_EQ(S_OK, faultyPackage(txs::kFaultEditFails, editFails.put()));
  ASSERT_EQ(S_OK, create(txs::kUnit093, noUtilities.put()));
  ASSERT_EQ(S_OK, create(txs::kQIFails, qiFails.put()));
  const std::string kNoView = " ERROR: The component does not provide a Custom View.";
  const struct {
    const char* what;
    IDispatch* component;
    std::string box;  // the whole text, or a part of it
    bool whole;
  } rows[] = {{"Edit fails", editFails.get(), tx::narrow(txs::kEditError), false},
              {"no utilities", noUtilities.get(), kNoView, true},
              {"QueryInterface fails", qiFails.get(), kNoView.substr(8), false},
              {"no component", nullptr, kNoView, true}};
  BoxCapture capture;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    local->setComponent(row.component);  // the QueryInterface failure's persistence probe may report too
    capture.clear();
    EXPECT_EQ(E_FAIL, static_cast<CCCAPEGUI*>(local.get())->ShowCustomView());
    ASSERT_EQ(1u, capture.count());
    EXPECT_TRUE(capture.anyContains(kNoView.substr(8)));
    EXPECT_TRUE(!row.whole || row.box == capture.boxes()[0].text) << capture.boxes()[0].text;
    EXPECT_TRUE(capture.anyContains(row.box));
  }
}

TEST_F(PackageInfo, CreatedPackageOfTheSampleSystemAsTheHostImportsIt) {
  const txs::PackageData& data = txs::kSystemPackages[0];
  BoxCapture capture;
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_PropertyPackage));
  ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(data.name), CTxBSTR(txs::kThermoSystem.progIdW)));
  fw::ComPtr<IDispatch> component, parent;
  ASSERT_EQ(S_OK, object->createComp(component.put(), parent.put()));
  ASSERT_EQ(S_OK, object->setPPInfo(nullptr, nullptr, nullptr));
  EXPECT_EQ(listsOf(data, {}), shownLists(capture));
  EXPECT_EQ(Texts(), capture.texts());
  BSTR name = nullptr;
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  EXPECT_EQ(std::string(data.values.name) + "(from '" + txs::kThermoSystem.progId + "')", tx::bstrText(name));
  SysFreeString(name);

  // "Browse Static Information" shows the Component Manager on the package; the names
  // shown afterwards are those its result gave.
  std::string package, system;
  Texts others;
  ASSERT_EQ(S_OK, show(
                      capture, [](HWND d) { tx::clickButton(d, IDC_BROWSE_STATIC); },
                      [&](HWND d) {
                        package = tx::controlText(d, IDC_PACKAGE_NAME);
                        system = tx::controlText(d, IDC_SYSTEM_NAME);
                        tx::postClick(d, IDC_PP_OK);
                      },
                      VARIANT_TRUE, &others));
  EXPECT_EQ(1u, others.size());
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
