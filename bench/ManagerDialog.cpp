#include "bench/ManagerDialog.h"
#include <commctrl.h>
#include "bench/Stopwatch.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "framework/WindowHook.h"

namespace bench {

namespace {

const char kCaption[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
const int kTreeId = 1018;

}  // namespace

ManagerDialog::~ManagerDialog() {
  if (object_) object_->releaseComponents();
  object_.reset();
  if (module_) FreeLibrary(module_);
}

bool ManagerDialog::load(const std::string& dllPath, long filter, std::string* error) {
  module_ = LoadLibraryW(wideFromNarrow(dllPath).c_str());
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
  Stopwatch clock;
  *setUpMs = -1;
  *treeItems = 0;
  bool armed = false;
  fw::WindowHook hook([&](HWND window) {
    if (armed || fw::windowText(window) != kCaption) return;
    // A tick of 0 ms comes after every posted message and the first WM_PAINT.
    fw::DriveOptions options;
    options.tickMs = 0;
    armed = fw::WindowHook::drive(window, {[&](HWND dialog) {
      *setUpMs = clock.ms();
      *treeItems = static_cast<size_t>(SendDlgItemMessageW(dialog, kTreeId, TVM_GETCOUNT, 0, 0));
      EndDialog(dialog, IDCANCEL);
    }}, options);
  });
  if (!hook.installed()) {
    *error = "cannot watch for the dialog";
    return false;
  }
  fw::UniqueBstr component, catids;
  clock = Stopwatch();
  HRESULT hr = object_->ShowGUI(component.put(), catids.put());
  *totalMs = clock.ms();
  if (FAILED(hr) || *setUpMs < 0) {
    *error = FAILED(hr) ? "ShowGUI failed" : "the Component Manager did not appear";
    return false;
  }
  return true;
}

}  // namespace bench
