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

// Defaults, and every getter's null pointer at one place, through the slots: AbiTest. Here
// the store that the dialog reads, the two values other than VARIANT_TRUE and each place.
TEST_F(ThermoOptions, EachSetterStoresOnAsOneInItsOwnPlaceAndEachGetterRefusesEachNull) {
  Values want(11, F);
  EXPECT_EQ(want, options(object.get()));
  EXPECT_TRUE(store(object.get())->allowModifications);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kTriples[i].name);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(T, F, 1));
    want[3 * i] = want[3 * i + 2] = T;
    EXPECT_EQ(want, options(object.get()));
    EXPECT_EQ(1, store(object.get())->*kTriples[i].first);
    ASSERT_EQ(S_OK, (object.get()->*kTriples[i].set)(F, 2, F));
    want[3 * i] = want[3 * i + 2] = F, want[3 * i + 1] = T;
    EXPECT_EQ(want, options(object.get()));
    VARIANT_BOOL v[3];
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(E_POINTER, (object.get()->*kTriples[i].get)(n ? v : nullptr, n == 1 ? nullptr : v + 1,
                                                            n == 2 ? nullptr : v + 2)) << n;
  }
}

TEST_F(ThermoOptions, SimulateTakesFreeCompoundsFirstAndSwitchesTheDialogOff) {
  tx::DialogDriver driver(boxes, kCaption);
  driver.then(tx::pressCloseBox);
  for (const Values& given : {Values{0, -1, 0}, Values{-1, 0, 1}}) {  // freeCompounds, allowSubsets, treatAsHypos
    ASSERT_EQ(S_OK, object->simulateThermoGUI(given[0], given[1], given[2]));
    Values comp = options(object.get());
    EXPECT_EQ((Values{given[1] ? T : F, given[0] ? T : F, given[2] ? T : F}), Values(comp.begin(), comp.begin() + 3));
  }
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_FALSE));
  EXPECT_EQ(0, driver.dialogsSeen());
  expectBoxes({});
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
