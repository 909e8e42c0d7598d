// The registry catalogue without any window: categories, records, labels and the trace
// lines of freed records.
#include <gtest/gtest.h>
#include <comcat.h>
#include <algorithm>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "external/CapeOpenCategories.h"
#include "manager/ComponentCatalogue.h"
#include "manager/ManagerTestSupport.h"

namespace {

using mt::RegisteredClass;

class CatalogueTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    mt::useProductModule();
  }
};

const CatalogueEntry* findEntry(const std::vector<CatalogueEntry>& entries, const std::string& label) {
  for (const CatalogueEntry& entry : entries)
    if (entry.label == label) return &entry;
  return nullptr;
}

std::vector<std::string> entryLabels(const std::vector<CatalogueEntry>& entries) {
  std::vector<std::string> result;
  for (const CatalogueEntry& entry : entries) result.push_back(entry.label);
  return result;
}

// The classes that the component-category manager lists under 'catid', in its order.
std::vector<std::string> classesOf(const char* catid) {
  std::vector<std::string> result;
  fw::ComPtr<ICatInformation> info;
  if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                              info.put_void())))
    return result;
  std::wstring text = tx::widen(catid);
  CATID category;
  CLSIDFromString(const_cast<wchar_t*>(text.c_str()), &category);
  fw::ComPtr<IEnumCLSID> classes;
  if (FAILED(info->EnumClassesOfCategories(1, &category, static_cast<ULONG>(-1), nullptr, classes.put())) || !classes)
    return result;
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK) result.push_back(mt::guidText(clsid));
  return result;
}

TEST(ItemLabel, NameBeforeTextInBracketsUnlessEqual) {
  CAPETreeItem record;
  record.name = "Sample Mixer";
  EXPECT_EQ(MakeItemLabel("TxSamples.Mixer.1", &record), "Sample Mixer [TxSamples.Mixer.1]");
  EXPECT_EQ(MakeItemLabel("TxSamples.Mixer.1", nullptr), "TxSamples.Mixer.1");
  record.name = "TxSamples.Mixer.1";
  EXPECT_EQ(MakeItemLabel("TxSamples.Mixer.1", &record), "TxSamples.Mixer.1");
  record.name = "txsamples.mixer.1";  // the comparison is exact
  EXPECT_EQ(MakeItemLabel("TxSamples.Mixer.1", &record), "txsamples.mixer.1 [TxSamples.Mixer.1]");
}

TEST(ItemLabel, SplitRecoversTheTextOfMakeItemLabel) {
  CAPETreeItem record;
  record.name = "Sample Mixer";
  EXPECT_EQ(SplitItemLabel(MakeItemLabel("TxSamples.Mixer.1", &record)), "TxSamples.Mixer.1");
  EXPECT_EQ(SplitItemLabel("TxSamples.Mixer.1"), "TxSamples.Mixer.1");
  // A name with brackets of its own gives the text inside its first brackets.
  EXPECT_EQ(SplitItemLabel("Bracket [Other.1] System [Mine.1]"), "Other.1");
  // The search for "[" starts at the second character, for "]" two after the "[".
  EXPECT_EQ(SplitItemLabel("[x] y"), "[x] y");
  EXPECT_EQ(SplitItemLabel("a []"), "");
  EXPECT_EQ(SplitItemLabel("a [b"), "");
  EXPECT_EQ(SplitItemLabel("a [bc]"), "bc");
  EXPECT_EQ(SplitItemLabel(""), "");
}

