// The property package dialog as ShowThermoGUI shows it from the product's DLL, driven
// from the test: its pages, its values in and out, and what its buttons do.
#include <gtest/gtest.h>
#include <set>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "ppdialog/COTHConfigIds.h"
#include "ppdialog/DialogDriver.h"
#include "support/CTxBSTR.h"

using namespace ppt;
using Ids = std::set<int>;
using Texts = std::vector<std::string>;

namespace {

class Dialog : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }
  fw::ComPtr<ICCAPEGUI> object;
};

void putStrings(ICCAPEGUI* object, const std::vector<const wchar_t*>& items) {
  fw::UniqueVariant list;
  SAFEARRAYBOUND bound = {static_cast<ULONG>(items.size()), 0};
  list.get()->vt = VT_ARRAY | VT_BSTR;
  list.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  for (size_t i = 0; i < items.size(); ++i) static_cast<BSTR*>(list.get()->parray->pvData)[i] = SysAllocString(items[i]);
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*list.get()));
}

}  // namespace

TEST_F(Dialog, OpensOnGeneralAndEachTabShowsExactlyItsControls) {
  BoxCapture capture;
  DialogDriver driver(capture);
  Texts tabs;
  int openingPage = -2;
  Ids opening, general, components, properties, about, none;
  driver.then([&](HWND d) {
         tabs = tabTexts(d);
         openingPage = currentPage(d);
         opening = visibleControls(d);
       })
      .then([&](HWND d) { selectPage(d, 1); components = visiblePageControls(d); })
      .then([&](HWND d) { selectPage(d, 2); properties = visiblePageControls(d); })
      .then([&](HWND d) { selectPage(d, 3); about = visiblePageControls(d); })
      .then([&](HWND d) { selectPage(d, 0); general = visiblePageControls(d); })
      .then([&](HWND d) {
        selectPage(d, -1);
        none = visiblePageControls(d);
        selectPage(d, 3);
      })
      .then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  ASSERT_EQ(1, driver.dialogsSeen());
  EXPECT_FALSE(driver.forcedClose());
  EXPECT_EQ((Texts{"General", "Components", "Properties", "About"}), tabs);
  EXPECT_EQ(0, openingPage);
  Ids openingExpected = generalControls();
  openingExpected.insert({IDC_PP_TABS, IDC_PP_OK});
  EXPECT_EQ(openingExpected, opening);
  EXPECT_EQ(generalControls(), general);
  EXPECT_EQ(componentsControls(), components);
  EXPECT_EQ(propertiesControls(false), properties);  // outside the host simulator: no VLL request
  EXPECT_EQ(aboutControls(), about);                  // with 266, created hidden
  EXPECT_TRUE(none.empty());
  for (const Ids* page : {&general, &components, &properties, &about}) {
    EXPECT_EQ(0u, page->count(IDC_FREE_COMPOUNDS));
    EXPECT_EQ(page == &about, page->count(IDC_CRIT_LOG) == 1);
  }

  // Closed on About, the next showing opens on General again.
  DialogDriver again(capture);
  int reopenedPage = -2;
  again.then([&](HWND d) { reopenedPage = currentPage(d); general = visiblePageControls(d); }).then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(0, reopenedPage);
  EXPECT_EQ(generalControls(), general);
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, ShowsTheValuesItHolds) {
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(L"Water-Ethanol NRTL"), CTxBSTR(L"Sample Property System")));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"Imported 2 compounds"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% matched by CAS number"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->put_socketVersion(CTxBSTR(L"3.2")));
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_FALSE, VARIANT_TRUE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->setCritErrorsOptions(VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->put_doOrderPhases(VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_TRUE));

  BoxCapture capture;
  DialogDriver driver(capture);
  std::string package, system, socket, report;
  int reportLines = 0;
  std::vector<bool> checks;
  driver.then([&](HWND d) {
          package = controlText(d, IDC_PACKAGE_NAME);
          system = controlText(d, IDC_SYSTEM_NAME);
          socket = controlText(d, IDC_SOCKET_VERSION);
          report = controlText(d, IDC_IMPORT_REPORT);
          reportLines = static_cast<int>(SendMessageA(GetDlgItem(d, IDC_IMPORT_REPORT), EM_GETLINECOUNT, 0, 0));
          for (int id : {IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS, IDC_TREAT_AS_HYPOS, IDC_RECOV_TRACE, IDC_RECOV_LOG,
                         IDC_RECOV_POPUP, IDC_CRIT_TRACE, IDC_CRIT_LOG, IDC_CRIT_POPUP, IDC_ORDER_PHASES,
                         IDC_REQUEST_LIQUID2})
            checks.push_back(isChecked(d, id));
        })
      .then(pressOk);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ("Water-Ethanol NRTL", package);
  EXPECT_EQ("Sample Property System", system);
  EXPECT_EQ("3.2", socket);
  EXPECT_EQ("Imported 2 compounds\r\n100% matched by CAS number", report);  // each report line on its own line
  EXPECT_EQ(2, reportLines);
  EXPECT_EQ((std::vector<bool>{false, true, true, true, false, true, false, true, false, true, true}), checks);

  // OK read the controls back: every value as it was, the report's line feeds included.
  INT_PTR raw = 0;
  ASSERT_EQ(S_OK, object->getThis(&raw));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"!"), VARIANT_FALSE));
  VARIANT_BOOL a = 0, b = 0, c = 0;
  ASSERT_EQ(S_OK, object->getCompOptions(&a, &b, &c));
  EXPECT_EQ(VARIANT_FALSE, a);
  EXPECT_EQ(VARIANT_TRUE, b);  // the hidden free compound selection passes through unchanged
  EXPECT_EQ(VARIANT_TRUE, c);
  BSTR text = nullptr;
  ASSERT_EQ(S_OK, object->get_socketVersion(&text));
  EXPECT_EQ("3.2", tx::bstrText(text));
  SysFreeString(text);
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, OkReadsTheCheckBoxesBackCloseBoxAndEscapeDoNot) {
  auto toggleAll = [](HWND d) {
    for (int id : {IDC_ALLOW_SUBSETS, IDC_TREAT_AS_HYPOS, IDC_RECOV_TRACE, IDC_RECOV_LOG, IDC_RECOV_POPUP,
                   IDC_CRIT_TRACE, IDC_CRIT_LOG, IDC_CRIT_POPUP, IDC_ORDER_PHASES, IDC_REQUEST_LIQUID2})
      setChecked(d, id, !isChecked(d, id));
  };
  auto options = [&]() {
    std::vector<VARIANT_BOOL> v(11, 7);
    EXPECT_EQ(S_OK, object->getCompOptions(&v[0], &v[1], &v[2]));
    EXPECT_EQ(S_OK, object->getRecovErrorsOptions(&v[3], &v[4], &v[5]));
    EXPECT_EQ(S_OK, object->getCritErrorsOptions(&v[6], &v[7], &v[8]));
    EXPECT_EQ(S_OK, object->get_doOrderPhases(&v[9]));
    EXPECT_EQ(S_OK, object->get_requestLiquid2(&v[10]));
    return v;
  };
  const VARIANT_BOOL T = VARIANT_TRUE, F = VARIANT_FALSE;
  ASSERT_EQ(S_OK, object->setRecovErrorsOptions(T, F, F));
  std::vector<VARIANT_BOOL> before = options();

  BoxCapture capture;
  {
    DialogDriver driver(capture);
    driver.then([&](HWND d) { selectPage(d, 1); toggleAll(d); }).then(pressCloseBox);
    ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
    EXPECT_FALSE(driver.forcedClose());
  }
  EXPECT_EQ(before, options());
  {
    DialogDriver driver(capture);
    driver.then(toggleAll).then(pressEscape);
    ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
    EXPECT_FALSE(driver.forcedClose());
  }
  EXPECT_EQ(before, options());
  {
    DialogDriver driver(capture);
    driver.then([&](HWND d) { selectPage(d, 1); toggleAll(d); }).then(pressOk);
    ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
    EXPECT_FALSE(driver.forcedClose());
  }
  // freeCompounds (index 1) has no visible check box and stays as it was.
  EXPECT_EQ((std::vector<VARIANT_BOOL>{T, F, T, F, T, T, T, T, T, T, T}), options());
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, AllowModificationsDecidesWhetherCompoundOptionsCanChange) {
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE));
  BoxCapture capture;
  auto state = [&](VARIANT_BOOL allow) {
    std::vector<bool> seen;
    DialogDriver driver(capture);
    driver.then([&](HWND d) {
            selectPage(d, 1);
            for (int id : {IDC_TREAT_AS_HYPOS, IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS}) seen.push_back(isEnabled(d, id));
            seen.push_back(isChecked(d, IDC_ALLOW_SUBSETS));  // the state is still shown
            seen.push_back(isEnabled(d, IDC_ORDER_PHASES));
          })
        .then(pressCloseBox);
    EXPECT_EQ(S_OK, object->ShowThermoGUI(allow));
    return seen;
  };
  EXPECT_EQ((std::vector<bool>{false, false, false, true, true}), state(VARIANT_FALSE));
  EXPECT_EQ((std::vector<bool>{true, true, true, true, true}), state(VARIANT_TRUE));
  EXPECT_EQ((std::vector<bool>{true, true, true, true, true}), state(1));
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, WithoutPackageInfoOnlyTheFlashTypesAreListed) {
  putStrings(object.get(), {L"TP", L"PH", L"Bubble T", L"dew P", L"TP"});
  BoxCapture capture;
  DialogDriver driver(capture);
  std::vector<Texts> lists;
  driver.then([&](HWND d) {
          for (int id : {IDC_COMPIDS, IDC_CASNOS, IDC_PROPERTIES, IDC_PHASES, IDC_FLASH_TYPES})
            lists.push_back(listItems(d, id));
        })
      .then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  ASSERT_EQ(5u, lists.size());
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(lists[i].empty()) << i;
  EXPECT_EQ((Texts{"Bubble T", "dew P", "PH", "TP", "TP"}), lists[4]);  // sorted, case ignored
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, CustomViewWithoutComponentSaysSo) {
  BoxCapture capture;
  DialogDriver driver(capture);
  driver.then([](HWND d) { clickButton(d, IDC_CUSTOM_VIEW); }).then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  ASSERT_EQ(1u, capture.count());
  EXPECT_EQ(" ERROR: The component does not provide a Custom View.", capture.boxes()[0].text);
  EXPECT_FALSE(driver.forcedClose());
}

