// The declarations in external/ against the samples, which implement an independent
// description of the same interfaces (their type library's IDL): every method called
// through the declared table must reach the method of that name, and the IIDs must agree.
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include "SampleClient.h"
#include "common/TestSupport.h"
#include "external/CapeOpen.h"
#include "external/ExtnContainer.h"

namespace {

class PositionsTest : public tx::ComTest {};

struct Call {
  const char* method;  // the log entry's method name
  std::function<HRESULT()> invoke;
};

// Calls each entry and checks that the object logged exactly that method.
void expectSlots(const char* dll, const std::string& object, const std::vector<Call>& calls) {
  for (const Call& call : calls) {
    txs::clearSampleCallLog(dll);
    call.invoke();
    std::vector<std::string> log = txs::sampleCallLog(dll);
    ASSERT_FALSE(log.empty()) << call.method << " reached nothing";
    std::string entry = log.back();
    EXPECT_EQ(object + "." + call.method, entry.substr(0, entry.find('('))) << "declared as " << call.method;
  }
}

}  // namespace

TEST_F(PositionsTest, PropertySystemAndPackageMethods) {
  fw::ComPtr<ICapeThermoSystem> system;
  ASSERT_EQ(S_OK, txt::create(txs::kThermoSystem, IID_ICapeThermoSystem, system));
  fw::UniqueVariant out;
  fw::ComPtr<IDispatch> object;
  BSTR name = SysAllocString(L"Air Ideal Gas");
  expectSlots(txs::kThermoDll, "ThermoSystem",
              {{"GetPropertyPackages", [&] { return system->GetPropertyPackages(out.put()); }},
               {"ResolvePropertyPackage", [&] { return system->ResolvePropertyPackage(name, object.put()); }}});
  SysFreeString(name);
  fw::ComPtr<ICapeThermoPropertyPackage> package;
  ASSERT_EQ(S_OK, package.queryFrom(object.get(), IID_ICapeThermoPropertyPackage));

  fw::UniqueVariant v[6];
  VARIANT empty;
  VariantInit(&empty);
  BSTR text = SysAllocString(L"x");
  expectSlots(txs::kThermoDll, "ThermoSystem:Air Ideal Gas",
              {{"GetPhaseList", [&] { return package->GetPhaseList(out.put()); }},
               {"GetComponentList",
                [&] {
                  return package->GetComponentList(v[0].get(), v[1].get(), v[2].get(), v[3].get(), v[4].get(),
                                                   v[5].get());
                }},
               {"GetUniversalConstant", [&] { return package->GetUniversalConstant(nullptr, empty, out.put()); }},
               {"GetComponentConstant", [&] { return package->GetComponentConstant(nullptr, empty, out.put()); }},
               {"CalcProp", [&] { return package->CalcProp(nullptr, empty, empty, text); }},
               {"CalcEquilibrium", [&] { return package->CalcEquilibrium(nullptr, text, empty); }},
               {"PropCheck", [&] { return package->PropCheck(nullptr, empty, out.put()); }},
               {"ValidityCheck", [&] { return package->ValidityCheck(nullptr, empty, out.put()); }},
               {"GetPropList", [&] { return package->GetPropList(out.put()); }}});
  SysFreeString(text);
}

