// Watching and driving the windows that this thread opens, for the programs that run the
// product without a person (tests, tools, benchmark): a CBT hook that reports each window
// when it is first activated, step runners that act on a window from inside its own modal
// loop, and the readers of message boxes. Header-only: the DLL itself never drives windows.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "framework/WideText.h"

namespace fw {

// A window's text as UTF-8, read wide so that no script is lost on the way.
inline std::string windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, &text[0], length + 1);
  return narrowFromWide(text.c_str(), copied > 0 ? copied : 0);
}

// The item of a tree view in 'relation' (TVGN_ROOT, TVGN_NEXT, TVGN_CHILD ...) to 'item'.
inline HTREEITEM treeItem(HWND tree, UINT relation, HTREEITEM item = nullptr) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The label of a tree view's item.
inline std::string treeItemText(HWND tree, HTREEITEM item) {
  std::vector<wchar_t> text(8192, L'\0');
  TVITEMW data = {};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text.data();
  data.cchTextMax = static_cast<int>(text.size());
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return narrowFromWide(text.data());
}

inline bool isDialogWindow(HWND window) {
  wchar_t name[32] = L"";
  return GetClassNameW(window, name, 32) > 0 && wcscmp(name, L"#32770") == 0;
}

// A message box is a dialog whose text is the static control 0xFFFF.
inline bool isMessageBox(HWND window) { return isDialogWindow(window) && GetDlgItem(window, 0xFFFF) != nullptr; }
inline std::string messageBoxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

inline bool hasVisibleButton(HWND window, int id) {
  HWND button = GetDlgItem(window, id);
  return button && IsWindowVisible(button);
}

// The button that Enter presses in a message box: its default one, else the first shown of
// OK, Yes, Retry, Abort, No, Cancel, Ignore.
inline int defaultButton(HWND box) {
  static const int order[] = {IDOK, IDYES, IDRETRY, IDABORT, IDNO, IDCANCEL, IDIGNORE};
  for (int id : order)
    if (hasVisibleButton(box, id) && (GetWindowLongW(GetDlgItem(box, id), GWL_STYLE) & BS_DEFPUSHBUTTON)) return id;
  for (int id : order)
    if (hasVisibleButton(box, id)) return id;
  return IDCANCEL;
}

