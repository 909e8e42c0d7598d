// Drives the dialogs the test's own thread opens from inside their modal loops, so no test waits for a person:
// the dialog with the driver's caption runs the steps (fw::WindowHook::drive, again at each showing) and is ended
// with kForced when it is still up a moment after its last step; another dialog goes to the handler for others, or
// is recorded and cancelled. Also the readers and user actions for its controls.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "common/BoxCapture.h"

namespace tx {

// Latin-1, Cyrillic, CJK and a character beyond the BMP, in UTF-8 and UTF-16: windows show it unchanged.
inline constexpr char kScriptsText[] = "Überhitzer ポンプ Насос 𝄞";
inline constexpr wchar_t kScriptsWide[] = L"Überhitzer ポンプ Насос 𝄞";

class DialogDriver {
 public:
  static constexpr INT_PTR kForced = fw::WindowHook::kForcedEnd;

  DialogDriver(BoxCapture& capture, std::string caption);
  ~DialogDriver() { capture_.onDialog(nullptr); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  DialogDriver& then(std::function<void(HWND)> step);
  void onOtherDialog(std::function<void(HWND, const std::string&)> handler) { other_ = std::move(handler); }

  int dialogsSeen() const { return seen_; }
  // True when the dialog outlived its steps and had to be ended.
  bool forcedClose() const { return forced_; }
  const std::vector<std::string>& otherDialogs() const { return others_; }

 private:
  void opened(HWND window);

  BoxCapture& capture_;
  std::string caption_;
  std::vector<fw::WindowStep> steps_;
  std::function<void(HWND, const std::string&)> other_;
  int seen_ = 0;
  bool forced_ = false;
  std::vector<std::string> others_;
};

using fw::windowText;
std::string controlText(HWND dialog, int id);
// IDs of the dialog's controls that have the visible style.
std::set<int> visibleControls(HWND dialog);
std::vector<std::string> listItems(HWND dialog, int id);
std::vector<std::string> comboEntries(HWND combo);
int comboSelection(HWND combo);
bool isChecked(HWND dialog, int id);
void setChecked(HWND dialog, int id, bool checked);
bool isEnabled(HWND dialog, int id);

// Tabs: the texts, the selection, and a click on one (the selection, then TCN_SELCHANGE).
std::vector<std::string> tabTexts(HWND dialog, int tabsId);
int currentTab(HWND dialog, int tabsId);
void selectTab(HWND dialog, int tabsId, int page);

// One tree item read back, with its children.
struct TreeNode {
  std::string label;
  LPARAM data = 0;
  HTREEITEM item = nullptr;
  std::vector<TreeNode> children;
};
std::vector<TreeNode> readTree(HWND tree);
std::vector<std::string> labels(const std::vector<TreeNode>& nodes);
// The first node with 'label' among 'nodes', or anywhere below them (deep); null when none.
const TreeNode* findNode(const std::vector<TreeNode>& nodes, const std::string& label, bool deep = false);
bool isExpanded(HWND tree, HTREEITEM item);
// Selects a tree item as a click does, and sends the tree's notification 'code' to the dialog.
void selectTreeItem(HWND dialog, int treeId, HTREEITEM item);
void notifyTree(HWND dialog, int treeId, UINT code);

// User actions: a click delivered synchronously, or posted (for buttons that close the
// dialog or open another one), the caption's close box, and the Escape key.
inline void clickButton(HWND dialog, int id) { fw::sendClick(dialog, id); }
using fw::postClick;
void pressCloseBox(HWND dialog);
void pressEscape(HWND dialog);

}  // namespace tx
