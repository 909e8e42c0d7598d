// Creating the chosen component and checking the CAPE-OPEN version it really implements.
#include "component/ComponentRoad.h"
#include "external/CapeOpen.h"

namespace {

const char kProduct[] = "Brisk Calorix CAPE-OPEN 1.0";

}  // namespace

class CreationTest : public ComponentRoad {};

TEST_F(CreationTest, UnitOperationOfVersion10IsCreatedWithoutAWord) {
  BoxCapture boxes;
  choose(catf_UnitOperation, txs::kMixer.progId);
  fw::ComPtr<IDispatch> unit;
  IDispatch* untouched = reinterpret_cast<IDispatch*>(0x1);  // not written for a unit operation
  ASSERT_EQ(S_OK, object->createComp(unit.put(), &untouched));
  EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1), untouched);
  ASSERT_TRUE(unit);
  fw::ComPtr<IUnknown> unit10;
  EXPECT_EQ(S_OK, unit->QueryInterface(IID_ICapeUnit, unit10.put_void()));
  LONG version = 0;
  object->get_compCOversion(&version);
  EXPECT_EQ(100, version);
  EXPECT_EQ(0u, boxes.count()) << (boxes.count() ? boxes.boxes()[0].text : "");
}

TEST_F(CreationTest, RegisteredVersionThatTheComponentDoesNotImplementFails) {
  BoxCapture boxes;
  choose(catf_UnitOperation, txs::kUnitNo10.progId);
  fw::ComPtr<IDispatch> unit;
  EXPECT_EQ(E_NOINTERFACE, object->createComp(unit.put(), nullptr));
  EXPECT_FALSE(unit);
  ASSERT_EQ(1u, boxes.count());
  // A compliance message: no error tag, no code part.
  EXPECT_EQ("The CAPE-OPEN component 'TxSamples.UnitNo10.1' has been registered as being compliant to CAPE-OPEN "
            "version '1.0', but it implements instead version '0.93' of the interface 'ICapeUnit'",
            boxes.boxes()[0].text);
  EXPECT_EQ("Brisk Tarnix CAPE-OPEN", boxes.boxes()[0].caption);
}

TEST_F(CreationTest, UnsupportedVersionsWarnAndCreationGoesOn) {
  BoxCapture boxes;
  choose(catf_UnitOperation, txs::kUnit09.progId);
  fw::ComPtr<IDispatch> unit;
  EXPECT_EQ(S_OK, object->createComp(unit.put(), nullptr));
  EXPECT_TRUE(unit);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(std::string("The component 'TxSamples.Unit09.1' implements version '0.9' of the interface 'IDispatch', "
                        "which is not supported by ") + kProduct +
                ". Please consult the vendor of this component for an upgrade to versions 0.93 or 1.0.",
            boxes.boxes()[0].text);

  boxes.clear();
  object->releaseComponents();
  choose(catf_UnitOperation, txs::kUnit11.progId);
  EXPECT_EQ(S_OK, object->createComp(unit.put(), nullptr));
  EXPECT_TRUE(unit);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("The component 'TxSamples.Unit11.1' implements version '1.1' of the interface 'IDispatch', the CAPE-OPEN "
            "1.0 unit operation interface should continue to function.",
            boxes.boxes()[0].text);
}

