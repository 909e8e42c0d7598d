// The registry catalogue of CAPE-OPEN components: the categories, the components that
// the registry declares under each, their descriptive values and, under every property
// system, its property packages. A window-free model: the Component Manager mirrors the
// tree into its tree control; tools and benchmarks use it directly.
#pragma once
#include <windows.h>
#include "TxCOGUI.h"
#include <ole2.h>
#include <deque>
#include <memory>
#include <string>
#include <vector>
#include "manager/ComponentChoice.h"

// One row of the fixed table of CAPE-OPEN component categories.
struct CategoryRow {
  unsigned long flag;       // the row's bit of categoryFilter
  const wchar_t* catidW;    // spelled as registered by the first components (row 3: "11d2")
  const char* catid;
  const char* displayName;
};

struct CategoryTable {
  static const int count = 8;
  static const CategoryRow rows[count];
  // The flag whose components are followed by their property packages.
  static const unsigned long thermoSystemFlag = catf_ThermoSystem;
};

// CATIDs that the catalogue and the dialog compare with.
extern const char* const kThermoSystemCatid;     // "{678c09a3-7d66-11d2-a67d-00105a42887f}"
extern const char* const kPropertyPackageCatid;  // "{678c09a4-7d66-11D2-a67d-00105a42887f}"

// One catalogue record: a component found under a category, or a property package found
// under its property system. Destruction writes the record's address to the trace file.
struct CAPETreeItem {
  CAPETreeItem() = default;
  ~CAPETreeItem();
  CAPETreeItem(const CAPETreeItem&) = delete;
  CAPETreeItem& operator=(const CAPETreeItem&) = delete;

  std::string catid;             // category under which the entry was found
  std::string progid;            // for a property package: the package name
  std::string clsid;             // "{...}" upper case; for a package: its system's CLSID
  std::string name;              // registered "Name", else the ProgID
  std::string description;
  std::string capeVersion;
  std::string componentVersion;
  std::string vendorURL;
  std::string helpURL;
  std::string about;
};

// Tree label of an entry: 'text' alone when there is no record or the record's name
// equals it, else name + " [" + text + "]".
std::string MakeItemLabel(const std::string& text, const CAPETreeItem* record);
// The text that MakeItemLabel put between the first brackets (the whole label without them).
std::string SplitItemLabel(const std::string& label);

// One node of the catalogue tree: a category, a component or package (with its record),
// or a message line (no record).
struct CatalogueEntry {
  std::string text;              // ProgID, package name, category name or message
  std::string label;             // MakeItemLabel(text, record)
  CAPETreeItem* record = nullptr;  // owned by the catalogue's record list
  std::vector<CatalogueEntry> children;
};

// What the catalogue needs from whoever shows it: where error texts go, and the choice
// that error texts name.
class CatalogueHost {
 public:
  virtual ~CatalogueHost() {}
  // Default: the framework's message box with the stop icon; nothing is traced.
  virtual void showCatalogueError(const std::string& text);
  // "clsid:" + CLSID + ", progid:" + ProgID + ", parent: " + parent ProgID of the choice.
  virtual std::string selectionContext() const;
};

// "clsid:<clsid>, progid:<progId>, parent: <parent>".
std::string makeSelectionContext(const std::string& clsid, const std::string& progId, const std::string& parent);
std::string makeSelectionContext(const ComponentChoice& choice);

// Copies a record, and the ProgID and name of its parent (none: empty), into 'choice';
// the server name stays. Without a record nothing changes.
void chooseRecord(ComponentChoice& choice, const CAPETreeItem* record, const CAPETreeItem* parent);

class ComponentCatalogue {
 public:
  // 'host' (may be null: the default host) must outlive the catalogue.
  explicit ComponentCatalogue(CatalogueHost* host = nullptr);
  ~ComponentCatalogue();
  ComponentCatalogue(const ComponentCatalogue&) = delete;
  ComponentCatalogue& operator=(const ComponentCatalogue&) = delete;

  // Builds a catalogue for 'filter' as seen on 'serverName' (empty: this computer).
  static std::unique_ptr<ComponentCatalogue> build(long filter, const std::string& serverName = std::string(),
                                                   CatalogueHost* host = nullptr);
  // The entry that a host names, without any window: the component 'progId', or the
  // package 'progId' of the property system 'parentProgId' when that is not empty. The
  // choice holds what the registry gave (an unknown ProgID gives no ProgID back); an
  // empty 'progId' gives an empty choice. Error texts name the choice being looked up.
  static ComponentChoice lookup(const std::string& progId, const std::string& parentProgId,
                                const std::string& catid = std::string(), CatalogueHost* host = nullptr);

  // Objects are created on this computer ("\\name" or "name"; empty: this one).
  void setServerName(const std::string& serverName) { serverName_ = serverName; }
  const std::string& serverName() const { return serverName_; }

  // Rebuilds the tree, the category names and the CATID list for 'filter'; frees the
  // records of the previous build first.
  void DisplayCategories(long filter);
  // Frees every listed record (each traces its address) and empties the tree.
  void ClearTree();

  const std::vector<CatalogueEntry>& roots() const { return roots_; }
  // Category display names in the order shown (the combo box), parallel to catids().
  const std::vector<std::string>& categoryNames() const { return categoryNames_; }
  const std::vector<std::string>& catids() const { return catids_; }
  // Zero-based position of 'catid' in the CATID list (exact comparison), or -1.
  int FindCategoryIndex(const std::string& catid) const;
  // The records of this build, in the order they were made.
  size_t recordCount() const { return records_.size(); }
  bool ownsRecord(const CAPETreeItem* record) const;

  // Reads the registered values of 'clsid' (with a package name: of that package of the
  // property system 'clsid') into a new record, which joins the record list and is stored
  // in '*record' at once. 0, or the failure code of the ProgID lookup (the record then
  // stays empty). '*record' is null only when no record could be made.
  HRESULT GetInfoForCLSID(REFCLSID clsid, const std::string& catid, CAPETreeItem** record,
                          const std::string& packageName);
  // The same into a record that the caller owns (never listed, never null afterwards).
  HRESULT GetInfoForCLSID(REFCLSID clsid, const std::string& catid, std::unique_ptr<CAPETreeItem>* record,
                          const std::string& packageName);
  // The record of a ProgID, or of package 'text' of the system
  // 'parentProgId' when that is not empty. The record belongs to the caller.
  HRESULT GetInfoForProgID(const std::string& text, const std::string& parentProgId, const std::string& catid,
                           std::unique_ptr<CAPETreeItem>* record);

 private:
  void DisplayCategoryComponents(CatalogueEntry& category, const wchar_t* catid);
  void DisplayPropertySystemPropPacks(CatalogueEntry& category);
  HRESULT readInfo(REFCLSID clsid, const std::string& catid, CAPETreeItem& record, const std::string& packageName);
  void listPackages(CatalogueEntry& system, REFCLSID systemClsid, const VARIANT& packages, std::string& current);
  void addPackage(CatalogueEntry& system, REFCLSID systemClsid, const std::string& name);
  static CatalogueEntry& addEntry(std::vector<CatalogueEntry>& siblings, const std::string& text,
                                  CAPETreeItem* record);
  HRESULT createObject(REFCLSID clsid, REFIID iid, void** object);
  CatalogueHost& host() const;

  CatalogueHost* host_;
  std::string serverName_;
  std::deque<std::unique_ptr<CAPETreeItem>> records_;
  std::vector<CatalogueEntry> roots_;
  std::vector<std::string> categoryNames_;
  std::vector<std::string> catids_;
};
