#include "chaos/WindowDriver.h"
#include "cohost/BoxRelay.h"
#include <commctrl.h>
#include <cstring>
#include <vector>
#include "manager/CapeOpenDlgIds.h"
#include "ppdialog/COTHConfigIds.h"
#include "samples/zoo/ChaosIds.h"

namespace {

WindowDriver* g_driver = nullptr;
const char kSeen[] = "ChaosDriverSeen";
const UINT_PTR kTimer = 0x7C4A;

bool isDialog(HWND window) {
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  return strcmp(cls, "#32770") == 0;
}

void click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void collectItems(HWND tree, HTREEITEM first, std::vector<HTREEITEM>& items) {
  for (HTREEITEM item = first; item;
       item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    items.push_back(item);
    collectItems(tree,
                 reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                 items);
  }
}

}  // namespace

WindowDriver::WindowDriver() : hook_(nullptr) {
  g_driver = this;
  hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

WindowDriver::~WindowDriver() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_driver = nullptr;
}

void WindowDriver::reseed(uint64_t seed) { state_ = txs::chaosStream(seed, 0x57D1); }

uint32_t WindowDriver::draw(uint32_t n) {
  txs::ChaosRandom random(state_);
  state_ = random.next();
  return random.below(n);
}

LRESULT CALLBACK WindowDriver::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && g_driver && isDialog(window) && !GetPropA(window, kSeen)) {
    SetPropA(window, kSeen, reinterpret_cast<HANDLE>(1));
    // Boxes and dialogs are filled in after activation: each is driven from its own
    // modal loop by a timer.
    TIMERPROC drive = cancelDialog;
    if (GetDlgItem(window, 0xFFFF)) {
      drive = answerBox;
    } else if (GetDlgItem(window, IDC_CO_TREE)) {
      drive = driveManager;
    } else if (GetDlgItem(window, IDC_PP_TABS)) {
      drive = drivePackageDialog;
    }
    SetTimer(window, kTimer, 1, drive);
  }
  return CallNextHookEx(g_driver ? g_driver->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK WindowDriver::answerBox(HWND box, UINT, UINT_PTR id, DWORD) {
  KillTimer(box, id);
  if (g_driver) ++g_driver->boxes_;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(defaultButton(box), BN_CLICKED), 0);
}

void CALLBACK WindowDriver::cancelDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  if (g_driver) ++g_driver->dialogs_;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK WindowDriver::driveManager(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  WindowDriver* self = g_driver;
  if (!self) return;
  ++self->dialogs_;
  HWND tree = GetDlgItem(dialog, IDC_CO_TREE);
  std::vector<HTREEITEM> items;
  collectItems(tree, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), items);
  for (HTREEITEM item : items) {
    // The dialog may be gone: a box raised by a selection can end it.
    if (!IsWindow(dialog)) return;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ++self->entries_;
  }
  if (!IsWindow(dialog)) return;
  // Mostly cancelled; now and then an entry is accepted (the dialog may refuse it and stay).
  if (!items.empty() && self->draw(4) == 0) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[self->draw(items.size())]));
    click(dialog, IDOK);
  }
  if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK WindowDriver::drivePackageDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  WindowDriver* self = g_driver;
  if (!self) return;
  ++self->dialogs_;
  HWND tabs = GetDlgItem(dialog, IDC_PP_TABS);
  int pages = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int page = 0; page < pages && IsWindow(dialog); ++page) {
    SendMessageA(tabs, TCM_SETCURSEL, page, 0);
    NMHDR header = {tabs, static_cast<UINT_PTR>(IDC_PP_TABS), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, IDC_PP_TABS, reinterpret_cast<LPARAM>(&header));
  }
  if (IsWindow(dialog) && self->draw(3) == 0) click(dialog, IDC_CUSTOM_VIEW);
  if (IsWindow(dialog) && self->draw(8) == 0) click(dialog, IDC_BROWSE_STATIC);
  if (IsWindow(dialog))
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(self->draw(2) ? IDC_PP_OK : IDCANCEL, BN_CLICKED), 0);
}
