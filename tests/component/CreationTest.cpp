// Creating the chosen component: the CAPE-OPEN version it really implements against its
// registration, the faults of the zoo reported, and every reference given back.
#include <functional>
#include "common/ProductFixture.h"
#include "external/CapeOpen.h"
#include "framework/GuidText.h"

namespace {

enum ParentOut { kUntouched, kNull, kSystem };

struct Case {
  const char* what;
  long filter;  // -1: no setup, the object's own filter
  const char* progId;
  const char* parent;
  const wchar_t* server;  // serverName set after the choice
  HRESULT hr;
  const IID* offers;  // what the created component answers; null: nothing created
  long version;       // compCOversion after the choice; -1: not asked
  ParentOut parentOut;
  const char* once;  // a call of the samples made once
  std::vector<std::string> boxes;  // as expectBoxes takes them
};

const std::string kProduct = "Brisk Calorix CAPE-OPEN 1.0";

const Case kCases[] = {
    {"the object's own filter asks for IDispatch (first: no setup before)", -1, txs::kUnit093.progId, "", nullptr, S_OK,
     &IID_IDispatch, 93, kUntouched, nullptr, {}},
    {"unit 1.0", catf_UnitOperation, txs::kMixer.progId, "", nullptr, S_OK, &IID_ICapeUnit, 100, kUntouched,
     nullptr, {}},
    {"registered 1.0, implements 0.93", catf_UnitOperation, txs::kUnitNo10.progId, "", nullptr, E_NOINTERFACE, nullptr,
     100, kUntouched, nullptr,
     {"The CAPE-OPEN component 'TxSamples.UnitNo10.1' has been registered as being compliant to CAPE-OPEN version "
      "'1.0', but it implements instead version '0.93' of the interface 'ICapeUnit'"}},
    {"0.9 warns, creation goes on", catf_UnitOperation, txs::kUnit09.progId, "", nullptr, S_OK, &IID_IDispatch, 90,
     kUntouched, nullptr,
     {"The component 'TxSamples.Unit09.1' implements version '0.9' of the interface 'IDispatch', which is not "
      "supported by " + kProduct +
      ". Please consult the vendor of this component for an upgrade to versions 0.93 or 1.0."}},
    {"1.1 warns, creation goes on", catf_UnitOperation, txs::kUnit11.progId, "", nullptr, S_OK, &IID_IDispatch, 110,
     kUntouched, nullptr,
     {"The component 'TxSamples.Unit11.1' implements version '1.1' of the interface 'IDispatch', the CAPE-OPEN 1.0 "
      "unit operation interface should continue to function."}},
    {"system registered 0.93", catf_ThermoSystem, txs::kVariantPackageList.progId, "", nullptr, S_OK,
     &IID_ICapeThermoSystem, 93, kUntouched, nullptr, {}},
    {"standalone package", catf_PropertyPackage, txs::kPropertyPackage.progId, "", nullptr, S_OK,
     &IID_ICapeThermoPropertyPackage, -1, kNull, "PropertyPackage.Initialize", {}},
    {"system returns no package", catf_PropertyPackage, txs::kFaultNullPackage, txs::kFaultySystem.progId, nullptr,
     E_FAIL, nullptr, -1, kUntouched, nullptr,
     {" ERROR: When the CAPE-OPEN Property System 'TxSamples.Zoo.FaultySystem.1' was requested to create the package "
      "named 'NullPackage', it returned an invalid object."}},
    {"package without the package interface", catf_PropertyPackage, txs::kFaultNotAPackage, txs::kFaultySystem.progId,
     nullptr, E_NOINTERFACE, nullptr, -1, kUntouched, nullptr,
     {"* ERROR: The component 'NotAPackage', resolved by the CAPE-OPEN Property System 'TxSamples.Zoo.FaultySystem.1' "
      "(ProgId 'TxSamples.Zoo.FaultySystem.1') does not implement the interface ICapeThermoPropertyPackage"}},
    {"component answering nothing", catf_UnitOperation, txs::kQIFails.progId, "", nullptr, E_FAIL, nullptr, 100,
     kUntouched, nullptr,
     {" ERROR: The CAPE-OPEN component 'TxSamples.Zoo.QIFails.1' does not implement the interface 'ICapeUnit'"}},
    {"unit whose Initialize would fail, registered 1.0, implements 0.93", catf_UnitOperation,
     txs::kInitializeFails.progId, "", nullptr, E_NOINTERFACE, nullptr, -1, kUntouched, nullptr,
     {"The CAPE-OPEN component 'TxSamples.Zoo.InitializeFails.1' has been registered as being compliant to CAPE-OPEN "
      "version '1.0', but it implements instead version '0.93' of the interface 'ICapeUnit'"}},
    {"package whose Initialize fails", catf_PropertyPackage, txs::kFaultInitializeFails, txs::kFaultySystem.progId,
     nullptr, E_FAIL, nullptr, -1, kUntouched, nullptr,
     {" ERROR: creating property package 'InitializeFails' from property system 'TxSamples.Zoo.FaultySystem.1'\n"
      "(Initialize failed on purpose: TxSamples)"}},
    {"class without server, on another computer", catf_UnitOperation, txs::kNoServer.progId, "", L"\\\\FARAWAY",
     REGDB_E_CLASSNOTREG, nullptr, -1, kUntouched, nullptr,
     {"*for class 'TxSamples.Zoo.NoServer.1' context 21",
      "*Error creating CAPE-OPEN component 'TxSamples.Zoo.NoServer.1' (ProgId 'TxSamples.Zoo.NoServer.1', type '"}},
};

using CreationTest = tx::ProductTest;

}  // namespace