TEST_F(PositionsTest, UtilitiesIdentificationAndUnitMethods) {
  fw::ComPtr<ICapeUnit> unit;
  ASSERT_EQ(S_OK, txt::create(txs::kMixer, IID_ICapeUnit, unit));
  fw::ComPtr<ICapeUtilities> utilities;
  ASSERT_EQ(S_OK, utilities.queryFrom(unit.get(), IID_ICapeUtilities));
  fw::ComPtr<ICapeIdentification> identification;
  ASSERT_EQ(S_OK, identification.queryFrom(unit.get(), IID_ICapeIdentification));
  fw::ComPtr<IDispatch> out;
  BSTR text = nullptr;
  BSTR name = SysAllocString(L"Renamed");
  CapeValidationStatus status = 0;
  CapeBoolean valid = 0;
  txs::setSampleEditAutoClose(txs::kUnitsDll, 10);
  expectSlots(txs::kUnitsDll, "Mixer",
              {{"get_parameters", [&] { return utilities->get_parameters(out.put()); }},
               {"put_simulationContext", [&] { return utilities->put_simulationContext(nullptr); }},
               {"Initialize", [&] { return utilities->Initialize(); }},
               {"Terminate", [&] { return utilities->Terminate(); }},
               {"Edit", [&] { return utilities->Edit(); }},
               {"get_ComponentName",
                [&] {
                  SysFreeString(text);
                  return identification->get_ComponentName(&text);
                }},
               {"put_ComponentName", [&] { return identification->put_ComponentName(name); }},
               {"get_ComponentDescription",
                [&] {
                  SysFreeString(text);
                  return identification->get_ComponentDescription(&text);
                }},
               {"put_ComponentDescription", [&] { return identification->put_ComponentDescription(name); }},
               {"get_ports", [&] { return unit->get_ports(out.put()); }},
               {"get_ValStatus", [&] { return unit->get_ValStatus(&status); }},
               {"Calculate", [&] { return unit->Calculate(); }},
               {"Validate", [&] {
                  SysFreeString(text);
                  text = nullptr;
                  return unit->Validate(&text, &valid);
                }}});
  txs::setSampleEditAutoClose(txs::kUnitsDll, 0);
  SysFreeString(text);
  SysFreeString(name);
}

TEST_F(PositionsTest, ContainerAndItsErrorPathObjects) {
  fw::ComPtr<ExtnContainer> host;
  ASSERT_EQ(S_OK, txt::create(txs::kHostContainer, IID_ExtnContainer, host));
  fw::ComPtr<ExtnHostContext> context;
  fw::UniqueVariant storage;
  BSTR message = SysAllocString(L"m");
  expectSlots(txs::kHostDll, "HostContainer",
              {{"Slot7", [&] { return host->Reserved7(); }},
               {"Slot8", [&] { return host->Reserved8(); }},
               {"Slot9", [&] { return host->Reserved9(); }},
               {"Slot10", [&] { return host->Reserved10(); }},
               {"GetHostContext", [&] { return host->GetHostContext(context.put()); }},
               {"AddMessage", [&] { return host->AddMessage(message, 0); }},
               {"Slot13", [&] { return host->Reserved13(); }},
               {"Slot14", [&] { return host->Reserved14(); }},
               {"Slot15", [&] { return host->Reserved15(); }},
               {"Slot16", [&] { return host->Reserved16(); }},
               {"Slot17", [&] { return host->Reserved17(); }},
               {"Slot18", [&] { return host->Reserved18(); }},
               {"Slot19", [&] { return host->Reserved19(); }},
               {"GetStorage", [&] { return host->GetStorage(extnStorageSave, storage.put()); }}});
  SysFreeString(message);
  ASSERT_TRUE(context);

  fw::ComPtr<ExtnMessageLog> log;
  ExtnHostContext* a = context.get();
  expectSlots(txs::kHostDll, "HostContext",
              {{"Slot7", [&] { return a->Reserved7(); }},
               {"Slot8", [&] { return a->Reserved8(); }},
               {"Slot9", [&] { return a->Reserved9(); }},
               {"Slot10", [&] { return a->Reserved10(); }},
               {"Slot11", [&] { return a->Reserved11(); }},
               {"Slot12", [&] { return a->Reserved12(); }},
               {"Slot13", [&] { return a->Reserved13(); }},
               {"Slot14", [&] { return a->Reserved14(); }},
               {"Slot15", [&] { return a->Reserved15(); }},
               {"Slot16", [&] { return a->Reserved16(); }},
               {"Slot17", [&] { return a->Reserved17(); }},
               {"Slot18", [&] { return a->Reserved18(); }},
               {"Slot19", [&] { return a->Reserved19(); }},
               {"Slot20", [&] { return a->Reserved20(); }},
               {"Slot21", [&] { return a->Reserved21(); }},
               {"Slot22", [&] { return a->Reserved22(); }},
               {"Slot23", [&] { return a->Reserved23(); }},
               {"Slot24", [&] { return a->Reserved24(); }},
               {"Slot25", [&] { return a->Reserved25(); }},
               {"Slot26", [&] { return a->Reserved26(); }},
               {"Slot27", [&] { return a->Reserved27(); }},
               {"Slot28", [&] { return a->Reserved28(); }},
               {"Slot29", [&] { return a->Reserved29(); }},
               {"Slot30", [&] { return a->Reserved30(); }},
               {"Slot31", [&] { return a->Reserved31(); }},
               {"Slot32", [&] { return a->Reserved32(); }},
               {"GetMessageLog", [&] { return a->GetMessageLog(log.put()); }}});
  ASSERT_TRUE(log);

  ExtnMessageLog* b = log.get();
  expectSlots(txs::kHostDll, "MessageLog",
              {{"Slot7", [&] { return b->Reserved7(); }},
               {"Slot8", [&] { return b->Reserved8(); }},
               {"Slot9", [&] { return b->Reserved9(); }},
               {"Slot10", [&] { return b->Reserved10(); }},
               {"Slot11", [&] { return b->Reserved11(); }},
               {"Slot12", [&] { return b->Reserved12(); }},
               {"Slot13", [&] { return b->Reserved13(); }},
               {"Slot14", [&] { return b->Reserved14(); }},
               {"Slot15", [&] { return b->Reserved15(); }},
               {"Slot16", [&] { return b->Reserved16(); }},
               {"Slot17", [&] { return b->Reserved17(); }},
               {"Slot18", [&] { return b->Reserved18(); }},
               {"Slot19", [&] { return b->Reserved19(); }},
               {"Slot20", [&] { return b->Reserved20(); }},
               {"Prepare", [&] { return b->Prepare(0); }}});
}

