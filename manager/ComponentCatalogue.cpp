#include "manager/ComponentCatalogue.h"
#include <comcat.h>
#include <cwchar>
#include "external/CapeOpen.h"
#include "framework/ComPtr.h"
#include "framework/GuidText.h"
#include "framework/ListArray.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "manager/ErrorBox.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"
#include "support/Utils.h"

// Row 3 keeps the lower-case "11d2" under which the first property systems registered.
const CategoryRow CategoryTable::rows[CategoryTable::count] = {
    {catf_Component, L"{678c09a1-7d66-11D2-a67d-00105a42887f}", "{678c09a1-7d66-11D2-a67d-00105a42887f}", "Components"},
    {catf_ThermoRoutine, L"{678c09a2-7d66-11D2-a67d-00105a42887f}", "{678c09a2-7d66-11D2-a67d-00105a42887f}", "Thermo Routines"},
    {catf_ThermoSystem, L"{678c09a3-7d66-11d2-a67d-00105a42887f}", "{678c09a3-7d66-11d2-a67d-00105a42887f}", "Thermo Property Systems"},
    {catf_PropertyPackage, L"{678c09a4-7d66-11D2-a67d-00105a42887f}", "{678c09a4-7d66-11D2-a67d-00105a42887f}", "Thermo Property Packages"},
    {catf_EquilibriumServer, L"{678c09a6-7d66-11D2-a67d-00105a42887f}", "{678c09a6-7d66-11D2-a67d-00105a42887f}",
     "Thermo Equilibrium Servers"},
    {catf_UnitOperation, L"{678c09a5-7d66-11D2-a67d-00105a42887f}", "{678c09a5-7d66-11D2-a67d-00105a42887f}", "Unit Operations"},
    {catf_KineticReactionSystem, L"{678c09aa-7d66-11D2-a67d-00105a42887f}", "{678c09aa-7d66-11D2-a67d-00105a42887f}",
     "Chemical Reaction Systems"},
    {catf_KineticReaction, L"{678c09ab-7d66-11D2-a67d-00105a42887f}", "{678c09ab-7d66-11D2-a67d-00105a42887f}",
     "Chemical Reaction Routines"},
};

const char* const kThermoSystemCatid = "{678c09a3-7d66-11d2-a67d-00105a42887f}";
const char* const kPropertyPackageCatid = "{678c09a4-7d66-11D2-a67d-00105a42887f}";

namespace {

const char kNoPackages[] = "No CAPE-OPEN Property Packages currently available";
const char kNoThermoSystem[] = "Object does not support ICapeThermoSystem interface";

CatalogueHost g_defaultHost;

// Reports go where the caller's host sends them; their context is the choice that is
// being looked up.
class LookupHost : public CatalogueHost {
 public:
  LookupHost(CatalogueHost& outer, const ComponentChoice& choice) : outer_(outer), choice_(choice) {}
  void showCatalogueError(const std::string& text) override { outer_.showCatalogueError(text); }
  std::string selectionContext() const override { return makeSelectionContext(choice_); }

 private:
  CatalogueHost& outer_;
  const ComponentChoice& choice_;
};

}  // namespace

CAPETreeItem::~CAPETreeItem() {
  // The address line lets a trace show which records a rebuild gave back.
  try {
    MTUtils::writeTrace(CTxBSTR(static_cast<long long>(reinterpret_cast<INT_PTR>(this))), nullptr, "\n");
  } catch (...) {
  }
}

std::string MakeItemLabel(const std::string& text, const CAPETreeItem* record) {
  if (!record || text == record->name) return text;
  return record->name + " [" + text + "]";
}

std::string SplitItemLabel(const std::string& label) {
  size_t open = label.find('[', 1);
  if (open == std::string::npos) return label;
  size_t close = label.find(']', open + 2);
  if (close == std::string::npos) return std::string();
  return label.substr(open + 1, close - open - 1);
}

std::string makeSelectionContext(const std::string& clsid, const std::string& progId, const std::string& parent) {
  return "clsid:" + clsid + ", progid:" + progId + ", parent: " + parent;
}

std::string makeSelectionContext(const ComponentChoice& choice) {
  return makeSelectionContext(choice.clsid, choice.progId, choice.parentProgId);
}

