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

using Object = fw::ComPtr<IDispatch>;

// A package of the zoo's faulty property system.
Object faultyPackage(const char* name) {
  fw::ComPtr<ICapeThermoSystem> system;
  Object package;
  EXPECT_EQ(S_OK, system.queryFrom(create(txs::kFaultySystem).get(), IID_ICapeThermoSystem));
  EXPECT_EQ(S_OK, system ? system->ResolvePropertyPackage(CTxBSTR(name), package.put()) : E_FAIL) << name;
  return package;
}

#define TX_UNUSED(method, params) STDMETHODIMP method params override { return E_NOTIMPL; }
// A package whose compounds and CAS numbers are named in every script, with no phases or properties.
class ScriptsPackage : public ICapeThermoPropertyPackage, public fw::ObjectRoot {
 public:
  virtual ~ScriptsPackage() = default;
  static const fw::InterfaceEntry* interfaceTable() {
    static const fw::InterfaceEntry entries[] = {{&IID_ICapeThermoPropertyPackage, 0}, {&IID_IDispatch, 0}, {}};
    return entries;
  }
  STDMETHODIMP GetComponentList(VARIANT* ids, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT* casNo) override {
    makeStrings(ids, {tx::kScriptsWide, L"Ünïcödé"});
    makeStrings(casNo, {L"7732-18-5 水", tx::kScriptsWide});
    return S_OK;
  }
  STDMETHODIMP GetPhaseList(VARIANT*) override { return S_OK; }  // left empty, as the properties
  STDMETHODIMP GetPropList(VARIANT*) override { return S_OK; }
  TX_UNUSED(GetTypeInfoCount, (UINT*)) TX_UNUSED(GetTypeInfo, (UINT, LCID, ITypeInfo**))
  TX_UNUSED(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
  TX_UNUSED(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
  TX_UNUSED(GetUniversalConstant, (IDispatch*, VARIANT, VARIANT*))
  TX_UNUSED(GetComponentConstant, (IDispatch*, VARIANT, VARIANT*))
  TX_UNUSED(CalcProp, (IDispatch*, VARIANT, VARIANT, BSTR)) TX_UNUSED(CalcEquilibrium, (IDispatch*, BSTR, VARIANT))
  TX_UNUSED(PropCheck, (IDispatch*, VARIANT, VARIANT*)) TX_UNUSED(ValidityCheck, (IDispatch*, VARIANT, VARIANT*))
};

Object scriptsPackage() {
  Object package;
  EXPECT_EQ(S_OK, fw::ComObject<ScriptsPackage>::CreateInstance(IID_IDispatch, package.put_void()));
  return package;
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
  const struct {
    const char* name;
    Object component;
    HRESULT hr;
    const wchar_t* error;  // the package's own error text in the report
    Lists shown;
  } loads[] = {
      {"none", nullptr, E_POINTER, nullptr, {{}, {}, {}, {}, flash}},
      {"sample", create(txs::kPropertyPackage), S_OK, nullptr, refrigerants},
      {"no compounds", faultyPackage(txs::kFaultComponentListFails), E_FAIL, txs::kListError, refrigerants},
      {"no phases", faultyPackage(txs::kFaultPhaseListFails), E_FAIL, nullptr, afterPhases},  // compounds first
      {"not a package", faultyPackage(txs::kFaultNotAPackage), E_POINTER, nullptr, afterPhases},
      {"unit", create(txs::kMixer), E_POINTER, nullptr, afterPhases},
      {"no properties", faultyPackage(txs::kFaultPropListFails), E_FAIL, nullptr, afterProperties},
      {"lower bound 1", faultyPackage(txs::kFaultLowerBoundOne), S_OK, nullptr, air},
      {"numbers", faultyPackage(txs::kFaultNumberLists), S_OK, nullptr, numbers},
      {"any script", scriptsPackage(), S_OK, nullptr,
       {{tx::kScriptsText, "Ünïcödé"}, {"7732-18-5 水", tx::kScriptsText}, {}, {}, flash}}};
  for (const auto& load : loads) {
    SCOPED_TRACE(load.name);
    ASSERT_EQ(S_OK, object->setComponent(load.component.get()));
    boxes.clear();
    EXPECT_EQ(load.hr, object->setPPInfo(nullptr, nullptr, nullptr));
    EXPECT_EQ(load.shown, shownLists());
    expectBoxes(load.hr == S_OK ? Texts() : Texts{"*Unexpected error "});
    EXPECT_TRUE(!load.error || boxes.anyContains(narrowFromWide(load.error)));
  }
  EXPECT_EQ(S_OK, object->releaseComponents());
}

TEST_F(PackageInfo, LoadPackageInfoDropsThePackageItCannotUse) {
  Object good = create(txs::kPropertyPackage);
  CCOTHConfig config(nullptr);
  // A QueryInterface that fails otherwise than with E_NOINTERFACE gives its own code.
  const struct {
    Object component;
    HRESULT hr;
  } loads[] = {{nullptr, E_POINTER}, {good, S_OK},   {create(txs::kQIFails), E_FAIL}, {good, S_OK},
               {create(txs::kUnit093), E_POINTER}, {good, S_OK}, {nullptr, E_POINTER}};
  for (const auto& load : loads) {
    EXPECT_EQ(load.hr, config.LoadPackageInfo(load.component.get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(load.hr == S_OK, config.hasPackage());
  }
}

TEST_F(PackageInfo, CustomViewReportsWhatWentWrong) {
  // An object of the product built in this program, so that its C++ side can be reached.
  fw::ComPtr<ICCAPEGUI> local;
  ASSERT_EQ(S_OK, fw::ComObject<CCCAPEGUI>::CreateInstance(IID_ICCAPEGUI, reinterpret_cast<void**>(local.put())));
  const std::string noView = "The component does not provide a Custom View.";
  const struct {
    const char* name;
    Object component;
    std::string box;  // the whole text, or a piece of it besides the message
    bool whole;
  } rows[] = {{"Edit fails", faultyPackage(txs::kFaultEditFails), narrowFromWide(txs::kEditError), false},
              {"no utilities", create(txs::kUnit093), " ERROR: " + noView, true},
              {"QueryInterface fails", create(txs::kQIFails), noView, false},
              {"no component", nullptr, " ERROR: " + noView, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    local->setComponent(row.component.get());  // the QueryInterface failure's persistence probe may report too
    boxes.clear();
    EXPECT_EQ(E_FAIL, static_cast<CCCAPEGUI*>(local.get())->ShowCustomView());
    expectBoxes({row.whole ? row.box : "*" + noView});
    EXPECT_TRUE(boxes.anyContains(row.box));
  }
}

TEST_F(PackageInfo, CreatedPackageOfTheSampleSystemAsTheHostImportsIt) {
  const txs::PackageData& data = txs::kSystemPackages[0];
  choose(catf_PropertyPackage, data.name, txs::kThermoSystem.progId);
  Object component, parent;
  ASSERT_EQ(S_OK, object->createComp(component.put(), parent.put()));
  ASSERT_EQ(S_OK, object->setPPInfo(nullptr, nullptr, nullptr));
  EXPECT_EQ(listsOf(data, {}), shownLists());
  expectBoxes({});
  EXPECT_EQ(std::string(data.values.name) + "(from '" + txs::kThermoSystem.progId + "')",
            text(&ICCAPEGUI::getFullCOPPClassName));
  // "Browse Static Information" shows the Component Manager on the package; the names
  // shown afterwards are those its result gave.
  std::string package, system;
  Texts others;
  auto names = [&](HWND d) {
    package = tx::controlText(d, IDC_PACKAGE_NAME), system = tx::controlText(d, IDC_SYSTEM_NAME);
    tx::postClick(d, IDC_PP_OK);
  };
  ASSERT_EQ(S_OK, show([](HWND d) { tx::clickButton(d, IDC_BROWSE_STATIC); }, names, VARIANT_TRUE, &others));
  EXPECT_EQ(1u, others.size());
  EXPECT_EQ(data.values.name, package);
  EXPECT_EQ(txs::kThermoSystem.values.name, system);
  EXPECT_EQ(package, text(&ICCAPEGUI::GetItemAlias));
  component.reset();
  parent.reset();
  EXPECT_EQ(S_OK, object->releaseComponents());
}