TEST_F(CreationTest, EachChoiceIsCreatedOrReportedAndNothingIsLeftHeld) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    for (const char* dll : {txs::kThermoDll, txs::kUnitsDll, txs::kZooDll}) txs::clearSampleCallLog(dll);
    if (c.filter >= 0) choose(c.filter, c.progId, c.parent);
    else ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(c.progId), nullptr));
    if (c.server) { ASSERT_EQ(S_OK, object->put_serverName(CTxBSTR(c.server))); }
    LONG version = -1;
    ASSERT_EQ(S_OK, object->get_compCOversion(&version));
    if (c.version >= 0) { EXPECT_EQ(c.version, version); }

    fw::ComPtr<IDispatch> created, system;
    IDispatch* parent = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(c.hr, object->createComp(created.put(), &parent));
    if (parent != reinterpret_cast<IDispatch*>(1)) system.attach(parent);
    EXPECT_EQ(c.parentOut, parent == reinterpret_cast<IDispatch*>(1) ? kUntouched : parent ? kSystem : kNull);
    fw::ComPtr<IUnknown> offered;
    EXPECT_EQ(c.offers != nullptr, created.get() != nullptr);
    if (c.offers && created) { EXPECT_EQ(S_OK, created->QueryInterface(*c.offers, offered.put_void())); }
    if (c.once) { EXPECT_EQ(1u, calls(txs::kThermoDll, c.once).size()); }

    expectBoxes(c.boxes);
    if (boxes.count()) { EXPECT_EQ("Brisk Tarnix CAPE-OPEN", boxes.boxes().back().caption); }  // the object's report
    LONG kind = -1;
    EXPECT_EQ(S_OK, object->getPersistType(&kind));
    if (FAILED(c.hr)) { EXPECT_EQ(0, kind); }  // no component
    offered.reset();
    created.reset();
    system.reset();
    EXPECT_EQ(S_OK, object->releaseComponents());
    for (const char* dll : {txs::kThermoDll, txs::kUnitsDll, txs::kZooDll}) {
      EXPECT_EQ(0, txs::sampleLiveObjects(dll)) << dll;
    }
    EXPECT_EQ(c.boxes.size(), boxes.count());
  }
}

