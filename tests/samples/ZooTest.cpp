// The fault zoo: each member breaks one rule the product relies on, in the way its
// identity says, and carries COM error information where it fails.
#include <windows.h>
#include <gtest/gtest.h>
#include "SampleClient.h"
#include "common/TestSupport.h"
#include "external/CapeOpen.h"

namespace {

class ZooTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    txs::clearSampleCallLog(txs::kZooDll);
  }
  void TearDown() override { EXPECT_EQ(0, txs::sampleLiveObjects(txs::kZooDll)) << "a zoo object was not released"; }
};

fw::ComPtr<IDispatch> resolve(ICapeThermoSystem* system, const char* name, HRESULT* hr = nullptr) {
  fw::ComPtr<IDispatch> package;
  BSTR text = SysAllocString(tx::widen(name).c_str());
  HRESULT result = system->ResolvePropertyPackage(text, package.put());
  SysFreeString(text);
  if (hr) *hr = result;
  return package;
}

std::string errorSource() {
  fw::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return "";
  BSTR source = nullptr;
  info->GetSource(&source);
  std::string text = tx::narrow(source);
  SysFreeString(source);
  return text;
}

}  // namespace

TEST_F(ZooTest, QueryInterfaceFailsWithEFailForEveryProbe) {
  fw::ComPtr<IUnknown> object;
  ASSERT_EQ(S_OK, txt::create(txs::kQIFails, IID_IUnknown, object));
  ASSERT_TRUE(object);
  for (const CapeProbeEntry& entry : kCapeProbeTable) {
    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_FAIL, object->QueryInterface(*entry.iid, &answer)) << entry.name;
    EXPECT_EQ(nullptr, answer) << entry.name;
  }
  EXPECT_EQ(20u, txt::logEntries(txs::kZooDll, "QIFails.QueryInterface(").size());
  fw::ComPtr<IDispatch> dispatch;
  EXPECT_EQ(S_OK, txt::create(txs::kQIFails, IID_IDispatch, dispatch));
  fw::ComPtr<IUnknown> other;
  EXPECT_EQ(E_FAIL, txt::create(txs::kQIFails, IID_ICapeUnit, other));
}

TEST_F(ZooTest, FailingUtilitiesCarryTheirErrorInformation) {
  fw::ComPtr<ICapeUtilities> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kTerminateFails, IID_ICapeUtilities, unit));
  EXPECT_EQ(S_OK, unit->Initialize());
  EXPECT_EQ(E_FAIL, unit->Terminate());
  fw::ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(S_OK, support.queryFrom(unit.get(), IID_ISupportErrorInfo));
  EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_ICapeUtilities));
  EXPECT_EQ(tx::narrow(txs::kErrorSource), errorSource());
  EXPECT_EQ(E_FAIL, unit->Terminate());
  EXPECT_EQ(tx::narrow(txs::kTerminateError), txt::errorDescription());

  fw::ComPtr<ICapeUtilities> system;
  ASSERT_EQ(S_OK, txt::create(txs::kInitializeFails, IID_ICapeUtilities, system));
  EXPECT_EQ(E_FAIL, system->Initialize());
  EXPECT_EQ(tx::narrow(txs::kInitializeError), txt::errorDescription());
  EXPECT_EQ(S_OK, system->Terminate());
}

TEST_F(ZooTest, PersistenceFaults) {
  fw::ComPtr<IStorage> root;
  ASSERT_EQ(S_OK, StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                                   0, root.put()));
  fw::ComPtr<IStream> stream;
  ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
  {
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kInitNewFails, IID_IPersistStreamInit, unit));
    EXPECT_EQ(E_FAIL, unit->InitNew());
    EXPECT_EQ(tx::narrow(txs::kPersistError), txt::errorDescription());
    EXPECT_EQ(S_OK, unit->Save(stream.get(), TRUE));  // only InitNew fails
  }
  {
    fw::ComPtr<IPersistStorage> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kInitNewFailsStorage, IID_IPersistStorage, unit));
    EXPECT_EQ(E_FAIL, unit->InitNew(root.get()));
    EXPECT_EQ(tx::narrow(txs::kPersistError), txt::errorDescription());
  }
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  {
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kLoadFails, IID_IPersistStreamInit, unit));
    EXPECT_EQ(S_OK, unit->InitNew());
    EXPECT_EQ(E_FAIL, unit->Load(stream.get()));
    EXPECT_EQ(tx::narrow(txs::kPersistError), txt::errorDescription());
  }
  {
    fw::ComPtr<IPersistStream> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kLoadFailsStream, IID_IPersistStream, unit));
    EXPECT_EQ(E_FAIL, unit->Load(stream.get()));
    fw::ComPtr<IUnknown> none;
    EXPECT_EQ(E_NOINTERFACE, unit->QueryInterface(IID_IPersistStreamInit, none.put_void()));
  }
  {
    fw::ComPtr<IPersistStorage> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kLoadFailsStorage, IID_IPersistStorage, unit));
    EXPECT_EQ(S_OK, unit->Save(root.get(), TRUE));
    EXPECT_EQ(E_FAIL, unit->Load(root.get()));
  }
  {
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kSaveFails, IID_IPersistStreamInit, unit));
    EXPECT_EQ(S_OK, unit->InitNew());
    EXPECT_EQ(E_FAIL, unit->Save(stream.get(), TRUE));
    EXPECT_EQ(tx::narrow(txs::kPersistError), txt::errorDescription());
  }
}

