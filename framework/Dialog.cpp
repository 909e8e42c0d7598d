#include "framework/Dialog.h"
#include <vector>
#include "framework/Module.h"
#include "framework/WideText.h"

namespace fw {

std::string controlText(HWND control) {
  int length = control ? GetWindowTextLengthW(control) : 0;
  if (length <= 0) return std::string();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(control, buffer.data(), length + 1);
  return narrowFromWide(buffer.data(), copied > 0 ? copied : 0);
}

void setControlText(HWND control, const std::string& text) {
  if (control) SetWindowTextW(control, wideFromNarrow(text).c_str());
}

void DataExchange::check(int id, int& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (saving_) {
    value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  } else {
    SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void DataExchange::text(int id, std::string& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (saving_)
    value = controlText(control);
  else
    setControlText(control, value);
}

void DataExchange::control(int id, HWND& handle) { handle = GetDlgItem(dialog_, id); }

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent), hwnd_(nullptr) {}

Dialog::~Dialog() {}

INT_PTR Dialog::DoModal() {
  static bool controlsReady = false;
  if (!controlsReady) {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    controlsReady = InitCommonControlsEx(&controls) != FALSE;
  }
  // A Unicode dialog: its controls keep every script, not only the ANSI code page's.
  return DialogBoxParamW(Module::instance(), MAKEINTRESOURCEW(templateId_), parent_, dialogProc,
                         reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) {
  if (hwnd_) ::EndDialog(hwnd_, result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  if (!hwnd_) return false;
  DataExchange dx(hwnd_, saveAndValidate);
  DoDataExchange(dx);
  return true;
}

std::string Dialog::itemText(int id) const { return controlText(item(id)); }

void Dialog::setItemText(int id, const std::string& text) { setControlText(item(id), text); }

void Dialog::showItem(int id, bool show) {
  HWND control = item(id);
  if (control) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void Dialog::enableItem(int id, bool enable) {
  HWND control = item(id);
  if (control) EnableWindow(control, enable ? TRUE : FALSE);
}

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(WORD, WORD, HWND) { return false; }
bool Dialog::OnNotify(NMHDR*, LRESULT&) { return false; }
bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void Dialog::OnDestroy() {}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = window;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  if (!self) return FALSE;
  // Handlers run inside the system's message loop: nothing may unwind through it.
  try {
    return self->handle(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Dialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      WORD id = LOWORD(wParam);
      WORD code = HIWORD(wParam);
      if (id == IDOK && (code == BN_CLICKED || code == 0)) { OnOK(); return TRUE; }
      if (id == IDCANCEL && (code == BN_CLICKED || code == 0)) { OnCancel(); return TRUE; }
      return OnCommand(id, code, reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    }
    case WM_NOTIFY:
      if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return FALSE;
    default:
      if (OnMessage(message, wParam, lParam, result)) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
  }
}

}  // namespace fw