void chooseRecord(ComponentChoice& choice, const CAPETreeItem* record, const CAPETreeItem* parent) {
  if (!record) return;
  choice.catid = record->catid;
  choice.progId = record->progid;
  choice.clsid = record->clsid;
  choice.name = record->name;
  choice.description = record->description;
  choice.componentVersion = record->componentVersion;
  choice.vendorURL = record->vendorURL;
  choice.helpURL = record->helpURL;
  choice.about = record->about;
  choice.capeVersion = record->capeVersion;
  choice.parentProgId = parent ? parent->progid : std::string();
  choice.parentName = parent ? parent->name : std::string();
}

void CatalogueHost::showCatalogueError(const std::string& text) { showManagerError(text); }

std::string CatalogueHost::selectionContext() const { return makeSelectionContext("", "", ""); }

ComponentCatalogue::ComponentCatalogue(CatalogueHost* host) : host_(host) {}

ComponentCatalogue::~ComponentCatalogue() { ClearTree(); }

std::unique_ptr<ComponentCatalogue> ComponentCatalogue::build(long filter, const std::string& serverName,
                                                               CatalogueHost* host) {
  std::unique_ptr<ComponentCatalogue> catalogue(new (std::nothrow) ComponentCatalogue(host));
  if (!catalogue) return catalogue;
  catalogue->setServerName(serverName);
  catalogue->DisplayCategories(filter);
  return catalogue;
}

ComponentChoice ComponentCatalogue::lookup(const std::string& progId, const std::string& parentProgId,
                                           const std::string& catid, CatalogueHost* host) {
  ComponentChoice choice;
  if (progId.empty()) return choice;
  choice.progId = progId;
  choice.parentProgId = parentProgId;
  LookupHost reports(host ? *host : g_defaultHost, choice);
  ComponentCatalogue catalogue(&reports);
  std::unique_ptr<CAPETreeItem> parent;
  std::unique_ptr<CAPETreeItem> record;
  if (!parentProgId.empty()) catalogue.GetInfoForProgID(parentProgId, std::string(), catid, &parent);
  catalogue.GetInfoForProgID(progId, parentProgId, catid, &record);
  chooseRecord(choice, record.get(), parent.get());
  return choice;
}

CatalogueHost& ComponentCatalogue::host() const { return host_ ? *host_ : g_defaultHost; }

HRESULT ComponentCatalogue::createObject(REFCLSID clsid, REFIID iid, void** object) {
  std::wstring server = wideFromNarrow(serverName_);
  HRESULT hr =
      Utils::createInstance(clsid, nullptr, Utils::kCreationContext, iid, object, server.empty() ? nullptr : server.c_str());
  // A creation that answers success without an object has made none.
  return fw::requireOut(hr, *object);
}

void ComponentCatalogue::ClearTree() {
  roots_.clear();
  while (!records_.empty()) records_.pop_front();
}

bool ComponentCatalogue::ownsRecord(const CAPETreeItem* record) const {
  for (const auto& owned : records_)
    if (owned.get() == record) return true;
  return false;
}

int ComponentCatalogue::FindCategoryIndex(const std::string& catid) const {
  for (size_t i = 0; i < catids_.size(); ++i)
    if (catids_[i] == catid) return static_cast<int>(i);
  return -1;
}

CatalogueEntry& ComponentCatalogue::addEntry(std::vector<CatalogueEntry>& siblings, const std::string& text,
                                             CAPETreeItem* record) {
  CatalogueEntry entry;
  entry.text = text;
  entry.label = MakeItemLabel(text, record);
  entry.record = record;
  siblings.push_back(std::move(entry));
  return siblings.back();
}

void ComponentCatalogue::DisplayCategories(long filter) {
  ClearTree();
  // Each rebuild starts the category list afresh, so that it stays parallel to the tree.
  categoryNames_.clear();
  catids_.clear();
  try {
    for (const CategoryRow& row : CategoryTable::rows) {
      if ((row.flag & static_cast<unsigned long>(filter)) == 0) continue;
      addEntry(roots_, row.displayName, nullptr);
      DisplayCategoryComponents(roots_.back(), row.catidW);
      if (row.flag == CategoryTable::thermoSystemFlag) DisplayPropertySystemPropPacks(roots_.back());
      categoryNames_.push_back(row.displayName);
      catids_.push_back(row.catid);
    }
  } catch (...) {
    host().showCatalogueError("CCapeOpenDlg::DisplayCategories. " + host().selectionContext());
  }
}

