// The thermo options of ICCAPEGUI as a host sets and reads them, on the product's DLL.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/DialogDriver.h"
#include "support/CTxBSTR.h"

namespace {

class ThermoOptions : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }
  // The option store behind the object (same layout in the DLL and here).
  CCOTHConfig* store() {
    INT_PTR raw = 0;
    EXPECT_EQ(S_OK, object->getThis(&raw));
    return reinterpret_cast<CCOTHConfig*>(raw);
  }
  fw::ComPtr<ICCAPEGUI> object;
};

struct Three {
  VARIANT_BOOL a = 7, b = 7, c = 7;
};

}  // namespace

TEST_F(ThermoOptions, NewObjectHasEverythingOff) {
  Three comp, recov, crit;
  ASSERT_EQ(S_OK, object->getCompOptions(&comp.a, &comp.b, &comp.c));
  ASSERT_EQ(S_OK, object->getRecovErrorsOptions(&recov.a, &recov.b, &recov.c));
  ASSERT_EQ(S_OK, object->getCritErrorsOptions(&crit.a, &crit.b, &crit.c));
  for (VARIANT_BOOL value : {comp.a, comp.b, comp.c, recov.a, recov.b, recov.c, crit.a, crit.b, crit.c})
    EXPECT_EQ(VARIANT_FALSE, value);
  VARIANT_BOOL liquid2 = 7, order = 7;
  ASSERT_EQ(S_OK, object->get_requestLiquid2(&liquid2));
  ASSERT_EQ(S_OK, object->get_doOrderPhases(&order));
  EXPECT_EQ(VARIANT_FALSE, liquid2);
  EXPECT_EQ(VARIANT_FALSE, order);
  BSTR socket = nullptr;
  ASSERT_EQ(S_OK, object->get_socketVersion(&socket));
  EXPECT_EQ("", tx::bstrText(socket));  // empty, not null
  SysFreeString(socket);
  VARIANT phases;
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(&phases));
  EXPECT_EQ(VT_EMPTY, phases.vt);
  EXPECT_TRUE(store()->allowModifications);
}

TEST_F(ThermoOptions, AnyNonZeroIsOnAndEachValueKeepsItsPlace) {
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_TRUE, VARIANT_FALSE, 1));
  Three comp;
  ASSERT_EQ(S_OK, object->getCompOptions(&comp.a, &comp.b, &comp.c));
  EXPECT_EQ(VARIANT_TRUE, comp.a);
  EXPECT_EQ(VARIANT_FALSE, comp.b);
  EXPECT_EQ(VARIANT_TRUE, comp.c);
  EXPECT_EQ(1, store()->treatAsHypos);  // stored as 1, whatever non-zero came in

  ASSERT_EQ(S_OK, object->setRecovErrorsOptions(0, 1, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->setCritErrorsOptions(VARIANT_TRUE, 0, 0));
  Three recov, crit;
  ASSERT_EQ(S_OK, object->getRecovErrorsOptions(&recov.a, &recov.b, &recov.c));
  ASSERT_EQ(S_OK, object->getCritErrorsOptions(&crit.a, &crit.b, &crit.c));
  EXPECT_EQ(VARIANT_FALSE, recov.a);
  EXPECT_EQ(VARIANT_TRUE, recov.b);
  EXPECT_EQ(VARIANT_TRUE, recov.c);
  EXPECT_EQ(VARIANT_TRUE, crit.a);
  EXPECT_EQ(VARIANT_FALSE, crit.b);
  EXPECT_EQ(VARIANT_FALSE, crit.c);
  // The compound options were not touched by the error options.
  ASSERT_EQ(S_OK, object->getCompOptions(&comp.a, &comp.b, &comp.c));
  EXPECT_EQ(VARIANT_FALSE, comp.b);

  for (VARIANT_BOOL on : {static_cast<VARIANT_BOOL>(1), VARIANT_TRUE, static_cast<VARIANT_BOOL>(2)}) {
    VARIANT_BOOL liquid2 = 0, order = 0;
    ASSERT_EQ(S_OK, object->put_requestLiquid2(on));
    ASSERT_EQ(S_OK, object->put_doOrderPhases(on));
    ASSERT_EQ(S_OK, object->get_requestLiquid2(&liquid2));
    ASSERT_EQ(S_OK, object->get_doOrderPhases(&order));
    EXPECT_EQ(VARIANT_TRUE, liquid2) << on;
    EXPECT_EQ(VARIANT_TRUE, order) << on;
  }
  VARIANT_BOOL liquid2 = 7;
  ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->get_requestLiquid2(&liquid2));
  EXPECT_EQ(VARIANT_FALSE, liquid2);
}

TEST_F(ThermoOptions, GettersRefuseNullPointers) {
  VARIANT_BOOL a = 0, b = 0;
  EXPECT_EQ(E_POINTER, object->getCompOptions(&a, &b, nullptr));
  EXPECT_EQ(E_POINTER, object->getRecovErrorsOptions(nullptr, &a, &b));
  EXPECT_EQ(E_POINTER, object->getCritErrorsOptions(&a, nullptr, &b));
  EXPECT_EQ(E_POINTER, object->get_requestLiquid2(nullptr));
  EXPECT_EQ(E_POINTER, object->get_doOrderPhases(nullptr));
  EXPECT_EQ(E_POINTER, object->get_socketVersion(nullptr));
  EXPECT_EQ(E_POINTER, object->get_supportedPhaseTypes(nullptr));
  EXPECT_EQ(E_POINTER, object->getThis(nullptr));
  EXPECT_EQ(E_POINTER, object->getFullCOPPClassName(nullptr));
}