TEST_F(CatalogueTest, EveryCategoryBitListsItsCategoryInTableOrder) {
  BoxCapture boxes;
  ComponentCatalogue catalogue;
  catalogue.DisplayCategories(1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 256);
  std::vector<std::string> names = {"Components",      "Thermo Routines",           "Thermo Property Systems",
                                    "Thermo Property Packages", "Thermo Equilibrium Servers", "Unit Operations",
                                    "Chemical Reaction Systems", "Chemical Reaction Routines"};
  EXPECT_EQ(entryLabels(catalogue.roots()), names);
  EXPECT_EQ(catalogue.categoryNames(), names);
  // Each CATID text names the published category; rows 5 and 6 are not in CATID order.
  const CATID* expected[] = {&CATID_CapeComponent,         &CATID_CapeThermoRoutine,   &CATID_CapeThermoSystem,
                             &CATID_CapeThermoPropertyPackage, &CATID_CapeThermoEquilibriumServer,
                             &CATID_CapeUnitOperation,     &CATID_CapeKineticReactionSystem, &CATID_CapeKineticReaction};
  ASSERT_EQ(catalogue.catids().size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    std::wstring text = tx::widen(catalogue.catids()[i]);
    CATID parsed;
    ASSERT_EQ(CLSIDFromString(const_cast<wchar_t*>(text.c_str()), &parsed), S_OK) << catalogue.catids()[i];
    EXPECT_TRUE(IsEqualGUID(parsed, *expected[i])) << catalogue.catids()[i];
    EXPECT_EQ(catalogue.FindCategoryIndex(catalogue.catids()[i]), static_cast<int>(i));
  }
  EXPECT_EQ(catalogue.catids()[2], mt::kSystemsCatid);  // the one spelled with "11d2"
  EXPECT_EQ(catalogue.FindCategoryIndex("{678C09A3-7D66-11D2-A67D-00105A42887F}"), -1);  // exact comparison
}

TEST_F(CatalogueTest, FiltersWithoutACategoryBitListNothing) {
  BoxCapture boxes;
  for (long filter : {0L, 64L, 65536L, 64L | 65536L}) {
    ComponentCatalogue catalogue;
    catalogue.DisplayCategories(filter);
    EXPECT_TRUE(catalogue.roots().empty()) << filter;
    EXPECT_TRUE(catalogue.categoryNames().empty()) << filter;
    EXPECT_TRUE(catalogue.catids().empty()) << filter;
    EXPECT_EQ(catalogue.recordCount(), 0u) << filter;
  }
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CatalogueTest, RegisteredValuesMakeRecordsAndLabels) {
  BoxCapture boxes;
  RegisteredClass named("TxTest.Named.1", {mt::kReactionSystemsCatid},
                        {{"Name", "Named Reaction System"},
                         {"Description", "Reacts"},
                         {"About", "About it"},
                         {"CapeVersion", "1.0"},
                         {"ComponentVersion", "4.5"},
                         {"VendorURL", "http://vendor.example"},
                         {"HelpURL", "http://help.example"}});
  RegisteredClass sameName("TxTest.SameName.1", {mt::kReactionSystemsCatid}, {{"Name", "TxTest.SameName.1"}});
  RegisteredClass bare("TxTest.Bare.1", {mt::kReactionSystemsCatid}, {});
  RegisteredClass noProgId("", {mt::kReactionSystemsCatid}, {{"Name", "Never shown"}});

  ComponentCatalogue catalogue;
  catalogue.DisplayCategories(mt::kReactionSystems);
  ASSERT_EQ(catalogue.roots().size(), 1u);
  const CatalogueEntry& category = catalogue.roots()[0];
  EXPECT_EQ(category.label, "Chemical Reaction Systems");
  EXPECT_EQ(category.record, nullptr);

  const CatalogueEntry* entry = findEntry(category.children, "Named Reaction System [TxTest.Named.1]");
  ASSERT_NE(entry, nullptr);
  ASSERT_NE(entry->record, nullptr);
  const CAPETreeItem& record = *entry->record;
  EXPECT_EQ(entry->text, "TxTest.Named.1");
  EXPECT_EQ(record.catid, mt::kReactionSystemsCatid);
  EXPECT_EQ(record.progid, "TxTest.Named.1");
  EXPECT_EQ(record.clsid, named.clsid());
  EXPECT_EQ(record.name, "Named Reaction System");
  EXPECT_EQ(record.description, "Reacts");
  EXPECT_EQ(record.about, "About it");
  EXPECT_EQ(record.capeVersion, "1.0");
  EXPECT_EQ(record.componentVersion, "4.5");
  EXPECT_EQ(record.vendorURL, "http://vendor.example");
  EXPECT_EQ(record.helpURL, "http://help.example");
  EXPECT_TRUE(catalogue.ownsRecord(&record));

  EXPECT_NE(findEntry(category.children, "TxTest.SameName.1"), nullptr);
  const CatalogueEntry* bareEntry = findEntry(category.children, "TxTest.Bare.1");
  ASSERT_NE(bareEntry, nullptr);
  EXPECT_EQ(bareEntry->record->name, "TxTest.Bare.1");  // no Name: the ProgID
  EXPECT_EQ(bareEntry->record->description, "");
  EXPECT_EQ(bareEntry->record->vendorURL, "");
  for (const CatalogueEntry& child : category.children) EXPECT_EQ(child.label.find("Never shown"), std::string::npos);

  // Components appear in the enumerator's order; a class without ProgID is not shown, but
  // its empty record stays listed.
  std::vector<std::string> expected;
  for (const std::string& clsid : classesOf(mt::kReactionSystemsCatid)) {
    for (const CatalogueEntry& child : category.children)
      if (child.record && child.record->clsid == clsid) expected.push_back(child.label);
  }
  EXPECT_EQ(entryLabels(category.children), expected);
  EXPECT_EQ(catalogue.recordCount(), classesOf(mt::kReactionSystemsCatid).size());
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CatalogueTest, AClassUnderTwoCategoriesIsListedUnderBothWithItsCategory) {
  BoxCapture boxes;
  RegisteredClass both("TxTest.Both.1", {mt::kReactionSystemsCatid, mt::kReactionRoutinesCatid}, {{"Name", "Both"}});
  ComponentCatalogue catalogue;
  catalogue.DisplayCategories(mt::kReactionSystems | mt::kReactionRoutines);
  ASSERT_EQ(entryLabels(catalogue.roots()),
            (std::vector<std::string>{"Chemical Reaction Systems", "Chemical Reaction Routines"}));
  const CatalogueEntry* first = findEntry(catalogue.roots()[0].children, "Both [TxTest.Both.1]");
  const CatalogueEntry* second = findEntry(catalogue.roots()[1].children, "Both [TxTest.Both.1]");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first->record, second->record);
  EXPECT_EQ(first->record->catid, mt::kReactionSystemsCatid);
  EXPECT_EQ(second->record->catid, mt::kReactionRoutinesCatid);
  EXPECT_EQ(first->record->clsid, second->record->clsid);
}

