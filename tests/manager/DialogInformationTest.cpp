// The Component Manager's static-information mode, its web page buttons, the remote
// computer choice and its two templates.
#include <gtest/gtest.h>
#include <regex>
#include "browser/BrowserDouble.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "resources/resource.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

using mt::ManagerDriver;

const char kNoUrl[] = "Component does not provide any URL for that field";

class DialogInformationTest : public mt::DialogTest {};

using mt::labelOf;

void expectStaticLayout(HWND window) {
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CO_TREE)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CO_TAB)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CO_REFRESH)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDOK)));
}

TEST_F(DialogInformationTest, APackageIsShownFromItsSystemsRegistryKey) {
  const txs::PackageData& package = txs::kSystemPackages[2];
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(12);
  dialog.SetInitialComponent(package.name, txs::kThermoSystem.progId, "");
  EXPECT_TRUE(dialog.staticMode());
  // The choice is filled before the dialog runs (the host may never show it).
  EXPECT_EQ(dialog.choice().progId, package.name);
  EXPECT_EQ(dialog.choice().parentProgId, txs::kThermoSystem.progId);
  EXPECT_EQ(dialog.choice().parentName, txs::kThermoSystem.values.name);
  EXPECT_EQ(dialog.choice().clsid, mt::guidText(txs::kThermoSystem.clsid));
  EXPECT_EQ(dialog.choice().description, package.values.description);
  EXPECT_EQ(dialog.choice().catid, "");

  INT_PTR result = driver.run(dialog, [&](HWND window) {
    expectStaticLayout(window);
    EXPECT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), package.values.description);
    EXPECT_EQ(mt::controlText(window, IDC_CO_ABOUT), package.values.about);
    EXPECT_EQ(mt::controlText(window, IDC_CO_CAPE_VERSION), package.values.capeVersion);
    EXPECT_EQ(mt::controlText(window, IDC_CO_COMPONENT_VERSION), package.values.componentVersion);
    EXPECT_EQ(mt::controlText(window, IDC_CO_CLSID), mt::guidText(txs::kThermoSystem.clsid));
    EXPECT_EQ(mt::controlText(window, IDC_CO_VENDOR_URL), package.values.vendorURL);
    // Shown as a package: the category of packages is the one selected.
    EXPECT_EQ(mt::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
    mt::pressEscape(window);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(boxes.count(), 0u);
  EXPECT_EQ(dialog.choice().progId, package.name);
}

TEST_F(DialogInformationTest, AComponentIsShownAndAcceptClosesWithoutAQuestion) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  dialog.SetInitialComponent(txs::kMixer.progId, "", mt::kUnitsCatid);
  EXPECT_EQ(dialog.choice().name, txs::kMixer.values.name);
  EXPECT_EQ(dialog.choice().catid, mt::kUnitsCatid);
  EXPECT_EQ(dialog.choice().parentProgId, "");
  EXPECT_EQ(dialog.choice().parentName, "");
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    expectStaticLayout(window);
    EXPECT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), txs::kMixer.values.description);
    EXPECT_EQ(mt::controlText(window, IDC_CO_CLSID), mt::guidText(txs::kMixer.clsid));
    EXPECT_EQ(mt::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), -1);  // packages are not listed
    mt::clickButton(window, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(boxes.count(), 0u);
  EXPECT_EQ(dialog.choice().progId, txs::kMixer.progId);
}

TEST_F(DialogInformationTest, AnUnknownEntryLeavesTheFieldsEmpty) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(0);
  dialog.SetInitialComponent("TxTest.Unknown.1", "", "");
  EXPECT_TRUE(dialog.staticMode());
  EXPECT_EQ(dialog.choice().clsid, "");
  EXPECT_EQ(dialog.choice().name, "");
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    for (int id : {IDC_CO_DESCRIPTION, IDC_CO_ABOUT, IDC_CO_CLSID, IDC_CO_CAPE_VERSION})
      EXPECT_EQ(mt::controlText(window, id), "") << id;
    mt::pressEscape(window);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogInformationTest, AnEmptyProgIdKeepsTheSelectionMode) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  dialog.SetInitialComponent("", "TxSamples.ThermoSystem.1", "");
  EXPECT_FALSE(dialog.staticMode());
  EXPECT_EQ(dialog.choice().parentProgId, "");
  boxes.queueAnswers({IDYES});
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CO_TREE)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
    mt::pressEscape(window);
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Do you want to abort the creation of a CAPE-OPEN component?");
}