TEST_F(ThermoOptions, SimulateTakesFreeCompoundsFirstAndSwitchesTheDialogOff) {
  BoxCapture capture;
  ppt::DialogDriver driver(capture);
  driver.then(ppt::pressCloseBox);
  ASSERT_EQ(S_OK, object->simulateThermoGUI(0, -1, 0));
  Three comp;
  ASSERT_EQ(S_OK, object->getCompOptions(&comp.a, &comp.b, &comp.c));
  EXPECT_EQ(VARIANT_TRUE, comp.a);   // allowSubsets
  EXPECT_EQ(VARIANT_FALSE, comp.b);  // freeCompounds
  EXPECT_EQ(VARIANT_FALSE, comp.c);  // treatAsHypos
  ASSERT_EQ(S_OK, object->simulateThermoGUI(-1, 0, 0));
  ASSERT_EQ(S_OK, object->getCompOptions(&comp.a, &comp.b, &comp.c));
  EXPECT_EQ(VARIANT_FALSE, comp.a);
  EXPECT_EQ(VARIANT_TRUE, comp.b);

  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_FALSE));
  EXPECT_EQ(0, driver.dialogsSeen());
  EXPECT_EQ(0u, capture.count());
}

TEST_F(ThermoOptions, GetThisIsTheOptionStoreForTheObjectsLife) {
  INT_PTR first = 0, again = 0;
  ASSERT_EQ(S_OK, object->getThis(&first));
  ASSERT_NE(0, first);
  EXPECT_NE(reinterpret_cast<INT_PTR>(object.get()), first);
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_TRUE, VARIANT_TRUE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"x"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->getThis(&again));
  EXPECT_EQ(first, again);
  EXPECT_EQ(1, reinterpret_cast<CCOTHConfig*>(again)->allowSubsets);

  fw::ComPtr<ICCAPEGUI> other;
  ASSERT_EQ(S_OK, tx::createProduct(other.put()));
  INT_PTR otherStore = 0;
  ASSERT_EQ(S_OK, other->getThis(&otherStore));
  EXPECT_NE(first, otherStore);
}

TEST_F(ThermoOptions, FullClassNameForms) {
  BSTR name = nullptr;
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  EXPECT_EQ("<no Property Package name available>(Standalone)", tx::bstrText(name));
  SysFreeString(name);

  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(L"Water-Ethanol NRTL"), CTxBSTR(L"Sample Property System")));
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&name));
  // The parent text is the parent ProgID, never its alias.
  EXPECT_EQ("Water-Ethanol NRTL(Standalone)", tx::bstrText(name));
  SysFreeString(name);
}

TEST_F(ThermoOptions, TraceReportIsTakenLiterally) {
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% of %s and %d"), VARIANT_FALSE));
  EXPECT_EQ("100% of %s and %d", store()->importReport);

  fw::ComPtr<ICCAPEGUI> second;
  ASSERT_EQ(S_OK, tx::createProduct(second.put()));
  INT_PTR raw = 0;
  ASSERT_EQ(S_OK, second->getThis(&raw));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"A"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, second->traceReport(CTxBSTR(L"B"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, second->traceReport(nullptr, 1));  // a null message adds only the line feed
  EXPECT_EQ("A\nB\n", reinterpret_cast<CCOTHConfig*>(raw)->importReport);
}

TEST_F(ThermoOptions, SocketVersionRoundTrip) {
  ASSERT_EQ(S_OK, object->put_socketVersion(CTxBSTR(L"3.2.1 (build 7)")));
  BSTR text = nullptr;
  ASSERT_EQ(S_OK, object->get_socketVersion(&text));
  EXPECT_EQ("3.2.1 (build 7)", tx::bstrText(text));
  SysFreeString(text);
  ASSERT_EQ(S_OK, object->put_socketVersion(nullptr));
  ASSERT_EQ(S_OK, object->get_socketVersion(&text));
  EXPECT_EQ("", tx::bstrText(text));
  SysFreeString(text);
}

TEST_F(ThermoOptions, SupportedPhaseTypesAreCopiedInAndOut) {
  fw::UniqueVariant in;
  SAFEARRAYBOUND bound = {2, 0};
  in.get()->vt = VT_ARRAY | VT_BSTR;
  in.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  static_cast<BSTR*>(in.get()->parray->pvData)[0] = SysAllocString(L"TP");
  static_cast<BSTR*>(in.get()->parray->pvData)[1] = SysAllocString(L"PH");
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*in.get()));

  // The out parameter arrives with garbage in it: it must be written, not cleared.
  VARIANT out;
  out.vt = VT_BSTR;
  out.bstrVal = reinterpret_cast<BSTR>(static_cast<INT_PTR>(0x10));
  ASSERT_EQ(S_OK, object->get_supportedPhaseTypes(&out));
  fw::UniqueVariant holder;
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
