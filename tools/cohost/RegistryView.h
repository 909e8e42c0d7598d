// The CAPE-OPEN registrations of one registry view. A 64-bit host reads the 64-bit view,
// a 32-bit host the 32-bit one (KEY_WOW64_32KEY); on a 64-bit machine a component
// registered by a 32-bit installer lives only in the latter.
#pragma once
#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "manager/ComponentCatalogue.h"

struct RegistryView {
  REGSAM flag;  // KEY_WOW64_64KEY or KEY_WOW64_32KEY
  int bits;     // 64 or 32
};
extern const RegistryView kView64;
extern const RegistryView kView32;

// The seven values of a CapeDescription key, in the Component Manager's order.
extern const char* const kCapeDescriptionValues[7];

// A string value of HKCR\<key> in 'view' (the default value for an empty name); 'size'
// gets its length in bytes (0 when absent). False when absent or not a string.
bool readViewValue(const RegistryView& view, const std::string& key, const char* name, std::string* value,
                   DWORD* size = nullptr);
// The bytes of a value that the Component Manager shows (cutNarrow keeps whole characters).
constexpr size_t kShownValueBytes = 2047;
bool viewKeyExists(const RegistryView& view, const std::string& key);
// Names of the subkeys of HKCR\<key> in 'view'.
std::vector<std::string> viewSubkeys(const RegistryView& view, const std::string& key);

// A class registered under CAPE-OPEN categories: its CLSID ("{...}" as registered) and
// the rows of CategoryTable it declares.
struct ViewClass {
  std::string clsid;
  std::vector<const CategoryRow*> categories;
};
// Every such class of 'view', keyed by upper-case CLSID text.
std::map<std::string, ViewClass> capeOpenClasses(const RegistryView& view);

// The catalogue of 'filter' as a host of the view's bitness lists it, from the registry
// alone (a 64-bit process cannot load a 32-bit property system to ask for its packages:
// they come from its registered PropertyPackages key). 'records' owns what the entries
// point at; 'catids' gets each root's CATID.
std::vector<CatalogueEntry> viewCatalogue(const RegistryView& view, long filter,
                                          std::vector<std::unique_ptr<CAPETreeItem>>* records,
                                          std::vector<std::string>* catids);
