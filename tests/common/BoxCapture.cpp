#include "common/BoxCapture.h"
#include <algorithm>

namespace {

// The MB_ bits that the box shows.
UINT shownType(HWND box) {
  auto has = [box](int id) { return fw::hasVisibleButton(box, id); };
  UINT type = 0;
  if (has(IDABORT) && has(IDRETRY)) type = MB_ABORTRETRYIGNORE;
  else if (has(IDYES) && has(IDCANCEL)) type = MB_YESNOCANCEL;
  else if (has(IDYES)) type = MB_YESNO;
  else if (has(IDRETRY)) type = MB_RETRYCANCEL;
  else if (has(IDOK) && has(IDCANCEL)) type = MB_OKCANCEL;
  // The icon's control: 0x14 on Windows, stc1 (0x440) in Wine.
  HWND icon = GetDlgItem(box, 0x14);
  if (!icon || !IsWindowVisible(icon)) icon = GetDlgItem(box, 0x440);
  if (icon && IsWindowVisible(icon)) {
    HICON shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    if (shown == LoadIconA(nullptr, IDI_HAND)) type |= MB_ICONHAND;
    else if (shown == LoadIconA(nullptr, IDI_QUESTION)) type |= MB_ICONQUESTION;
    else if (shown == LoadIconA(nullptr, IDI_EXCLAMATION)) type |= MB_ICONEXCLAMATION;
    else if (shown == LoadIconA(nullptr, IDI_ASTERISK)) type |= MB_ICONASTERISK;
  }
  if (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) type |= MB_SYSTEMMODAL;
  return type;
}

}  // namespace

BoxCapture::BoxCapture() : hook_([this](HWND window) { activated(window); }) {}

std::vector<std::string> BoxCapture::texts() const {
  std::vector<std::string> result;
  for (const auto& box : boxes_) result.push_back(box.text);
  return result;
}

bool BoxCapture::anyContains(const std::string& part) const {
  return std::any_of(boxes_.begin(), boxes_.end(),
                     [&](const CapturedBox& box) { return box.text.find(part) != std::string::npos; });
}

void BoxCapture::activated(HWND window) {
  // Wine activates a message box before it has filled in its text, buttons and icon, so
  // the box is read from its own message loop, once it runs.
  if (fw::isMessageBox(window)) {
    fw::DriveOptions options;
    options.tickMs = 1;
    options.graceMs = 0;
    fw::WindowHook::drive(window, {[this](HWND box) { answerBox(box); }}, options);
  } else if (fw::isDialogWindow(window) && dialogHandler_) {
    dialogHandler_(window);
  }
}

void BoxCapture::answerBox(HWND window) {
  CapturedBox box;
  box.text = fw::messageBoxText(window);
  box.caption = fw::windowText(window);
  box.type = shownType(window);
  box.owner = GetWindow(window, GW_OWNER);
  box.answer = fw::defaultButton(window);
  if (!answers_.empty()) {
    box.answer = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back(box);
  // Outside the hook: boxes that the handler opens are captured too.
  if (boxHandler_) boxHandler_(box);
  fw::postClick(window, box.answer);
}