TEST_F(CreationTest, SystemRegisteredAs093PassesTheRegistrationCheck) {
  BoxCapture boxes;
  choose(catf_ThermoSystem, txs::kVariantPackageList.progId);
  LONG version = 0;
  object->get_compCOversion(&version);
  EXPECT_EQ(93, version);
  fw::ComPtr<IDispatch> system;
  EXPECT_EQ(S_OK, object->createComp(system.put(), nullptr));
  fw::ComPtr<IUnknown> thermo;
  EXPECT_EQ(S_OK, system->QueryInterface(IID_ICapeThermoSystem, thermo.put_void()));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreationTest, PackageOfASystemComesThroughTheSystem) {
  BoxCapture boxes;
  const char* package = txs::kSystemPackages[0].name;
  choose(catf_ThermoSystem | catf_PropertyPackage, package, txs::kThermoSystem.progId);
  fw::ComPtr<IDispatch> created, system;
  ASSERT_EQ(S_OK, object->createComp(created.put(), system.put()));
  ASSERT_TRUE(created);
  ASSERT_TRUE(system);
  fw::ComPtr<IUnknown> thermoPackage, thermoSystem;
  EXPECT_EQ(S_OK, created->QueryInterface(IID_ICapeThermoPropertyPackage, thermoPackage.put_void()));
  EXPECT_EQ(S_OK, system->QueryInterface(IID_ICapeThermoSystem, thermoSystem.put_void()));
  std::vector<std::string> log = txs::sampleCallLog(txs::kThermoDll);
  const std::string packageKey = std::string("ThermoSystem:") + package;
  std::vector<std::string> expected = {"ThermoSystem.Initialize",
                                       std::string("ThermoSystem.ResolvePropertyPackage(") + package + ")",
                                       packageKey + ".Initialize"};
  std::vector<std::string> road;
  for (const std::string& entry : log)
    if (entry.find("Initialize") != std::string::npos || entry.find("Resolve") != std::string::npos)
      road.push_back(entry);
  EXPECT_EQ(expected, road);
  // The package has no ProgID: its CLSID is the system's, which the catalogue gave.
  BSTR clsid = nullptr;
  ASSERT_EQ(S_OK, object->GetItemCLSID(&clsid));
  wchar_t systemClsid[64];
  StringFromGUID2(txs::kThermoSystem.clsid, systemClsid, 64);
  EXPECT_EQ(tx::narrow(systemClsid), tx::bstrText(clsid));
  SysFreeString(clsid);
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreationTest, StandalonePackageHasNoParent) {
  BoxCapture boxes;
  choose(catf_PropertyPackage, txs::kPropertyPackage.progId);
  fw::ComPtr<IDispatch> created;
  IDispatch* parent = reinterpret_cast<IDispatch*>(0x1);
  ASSERT_EQ(S_OK, object->createComp(created.put(), &parent));
  EXPECT_EQ(nullptr, parent);
  EXPECT_EQ(1u, calls(txs::kThermoDll, "PropertyPackage.Initialize").size());
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreationTest, DefaultFilterAsksForIDispatchOnly) {
  BoxCapture boxes;
  CTxBSTR progId(txs::kUnit093.progIdW);
  ASSERT_EQ(S_OK, object->setProgIds(progId, nullptr));
  fw::ComPtr<IDispatch> created;
  EXPECT_EQ(S_OK, object->createComp(created.put(), nullptr));
  EXPECT_TRUE(created);
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreationTest, SystemThatReturnsNoPackage) {
  BoxCapture boxes;
  choose(catf_PropertyPackage, txs::kFaultNullPackage, txs::kFaultySystem.progId);
  fw::ComPtr<IDispatch> created;
  EXPECT_EQ(E_FAIL, object->createComp(created.put(), nullptr));
  EXPECT_FALSE(created);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(" ERROR: When the CAPE-OPEN Property System 'TxSamples.Zoo.FaultySystem.1' was requested to create the "
            "package named 'NullPackage', it returned an invalid object.",
            boxes.boxes()[0].text);
}

TEST_F(CreationTest, PackageWithoutThePackageInterfaceLeavesNothingHeld) {
  BoxCapture boxes;
  choose(catf_PropertyPackage, txs::kFaultNotAPackage, txs::kFaultySystem.progId);
  fw::ComPtr<IDispatch> created;
  EXPECT_EQ(E_NOINTERFACE, object->createComp(created.put(), nullptr));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(0u, boxes.boxes()[0].text.find(
                    " ERROR: The component 'NotAPackage', resolved by the CAPE-OPEN Property System "
                    "'TxSamples.Zoo.FaultySystem.1' (ProgId 'TxSamples.Zoo.FaultySystem.1') does not implement the "
                    "interface ICapeThermoPropertyPackage"));
  LONG kind = -1;
  EXPECT_EQ(S_OK, object->getPersistType(&kind));
  EXPECT_EQ(0, kind);  // no component
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll));
}