void ComponentCatalogue::DisplayCategoryComponents(CatalogueEntry& category, const wchar_t* catid) {
  if (!catid || !wcschr(catid, L'{')) return;
  fw::ComPtr<ICatInformation> categories;
  if (FAILED(createObject(CLSID_StdComponentCategoriesMgr, IID_ICatInformation, categories.put_void()))) return;
  CATID wanted = GUID_NULL;
  if (FAILED(CLSIDFromString(const_cast<wchar_t*>(catid), &wanted))) return;
  fw::ComPtr<IEnumCLSID> classes;
  HRESULT listed = categories->EnumClassesOfCategories(1, &wanted, static_cast<ULONG>(-1), nullptr, classes.put());
  if (FAILED(fw::requireOut(listed, classes.get()))) return;
  std::string narrowCatid = narrowFromWide(catid);
  CLSID clsid = GUID_NULL;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) {
    CAPETreeItem* record = nullptr;
    HRESULT hr = GetInfoForCLSID(clsid, narrowCatid, &record, std::string());
    if (hr == 0 && record && !record->progid.empty()) addEntry(category.children, record->progid, record);
  }
}

HRESULT ComponentCatalogue::GetInfoForCLSID(REFCLSID clsid, const std::string& catid, CAPETreeItem** record,
                                            const std::string& packageName) {
  if (!record) return E_POINTER;
  *record = nullptr;
  try {
    std::unique_ptr<CAPETreeItem> made(new CAPETreeItem);
    *record = made.get();
    records_.push_back(std::move(made));
  } catch (...) {
    *record = nullptr;
    host().showCatalogueError("Unexpected error in GetInfoForCLSID. " + host().selectionContext() + "progid" +
                              packageName);
    return 0;
  }
  return readInfo(clsid, catid, **record, packageName);
}

HRESULT ComponentCatalogue::GetInfoForCLSID(REFCLSID clsid, const std::string& catid,
                                            std::unique_ptr<CAPETreeItem>* record, const std::string& packageName) {
  if (!record) return E_POINTER;
  record->reset(new (std::nothrow) CAPETreeItem);
  if (!*record) {
    host().showCatalogueError("Unexpected error in GetInfoForCLSID. " + host().selectionContext() + "progid" +
                              packageName);
    return 0;
  }
  return readInfo(clsid, catid, **record, packageName);
}

HRESULT ComponentCatalogue::readInfo(REFCLSID clsid, const std::string& catid, CAPETreeItem& record,
                                     const std::string& packageName) {
  std::string key;
  std::string progId;
  try {
    std::string clsidString = guidText(clsid);
    if (!packageName.empty()) {
      progId = packageName;
      key = "CLSID\\" + clsidString + "\\PropertyPackages\\" + packageName + "\\CapeDescription";
    } else {
      fw::CoTaskMem<wchar_t> registered;
      HRESULT hr = ProgIDFromCLSID(clsid, registered.put());
      if (FAILED(hr)) return hr;
      progId = narrowFromWide(registered.get());
      key = "CLSID\\" + clsidString + "\\CapeDescription";
    }
    // One open for the seven values: under Wine each open is a round trip to the server.
    fw::UniqueHKey values;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(key).c_str(), 0, KEY_READ, values.put()) == ERROR_SUCCESS) {
      record.name = GetRegValue(values.get(), "Name");
      record.description = GetRegValue(values.get(), "Description");
      record.about = GetRegValue(values.get(), "About");
      record.capeVersion = GetRegValue(values.get(), "CapeVersion");
      record.componentVersion = GetRegValue(values.get(), "ComponentVersion");
      record.vendorURL = GetRegValue(values.get(), "VendorURL");
      record.helpURL = GetRegValue(values.get(), "HelpURL");
    }
    if (record.name.empty()) record.name = progId;
    record.clsid = clsidString;
    record.progid = progId;
    record.catid = catid;
  } catch (...) {
    host().showCatalogueError("Unexpected error in GetInfoForCLSID. " + host().selectionContext() + key + "progid" +
                              progId);
  }
  return 0;
}

