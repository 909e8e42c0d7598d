// The thermo options of ICCAPEGUI as a host sets and reads them, on the product's DLL.
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/PackageDialog.h"

using namespace ppt;

namespace {

using Set3 = HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*)(VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL);
using Get3 = HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*)(VARIANT_BOOL*, VARIANT_BOOL*, VARIANT_BOOL*);
struct Triple {
  const char* name;
  Set3 set;
  Get3 get;
  int CCOTHConfig::*first;  // where the store keeps the first value
};
const Triple kTriples[] = {
    {"comp", &ICCAPEGUI::setCompOptions, &ICCAPEGUI::getCompOptions, &CCOTHConfig::allowSubsets},
    {"recov", &ICCAPEGUI::setRecovErrorsOptions, &ICCAPEGUI::getRecovErrorsOptions, &CCOTHConfig::recovTrace},
    {"crit", &ICCAPEGUI::setCritErrorsOptions, &ICCAPEGUI::getCritErrorsOptions, &CCOTHConfig::critTrace}};
using Values = std::vector<VARIANT_BOOL>;
const VARIANT_BOOL T = VARIANT_TRUE, F = VARIANT_FALSE;

class ThermoOptions : public ProductTest {
 protected:
  // The option store behind the object (same layout in the DLL and here).
  CCOTHConfig* store(ICCAPEGUI* target = nullptr) {
    INT_PTR raw = 0;
    EXPECT_EQ(S_OK, (target ? target : object.get())->getThis(&raw));
    return reinterpret_cast<CCOTHConfig*>(raw);
  }
  Values all() {
    Values v(11, 7);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(S_OK, (object.get()->*kTriples[i].get)(&v[3 * i], &v[3 * i + 1], &v[3 * i + 2]));
    EXPECT_EQ(S_OK, object->get_requestLiquid2(&v[9]));
    EXPECT_EQ(S_OK, object->get_doOrderPhases(&v[10]));
    return v;
  }
};

}  // namespace

TEST_F(ThermoOptions, NewObjectHasEverythingOffAndEachValueKeepsItsPlace) {
  EXPECT_EQ(Values(11, F), all());
  BSTR socket = nullptr;
  ASSERT_EQ(S_OK, object->get_socketVersion(&socket));
  EXPECT_EQ("", tx::bstrText(socket));  // empty, not null
  SysFreeString(socket);
  VARIANT phases;
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(&phases));
  EXPECT_EQ(VT_EMPTY, phases.vt);
  EXPECT_TRUE(store()->allowModifications);

  // Any non-zero is on and stored as 1; each setter touches its own three values only.
  Values want(11, F);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kTriples[i].name);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(T, F, 1));
    want[3 * i] = want[3 * i + 2] = T;
    EXPECT_EQ(want, all());
    EXPECT_EQ(1, store()->*kTriples[i].first);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(F, 2, F));
    want[3 * i] = want[3 * i + 2] = F;
    want[3 * i + 1] = T;
    EXPECT_EQ(want, all());
  }
  for (VARIANT_BOOL on : {VARIANT_BOOL(1), T, VARIANT_BOOL(2), F}) {
    ASSERT_EQ(S_OK, object->put_requestLiquid2(on));
    want[9] = on ? T : F;
    EXPECT_EQ(want, all()) << on;
    ASSERT_EQ(S_OK, object->put_doOrderPhases(on));
    want[10] = on ? T : F;
    EXPECT_EQ(want, all()) << on;
  }
}

TEST_F(ThermoOptions, GettersRefuseNullPointers) {
  VARIANT_BOOL a = 0, b = 0;
  for (const Triple& triple : kTriples) {
    SCOPED_TRACE(triple.name);
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(nullptr, &a, &b));
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(&a, nullptr, &b));
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(&a, &b, nullptr));
  }
  EXPECT_EQ(E_POINTER, object->get_requestLiquid2(nullptr));
  EXPECT_EQ(E_POINTER, object->get_doOrderPhases(nullptr));
  EXPECT_EQ(E_POINTER, object->get_socketVersion(nullptr));
  EXPECT_EQ(E_POINTER, object->get_supportedPhaseTypes(nullptr));
  EXPECT_EQ(E_POINTER, object->getThis(nullptr));
  EXPECT_EQ(E_POINTER, object->getFullCOPPClassName(nullptr));
}