namespace {
// Refuses to create the property package dialog, as a system out of windows would.
LRESULT CALLBACK refuseDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    if (create->lpszName && !IS_INTRESOURCE(create->lpszName) && strcmp(create->lpszName, kDialogCaption) == 0)
      return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(Dialog, DialogThatCannotBeShownIsAFailure) {
  BoxCapture capture;
  DialogDriver driver(capture);
  driver.then(pressCloseBox);
  HHOOK hook = SetWindowsHookExA(WH_CBT, refuseDialog, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, hook);
  HRESULT hr = object->ShowThermoGUI(VARIANT_TRUE);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
  EXPECT_EQ(0, driver.dialogsSeen());
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("Unexpected error "));
}

TEST_F(Dialog, FlashTypesOfOddShapesAreReportedAndShownAsText) {
  BoxCapture capture;
  auto flashTypes = [&]() {
    Texts seen;
    DialogDriver driver(capture);
    driver.then([&](HWND d) { seen = listItems(d, IDC_FLASH_TYPES); }).then(pressCloseBox);
    EXPECT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
    return seen;
  };
  fw::UniqueVariant list;
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  list.get()->vt = VT_ARRAY | VT_BSTR;
  list.get()->parray = SafeArrayCreate(VT_BSTR, 2, bounds);
  const wchar_t* cells[] = {L"TQ", L"TP", L"VF", L"PH"};
  for (int i = 0; i < 4; ++i) static_cast<BSTR*>(list.get()->parray->pvData)[i] = SysAllocString(cells[i]);
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*list.get()));
  EXPECT_EQ((Texts{"TP", "TQ"}), flashTypes()) << "read along the first dimension";
  ASSERT_EQ(1u, capture.count());
  EXPECT_TRUE(capture.anyContains("Only 1 dimension arrays are supported"));

  capture.clear();
  list.put()->vt = VT_ARRAY | VT_VARIANT;
  SAFEARRAYBOUND bound = {4, 0};
  list.get()->parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
  VARIANT* items = static_cast<VARIANT*>(list.get()->parray->pvData);
  items[0].vt = VT_BSTR;
  items[0].bstrVal = SysAllocString(L"TP");
  items[1].vt = VT_I4;
  items[1].lVal = 12;
  items[2].vt = VT_BOOL;
  items[2].boolVal = VARIANT_TRUE;
  items[3].vt = VT_BSTR;
  items[3].bstrVal = nullptr;
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*list.get()));
  EXPECT_EQ((Texts{"", "12", "TP", "true"}), flashTypes());
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, ShowingAgainWhileShownKeepsTheOneWindow) {
  BoxCapture capture;
  DialogDriver driver(capture);
  HRESULT inner = E_FAIL;
  driver.then([&](HWND d) {
          setChecked(d, IDC_ORDER_PHASES, true);
          inner = object->ShowThermoGUI(VARIANT_FALSE);  // as from a handler of the host
        })
      .then(pressOk);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(S_OK, inner);
  EXPECT_EQ(1, driver.dialogsSeen());
  EXPECT_FALSE(driver.forcedClose());  // OK still closes the first window
  VARIANT_BOOL order = 0;
  ASSERT_EQ(S_OK, object->get_doOrderPhases(&order));
  EXPECT_EQ(VARIANT_TRUE, order);
}
