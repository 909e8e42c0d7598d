#include "bench/Scan.h"
#include "framework/Raii.h"
#include "framework/WideText.h"

namespace bench {

bool scanCategories(const std::vector<std::string>& catids, std::vector<std::string>* found, size_t* scanned) {
  fw::UniqueHKey root;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, root.put()) != ERROR_SUCCESS) return false;
  *scanned = 0;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name / sizeof name[0];
    LONG status = RegEnumKeyExW(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    ++*scanned;
    fw::UniqueHKey categories;
    if (RegOpenKeyExW(root.get(), (std::wstring(name) + L"\\Implemented Categories").c_str(), 0, KEY_READ,
                      categories.put()) != ERROR_SUCCESS)
      continue;
    for (const std::string& catid : catids) {
      fw::UniqueHKey category;
      if (RegOpenKeyExW(categories.get(), wideFromNarrow(catid).c_str(), 0, KEY_READ, category.put()) == ERROR_SUCCESS) {
        found->push_back(narrowFromWide(name));
        break;
      }
    }
  }
  return true;
}

}  // namespace bench
