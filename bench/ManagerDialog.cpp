#include "bench/ManagerDialog.h"
#include <cstring>
#include <commctrl.h>
#include "bench/Stopwatch.h"

namespace bench {

namespace {

const char kCaption[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
const int kTreeId = 1018;

// The run in progress on this (the only) thread.
struct Run {
  const Stopwatch* clock = nullptr;
  double setUpMs = -1;
  size_t treeItems = 0;
  bool armed = false;
};
Run g_run;

void CALLBACK closeManager(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  g_run.setUpMs = g_run.clock->ms();
  g_run.treeItems = static_cast<size_t>(SendDlgItemMessageA(dialog, kTreeId, TVM_GETCOUNT, 0, 0));
  EndDialog(dialog, IDCANCEL);
}

LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !g_run.armed) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char caption[128] = "";
    GetWindowTextA(window, caption, sizeof caption);
    // A timer of 0 ms comes after every posted message and the first WM_PAINT.
    if (strcmp(caption, kCaption) == 0 && SetTimer(window, 1, 0, closeManager)) g_run.armed = true;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Hook {
 public:
  Hook() : hook_(SetWindowsHookExA(WH_CBT, watch, nullptr, GetCurrentThreadId())) {}
  ~Hook() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  Hook(const Hook&) = delete;
  Hook& operator=(const Hook&) = delete;
  explicit operator bool() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

}  // namespace

ManagerDialog::~ManagerDialog() {
  if (object_) object_->releaseComponents();
  object_.reset();
  if (module_) FreeLibrary(module_);
}

bool ManagerDialog::load(const std::string& dllPath, long filter, std::string* error) {
  module_ = LoadLibraryA(dllPath.c_str());
  if (!module_) {
    *error = "cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  typedef HRESULT(STDAPICALLTYPE * GetClassObject)(REFCLSID, REFIID, void**);
  GetClassObject getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  fw::ComPtr<IClassFactory> factory;
  HRESULT hr = getClassObject ? getClassObject(CLSID_CCAPEGUI, IID_IClassFactory, factory.put_void()) : E_NOINTERFACE;
  if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_ICCAPEGUI, object_.put_void());
  if (SUCCEEDED(hr)) hr = object_->setup(0, nullptr, filter);
  if (FAILED(hr)) *error = "cannot make a CCAPEGUI object: " + std::to_string(static_cast<long>(hr));
  return SUCCEEDED(hr);
}

bool ManagerDialog::show(double* setUpMs, double* totalMs, size_t* treeItems, std::string* error) {
  Hook hook;
  if (!hook) {
    *error = "cannot watch for the dialog";
    return false;
  }
  BSTR component = nullptr, catids = nullptr;
  Stopwatch clock;
  g_run = Run();
  g_run.clock = &clock;
  HRESULT hr = object_->ShowGUI(&component, &catids);
  *totalMs = clock.ms();
  SysFreeString(component);
  SysFreeString(catids);
  *setUpMs = g_run.setUpMs;
  *treeItems = g_run.treeItems;
  if (FAILED(hr) || g_run.setUpMs < 0) {
    *error = FAILED(hr) ? "ShowGUI failed" : "the Component Manager did not appear";
    return false;
  }
  return true;
}

}  // namespace bench