TEST_F(CreationTest, PackageOfASystemComesThroughTheSystemAndReferencesAreGivenBackExactly) {
  const std::string package = txs::kSystemPackages[0].name;
  choose(catf_ThermoSystem | catf_PropertyPackage, package, txs::kThermoSystem.progId);
  {
    fw::ComPtr<IDispatch> created, system;
    fw::ComPtr<IUnknown> thermoPackage, thermoSystem;
    ASSERT_EQ(S_OK, object->createComp(created.put(), system.put()));
    ASSERT_TRUE(created && system);
    EXPECT_EQ(S_OK, created->QueryInterface(IID_ICapeThermoPropertyPackage, thermoPackage.put_void()));
    EXPECT_EQ(S_OK, system->QueryInterface(IID_ICapeThermoSystem, thermoSystem.put_void()));
    std::vector<std::string> road;
    for (const std::string& entry : txs::sampleCallLog(txs::kThermoDll)) {
      bool step = entry.find("Initialize") != std::string::npos || entry.find("Resolve") != std::string::npos;
      if (step) road.push_back(entry);
    }
    const std::string resolve = "ThermoSystem.ResolvePropertyPackage(" + package + ")";
    EXPECT_EQ((std::vector<std::string>{"ThermoSystem.Initialize", resolve, "ThermoSystem:" + package + ".Initialize"}),
              road);
    // The package has no ProgID: its CLSID is the system's, which the catalogue gave.
    EXPECT_EQ(guidText(txs::kThermoSystem.clsid), text(&ICCAPEGUI::GetItemCLSID));

    LONG afterFirst = txs::sampleLiveObjects(txs::kThermoDll);
    EXPECT_EQ(2, afterFirst);  // the system and its package
    // A second creation gives back what the first left with the object.
    thermoPackage.reset();
    thermoSystem.reset();
    ASSERT_EQ(S_OK, object->createComp(created.put(), system.put()));
    EXPECT_EQ(afterFirst, txs::sampleLiveObjects(txs::kThermoDll));
    ASSERT_EQ(S_OK, object->releaseComponents());
    EXPECT_EQ(2, txs::sampleLiveObjects(txs::kThermoDll));  // the test's own references
  }
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kThermoDll));
  EXPECT_EQ(2u, calls(txs::kThermoDll, ".Terminate").size());
  object.reset();
  // Nothing of the sample is held any more: it may be unloaded.
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(txs::sampleHook(txs::kThermoDll, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_EQ(S_OK, canUnload());
  EXPECT_EQ(0u, boxes.count());
}

// The member that answers S_OK without a pointer for every interface but IUnknown: each use takes the road of
// an interface that is not there, with its report, and nothing is called through null. A QueryInterface that
// fails otherwise is reported instead.
TEST_F(CreationTest, SuccessWithoutAPointerIsAnAbsentInterface) {
  openHost(tempFile(L"tx-nullqi.stg"), true);
  fw::ComPtr<IDispatch> nullQI, qiFails, created;  // nullQI is its IUnknown, which is its IDispatch too
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kNullQI.clsid, nullptr, CLSCTX_ALL, IID_IUnknown, nullQI.put_void()));
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kQIFails.clsid, nullptr, CLSCTX_ALL, IID_IDispatch, qiFails.put_void()));
  const std::string id = txs::kNullQI.progId, unexpected = "^ ERROR: Unexpected error ";
  const std::string m1 = " ERROR: Error creating CAPE-OPEN component '" + id + "' (ProgId '" + id + "', type '";
  const std::string m0 = "^Error creating interface 'IDispatch' for class '" + id + "' context ";
  auto create = [&](long filter) { choose(filter, id); return object->createComp(created.put(), nullptr); };
  LONG kind = -1;
  const struct { const char* what; std::function<HRESULT()> call; HRESULT hr; std::vector<std::string> boxes; }
      rows[] = {
      {"created as a unit", [&] { return create(catf_UnitOperation); }, E_NOINTERFACE,
       {m0, m1 + "ICapeUnit')(0x80004002)"}},
      {"created as a package", [&] { return create(catf_PropertyPackage); }, E_NOINTERFACE,
       {m0, m1 + "ICapeThermoPropertyPackage')(0x80004002)"}},
      {"held as the host's container", [&] { return object->setup(0, nullQI.get(), catf_UnitOperation); },
       E_NOINTERFACE, {" ERROR: Unexpected error (0x80004002)"}},
      {"set: no persistence kind", [&] { return object->setComponent(nullQI.get()); }, S_OK, {}},
      {"its kind", [&] { return object->getPersistType(&kind); }, S_OK, {}},
      {"saved", [&] { return object->saveStorage(); }, S_OK, {}},
      {"loaded", [&] { return object->loadStorage(VARIANT_TRUE); }, S_OK, {}},
      {"released: no Terminate", [&] { return object->releaseComponents(); }, S_OK, {}},
      {"set, failing otherwise", [&] { return object->setComponent(qiFails.get()); }, E_FAIL,
       {" ERROR: Error saving component through COM persistence", unexpected}},
      {"released, failing otherwise", [&] { return object->releaseComponents(); }, E_FAIL, {unexpected}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    boxes.clear();
    EXPECT_EQ(row.hr, row.call());
    expectBoxes(row.boxes);
  }
  EXPECT_TRUE(kind == 0 && !created);
  nullQI.reset();
  qiFails.reset();
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll));
}
