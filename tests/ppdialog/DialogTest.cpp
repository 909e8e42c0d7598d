// The property package dialog as ShowThermoGUI shows it from the product's DLL, driven
// from the test: its pages and what they read, its values in and out, and its buttons.
#include <map>
#include <set>
#include "ppdialog/PackageDialog.h"

using namespace ppt;
using namespace tx;

namespace {

enum Kind { kTabs, kPush, kCheck, kGroup, kEdit, kLabel, kList };
const DWORD kListStyle = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
const struct {
  const char* className;
  DWORD typeMask, type;  // the type; a push button with the focus is the default one
  bool tabStop;
} kKinds[] = {{"SysTabControl32", 0, 0, false}, {"Button", BS_TYPEMASK & ~BS_DEFPUSHBUTTON, BS_PUSHBUTTON, true},
              {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, true}, {"Button", BS_TYPEMASK, BS_GROUPBOX, false},
              {"Edit", 0, 0, true}, {"Static", SS_TYPEMASK, SS_LEFT, false},
              {"ListBox", kListStyle, kListStyle, true}};

const int kEveryPage = 9, kNoPage = -2;
struct Control {
  int id, page;
  Kind kind;
  const char* text;  // null: not compared
  DWORD style;       // bits it must have besides those of its kind
};
// The free compound selection is not the user's to change; the VLL flash request is shown
// only inside the host simulator (MakerSystemTest).
const Control kControls[] = {
    {IDC_PP_TABS, kEveryPage, kTabs, nullptr, TCS_BOTTOM}, {IDC_PP_OK, kEveryPage, kPush, "&OK"},
    {IDC_IMPORT_REPORT, 0, kEdit, "", ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL},
    {IDC_SYSTEM_NAME, 0, kEdit, "", WS_DISABLED | ES_AUTOHSCROLL},
    {IDC_PACKAGE_NAME, 0, kEdit, "", WS_DISABLED | ES_AUTOHSCROLL},
    {IDC_LABEL_SYSTEM, 0, kLabel, "Property System"}, {IDC_LABEL_PACKAGE, 0, kLabel, "Property Package"},
    {IDC_LABEL_REPORT, 0, kLabel, "Import Report"}, {IDC_BROWSE_STATIC, 0, kPush, "Browse Static Information"},
    {IDC_CUSTOM_VIEW, 0, kPush, "Custom &View"},
    {IDC_TREAT_AS_HYPOS, 1, kCheck, "Treat all components as Hypothetical (user defined)"},
    {IDC_ALLOW_SUBSETS, 1, kCheck,
     "Allow subsets and sorting of the supported compounds (supported by most packages)", BS_MULTILINE},
    {IDC_FREE_COMPOUNDS, kNoPage, kCheck,
     "Free compound selection. User must manually select the compounds to be used (be aware that most packages "
     "will only support a particular list of compounds)",
     BS_MULTILINE},
    {IDC_COMPIDS, 1, kList}, {IDC_CASNOS, 1, kList}, {IDC_LABEL_COMPIDS, 1, kLabel, "CompIds (package names)"},
    {IDC_LABEL_CASNOS, 1, kLabel, "CASNumbers (from package)"}, {IDC_PROPERTIES, 2, kList}, {IDC_PHASES, 2, kList},
    {IDC_LABEL_PROPERTIES, 2, kLabel, "Supported Properties"}, {IDC_LABEL_PHASES, 2, kLabel, "Supported Phases"},
    {IDC_LABEL_FLASH_TYPES, 2, kLabel, "Supported Flash types"}, {IDC_FLASH_TYPES, 2, kList, nullptr, LBS_SORT},
    {IDC_REQUEST_LIQUID2, kNoPage, kCheck, "Request VLL flash to Brisk Properties"},
    {IDC_ORDER_PHASES, 2, kCheck, "Perform Order Phases after flash"}, {IDC_VERSION_GROUP, 3, kGroup, "Version Info"},
    {IDC_LABEL_SOCKET, 3, kLabel, "CAPE-OPEN Calorix Socket"},
    {IDC_SOCKET_VERSION, 3, kEdit, "", ES_READONLY | ES_AUTOHSCROLL},
    {IDC_LABEL_STANDARD, 3, kLabel, "CAPE-OPEN Standard"}, {IDC_STANDARD_VERSION, 3, kLabel, "1.0", SS_SUNKEN},
    {IDC_SUPPORT_TEXT, 3, kLabel, "support@briskware.example\n\nhttp://www.briskware.example"},
    {IDC_RECOV_GROUP, 3, kGroup, "Treatment for recoverable errors"},
    {IDC_RECOV_TRACE, 3, kCheck, "Trace them in simulator"}, {IDC_CRIT_TRACE, 3, kCheck, "Trace them in simulator"},
    {IDC_RECOV_LOG, 3, kCheck, "Log them directly to a .trc file"},
    {IDC_CRIT_LOG, 3, kCheck, "Log them to a COCalx.trc file"},  // created hidden, shown with its page
    {IDC_RECOV_POPUP, 3, kCheck, "Pop up an error message"}, {IDC_CRIT_POPUP, 3, kCheck, "Pop up an error message"},
    {IDC_CRIT_GROUP, 3, kGroup, "Treatment for Critical Calculation errors"}};

class Dialog : public ppt::ProductTest {};

}  // namespace

