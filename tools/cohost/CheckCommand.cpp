// cohost check: validates every CAPE-OPEN registration of the machine, the way a
// component has to be registered to show up and work in the Component Manager: its
// ProgID, its server file, its description, its declared CAPE-OPEN version against the
// interface it really offers, and the packages of each property system.
#include <comcat.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"
#include "component/CapeVersion.h"
#include "external/CapeOpen.h"
#include "framework/Raii.h"
#include "manager/ComponentCatalogue.h"
#include "support/WideText.h"
#include "support/CTxBSTR.h"

namespace {

const char* const kDescriptionValues[] = {"Name", "Description", "About", "CapeVersion", "ComponentVersion",
                                          "VendorURL", "HelpURL"};
const DWORD kShownValueBytes = 2047;  // what the Component Manager reads of a value

struct Finding {
  std::string severity;  // "error", "warning"
  std::string text;
};

struct Checked {
  CLSID clsid;
  std::string clsidText;
  std::string progId;
  unsigned long categories = 0;
  std::vector<std::string> categoryNames;
  std::vector<Finding> findings;
  void error(const std::string& text) { findings.push_back({"error", text}); }
  void warning(const std::string& text) { findings.push_back({"warning", text}); }
};

std::string clsidString(REFCLSID clsid) {
  fw::CoTaskMem<wchar_t> text;
  return SUCCEEDED(StringFromCLSID(clsid, text.put())) ? narrowFromWide(text.get()) : std::string();
}

// A string value of HKCR\<key>; 'size' gets its length in bytes (0 when absent).
bool readValue(const std::string& key, const char* name, std::string* value, DWORD* size) {
  fw::UniqueHKey handle;
  *size = 0;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExA(handle.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  std::string data(bytes + 1, '\0');
  if (RegQueryValueExA(handle.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &bytes) != ERROR_SUCCESS)
    return false;
  data.resize(strnlen(data.c_str(), bytes));
  *size = static_cast<DWORD>(data.size());
  if (value) *value = data;
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool keyExists(const std::string& key) {
  fw::UniqueHKey handle;
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
}

// Every class registered under a CAPE-OPEN category, with the categories it declares.
std::vector<Checked> registeredComponents() {
  std::map<std::string, Checked> found;
  fw::ComPtr<ICatInformation> categories;
  if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                              categories.put_void())))
    return {};
  for (const CategoryRow& row : CategoryTable::rows) {
    CATID catid;
    if (FAILED(CLSIDFromString(row.catidW, &catid))) continue;
    fw::ComPtr<IEnumCLSID> classes;
    if (FAILED(categories->EnumClassesOfCategories(1, &catid, static_cast<ULONG>(-1), nullptr, classes.put())) ||
        !classes)
      continue;
    CLSID clsid;
    while (classes->Next(1, &clsid, nullptr) == S_OK) {
      Checked& entry = found[clsidString(clsid)];
      entry.clsid = clsid;
      entry.clsidText = clsidString(clsid);
      entry.categories |= row.flag;
      entry.categoryNames.push_back(row.displayName);
    }
  }
  std::vector<Checked> list;
  for (auto& item : found) list.push_back(item.second);
  return list;
}

void checkProgId(Checked& c) {
  fw::CoTaskMem<wchar_t> progId;
  if (FAILED(ProgIDFromCLSID(c.clsid, progId.put())) || !progId.get()) {
    c.error("no ProgID is registered for " + c.clsidText + ": the component cannot be created by name");
    return;
  }
  c.progId = narrowFromWide(progId.get());
  CLSID resolved;
  if (FAILED(CLSIDFromProgID(progId.get(), &resolved)))
    c.error("the ProgID '" + c.progId + "' does not resolve (no " + c.progId + "\\CLSID key)");
  else if (!IsEqualCLSID(resolved, c.clsid))
    c.error("the ProgID '" + c.progId + "' resolves to another class, " + clsidString(resolved));
}

void checkServer(Checked& c) {
  const std::string key = "CLSID\\" + c.clsidText;
  std::string path;
  DWORD size = 0;
  bool inproc = readValue(key + "\\InprocServer32", nullptr, &path, &size) && !path.empty();
  if (!inproc && !(readValue(key + "\\LocalServer32", nullptr, &path, &size) && !path.empty())) {
    c.error("no server is registered (no InprocServer32 or LocalServer32 under " + key + ")");
    return;
  }
  char expanded[MAX_PATH * 2] = "";
  ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded);
  std::string file = expanded;
  if (!inproc && !file.empty() && file[0] == '"') file = file.substr(1, file.find('"', 1) - 1);
  char found[MAX_PATH];
  bool exists = GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES ||
                (file.find('\\') == std::string::npos && SearchPathA(nullptr, file.c_str(), nullptr, MAX_PATH, found, nullptr));
  if (!exists) c.error("the server file '" + file + "' does not exist");
}

