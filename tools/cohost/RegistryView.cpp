#include "cohost/RegistryView.h"
#include <algorithm>
#include <cstring>
#include <iterator>
#include "framework/Raii.h"
#include "framework/WideText.h"

const RegistryView kView64 = {KEY_WOW64_64KEY, 64};
const RegistryView kView32 = {KEY_WOW64_32KEY, 32};
const char* const kCapeDescriptionValues[7] = {"Name",      "Description", "About",  "CapeVersion",
                                               "ComponentVersion", "VendorURL", "HelpURL"};

namespace {

bool openKey(const RegistryView& view, const std::string& key, fw::UniqueHKey& handle) {
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(key).c_str(), 0, KEY_READ | view.flag, handle.put()) ==
         ERROR_SUCCESS;
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
    cutNarrow(*fields[i], kShownValueBytes);
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
  const std::wstring wideName = name ? wideFromNarrow(name) : std::wstring();
  const wchar_t* valueName = wideName.empty() ? nullptr : wideName.c_str();
  if (RegQueryValueExW(handle.get(), valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(handle.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &bytes) !=
      ERROR_SUCCESS)
    return false;
  data.resize(wcsnlen(data.c_str(), bytes / sizeof(wchar_t)));
  // The size and the text as a host reads them: UTF-8.
  const std::string text = narrowFromWide(data);
  if (size) *size = static_cast<DWORD>(text.size());
  if (value) *value = text;
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
    wchar_t name[256];
    DWORD length = static_cast<DWORD>(std::size(name));
    LONG result = RegEnumKeyExW(handle.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // longer than any CLSID or package name we look for
    if (result != ERROR_SUCCESS) break;
    names.push_back(narrowFromWide(name, static_cast<int>(length)));
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
      if (RegOpenKeyExW(implemented.get(), wideFromNarrow(row.catid).c_str(), 0, KEY_READ | view.flag,
                        category.put()) == ERROR_SUCCESS)
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
