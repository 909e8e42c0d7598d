// The Component Manager in selection mode, driven as a user would: the tree and combo box
// it shows, the registered values of a clicked entry, and what Accept, a double-click and
// Cancel hand back.
#include <gtest/gtest.h>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

using mt::ManagerDriver;

const char kNoSelection[] = "No component was selected. Do you want to try again?";
const char kAbort[] = "Do you want to abort the creation of a CAPE-OPEN component?";

class DialogSelectionTest : public mt::DialogTest {};

using mt::labelOf;

const CAPETreeItem* recordOf(const mt::TreeNode* node) {
  return node ? reinterpret_cast<const CAPETreeItem*>(node->data) : nullptr;
}

TEST_F(DialogSelectionTest, TheTreeAndComboBoxShowTheCatalogue) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(12);
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    std::vector<mt::TreeNode> nodes = mt::readTree(tree);
    ASSERT_EQ(mt::labels(nodes), (std::vector<std::string>{"Thermo Property Systems", "Thermo Property Packages"}));
    EXPECT_EQ(nodes[0].data, 0);
    EXPECT_EQ(nodes[1].data, 0);
    const mt::TreeNode* system = mt::findNode(nodes[0].children, labelOf(txs::kThermoSystem));
    ASSERT_NE(system, nullptr);
    ASSERT_NE(recordOf(system), nullptr);
    EXPECT_EQ(recordOf(system)->progid, txs::kThermoSystem.progId);
    EXPECT_TRUE(mt::isExpanded(tree, system->item));
    ASSERT_EQ(system->children.size(), static_cast<size_t>(txs::kSystemPackageCount));
    for (int i = 0; i < txs::kSystemPackageCount; ++i) {
      EXPECT_EQ(system->children[i].label, txs::kSystemPackages[i].name);
      ASSERT_NE(recordOf(&system->children[i]), nullptr);
      EXPECT_EQ(recordOf(&system->children[i])->progid, txs::kSystemPackages[i].name);
      EXPECT_EQ(recordOf(&system->children[i])->clsid, mt::guidText(txs::kThermoSystem.clsid));
    }
    // Message lines carry no record.
    const mt::TreeNode* empty = mt::findNode(nodes[0].children, labelOf(txs::kEmptyPackageList));
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(empty->children.size(), 1u);
    EXPECT_EQ(empty->children[0].label, "No CAPE-OPEN Property Packages currently available");
    EXPECT_EQ(empty->children[0].data, 0);
    const mt::TreeNode* standalone = mt::findNode(nodes[1].children, labelOf(txs::kPropertyPackage));
    ASSERT_NE(standalone, nullptr);
    EXPECT_EQ(recordOf(standalone)->catid, mt::kPackagesCatid);

    // The view starts at the top: the tree, focused, selects its first category.
    EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0), reinterpret_cast<LRESULT>(nodes[0].item));
    HWND combo = GetDlgItem(window, IDC_CO_CATEGORY);
    EXPECT_EQ(mt::comboEntries(combo), (std::vector<std::string>{"Thermo Property Systems", "Thermo Property Packages"}));
    EXPECT_EQ(mt::comboSelection(combo), 0);
    EXPECT_FALSE(IsWindowEnabled(combo));

    EXPECT_EQ(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(192, 192, 192)));
    HWND tab = GetDlgItem(window, IDC_CO_TAB);
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 1);
    char tabText[64] = "";
    TCITEMA tabItem = {};
    tabItem.mask = TCIF_TEXT;
    tabItem.pszText = tabText;
    tabItem.cchTextMax = sizeof tabText;
    SendMessageA(tab, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tabItem));
    EXPECT_STREQ(tabText, "Registered Components");
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
    LOGFONTA font = {};
    HFONT vendorFont = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(window, IDC_CO_VENDOR_URL), WM_GETFONT, 0, 0));
    ASSERT_NE(vendorFont, nullptr);
    GetObjectA(vendorFont, sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_CO_HIDDEN_LIST)));
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, IDC_CO_HIDDEN_EDIT1), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, IDC_CO_HIDDEN_EDIT2), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
    EXPECT_TRUE(IsWindowEnabled(tree));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CO_REFRESH)));
  });
  EXPECT_EQ(result, ManagerDriver::kForced);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogSelectionTest, FiltersWithoutACategoryBitShowAnEmptyTree) {
  for (long filter : {0L, 65536L}) {
    CCapeOpenDlg dialog(nullptr);
    dialog.setFilter(filter);
    ManagerDriver perRun(boxes);
    perRun.run(dialog, [&](HWND window) {
      EXPECT_TRUE(mt::readTree(GetDlgItem(window, IDC_CO_TREE)).empty()) << filter;
      EXPECT_TRUE(mt::comboEntries(GetDlgItem(window, IDC_CO_CATEGORY)).empty()) << filter;
    });
    EXPECT_TRUE(perRun.scriptRan());
  }
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogSelectionTest, AcceptOnASystemAsksAndOnAPackageTakesThePackage) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(12);
  boxes.queueAnswers({IDYES});
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_FALSE(nodes.empty());
    const mt::TreeNode* system = mt::findNode(nodes[0].children, labelOf(txs::kThermoSystem));
    ASSERT_NE(system, nullptr);
    mt::selectItem(window, system->item);
    mt::clickButton(window, IDOK);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, kNoSelection);
    EXPECT_EQ(boxes.boxes()[0].caption, mt::kQuestionCaption);
    EXPECT_EQ(boxes.boxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.boxes()[0].owner, window);
    ASSERT_TRUE(IsWindowVisible(window));  // Yes: try again
    mt::selectItem(window, system->children[1].item);
    mt::clickButton(window, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  EXPECT_EQ(boxes.count(), 1u);
  const ComponentChoice& choice = dialog.choice();
  const txs::PackageData& package = txs::kSystemPackages[1];
  EXPECT_EQ(choice.progId, package.name);
  EXPECT_EQ(choice.clsid, mt::guidText(txs::kThermoSystem.clsid));
  EXPECT_EQ(choice.catid, mt::kPackagesCatid);
  EXPECT_EQ(choice.name, package.name);
  EXPECT_EQ(choice.parentProgId, txs::kThermoSystem.progId);
  EXPECT_EQ(choice.parentName, txs::kThermoSystem.values.name);
  EXPECT_EQ(choice.description, package.values.description);
  EXPECT_EQ(choice.about, package.values.about);
  EXPECT_EQ(choice.capeVersion, package.values.capeVersion);
  EXPECT_EQ(choice.componentVersion, package.values.componentVersion);
  EXPECT_EQ(choice.vendorURL, package.values.vendorURL);
  EXPECT_EQ(choice.helpURL, package.values.helpURL);
  EXPECT_EQ(choice.serverName, "");
}