TEST_F(DialogInformationTest, WebPageButtonsNeedAnEntryAndAUrl) {
  BrowserDouble browser;
  ASSERT_TRUE(browser.ready());
  mt::RegisteredClass bare("TxTest.NoUrl.1", {mt::kReactionSystemsCatid}, {{"Name", "No URL"}});
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32 | mt::kReactionSystems);
  driver.run(dialog, [&](HWND window) {
    // Before any entry was clicked: nothing happens.
    mt::clickButton(window, IDC_CO_VENDOR_URL);
    mt::clickButton(window, IDC_CO_HELP);
    EXPECT_EQ(boxes.count(), 0u);

    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_EQ(nodes.size(), 2u);
    const mt::TreeNode* noUrl = mt::findNode(nodes[1].children, "No URL [TxTest.NoUrl.1]");
    ASSERT_NE(noUrl, nullptr);
    mt::selectItem(window, noUrl->item);
    EXPECT_EQ(mt::controlText(window, IDC_CO_VENDOR_URL), "");
    mt::clickButton(window, IDC_CO_VENDOR_URL);
    mt::clickButton(window, IDC_CO_HELP);
    ASSERT_EQ(boxes.count(), 2u);
    for (const CapturedBox& box : boxes.boxes()) {
      EXPECT_EQ(box.text, kNoUrl);
      EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    }

    const mt::TreeNode* mixer = mt::findNode(nodes[0].children, labelOf(txs::kMixer));
    ASSERT_NE(mixer, nullptr);
    mt::selectItem(window, mixer->item);
    mt::clickButton(window, IDC_CO_VENDOR_URL);
    mt::clickButton(window, IDC_CO_HELP);
  });
  EXPECT_EQ(boxes.count(), 2u);
  int calls = 0;
  std::string log = browser.calls(&calls);
  EXPECT_EQ(calls, 2);
  const std::string missing = "error:80020004,error:80020004,error:80020004,error:80020004";
  EXPECT_EQ(log, std::string(txs::kVendorURL) + "|" + missing + "|visible\n" + txs::kHelpURL + "|" + missing +
                     "|visible\n");
}

