// Drives the property package dialog from the test's own thread: the steps run one per
// timer tick inside the dialog's modal loop, so the code that opened it can be called
// as the host calls it. Also the readers of the dialog's controls and the screenshots.
#pragma once
#include <windows.h>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "common/BoxCapture.h"

namespace ppt {

inline constexpr char kDialogCaption[] = "CAPE-OPEN Property Package Detailed Information";

// The controls that each page shows, besides the tab control and OK, which are always there.
std::set<int> generalControls();
std::set<int> componentsControls();
std::set<int> propertiesControls(bool withVllRequest);
std::set<int> aboutControls();

class DialogDriver {
 public:
  // Takes over the capture's dialog handler. Any other dialog that opens meanwhile is
  // recorded by caption and cancelled.
  explicit DialogDriver(BoxCapture& capture);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // A step for the dialog; the last one should close it (pressOk, pressCloseBox ...).
  DialogDriver& then(std::function<void(HWND)> step);

  int dialogsSeen() const { return seen_; }
  // True when the dialog outlived its steps and had to be cancelled.
  bool forcedClose() const { return forced_; }
  const std::vector<std::string>& otherDialogs() const { return others_; }

 private:
  static void CALLBACK tick(HWND window, UINT, UINT_PTR, DWORD);
  void opened(HWND window);
  void run(HWND window);

  std::vector<std::function<void(HWND)>> steps_;
  size_t next_ = 0;
  int idleTicks_ = 0;
  int seen_ = 0;
  bool busy_ = false;
  bool forced_ = false;
  std::vector<std::string> others_;
  DialogDriver* previous_;
};

// Selects a tab as the user's click does (the selection, then TCN_SELCHANGE).
void selectPage(HWND dialog, int page);
int currentPage(HWND dialog);
std::vector<std::string> tabTexts(HWND dialog);
// IDs of the dialog's controls that have the visible style.
std::set<int> visibleControls(HWND dialog);
// The same without the tab control and OK.
std::set<int> visiblePageControls(HWND dialog);
std::vector<std::string> listItems(HWND dialog, int id);
std::string controlText(HWND dialog, int id);
bool isChecked(HWND dialog, int id);
void setChecked(HWND dialog, int id, bool checked);
bool isEnabled(HWND dialog, int id);
// Presses a push button (WM_COMMAND with BN_CLICKED), synchronously.
void clickButton(HWND dialog, int id);
void pressOk(HWND dialog);
void pressCloseBox(HWND dialog);
void pressEscape(HWND dialog);

// Saves what the screen shows of 'window' as a PNG file (Windows path).
bool saveScreenshot(HWND window, const std::string& path);

}  // namespace ppt
