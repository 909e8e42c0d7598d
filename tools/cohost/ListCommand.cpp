// cohost list: the catalogue as the Component Manager shows it, without a window.
#include <cstdio>
#include "cohost/Commands.h"
#include "manager/ComponentCatalogue.h"

namespace {

// Catalogue errors go to stderr and into the JSON, not into message boxes.
class ListHost : public CatalogueHost {
 public:
  void showCatalogueError(const std::string& text) override {
    fprintf(stderr, "cohost: catalogue: %s\n", text.c_str());
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

void printEntry(const CatalogueEntry& entry, int depth) {
  std::string indent(static_cast<size_t>(depth) * 2, ' ');
  printf("%s%s\n", indent.c_str(), entry.label.c_str());
  if (entry.record) {
    const CAPETreeItem& r = *entry.record;
    printf("%s    ProgID %s  CLSID %s  CAPE-OPEN %s  version %s\n", indent.c_str(),
           r.progid.empty() ? "-" : r.progid.c_str(), r.clsid.empty() ? "-" : r.clsid.c_str(),
           r.capeVersion.empty() ? "-" : r.capeVersion.c_str(),
           r.componentVersion.empty() ? "-" : r.componentVersion.c_str());
  }
  for (const CatalogueEntry& child : entry.children) printEntry(child, depth + 1);
}

}  // namespace

int listCommand(Session& session) {
  const Options& options = session.options();
  std::string error;
  long filter = 0;
  if (!options.only({"filter", "server"}, &error) || !options.number("filter", 12 | 32, &filter, &error) ||
      !options.positional.empty()) {
    session.error(error.empty() ? "list takes no arguments" : error);
    return kExitUsage;
  }
  ListHost host;
  session.beginStep("listing the catalogue");
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(filter, options.get("server"), &host);
  session.endStep();

  if (options.json) {
    Json result = Json::object();
    result.set("filter", filter);
    Json categories = Json::array();
    const auto& roots = catalogue->roots();
    for (size_t i = 0; i < roots.size(); ++i) {
      Json category = entryJson(roots[i]);
      if (i < catalogue->catids().size()) category.set("catid", catalogue->catids()[i]);
      categories.push(category);
    }
    result.set("categories", categories);
    Json errors = Json::array();
    for (const std::string& e : host.errors) errors.push(e);
    result.set("errors", errors);
    session.printJson(result);
  } else {
    if (catalogue->roots().empty()) printf("No category of filter %ld is shown.\n", filter);
    const auto& roots = catalogue->roots();
    for (size_t i = 0; i < roots.size(); ++i) {
      printf("%s  %s\n", roots[i].label.c_str(), i < catalogue->catids().size() ? catalogue->catids()[i].c_str() : "");
      for (const CatalogueEntry& child : roots[i].children) printEntry(child, 1);
    }
  }
  return kExitOk;
}
