// The thermo options of ICCAPEGUI as a host sets and reads them, on the product's DLL.
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/PackageDialog.h"

using namespace ppt;

namespace {

const struct {
  const char* name;
  HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*set)(VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL);
  HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*get)(VARIANT_BOOL*, VARIANT_BOOL*, VARIANT_BOOL*);
  int CCOTHConfig::*first;  // where the store keeps the first value
} kTriples[] = {
    {"comp", &ICCAPEGUI::setCompOptions, &ICCAPEGUI::getCompOptions, &CCOTHConfig::allowSubsets},
    {"recov", &ICCAPEGUI::setRecovErrorsOptions, &ICCAPEGUI::getRecovErrorsOptions, &CCOTHConfig::recovTrace},
    {"crit", &ICCAPEGUI::setCritErrorsOptions, &ICCAPEGUI::getCritErrorsOptions, &CCOTHConfig::critTrace}};

// The option store behind an object (same layout in the DLL and here).
CCOTHConfig* store(ICCAPEGUI* object) {
  INT_PTR raw = 0;
  EXPECT_EQ(S_OK, object->getThis(&raw));
  return reinterpret_cast<CCOTHConfig*>(raw);
}

class ThermoOptions : public ProductTest {};

}  // namespace

TEST_F(ThermoOptions, NewObjectHasEverythingOffAndEachValueKeepsItsPlace) {
  Values want(11, F);
  EXPECT_EQ(want, options(object.get()));
  VARIANT phases;
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(&phases));
  EXPECT_EQ(VT_EMPTY, phases.vt);
  EXPECT_TRUE(store(object.get())->allowModifications);
  // Any non-zero is on and stored as 1; each setter touches its own values only.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kTriples[i].name);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(T, F, 1));
    want[3 * i] = want[3 * i + 2] = T;
    EXPECT_EQ(want, options(object.get()));
    EXPECT_EQ(1, store(object.get())->*kTriples[i].first);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(F, 2, F));
    want[3 * i] = want[3 * i + 2] = F, want[3 * i + 1] = T;
    EXPECT_EQ(want, options(object.get()));
  }
  for (VARIANT_BOOL on : {VARIANT_BOOL(1), T, VARIANT_BOOL(2), F}) {
    ASSERT_EQ(S_OK, object->put_doOrderPhases(on));
    want[9] = on ? T : F;
    EXPECT_EQ(want, options(object.get())) << on;
    ASSERT_EQ(S_OK, object->put_requestLiquid2(on));
    want[10] = on ? T : F;
    EXPECT_EQ(want, options(object.get())) << on;
  }
}

TEST_F(ThermoOptions, GettersRefuseNullPointers) {
  VARIANT_BOOL a = 0, b = 0;
  for (const auto& triple : kTriples) {
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(nullptr, &a, &b)) << triple.name;
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(&a, nullptr, &b)) << triple.name;
    EXPECT_EQ(E_POINTER, (object.get()->*triple.get)(&a, &b, nullptr)) << triple.name;
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
  for (const Values& given : {Values{0, -1, 0}, Values{-1, 0, 1}}) {  // freeCompounds, allowSubsets, treatAsHypos
    ASSERT_EQ(S_OK, object->simulateThermoGUI(given[0], given[1], given[2]));
    Values comp = options(object.get());
    EXPECT_EQ((Values{given[1] ? T : F, given[0] ? T : F, given[2] ? T : F}), Values(comp.begin(), comp.begin() + 3));
  }
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_FALSE));
  EXPECT_EQ(0, driver.dialogsSeen());
  EXPECT_EQ(0u, capture.count());
}

TEST_F(ThermoOptions, OneStorePerObjectAndTextsAsGiven) {
  CCOTHConfig* first = store(object.get());
  ASSERT_NE(nullptr, first);
  ASSERT_EQ(S_OK, object->setCompOptions(T, T, T));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% of %s and %d"), VARIANT_FALSE));
  EXPECT_EQ(first, store(object.get()));
  EXPECT_EQ(1, first->allowSubsets);
  EXPECT_EQ("100% of %s and %d", first->importReport);  // taken literally

  fw::ComPtr<ICCAPEGUI> second;
  ASSERT_EQ(S_OK, tx::createProduct(second.put()));
  EXPECT_NE(first, store(second.get()));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"A"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"B"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, second->traceReport(nullptr, 1));  // a null message adds only the line feed
  EXPECT_EQ("A\nB\n", store(second.get())->importReport);
  // The parent in the full class name is its ProgID, never its alias (PackageInfoTest).
  for (const wchar_t* alias : {static_cast<const wchar_t*>(nullptr), L"Water-Ethanol NRTL"}) {
    ASSERT_TRUE(!alias || object->setAlias(CTxBSTR(alias), CTxBSTR(L"Sample Property System")) == S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
    EXPECT_EQ(alias ? "Water-Ethanol NRTL(Standalone)" : "<no Property Package name available>(Standalone)",
              tx::bstrText(name));
    SysFreeString(name);
  }
  // The socket version: empty, not null, as created and after a null one.
  for (const char* version : {"", "3.2.1 (build 7)", "<null>"}) {
    CTxBSTR given(version);
    ASSERT_TRUE(!*version || object->put_socketVersion(version[0] == '<' ? nullptr : BSTR(given)) == S_OK);
    BSTR text = nullptr;
    EXPECT_EQ(version[0] == '<' ? "" : version, object->get_socketVersion(&text) == S_OK ? tx::bstrText(text) : "?");
    SysFreeString(text);
  }
}

TEST_F(ThermoOptions, SupportedPhaseTypesAreCopiedInAndOut) {
  fw::UniqueVariant in, out;
  makeStrings(in.get(), {L"TP", L"PH"});
  VARIANT reference;  // into the caller's memory: stored as the value it points to
  reference.vt = VT_BYREF | VT_ARRAY | VT_BSTR, reference.pparray = &in.get()->parray;
  for (VARIANT* given : {in.get(), &reference}) {
    ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*given));
    VARIANT* garbage = out.put();  // the out parameter arrives with garbage in it: written, not cleared
    garbage->vt = VT_BSTR, garbage->bstrVal = reinterpret_cast<BSTR>(static_cast<INT_PTR>(0x10));
    ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(out.get()));
    ASSERT_EQ(VT_ARRAY | VT_BSTR, out.get()->vt);
    EXPECT_NE(in.get()->parray, out.get()->parray);  // a copy, not the caller's array
    EXPECT_EQ("PH", tx::bstrText(static_cast<BSTR*>(out.get()->parray->pvData)[1]));
  }
  VARIANT bad;
  bad.vt = 0x7FF;  // no such type
  EXPECT_EQ(DISP_E_BADVARTYPE, object->put_supportedPhaseTypes(bad));
}