TEST_F(CatalogueTest, UntrustedRegistryValuesAreCutOrLeftEmpty) {
  BoxCapture boxes;
  std::string huge(5000, 'x');
  RegisteredClass big("TxTest.Big.1", {mt::kReactionRoutinesCatid}, {{"Name", huge}, {"About", huge}});
  // A ProgID registered under the CLSID but not as a key of its own still names the class.
  RegisteredClass dangling("TxTest.Dangling.1", {mt::kReactionRoutinesCatid}, {{"Description", "d"}}, false);
  ComponentCatalogue catalogue;
  catalogue.DisplayCategories(mt::kReactionRoutines);
  ASSERT_EQ(catalogue.roots().size(), 1u);
  const CatalogueEntry* entry = findEntry(catalogue.roots()[0].children, huge.substr(0, 2047) + " [TxTest.Big.1]");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->record->about.size(), 2047u);
  const CatalogueEntry* other = findEntry(catalogue.roots()[0].children, "TxTest.Dangling.1");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->record->description, "d");
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CatalogueTest, ProgIdLookupReadsComponentsAndPackagesUnlisted) {
  BoxCapture boxes;
  RegisteredClass system("TxTest.LookupSystem.1", {}, {{"Name", "Lookup System"}, {"CapeVersion", "1.1"}});
  system.addPackage("Pkg One", {{"Description", "first package"}, {"HelpURL", "http://pkg.example"}});
  ComponentCatalogue catalogue;

  std::unique_ptr<CAPETreeItem> record;
  EXPECT_EQ(catalogue.GetInfoForProgID("TxTest.LookupSystem.1", "", mt::kSystemsCatid, &record), S_OK);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->progid, "TxTest.LookupSystem.1");
  EXPECT_EQ(record->name, "Lookup System");
  EXPECT_EQ(record->capeVersion, "1.1");
  EXPECT_EQ(record->clsid, system.clsid());
  EXPECT_EQ(record->catid, mt::kSystemsCatid);

  EXPECT_EQ(catalogue.GetInfoForProgID("Pkg One", "TxTest.LookupSystem.1", mt::kPackagesCatid, &record), S_OK);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->progid, "Pkg One");
  EXPECT_EQ(record->name, "Pkg One");
  EXPECT_EQ(record->clsid, system.clsid());
  EXPECT_EQ(record->description, "first package");
  EXPECT_EQ(record->helpURL, "http://pkg.example");
  EXPECT_EQ(record->catid, mt::kPackagesCatid);

  // A package the system does not register: its name, no values.
  EXPECT_EQ(catalogue.GetInfoForProgID("Unknown Pkg", "TxTest.LookupSystem.1", mt::kPackagesCatid, &record), S_OK);
  EXPECT_EQ(record->progid, "Unknown Pkg");
  EXPECT_EQ(record->description, "");

  // An unknown ProgID gives its failure and an empty record.
  EXPECT_TRUE(FAILED(catalogue.GetInfoForProgID("TxTest.NotThere.1", "", mt::kPackagesCatid, &record)));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->progid, "");
  EXPECT_EQ(record->clsid, "");
  // A package of an unknown system keeps its name under the null CLSID.
  EXPECT_EQ(catalogue.GetInfoForProgID("Pkg One", "TxTest.NotThere.1", mt::kPackagesCatid, &record), S_OK);
  EXPECT_EQ(record->progid, "Pkg One");
  EXPECT_EQ(record->name, "Pkg One");
  EXPECT_EQ(record->clsid, "{00000000-0000-0000-0000-000000000000}");

  EXPECT_EQ(catalogue.recordCount(), 0u);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CatalogueTest, AClassWithoutProgIdFailsTheLookupWithAnEmptyListedRecord) {
  RegisteredClass anonymous("", {}, {{"Name", "Anonymous"}});
  ComponentCatalogue catalogue;
  CAPETreeItem* record = nullptr;
  EXPECT_TRUE(FAILED(catalogue.GetInfoForCLSID(anonymous.guid(), mt::kUnitsCatid, &record, "")));
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(catalogue.ownsRecord(record));
  EXPECT_EQ(record->name, "");
  EXPECT_EQ(record->catid, "");
  EXPECT_EQ(record->clsid, "");
}

