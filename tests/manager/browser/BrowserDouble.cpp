#include "browser/BrowserDouble.h"
#include <vector>
#include "common/TestSupport.h"
#include "framework/Raii.h"

namespace {
const char kServerKey[] = "CLSID\\{0002DF01-0000-0000-C000-000000000046}\\InprocServer32";

bool setString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}
}  // namespace

BrowserDouble::BrowserDouble(int mode) : module_(nullptr), reset_(nullptr), calls_(nullptr), registered_(false) {
  std::string path = tx::buildPath("manager-helpers/tx_fake_browser.dll");
  module_ = LoadLibraryA(path.c_str());
  if (module_) {
    reset_ = reinterpret_cast<FakeBrowserResetFn>(reinterpret_cast<void*>(GetProcAddress(module_, kFakeBrowserReset)));
    calls_ = reinterpret_cast<FakeBrowserCallsFn>(reinterpret_cast<void*>(GetProcAddress(module_, kFakeBrowserCalls)));
  }
  if (reset_) reset_(mode);
  // The prefix's own registration names only a local server; nothing of it is replaced.
  if (!tx::keyExists(HKEY_CLASSES_ROOT, kServerKey)) {
    fw::UniqueHKey key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
      registered_ = setString(key.get(), nullptr, path) && setString(key.get(), "ThreadingModel", "Apartment");
  }
}

BrowserDouble::~BrowserDouble() {
  if (registered_) tx::deleteKeyTree(HKEY_CLASSES_ROOT, kServerKey);
  // The module stays loaded: COM may still hold it, and it never unloads itself.
}

std::string BrowserDouble::calls(int* count) const {
  std::vector<char> buffer(16384, '\0');
  int made = calls_ ? calls_(buffer.data(), static_cast<int>(buffer.size())) : -1;
  if (count) *count = made;
  return buffer.data();
}
