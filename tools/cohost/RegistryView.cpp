#include "cohost/RegistryView.h"
#include <algorithm>
#include <cstring>
#include "framework/Raii.h"

const RegistryView kView64 = {KEY_WOW64_64KEY, 64};
const RegistryView kView32 = {KEY_WOW64_32KEY, 32};
const char* const kCapeDescriptionValues[7] = {"Name",      "Description", "About",  "CapeVersion",
                                               "ComponentVersion", "VendorURL", "HelpURL"};

namespace {

bool openKey(const RegistryView& view, const std::string& key, fw::UniqueHKey& handle) {
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ | view.flag, handle.put()) == ERROR_SUCCESS;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

// The record of a class or of one of its packages, from its CapeDescription key.
std::unique_ptr<CAPETreeItem> readRecord(const RegistryView& view, const std::string& clsid, const char* catid,
                                         const std::string& package) {
  auto record = std::make_unique<CAPETreeItem>();
  record->catid = catid;
  record->clsid = upper(clsid);
  std::string key = "CLSID\\" + clsid;
  if (package.empty()) {
    readViewValue(view, key + "\\ProgID", "", &record->progid);
  } else {
    record->progid = package;
    key += "\\PropertyPackages\\" + package;
  }
  key += "\\CapeDescription";
  std::string* fields[] = {&record->name,        &record->description, &record->about,  &record->capeVersion,
                           &record->componentVersion, &record->vendorURL, &record->helpURL};
  for (size_t i = 0; i < std::size(fields); ++i) {
    readViewValue(view, key, kCapeDescriptionValues[i], fields[i]);
    // As the Component Manager shows a value.
    if (fields[i]->size() > 2047) fields[i]->resize(2047);
  }
  if (record->name.empty()) record->name = record->progid;
  return record;
}

}  // namespace

bool readViewValue(const RegistryView& view, const std::string& key, const char* name, std::string* value,
                   DWORD* size) {
  fw::UniqueHKey handle;
  if (size) *size = 0;
  if (!openKey(view, key, handle)) return false;
  DWORD type = 0, bytes = 0;
  const char* valueName = name && *name ? name : nullptr;
  if (RegQueryValueExA(handle.get(), valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  std::string data(bytes + 1, '\0');
  if (RegQueryValueExA(handle.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &bytes) !=
      ERROR_SUCCESS)
    return false;
  data.resize(strnlen(data.c_str(), bytes));
  if (size) *size = static_cast<DWORD>(data.size());
  if (value) *value = data;
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool viewKeyExists(const RegistryView& view, const std::string& key) {
  fw::UniqueHKey handle;
  return openKey(view, key, handle);
}

std::vector<std::string> viewSubkeys(const RegistryView& view, const std::string& key) {
  std::vector<std::string> names;
  fw::UniqueHKey handle;
  if (!openKey(view, key, handle)) return names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD length = sizeof name;
    LONG result = RegEnumKeyExA(handle.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // longer than any CLSID or package name we look for
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::map<std::string, ViewClass> capeOpenClasses(const RegistryView& view) {
  std::map<std::string, ViewClass> found;
  for (const std::string& clsid : viewSubkeys(view, "CLSID")) {
    fw::UniqueHKey implemented;
    if (!openKey(view, "CLSID\\" + clsid + "\\Implemented Categories", implemented)) continue;
    ViewClass entry{clsid, {}};
    for (const CategoryRow& row : CategoryTable::rows) {
      fw::UniqueHKey category;
      if (RegOpenKeyExA(implemented.get(), row.catid, 0, KEY_READ | view.flag, category.put()) == ERROR_SUCCESS)
        entry.categories.push_back(&row);
    }
    if (!entry.categories.empty()) found[upper(clsid)] = entry;
  }
  return found;
}

std::vector<CatalogueEntry> viewCatalogue(const RegistryView& view, long filter,
                                          std::vector<std::unique_ptr<CAPETreeItem>>* records,
                                          std::vector<std::string>* catids) {
  std::map<std::string, ViewClass> classes = capeOpenClasses(view);
  std::vector<CatalogueEntry> roots;
  for (const CategoryRow& row : CategoryTable::rows) {
    if (!(static_cast<unsigned long>(filter) & row.flag)) continue;
    CatalogueEntry category;
    category.text = category.label = row.displayName;
    for (const auto& item : classes) {
      const ViewClass& c = item.second;
      if (std::find(c.categories.begin(), c.categories.end(), &row) == c.categories.end()) continue;
      records->push_back(readRecord(view, c.clsid, row.catid, std::string()));
      CatalogueEntry component;
      component.record = records->back().get();
      component.text = component.record->progid;
      component.label = MakeItemLabel(component.text, component.record);
      for (const std::string& package : viewSubkeys(view, "CLSID\\" + c.clsid + "\\PropertyPackages")) {
        records->push_back(readRecord(view, c.clsid, row.catid, package));
        CatalogueEntry child;
        child.record = records->back().get();
        child.text = package;
        child.label = MakeItemLabel(package, child.record);
        component.children.push_back(child);
      }
      category.children.push_back(component);
    }
    std::sort(category.children.begin(), category.children.end(),
              [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.label < b.label; });
    roots.push_back(category);
    catids->push_back(row.catid);
  }
  return roots;
}