TEST_F(Dialog, EachPageShowsExactlyItsControlsAsTheUserReadsThem) {
  Texts tabs;
  int opening = -2, reopened = -2;
  std::map<int, std::set<int>> shown;  // page (-1: none, 4: as opened) -> visible controls
  std::map<int, RECT> rects;           // control -> its place on the screen; 0: the dialog's client area
  auto inside = [](RECT in, RECT out) { RECT both; return UnionRect(&both, &in, &out) && EqualRect(&both, &out); };
  auto read = [&](HWND d, int page) {
    if (page != 4) selectTab(d, IDC_PP_TABS, page);
    shown[page] = visibleControls(d);
    for (int id : shown[page]) GetWindowRect(GetDlgItem(d, id), &rects[id]);
    GetClientRect(d, &rects[0]);
    MapWindowPoints(d, nullptr, reinterpret_cast<POINT*>(&rects[0]), 2);
  };
  ASSERT_EQ(S_OK, show([&](HWND d) {
    tabs = tabTexts(d, IDC_PP_TABS);
    opening = currentTab(d, IDC_PP_TABS);
    DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU, other = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(frame, GetWindowLongA(d, GWL_STYLE) & (frame | other));  // fixed, with a close box, in 8 pt MS Sans Serif
    EXPECT_TRUE(GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)), sizeof font, &font);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ("MS Sans Serif/" + std::to_string(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72)),
              font.lfFaceName + ("/" + std::to_string(font.lfHeight)));
    ReleaseDC(nullptr, screen);
    for (const Control& c : kControls) {
      SCOPED_TRACE(c.id);
      HWND control = GetDlgItem(d, c.id);
      char name[64] = "";
      GetClassNameA(control, name, sizeof name);
      EXPECT_STRCASEEQ(kKinds[c.kind].className, name);  // a class name has no case
      DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
      EXPECT_EQ(kKinds[c.kind].type, style & kKinds[c.kind].typeMask);
      EXPECT_EQ(kKinds[c.kind].tabStop, (style & WS_TABSTOP) != 0);
      EXPECT_EQ(c.style, style & c.style);
      EXPECT_EQ(c.text ? c.text : "", c.text ? windowText(control) : "");
    }
    for (int page : {4, 1, 2, 3, 0, -1, 3}) read(d, page);  // closed on About
  }));
  EXPECT_EQ((Texts{"General", "Components", "Properties", "About"}), tabs);
  EXPECT_TRUE(opening == 0 && shown[0] == shown[4]) << opening;
  std::map<int, Kind> kinds;
  for (const Control& c : kControls) kinds[c.id] = c.kind;
  for (int page : {-1, 0, 1, 2, 3}) {
    SCOPED_TRACE(page);
    std::set<int> want;
    for (const Control& c : kControls)
      if (c.page == page || c.page == kEveryPage) want.insert(c.id);
    EXPECT_EQ(want, shown[page]);
    // Every control lies in the dialog, each page's inside the tab control, and only a
    // group box shares its place with others.
    RECT common;
    for (int id : shown[page]) {
      EXPECT_TRUE(inside(rects[id], rects[0])) << id;
      if (id == IDC_PP_OK || id == IDC_PP_TABS) continue;
      EXPECT_TRUE(inside(rects[id], rects[IDC_PP_TABS])) << id;
      for (int other : shown[page])
        EXPECT_FALSE(other > id && other != IDC_PP_TABS && kinds[id] != kGroup && kinds[other] != kGroup &&
                     IntersectRect(&common, &rects[id], &rects[other])) << id << " and " << other;
    }
  }
  // The next showing opens on General again.
  EXPECT_EQ(S_OK, show([&](HWND d) { reopened = currentTab(d, IDC_PP_TABS); }));
  EXPECT_EQ(0, reopened);
  expectBoxes({});
}