TEST_F(DialogInformationTest, BrowserFailuresAreReported) {
  BrowserDouble browser(fakeBrowserWithoutApp);
  ASSERT_TRUE(browser.ready());
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_EQ(nodes.size(), 1u);
    const mt::TreeNode* mixer = mt::findNode(nodes[0].children, labelOf(txs::kMixer));
    ASSERT_NE(mixer, nullptr);
    mt::selectItem(window, mixer->item);
    mt::clickButton(window, IDC_CO_VENDOR_URL);
    browser.reset(fakeBrowserNavigateFails);
    mt::clickButton(window, IDC_CO_HELP);
    EXPECT_EQ(dialog.NavigateToURL("http://direct.example"), E_FAIL);
  });
  ASSERT_EQ(boxes.count(), 3u);
  EXPECT_EQ(boxes.boxes()[0].text, "Error access interface IWebBrowserApp from InternetExplorer class");
  EXPECT_EQ(boxes.boxes()[1].text, std::string("Error navigating to url '") + txs::kHelpURL + "'");
  EXPECT_EQ(boxes.boxes()[2].text, "Error navigating to url 'http://direct.example'");
  for (const CapturedBox& box : boxes.boxes()) EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(DialogInformationTest, RemoteAsksForAComputerAndRebuildsTheTree) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  std::vector<std::string> promptTexts;
  driver.onOtherDialog([&](HWND window, const std::string& caption) {
    if (caption == "Computer name input") {
      promptTexts = {mt::controlText(window, IDOK), mt::controlText(window, IDCANCEL)};
      EXPECT_NE(GetDlgItem(window, IDC_INPUTBOX_EDIT), nullptr);
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  });
  driver.run(dialog, [&](HWND window) {
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    size_t before = mt::readTree(tree).at(0).children.size();
    mt::clickButton(window, IDC_CO_REMOTE);
    char tabText[64] = "unchanged";
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = tabText;
    tab.cchTextMax = sizeof tabText;
    SendMessageA(GetDlgItem(window, IDC_CO_TAB), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(tabText, "");  // no computer chosen
    EXPECT_EQ(mt::readTree(tree).at(0).children.size(), before);
  });
  ASSERT_GE(boxes.count(), 1u);
  EXPECT_TRUE(std::regex_match(boxes.boxes()[0].text, std::regex("Shell32 version [0-9]+,[0-9]+")))
      << boxes.boxes()[0].text;
  EXPECT_EQ(boxes.boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  ASSERT_FALSE(driver.otherCaptions().empty());
  EXPECT_EQ(driver.otherCaptions()[0], "Computer name input");
  EXPECT_EQ(promptTexts, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_EQ(dialog.choice().serverName, "");
  EXPECT_EQ(dialog.catalogue().serverName(), "");
}

// One control of a template as the dialog shows it.
struct ControlSpec {
  int id;
  const char* cls;
  const char* text;
  RECT units;  // left, top, width, height in dialog units
  bool visible;
};

void expectControls(HWND window, const std::vector<ControlSpec>& specs) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  ASSERT_EQ(children.size(), specs.size());
  for (size_t i = 0; i < specs.size(); ++i) {
    const ControlSpec& spec = specs[i];
    HWND child = children[i];
    SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(spec.id));
    EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), spec.id);
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, spec.cls);
    if (spec.text) {
      char text[128] = "";
      GetWindowTextA(child, text, sizeof text);
      EXPECT_STREQ(text, spec.text);
    }
    // The dialog manager converts position and size each on its own.
    RECT mapped = spec.units;
    MapDialogRect(window, &mapped);
    RECT expected = {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
    RECT actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
    // A simple combo box may round its height to whole lines.
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    if (strcmp(cls, "ComboBox") != 0) {
      EXPECT_EQ(actual.bottom, expected.bottom);
    }
    EXPECT_EQ((GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0, spec.visible);
  }
}

// Identifier, style and extended style of a dialog and of each control, in template order,
// read from the extended template resource itself.
struct TemplateStyle {
  int id;
  DWORD style;
  DWORD exStyle;
};

std::vector<TemplateStyle> templateStyles(int templateId) {
  std::vector<TemplateStyle> styles;
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!found) return styles;
  const WORD* at = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
  if (!at || at[0] != 1 || at[1] != 0xFFFF) return styles;  // DLGTEMPLATEEX only
  auto dword = [](const WORD* w) { return static_cast<DWORD>(w[0]) | (static_cast<DWORD>(w[1]) << 16); };
  auto skipText = [](const WORD* w) {  // a name, an ordinal or nothing
    if (*w == 0xFFFF) return w + 2;
    while (*w) ++w;
    return w + 1;
  };
  DWORD style = dword(at + 6);
  styles.push_back({0, style, dword(at + 4)});
  int count = at[8];
  at = skipText(skipText(skipText(at + 13)));  // menu, class, caption
  if (style & DS_SETFONT) at = skipText(at + 3);
  for (int i = 0; i < count; ++i) {
    at = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~static_cast<ULONG_PTR>(3));
    styles.push_back({static_cast<int>(static_cast<short>(dword(at + 10))), dword(at + 4), dword(at + 2)});
    at = skipText(skipText(at + 12));  // class, text
    at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);
  }
  return styles;
}