// The description under 'key'; returns the registered CapeVersion text.
std::string checkDescription(Checked& c, const std::string& key, const std::string& what) {
  if (!keyExists(key)) {
    c.error(what + " has no CapeDescription key: the Component Manager shows it without name or version");
    return std::string();
  }
  std::string capeVersion;
  for (const char* name : kDescriptionValues) {
    std::string value;
    DWORD size = 0;
    if (!readValue(key, name, &value, &size)) {
      c.warning(what + " has no CapeDescription value \"" + name + "\"");
      continue;
    }
    if (size > kShownValueBytes) {
      c.warning(what + ": \"" + name + "\" holds " + std::to_string(size) + " bytes; only the first " +
                std::to_string(kShownValueBytes) + " are shown");
      // Findings quote what is shown: a value of a megabyte would make every line that
      // quotes it a megabyte long.
      value.resize(kShownValueBytes);
    }
    if (std::string(name) == "Name" && value.find_first_of("[]") != std::string::npos)
      c.warning(what + ": the Name \"" + value + "\" holds brackets, which the Component Manager reads as a ProgID");
    if (std::string(name) == "CapeVersion") capeVersion = value;
  }
  if (capeVersion.empty()) {
    c.warning(what + " declares no CapeVersion: it is taken as 1.0");
  } else {
    char* end = nullptr;
    double number = strtod(capeVersion.c_str(), &end);
    long hundredths = static_cast<long>(number * 100);
    bool plain = *end == '\0' && (hundredths == 90 || hundredths == 93 || hundredths == 100 || hundredths == 110);
    if (!plain) {
      CTxBSTR readAs = CapeVersion::versionText(CapeVersion::parseCOVersion(capeVersion));
      c.warning(what + ": CapeVersion \"" + capeVersion + "\" is not a CAPE-OPEN version; it is read as " +
                static_cast<const char*>(readAs));
    }
  }
  return capeVersion;
}

// The category whose interface the component must offer.
long categoryToCreate(unsigned long categories) {
  if (categories & catf_UnitOperation) return catf_UnitOperation;
  if (categories & catf_ThermoSystem) return catf_ThermoSystem;
  if (categories & catf_PropertyPackage) return catf_PropertyPackage;
  return catf_All;
}

// What the DLL said while creating: its messages become findings.
// Reports are marked " ERROR: "; the registration mismatch fails creation without the mark.
void addFinding(Checked& c, const std::string& what, std::string text) {
  const std::string tag = " ERROR: ";
  bool failure = text.compare(0, tag.size(), tag) == 0 || text.find("Error creating") != std::string::npos ||
                 text.find("has been registered as being compliant") != std::string::npos;
  if (text.compare(0, tag.size(), tag) == 0) text.erase(0, tag.size());
  // One line per finding.
  for (char& ch : text)
    if (ch == '\n' || ch == '\r') ch = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (failure) c.error(what + ": " + text); else c.warning(what + ": " + text);
}

// What the DLL said while creating, then while giving the component back.
void addMessages(Checked& c, ProductRoad& road, const std::string& what) {
  size_t created = road.messages().size();
  for (size_t i = 0; i < created; ++i) addFinding(c, what, road.messages()[i].text);
  road.release();
  const std::vector<RelayedBox>& all = road.messages();
  for (size_t i = created; i < all.size(); ++i) addFinding(c, what + " (release)", all[i].text);
}

// The package names of a property system's list; false when the list is unusable.
bool packageNames(Checked& c, const VARIANT& list, std::vector<std::string>* names) {
  if (!(V_VT(&list) & VT_ARRAY) || !V_ARRAY(&list)) {
    c.error("GetPropertyPackages gives no array of package names");
    return false;
  }
  SAFEARRAY* array = V_ARRAY(&list);
  if (SafeArrayGetDim(array) != 1) {
    c.error("GetPropertyPackages gives a " + std::to_string(SafeArrayGetDim(array)) +
            "-dimensional array; one dimension is expected");
    return false;
  }
  VARTYPE type = VT_EMPTY;
  SafeArrayGetVartype(array, &type);
  long low = 0, high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  if (type != VT_BSTR && type != VT_VARIANT) {
    c.error("GetPropertyPackages gives an array of VARTYPE " + std::to_string(type) + ", not of strings");
    return false;
  }
  for (long i = low; i <= high; ++i) {
    if (type == VT_BSTR) {
      BSTR name = nullptr;
      if (SUCCEEDED(SafeArrayGetElement(array, &i, &name))) {
        names->push_back(narrowFromWide(name));
        SysFreeString(name);
      }
    } else {
      fw::UniqueVariant item;
      if (SUCCEEDED(SafeArrayGetElement(array, &i, item.put())) && V_VT(item.get()) == VT_BSTR)
        names->push_back(narrowFromWide(V_BSTR(item.get())));
      else
        c.error("package list element " + std::to_string(i) + " is not a string");
    }
  }
  return true;
}