HRESULT ComponentCatalogue::GetInfoForProgID(const std::string& text, const std::string& parentProgId,
                                             const std::string& catid, std::unique_ptr<CAPETreeItem>* record) {
  if (!record) return E_POINTER;
  const std::string& lookup = parentProgId.empty() ? text : parentProgId;
  // An unknown ProgID leaves the null CLSID: a component under it has no ProgID and gets
  // an empty record, a package keeps its name and the null CLSID's text.
  CLSID clsid = GUID_NULL;
  if (FAILED(CLSIDFromProgID(wideFromNarrow(lookup).c_str(), &clsid))) clsid = GUID_NULL;
  return GetInfoForCLSID(clsid, catid, record, parentProgId.empty() ? std::string() : text);
}

void ComponentCatalogue::DisplayPropertySystemPropPacks(CatalogueEntry& category) {
  fw::ComInit com;
  std::string systemProgId;
  std::string packageName;
  try {
    for (CatalogueEntry& system : category.children) {
      systemProgId = SplitItemLabel(system.label);
      packageName.clear();
      CLSID clsid = GUID_NULL;
      // An unknown ProgID leaves the null CLSID, whose creation fails with its message.
      CLSIDFromProgID(wideFromNarrow(systemProgId).c_str(), &clsid);
      fw::ComPtr<IUnknown> object;
      if (FAILED(createObject(clsid, IID_IUnknown, object.put_void()))) continue;
      fw::ComPtr<ICapeThermoSystem> thermoSystem;
      // The line of a failure tells only what this query left, not what a system before it did.
      SetErrorInfo(0, nullptr);
      HRESULT hr = thermoSystem.queryFrom(object.get(), IID_ICapeThermoSystem);
      if (FAILED(hr)) {
        if (hr == E_NOINTERFACE) {
          addEntry(system.children, kNoThermoSystem, nullptr);
        } else {
          char message[MTUtils::kMessageSize];
          MTUtils::composeMessage(message, hr, "", nullptr);
          addEntry(system.children, message, nullptr);
        }
      } else {
        fw::UniqueVariant packages;
        thermoSystem->GetPropertyPackages(packages.get());  // a failure leaves no array
        listPackages(system, clsid, *packages.get(), packageName);
      }
      thermoSystem.reset();
      object.reset();
      CoFreeUnusedLibraries();
    }
  } catch (...) {
    host().showCatalogueError("CCapeOpenDlg::DisplayPropertySystemPropPacks. thermosys: " + systemProgId +
                              ", propPackage: " + packageName);
  }
}

void ComponentCatalogue::listPackages(CatalogueEntry& system, REFCLSID systemClsid, const VARIANT& packages,
                                      std::string& current) {
  fw::ListShape shape;
  if (!fw::readListShape(fw::listArrayOf(packages), &shape) || shape.dimensions != 1) return;
  if (shape.empty()) {
    addEntry(system.children, kNoPackages, nullptr);
    return;
  }
  // The array's own element type decides how an element is read: only strings are names.
  if (shape.type == VT_BSTR ? shape.elementBytes != sizeof(BSTR)
                            : shape.type != VT_VARIANT || shape.elementBytes != sizeof(VARIANT))
    return;
  SAFEARRAY* array = packages.parray;
  for (unsigned long long k = 0; k < shape.indices(); ++k) {
    LONG at = shape.index(k);
    std::string name;
    if (shape.type == VT_BSTR) {
      BSTR element = nullptr;
      if (FAILED(SafeArrayGetElement(array, &at, &element))) continue;
      CTxBSTR owner;
      owner.Attach(element);
      name = narrowFromWide(element);
    } else {
      fw::UniqueVariant element;
      if (FAILED(SafeArrayGetElement(array, &at, element.put())) || element.get()->vt != VT_BSTR) continue;
      name = narrowFromWide(element.get()->bstrVal);
    }
    // An empty name names no package (it would be taken for the system itself).
    if (name.empty()) continue;
    current = name;
    addPackage(system, systemClsid, name);
  }
  current.clear();
}

void ComponentCatalogue::addPackage(CatalogueEntry& system, REFCLSID systemClsid, const std::string& name) {
  CAPETreeItem* record = nullptr;
  GetInfoForCLSID(systemClsid, kPropertyPackageCatid, &record, name);
  addEntry(system.children, name, record);
}
