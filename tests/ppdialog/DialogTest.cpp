// The property package dialog as ShowThermoGUI shows it from the product's DLL, driven
// from the test: its pages and what they read, its values in and out, and its buttons.
#include <map>
#include <set>
#include "ppdialog/PackageDialog.h"

using namespace ppt;
using namespace tx;
using Ids = std::set<int>;

namespace {

enum Kind { kTabs, kPush, kCheck, kGroup, kEdit, kLabel, kList };
struct KindInfo {
  const char* className;
  DWORD typeMask, type;  // the button or static type
  bool tabStop;
};
// A push button turns into the default one when it has the focus.
const KindInfo kKinds[] = {{"SysTabControl32", 0, 0, false},
                           {"Button", BS_TYPEMASK & ~BS_DEFPUSHBUTTON, BS_PUSHBUTTON, true},
                           {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, true},
                           {"Button", BS_TYPEMASK, BS_GROUPBOX, false},
                           {"Edit", 0, 0, true},
                           {"Static", SS_TYPEMASK, SS_LEFT, false},
                           {"ListBox", 0, 0, true}};

const int kEveryPage = -1, kNoPage = -2;
struct Control {
  int id;
  int page;
  Kind kind;
  const char* text;  // null: not compared
  DWORD style;       // bits it must have besides those of its kind
};
// The free compound selection is not the user's to change; the VLL flash request is shown
// only inside the host simulator (MakerSystemTest).
const Control kControls[] = {
    {IDC_PP_TABS, kEveryPage, kTabs, nullptr, TCS_BOTTOM},
    {IDC_PP_OK, kEveryPage, kPush, "&OK", 0},
    {IDC_IMPORT_REPORT, 0, kEdit, "", ES_MULTILINE | ES_READONLY | WS_VSCROLL},
    {IDC_SYSTEM_NAME, 0, kEdit, "", WS_DISABLED},
    {IDC_LABEL_SYSTEM, 0, kLabel, "Property System", 0},
    {IDC_LABEL_PACKAGE, 0, kLabel, "Property Package", 0},
    {IDC_PACKAGE_NAME, 0, kEdit, "", WS_DISABLED},
    {IDC_LABEL_REPORT, 0, kLabel, "Import Report", 0},
    {IDC_BROWSE_STATIC, 0, kPush, "Browse Static Information", 0},
    {IDC_CUSTOM_VIEW, 0, kPush, "Custom &View", 0},
    {IDC_TREAT_AS_HYPOS, 1, kCheck, "Treat all components as Hypothetical (user defined)", 0},
    {IDC_ALLOW_SUBSETS, 1, kCheck,
     "Allow subsets and sorting of the supported compounds (supported by most packages)", BS_MULTILINE},
    {IDC_FREE_COMPOUNDS, kNoPage, kCheck,
     "Free compound selection. User must manually select the compounds to be used (be aware that most packages "
     "will only support a particular list of compounds)",
     BS_MULTILINE},
    {IDC_COMPIDS, 1, kList, nullptr, 0},
    {IDC_CASNOS, 1, kList, nullptr, 0},
    {IDC_LABEL_COMPIDS, 1, kLabel, "CompIds (package names)", 0},
    {IDC_LABEL_CASNOS, 1, kLabel, "CASNumbers (from package)", 0},
    {IDC_PROPERTIES, 2, kList, nullptr, 0},
    {IDC_LABEL_PROPERTIES, 2, kLabel, "Supported Properties", 0},
    {IDC_PHASES, 2, kList, nullptr, 0},
    {IDC_LABEL_PHASES, 2, kLabel, "Supported Phases", 0},
    {IDC_LABEL_FLASH_TYPES, 2, kLabel, "Supported Flash types", 0},
    {IDC_FLASH_TYPES, 2, kList, nullptr, LBS_SORT},
    {IDC_REQUEST_LIQUID2, kNoPage, kCheck, "Request VLL flash to Brisk Properties", 0},
    {IDC_ORDER_PHASES, 2, kCheck, "Perform Order Phases after flash", 0},
    {IDC_VERSION_GROUP, 3, kGroup, "Version Info", 0},
    {IDC_LABEL_SOCKET, 3, kLabel, "CAPE-OPEN Calorix Socket", 0},
    {IDC_SOCKET_VERSION, 3, kEdit, "", ES_READONLY},
    {IDC_LABEL_STANDARD, 3, kLabel, "CAPE-OPEN Standard", 0},
    {IDC_STANDARD_VERSION, 3, kLabel, "1.0", SS_SUNKEN},
    {IDC_SUPPORT_TEXT, 3, kLabel, "support@briskware.example\n\nhttp://www.briskware.example", 0},
    {IDC_RECOV_GROUP, 3, kGroup, "Treatment for recoverable errors", 0},
    {IDC_RECOV_TRACE, 3, kCheck, "Trace them in simulator", 0},
    {IDC_RECOV_LOG, 3, kCheck, "Log them directly to a .trc file", 0},
    {IDC_RECOV_POPUP, 3, kCheck, "Pop up an error message", 0},
    {IDC_CRIT_GROUP, 3, kGroup, "Treatment for Critical Calculation errors", 0},
    {IDC_CRIT_TRACE, 3, kCheck, "Trace them in simulator", 0},
    {IDC_CRIT_LOG, 3, kCheck, "Log them to a COCalx.trc file", 0},  // created hidden, shown with its page
    {IDC_CRIT_POPUP, 3, kCheck, "Pop up an error message", 0},
};

RECT screenRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The check boxes in the order of the option getters (ThermoOptionsTest): comp, recov, crit, order, VLL.
const int kOptionBoxes[] = {IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS, IDC_TREAT_AS_HYPOS, IDC_RECOV_TRACE,
                            IDC_RECOV_LOG,     IDC_RECOV_POPUP,    IDC_CRIT_TRACE,     IDC_CRIT_LOG,
                            IDC_CRIT_POPUP,    IDC_ORDER_PHASES,   IDC_REQUEST_LIQUID2};
using Flags = std::vector<bool>;

Flags options(ICCAPEGUI* object) {
  std::vector<VARIANT_BOOL> v(11, 7);
  EXPECT_EQ(S_OK, object->getCompOptions(&v[0], &v[1], &v[2]));
  EXPECT_EQ(S_OK, object->getRecovErrorsOptions(&v[3], &v[4], &v[5]));
  EXPECT_EQ(S_OK, object->getCritErrorsOptions(&v[6], &v[7], &v[8]));
  EXPECT_EQ(S_OK, object->get_doOrderPhases(&v[9]));
  EXPECT_EQ(S_OK, object->get_requestLiquid2(&v[10]));
  Flags flags;
  for (VARIANT_BOOL value : v) {
    EXPECT_TRUE(value == VARIANT_TRUE || value == VARIANT_FALSE) << value;
    flags.push_back(value == VARIANT_TRUE);
  }
  return flags;
}

class Dialog : public ProductTest {};

}  // namespace

