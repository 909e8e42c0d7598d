#include "chaos/WindowDriver.h"
#include <commctrl.h>
#include <vector>
#include "manager/CapeOpenDlgIds.h"
#include "ppdialog/COTHConfigIds.h"
#include "samples/zoo/ChaosIds.h"

namespace {

void collectItems(HWND tree, HTREEITEM first, std::vector<HTREEITEM>& items) {
  for (HTREEITEM item = first; item; item = fw::treeItem(tree, TVGN_NEXT, item)) {
    items.push_back(item);
    collectItems(tree, fw::treeItem(tree, TVGN_CHILD, item), items);
  }
}

}  // namespace

WindowDriver::WindowDriver() : hook_([this](HWND window) { opened(window); }) {}

void WindowDriver::reseed(uint64_t seed) { state_ = txs::chaosStream(seed, 0x57D1); }

uint32_t WindowDriver::draw(uint32_t n) {
  txs::ChaosRandom random(state_);
  state_ = random.next();
  return random.below(n);
}

void WindowDriver::opened(HWND window) {
  if (!fw::isDialogWindow(window)) return;
  // Boxes and dialogs are filled in after activation: each is driven from its own modal loop.
  fw::WindowStep step = [this](HWND dialog) {
    ++dialogs_;
    fw::postClick(dialog, IDCANCEL);
  };
  if (GetDlgItem(window, 0xFFFF)) {
    step = [this](HWND box) {
      ++boxes_;
      fw::postClick(box, fw::defaultButton(box));
    };
  } else if (GetDlgItem(window, IDC_CO_TREE)) {
    step = [this](HWND dialog) { driveManager(dialog); };
  } else if (GetDlgItem(window, IDC_PP_TABS)) {
    step = [this](HWND dialog) { drivePackageDialog(dialog); };
  }
  fw::DriveOptions options;
  options.tickMs = 1;
  options.graceMs = 0;  // a window that stays is the watchdog's to name
  fw::WindowHook::drive(window, {step}, options);
}

void WindowDriver::driveManager(HWND dialog) {
  ++dialogs_;
  HWND tree = GetDlgItem(dialog, IDC_CO_TREE);
  std::vector<HTREEITEM> items;
  collectItems(tree, fw::treeItem(tree, TVGN_ROOT), items);
  for (HTREEITEM item : items) {
    // The dialog may be gone: a box raised by a selection can end it.
    if (!IsWindow(dialog)) return;
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ++entries_;
  }
  if (!IsWindow(dialog)) return;
  // Mostly cancelled; now and then an entry is accepted (the dialog may refuse it and stay).
  if (!items.empty() && draw(4) == 0) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[draw(items.size())]));
    fw::sendClick(dialog, IDOK);
  }
  if (IsWindow(dialog)) fw::postClick(dialog, IDCANCEL);
}

void WindowDriver::drivePackageDialog(HWND dialog) {
  ++dialogs_;
  HWND tabs = GetDlgItem(dialog, IDC_PP_TABS);
  int pages = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int page = 0; page < pages && IsWindow(dialog); ++page) {
    SendMessageW(tabs, TCM_SETCURSEL, page, 0);
    NMHDR header = {tabs, static_cast<UINT_PTR>(IDC_PP_TABS), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, IDC_PP_TABS, reinterpret_cast<LPARAM>(&header));
  }
  if (IsWindow(dialog) && draw(3) == 0) fw::sendClick(dialog, IDC_CUSTOM_VIEW);
  if (IsWindow(dialog) && draw(8) == 0) fw::sendClick(dialog, IDC_BROWSE_STATIC);
  if (IsWindow(dialog)) fw::postClick(dialog, draw(2) ? IDC_PP_OK : IDCANCEL);
}
