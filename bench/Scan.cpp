#include "bench/Scan.h"
#include "framework/Raii.h"

namespace bench {

bool scanCategories(const std::vector<std::string>& catids, std::vector<std::string>* found, size_t* scanned) {
  fw::UniqueHKey root;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, root.put()) != ERROR_SUCCESS) return false;
  *scanned = 0;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    LONG status = RegEnumKeyExA(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    ++*scanned;
    fw::UniqueHKey categories;
    if (RegOpenKeyExA(root.get(), (std::string(name) + "\\Implemented Categories").c_str(), 0, KEY_READ,
                      categories.put()) != ERROR_SUCCESS)
      continue;
    for (const std::string& catid : catids) {
      fw::UniqueHKey category;
      if (RegOpenKeyExA(categories.get(), catid.c_str(), 0, KEY_READ, category.put()) == ERROR_SUCCESS) {
        found->push_back(name);
        break;
      }
    }
  }
  return true;
}

}  // namespace bench
