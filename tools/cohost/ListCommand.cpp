// cohost list: the catalogue as the Component Manager shows it, without a window; as a
// host of the other bitness would see it (--view 32); or only what matches a text.
#include <windows.h>
#include <cstdio>
#include <set>
#include "cohost/Commands.h"
#include "cohost/RegistryView.h"
#include "framework/WideText.h"
#include "manager/ComponentCatalogue.h"

namespace {

// Catalogue errors go to stderr and into the JSON, not into message boxes.
class ListHost : public CatalogueHost {
 public:
  void showCatalogueError(const std::string& text) override {
    printText(stderr, "cohost: catalogue: %s\n", text.c_str());
    errors.push_back(text);
  }
  std::vector<std::string> errors;
};

Json recordJson(const CAPETreeItem& record) {
  Json json = Json::object();
  json.set("progid", record.progid);
  json.set("clsid", record.clsid);
  json.set("name", record.name);
  json.set("catid", record.catid);
  json.set("capeVersion", record.capeVersion);
  json.set("componentVersion", record.componentVersion);
  json.set("description", record.description);
  json.set("vendorURL", record.vendorURL);
  json.set("helpURL", record.helpURL);
  json.set("about", record.about);
  return json;
}

// An entry and what lies below it: components and packages have records, lines have none.
Json entryJson(const CatalogueEntry& entry) {
  Json json = Json::object();
  json.set("label", entry.label);
  if (entry.record) json.set("record", recordJson(*entry.record));
  Json children = Json::array();
  for (const CatalogueEntry& child : entry.children) children.push(entryJson(child));
  json.set("children", children);
  return json;
}

void printRecord(const CAPETreeItem& r, const std::string& indent) {
  printText(stdout, "%s    ProgID %s  CLSID %s  CAPE-OPEN %s  version %s\n", indent.c_str(),
            r.progid.empty() ? "-" : r.progid.c_str(), r.clsid.empty() ? "-" : r.clsid.c_str(),
            r.capeVersion.empty() ? "-" : r.capeVersion.c_str(),
            r.componentVersion.empty() ? "-" : r.componentVersion.c_str());
}

void printEntry(const CatalogueEntry& entry, int depth) {
  std::string indent(static_cast<size_t>(depth) * 2, ' ');
  printText(stdout, "%s%s\n", indent.c_str(), entry.label.c_str());
  if (entry.record) printRecord(*entry.record, indent);
  for (const CatalogueEntry& child : entry.children) printEntry(child, depth + 1);
}

// Upper case in every script (not only A to Z), the same on both sides of a search.
std::wstring folded(const std::string& text) {
  std::wstring wide = wideFromNarrow(text);
  if (wide.empty()) return wide;
  const DWORD flags = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;
  const int size = static_cast<int>(wide.size());
  int length = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, wide.c_str(), size, nullptr, 0, nullptr, nullptr, 0);
  if (length <= 0) return wide;
  std::wstring upper(static_cast<size_t>(length), L'\0');
  length = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, wide.c_str(), size, &upper[0], length, nullptr, nullptr, 0);
  if (length <= 0) return wide;
  upper.resize(static_cast<size_t>(length));
  return upper;
}

// Case-insensitive, literal. A package carries its system's CLSID, so only components
// are found by CLSID.
bool matches(const CAPETreeItem& r, const std::wstring& text, bool package) {
  for (const std::string* field : {&r.name, &r.progid, &r.description, &r.clsid}) {
    if (package && field == &r.clsid) continue;
    if (folded(*field).find(text) != std::wstring::npos) return true;
  }
  return false;
}

struct Match {
  const CatalogueEntry* category;
  std::string catid;
  const CatalogueEntry* entry;
  const CatalogueEntry* system;  // for a package
};

std::vector<Match> findMatches(const std::vector<CatalogueEntry>& roots, const std::vector<std::string>& catids,
                               const std::string& text) {
  const std::wstring wanted = folded(text);
  std::vector<Match> found;
  // A class registered under several categories is listed in each (the mixer is a component and a unit
  // operation): it is found once, in the first. A package is its system's and its own name.
  std::set<std::string> seen;
  auto add = [&](const Match& m) {
    const std::string key = (m.system ? m.system->label : std::string()) + "\n" + m.entry->record->clsid + "\n" +
                            m.entry->record->progid;
    if (seen.insert(key).second) found.push_back(m);
  };
  for (size_t i = 0; i < roots.size(); ++i) {
    const std::string catid = i < catids.size() ? catids[i] : std::string();
    for (const CatalogueEntry& component : roots[i].children) {
      if (component.record && matches(*component.record, wanted, false)) add({&roots[i], catid, &component, nullptr});
      for (const CatalogueEntry& package : component.children)
        if (package.record && matches(*package.record, wanted, true)) add({&roots[i], catid, &package, &component});
    }
  }
  return found;
}