TEST_F(Dialog, ShowsWhatItHoldsAndOnlyOkReadsTheCheckBoxesBack) {
  // Each close also follows a showing asked for again while shown (from a handler of the
  // host): the one window stays, and is closed as asked. Without allowModifications the
  // compound options are shown but cannot be changed. The check boxes in the order of
  // options(); 205 is hidden and cannot be changed.
  const int checkBoxes[] = {IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS, IDC_TREAT_AS_HYPOS, IDC_RECOV_TRACE, IDC_RECOV_LOG,
                            IDC_RECOV_POPUP, IDC_CRIT_TRACE, IDC_CRIT_LOG, IDC_CRIT_POPUP, IDC_ORDER_PHASES,
                            IDC_REQUEST_LIQUID2};
  const Values held = {F, T, T, T, F, T, F, T, F, T, T}, toggled = {T, T, F, F, T, F, T, F, T, F, F};
  const struct {
    const char* name;
    Step press;
    bool readBack;
    VARIANT_BOOL allow;
  } closes[] = {{"close box", pressCloseBox, false, F}, {"Escape", pressEscape, false, 1},
                {"OK", [](HWND d) { postClick(d, IDC_PP_OK); }, true, T}};
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(L"Water-Ethanol NRTL"), CTxBSTR(L"Sample Property System")));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"Imported 2 compounds"), VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"100% matched by CAS number"), VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->put_socketVersion(CTxBSTR(L"3.2")));
  for (const auto& close : closes) {
    SCOPED_TRACE(close.name);
    for (HRESULT hr : {object->setCompOptions(F, T, T), object->setRecovErrorsOptions(T, F, T),
                       object->setCritErrorsOptions(F, T, F), object->put_doOrderPhases(T),
                       object->put_requestLiquid2(T)})
      ASSERT_EQ(S_OK, hr);
    Values checks;
    Texts texts;
    LRESULT reportLines = 0;
    HRESULT again = E_FAIL;
    std::vector<bool> enabled;
    auto step = [&](HWND d) {
      again = object->ShowThermoGUI(VARIANT_FALSE);
      for (int id : {IDC_TREAT_AS_HYPOS, IDC_ALLOW_SUBSETS, IDC_FREE_COMPOUNDS, IDC_ORDER_PHASES})
        enabled.push_back(isEnabled(d, id));
      for (int id : {IDC_PACKAGE_NAME, IDC_SYSTEM_NAME, IDC_SOCKET_VERSION, IDC_IMPORT_REPORT})
        texts.push_back(controlText(d, id));
      reportLines = SendDlgItemMessageA(d, IDC_IMPORT_REPORT, EM_GETLINECOUNT, 0, 0);
      for (int id : checkBoxes) {
        checks.push_back(isChecked(d, id) ? T : F);
        if (id != IDC_FREE_COMPOUNDS) setChecked(d, id, !isChecked(d, id));
      }
      selectTab(d, IDC_PP_TABS, 1);
    };
    ASSERT_EQ(S_OK, show(step, close.press, close.allow));
    EXPECT_EQ(S_OK, again);
    EXPECT_EQ((std::vector<bool>{close.allow != 0, close.allow != 0, close.allow != 0, true}), enabled);
    EXPECT_EQ(held, checks);
    EXPECT_EQ((Texts{"Water-Ethanol NRTL", "Sample Property System", "3.2",
                     "Imported 2 compounds\r\n100% matched by CAS number"}),  // the report a line each
              texts);
    EXPECT_EQ(2, reportLines);
    EXPECT_EQ(close.readBack ? toggled : held, options(object.get()));
    EXPECT_EQ("3.2", text(&ICCAPEGUI::get_socketVersion));
    expectBoxes({});
  }
}

TEST_F(Dialog, FlashTypesOfEveryShapeAreShownSortedAsText) {
  // Without package information only the flash types are listed; they are sorted, case ignored.
  // Elements of every type: PackageListsTest.
  fw::UniqueVariant strings, twoDim;
  makeStrings(strings.get(), {L"TP", L"PH", L"Bubble T", L"dew P", L"TP"});
  BSTR* cells = makeArray(twoDim.get(), VT_BSTR, 2, 0, 2);  // 2 x 2
  for (const wchar_t* cell : {L"TQ", L"TP", L"VF", L"PH"}) *cells++ = SysAllocString(cell);
  const struct {
    VARIANT* list;
    Texts shown;
    Texts reports;  // the one report, or none
  } rows[] = {{strings.get(), {"Bubble T", "dew P", "PH", "TP", "TP"}, {}},
              {twoDim.get(), {"TP", "TQ"}, {"*Only 1 dimension arrays are supported"}}};  // along the first dimension
  for (const auto& row : rows) {
    SCOPED_TRACE(row.shown.back());
    ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*row.list));
    boxes.clear();
    EXPECT_EQ((std::vector<Texts>{{}, {}, {}, {}, row.shown}), shownLists());
    expectBoxes(row.reports);
  }
}

TEST_F(Dialog, DialogThatCannotBeShownIsAFailure) {
  DialogDriver driver(boxes, kCaption);
  driver.then(pressCloseBox);
  // Refuses to create the dialog, as a system out of windows would.
  fw::WindowHook refuse(nullptr, [](const CREATESTRUCTW& create) {
    return create.lpszName && !IS_INTRESOURCE(create.lpszName) && narrowFromWide(create.lpszName) == kCaption;
  });
  ASSERT_TRUE(refuse.installed());
  HRESULT hr = object->ShowThermoGUI(VARIANT_TRUE);
  EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
  EXPECT_EQ(0, driver.dialogsSeen());
  expectBoxes({"*Unexpected error "});
}