TEST_F(ZooTest, AutomationQuirkIsReturnedAfterTheWorkIsDone) {
  fw::ComPtr<IStream> stream;
  ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
  {
    fw::ComPtr<IPersistStreamInit> unit;
    ASSERT_EQ(S_OK, txt::create(txs::kQuirk800A02E1, IID_IPersistStreamInit, unit));
    EXPECT_EQ(txs::kAutomationQuirk, unit->InitNew());
    fw::ComPtr<ISampleData> data;
    ASSERT_EQ(S_OK, data.queryFrom(unit.get(), IID_ISampleData));
    ASSERT_EQ(S_OK, data->SetData(L"quirky", 3.0));
    ASSERT_EQ(S_OK, unit->Save(stream.get(), TRUE));
  }
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  fw::ComPtr<IPersistStreamInit> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kQuirk800A02E1, IID_IPersistStreamInit, unit));
  EXPECT_EQ(txs::kAutomationQuirk, unit->Load(stream.get()));
  fw::ComPtr<ISampleData> data;
  ASSERT_EQ(S_OK, data.queryFrom(unit.get(), IID_ISampleData));
  BSTR text = nullptr;
  double number = 0;
  ASSERT_EQ(S_OK, data->GetData(&text, &number));
  EXPECT_EQ("quirky", tx::narrow(text));
  EXPECT_EQ(3.0, number);
  SysFreeString(text);

  fw::ComPtr<IStorage> root;
  ASSERT_EQ(S_OK, StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                                   0, root.put()));
  fw::ComPtr<IPersistStorage> storageUnit;
  ASSERT_EQ(S_OK, txt::create(txs::kQuirk800A02E1Storage, IID_IPersistStorage, storageUnit));
  EXPECT_EQ(txs::kAutomationQuirk, storageUnit->InitNew(root.get()));
  ASSERT_EQ(S_OK, storageUnit->Save(root.get(), TRUE));
  EXPECT_EQ(txs::kAutomationQuirk, storageUnit->Load(root.get()));
}