// A click on button 'id' delivered at once, or posted (for a button that ends the window or
// opens another, so that the caller is not inside its handler).
inline void sendClick(HWND window, int id) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}
inline void postClick(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

using WindowStep = std::function<void(HWND)>;

struct DriveOptions {
  // The first step runs at the first tick: after every message posted to the window so far
  // and its first paint, so the window is filled in.
  UINT tickMs = 40;
  // A window still up this long after its last step was given time enough to end by itself
  // (a posted click, a box and its answer): it is ended with kForcedEnd. 0: never.
  DWORD graceMs = 480;
  // Called once the window is destroyed, with true when it was ended for want of an end.
  std::function<void(bool forced)> ended;
};

// One CBT hook per thread, shared by every WindowHook on it; the innermost one with a handler
// gets the reports, and the one it replaced gets them again when it goes.
class WindowHook {
 public:
  static constexpr INT_PTR kForcedEnd = -2;

  // 'activated' sees each window of this thread once, inside the hook at its first
  // activation, before a message box or dialog is filled in: read it from a step.
  // 'refuseCreation' (may be null) makes a window fail to be created when it answers true;
  // the hook is a Unicode one, so the creation data is wide.
  explicit WindowHook(std::function<void(HWND)> activated,
                      std::function<bool(const CREATESTRUCTW&)> refuseCreation = nullptr)
      : activated_(std::move(activated)), refuseCreation_(std::move(refuseCreation)) {
    State& state = threadState();
    previous_ = state.current;
    state.current = this;
    if (!state.hook) state.hook = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    installed_ = state.hook != nullptr;
  }
  ~WindowHook() {
    State& state = threadState();
    state.current = previous_;
    // Its runs go with it: their steps may use what its owner holds.
    for (auto at = state.runs.begin(); at != state.runs.end();) {
      if ((*at)->owner != this && previous_) {
        ++at;
        continue;
      }
      KillTimer((*at)->window, kTimerId);
      RemovePropW((*at)->window, kRunProperty);
      at = state.runs.erase(at);
    }
    if (previous_) return;
    if (state.hook) UnhookWindowsHookEx(state.hook);
    state.hook = nullptr;
  }
  WindowHook(const WindowHook&) = delete;
  WindowHook& operator=(const WindowHook&) = delete;

  bool installed() const { return installed_; }

  // Runs 'steps' on 'window' from its own message loop, one per tick, then waits for it to be
  // destroyed.
  // A window driven again drops its earlier steps. The run ends with the hook that was told
  // of the window (else the innermost one).
  static bool drive(HWND window, std::vector<WindowStep> steps, DriveOptions options = DriveOptions()) {
    State& state = threadState();
    if (!state.hook || !state.current || !IsWindow(window)) return false;
    std::unique_ptr<Run> run(new (std::nothrow) Run);
    if (!run) return false;
    run->owner = state.reporting ? state.reporting : state.current;
    run->window = window;
    run->steps = std::move(steps);
    run->options = std::move(options);
    run->doneAt = GetTickCount();
    forget(window);
    // Found through the window (a property), which knows itself by any form of its handle.
    if (!SetPropW(window, kRunProperty, run.get())) return false;
    if (!SetTimer(window, kTimerId, run->options.tickMs, tick)) {
      RemovePropW(window, kRunProperty);
      return false;
    }
    state.runs.push_back(std::move(run));
    return true;
  }

 private:
  static constexpr UINT_PTR kTimerId = 0x7E57;
  static constexpr const wchar_t* kRunProperty = L"fw.WindowHook.run";
  static constexpr const wchar_t* kSeenProperty = L"fw.WindowHook.seen";

  struct Run {
    const WindowHook* owner = nullptr;
    HWND window = nullptr;
    std::vector<WindowStep> steps;
    DriveOptions options;
    size_t next = 0;
    DWORD doneAt = 0;  // when the last step ran
    bool busy = false;
    bool forced = false;
  };
  struct State {
    HHOOK hook = nullptr;
    WindowHook* current = nullptr;
    WindowHook* reporting = nullptr;  // whose handler is being told of a window
    std::vector<std::unique_ptr<Run>> runs;
  };
  static State& threadState() {
    static thread_local State state;
    return state;
  }

  static std::vector<std::unique_ptr<Run>>::iterator findRun(HWND window) {
    std::vector<std::unique_ptr<Run>>& runs = threadState().runs;
    const Run* wanted = static_cast<const Run*>(GetPropW(window, kRunProperty));
    return std::find_if(runs.begin(), runs.end(), [&](const std::unique_ptr<Run>& run) { return run.get() == wanted; });
  }
  static Run* runOf(HWND window) {
    auto at = findRun(window);
    return at == threadState().runs.end() ? nullptr : at->get();
  }

  static void forget(HWND window) {
    auto at = findRun(window);
    if (at == threadState().runs.end()) return;
    KillTimer(window, kTimerId);
    RemovePropW(window, kRunProperty);
    threadState().runs.erase(at);
  }

  static void CALLBACK tick(HWND window, UINT, UINT_PTR, DWORD) {
    Run* run = runOf(window);
    // A step that opens a box runs a nested loop, where this timer goes on ticking.
    if (!run || run->busy) return;
    if (run->next < run->steps.size()) {
      run->busy = true;
      WindowStep step = run->steps[run->next++];
      step(window);
      if (Run* still = runOf(window)) {
        still->busy = false;
        still->doneAt = GetTickCount();
      }
    } else if (run->options.graceMs > 0 && GetTickCount() - run->doneAt >= run->options.graceMs) {
      run->forced = true;
      KillTimer(window, kTimerId);
      // Ended without a command, so that no handler of the window runs for it.
      EndDialog(window, kForcedEnd);
    }
  }

  static void destroyed(HWND window) {
    State& state = threadState();
    auto at = findRun(window);
    if (at == state.runs.end()) return;
    std::unique_ptr<Run> run = std::move(*at);
    state.runs.erase(at);
    RemovePropW(window, kRunProperty);
    if (run->options.ended) run->options.ended(run->forced);
  }

  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
    State& state = threadState();
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && window && !GetPropW(window, kSeenProperty)) {
      // A window is activated again when one above it closes: each is reported once.
      SetPropW(window, kSeenProperty, reinterpret_cast<HANDLE>(1));
      for (WindowHook* hook = state.current; hook; hook = hook->previous_) {
        if (hook->activated_) {
          state.reporting = hook;
          hook->activated_(window);
          state.reporting = nullptr;
          break;
        }
      }
    } else if (code == HCBT_DESTROYWND) {
      RemovePropW(window, kSeenProperty);
      destroyed(window);
    } else if (code == HCBT_CREATEWND && lParam) {
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      for (WindowHook* hook = state.current; hook && create; hook = hook->previous_)
        if (hook->refuseCreation_ && hook->refuseCreation_(*create)) return 1;
    }
    return CallNextHookEx(state.hook, code, wParam, lParam);
  }

  std::function<void(HWND)> activated_;
  std::function<bool(const CREATESTRUCTW&)> refuseCreation_;
  WindowHook* previous_ = nullptr;
  bool installed_ = false;
};

}  // namespace fw
