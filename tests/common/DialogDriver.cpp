#include "common/DialogDriver.h"
#include <cstring>
#include "framework/WideText.h"

namespace tx {

namespace {

BOOL CALLBACK collectVisible(HWND child, LPARAM param) {
  if (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)
    reinterpret_cast<std::set<int>*>(param)->insert(GetDlgCtrlID(child));
  return TRUE;
}

void readLevel(HWND tree, HTREEITEM first, std::vector<TreeNode>& nodes) {
  for (HTREEITEM item = first; item; item = fw::treeItem(tree, TVGN_NEXT, item)) {
    TreeNode node;
    node.item = item;
    node.label = fw::treeItemText(tree, item);
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    node.data = data.lParam;
    readLevel(tree, fw::treeItem(tree, TVGN_CHILD, item), node.children);
    nodes.push_back(node);
  }
}

}  // namespace

DialogDriver::DialogDriver(BoxCapture& capture, std::string caption) : capture_(capture), caption_(std::move(caption)) {
  capture_.onDialog([this](HWND window) { opened(window); });
}

DialogDriver& DialogDriver::then(std::function<void(HWND)> step) {
  steps_.push_back(std::move(step));
  return *this;
}

void DialogDriver::opened(HWND window) {
  std::string caption = windowText(window);
  if (caption != caption_) {
    others_.push_back(caption);
    if (other_)
      other_(window, caption);
    else
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  ++seen_;
  fw::DriveOptions options;
  options.ended = [this](bool forced) { forced_ = forced_ || forced; };
  fw::WindowHook::drive(window, steps_, options);
}

std::string controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

std::set<int> visibleControls(HWND dialog) {
  std::set<int> ids;
  EnumChildWindows(dialog, collectVisible, reinterpret_cast<LPARAM>(&ids));
  return ids;
}

std::vector<std::string> listItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND list = GetDlgItem(dialog, id);
  int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    items.push_back(narrowFromWide(text.c_str()));
  }
  return items;
}

std::vector<std::string> comboEntries(HWND combo) {
  std::vector<std::string> entries;
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    entries.push_back(narrowFromWide(text.c_str()));
  }
  return entries;
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void setChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::vector<std::string> tabTexts(HWND dialog, int tabsId) {
  std::vector<std::string> texts;
  HWND tabs = GetDlgItem(dialog, tabsId);
  int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = L"";
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    texts.push_back(narrowFromWide(text));
  }
  return texts;
}

int currentTab(HWND dialog, int tabsId) {
  return static_cast<int>(SendMessageW(GetDlgItem(dialog, tabsId), TCM_GETCURSEL, 0, 0));
}

void selectTab(HWND dialog, int tabsId, int page) {
  HWND tabs = GetDlgItem(dialog, tabsId);
  SendMessageW(tabs, TCM_SETCURSEL, page, 0);
  NMHDR header = {tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(dialog, WM_NOTIFY, tabsId, reinterpret_cast<LPARAM>(&header));
}

std::vector<TreeNode> readTree(HWND tree) {
  std::vector<TreeNode> nodes;
  readLevel(tree, fw::treeItem(tree, TVGN_ROOT, nullptr), nodes);
  return nodes;
}

std::vector<std::string> labels(const std::vector<TreeNode>& nodes) {
  std::vector<std::string> result;
  for (const TreeNode& node : nodes) result.push_back(node.label);
  return result;
}

const TreeNode* findNode(const std::vector<TreeNode>& nodes, const std::string& label, bool deep) {
  for (const TreeNode& node : nodes) {
    if (node.label == label) return &node;
    if (deep)
      if (const TreeNode* found = findNode(node.children, label, true)) return found;
  }
  return nullptr;
}

bool isExpanded(HWND tree, HTREEITEM item) {
  return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void selectTreeItem(HWND dialog, int treeId, HTREEITEM item) {
  SendMessageW(GetDlgItem(dialog, treeId), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void notifyTree(HWND dialog, int treeId, UINT code) {
  NMHDR header = {GetDlgItem(dialog, treeId), static_cast<UINT_PTR>(treeId), code};
  SendMessageW(dialog, WM_NOTIFY, treeId, reinterpret_cast<LPARAM>(&header));
}

void pressCloseBox(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

void pressEscape(HWND dialog) {
  HWND target = GetFocus();
  if (!target || (target != dialog && !IsChild(dialog, target))) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (!target) target = dialog;
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

}  // namespace tx
