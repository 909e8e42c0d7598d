#include "manager/ManagerTestSupport.h"
#include <vector>
#include "common/TestSupport.h"
#include "framework/ComPtr.h"
#include "framework/Raii.h"
#include "support/MTUtils.h"

namespace mt {

namespace {

bool writeString(const std::string& key, const char* name, const std::string& value) {
  fw::UniqueHKey handle;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool makeKey(const std::string& key) {
  fw::UniqueHKey handle;
  return RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) ==
         ERROR_SUCCESS;
}

void writeValues(const std::string& key, const std::map<std::string, std::string>& values) {
  if (values.empty()) return;
  makeKey(key);
  for (const auto& value : values) {
    EXPECT_TRUE(writeString(key, value.first.c_str(), value.second)) << key;
  }
}

std::string windowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  return text.data();
}

ManagerDriver* g_driver = nullptr;
const UINT_PTR kScriptTimer = 0x7E57;

}  // namespace

void useProductModule() {
  MTUtils::setModuleName("TxCOGUI");
  static HMODULE product = LoadLibraryA(tx::productDll().c_str());
  ASSERT_NE(product, nullptr) << tx::productDll();
}

bool traceHasLine(const std::string& trace, const std::string& message) {
  std::string tag = ": TxCOGUI: " + message;
  for (size_t at = trace.find(tag); at != std::string::npos; at = trace.find(tag, at + 1)) {
    size_t end = at + tag.size();
    if (end == trace.size() || trace[end] == '\r' || trace[end] == '\n') return true;
  }
  return false;
}

std::string iniPath() { return MTUtils::getDllDirectory() + "\\TxCOGUI.ini"; }

std::string guidText(REFGUID guid) {
  wchar_t text[64] = L"";
  StringFromGUID2(guid, text, 64);
  return tx::narrow(text);
}

std::string newGuidText() {
  GUID guid;
  CoCreateGuid(&guid);
  return guidText(guid);
}

RegisteredClass::RegisteredClass(const std::string& progId, const std::vector<std::string>& catids,
                                 const std::map<std::string, std::string>& values, bool registerProgId)
    : clsid_(newGuidText()), progId_(progId) {
  std::string key = "CLSID\\" + clsid_;
  EXPECT_TRUE(makeKey(key));
  if (!progId.empty()) {
    EXPECT_TRUE(writeString(key + "\\ProgID", nullptr, progId));
    if (registerProgId) {
      EXPECT_TRUE(writeString(progId + "\\CLSID", nullptr, clsid_));
    }
  }
  for (const std::string& catid : catids) {
    EXPECT_TRUE(makeKey(key + "\\Implemented Categories\\" + catid));
  }
  writeValues(key + "\\CapeDescription", values);
}

RegisteredClass::~RegisteredClass() {
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + clsid_);
  if (!progId_.empty()) {
    std::string registered;
    if (tx::readRegString(HKEY_CLASSES_ROOT, progId_ + "\\CLSID", "", &registered) && registered == clsid_)
      tx::deleteKeyTree(HKEY_CLASSES_ROOT, progId_);
  }
}

CLSID RegisteredClass::guid() const {
  CLSID result = GUID_NULL;
  std::wstring text = tx::widen(clsid_);
  CLSIDFromString(const_cast<wchar_t*>(text.c_str()), &result);
  return result;
}

void RegisteredClass::setInprocServer(const std::string& path) {
  std::string key = "CLSID\\" + clsid_ + "\\InprocServer32";
  EXPECT_TRUE(writeString(key, nullptr, path));
  EXPECT_TRUE(writeString(key, "ThreadingModel", "Apartment"));
}

void RegisteredClass::addPackage(const std::string& name, const std::map<std::string, std::string>& values) {
  writeValues("CLSID\\" + clsid_ + "\\PropertyPackages\\" + name + "\\CapeDescription", values);
}

std::string itemLabel(HWND tree, HTREEITEM item) {
  std::vector<char> text(8192, '\0');
  TVITEMA data = {};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text.data();
  data.cchTextMax = static_cast<int>(text.size());
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text.data();
}

bool isExpanded(HWND tree, HTREEITEM item) {
  return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

namespace {
void readLevel(HWND tree, HTREEITEM first, std::vector<TreeNode>& nodes) {
  for (HTREEITEM item = first; item;
       item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    TreeNode node;
    node.item = item;
    node.label = itemLabel(tree, item);
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    node.data = data.lParam;
    readLevel(tree,
              reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
              node.children);
    nodes.push_back(node);
  }
}
}  // namespace

std::vector<TreeNode> readTree(HWND tree) {
  std::vector<TreeNode> nodes;
  readLevel(tree, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), nodes);
  return nodes;
}

std::vector<std::string> labels(const std::vector<TreeNode>& nodes) {
  std::vector<std::string> result;
  for (const TreeNode& node : nodes) result.push_back(node.label);
  return result;
}

const TreeNode* findNode(const std::vector<TreeNode>& nodes, const std::string& label) {
  for (const TreeNode& node : nodes)
    if (node.label == label) return &node;
  return nullptr;
}

const TreeNode* findDeep(const std::vector<TreeNode>& nodes, const std::string& label) {
  for (const TreeNode& node : nodes) {
    if (node.label == label) return &node;
    if (const TreeNode* found = findDeep(node.children, label)) return found;
  }
  return nullptr;
}

std::vector<std::string> comboEntries(HWND combo) {
  std::vector<std::string> entries;
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    entries.push_back(text.data());
  }
  return entries;
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

std::string controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

void selectItem(HWND dialog, HTREEITEM item) {
  SendMessageA(GetDlgItem(dialog, 1018), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void notifyTree(HWND dialog, UINT code) {
  NMHDR header = {};
  header.hwndFrom = GetDlgItem(dialog, 1018);
  header.idFrom = 1018;
  header.code = code;
  SendMessageA(dialog, WM_NOTIFY, 1018, reinterpret_cast<LPARAM>(&header));
}

void clickButton(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void pressEscape(HWND dialog) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); }

ManagerDriver::ManagerDriver(BoxCapture& capture) : capture_(capture), previous_(g_driver) {
  g_driver = this;
  capture_.onDialog([this](HWND window) { opened(window); });
}

ManagerDriver::~ManagerDriver() {
  capture_.onDialog(nullptr);
  g_driver = previous_;
}

void ManagerDriver::opened(HWND window) {
  std::string caption = windowText(window);
  if (caption == kManagerCaption && !ran_) {
    SetTimer(window, kScriptTimer, 10, tick);
    return;
  }
  others_.push_back(caption);
  if (other_) {
    other_(window, caption);
    return;
  }
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK ManagerDriver::tick(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  ManagerDriver* self = g_driver;
  if (!self || self->ran_) return;
  self->ran_ = true;
  if (self->script_) self->script_(window);
  // A dialog that the script left open must not wait for a person.
  if (IsWindow(window) && IsWindowVisible(window)) EndDialog(window, kForced);
}

INT_PTR ManagerDriver::run(CCapeOpenDlg& dialog, std::function<void(HWND)> script) {
  script_ = std::move(script);
  ran_ = false;
  return dialog.DoModal();
}

}  // namespace mt
