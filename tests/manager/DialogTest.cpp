// The Component Manager driven as a user would: the tree, rebuilds and the remote computer
// choice, Accept, Cancel and their questions, double-clicks, the web page buttons against a
// stand-in browser, a click's values, a right-click's probe, the settings file's button, the
// static-information mode, and the exact styles of its two templates.
#include <gtest/gtest.h>
#include <exdisp.h>
#include <memory>
#include <regex>
#include "diagnostics/InterfaceProbe.h"
#include "framework/ClassFactory.h"
#include "manager/AboutText.h"
#include "manager/ManagerTestSupport.h"
#include "manager/WebPage.h"
#include "resources/resource.h"

namespace {

using mt::labelOf;
using Texts = std::vector<std::string>;

const char kNoSelection[] = "No component was selected. Do you want to try again?";
const char kAbort[] = "Do you want to abort the creation of a CAPE-OPEN component?";

const CLSID kBrowserClass = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#define TX_UNUSED(method, params) STDMETHODIMP method params override { return E_NOTIMPL; }

// What the stand-in browsers do, and what they were asked: each Navigate as "<url> <for each
// optional argument: m when it is the missing-argument marker, else x> <shown or hidden>".
struct BrowserState {
  enum Mode { kNormal, kWithoutApp, kNavigateFails } mode = kNormal;
  std::string log;
} g_browser;

class FakeBrowser : public IWebBrowserApp, public fw::ObjectRoot {
 public:
  virtual ~FakeBrowser() = default;
  static const fw::InterfaceEntry* interfaceTable() {
    static const fw::InterfaceEntry entries[] = {
        {&__uuidof(IWebBrowserApp), 0}, {&__uuidof(IWebBrowser), 0}, {&IID_IDispatch, 0}, {nullptr, 0}};
    return g_browser.mode == BrowserState::kWithoutApp ? entries + 1 : entries;
  }
  STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post, VARIANT* headers) override {
    try {
      g_browser.log += narrowFromWide(url) + " ";
      for (VARIANT* value : {flags, frame, post, headers})
        g_browser.log += value && value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND ? "m" : "x";
      g_browser.log += visible_ ? " shown\n" : " hidden\n";
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    return g_browser.mode == BrowserState::kNavigateFails ? E_FAIL : S_OK;
  }
  STDMETHODIMP put_Visible(VARIANT_BOOL value) override { return visible_ = value == VARIANT_TRUE, S_OK; }
  TX_UNUSED(GetTypeInfoCount, (UINT*)) TX_UNUSED(GetTypeInfo, (UINT, LCID, ITypeInfo**))
  TX_UNUSED(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
  TX_UNUSED(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)) TX_UNUSED(GoBack, ())
  TX_UNUSED(GoForward, ()) TX_UNUSED(GoHome, ()) TX_UNUSED(GoSearch, ()) TX_UNUSED(Refresh, ())
  TX_UNUSED(Refresh2, (VARIANT*)) TX_UNUSED(Stop, ()) TX_UNUSED(get_Application, (IDispatch**))
  TX_UNUSED(get_Parent, (IDispatch**)) TX_UNUSED(get_Container, (IDispatch**)) TX_UNUSED(get_Document, (IDispatch**))
  TX_UNUSED(get_TopLevelContainer, (VARIANT_BOOL*)) TX_UNUSED(get_Type, (BSTR*)) TX_UNUSED(get_Left, (LONG*))
  TX_UNUSED(put_Left, (LONG)) TX_UNUSED(get_Top, (LONG*)) TX_UNUSED(put_Top, (LONG)) TX_UNUSED(get_Width, (LONG*))
  TX_UNUSED(put_Width, (LONG)) TX_UNUSED(get_Height, (LONG*)) TX_UNUSED(put_Height, (LONG))
  TX_UNUSED(get_LocationName, (BSTR*)) TX_UNUSED(get_LocationURL, (BSTR*)) TX_UNUSED(get_Busy, (VARIANT_BOOL*))
  TX_UNUSED(Quit, ()) TX_UNUSED(ClientToWindow, (int*, int*)) TX_UNUSED(PutProperty, (BSTR, VARIANT))
  TX_UNUSED(GetProperty, (BSTR, VARIANT*)) TX_UNUSED(get_Name, (BSTR*)) TX_UNUSED(get_HWND, (SHANDLE_PTR*))
  TX_UNUSED(get_FullName, (BSTR*)) TX_UNUSED(get_Path, (BSTR*)) TX_UNUSED(get_Visible, (VARIANT_BOOL*))
  TX_UNUSED(get_StatusBar, (VARIANT_BOOL*)) TX_UNUSED(put_StatusBar, (VARIANT_BOOL)) TX_UNUSED(get_StatusText, (BSTR*))
  TX_UNUSED(put_StatusText, (BSTR)) TX_UNUSED(get_ToolBar, (int*)) TX_UNUSED(put_ToolBar, (int))
  TX_UNUSED(get_MenuBar, (VARIANT_BOOL*)) TX_UNUSED(put_MenuBar, (VARIANT_BOOL))
  TX_UNUSED(get_FullScreen, (VARIANT_BOOL*)) TX_UNUSED(put_FullScreen, (VARIANT_BOOL))

 private:
  bool visible_ = false;
};

// The stand-in registered for the browser's class in this apartment, for the life of the
// object (the apartment's classes come before the registry's servers).
struct BrowserDouble {
  BrowserDouble() { g_browser = BrowserState(); }
  ~BrowserDouble() { if (SUCCEEDED(registration)) CoRevokeClassObject(cookie); }
  DWORD cookie = 0;
  HRESULT registration = CoRegisterClassObject(kBrowserClass, new fw::ClassFactory<FakeBrowser>, CLSCTX_INPROC_SERVER,
                                               REGCLS_MULTIPLEUSE, &cookie);
};

const CAPETreeItem* recordOf(const tx::TreeNode& node) { return reinterpret_cast<CAPETreeItem*>(node.data); }

// The tree item labelled 'label', anywhere in the dialog's tree; null when none.
HTREEITEM itemOf(HWND dialog, const std::string& label) {
  std::vector<tx::TreeNode> nodes = tx::readTree(GetDlgItem(dialog, IDC_CO_TREE));
  const tx::TreeNode* node = tx::findNode(nodes, label, true);
  return node ? node->item : nullptr;
}

// The tree holds the catalogue: each entry's label and record, in order.
void expectMirror(const std::vector<tx::TreeNode>& nodes, const std::vector<CatalogueEntry>& entries) {
  ASSERT_EQ(nodes.size(), entries.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(nodes[i].label, entries[i].label);
    EXPECT_EQ(recordOf(nodes[i]), entries[i].record) << nodes[i].label;
    expectMirror(nodes[i].children, entries[i].children);
  }
}

// The information fields: description, versions, vendor URL (the button's text), CLSID, About.
Texts shownFields(HWND dialog) {
  Texts texts;
  for (int id : {IDC_CO_DESCRIPTION, IDC_CO_CAPE_VERSION, IDC_CO_COMPONENT_VERSION, IDC_CO_VENDOR_URL, IDC_CO_CLSID,
                 IDC_CO_ABOUT})
    texts.push_back(tx::controlText(dialog, id));
  return texts;
}

class DialogTest : public mt::ManagerTest {
 protected:
  static constexpr INT_PTR kForced = tx::DialogDriver::kForced;
  // Shows the dialog once, driven by the steps; it must really have been shown.
  INT_PTR run(CCapeOpenDlg& dialog) {
    int before = driver.dialogsSeen();
    INT_PTR result = dialog.DoModal();
    EXPECT_EQ(driver.dialogsSeen(), before + 1);
    return result;
  }
  void select(HWND window, const std::string& label) {
    HTREEITEM item = itemOf(window, label);
    EXPECT_NE(item, nullptr) << label;
    tx::selectTreeItem(window, IDC_CO_TREE, item);
  }
  tx::DialogDriver driver{boxes, mt::kManagerCaption};
};

// The view stands at the first item and at its left edge, although the widest label does not fit.
void expectTreeAtStart(HWND tree, HTREEITEM first) {
  SCROLLINFO across = {sizeof across, SIF_ALL};
  EXPECT_TRUE(GetScrollInfo(tree, SB_HORZ, &across));
  EXPECT_GT(across.nMax + 1, static_cast<int>(across.nPage));
  EXPECT_EQ(across.nPos, 0);
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0), reinterpret_cast<LRESULT>(first));
}