TEST_F(ZooTest, PackageListsOfEveryShape) {
  struct Shape {
    const txs::ClassInfo* info;
    HRESULT result;
    VARTYPE type;
    UINT dimensions;
    LONG elements;  // of dimension 1
  };
  const Shape shapes[] = {
      {&txs::kEmptyPackageList, S_OK, VT_ARRAY | VT_BSTR, 1, 0},
      {&txs::kNoPackageList, S_OK, VT_EMPTY, 0, 0},
      {&txs::kVariantPackageList, S_OK, VT_ARRAY | VT_VARIANT, 1, 2},
      {&txs::kNumberPackageList, S_OK, VT_ARRAY | VT_I4, 1, 3},
      {&txs::kTwoDimPackageList, S_OK, VT_ARRAY | VT_BSTR, 2, 2},
      {&txs::kFailingPackageList, E_FAIL, VT_EMPTY, 0, 0},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.info->key);
    fw::ComPtr<ICapeThermoSystem> system;
    ASSERT_EQ(S_OK, txt::create(*shape.info, IID_ICapeThermoSystem, system));
    fw::UniqueVariant list;
    EXPECT_EQ(shape.result, system->GetPropertyPackages(list.get()));
    ASSERT_EQ(shape.type, list.get()->vt);
    if (shape.dimensions) {
      ASSERT_EQ(shape.dimensions, SafeArrayGetDim(list.get()->parray));
      LONG lower = 0, upper = 0;
      SafeArrayGetLBound(list.get()->parray, 1, &lower);
      SafeArrayGetUBound(list.get()->parray, 1, &upper);
      EXPECT_EQ(shape.elements, upper - lower + 1);
    }
    // Each still resolves the names its odd list holds.
    HRESULT hr = E_FAIL;
    fw::ComPtr<IDispatch> package = resolve(system.get(), txs::kZooListedNames[3], &hr);
    EXPECT_EQ(S_OK, hr);
    fw::ComPtr<ICapeThermoPropertyPackage> thermo;
    EXPECT_EQ(S_OK, thermo.queryFrom(package.get(), IID_ICapeThermoPropertyPackage));
  }
  EXPECT_EQ(tx::narrow(txs::kListError), ([] {
              fw::ComPtr<ICapeThermoSystem> system;
              txt::create(txs::kFailingPackageList, IID_ICapeThermoSystem, system);
              fw::UniqueVariant list;
              system->GetPropertyPackages(list.get());
              return txt::errorDescription();
            })());

  fw::ComPtr<ICapeThermoSystem> variants;
  ASSERT_EQ(S_OK, txt::create(txs::kVariantPackageList, IID_ICapeThermoSystem, variants));
  fw::UniqueVariant list;
  ASSERT_EQ(S_OK, variants->GetPropertyPackages(list.get()));
  for (LONG i = 0; i < 2; ++i) {
    fw::UniqueVariant element;
    ASSERT_EQ(S_OK, SafeArrayGetElement(list.get()->parray, &i, element.get()));
    ASSERT_EQ(VT_BSTR, element.get()->vt);
    EXPECT_EQ(txs::kZooListedNames[i], tx::narrow(element.get()->bstrVal));
  }
}

