#include "cohost/BoxRelay.h"
#include <cstdio>
#include <cstring>

namespace {

BoxRelay* g_relay = nullptr;
std::vector<RelayedBox>* g_boxes = nullptr;
const UINT_PTR kAnswerTimer = 0x7C01;
const char kSeen[] = "CohostBoxSeen";

std::string windowText(HWND window) {
  char text[4096] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool isMessageBox(HWND window) {
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  return strcmp(cls, "#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr;
}

}  // namespace

int defaultButton(HWND box) {
  static const int order[] = {IDOK, IDYES, IDRETRY, IDABORT, IDNO, IDCANCEL, IDIGNORE};
  for (int id : order) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button) && (GetWindowLongA(button, GWL_STYLE) & BS_DEFPUSHBUTTON)) return id;
  }
  for (int id : order) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) return id;
  }
  return IDCANCEL;
}

BoxRelay::BoxRelay(bool batch) : hook_(nullptr) {
  if (!batch) return;
  g_relay = this;
  g_boxes = &boxes_;
  hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

BoxRelay::~BoxRelay() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_relay = nullptr;
  g_boxes = nullptr;
}

std::vector<RelayedBox> BoxRelay::take() {
  std::vector<RelayedBox> taken;
  taken.swap(boxes_);
  return taken;
}

LRESULT CALLBACK BoxRelay::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // A box is filled in after it is activated: it is read from its own message loop.
    if (isMessageBox(window) && !GetPropA(window, kSeen)) {
      SetPropA(window, kSeen, reinterpret_cast<HANDLE>(1));
      SetTimer(window, kAnswerTimer, 1, answer);
    }
  }
  return CallNextHookEx(g_relay ? g_relay->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK BoxRelay::answer(HWND box, UINT, UINT_PTR id, DWORD) {
  KillTimer(box, id);
  RelayedBox relayed;
  relayed.caption = windowText(box);
  relayed.text = windowText(GetDlgItem(box, 0xFFFF));
  fprintf(stderr, "[message box] %s: %s\n", relayed.caption.c_str(), relayed.text.c_str());
  fflush(stderr);
  if (g_boxes) g_boxes->push_back(relayed);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(defaultButton(box), BN_CLICKED), 0);
}
