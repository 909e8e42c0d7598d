#include "framework/Dialog.h"
#include <vector>
#include "framework/Module.h"

namespace fw {

void DataExchange::check(int id, int& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (saving_) {
    value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  } else {
    SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void DataExchange::text(int id, std::string& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (saving_) {
    int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, buffer.data(), length + 1);
    value.assign(buffer.data());
  } else {
    SetWindowTextA(control, value.c_str());
  }
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
  return DialogBoxParamA(Module::instance(), MAKEINTRESOURCEA(templateId_), parent_, dialogProc,
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

std::string Dialog::itemText(int id) const {
  HWND control = item(id);
  if (!control) return std::string();
  int length = GetWindowTextLengthA(control);
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(control, buffer.data(), length + 1);
  return buffer.data();
}

void Dialog::setItemText(int id, const std::string& text) {
  HWND control = item(id);
  if (control) SetWindowTextA(control, text.c_str());
}

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
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = window;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
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
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
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
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
  }
}

}  // namespace fw