int printMatches(Session& session, const std::vector<Match>& found, const std::string& text) {
  if (session.options().json) {
    Json result = Json::object();
    result.set("match", text);
    Json list = Json::array();
    for (const Match& m : found) {
      Json item = Json::object();
      item.set("category", m.category->label);
      item.set("catid", m.catid);
      item.set("label", m.entry->label);
      item.set("record", recordJson(*m.entry->record));
      if (m.system) item.set("propertySystem", m.system->label);
      list.push(item);
    }
    result.set("matches", list);
    session.printJson(result);
    return kExitOk;
  }
  if (found.empty()) printText(stdout, "No component matches '%s'.\n", text.c_str());
  for (const Match& m : found) {
    printText(stdout, "%s: %s", m.category->label.c_str(), m.entry->label.c_str());
    if (m.system) printText(stdout, "  (property package of %s)", m.system->label.c_str());
    printText(stdout, "\n");
    printRecord(*m.entry->record, std::string());
  }
  return kExitOk;
}

}  // namespace

int listCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  long filter = 0, bits = 64;
  // A search looks in every category unless told otherwise.
  long everything = 0;
  for (const CategoryRow& row : CategoryTable::rows) everything |= static_cast<long>(row.flag);
  if (!options.only({"filter", "server", "view", "match"}, &error) ||
      !options.number("filter", options.has("match") ? everything : (12 | 32), &filter, &error) ||
      !options.number("view", 64, &bits, &error) || !options.positional.empty()) {
    session.error(error.empty() ? "list takes no arguments" : error);
    return kExitUsage;
  }
  if (bits != 64 && bits != 32) {
    session.error("--view takes 32 or 64");
    return kExitUsage;
  }
  if (bits == 32 && options.has("server")) {
    session.error("--view 32 reads this computer's registry; it does not take --server");
    return kExitUsage;
  }

  // A 64-bit host's catalogue is the product's own; a 32-bit host's comes from its view.
  ListHost host;
  std::vector<std::unique_ptr<ComponentCatalogue>> catalogues;  // own the records that the entries point at
  std::vector<std::unique_ptr<CAPETreeItem>> records;
  std::vector<CatalogueEntry> roots;
  std::vector<std::string> catids;
  session.beginStep("listing the catalogue");
  if (bits == 64) {
    // One category at a time, as the whole filter would list them, so that a console shows how far it is.
    std::vector<const CategoryRow*> shown;
    for (const CategoryRow& row : CategoryTable::rows)
      if (row.flag & static_cast<unsigned long>(filter)) shown.push_back(&row);
    for (size_t i = 0; i < shown.size(); ++i) {
      showProgress("listing " + std::to_string(i + 1) + " of " + std::to_string(shown.size()) + ": " +
                   shown[i]->displayName);
      catalogues.push_back(ComponentCatalogue::build(static_cast<long>(shown[i]->flag), options.get("server"), &host));
      if (!catalogues.back()) continue;
      roots.insert(roots.end(), catalogues.back()->roots().begin(), catalogues.back()->roots().end());
      catids.insert(catids.end(), catalogues.back()->catids().begin(), catalogues.back()->catids().end());
    }
    showProgress(std::string());
  } else {
    roots = viewCatalogue(kView32, filter, &records, &catids);
  }
  session.endStep();

  if (options.has("match")) return printMatches(session, findMatches(roots, catids, options.get("match")), options.get("match"));
  if (options.json) {
    Json result = Json::object();
    result.set("filter", filter);
    result.set("view", bits);
    Json categories = Json::array();
    for (size_t i = 0; i < roots.size(); ++i) {
      Json category = entryJson(roots[i]);
      if (i < catids.size()) category.set("catid", catids[i]);
      categories.push(category);
    }
    result.set("categories", categories);
    Json errors = Json::array();
    for (const std::string& e : host.errors) errors.push(e);
    result.set("errors", errors);
    session.printJson(result);
  } else {
    if (roots.empty()) printText(stdout, "No category of filter %ld is shown.\n", filter);
    for (size_t i = 0; i < roots.size(); ++i) {
      printText(stdout, "%s  %s\n", roots[i].label.c_str(), i < catids.size() ? catids[i].c_str() : "");
      for (const CatalogueEntry& child : roots[i].children) printEntry(child, 1);
    }
  }
  return kExitOk;
}