void checkPackages(Session& session, Checked& c) {
  fw::ComPtr<IDispatch> object;
  if (FAILED(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              object.put_void())))
    return;  // the creation check has said why
  fw::ComPtr<ICapeThermoSystem> system;
  if (FAILED(object->QueryInterface(IID_ICapeThermoSystem, system.put_void()))) {
    c.error("registered as a property system but does not offer ICapeThermoSystem");
    return;
  }
  fw::UniqueVariant list;
  HRESULT hr = system->GetPropertyPackages(list.put());
  if (FAILED(hr)) {
    c.error("GetPropertyPackages fails with " + hexCode(hr));
    return;
  }
  std::vector<std::string> names;
  if (!packageNames(c, *list.get(), &names)) return;
  if (names.empty()) c.warning("the property system lists no property packages");
  system.reset();
  object.reset();
  for (const std::string& name : names) {
    std::string what = "package '" + name + "'";
    checkDescription(c, "CLSID\\" + c.clsidText + "\\PropertyPackages\\" + name + "\\CapeDescription", what);
    ProductRoad road(session);
    CreatedComponent created = road.create(name, c.progId, catf_PropertyPackage);
    addMessages(c, road, what);
    if (!created.component && road.messages().empty())
      c.error(what + " cannot be created (" + hexCode(created.result) + ")");
  }
}

void checkComponent(Session& session, Checked& c) {
  checkProgId(c);
  checkServer(c);
  std::string registered = checkDescription(c, "CLSID\\" + c.clsidText + "\\CapeDescription", "the component");
  if (c.progId.empty()) return;
  bool serverMissing = false;
  for (const Finding& f : c.findings) serverMissing |= f.text.find("server") != std::string::npos;
  if (serverMissing) return;
  {
    ProductRoad road(session);
    CreatedComponent created = road.create(c.progId, std::string(), categoryToCreate(c.categories));
    addMessages(c, road, "creation");
    if (!created.component && road.messages().empty())
      c.error("creation fails with " + hexCode(created.result));
  }
  if (c.categories & catf_ThermoSystem) checkPackages(session, c);
}

}  // namespace

int checkCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  if (!options.only({}, &error) || !options.positional.empty()) {
    session.error(error.empty() ? "check takes no arguments" : error);
    return kExitUsage;
  }
  session.beginStep("listing CAPE-OPEN registrations");
  std::vector<Checked> components = registeredComponents();
  session.endStep();
  session.beginStep("checking " + std::to_string(components.size()) + " components");
  int errors = 0, warnings = 0;
  Json list = Json::array();
  for (Checked& c : components) {
    checkComponent(session, c);
    Json entry = Json::object();
    entry.set("clsid", c.clsidText);
    entry.set("progid", c.progId);
    Json categories = Json::array();
    for (const std::string& name : c.categoryNames) categories.push(name);
    entry.set("categories", categories);
    Json findings = Json::array();
    for (const Finding& f : c.findings) {
      Json finding = Json::object();
      finding.set("severity", f.severity);
      finding.set("text", f.text);
      findings.push(finding);
      (f.severity == "error" ? errors : warnings)++;
      if (!options.json)
        printf("%-8s %s  %s\n", f.severity == "error" ? "ERROR" : "WARNING",
               c.progId.empty() ? c.clsidText.c_str() : c.progId.c_str(), f.text.c_str());
    }
    entry.set("findings", findings);
    entry.set("ok", c.findings.empty());
    list.push(entry);
    if (c.findings.empty() && !options.json) printf("%-8s %s\n", "OK", c.progId.c_str());
  }
  session.endStep();
  if (options.json) {
    Json result = Json::object();
    result.set("components", list);
    result.set("errors", errors);
    result.set("warnings", warnings);
    session.printJson(result);
  } else {
    printf("%zu components checked: %d errors, %d warnings\n", components.size(), errors, warnings);
  }
  return errors ? kExitFailed : kExitOk;
}
