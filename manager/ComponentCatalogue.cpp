#include "manager/ComponentCatalogue.h"

const CategoryRow CategoryTable::rows[CategoryTable::count] = {};
const char* const kThermoSystemCatid = "{678c09a3-7d66-11d2-a67d-00105a42887f}";
const char* const kPropertyPackageCatid = "{678c09a4-7d66-11D2-a67d-00105a42887f}";
CAPETreeItem::~CAPETreeItem() {}
std::string MakeItemLabel(const std::string& text, const CAPETreeItem*) { return text; }
std::string SplitItemLabel(const std::string& label) { return label; }
void CatalogueHost::showCatalogueError(const std::string&) {}
std::string CatalogueHost::selectionContext() const { return std::string(); }
ComponentCatalogue::ComponentCatalogue(CatalogueHost* host) : host_(host) {}
ComponentCatalogue::~ComponentCatalogue() {}
int ComponentCatalogue::FindCategoryIndex(const std::string&) const { return -1; }
