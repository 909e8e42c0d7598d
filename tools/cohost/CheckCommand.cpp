// cohost check: validates every CAPE-OPEN registration of the machine, the way a
// component has to be registered to show up and work in the Component Manager: in which
// registry view it is (which hosts can load it), its ProgID, its server file (present,
// of the right machine type; for .NET, its assembly), its description, its declared
// CAPE-OPEN version against the interface it really offers, and the packages of each
// property system.
#include <cstdio>
#include <cstdlib>
#include <map>
#include "cohost/Commands.h"
#include "cohost/ProductRoad.h"
#include "cohost/RegistryView.h"
#include "cohost/ServerFile.h"
#include "component/CapeVersion.h"
#include "external/CapeOpen.h"
#include "framework/GuidText.h"
#include "framework/ListArray.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "manager/ComponentCatalogue.h"
#include "support/CTxBSTR.h"

namespace {

const size_t kLongestPath = 32767;    // no Windows path is longer

struct Finding {
  std::string severity;  // "error", "warning", "info"
  std::string text;
};

struct Checked {
  CLSID clsid;
  std::string clsidText;
  std::string progId;
  unsigned long categories = 0;
  std::vector<std::string> categoryNames;
  bool in64 = false, in32 = false;
  bool loadable = true;  // a 64-bit process can load its server: worth creating
  std::string prefix;    // names the view while the 32-bit one of a class in both is checked
  std::vector<Finding> findings;
  void error(const std::string& text) { findings.push_back({"error", prefix + text}); }
  void warning(const std::string& text) { findings.push_back({"warning", prefix + text}); }
  void info(const std::string& text) { findings.push_back({"info", prefix + text}); }
  bool clean() const {
    for (const Finding& f : findings)
      if (f.severity != "info") return false;
    return true;
  }
  std::string hosts() const {
    return in32 && in64 ? "32-bit and 64-bit hosts" : in32 ? "32-bit hosts only" : "64-bit hosts";
  }
};

// Every class registered under a CAPE-OPEN category in either view, with the categories
// it declares.
std::vector<Checked> registeredComponents() {
  std::map<std::string, Checked> found;
  for (const RegistryView* view : {&kView64, &kView32}) {
    for (const auto& item : capeOpenClasses(*view)) {
      Checked& entry = found[item.first];
      (view->bits == 64 ? entry.in64 : entry.in32) = true;
      if (!entry.categoryNames.empty()) continue;  // the 64-bit view's say
      CLSIDFromString(wideFromNarrow(item.second.clsid).c_str(), &entry.clsid);
      entry.clsidText = item.first;
      for (const CategoryRow* row : item.second.categories) {
        entry.categories |= row->flag;
        entry.categoryNames.push_back(row->displayName);
      }
    }
  }
  std::vector<Checked> list;
  for (auto& item : found) list.push_back(item.second);
  return list;
}

void checkProgId(Checked& c, const RegistryView& view) {
  std::string progId, resolved;
  if (!readViewValue(view, "CLSID\\" + c.clsidText + "\\ProgID", "", &progId) || progId.empty()) {
    c.error("no ProgID is registered for " + c.clsidText + ": the component cannot be created by name");
    return;
  }
  c.progId = progId;
  CLSID target;
  if (!readViewValue(view, progId + "\\CLSID", "", &resolved) ||
      FAILED(CLSIDFromString(wideFromNarrow(resolved).c_str(), &target)))
    c.error("the ProgID '" + c.progId + "' does not resolve (no " + c.progId + "\\CLSID key)");
  else if (!IsEqualCLSID(target, c.clsid))
    c.error("the ProgID '" + c.progId + "' resolves to another class, " + guidText(target));
}

std::string expanded(const std::string& path) {
  const std::wstring wide = wideFromNarrow(path);
  DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring text(size, L'\0');
  DWORD written = ExpandEnvironmentStringsW(wide.c_str(), &text[0], size);
  if (written == 0 || written > size) return path;
  text.resize(wcsnlen(text.c_str(), size));
  return narrowFromWide(text);
}

bool fileExists(const std::string& path) {
  return GetFileAttributesW(wideFromNarrow(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A .NET component: mscoree.dll loads the assembly that Assembly and CodeBase name.
void checkDotNet(Checked& c, const RegistryView& view, const std::string& serverKey) {
  std::string cls, assembly, codeBase, runtime;
  readViewValue(view, serverKey, "Class", &cls);
  readViewValue(view, serverKey, "Assembly", &assembly);
  readViewValue(view, serverKey, "CodeBase", &codeBase);
  readViewValue(view, serverKey, "RuntimeVersion", &runtime);
  c.info(".NET component: class '" + cls + "' of assembly '" + assembly + "', for the .NET runtime " +
         (runtime.empty() ? "the host has loaded (no RuntimeVersion)" : runtime));
  if (cls.empty() || assembly.empty()) {
    c.error("the .NET registration has no Class or no Assembly value: mscoree.dll cannot find the component");
    c.loadable = false;
  }
  if (codeBase.empty()) {
    c.warning("no CodeBase: the assembly must be in the global assembly cache");
    return;
  }
  std::string file = fileFromCodeBase(codeBase);
  if (file.empty() || file.size() >= kLongestPath || !fileExists(file)) {
    c.error("the .NET assembly '" + shownPath(file.empty() ? codeBase : file) +
            "' (CodeBase) does not exist: the component has moved or was removed");
    c.loadable = false;
  }
}

// The server's PE header against the view: a host loads in-process servers of its own
// bitness only.
void checkMachine(Checked& c, const RegistryView& view, const std::string& file) {
  ImageInfo image = readImage(file);
  const std::string shown = "'" + shownPath(file) + "'";
  switch (image.kind) {
    case ImageKind::Unreadable:
      c.warning("the server file " + shown + " cannot be read");
      return;
    case ImageKind::NotPE:
      c.error("the server file " + shown + " is not a Windows DLL (no PE header)");
      break;
    case ImageKind::Truncated:
      c.error("the server file " + shown + " is cut short: its PE header is incomplete");
      break;
    case ImageKind::Image: {
      int bits = machineBits(image.machine);
      if (bits == view.bits) return;
      if (bits == 0) {
        c.warning("the server " + shown + " is built for machine " + machineName(image.machine));
        return;
      }
      c.error("the server " + shown + " is a " + std::to_string(bits) + "-bit (" + machineName(image.machine) +
              ") DLL: a " + std::to_string(view.bits) + "-bit host cannot load it");
      break;
    }
  }
  c.loadable = false;
}

void checkServer(Checked& c, const RegistryView& view) {
  const std::string key = "CLSID\\" + c.clsidText;
  std::string path;
  bool inproc = readViewValue(view, key + "\\InprocServer32", "", &path) && !path.empty();
  if (!inproc && !(readViewValue(view, key + "\\LocalServer32", "", &path) && !path.empty())) {
    c.error("no server is registered (no InprocServer32 or LocalServer32 under " + key + ")");
    c.loadable = false;
    return;
  }
  if (path.size() >= kLongestPath) {
    c.error("the server path '" + shownPath(path) + "' is longer than any Windows path");
    c.loadable = false;
    return;
  }
  std::string file = expanded(path);
  if (!inproc && !file.empty() && file[0] == '"') file = file.substr(1, file.find('"', 1) - 1);
  const char* name = file.c_str() + file.find_last_of("\\/") + 1;
  if (inproc && _stricmp(name, "mscoree.dll") == 0) checkDotNet(c, view, key + "\\InprocServer32");
  std::string found;
  if (fileExists(file)) {
    found = file;
  } else if (file.find('\\') == std::string::npos) {
    wchar_t searched[MAX_PATH] = L"";
    DWORD length = SearchPathW(nullptr, wideFromNarrow(file).c_str(), nullptr, MAX_PATH, searched, nullptr);
    if (length > 0 && length < MAX_PATH) found = narrowFromWide(searched);
  }
  if (found.empty()) {
    c.error("the server file '" + shownPath(file) + "' does not exist");
    c.loadable = false;
  } else if (inproc) {
    checkMachine(c, view, found);
  }
}

// The description under 'key'; returns the registered CapeVersion text.
std::string checkDescription(Checked& c, const RegistryView& view, const std::string& key, const std::string& what) {
  if (!viewKeyExists(view, key)) {
    c.error(what + " has no CapeDescription key: the Component Manager shows it without name or version");
    return std::string();
  }
  std::string capeVersion;
  for (const char* name : kCapeDescriptionValues) {
    std::string value;
    DWORD size = 0;
    if (!readViewValue(view, key, name, &value, &size)) {
      c.warning(what + " has no CapeDescription value \"" + name + "\"");
      continue;
    }
    if (size > kShownValueBytes) {
      c.warning(what + ": \"" + name + "\" holds " + std::to_string(size) + " bytes; only the first " +
                std::to_string(kShownValueBytes) + " are shown");
      // Findings quote what is shown: a value of a megabyte would make every line that
      // quotes it a megabyte long.
      cutNarrow(value, kShownValueBytes);
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
  SAFEARRAY* array = fw::listArrayOf(list);
  if (!array) {
    c.error("GetPropertyPackages gives no array of package names");
    return false;
  }
  // The shape comes from the array's own descriptor, as the Component Manager reads it: an
  // empty list at the lowest LONG has no upper bound to trust, and one made without a
  // recorded type still says whether it holds strings or VARIANTs.
  fw::ListShape shape;
  fw::readListShape(array, &shape);
  if (shape.dimensions != 1) {
    c.error("GetPropertyPackages gives a " + std::to_string(shape.dimensions) +
            "-dimensional array; one dimension is expected");
    return false;
  }
  const VARTYPE type = shape.type;
  if (type != VT_BSTR && type != VT_VARIANT) {
    c.error("GetPropertyPackages gives an array of VARTYPE " + std::to_string(type) + ", not of strings");
    return false;
  }
  for (unsigned long long k = 0; k < shape.indices(); ++k) {
    LONG i = shape.index(k);
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
  HRESULT created =
      CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch, object.put_void());
  if (FAILED(fw::requireOut(created, object.get()))) return;  // the creation check has said why
  fw::ComPtr<ICapeThermoSystem> system;
  if (FAILED(system.queryFrom(object.get(), IID_ICapeThermoSystem))) {
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
    checkDescription(c, kView64, "CLSID\\" + c.clsidText + "\\PropertyPackages\\" + name + "\\CapeDescription",
                     what);
    ProductRoad road(session);
    CreatedComponent created = road.create(name, c.progId, catf_PropertyPackage);
    addMessages(c, road, what);
    if (!created.component && road.messages().empty())
      c.error(what + " cannot be created (" + hexCode(created.result) + ")");
  }
}

// The CAPE-OPEN 1.0 interface that a component of each category offers.
struct CategoryInterface {
  unsigned long category;
  const char* name;
  const IID* iid;
};
const CategoryInterface kCategoryInterfaces[] = {
    {catf_UnitOperation, "ICapeUnit", &IID_ICapeUnit},
    {catf_ThermoSystem, "ICapeThermoSystem", &IID_ICapeThermoSystem},
    {catf_PropertyPackage, "ICapeThermoPropertyPackage", &IID_ICapeThermoPropertyPackage},
    {catf_EquilibriumServer, "ICapeThermoEquilibriumServer", &IID_ICapeThermoEquilibriumServer},
    {catf_ThermoRoutine, "ICapeThermoCalculationRoutine", &IID_ICapeThermoCalculationRoutine},
};

// A host names and marshals a CAPE-OPEN interface through HKCR\\Interface, which the
// CAPE-OPEN type libraries fill; without them the product's messages quote ''.
void checkInterfaceRegistered(Checked& c, const RegistryView& view, const std::string& capeVersion) {
  long version = capeVersion.empty() ? 100 : CapeVersion::parseCOVersion(capeVersion);
  if (version != 100 && version != 110) return;
  for (const CategoryInterface& entry : kCategoryInterfaces) {
    const std::string iid = guidText(*entry.iid);
    if ((c.categories & entry.category) && !viewKeyExists(view, "Interface\\" + iid))
      c.warning("its CAPE-OPEN interface " + std::string(entry.name) + " " + iid + " is not registered for " +
                std::to_string(view.bits) +
                "-bit hosts (no HKCR\\Interface key: the CAPE-OPEN type libraries are not installed)");
  }
}

// The registration in one view: what a host of that bitness reads.
void checkRegistration(Checked& c, const RegistryView& view) {
  checkProgId(c, view);
  checkServer(c, view);
  std::string registered = checkDescription(c, view, "CLSID\\" + c.clsidText + "\\CapeDescription", "the component");
  checkInterfaceRegistered(c, view, registered);
}

void checkComponent(Session& session, Checked& c) {
  if (c.in64) checkRegistration(c, kView64);
  if (c.in32) {
    bool loadable = c.loadable;
    if (c.in64) c.prefix = "32-bit registration: ";
    checkRegistration(c, kView32);
    c.prefix.clear();
    c.loadable = loadable;  // this process is 64-bit: only the 64-bit registration is created
  }
  if (!c.in64) {
    c.warning("32-bit hosts only: a 64-bit simulator will not list it");
    return;
  }
  if (c.in32) c.info("registered for 32-bit and 64-bit hosts");
  if (c.progId.empty() || !c.loadable) return;
  {
    ProductRoad road(session);
    CreatedComponent created = road.create(c.progId, std::string(), categoryToCreate(c.categories));
    addMessages(c, road, "creation");
    if (!created.component && road.messages().empty())
      c.error("creation fails with " + hexCode(created.result));
  }
  if (c.categories & catf_ThermoSystem) checkPackages(session, c);
}

// The name a person knows a class by, before its check reads it: its ProgID, else its CLSID.
std::string progressName(const Checked& c) {
  std::string progId;
  readViewValue(c.in64 ? kView64 : kView32, "CLSID\\" + c.clsidText + "\\ProgID", "", &progId);
  return progId.empty() ? c.clsidText : progId;
}

}  // namespace

int checkCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  if (!options.only({}, &error) || !options.positional.empty()) {
    session.error(error.empty() ? "check takes no arguments" : error);
    return kExitUsage;
  }
  // Each box that the DLL raises becomes a finding: it is printed once, as that finding.
  session.boxes().setPrinted(false);
  session.beginStep("listing CAPE-OPEN registrations");
  std::vector<Checked> components = registeredComponents();
  session.endStep();
  session.beginStep("checking " + std::to_string(components.size()) + " components");
  int errors = 0, warnings = 0;
  Json list = Json::array();
  for (size_t i = 0; i < components.size(); ++i) {
    Checked& c = components[i];
    showProgress("checking " + std::to_string(i + 1) + " of " + std::to_string(components.size()) + ": " +
                 progressName(c));
    checkComponent(session, c);
    Json entry = Json::object();
    entry.set("clsid", c.clsidText);
    entry.set("progid", c.progId);
    entry.set("hosts", c.hosts());
    Json categories = Json::array();
    for (const std::string& name : c.categoryNames) categories.push(name);
    entry.set("categories", categories);
    Json findings = Json::array();
    for (const Finding& f : c.findings) {
      Json finding = Json::object();
      finding.set("severity", f.severity);
      finding.set("text", f.text);
      findings.push(finding);
      if (f.severity != "info") (f.severity == "error" ? errors : warnings)++;
      if (!options.json)
        printText(stdout, "%-8s %s  %s\n",
                  f.severity == "error" ? "ERROR" : f.severity == "warning" ? "WARNING" : "INFO",
                  c.progId.empty() ? c.clsidText.c_str() : c.progId.c_str(), f.text.c_str());
    }
    entry.set("findings", findings);
    entry.set("ok", c.clean());
    list.push(entry);
    if (c.clean() && !options.json) printText(stdout, "%-8s %s  (%s)\n", "OK", c.progId.c_str(), c.hosts().c_str());
  }
  showProgress(std::string());
  session.endStep();
  if (options.json) {
    Json result = Json::object();
    result.set("components", list);
    result.set("errors", errors);
    result.set("warnings", warnings);
    session.printJson(result);
  } else {
    printText(stdout, "%zu components checked: %d errors, %d warnings\n", components.size(), errors, warnings);
  }
  return errors ? kExitFailed : kExitOk;
}
