// What the Component Manager's tests share: its captions, the category CATIDs, the
// product's module (resources, trace file, settings file) and the dialog tests' fixture.
#pragma once
#include "common/BoxCapture.h"
#include "common/DialogDriver.h"
#include "common/ScratchClass.h"
#include "common/TestSupport.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "samples/common/SampleIds.h"
#include "support/MTUtils.h"

namespace mt {

inline constexpr char kManagerCaption[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
inline constexpr char kQuestionCaption[] = "CAPE-OPEN Component Manager";
inline constexpr char kSystemsCatid[] = "{678c09a3-7d66-11d2-a67d-00105a42887f}";
inline constexpr char kPackagesCatid[] = "{678c09a4-7d66-11D2-a67d-00105a42887f}";
inline constexpr char kUnitsCatid[] = "{678c09a5-7d66-11D2-a67d-00105a42887f}";
// Categories that no sample uses: entries written by tests go there, so that other
// programs listing the samples' categories meanwhile never see them.
inline constexpr char kReactionSystemsCatid[] = "{678c09aa-7d66-11D2-a67d-00105a42887f}";
inline constexpr char kReactionRoutinesCatid[] = "{678c09ab-7d66-11D2-a67d-00105a42887f}";
inline constexpr long kReactionSystems = 128;
inline constexpr long kReactionRoutines = 256;

// The trace and .ini files as in the product: module "TxCOGUI" in the product DLL's folder.
inline void useProductModule() {
  MTUtils::setModuleName("TxCOGUI");
  static HMODULE product = LoadLibraryA(tx::productDll().c_str());
  ASSERT_NE(product, nullptr) << tx::productDll();
}

// True when 'trace' holds a line whose message is exactly 'message'.
inline bool traceHasLine(const std::string& trace, const std::string& message) {
  std::string tag = ": TxCOGUI: " + message;
  for (size_t at = trace.find(tag); at != std::string::npos; at = trace.find(tag, at + 1)) {
    size_t end = at + tag.size();
    if (end == trace.size() || trace[end] == '\r' || trace[end] == '\n') return true;
  }
  return false;
}

// The product's settings file, TxCOGUI.ini beside the DLL.
inline std::string iniPath() { return MTUtils::getDllDirectory() + "\\TxCOGUI.ini"; }

// A sample's tree label: its registered name (else its ProgID), and its ProgID in brackets.
inline std::string labelOf(const txs::ClassInfo& info) {
  return std::string(info.values.name ? info.values.name : info.progId) + " [" + info.progId + "]";
}

// The tree item labelled 'label', anywhere in the dialog's tree; null when none.
inline HTREEITEM itemOf(HWND dialog, const std::string& label) {
  std::vector<tx::TreeNode> nodes = tx::readTree(GetDlgItem(dialog, IDC_CO_TREE));
  const tx::TreeNode* node = tx::findNode(nodes, label, true);
  return node ? node->item : nullptr;
}

inline const CAPETreeItem* recordOf(const tx::TreeNode& node) { return reinterpret_cast<CAPETreeItem*>(node.data); }

// The tree holds the catalogue: each entry's label and record, in order.
inline void expectMirror(const std::vector<tx::TreeNode>& nodes, const std::vector<CatalogueEntry>& entries) {
  ASSERT_EQ(nodes.size(), entries.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(nodes[i].label, entries[i].label);
    EXPECT_EQ(recordOf(nodes[i]), entries[i].record) << nodes[i].label;
    expectMirror(nodes[i].children, entries[i].children);
  }
}

// The static-information mode leaves Accept and Escape; selection adds tree, tab, Refresh, Cancel.
inline void expectMode(HWND dialog, bool staticMode) {
  for (int id : {IDC_CO_TREE, IDC_CO_TAB, IDC_CO_REFRESH}) EXPECT_EQ(tx::isEnabled(dialog, id), !staticMode) << id;
  EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) != FALSE, !staticMode);
  EXPECT_TRUE(tx::isEnabled(dialog, IDOK));
}

// The information fields: description, versions, vendor URL (the button's text), CLSID, About.
inline std::vector<std::string> shownFields(HWND dialog) {
  std::vector<std::string> texts;
  for (int id : {IDC_CO_DESCRIPTION, IDC_CO_CAPE_VERSION, IDC_CO_COMPONENT_VERSION, IDC_CO_VENDOR_URL, IDC_CO_CLSID,
                 IDC_CO_ABOUT})
    texts.push_back(tx::controlText(dialog, id));
  return texts;
}

// A Component Manager test: COM, the product's resources, boxes captured and the driver.
class DialogFixture : public tx::ComTest {
 protected:
  static constexpr INT_PTR kForced = tx::DialogDriver::kForced;
  void SetUp() override {
    tx::ComTest::SetUp();
    useProductModule();
  }
  // Shows the dialog once, driven by the steps; it must really have been shown.
  INT_PTR run(CCapeOpenDlg& dialog) {
    int before = driver.dialogsSeen();
    INT_PTR result = dialog.DoModal();
    EXPECT_EQ(driver.dialogsSeen(), before + 1);
    return result;
  }
  BoxCapture boxes;
  tx::DialogDriver driver{boxes, kManagerCaption};
};

}  // namespace mt
