#include "common/BoxCapture.h"
#include <algorithm>
#include "common/DialogDriver.h"

namespace {
BoxCapture* g_current = nullptr;
const UINT_PTR kBoxTimer = 0x7B0C;

bool hasButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && IsWindowVisible(button);
}

// The MB_ bits that the box shows.
UINT shownType(HWND box) {
  UINT type = 0;
  if (hasButton(box, IDABORT) && hasButton(box, IDRETRY)) type = MB_ABORTRETRYIGNORE;
  else if (hasButton(box, IDYES) && hasButton(box, IDCANCEL)) type = MB_YESNOCANCEL;
  else if (hasButton(box, IDYES)) type = MB_YESNO;
  else if (hasButton(box, IDRETRY)) type = MB_RETRYCANCEL;
  else if (hasButton(box, IDOK) && hasButton(box, IDCANCEL)) type = MB_OKCANCEL;
  // The icon's control: 0x14 on Windows, stc1 (0x440) in Wine.
  HWND icon = GetDlgItem(box, 0x14);
  if (!icon || !IsWindowVisible(icon)) icon = GetDlgItem(box, 0x440);
  if (icon && IsWindowVisible(icon)) {
    HICON shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    if (shown == LoadIconA(nullptr, IDI_HAND)) type |= MB_ICONHAND;
    else if (shown == LoadIconA(nullptr, IDI_QUESTION)) type |= MB_ICONQUESTION;
    else if (shown == LoadIconA(nullptr, IDI_EXCLAMATION)) type |= MB_ICONEXCLAMATION;
    else if (shown == LoadIconA(nullptr, IDI_ASTERISK)) type |= MB_ICONASTERISK;
  }
  if (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) type |= MB_SYSTEMMODAL;
  return type;
}

int defaultButton(HWND box) {
  static const int order[] = {IDOK, IDYES, IDRETRY, IDABORT, IDNO, IDCANCEL, IDIGNORE};
  for (int id : order) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button) && (GetWindowLongA(button, GWL_STYLE) & BS_DEFPUSHBUTTON)) return id;
  }
  for (int id : order)
    if (hasButton(box, id)) return id;
  return IDCANCEL;
}
}  // namespace

void CALLBACK BoxCapture::boxTimer(HWND box, UINT, UINT_PTR id, DWORD) {
  KillTimer(box, id);
  int answer = IDOK;
  if (BoxCapture* self = g_current) answer = self->recordBox(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

BoxCapture::BoxCapture() : hook_(nullptr), previous_(g_current) {
  g_current = this;
  hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

BoxCapture::~BoxCapture() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_current = previous_;
}

void BoxCapture::queueAnswers(std::initializer_list<int> answers) {
  for (int a : answers) answers_.push_back(a);
}

void BoxCapture::onDialog(std::function<void(HWND)> handler) { dialogHandler_ = std::move(handler); }
void BoxCapture::onBox(std::function<void(const CapturedBox&)> handler) { boxHandler_ = std::move(handler); }

std::vector<std::string> BoxCapture::texts() const {
  std::vector<std::string> result;
  for (const auto& box : boxes_) result.push_back(box.text);
  return result;
}

bool BoxCapture::anyContains(const std::string& part) const {
  return std::any_of(boxes_.begin(), boxes_.end(),
                     [&](const CapturedBox& box) { return box.text.find(part) != std::string::npos; });
}

bool BoxCapture::isMessageBox(HWND window) {
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  return strcmp(cls, "#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr;
}

LRESULT CALLBACK BoxCapture::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  BoxCapture* self = g_current;
  HHOOK hook = self ? self->hook_ : nullptr;
  if (code == HCBT_ACTIVATE && self) self->activated(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(hook, code, wParam, lParam);
}

void BoxCapture::activated(HWND window) {
  // A window is activated again when a box above it closes: handle each once. Wine
  // activates a message box before it has filled in its text, buttons and icon, so the
  // box is read from its own message loop, once it runs.
  if (!window || GetPropA(window, "TxBoxCaptureSeen")) return;
  SetPropA(window, "TxBoxCaptureSeen", reinterpret_cast<HANDLE>(1));
  if (isMessageBox(window)) {
    SetTimer(window, kBoxTimer, 1, boxTimer);
    return;
  }
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (strcmp(cls, "#32770") == 0 && dialogHandler_) dialogHandler_(window);
}

int BoxCapture::recordBox(HWND window) {
  CapturedBox box;
  box.text = tx::windowText(GetDlgItem(window, 0xFFFF));
  box.caption = tx::windowText(window);
  box.type = shownType(window);
  box.owner = GetWindow(window, GW_OWNER);
  box.answer = defaultButton(window);
  if (!answers_.empty()) {
    box.answer = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back(box);
  // Outside the hook: boxes that the handler opens are captured too.
  if (boxHandler_) boxHandler_(box);
  return box.answer;
}