TEST_F(PositionsTest, InterfaceIdsAgreeWithTheSamplesTypeLibrary) {
  std::wstring path = tx::widen(tx::buildPath(std::string("samples/thermo/") + txs::kThermoDll));
  fw::ComPtr<ITypeLib> library;
  ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()));
  const struct {
    const char* name;
    const IID* iid;
    UINT methods;  // own methods after IDispatch's seven
  } declared[] = {{"ICapeIdentification", &IID_ICapeIdentification, 4},
                  {"ICapeThermoSystem", &IID_ICapeThermoSystem, 2},
                  {"ICapeThermoPropertyPackage", &IID_ICapeThermoPropertyPackage, 9},
                  {"ICapeUnit", &IID_ICapeUnit, 4},
                  {"ICapeUtilities", &IID_ICapeUtilities, 5},
                  {"SampleExtnContainer", &IID_ExtnContainer, 14}};
  for (const auto& entry : declared) {
    SCOPED_TRACE(entry.name);
    fw::ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(*entry.iid, info.put()));
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
    EXPECT_EQ(entry.name, tx::narrow(name));
    SysFreeString(name);
    // The table of a dual interface is described by the interface half of its type
    // information; it holds IUnknown's and IDispatch's entries too.
    HREFTYPE interfaceHalf = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(static_cast<UINT>(-1), &interfaceHalf));
    fw::ComPtr<ITypeInfo> table;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(interfaceHalf, table.put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, table->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_INTERFACE, attributes->typekind);
    EXPECT_EQ((7 + entry.methods) * sizeof(void*), attributes->cbSizeVft);
    table->ReleaseTypeAttr(attributes);
  }
}

TEST_F(PositionsTest, SamplesAnswerTheProbeRowsOfTheirInterfaces) {
  fw::ComPtr<IUnknown> system, mixer, package;
  ASSERT_EQ(S_OK, txt::create(txs::kThermoSystem, IID_IUnknown, system));
  ASSERT_EQ(S_OK, txt::create(txs::kMixer, IID_IUnknown, mixer));
  ASSERT_EQ(S_OK, txt::create(txs::kPropertyPackage, IID_IUnknown, package));
  EXPECT_EQ((std::vector<std::string>{"IUnknown", "IDispatch", "ICapeIdentification", "ICapeThermoSystem"}),
            txt::answeredProbes(system.get()));
  EXPECT_EQ((std::vector<std::string>{"IUnknown", "IDispatch", "ICapeIdentification", "ICapeThermoPropertyPackage"}),
            txt::answeredProbes(package.get()));
  EXPECT_EQ((std::vector<std::string>{"IUnknown", "IDispatch", "ICapeIdentification"}),
            txt::answeredProbes(mixer.get()));
  EXPECT_EQ(20, kCapeProbeCount);
  for (int i = 0; i < kCapeProbeCount; ++i)
    for (int j = i + 1; j < kCapeProbeCount; ++j)
      EXPECT_FALSE(IsEqualIID(*kCapeProbeTable[i].iid, *kCapeProbeTable[j].iid)) << i << " " << j;
}