TEST_F(Dialog, EachPageShowsExactlyItsControlsAsTheUserReadsThem) {
  BoxCapture capture;
  Texts tabs;
  int openingTab = -2;
  std::map<int, Ids> shown;  // page -> visible controls
  std::map<int, RECT> rects;
  auto read = [&](int page) {
    return [&, page](HWND d) {
      selectTab(d, IDC_PP_TABS, page);
      shown[page] = visibleControls(d);
      for (int id : shown[page]) rects[id] = screenRect(GetDlgItem(d, id));
      RECT client = {};
      GetClientRect(d, &client);
      MapWindowPoints(d, nullptr, reinterpret_cast<POINT*>(&client), 2);
      rects[0] = client;
    };
  };
  tx::DialogDriver driver(capture, kCaption);
  driver.then([&](HWND d) {
    tabs = tabTexts(d, IDC_PP_TABS);
    openingTab = currentTab(d, IDC_PP_TABS);
    shown[-1] = visibleControls(d);  // as opened
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU),
              GetWindowLongA(d, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                              WS_MAXIMIZEBOX | WS_CHILD));
    EXPECT_TRUE(GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(nullptr, screen);
    for (const Control& c : kControls) {
      SCOPED_TRACE(c.id);
      HWND control = GetDlgItem(d, c.id);
      ASSERT_NE(nullptr, control);
      char name[64] = "";
      GetClassNameA(control, name, sizeof name);
      const KindInfo& kind = kKinds[c.kind];
      EXPECT_STRCASEEQ(kind.className, name);  // a class name has no case
      DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
      EXPECT_EQ(kind.type, style & kind.typeMask);
      EXPECT_EQ(kind.tabStop, (style & WS_TABSTOP) != 0);
      EXPECT_EQ(c.style, style & c.style);
      if (c.text) { EXPECT_EQ(c.text, windowText(control)); }
    }
  });
  for (int page : {1, 2, 3, 0, -2, 3}) driver.then(read(page));  // -2: no page at all, then closed on About
  driver.then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  ASSERT_EQ(1, driver.dialogsSeen());
  EXPECT_FALSE(driver.forcedClose());
  EXPECT_EQ((Texts{"General", "Components", "Properties", "About"}), tabs);
  EXPECT_EQ(0, openingTab);
  EXPECT_EQ(shown[0], shown[-1]);
  std::map<int, Kind> kinds;
  for (const Control& c : kControls) kinds[c.id] = c.kind;
  for (int page : {-2, 0, 1, 2, 3}) {
    SCOPED_TRACE(page);
    Ids want;
    for (const Control& c : kControls)
      if (c.page == page || c.page == kEveryPage) want.insert(c.id);
    if (page == -2) want = {IDC_PP_TABS, IDC_PP_OK};
    EXPECT_EQ(want, shown[page]);
    // Every control lies in the dialog, each page's inside the tab control, and only a
    // group box shares its place with others.
    for (int id : shown[page]) {
      EXPECT_TRUE(inside(rects[id], rects[0])) << id;
      if (id == IDC_PP_OK || id == IDC_PP_TABS) continue;
      EXPECT_TRUE(inside(rects[id], rects[IDC_PP_TABS])) << id;
      RECT common;
      for (int other : shown[page])
        EXPECT_FALSE(other > id && other != IDC_PP_TABS && kinds[id] != kGroup && kinds[other] != kGroup &&
                     IntersectRect(&common, &rects[id], &rects[other])) << id << " and " << other;
    }
  }

  // Closed on About, the next showing opens on General again.
  int reopened = -2;
  EXPECT_EQ(S_OK, show(capture, [&](HWND d) { reopened = currentTab(d, IDC_PP_TABS); }));
  EXPECT_EQ(0, reopened);
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, ShowsWhatItHoldsAndOnlyOkReadsTheCheckBoxesBack) {
  const Flags held = {false, true, true, true, false, true, false, true, false, true, true};
  Flags toggled = held;
  for (size_t i = 0; i < toggled.size(); ++i) toggled[i] = i == 1 ? held[i] : !held[i];  // 205 stays hidden
  struct Close {
    const char* name;
    Step press;
    bool readBack;
  };
  const Close closes[] = {{"close box", pressCloseBox, false},
                          {"Escape", pressEscape, false},
                          {"OK", [](HWND d) { postClick(d, IDC_PP_OK); }, true}};
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(L"Water-Ethanol NRTL"), CTxBSTR(L"Sample Property System")));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"Imported 2 compounds"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% matched by CAS number"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->put_socketVersion(CTxBSTR(L"3.2")));
  for (const Close& close : closes) {
    SCOPED_TRACE(close.name);
    ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_FALSE, VARIANT_TRUE, VARIANT_TRUE));
    ASSERT_EQ(S_OK, object->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
    ASSERT_EQ(S_OK, object->setCritErrorsOptions(VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE));
    ASSERT_EQ(S_OK, object->put_doOrderPhases(VARIANT_TRUE));
    ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_TRUE));
    BoxCapture capture;
    Flags checks;
    std::map<int, std::string> texts;
    int reportLines = 0;
    ASSERT_EQ(S_OK, show(capture,
                         [&](HWND d) {
                           for (int id : {IDC_PACKAGE_NAME, IDC_SYSTEM_NAME, IDC_SOCKET_VERSION, IDC_IMPORT_REPORT})
                             texts[id] = controlText(d, id);
                           reportLines = static_cast<int>(SendDlgItemMessageA(d, IDC_IMPORT_REPORT, EM_GETLINECOUNT, 0, 0));
                           for (int id : kOptionBoxes) {
                             checks.push_back(isChecked(d, id));
                             if (id != IDC_FREE_COMPOUNDS) setChecked(d, id, !isChecked(d, id));
                           }
                           selectTab(d, IDC_PP_TABS, 1);
                         },
                         close.press));
    EXPECT_EQ(held, checks);
    EXPECT_EQ("Water-Ethanol NRTL", texts[IDC_PACKAGE_NAME]);
    EXPECT_EQ("Sample Property System", texts[IDC_SYSTEM_NAME]);
    EXPECT_EQ("3.2", texts[IDC_SOCKET_VERSION]);
    EXPECT_EQ("Imported 2 compounds\r\n100% matched by CAS number", texts[IDC_IMPORT_REPORT]);  // a line each
    EXPECT_EQ(2, reportLines);
    EXPECT_EQ(close.readBack ? toggled : held, options(object.get()));
    BSTR socket = nullptr;
    ASSERT_EQ(S_OK, object->get_socketVersion(&socket));
    EXPECT_EQ("3.2", bstrText(socket));
    SysFreeString(socket);
    EXPECT_EQ(0u, capture.count());
  }
}

