#include "ppdialog/DialogDriver.h"
#include <commctrl.h>
#include <cstring>
#include "common/Screenshot.h"
#include "framework/ComPtr.h"
#include "ppdialog/COTHConfigIds.h"

namespace ppt {

namespace {

DialogDriver* g_driver = nullptr;
const UINT_PTR kTimerId = 0x7C0;
const UINT kTickMs = 40;
// Ticks that a dialog may stay open after its last step before it is cancelled.
const int kGraceTicks = 50;

std::string windowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

BOOL CALLBACK collectVisible(HWND child, LPARAM param) {
  auto* ids = reinterpret_cast<std::set<int>*>(param);
  if (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) ids->insert(GetDlgCtrlID(child));
  return TRUE;
}

// Lets Wine paint the window and hand the pixels to the display before they are read back.
void settle(HWND window, DWORD milliseconds) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_TIMER && message.wParam == kTimerId) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
  GdiFlush();
}

}  // namespace

std::set<int> generalControls() {
  return {IDC_LABEL_REPORT, IDC_LABEL_PACKAGE, IDC_LABEL_SYSTEM, IDC_IMPORT_REPORT,
          IDC_PACKAGE_NAME, IDC_SYSTEM_NAME,   IDC_BROWSE_STATIC, IDC_CUSTOM_VIEW};
}

std::set<int> componentsControls() {
  return {IDC_COMPIDS, IDC_CASNOS, IDC_ALLOW_SUBSETS, IDC_TREAT_AS_HYPOS, IDC_LABEL_COMPIDS, IDC_LABEL_CASNOS};
}

std::set<int> propertiesControls(bool withVllRequest) {
  std::set<int> ids = {IDC_LABEL_PROPERTIES, IDC_PROPERTIES,        IDC_LABEL_PHASES, IDC_PHASES,
                       IDC_FLASH_TYPES,      IDC_LABEL_FLASH_TYPES, IDC_ORDER_PHASES};
  if (withVllRequest) ids.insert(IDC_REQUEST_LIQUID2);
  return ids;
}

std::set<int> aboutControls() {
  return {IDC_LABEL_SOCKET, IDC_SUPPORT_TEXT, IDC_LABEL_STANDARD, IDC_SOCKET_VERSION, IDC_STANDARD_VERSION,
          IDC_VERSION_GROUP, IDC_RECOV_TRACE, IDC_RECOV_LOG, IDC_RECOV_POPUP, IDC_RECOV_GROUP,
          IDC_CRIT_TRACE, IDC_CRIT_LOG, IDC_CRIT_POPUP, IDC_CRIT_GROUP};
}

DialogDriver::DialogDriver(BoxCapture& capture) : previous_(g_driver) {
  g_driver = this;
  capture.onDialog([this](HWND window) { opened(window); });
}

DialogDriver::~DialogDriver() { g_driver = previous_; }

DialogDriver& DialogDriver::then(std::function<void(HWND)> step) {
  steps_.push_back(std::move(step));
  return *this;
}

void DialogDriver::opened(HWND window) {
  std::string caption = windowText(window);
  if (caption != kDialogCaption) {
    others_.push_back(caption);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  ++seen_;
  // Each showing runs the whole script again.
  next_ = 0;
  idleTicks_ = 0;
  SetTimer(window, kTimerId, kTickMs, tick);
}

void CALLBACK DialogDriver::tick(HWND window, UINT, UINT_PTR, DWORD) {
  if (g_driver) g_driver->run(window);
}

void DialogDriver::run(HWND window) {
  // A step that opens a box runs a nested loop, where this timer goes on ticking.
  if (busy_) return;
  busy_ = true;
  if (next_ < steps_.size()) {
    steps_[next_++](window);
  } else if (++idleTicks_ > kGraceTicks) {
    forced_ = true;
    KillTimer(window, kTimerId);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  busy_ = false;
}

void selectPage(HWND dialog, int page) {
  HWND tabs = GetDlgItem(dialog, IDC_PP_TABS);
  SendMessageA(tabs, TCM_SETCURSEL, page, 0);
  NMHDR header = {};
  header.hwndFrom = tabs;
  header.idFrom = IDC_PP_TABS;
  header.code = TCN_SELCHANGE;
  SendMessageA(dialog, WM_NOTIFY, IDC_PP_TABS, reinterpret_cast<LPARAM>(&header));
}

int currentPage(HWND dialog) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_PP_TABS), TCM_GETCURSEL, 0, 0));
}

std::vector<std::string> tabTexts(HWND dialog) {
  std::vector<std::string> texts;
  HWND tabs = GetDlgItem(dialog, IDC_PP_TABS);
  int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[128] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    texts.push_back(text);
  }
  return texts;
}

std::set<int> visibleControls(HWND dialog) {
  std::set<int> ids;
  EnumChildWindows(dialog, collectVisible, reinterpret_cast<LPARAM>(&ids));
  return ids;
}

std::set<int> visiblePageControls(HWND dialog) {
  std::set<int> ids = visibleControls(dialog);
  ids.erase(IDC_PP_TABS);
  ids.erase(IDC_PP_OK);
  return ids;
}

std::vector<std::string> listItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND list = GetDlgItem(dialog, id);
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0));
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(strlen(text.c_str()));
    items.push_back(text);
  }
  return items;
}

std::string controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void setChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void clickButton(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void pressOk(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PP_OK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PP_OK)));
}

void pressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

void pressEscape(HWND dialog) {
  HWND target = GetFocus();
  if (!target || (target != dialog && !IsChild(dialog, target))) target = GetDlgItem(dialog, IDC_PP_OK);
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

bool saveScreenshot(HWND window, const std::string& path) {
  settle(window, 300);
  return tx::saveWindowPng(window, path);
}

}  // namespace ppt