TEST_F(ThermoOptions, SimulateTakesFreeCompoundsFirstAndSwitchesTheDialogOff) {
  BoxCapture capture;
  tx::DialogDriver driver(capture, kCaption);
  driver.then(tx::pressCloseBox);
  auto comp = [&] { Values v = all(); v.resize(3); return v; };  // allowSubsets, freeCompounds, treatAsHypos
  ASSERT_EQ(S_OK, object->simulateThermoGUI(0, -1, 0));
  EXPECT_EQ((Values{T, F, F}), comp());
  ASSERT_EQ(S_OK, object->simulateThermoGUI(-1, 0, 1));
  EXPECT_EQ((Values{F, T, T}), comp());
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_FALSE));
  EXPECT_EQ(0, driver.dialogsSeen());
  EXPECT_EQ(0u, capture.count());
}

TEST_F(ThermoOptions, GetThisIsTheOptionStoreForTheObjectsLife) {
  CCOTHConfig* first = store();
  ASSERT_NE(nullptr, first);
  EXPECT_NE(static_cast<void*>(object.get()), static_cast<void*>(first));
  ASSERT_EQ(S_OK, object->setCompOptions(T, T, T));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% of %s and %d"), VARIANT_FALSE));
  EXPECT_EQ(first, store());
  EXPECT_EQ(1, first->allowSubsets);
  EXPECT_EQ("100% of %s and %d", first->importReport);  // taken literally

  fw::ComPtr<ICCAPEGUI> second;
  ASSERT_EQ(S_OK, tx::createProduct(second.put()));
  EXPECT_NE(first, store(second.get()));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"A"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"B"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, second->traceReport(nullptr, 1));  // a null message adds only the line feed
  EXPECT_EQ("A\nB\n", store(second.get())->importReport);
}

TEST_F(ThermoOptions, TextsRoundTrip) {
  BSTR name = nullptr;
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  EXPECT_EQ("<no Property Package name available>(Standalone)", tx::bstrText(name));
  SysFreeString(name);
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(L"Water-Ethanol NRTL"), CTxBSTR(L"Sample Property System")));
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  EXPECT_EQ("Water-Ethanol NRTL(Standalone)", tx::bstrText(name));  // the parent is its ProgID, never its alias
  SysFreeString(name);

  for (const wchar_t* version : {L"3.2.1 (build 7)", static_cast<const wchar_t*>(nullptr)}) {
    BSTR text = version ? SysAllocString(version) : nullptr;
    ASSERT_EQ(S_OK, object->put_socketVersion(text));
    SysFreeString(text);
    ASSERT_EQ(S_OK, object->get_socketVersion(&text));
    EXPECT_EQ(version ? "3.2.1 (build 7)" : "", tx::bstrText(text));
    SysFreeString(text);
  }
}

TEST_F(ThermoOptions, SupportedPhaseTypesAreCopiedInAndOut) {
  fw::UniqueVariant in, holder;
  makeStrings(in.get(), {L"TP", L"PH"});
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*in.get()));
  // The out parameter arrives with garbage in it: it must be written, not cleared.
  VARIANT out;
  out.vt = VT_BSTR;
  out.bstrVal = reinterpret_cast<BSTR>(static_cast<INT_PTR>(0x10));
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(&out));
  *holder.put() = out;
  ASSERT_EQ(VT_ARRAY | VT_BSTR, out.vt);
  EXPECT_NE(in.get()->parray, out.parray);  // a copy, not the caller's array
  EXPECT_EQ("PH", tx::bstrText(static_cast<BSTR*>(out.parray->pvData)[1]));

  // A reference into the caller's memory is stored as the value it points to.
  VARIANT reference;
  reference.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
  reference.pparray = &in.get()->parray;
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(reference));
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(holder.put()));
  EXPECT_EQ(VT_ARRAY | VT_BSTR, holder.get()->vt);
  EXPECT_NE(in.get()->parray, holder.get()->parray);

  VARIANT bad;
  bad.vt = 0x7FF;  // no such type
  EXPECT_EQ(DISP_E_BADVARTYPE, object->put_supportedPhaseTypes(bad));
}