TEST_F(CreationTest, ComponentAnsweringNothingIsReported) {
  BoxCapture boxes;
  choose(catf_UnitOperation, txs::kQIFails.progId);
  fw::ComPtr<IDispatch> created;
  EXPECT_EQ(E_FAIL, object->createComp(created.put(), nullptr));
  ASSERT_EQ(1u, boxes.count());
  // Registered as 1.0: the name is that of the 1.0 unit interface.
  EXPECT_EQ(" ERROR: The CAPE-OPEN component 'TxSamples.Zoo.QIFails.1' does not implement the interface 'ICapeUnit'",
            boxes.boxes()[0].text);
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll));
}

TEST_F(CreationTest, ClassWithoutServerNamesTheContextInItsDiagnostic) {
  BoxCapture boxes;
  CTxBSTR server(L"\\\\FARAWAY");
  choose(catf_UnitOperation, txs::kNoServer.progId);
  ASSERT_EQ(S_OK, object->put_serverName(server));
  fw::ComPtr<IDispatch> created;
  HRESULT hr = object->createComp(created.put(), nullptr);
  EXPECT_TRUE(FAILED(hr));
  ASSERT_EQ(2u, boxes.count());
  // The creation's own box, then the product's report.
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("for class 'TxSamples.Zoo.NoServer.1' context 21"));
  EXPECT_NE(std::string::npos,
            boxes.boxes()[1].text.find("Error creating CAPE-OPEN component 'TxSamples.Zoo.NoServer.1' (ProgId "
                                       "'TxSamples.Zoo.NoServer.1', type '"));
}

TEST_F(CreationTest, ReferencesAreGivenBackExactly) {
  BoxCapture boxes;
  {
    choose(catf_PropertyPackage, txs::kSystemPackages[1].name, txs::kThermoSystem.progId);
    fw::ComPtr<IDispatch> created, system;
    ASSERT_EQ(S_OK, object->createComp(created.put(), system.put()));
    LONG afterFirst = txs::sampleLiveObjects(txs::kThermoDll);
    EXPECT_EQ(2, afterFirst);  // the system and its package
    // A second creation gives back what the first left with the object.
    created.reset();
    system.reset();
    ASSERT_EQ(S_OK, object->createComp(created.put(), system.put()));
    EXPECT_EQ(afterFirst, txs::sampleLiveObjects(txs::kThermoDll));
    ASSERT_EQ(S_OK, object->releaseComponents());
    EXPECT_EQ(2, txs::sampleLiveObjects(txs::kThermoDll));  // the test's own references
  }
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kThermoDll));
  std::vector<std::string> terminated = calls(txs::kThermoDll, ".Terminate");
  EXPECT_EQ(2u, terminated.size());
  object.reset();
  // Nothing of the sample is held any more: it may be unloaded.
  typedef HRESULT(STDAPICALLTYPE * CanUnload)();
  CanUnload canUnload = reinterpret_cast<CanUnload>(txs::sampleHook(txs::kThermoDll, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_EQ(S_OK, canUnload());
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreationTest, HostSetComponentIsCountedAndGivenBack) {
  fw::ComPtr<IDispatch> unit;
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kStreamUnit.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, unit.put_void()));
  ASSERT_EQ(S_OK, object->setComponent(unit.get()));
  LONG kind = 0;
  ASSERT_EQ(S_OK, object->getPersistType(&kind));
  EXPECT_EQ(2, kind);
  ASSERT_EQ(S_OK, object->releaseComponents());
  EXPECT_EQ(1, txs::sampleLiveObjects(txs::kUnitsDll));  // still alive through the test's reference
  unit.reset();
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kUnitsDll));
}

TEST_F(CreationTest, FailingTerminateIsReportedAndTheRestIsStillGivenBack) {
  BoxCapture boxes;
  choose(catf_UnitOperation, txs::kTerminateFails.progId);
  {
    fw::ComPtr<IDispatch> created;
    ASSERT_EQ(S_OK, object->createComp(created.put(), nullptr));
  }
  EXPECT_EQ(E_FAIL, object->releaseComponents());
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("Unexpected error "));
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("(Terminate failed on purpose: TxSamples)"));
  EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll));
}