TEST_F(DialogTest, TheTreeShowsTheCatalogueFromTheTopAndRefreshShowProgIdsAndRemoteRebuildIt) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(12 | mt::kReactionSystems);
  const Texts names = {"Thermo Property Systems", "Thermo Property Packages", "Chemical Reaction Systems"};
  tx::RegisteredClass wide("TxTest.Wide.1", {mt::kReactionSystemsCatid},
                           {{"Name", "A registered name far wider than the tree that lists it, shown from its start"}});
  std::unique_ptr<tx::RegisteredClass> added;
  driver.then([&](HWND window) {
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    std::vector<tx::TreeNode> nodes = tx::readTree(tree);
    ASSERT_EQ(tx::labels(nodes), names);
    expectMirror(nodes, dialog.catalogue().roots());
    // A system shows its packages, and the view starts at the top left.
    EXPECT_TRUE(tx::isExpanded(tree, itemOf(window, labelOf(txs::kThermoSystem))));
    expectTreeAtStart(tree, nodes[0].item);
    EXPECT_EQ(tx::comboEntries(GetDlgItem(window, IDC_CO_CATEGORY)), names);
    EXPECT_EQ(tx::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 0);
    EXPECT_EQ(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(192, 192, 192)));
    EXPECT_EQ(tx::tabTexts(window, IDC_CO_TAB), Texts{"Registered Components"});
    EXPECT_TRUE(SendMessageA(window, WM_GETICON, ICON_BIG, 0) && SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    LOGFONTA font = {};
    HGDIOBJ vendorFont = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(window, IDC_CO_VENDOR_URL, WM_GETFONT, 0, 0));
    EXPECT_TRUE(vendorFont && GetObjectA(vendorFont, sizeof font, &font) && font.lfUnderline);
    for (int id : {IDC_CO_HIDDEN_EDIT1, IDC_CO_HIDDEN_EDIT2})
      EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & ES_READONLY) << id;
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_CO_HIDDEN_LIST)));

    // Remote asks for a computer: the prompt and the shell's computer browser are cancelled.
    for (int button : {IDC_CO_REFRESH, IDC_CO_SHOW_PROGIDS, IDC_CO_REMOTE}) {
      SCOPED_TRACE(button);
      select(window, labelOf(txs::kThermoSystem));
      ASSERT_NE(dialog.currentItem(), nullptr);
      // A class registered meanwhile is there after the rebuild, named in any script.
      std::string progId = u8"TxTest.\u041D\u0430\u0441\u043E\u0441" + std::to_string(button) + ".1";
      added.reset(new tx::RegisteredClass(progId, {mt::kReactionSystemsCatid}, {{"Name", tx::kScriptsText}}));
      tx::clickButton(window, button);
      EXPECT_NE(itemOf(window, tx::kScriptsText + (" [" + progId + "]")), nullptr);
      EXPECT_EQ(dialog.currentItem(), nullptr);
      EXPECT_EQ(tx::comboEntries(GetDlgItem(window, IDC_CO_CATEGORY)), names);
      nodes = tx::readTree(tree);
      ASSERT_EQ(tx::labels(nodes), names);
      expectMirror(nodes, dialog.catalogue().roots());
      expectTreeAtStart(tree, nodes[0].item);
    }
    EXPECT_EQ(tx::tabTexts(window, IDC_CO_TAB), Texts{""});  // no computer chosen
  });
  EXPECT_EQ(run(dialog), kForced);
  // Closing the window frees the records of the last build.
  EXPECT_EQ(dialog.catalogue().recordCount(), 0u);
  EXPECT_EQ(dialog.choice().serverName + dialog.catalogue().serverName(), "");
  ASSERT_FALSE(driver.otherDialogs().empty());
  EXPECT_EQ(driver.otherDialogs()[0], "Computer name input");
  ASSERT_GE(boxes.count(), 1u);
  EXPECT_TRUE(std::regex_match(boxes.boxes()[0].text, std::regex("Shell32 version [0-9]+,[0-9]+")))
      << boxes.boxes()[0].text;
  EXPECT_EQ(boxes.boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

// What Accept, Cancel, the Escape key and a double-click lead to, after a click on an entry
// or none, with the answer to the question that Accept without a choice and Cancel ask.
TEST_F(DialogTest, ChoicesAndQuestions) {
  const int kAccept = IDOK, kCancel = IDCANCEL, kEscape = 0, kDoubleClick = -1;  // else: the button clicked
  const std::string systems = "Thermo Property Systems", system = labelOf(txs::kThermoSystem);
  const std::string units = "Unit Operations", mixer = labelOf(txs::kMixer);
  struct Row {
    long filter;
    Texts path;  // the labels down to the entry clicked first
    int action, answer;
    const char* question;  // null: none
    INT_PTR result;
    bool chosen;  // the entry, with its parent, becomes the choice
  } rows[] = {{32, {}, kAccept, IDYES, kNoSelection, kForced, false},  // Yes: try again
              {32, {}, kAccept, IDNO, kNoSelection, IDOK, false},
              // While systems or packages are wanted, a system is no choice: its packages are.
              {12, {systems, system}, kAccept, IDYES, kNoSelection, kForced, false},
              {12, {systems, system, txs::kSystemPackages[1].name}, kAccept, 0, nullptr, IDOK, true},
              {32, {units, mixer}, kCancel, IDNO, kAbort, kForced, false},  // browsing takes nothing
              {32, {units, mixer}, kEscape, IDYES, kAbort, IDCANCEL, false},
              // A double-click never asks.
              {32, {units, mixer}, kDoubleClick, 0, nullptr, IDOK, true},
              {4, {systems}, kDoubleClick, 0, nullptr, kForced, false},
              {4, {systems, system}, kDoubleClick, 0, nullptr, kForced, false}};
  const Row* row = nullptr;
  CCapeOpenDlg* dialog = nullptr;
  HWND shown = nullptr;
  driver.then([&](HWND window) {
    shown = window;
    std::vector<tx::TreeNode> nodes = tx::readTree(GetDlgItem(window, IDC_CO_TREE));
    const tx::TreeNode *node = nullptr, *parent = nullptr;
    for (const std::string& label : row->path) {
      parent = node;
      node = tx::findNode(node ? node->children : nodes, label);
      ASSERT_NE(node, nullptr) << label;
    }
    if (node) tx::selectTreeItem(window, IDC_CO_TREE, node->item);
    if (row->action > 0) tx::clickButton(window, row->action);
    else if (row->action == kEscape) tx::pressEscape(window);
    else tx::notifyTree(window, IDC_CO_TREE, NM_DBLCLK);
    if (!row->chosen) return;
    // The records go with the window: compared while it is open.
    const CAPETreeItem& entry = *recordOf(*node);
    const CAPETreeItem* up = parent ? recordOf(*parent) : nullptr;
    const ComponentChoice& choice = dialog->choice();
    EXPECT_EQ((Texts{choice.progId, choice.clsid, choice.catid, choice.name, choice.description, choice.about,
                     choice.capeVersion, choice.componentVersion, choice.vendorURL, choice.helpURL,
                     choice.parentProgId, choice.parentName}),
              (Texts{entry.progid, entry.clsid, entry.catid, entry.name, entry.description, entry.about,
                     entry.capeVersion, entry.componentVersion, entry.vendorURL, entry.helpURL,
                     up ? up->progid : "", up ? up->name : ""}));
  });
  for (const Row& current : rows) {
    SCOPED_TRACE((current.path.empty() ? "nothing" : current.path.back()) + " " + std::to_string(current.action) +
                 " " + std::to_string(current.answer));
    row = &current;
    boxes.clear();
    if (current.answer) boxes.queueAnswers({current.answer});
    CCapeOpenDlg shownDialog(nullptr);
    dialog = &shownDialog;
    shownDialog.setFilter(current.filter);
    EXPECT_EQ(run(shownDialog), current.result);
    EXPECT_EQ(boxes.texts(), current.question ? Texts{current.question} : Texts{});
    for (const CapturedBox& box : boxes.boxes()) {
      EXPECT_EQ(box.caption, mt::kQuestionCaption);
      EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
      EXPECT_EQ(box.owner, shown);
    }
    EXPECT_EQ(shownDialog.choice().progId.empty(), !current.chosen);
    EXPECT_EQ(shownDialog.choice().catid.empty(), !current.chosen);
  }
}

TEST_F(DialogTest, WebPageButtonsThenAClickShowsTheEntrysValuesAndARightClickProbesIt) {
  BrowserDouble browser;
  ASSERT_EQ(browser.registration, S_OK);
  tx::RegisteredClass bare("TxTest.NoUrl.1", {mt::kReactionSystemsCatid}, {{"Name", "No URL"}});
  tx::RegisteredClass odd("TxTest.OddAbout.1", {mt::kReactionSystemsCatid},
                          {{"Name", "Odd About"}, {"Description", "shown"}, {"About", "%0 hidden"}});
  tx::RegisteredClass serverless("TxTest.Serverless.1", {mt::kReactionSystemsCatid}, {{"Name", "Serverless"}});
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(4 | 32 | mt::kReactionSystems);
  const std::string help = txs::kHelpURL, noUrl = "Component does not provide any URL for that field";
  const std::string direct = std::string("http://direct.example/") + tx::kScriptsText;
  driver.then([&](HWND window) {
    // The web page buttons, first before any entry was clicked: nothing happens.
    auto clickBoth = [&](const std::string& label) {
      if (!label.empty()) select(window, label);
      tx::clickButton(window, IDC_CO_VENDOR_URL);
      tx::clickButton(window, IDC_CO_HELP);
    };
    clickBoth("");
    EXPECT_EQ(boxes.count(), 0u);
    clickBoth("No URL [TxTest.NoUrl.1]");
    EXPECT_EQ(tx::controlText(window, IDC_CO_VENDOR_URL), "");
    clickBoth(labelOf(txs::kMixer));
    EXPECT_EQ(boxes.texts(), Texts(2, noUrl));
    // The browser without its application interface, then failing to navigate.
    g_browser.mode = BrowserState::kWithoutApp;
    tx::clickButton(window, IDC_CO_VENDOR_URL);
    g_browser.mode = BrowserState::kNavigateFails;
    tx::clickButton(window, IDC_CO_HELP);
    EXPECT_EQ(NavigateToURL(direct), E_FAIL);
    EXPECT_EQ(boxes.texts(), (Texts{noUrl, noUrl, "Error access interface IWebBrowserApp from InternetExplorer class",
                                    "Error navigating to url '" + help + "'",
                                    "Error navigating to url '" + direct + "'"}));
    for (const CapturedBox& box : boxes.boxes()) EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    boxes.clear();
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    std::vector<tx::TreeNode> nodes = tx::readTree(tree);
    const tx::TreeNode* escapes = tx::findNode(nodes, labelOf(txs::kAboutEscapes), true);
    ASSERT_TRUE(nodes.size() == 3 && escapes);
    const CAPETreeItem& record = *recordOf(*escapes);
    tx::selectTreeItem(window, IDC_CO_TREE, escapes->item);
    // "\n" and "%n" break lines, "%%" is one percent sign, "%1" stays.
    EXPECT_EQ(shownFields(window), (Texts{record.description, record.capeVersion, record.componentVersion,
                                          record.vendorURL, record.clsid,
                                          "First line\r\nsecond \r\n third % fourth %1 end"}));
    EXPECT_TRUE(tx::isEnabled(window, IDC_CO_VENDOR_URL) && tx::isEnabled(window, IDC_CO_HELP));
    EXPECT_EQ(tx::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
    EXPECT_EQ(dialog.currentItem(), &record);
    // A category empties the fields and disables the page buttons; the category shown and
    // the current entry stay.
    tx::selectTreeItem(window, IDC_CO_TREE, nodes[0].item);
    EXPECT_EQ(shownFields(window), Texts(6));
    EXPECT_FALSE(tx::isEnabled(window, IDC_CO_VENDOR_URL) || tx::isEnabled(window, IDC_CO_HELP));
    EXPECT_EQ(tx::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
    EXPECT_EQ(dialog.currentItem(), &record);
    EXPECT_EQ(boxes.count(), 0u);
    // An About that the formatter cannot take stops the fields with a message.
    select(window, "Odd About [TxTest.OddAbout.1]");
    EXPECT_EQ(shownFields(window), (Texts{"shown", "", "", "", "", ""}));
    EXPECT_EQ(boxes.texts(), Texts{"Unexpected error in browseComponentInfoCAPETREEITEM*). clsid:, progid:, parent: "});
    EXPECT_EQ(boxes.count() ? boxes.boxes()[0].type : 0u, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    // A right-click: the lines under the entry afterwards.
    auto probe = [&](const std::string& label) {
      select(window, label);
      tx::notifyTree(window, IDC_CO_TREE, NM_RCLICK);
      std::vector<tx::TreeNode> after = tx::readTree(tree);
      const tx::TreeNode* node = tx::findNode(after, label, true);
      return node ? node->children : std::vector<tx::TreeNode>(1);
    };
    // The probe's lines, in its order, without records; the entry opens.
    boxes.clear();
    std::vector<tx::TreeNode> lines = probe(labelOf(txs::kMixer));
    EXPECT_EQ(lines.size(), 20u);
    EXPECT_EQ(tx::labels(lines), probeComponent(txs::kMixer.progId).lines);
    for (const tx::TreeNode& line : lines) EXPECT_EQ(line.data, 0);
    EXPECT_TRUE(tx::isExpanded(tree, itemOf(window, labelOf(txs::kMixer))));
    // A category has no record: nothing to probe.
    EXPECT_EQ(probe("Unit Operations").size(), nodes[1].children.size());
    EXPECT_EQ(boxes.count(), 0u);
    // An entry that cannot be created: the messages, no line. A package is probed by its name.
    for (const std::string& name : {std::string("TxTest.Serverless.1"), std::string(txs::kSystemPackages[0].name)}) {
      boxes.clear();
      EXPECT_TRUE(probe(name == "TxTest.Serverless.1" ? "Serverless [TxTest.Serverless.1]" : name).empty());
      ASSERT_EQ(boxes.count(), 2u);
      EXPECT_NE(boxes.boxes()[0].text.find("Error creating interface"), std::string::npos) << boxes.boxes()[0].text;
      EXPECT_EQ(boxes.boxes()[1].text, "The object " + name + " is not registered in the registration database.");
      EXPECT_EQ(boxes.boxes()[1].caption, "TxCOGUI");
      EXPECT_EQ(boxes.boxes()[1].owner, window);
      EXPECT_EQ(boxes.boxes()[1].type, static_cast<UINT>(MB_OK));
    }
  });
  EXPECT_EQ(run(dialog), kForced);
  // Shown before it navigates, with the four optional arguments missing.
  EXPECT_EQ(g_browser.log, std::string(txs::kVendorURL) + " mmmm shown\n" + help + " mmmm shown\n" + help +
                             " mmmm shown\n" + direct + " mmmm shown\n");
}

TEST_F(DialogTest, TheDeradidButtonFollowsTheSettingsFile) {
  const std::string ini = MTUtils::getDllDirectory() + "\\TxCOGUI.ini";
  struct Restore {  // the settings file as it was
    std::string path, saved;
    bool existed;
    ~Restore() { existed ? (void)tx::writeFile(path, saved) : (void)DeleteFileA(path.c_str()); }
  } restore{ini, tx::readFile(ini), tx::fileExists(ini)};
  struct Row {
    const char* content;  // null: no file
    bool shown;
  } rows[] = {{nullptr, false}, {"[general]\r\nDERadid=1\r\n", true}, {"[general]\r\nDERadid=1   \r\n", true},
              {"[general]\r\nDERadid=0\r\n", false}, {"[general]\r\nDERadid=11\r\n", false},
              {"[other]\r\nDERadid=1\r\n", false}};
  bool visible = false;
  driver.then([&](HWND window) { visible = IsWindowVisible(GetDlgItem(window, IDC_CO_DERADID)) != FALSE; });
  for (const Row& row : rows) {
    if (row.content) tx::writeFile(restore.path, row.content);
    else DeleteFileA(restore.path.c_str());
    CCapeOpenDlg dialog(nullptr);
    dialog.setFilter(0);
    visible = !row.shown;
    run(dialog);
    EXPECT_EQ(visible, row.shown) << (row.content ? row.content : "no file");
  }
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogTest, AnEntryNamedByTheHostIsShownWithoutTheTree) {
  const txs::PackageData& package = txs::kSystemPackages[2];
  tx::RegisteredClass scripts("TxTest.Scripts.1", {mt::kReactionSystemsCatid},
                             {{"Name", tx::kScriptsText}, {"Description", tx::kScriptsText}, {"About", tx::kScriptsText}});
  struct Row {
    long filter;
    std::string progId, parent, catid;
    bool staticMode;
    // The choice, filled before the dialog runs (the host may never show it).
    std::string clsid, name, parentName, description;
    int category, button;  // the selection of the category box; 0: the Escape key
    INT_PTR result;
  } rows[] = {
      // A package from its system's key, shown as a package.
      {12, package.name, txs::kThermoSystem.progId, "", true, guidText(txs::kThermoSystem.clsid), package.name,
       txs::kThermoSystem.values.name, package.values.description, 1, 0, IDCANCEL},
      // A component whose category is not listed.
      {32, txs::kMixer.progId, "", mt::kUnitsCatid, true, guidText(txs::kMixer.clsid), txs::kMixer.values.name, "",
       txs::kMixer.values.description, -1, IDOK, IDOK},
      // Registered values in any script.
      {0, "TxTest.Scripts.1", "", "", true, scripts.clsid(), tx::kScriptsText, "", tx::kScriptsText, -1, IDOK, IDOK},
      // An unknown entry: an empty choice, the fields as the template has them.
      {0, "TxTest.Unknown.1", "", "", true, "", "", "", "", -1, 0, IDCANCEL},
      // No ProgID: the selection mode, which asks before it closes.
      {32, "", txs::kThermoSystem.progId, "", false, "", "", "", "", 0, 0, IDCANCEL}};
  const Row* row = nullptr;
  const CCapeOpenDlg* shown = nullptr;
  driver.then([&](HWND window) {
    // The static-information mode leaves Accept and Escape; selection adds tree, tab, Refresh, Cancel.
    for (int id : {IDC_CO_TREE, IDC_CO_TAB, IDC_CO_REFRESH}) EXPECT_EQ(tx::isEnabled(window, id), !row->staticMode);
    EXPECT_EQ(IsWindowVisible(GetDlgItem(window, IDCANCEL)) != FALSE, !row->staticMode);
    EXPECT_TRUE(tx::isEnabled(window, IDOK));
    const ComponentChoice& choice = shown->choice();
    const bool unknown = row->staticMode && choice.clsid.empty();
    EXPECT_EQ(shownFields(window), (Texts{choice.description, choice.capeVersion, choice.componentVersion,
                                          unknown ? "&Vendor URL" : choice.vendorURL, choice.clsid,
                                          formatAboutText(choice.about)}));
    EXPECT_EQ(tx::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), row->category);
    if (row->button) tx::clickButton(window, row->button);
    else tx::pressEscape(window);
  });
  for (const Row& current : rows) {
    SCOPED_TRACE(current.progId);
    row = &current;
    boxes.clear();
    if (!current.staticMode) boxes.queueAnswers({IDYES});
    CCapeOpenDlg dialog(nullptr);
    shown = &dialog;
    dialog.setFilter(current.filter);
    dialog.SetInitialComponent(current.progId, current.parent, current.catid);
    const ComponentChoice& choice = dialog.choice();
    const std::string progId = current.clsid.empty() ? "" : current.progId;
    EXPECT_EQ(dialog.staticMode(), current.staticMode);
    EXPECT_EQ((Texts{choice.progId, choice.parentProgId, choice.catid, choice.clsid, choice.name, choice.parentName,
                     choice.description}),
              (Texts{progId, current.staticMode ? current.parent : "", current.catid, current.clsid,
                     current.name, current.parentName, current.description}));
    EXPECT_EQ(run(dialog), current.result);
    EXPECT_EQ(boxes.texts(), current.staticMode ? Texts{} : Texts{kAbort});
    EXPECT_EQ(choice.progId, progId);
  }
}

// The resource compiler keeps the names of classes in upper case.
std::string controlLine(int id, std::string cls, const std::string& text, DWORD style, DWORD exStyle) {
  char numbers[48];
  snprintf(numbers, sizeof numbers, " %08lX %08lX\n", style, exStyle);
  for (char& c : cls) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return std::to_string(id) + " " + cls + " '" + text + "'" + numbers;
}

// Identifier, class, text, style and extended style of a dialog (class and text empty)
// and of each control in template order, which is the tab order, read from the template.
std::string describeTemplate(int templateId) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
  const WORD* at = found ? static_cast<const WORD*>(LockResource(LoadResource(nullptr, found))) : nullptr;
  if (!at || at[0] != 1 || at[1] != 0xFFFF) return "not an extended template";
  auto dword = [](const WORD* w) { return static_cast<DWORD>(w[0]) | (static_cast<DWORD>(w[1]) << 16); };
  auto text = [](const WORD*& w) {  // a name, an ordinal (the predefined classes) or nothing
    static const char* const classes[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    std::string result;
    if (*w == 0xFFFF) result = w[1] >= 0x80 && w[1] <= 0x85 ? classes[w[1] - 0x80] : "#" + std::to_string(w[1]), w += 2;
    else { while (*w) result += static_cast<char>(*w++); ++w; }
    return result;
  };
  DWORD style = dword(at + 6);
  std::string result = controlLine(0, "", "", style, dword(at + 4));
  int count = at[8];
  at += 13;
  text(at), text(at), text(at);  // menu, class, caption
  if (style & DS_SETFONT) at += 3, text(at);
  for (int i = 0; i < count; ++i) {
    at = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~static_cast<ULONG_PTR>(3));
    const WORD* item = at;
    at += 12;
    std::string cls = text(at), title = text(at);
    result += controlLine(static_cast<short>(dword(item + 10)), cls, title, dword(item + 4), dword(item + 2));
    at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);
  }
  return result;
}

TEST(TemplateStylesTest, EveryControlHasExactlyItsDeclaredStyles) {
  struct Control {
    int id;
    const char *cls, *text;
    DWORD style, exStyle;
  };
  const DWORD child = WS_CHILD | WS_VISIBLE, button = child | WS_TABSTOP | BS_PUSHBUTTON;
  const DWORD label = child | WS_GROUP | SS_LEFT, edit = child | WS_BORDER | WS_TABSTOP | ES_LEFT;
  const DWORD hiddenEdit = WS_CHILD | WS_BORDER | WS_TABSTOP | ES_LEFT, readOnly = edit | ES_READONLY;
  const std::vector<Control> manager = {
      {0, "", "", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | DS_CENTER |
                      DS_CENTERMOUSE | DS_SETFOREGROUND | DS_3DLOOK | DS_SETFONT, 0},
      {IDC_CO_TREE, "SysTreeView32", "Tree1", child | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                                  TVS_SHOWSELALWAYS | TVS_SINGLEEXPAND, WS_EX_CLIENTEDGE},
      {IDC_CO_REFRESH, "Button", "&Refresh", button, 0}, {IDOK, "Button", "&Accept", button, 0},
      {IDCANCEL, "Button", "&Cancel", button, 0}, {IDC_CO_HIDDEN_EDIT1, "Edit", "", hiddenEdit, 0},
      {IDC_CO_HIDDEN_EDIT2, "Edit", "", hiddenEdit, 0},
      {IDC_CO_CATEGORY, "ComboBox", "", child | CBS_SIMPLE | WS_DISABLED | WS_TABSTOP, 0},
      {-1, "Static", "CAPE-OPEN Component Category", label, 0},
      {IDC_CO_HIDDEN_LIST, "ListBox", "", child | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL |
                                              WS_TABSTOP, 0},
      {IDC_CO_SHOW_PROGIDS, "Button", "Show ProgIDs", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT, 0},
      {IDC_CO_DESCRIPTION, "Edit", "", readOnly | ES_MULTILINE, 0}, {-1, "Static", "Description", label, 0},
      {IDC_CO_CAPE_VERSION, "Edit", "", readOnly, 0}, {-1, "Static", "CAPE-OPEN Version", label, 0},
      {IDC_CO_COMPONENT_VERSION, "Edit", "", readOnly, 0}, {-1, "Static", "Component Version", label, 0},
      {-1, "Static", "Vendor", label, 0}, {-1, "Static", "About", label, 0},
      {IDC_CO_ABOUT, "Edit", "", readOnly | ES_MULTILINE, 0}, {IDC_CO_HELP, "Button", "Component &Help", button, 0},
      {-1, "Static", "Click on  the tree to browse information", label, 0},
      {-1, "Static", "Double-click to create the selected component.", label, 0},
      {IDC_CO_REMOTE, "Button", "Re&mote", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
      {-1, "Button", "Technical information", child | BS_GROUPBOX, WS_EX_TRANSPARENT},
      {-1, "Static", "CLSID", label, 0}, {IDC_CO_CLSID, "Edit", "", readOnly, 0},
      {IDC_CO_TAB, "SysTabControl32", "Tab1", child, 0}, {IDC_CO_VENDOR_URL, "Button", "&Vendor URL", button, 0},
      {IDC_CO_DERADID, "Button", "&DERadid", button, 0}};
  const std::vector<Control> prompt = {
      {0, "", "", DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0},
      {IDOK, "Button", "OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0}, {IDCANCEL, "Button", "Cancel", button, 0},
      {IDC_INPUTBOX_EDIT, "Edit", "", edit | ES_AUTOHSCROLL, 0},
      {-1, "Static", "Select the server that hosts the COM component.", label, 0}};
  for (auto table : {std::make_pair(IDD_CAPEOPEN_DIALOG, &manager), std::make_pair(IDD_INPUTBOX, &prompt)}) {
    std::string expected;
    for (const Control& c : *table.second) expected += controlLine(c.id, c.cls, c.text, c.style, c.exStyle);
    EXPECT_EQ(describeTemplate(table.first), expected) << table.first;
  }
}

}  // namespace
