// Modal dialog base: a dialog template of the module, typed handlers for the messages a
// dialog cares about, and data exchange between controls and members in one place
// (DoDataExchange), as the application framework's CDialog offers.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

namespace fw {

// The text of a control (UTF-8), and the control's text set from UTF-8.
std::string controlText(HWND control);
void setControlText(HWND control, const std::string& text);

// Moves values between controls and members: into the controls when not saving,
// out of them when saving.
class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  bool saving() const { return saving_; }
  HWND dialog() const { return dialog_; }
  // Check box <-> 0/1.
  void check(int id, int& value);
  // Window text <-> narrow (UTF-8) text.
  void text(int id, std::string& value);
  // Binds the control's window handle (both directions).
  void control(int id, HWND& handle);

 private:
  HWND dialog_;
  bool saving_;
};

class Dialog {
 public:
  Dialog(UINT templateId, HWND parent);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; IDOK, IDCANCEL or the value given to EndDialog, -1 on failure.
  virtual INT_PTR DoModal();
  void EndDialog(INT_PTR result);
  // Controls to members (true) or members to controls (false).
  bool UpdateData(bool saveAndValidate);

  HWND hwnd() const { return hwnd_; }
  HWND parentWindow() const { return parent_; }
  // The owner of the next window that DoModal makes.
  void setParentWindow(HWND parent) { parent_ = parent; }
  UINT templateId() const { return templateId_; }
  HWND item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
  std::string itemText(int id) const;
  void setItemText(int id, const std::string& text);
  void showItem(int id, bool show);
  void enableItem(int id, bool enable);

 protected:
  virtual void DoDataExchange(DataExchange& dx);
  // Default: members into the controls; TRUE lets the system set the focus.
  virtual BOOL OnInitDialog();
  // Default: controls into the members, then EndDialog(IDOK).
  virtual void OnOK();
  // Default: EndDialog(IDCANCEL). Esc, the close box and button 2 come here.
  virtual void OnCancel();
  // WM_COMMAND other than IDOK/IDCANCEL; true when handled.
  virtual bool OnCommand(WORD id, WORD code, HWND control);
  // WM_NOTIFY; true when handled, with the result to return.
  virtual bool OnNotify(NMHDR* header, LRESULT& result);
  // Any other message, before the default handling; true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  virtual void OnDestroy();

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId_;
  HWND parent_;
  HWND hwnd_;
};

}  // namespace fw