TEST_F(CatalogueTest, ARebuildFreesEveryRecordWithATraceLineAndKeepsOneRunOfCategories) {
  BoxCapture boxes;
  RegisteredClass one("TxTest.TraceOne.1", {mt::kReactionSystemsCatid}, {{"Name", "One"}});
  RegisteredClass two("TxTest.TraceTwo.1", {mt::kReactionRoutinesCatid}, {{"Name", "Two"}});
  ComponentCatalogue catalogue;
  const long filter = mt::kReactionSystems | mt::kReactionRoutines;
  catalogue.DisplayCategories(filter);
  std::vector<std::string> addresses;
  std::function<void(const std::vector<CatalogueEntry>&)> collect = [&](const std::vector<CatalogueEntry>& entries) {
    for (const CatalogueEntry& entry : entries) {
      if (entry.record) addresses.push_back(std::to_string(reinterpret_cast<long long>(entry.record)));
      collect(entry.children);
    }
  };
  collect(catalogue.roots());
  ASSERT_GE(addresses.size(), 2u);
  size_t before = tx::readTrace().size();

  catalogue.DisplayCategories(filter);
  std::string added = tx::readTrace().substr(before);
  for (const std::string& address : addresses)
    EXPECT_TRUE(mt::traceHasLine(added, address)) << address << "\n" << added;
  EXPECT_EQ(catalogue.categoryNames(),
            (std::vector<std::string>{"Chemical Reaction Systems", "Chemical Reaction Routines"}));
  EXPECT_EQ(catalogue.catids(), (std::vector<std::string>{mt::kReactionSystemsCatid, mt::kReactionRoutinesCatid}));
  EXPECT_EQ(catalogue.roots().size(), 2u);

  catalogue.ClearTree();
  EXPECT_TRUE(catalogue.roots().empty());
  EXPECT_EQ(catalogue.recordCount(), 0u);
}

TEST_F(CatalogueTest, BuildGivesAWindowFreeCatalogueForAFilter) {
  BoxCapture boxes;
  RegisteredClass one("TxTest.Built.1", {mt::kReactionRoutinesCatid}, {{"Name", "Built"}});
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(mt::kReactionRoutines);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->serverName(), "");
  ASSERT_EQ(catalogue->roots().size(), 1u);
  EXPECT_NE(findEntry(catalogue->roots()[0].children, "Built [TxTest.Built.1]"), nullptr);
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