TEST_F(DialogSelectionTest, ADoubleClickOnAUnitOperationClosesAtOnce) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_EQ(mt::labels(nodes), std::vector<std::string>{"Unit Operations"});
    const mt::TreeNode* mixer = mt::findNode(nodes[0].children, labelOf(txs::kMixer));
    ASSERT_NE(mixer, nullptr);
    mt::selectItem(window, mixer->item);
    mt::notifyTree(window, NM_DBLCLK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(boxes.count(), 0u);
  EXPECT_EQ(dialog.choice().progId, txs::kMixer.progId);
  EXPECT_EQ(dialog.choice().catid, mt::kUnitsCatid);
  EXPECT_EQ(dialog.choice().name, txs::kMixer.values.name);
  EXPECT_EQ(dialog.choice().parentProgId, "");
  EXPECT_EQ(dialog.choice().parentName, "");
}

TEST_F(DialogSelectionTest, ADoubleClickOnACategoryOrASystemStaysOpenWithoutAQuestion) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(4);
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_FALSE(nodes.empty());
    mt::selectItem(window, nodes[0].item);
    mt::notifyTree(window, NM_DBLCLK);
    EXPECT_TRUE(IsWindowVisible(window));
    const mt::TreeNode* system = mt::findNode(nodes[0].children, labelOf(txs::kThermoSystem));
    ASSERT_NE(system, nullptr);
    mt::selectItem(window, system->item);
    mt::notifyTree(window, NM_DBLCLK);
    EXPECT_TRUE(IsWindowVisible(window));
  });
  EXPECT_EQ(result, ManagerDriver::kForced);
  EXPECT_EQ(boxes.count(), 0u);
  EXPECT_EQ(dialog.choice().progId, "");
}

