// The Component Manager as the host opens it: ShowGUI of a CCAPEGUI object made by the
// DLL's own class object (no registration needed), closed by a timer that the dialog's
// modal loop runs once its set-up is done: after its messages and its first paint.
#pragma once
#include <windows.h>
#include <string>
#include "TxCOGUI.h"
#include "framework/ComPtr.h"

namespace bench {

class ManagerDialog {
 public:
  ManagerDialog() = default;
  ~ManagerDialog();
  ManagerDialog(const ManagerDialog&) = delete;
  ManagerDialog& operator=(const ManagerDialog&) = delete;

  // Loads the DLL and makes the object, set up for 'filter' with no host window.
  bool load(const std::string& dllPath, long filter, std::string* error);
  // One ShowGUI: 'setUpMs' from the call to the timer, 'totalMs' to its return, and the
  // number of items its tree held.
  bool show(double* setUpMs, double* totalMs, size_t* treeItems, std::string* error);

 private:
  HMODULE module_ = nullptr;
  fw::ComPtr<ICCAPEGUI> object_;
};

}  // namespace bench