std::string describe(const std::vector<TemplateStyle>& styles) {
  std::string text;
  char line[64];
  for (const TemplateStyle& s : styles) {
    snprintf(line, sizeof line, "%d: %08lX %08lX\n", s.id, static_cast<unsigned long>(s.style),
             static_cast<unsigned long>(s.exStyle));
    text += line;
  }
  return text;
}

TEST(TemplateStylesTest, EveryControlHasExactlyItsDeclaredStyles) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const DWORD button = child | WS_TABSTOP | BS_PUSHBUTTON;
  const DWORD label = child | WS_GROUP | SS_LEFT;
  const DWORD edit = child | WS_BORDER | WS_TABSTOP | ES_LEFT;
  const DWORD hiddenEdit = WS_CHILD | WS_BORDER | WS_TABSTOP | ES_LEFT;
  const DWORD readOnly = edit | ES_READONLY;
  const std::vector<TemplateStyle> manager = {
      {0, WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | DS_CENTER | DS_CENTERMOUSE |
              DS_SETFOREGROUND | DS_3DLOOK | DS_SETFONT, 0},
      {IDC_CO_TREE, child | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                        TVS_SINGLEEXPAND, WS_EX_CLIENTEDGE},
      {IDC_CO_REFRESH, button, 0},
      {IDOK, button, 0},
      {IDCANCEL, button, 0},
      {IDC_CO_HIDDEN_EDIT1, hiddenEdit, 0},
      {IDC_CO_HIDDEN_EDIT2, hiddenEdit, 0},
      {IDC_CO_CATEGORY, child | CBS_SIMPLE | WS_DISABLED | WS_TABSTOP, 0},
      {-1, label, 0},
      {IDC_CO_HIDDEN_LIST, child | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0},
      {IDC_CO_SHOW_PROGIDS, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT, 0},
      {IDC_CO_DESCRIPTION, readOnly | ES_MULTILINE, 0},
      {-1, label, 0},
      {IDC_CO_CAPE_VERSION, readOnly, 0},
      {-1, label, 0},
      {IDC_CO_COMPONENT_VERSION, readOnly, 0},
      {-1, label, 0},
      {-1, label, 0},
      {-1, label, 0},
      {IDC_CO_ABOUT, readOnly | ES_MULTILINE, 0},
      {IDC_CO_HELP, button, 0},
      {-1, label, 0},
      {-1, label, 0},
      {IDC_CO_REMOTE, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
      {-1, child | BS_GROUPBOX, WS_EX_TRANSPARENT},
      {-1, label, 0},
      {IDC_CO_CLSID, readOnly, 0},
      {IDC_CO_TAB, child, 0},
      {IDC_CO_VENDOR_URL, button, 0},
      {IDC_CO_DERADID, button, 0}};
  const std::vector<TemplateStyle> prompt = {
      {0, DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0},
      {IDOK, child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {IDCANCEL, button, 0},
      {IDC_INPUTBOX_EDIT, edit | ES_AUTOHSCROLL, 0},
      {-1, label, 0}};
  EXPECT_EQ(describe(manager), describe(templateStyles(IDD_CAPEOPEN_DIALOG)));
  EXPECT_EQ(describe(prompt), describe(templateStyles(IDD_INPUTBOX)));
}

TEST_F(DialogInformationTest, TheTemplatesHoldTheirControlsInTabOrder) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(0);
  driver.onOtherDialog([&](HWND window, const std::string& caption) {
    if (caption == "Computer name input") {
      RECT client;
      GetClientRect(window, &client);
      RECT size = {0, 0, 186, 95};
      MapDialogRect(window, &size);
      EXPECT_EQ(client.right, size.right);
      EXPECT_EQ(client.bottom, size.bottom);
      expectControls(window, {{IDOK, "Button", "OK", {129, 7, 50, 14}, true},
                              {IDCANCEL, "Button", "Cancel", {129, 24, 50, 14}, true},
                              {IDC_INPUTBOX_EDIT, "Edit", "", {7, 49, 121, 13}, true},
                              {-1, "Static", "Select the server that hosts the COM component.", {7, 13, 113, 18}, true}});
      // The edit's border is drawn as a sunken edge.
      HWND edit = GetDlgItem(window, IDC_INPUTBOX_EDIT);
      EXPECT_TRUE((GetWindowLongA(edit, GWL_STYLE) & WS_BORDER) ||
                  (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  driver.run(dialog, [&](HWND window) {
    char caption[128] = "";
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, mt::kManagerCaption);
    RECT client;
    GetClientRect(window, &client);
    RECT size = {0, 0, 500, 300};
    MapDialogRect(window, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    expectControls(
        window,
        {{IDC_CO_TREE, "SysTreeView32", nullptr, {4, 38, 149, 222}, true},
         {IDC_CO_REFRESH, "Button", "&Refresh", {4, 281, 60, 14}, true},
         {IDOK, "Button", "&Accept", {371, 281, 60, 14}, true},
         {IDCANCEL, "Button", "&Cancel", {437, 281, 60, 14}, true},
         {IDC_CO_HIDDEN_EDIT1, "Edit", "", {286, 269, 86, 12}, false},
         {IDC_CO_HIDDEN_EDIT2, "Edit", "", {144, 283, 75, 12}, false},
         {IDC_CO_CATEGORY, "ComboBox", nullptr, {340, 4, 157, 12}, true},
         {-1, "Static", "CAPE-OPEN Component Category", {170, 4, 157, 11}, true},
         {IDC_CO_HIDDEN_LIST, "ListBox", nullptr, {53, 274, 153, 9}, false},
         {IDC_CO_SHOW_PROGIDS, "Button", "Show ProgIDs", {222, 266, 55, 10}, false},
         {IDC_CO_DESCRIPTION, "Edit", "", {215, 24, 282, 25}, true},
         {-1, "Static", "Description", {170, 24, 43, 13}, true},
         {IDC_CO_CAPE_VERSION, "Edit", "", {215, 58, 47, 13}, true},
         {-1, "Static", "CAPE-OPEN Version", {170, 55, 43, 18}, true},
         {IDC_CO_COMPONENT_VERSION, "Edit", "", {340, 58, 157, 13}, true},
         {-1, "Static", "Component Version", {270, 58, 67, 13}, true},
         {-1, "Static", "Vendor", {170, 78, 43, 13}, true},
         {-1, "Static", "About", {170, 95, 32, 13}, true},
         {IDC_CO_ABOUT, "Edit", "", {215, 95, 282, 130}, true},
         {IDC_CO_HELP, "Button", "Component &Help", {389, 77, 108, 12}, true},
         {-1, "Static", "Click on  the tree to browse information", {8, 4, 138, 11}, true},
         {-1, "Static", "Double-click to create the selected component.", {8, 14, 151, 8}, true},
         {IDC_CO_REMOTE, "Button", "Re&mote", {67, 282, 59, 13}, false},
         {-1, "Button", "Technical information", {165, 233, 332, 35}, true},
         {-1, "Static", "CLSID", {170, 247, 30, 11}, true},
         {IDC_CO_CLSID, "Edit", "", {215, 247, 272, 13}, true},
         {IDC_CO_TAB, "SysTabControl32", nullptr, {4, 26, 151, 241}, true},
         {IDC_CO_VENDOR_URL, "Button", "&Vendor URL", {215, 78, 108, 12}, true},
         {IDC_CO_DERADID, "Button", "&DERadid", {225, 284, 60, 12}, false}});
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, IDC_CO_TREE), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // The prompt of the Remote button, inspected by the handler above.
    CInputBox prompt(window);
    EXPECT_EQ(prompt.DoModal(), IDCANCEL);
  });
  EXPECT_EQ(driver.otherCaptions(), std::vector<std::string>{"Computer name input"});
}

}  // namespace
