// The interface probe started by a right-click in the Component Manager's tree.
#include <gtest/gtest.h>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

using mt::ManagerDriver;

class DialogProbeTest : public mt::DialogTest {};

using mt::labelOf;

// The lines under 'label' in the first category.
std::vector<mt::TreeNode> linesUnder(HWND window, const std::string& label) {
  std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
  const mt::TreeNode* node = nodes.empty() ? nullptr : mt::findNode(nodes[0].children, label);
  return node ? node->children : std::vector<mt::TreeNode>();
}

HTREEITEM itemOf(HWND window, const std::string& label) {
  std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
  const mt::TreeNode* node = mt::findDeep(nodes, label);
  return node ? node->item : nullptr;
}

TEST_F(DialogProbeTest, ARightClickAppendsTwentyLinesUnderTheSelectedEntry) {
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(32);
  driver.run(dialog, [&](HWND window) {
    HWND tree = GetDlgItem(window, IDC_CO_TREE);
    HTREEITEM mixer = itemOf(window, labelOf(txs::kMixer));
    ASSERT_NE(mixer, nullptr);
    mt::selectItem(window, mixer);
    mt::notifyTree(window, NM_RCLICK);
    std::vector<mt::TreeNode> lines = linesUnder(window, labelOf(txs::kMixer));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0].label, "QI( IUnknown ) succeeded");
    EXPECT_EQ(lines[1].label, "QI( IDispatch ) succeeded");
    EXPECT_EQ(lines[2].label, "QI( ICapeIdentification ) succeeded");
    EXPECT_EQ(lines[11].label, "QI( ICapeThermoCalculationRoutine ) failed");
    EXPECT_EQ(lines[16].label, "QI( ICapeUnitEdit ) failed");
    EXPECT_EQ(lines[19].label, "QI( ICapeUnitReport ) failed");
    for (const mt::TreeNode& line : lines) EXPECT_EQ(line.data, 0);
    EXPECT_TRUE(mt::isExpanded(tree, mixer));

    // A second right-click appends a second set; the first stays.
    mt::notifyTree(window, NM_RCLICK);
    std::vector<mt::TreeNode> twice = linesUnder(window, labelOf(txs::kMixer));
    ASSERT_EQ(twice.size(), 40u);
    for (size_t i = 0; i < 20; ++i) {
      EXPECT_EQ(twice[i].label, lines[i].label);
      EXPECT_EQ(twice[i].item, lines[i].item);
      EXPECT_EQ(twice[i + 20].label, lines[i].label);
    }

    // A line has no record: a right-click on it, or on a category, adds nothing.
    mt::selectItem(window, twice[0].item);
    mt::notifyTree(window, NM_RCLICK);
    twice = linesUnder(window, labelOf(txs::kMixer));
    EXPECT_TRUE(twice[0].children.empty());
    std::vector<mt::TreeNode> nodes = mt::readTree(tree);
    mt::selectItem(window, nodes[0].item);
    mt::notifyTree(window, NM_RCLICK);
    EXPECT_EQ(mt::readTree(tree)[0].children.size(), nodes[0].children.size());
    EXPECT_EQ(linesUnder(window, labelOf(txs::kMixer)).size(), 40u);

    HTREEITEM failing = itemOf(window, labelOf(txs::kQIFails));
    ASSERT_NE(failing, nullptr);
    mt::selectItem(window, failing);
    mt::notifyTree(window, NM_RCLICK);
    std::vector<mt::TreeNode> all = linesUnder(window, labelOf(txs::kQIFails));
    ASSERT_EQ(all.size(), 20u);
    for (const mt::TreeNode& line : all) EXPECT_NE(line.label.find(" ) succeeded"), std::string::npos) << line.label;
  });
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(DialogProbeTest, AnEntryThatCannotBeCreatedShowsTheMessagesAndAddsNoLine) {
  mt::RegisteredClass serverless("TxTest.Serverless.1", {mt::kReactionSystemsCatid}, {{"Name", "Serverless"}});
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(mt::kReactionSystems | 4);
  driver.run(dialog, [&](HWND window) {
    HTREEITEM entry = itemOf(window, "Serverless [TxTest.Serverless.1]");
    ASSERT_NE(entry, nullptr);
    mt::selectItem(window, entry);
    mt::notifyTree(window, NM_RCLICK);
    const mt::TreeNode* node = mt::findDeep(mt::readTree(GetDlgItem(window, IDC_CO_TREE)), "Serverless [TxTest.Serverless.1]");
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->children.empty());
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_NE(boxes.boxes()[0].text.find("Error creating interface"), std::string::npos) << boxes.boxes()[0].text;
    EXPECT_EQ(boxes.boxes()[1].text,
              "The object TxTest.Serverless.1 is not registered in the registration database.");
    EXPECT_EQ(boxes.boxes()[1].caption, "TxCOGUI");
    EXPECT_EQ(boxes.boxes()[1].owner, window);
    EXPECT_EQ(boxes.boxes()[1].type, static_cast<UINT>(MB_OK));

    // A package is probed by its name, which is no ProgID.
    boxes.clear();
    HTREEITEM package = itemOf(window, txs::kSystemPackages[0].name);
    ASSERT_NE(package, nullptr);
    mt::selectItem(window, package);
    mt::notifyTree(window, NM_RCLICK);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[1].text, std::string("The object ") + txs::kSystemPackages[0].name +
                                         " is not registered in the registration database.");
    const mt::TreeNode* packageNode = mt::findDeep(mt::readTree(GetDlgItem(window, IDC_CO_TREE)),
                                                   txs::kSystemPackages[0].name);
    ASSERT_NE(packageNode, nullptr);
    EXPECT_TRUE(packageNode->children.empty());
  });
}

}  // namespace