TEST_F(Dialog, AllowModificationsDecidesWhetherCompoundOptionsCanChange) {
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE));
  const struct {
    VARIANT_BOOL allow;
    bool enabled;
  } rows[] = {{VARIANT_FALSE, false}, {VARIANT_TRUE, true}, {1, true}};
  BoxCapture capture;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.allow);
    Flags seen;
    EXPECT_EQ(S_OK, show(capture,
                         [&](HWND d) {
                           for (int id : {IDC_TREAT_AS_HYPOS, IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS})
                             seen.push_back(isEnabled(d, id));
                           seen.push_back(isChecked(d, IDC_ALLOW_SUBSETS));  // the state is still shown
                           seen.push_back(isEnabled(d, IDC_ORDER_PHASES));
                         },
                         pressCloseBox, row.allow));
    EXPECT_EQ((Flags{row.enabled, row.enabled, row.enabled, true, true}), seen);
  }
  EXPECT_EQ(0u, capture.count());
}

TEST_F(Dialog, FlashTypesOfEveryShapeAreShownSortedAsText) {
  // Without package information only the flash types are listed; they are sorted, case ignored.
  fw::UniqueVariant strings, twoDim, variants;
  makeStrings(strings.get(), {L"TP", L"PH", L"Bubble T", L"dew P", L"TP"});
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  twoDim.get()->vt = VT_ARRAY | VT_BSTR;
  twoDim.get()->parray = SafeArrayCreate(VT_BSTR, 2, bounds);
  const wchar_t* cells[] = {L"TQ", L"TP", L"VF", L"PH"};
  for (int i = 0; i < 4; ++i) static_cast<BSTR*>(twoDim.get()->parray->pvData)[i] = SysAllocString(cells[i]);
  VARIANT* items = makeArray<VARIANT>(variants.get(), VT_VARIANT, 4);
  items[0].vt = VT_BSTR;
  items[0].bstrVal = SysAllocString(L"TP");
  items[1].vt = VT_I4;
  items[1].lVal = 12;
  items[2].vt = VT_BOOL;
  items[2].boolVal = VARIANT_TRUE;
  items[3].vt = VT_BSTR;  // null
  const struct {
    VARIANT* list;
    Texts shown;
    const char* box;  // the one report, or none
  } rows[] = {{strings.get(), {"Bubble T", "dew P", "PH", "TP", "TP"}, nullptr},
              {twoDim.get(), {"TP", "TQ"}, "Only 1 dimension arrays are supported"},  // along the first dimension
              {variants.get(), {"", "12", "TP", "true"}, nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.shown.back());
    ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*row.list));
    BoxCapture capture;
    std::vector<Texts> lists;
    ASSERT_EQ(S_OK, show(capture, [&](HWND d) {
      for (int id : {IDC_COMPIDS, IDC_CASNOS, IDC_PROPERTIES, IDC_PHASES, IDC_FLASH_TYPES})
        lists.push_back(listItems(d, id));
    }));
    EXPECT_EQ((std::vector<Texts>{{}, {}, {}, {}, row.shown}), lists);
    ASSERT_EQ(row.box ? 1u : 0u, capture.count());
    EXPECT_TRUE(!row.box || capture.anyContains(row.box));
  }
}

namespace {
// Refuses to create the property package dialog, as a system out of windows would.
LRESULT CALLBACK refuseDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    if (create->lpszName && !IS_INTRESOURCE(create->lpszName) && strcmp(create->lpszName, kCaption) == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(Dialog, DialogThatCannotBeShownIsAFailure) {
  BoxCapture capture;
  tx::DialogDriver driver(capture, kCaption);
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

TEST_F(Dialog, ShowingAgainWhileShownKeepsTheOneWindow) {
  BoxCapture capture;
  HRESULT inner = E_FAIL;
  ASSERT_EQ(S_OK, show(
                      capture,
                      [&](HWND d) {
                        setChecked(d, IDC_ORDER_PHASES, true);
                        inner = object->ShowThermoGUI(VARIANT_FALSE);  // as from a handler of the host
                      },
                      [](HWND d) { postClick(d, IDC_PP_OK); }));  // OK still closes the first window
  EXPECT_EQ(S_OK, inner);
  VARIANT_BOOL order = 0;
  ASSERT_EQ(S_OK, object->get_doOrderPhases(&order));
  EXPECT_EQ(VARIANT_TRUE, order);
}