TEST_F(ZooTest, FaultySystemPackagesMisbehaveOneWayEach) {
  fw::ComPtr<ICapeThermoSystem> system;
  ASSERT_EQ(S_OK, txt::create(txs::kFaultySystem, IID_ICapeThermoSystem, system));
  fw::UniqueVariant names;
  ASSERT_EQ(S_OK, system->GetPropertyPackages(names.get()));
  std::vector<std::string> listed;
  ASSERT_TRUE(txt::readStrings(*names.get(), &listed));
  EXPECT_EQ(std::vector<std::string>(std::begin(txs::kFaultPackages), std::end(txs::kFaultPackages)), listed);

  HRESULT hr = E_FAIL;
  EXPECT_FALSE(resolve(system.get(), txs::kFaultNullPackage, &hr));
  EXPECT_EQ(S_OK, hr);

  fw::ComPtr<IDispatch> notPackage = resolve(system.get(), txs::kFaultNotAPackage, &hr);
  ASSERT_TRUE(notPackage);
  fw::ComPtr<IUnknown> answer;
  EXPECT_EQ(E_NOINTERFACE, notPackage->QueryInterface(IID_ICapeThermoPropertyPackage, answer.put_void()));
  EXPECT_EQ(S_OK, notPackage->QueryInterface(IID_ICapeUtilities, answer.put_void()));

  auto package = [&](const char* name) {
    fw::ComPtr<ICapeThermoPropertyPackage> result;
    result.queryFrom(resolve(system.get(), name).get(), IID_ICapeThermoPropertyPackage);
    return result;
  };
  fw::UniqueVariant v[6];
  auto components = [&](ICapeThermoPropertyPackage* p) {
    return p->GetComponentList(v[0].get(), v[1].get(), v[2].get(), v[3].get(), v[4].get(), v[5].get());
  };
  fw::UniqueVariant phases, properties;
  {
    auto p = package(txs::kFaultComponentListFails);
    ASSERT_TRUE(p);
    EXPECT_EQ(E_FAIL, components(p.get()));
    EXPECT_EQ(tx::narrow(txs::kListError), txt::errorDescription());
    EXPECT_EQ(S_OK, p->GetPhaseList(phases.put()));
    EXPECT_EQ(S_OK, p->GetPropList(properties.put()));
  }
  {
    auto p = package(txs::kFaultPhaseListFails);
    ASSERT_TRUE(p);
    EXPECT_EQ(S_OK, components(p.get()));
    EXPECT_EQ(E_FAIL, p->GetPhaseList(phases.put()));
    EXPECT_EQ(VT_EMPTY, phases.get()->vt);
    EXPECT_EQ(S_OK, p->GetPropList(properties.put()));
  }
  {
    auto p = package(txs::kFaultPropListFails);
    ASSERT_TRUE(p);
    EXPECT_EQ(S_OK, components(p.get()));
    EXPECT_EQ(S_OK, p->GetPhaseList(phases.put()));
    EXPECT_EQ(E_FAIL, p->GetPropList(properties.put()));
  }
  {
    auto p = package(txs::kFaultLowerBoundOne);
    ASSERT_TRUE(p);
    ASSERT_EQ(S_OK, components(p.get()));
    std::vector<std::string> ids;
    LONG lower = 0;
    ASSERT_TRUE(txt::readStrings(*v[0].get(), &ids, &lower));
    EXPECT_EQ(1, lower);
    EXPECT_EQ((std::vector<std::string>{"nitrogen", "oxygen", "argon"}), ids);
    std::vector<double> weights;
    ASSERT_TRUE(txt::readDoubles(*v[4].get(), &weights, &lower));
    EXPECT_EQ(1, lower);
    ASSERT_EQ(S_OK, p->GetPhaseList(phases.put()));
    std::vector<std::string> phaseNames;
    ASSERT_TRUE(txt::readStrings(*phases.get(), &phaseNames, &lower));
    EXPECT_EQ(1, lower);
  }
  {
    auto p = package(txs::kFaultNumberLists);
    ASSERT_TRUE(p);
    ASSERT_EQ(S_OK, components(p.get()));
    std::vector<double> ids, cas;
    ASSERT_TRUE(txt::readDoubles(*v[0].get(), &ids));
    ASSERT_TRUE(txt::readDoubles(*v[5].get(), &cas));
    EXPECT_EQ((std::vector<double>{1, 2, 3}), ids);
    EXPECT_EQ((std::vector<double>{1, 2, 3}), cas);
    ASSERT_EQ(S_OK, p->GetPropList(properties.put()));
    EXPECT_EQ(VT_ARRAY | VT_R8, properties.get()->vt);
  }
  {
    fw::ComPtr<ICapeUtilities> utilities;
    ASSERT_EQ(S_OK, utilities.queryFrom(package(txs::kFaultInitializeFails).get(), IID_ICapeUtilities));
    EXPECT_EQ(E_FAIL, utilities->Initialize());
    EXPECT_EQ(tx::narrow(txs::kInitializeError), txt::errorDescription());
  }
  {
    fw::ComPtr<ICapeUtilities> utilities;
    ASSERT_EQ(S_OK, utilities.queryFrom(package(txs::kFaultEditFails).get(), IID_ICapeUtilities));
    EXPECT_EQ(E_FAIL, utilities->Edit());  // fails at once: no window to wait for
    EXPECT_EQ(tx::narrow(txs::kEditError), txt::errorDescription());
  }
}

TEST_F(ZooTest, ComponentsWithoutTheirCategorysInterface) {
  fw::ComPtr<IDispatch> notPackage;
  ASSERT_EQ(S_OK, txt::create(txs::kPackageWithoutInterface, IID_IDispatch, notPackage));
  fw::ComPtr<IUnknown> answer;
  EXPECT_EQ(E_NOINTERFACE, notPackage->QueryInterface(IID_ICapeThermoPropertyPackage, answer.put_void()));
  EXPECT_EQ(S_OK, notPackage->QueryInterface(IID_ICapeUtilities, answer.put_void()));

  fw::ComPtr<IDispatch> notSystem;
  ASSERT_EQ(S_OK, txt::create(txs::kNoThermoSystem, IID_IDispatch, notSystem));
  EXPECT_EQ(E_NOINTERFACE, notSystem->QueryInterface(IID_ICapeThermoSystem, answer.put_void()));
  EXPECT_EQ(E_NOINTERFACE, notSystem->QueryInterface(IID_ICapeUtilities, answer.put_void()));

  fw::ComPtr<ICapeThermoSystem> bracket;
  ASSERT_EQ(S_OK, txt::create(txs::kBracketName, IID_ICapeThermoSystem, bracket));
  fw::UniqueVariant names;
  ASSERT_EQ(S_OK, bracket->GetPropertyPackages(names.get()));
  std::vector<std::string> listed;
  ASSERT_TRUE(txt::readStrings(*names.get(), &listed));
  EXPECT_EQ(std::vector<std::string>{txs::kBracketPackageName}, listed);
}
