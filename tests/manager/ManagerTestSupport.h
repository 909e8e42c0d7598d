// Shared by the Component Manager and probe tests: components declared in the registry
// only, the tree and combo box read back, the dialog driven from the test's thread, and
// screenshots of it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "samples/common/SampleIds.h"
#include "manager/CCapeOpenDlg.h"

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

// Makes the trace file and the .ini file resolve as in the product: module name
// "TxCOGUI", its folder that of the product DLL (loaded into the test for that).
void useProductModule();
// True when 'trace' holds a line whose message is exactly 'message'.
bool traceHasLine(const std::string& trace, const std::string& message);
// The product's settings file, TxCOGUI.ini beside the DLL.
std::string iniPath();

// A class declared in the registry without a server: CLSID with ProgID, the
// "Implemented Categories" and, unless 'values' is empty, the CapeDescription values.
// Removed again on destruction.
class RegisteredClass {
 public:
  RegisteredClass(const std::string& progId, const std::vector<std::string>& catids,
                  const std::map<std::string, std::string>& values, bool registerProgId = true);
  ~RegisteredClass();
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;

  const std::string& clsid() const { return clsid_; }
  const std::string& progId() const { return progId_; }
  CLSID guid() const;
  // An in-process server path (that need not exist).
  void setInprocServer(const std::string& path);
  // A package under "PropertyPackages" with its CapeDescription values.
  void addPackage(const std::string& name, const std::map<std::string, std::string>& values);

 private:
  std::string clsid_;
  std::string progId_;
};

// A fresh GUID in registry form, upper case in braces.
std::string newGuidText();
std::string guidText(REFGUID guid);

// One tree item read back.
struct TreeNode {
  std::string label;
  LPARAM data = 0;
  HTREEITEM item = nullptr;
  std::vector<TreeNode> children;
};
std::vector<TreeNode> readTree(HWND tree);
std::vector<std::string> labels(const std::vector<TreeNode>& nodes);
// The first node with 'label' among 'nodes' (not recursive); null when none.
const TreeNode* findNode(const std::vector<TreeNode>& nodes, const std::string& label);
// The first node anywhere below whose label is 'label'.
const TreeNode* findDeep(const std::vector<TreeNode>& nodes, const std::string& label);
std::string itemLabel(HWND tree, HTREEITEM item);
bool isExpanded(HWND tree, HTREEITEM item);

std::vector<std::string> comboEntries(HWND combo);
int comboSelection(HWND combo);
std::string controlText(HWND dialog, int id);

// User actions, delivered synchronously.
void selectItem(HWND dialog, HTREEITEM item);
void notifyTree(HWND dialog, UINT code);
void clickButton(HWND dialog, int id);
void pressEscape(HWND dialog);

// Runs a Component Manager modally; 'script' runs once it is up, inside its modal loop.
// Other dialogs (the computer-name prompt, the shell's computer browser) go to
// 'otherDialog' when set, else they are recorded and cancelled.
class ManagerDriver {
 public:
  static const INT_PTR kForced = -2;  // the result when the script left the dialog open

  explicit ManagerDriver(BoxCapture& capture);
  ~ManagerDriver();
  ManagerDriver(const ManagerDriver&) = delete;
  ManagerDriver& operator=(const ManagerDriver&) = delete;

  void onOtherDialog(std::function<void(HWND, const std::string&)> handler) { other_ = std::move(handler); }
  INT_PTR run(CCapeOpenDlg& dialog, std::function<void(HWND)> script);
  const std::vector<std::string>& otherCaptions() const { return others_; }
  bool scriptRan() const { return ran_; }

 private:
  static void CALLBACK tick(HWND window, UINT, UINT_PTR id, DWORD);
  void opened(HWND window);

  BoxCapture& capture_;
  std::function<void(HWND)> script_;
  std::function<void(HWND, const std::string&)> other_;
  std::vector<std::string> others_;
  bool ran_ = false;
  ManagerDriver* previous_;
};


// A Component Manager test: COM initialised, the product's resources, boxes captured and
// a driver for the dialog.
class DialogTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    useProductModule();
  }
  BoxCapture boxes;
  ManagerDriver driver{boxes};
};

// The tree label of a sample: its registered name (its ProgID when it has none) and, in
// brackets, its ProgID.
inline std::string labelOf(const txs::ClassInfo& info) {
  return std::string(info.values.name ? info.values.name : info.progId) + " [" + info.progId + "]";
}

}  // namespace mt