TEST_F(DialogSelectionTest, AcceptWithoutAChoiceAndNoClosesWithoutProgId) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  boxes.queueAnswers({IDNO});
  INT_PTR result = driver.run(dialog, [&](HWND window) { mt::clickButton(window, IDOK); });
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, kNoSelection);
  EXPECT_EQ(dialog.choice().progId, "");
}

TEST_F(DialogSelectionTest, CancelAsksAndClosesOnlyOnYes) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  boxes.queueAnswers({IDNO, IDYES});
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_FALSE(nodes.empty());
    const mt::TreeNode* mixer = mt::findNode(nodes[0].children, labelOf(txs::kMixer));
    ASSERT_NE(mixer, nullptr);
    mt::selectItem(window, mixer->item);  // browsing takes nothing
    mt::clickButton(window, IDCANCEL);
    EXPECT_TRUE(IsWindowVisible(window));
    mt::pressEscape(window);
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(boxes.count(), 2u);
  for (const CapturedBox& box : boxes.boxes()) {
    EXPECT_EQ(box.text, kAbort);
    EXPECT_EQ(box.caption, mt::kQuestionCaption);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  }
  EXPECT_EQ(dialog.choice().progId, "");
  EXPECT_EQ(dialog.choice().catid, "");
}

TEST_F(DialogSelectionTest, ClickingAnEntryShowsItsValuesAndACategoryEmptiesThem) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(4 | 32);
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_EQ(mt::labels(nodes), (std::vector<std::string>{"Thermo Property Systems", "Unit Operations"}));
    const mt::TreeNode* escapes = mt::findNode(nodes[1].children, labelOf(txs::kAboutEscapes));
    ASSERT_NE(escapes, nullptr);
    mt::selectItem(window, escapes->item);
    const txs::CapeValues& values = txs::kAboutEscapes.values;
    EXPECT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), values.description);
    EXPECT_EQ(mt::controlText(window, IDC_CO_CAPE_VERSION), values.capeVersion);
    EXPECT_EQ(mt::controlText(window, IDC_CO_COMPONENT_VERSION), values.componentVersion);
    EXPECT_EQ(mt::controlText(window, IDC_CO_VENDOR_URL), values.vendorURL);
    EXPECT_EQ(mt::controlText(window, IDC_CO_CLSID), mt::guidText(txs::kAboutEscapes.clsid));
    // "\n" and "%n" break lines, "%%" is one percent sign, "%1" stays.
    EXPECT_EQ(mt::controlText(window, IDC_CO_ABOUT), "First line\r\nsecond \r\n third % fourth %1 end");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CO_VENDOR_URL)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CO_HELP)));
    EXPECT_EQ(mt::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
    EXPECT_EQ(dialog.currentItem(), recordOf(escapes));

    mt::selectItem(window, nodes[0].item);
    for (int id : {IDC_CO_DESCRIPTION, IDC_CO_CAPE_VERSION, IDC_CO_COMPONENT_VERSION, IDC_CO_ABOUT, IDC_CO_CLSID,
                   IDC_CO_VENDOR_URL})
      EXPECT_EQ(mt::controlText(window, id), "") << id;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CO_VENDOR_URL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CO_HELP)));
    // The shown category and the current item stay.
    EXPECT_EQ(mt::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
    EXPECT_EQ(dialog.currentItem(), recordOf(escapes));

    // Long registered values arrive cut at 2047 bytes.
    const mt::TreeNode* longValues = mt::findNode(nodes[1].children, labelOf(txs::kLongValues));
    ASSERT_NE(longValues, nullptr);
    mt::selectItem(window, longValues->item);
    EXPECT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), std::string(txs::kLongDescription.text, 2047));
    EXPECT_EQ(mt::controlText(window, IDC_CO_ABOUT), std::string(txs::kLongAbout.text, 2047));
  });
  EXPECT_EQ(result, ManagerDriver::kForced);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogSelectionTest, AnAboutTheFormatterCannotTakeStopsTheFieldsWithAMessage) {
  mt::RegisteredClass odd("TxTest.OddAbout.1", {mt::kReactionSystemsCatid},
                          {{"Name", "Odd About"}, {"Description", "shown"}, {"About", "%0 hidden"}});
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(mt::kReactionSystems);
  driver.run(dialog, [&](HWND window) {
    const mt::TreeNode* entry =
        mt::findDeep(mt::readTree(GetDlgItem(window, IDC_CO_TREE)), "Odd About [TxTest.OddAbout.1]");
    ASSERT_NE(entry, nullptr);
    mt::selectItem(window, entry->item);
    EXPECT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), "shown");
    EXPECT_EQ(mt::controlText(window, IDC_CO_CLSID), "");  // not reached
  });
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text,
            "Unexpected error in browseComponentInfoCAPETREEITEM*). clsid:, progid:, parent: ");
  EXPECT_EQ(boxes.boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(DialogSelectionTest, ARebuildFreesTheRecordsAndKeepsOneRunOfCategories) {
  mt::RegisteredClass extra("TxTest.Rebuild.1", {mt::kReactionSystemsCatid}, {{"Name", "Rebuild"}});
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32 | mt::kReactionSystems);
  std::vector<std::string> addresses;
  size_t traceBefore = 0;
  INT_PTR result = driver.run(dialog, [&](HWND window) {
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    std::vector<std::string> names = {"Unit Operations", "Chemical Reaction Systems"};
    std::vector<mt::TreeNode> nodes = mt::readTree(tree);
    ASSERT_EQ(mt::labels(nodes), names);
    for (const mt::TreeNode& category : nodes)
      for (const mt::TreeNode& entry : category.children) addresses.push_back(std::to_string(entry.data));
    mt::selectItem(window, nodes[0].children[0].item);
    ASSERT_NE(dialog.currentItem(), nullptr);

    traceBefore = tx::readTrace().size();
    mt::clickButton(window, IDC_CO_REFRESH);
    std::string added = tx::readTrace().substr(traceBefore);
    for (const std::string& address : addresses) EXPECT_TRUE(mt::traceHasLine(added, address)) << address;
    EXPECT_EQ(dialog.currentItem(), nullptr);
    EXPECT_EQ(mt::comboEntries(GetDlgItem(window, IDC_CO_CATEGORY)), names);
    EXPECT_EQ(mt::labels(mt::readTree(tree)), names);
    EXPECT_NE(mt::findNode(mt::readTree(tree)[1].children, "Rebuild [TxTest.Rebuild.1]"), nullptr);

    mt::clickButton(window, IDC_CO_SHOW_PROGIDS);
    EXPECT_EQ(mt::comboEntries(GetDlgItem(window, IDC_CO_CATEGORY)), names);
    EXPECT_EQ(mt::labels(mt::readTree(tree)), names);
    // The entry found after a rebuild is shown in its own category.
    std::vector<mt::TreeNode> rebuilt = mt::readTree(tree);
    mt::selectItem(window, rebuilt[1].children[0].item);
    EXPECT_EQ(mt::comboSelection(GetDlgItem(window, IDC_CO_CATEGORY)), 1);
  });
  EXPECT_EQ(result, ManagerDriver::kForced);
  // Closing the window frees the records of the last build.
  EXPECT_EQ(dialog.catalogue().recordCount(), 0u);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogSelectionTest, TheDeradidButtonFollowsTheSettingsFile) {
  std::string path = mt::iniPath();
  bool existed = tx::fileExists(path);
  std::string saved = existed ? tx::readFile(path) : std::string();
  struct Restore {
    std::string path, saved;
    bool existed;
    ~Restore() {
      if (existed) tx::writeFile(path, saved);
      else DeleteFileA(path.c_str());
    }
  } restore{path, saved, existed};

  auto shown = [&](const std::string& content) {
    if (content.empty()) DeleteFileA(path.c_str());
    else tx::writeFile(path, content);
    CCapeOpenDlg dialog(nullptr);
    dialog.setFilter(0);
    bool visible = false;
    ManagerDriver perRun(boxes);
    perRun.run(dialog, [&](HWND window) { visible = IsWindowVisible(GetDlgItem(window, IDC_CO_DERADID)) != FALSE; });
    return visible;
  };
  EXPECT_FALSE(shown(""));
  EXPECT_TRUE(shown("[general]\r\nDERadid=1\r\n"));
  EXPECT_TRUE(shown("[general]\r\nDERadid=1   \r\n"));
  EXPECT_FALSE(shown("[general]\r\nDERadid=0\r\n"));
  EXPECT_FALSE(shown("[general]\r\nDERadid=11\r\n"));
  EXPECT_FALSE(shown("[other]\r\nDERadid=1\r\n"));
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
