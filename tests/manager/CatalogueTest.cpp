// The registry catalogue without any window: labels, the About text as shown, the category
// table, records of the registered values (untrusted ones cut or left empty), ProgID lookups,
// rebuilds, and the property packages of the samples' and the fault zoo's property systems.
#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>
#include "external/CapeOpenCategories.h"
#include "manager/AboutText.h"
#include "manager/ComponentCatalogue.h"
#include "manager/ManagerTestSupport.h"

namespace {

using mt::labelOf;
using tx::RegisteredClass;
using Names = std::vector<std::string>;

class CatalogueTest : public mt::ManagerTest {
  // The catalogue reports nothing by message box while it reads.
  void TearDown() override { EXPECT_EQ(boxes.count(), 0u) << (boxes.count() ? boxes.boxes()[0].text : ""); }
};

const CatalogueEntry* find(const std::vector<CatalogueEntry>& entries, const std::string& label) {
  auto at = std::find_if(entries.begin(), entries.end(), [&](const CatalogueEntry& e) { return e.label == label; });
  return at == entries.end() ? nullptr : &*at;
}

Names labels(const std::vector<CatalogueEntry>& entries) {
  Names result;
  for (const CatalogueEntry& entry : entries) result.push_back(entry.label);
  return result;
}

TEST(ItemLabel, NameBeforeTextInBracketsAndTheTextSplitBack) {
  struct Make {
    const char* name;
    std::string label;
  } makes[] = {{"Sample Mixer", "Sample Mixer [TxSamples.Mixer.1]"}, {nullptr, "TxSamples.Mixer.1"},
               {"TxSamples.Mixer.1", "TxSamples.Mixer.1"},
               {"txsamples.mixer.1", "txsamples.mixer.1 [TxSamples.Mixer.1]"}};  // the comparison is exact
  for (const Make& row : makes) {
    CAPETreeItem record;
    record.name = row.name ? row.name : "";
    EXPECT_EQ(MakeItemLabel("TxSamples.Mixer.1", row.name ? &record : nullptr), row.label);
    EXPECT_EQ(SplitItemLabel(row.label), "TxSamples.Mixer.1");
  }
  // The text inside the first brackets: "[" searched from the second character, "]" from two after the "[".
  struct Split {
    std::string label, text;
  } splits[] = {{"Bracket [Other.1] System [Mine.1]", "Other.1"}, {"[x] y", "[x] y"}, {"a []", ""}, {"a [b", ""},
                {"a [bc]", "bc"}, {"a []b]", "]b"}, {"", ""}};
  for (const Split& row : splits) EXPECT_EQ(SplitItemLabel(row.label), row.text) << row.label;
}

// The About value as shown: escaped line ends and the message formatter's own sequences,
// with numbered inserts passed through, since no argument is ever there to take.
TEST(AboutText, FormatterRules) {
  struct Row {
    std::string about, shown;
  } rows[] = {
      // Escaped and real line ends, and "%n", become CR LF.
      {"First line\\nsecond", "First line\r\nsecond"}, {"one %n two", "one \r\n two"}, {"a\\n\\nb", "a\r\n\r\nb"},
      {"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"},
      // Numbered inserts have no argument: they pass through.
      {"fourth %1 end", "fourth %1 end"}, {"%1%2%9", "%1%2%9"}, {"%1!d! and %2!s!", "%1!d! and %2!s!"},
      {"%12 items", "%12 items"},
      // "%%" is one percent sign; a percent sign at the end stays.
      {"100 %% sure", "100 % sure"}, {"%%1", "%1"}, {"ends with 100%", "ends with 100%"},
      {"First line\\nsecond %n third %% fourth %1 end", "First line\r\nsecond \r\n third % fourth %1 end"},
      {"", ""}, {"plain", "plain"}, {"back\\slash", "back\\slash"}, {"trailing \\", "trailing \\"},
      {std::string(2047, 'a'), std::string(2047, 'a')}};
  for (const Row& row : rows) EXPECT_EQ(formatAboutText(row.about), row.shown) << row.about;
  // "%0" ends the formatter's output at once: nothing is left to show.
  EXPECT_THROW(formatAboutText("%0 hidden"), std::runtime_error);
}

TEST_F(CatalogueTest, RegisteredValuesMakeRecordsAndLabels) {
  const std::string huge(5000, 'x'), cut(2047, 'x');
  const char *systemsCatid = mt::kReactionSystemsCatid, *routinesCatid = mt::kReactionRoutinesCatid;
  RegisteredClass named("TxTest.Named.1", {systemsCatid},
                        {{"Name", "Named Reaction System"}, {"Description", "Reacts"}, {"About", "About it"},
                         {"CapeVersion", "1.0"}, {"ComponentVersion", "4.5"}, {"VendorURL", "http://vendor.example"},
                         {"HelpURL", "http://help.example"}});
  RegisteredClass sameName("TxTest.SameName.1", {systemsCatid}, {{"Name", "TxTest.SameName.1"}});
  RegisteredClass bare("TxTest.Bare.1", {systemsCatid}, {});
  RegisteredClass noProgId("", {systemsCatid}, {{"Name", "Never shown"}});
  RegisteredClass both("TxTest.Both.1", {systemsCatid, routinesCatid}, {{"Name", "Both"}});
  RegisteredClass big("TxTest.Big.1", {routinesCatid}, {{"Name", huge}, {"About", huge}});
  // A ProgID registered under the CLSID but not as a key of its own still names the class.
  RegisteredClass dangling("TxTest.Dangling.1", {routinesCatid}, {{"Description", "d"}}, false);

  ComponentCatalogue catalogue;
  catalogue.DisplayCategories(mt::kReactionSystems | mt::kReactionRoutines);
  ASSERT_EQ(labels(catalogue.roots()), (Names{"Chemical Reaction Systems", "Chemical Reaction Routines"}));
  EXPECT_TRUE(!catalogue.roots()[0].record && !catalogue.roots()[1].record);
  const std::vector<CatalogueEntry>& systems = catalogue.roots()[0].children;
  const std::vector<CatalogueEntry>& routines = catalogue.roots()[1].children;
  struct Row {
    const std::vector<CatalogueEntry>& list;
    std::string label, progId, name, description, about;
    const char* catid;
  } rows[] = {
      {systems, "Named Reaction System [TxTest.Named.1]", "TxTest.Named.1", "Named Reaction System", "Reacts",
       "About it", systemsCatid},
      {systems, "TxTest.SameName.1", "TxTest.SameName.1", "TxTest.SameName.1", "", "", systemsCatid},
      {systems, "TxTest.Bare.1", "TxTest.Bare.1", "TxTest.Bare.1", "", "", systemsCatid},  // no Name: the ProgID
      {systems, "Both [TxTest.Both.1]", "TxTest.Both.1", "Both", "", "", systemsCatid},
      {routines, "Both [TxTest.Both.1]", "TxTest.Both.1", "Both", "", "", routinesCatid},
      {routines, cut + " [TxTest.Big.1]", "TxTest.Big.1", cut, "", cut, routinesCatid},
      {routines, "TxTest.Dangling.1", "TxTest.Dangling.1", "TxTest.Dangling.1", "d", "", routinesCatid}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label.substr(0, 60));
    const CatalogueEntry* entry = find(row.list, row.label);
    ASSERT_TRUE(entry && entry->record);
    const CAPETreeItem& record = *entry->record;
    EXPECT_EQ((Names{entry->text, record.progid, record.name, record.description, record.about, record.catid}),
              (Names{row.progId, row.progId, row.name, row.description, row.about, row.catid}));
    EXPECT_TRUE(catalogue.ownsRecord(&record));
  }
  const CAPETreeItem& record = *find(systems, rows[0].label)->record;
  EXPECT_EQ(record.clsid, named.clsid());
  EXPECT_EQ(record.capeVersion + "|" + record.componentVersion + "|" + record.vendorURL + "|" + record.helpURL,
            "1.0|4.5|http://vendor.example|http://help.example");
  // A class under two categories has a record under each.
  EXPECT_NE(find(systems, "Both [TxTest.Both.1]")->record, find(routines, "Both [TxTest.Both.1]")->record);
  EXPECT_EQ(find(routines, "Both [TxTest.Both.1]")->record->clsid, both.clsid());
  // A class without ProgID is not shown, but its empty record stays listed.
  EXPECT_EQ(systems.size() + routines.size(), 7u);
  EXPECT_EQ(catalogue.recordCount(), 8u);
  // A rebuild frees each record with a trace line of its address and keeps one run of categories; ClearTree all.
  Names addresses;
  for (const CatalogueEntry& category : catalogue.roots())
    for (const CatalogueEntry& entry : category.children)
      addresses.push_back(std::to_string(reinterpret_cast<long long>(entry.record)));
  size_t before = tx::readTrace().size();
  catalogue.DisplayCategories(mt::kReactionSystems | mt::kReactionRoutines);
  std::string added = tx::readTrace().substr(before);
  for (const std::string& address : addresses) EXPECT_TRUE(mt::traceHasLine(added, address)) << address << added;
  EXPECT_EQ(labels(catalogue.roots()), catalogue.categoryNames());
  EXPECT_EQ(catalogue.categoryNames(), (Names{"Chemical Reaction Systems", "Chemical Reaction Routines"}));
  EXPECT_EQ(catalogue.catids(), (Names{systemsCatid, routinesCatid}));
  catalogue.ClearTree();
  EXPECT_TRUE(catalogue.roots().empty());
  EXPECT_EQ(catalogue.recordCount(), 0u);
}

TEST_F(CatalogueTest, LookupsByProgIdReadComponentsAndPackagesUnlisted) {
  RegisteredClass system("TxTest.LookupSystem.1", {}, {{"Name", "Lookup System"}, {"CapeVersion", "1.1"}});
  system.addPackage("Pkg One", {{"Description", "first package"}, {"HelpURL", "http://pkg.example"}});
  const std::string systemId = "TxTest.LookupSystem.1", nullClsid = "{00000000-0000-0000-0000-000000000000}";
  struct Row {
    std::string text, parent;
    const char* catid;
    bool found;
    std::string progId, name, clsid, values;  // values: description|helpURL|capeVersion
  } rows[] = {
      {systemId, "", mt::kSystemsCatid, true, systemId, "Lookup System", system.clsid(), "||1.1"},
      {"Pkg One", systemId, mt::kPackagesCatid, true, "Pkg One", "Pkg One", system.clsid(),
       "first package|http://pkg.example|"},
      // A package that the system does not register: its name, no values.
      {"Unknown Pkg", systemId, mt::kPackagesCatid, true, "Unknown Pkg", "Unknown Pkg", system.clsid(), "||"},
      // An unknown ProgID: its failure and an empty record.
      {"TxTest.NotThere.1", "", mt::kPackagesCatid, false, "", "", "", "||"},
      // A package of an unknown system keeps its name under the null CLSID.
      {"Pkg One", "TxTest.NotThere.1", mt::kPackagesCatid, true, "Pkg One", "Pkg One", nullClsid, "||"}};
  ComponentCatalogue catalogue;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text + " of " + row.parent);
    std::unique_ptr<CAPETreeItem> record;
    HRESULT hr = catalogue.GetInfoForProgID(row.text, row.parent, row.catid, &record);
    if (row.found) EXPECT_EQ(hr, S_OK);
    else EXPECT_TRUE(FAILED(hr)) << hr;
    ASSERT_TRUE(record);
    EXPECT_EQ((Names{record->progid, record->name, record->clsid, record->catid,
                     record->description + "|" + record->helpURL + "|" + record->capeVersion}),
              (Names{row.progId, row.name, row.clsid, row.found ? row.catid : "", row.values}));
    // The lookup for a host gives the same, with the system's ProgID and name as the parent.
    ComponentChoice choice = ComponentCatalogue::lookup(row.text, row.parent, row.catid);
    EXPECT_EQ((Names{choice.progId, choice.name, choice.clsid, choice.catid, choice.parentProgId + "|" + choice.parentName}),
              (Names{row.progId, row.name, row.clsid, row.found ? row.catid : "",
                     row.parent == systemId ? systemId + "|Lookup System" : "|"}));
  }
  EXPECT_EQ(catalogue.recordCount(), 0u);

  // Into a listed record: a class without ProgID fails, and its empty record stays listed.
  RegisteredClass anonymous("", {}, {{"Name", "Anonymous"}});
  CAPETreeItem* listed = nullptr;
  EXPECT_TRUE(FAILED(catalogue.GetInfoForCLSID(anonymous.guid(), mt::kUnitsCatid, &listed, "")));
  ASSERT_NE(listed, nullptr);
  EXPECT_TRUE(catalogue.ownsRecord(listed));
  EXPECT_EQ(listed->name + listed->catid + listed->clsid, "");
}

TEST_F(CatalogueTest, EveryCategoryListsTheSamplesAndTheFaultZooInTableOrder) {
  // Error information left on the thread (as a failing GetPropertyPackages leaves it).
  fw::ComPtr<ICreateErrorInfo> stale;
  ASSERT_EQ(CreateErrorInfo(stale.put()), S_OK);
  stale->SetDescription(const_cast<wchar_t*>(L"stale description"));
  fw::ComPtr<IErrorInfo> info;
  ASSERT_EQ(info.queryFrom(stale.get(), IID_IErrorInfo), S_OK);
  SetErrorInfo(0, info.get());
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(511);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->serverName(), "");
  // Systems, with their packages, come before the packages' own category.
  const Names all = {"Components", "Thermo Routines", "Thermo Property Systems", "Thermo Property Packages",
                     "Thermo Equilibrium Servers", "Unit Operations", "Chemical Reaction Systems",
                     "Chemical Reaction Routines"};
  ASSERT_EQ(labels(catalogue->roots()), all);
  EXPECT_EQ(catalogue->categoryNames(), all);
  ASSERT_EQ(catalogue->catids().size(), 8u);
  // Each CATID text names the published category; rows 5 and 6 are not in CATID order.
  const GUID* published[] = {&CATID_CapeComponent, &CATID_CapeThermoRoutine, &CATID_CapeThermoSystem,
                              &CATID_CapeThermoPropertyPackage, &CATID_CapeThermoEquilibriumServer,
                              &CATID_CapeUnitOperation, &CATID_CapeKineticReactionSystem, &CATID_CapeKineticReaction};
  for (size_t i = 0; i < 8; ++i) {
    const std::string& catid = catalogue->catids()[i];
    GUID parsed = GUID_NULL;
    EXPECT_EQ(CLSIDFromString(wideFromNarrow(catid).c_str(), &parsed), S_OK) << catid;
    EXPECT_TRUE(IsEqualGUID(parsed, *published[i])) << catid;
    EXPECT_EQ(catalogue->FindCategoryIndex(catid), static_cast<int>(i));
  }
  EXPECT_EQ(catalogue->catids()[2], mt::kSystemsCatid);  // the one spelled with "11d2"
  EXPECT_EQ(catalogue->FindCategoryIndex("{678C09A3-7D66-11D2-A67D-00105A42887F}"), -1);  // exact comparison
  EXPECT_NE(find(catalogue->roots()[0].children, labelOf(txs::kMixer)), nullptr);  // a component too

  const std::vector<CatalogueEntry>& systems = catalogue->roots()[2].children;
  const CatalogueEntry* system = find(systems, labelOf(txs::kThermoSystem));
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->record->catid, mt::kSystemsCatid);
  ASSERT_EQ(system->children.size(), static_cast<size_t>(txs::kSystemPackageCount));
  Names samplePackages;
  for (int i = 0; i < txs::kSystemPackageCount; ++i) {
    const txs::PackageData& data = txs::kSystemPackages[i];
    const CatalogueEntry& package = system->children[i];
    ASSERT_NE(package.record, nullptr);
    const CAPETreeItem& record = *package.record;
    EXPECT_EQ((Names{package.label, record.progid, record.clsid, record.catid, record.description, record.about,
                     record.vendorURL}),
              (Names{data.name, data.name, guidText(txs::kThermoSystem.clsid), mt::kPackagesCatid,
                     data.values.description, data.values.about, data.values.vendorURL}));
    EXPECT_TRUE(package.children.empty());
    samplePackages.push_back(data.name);
  }
  const CatalogueEntry* standalone = find(catalogue->roots()[3].children, labelOf(txs::kPropertyPackage));
  ASSERT_NE(standalone, nullptr);
  EXPECT_EQ(standalone->record->catid, mt::kPackagesCatid);

  // Odd package lists are shown or skipped, never read as strings.
  struct Row {
    const txs::ClassInfo& system;
    Names packages;
  } rows[] = {
      {txs::kEmptyPackageList, {"No CAPE-OPEN Property Packages currently available"}},
      {txs::kVariantPackageList, {txs::kZooListedNames[0], txs::kZooListedNames[1]}},
      {txs::kNoPackageList, {}}, {txs::kNumberPackageList, {}}, {txs::kTwoDimPackageList, {}},
      {txs::kFailingPackageList, {}},
      {txs::kNoThermoSystem, {"Object does not support ICapeThermoSystem interface"}},
      // A failure other than E_NOINTERFACE: its composed text, without the error
      // information that another system left behind.
      {txs::kQIFails, {" ERROR: "}},
      {txs::kFaultySystem, Names(std::begin(txs::kFaultPackages), std::end(txs::kFaultPackages))},
      // A name with brackets: the packages of the system named inside them.
      {txs::kBracketName, samplePackages}};
  for (const Row& row : rows) {
    const CatalogueEntry* entry = find(systems, labelOf(row.system));
    EXPECT_EQ(entry ? labels(entry->children) : Names{"<none>"}, row.packages) << row.system.progId;
  }
  const CatalogueEntry* empty = find(systems, labelOf(txs::kEmptyPackageList));
  const CatalogueEntry* variants = find(systems, labelOf(txs::kVariantPackageList));
  const CatalogueEntry* bracket = find(systems, labelOf(txs::kBracketName));
  ASSERT_TRUE(empty && variants && bracket && !empty->children.empty() && !variants->children.empty() &&
              !bracket->children.empty());
  EXPECT_EQ(empty->children[0].record, nullptr);  // a message line
  EXPECT_EQ(variants->children[0].record->clsid, guidText(txs::kVariantPackageList.clsid));
  EXPECT_EQ(variants->children[0].record->description, "Sound package of a fault zoo system");
  EXPECT_EQ(bracket->children[0].record->clsid, guidText(txs::kThermoSystem.clsid));

  // Unit operations, with their values (long ones cut at 2047 bytes), are not asked for packages.
  const std::vector<CatalogueEntry>& units = catalogue->roots()[5].children;
  const CatalogueEntry* mixer = find(units, labelOf(txs::kMixer));
  const CatalogueEntry* bare = find(units, txs::kNoDescription.progId);
  const CatalogueEntry* longValues = find(units, labelOf(txs::kLongValues));
  ASSERT_TRUE(mixer && bare && longValues);
  EXPECT_EQ((Names{mixer->record->clsid, mixer->record->catid, mixer->record->componentVersion}),
            (Names{guidText(txs::kMixer.clsid), mt::kUnitsCatid, txs::kMixer.values.componentVersion}));
  EXPECT_TRUE(mixer->children.empty());
  EXPECT_EQ(bare->record->name + "|" + bare->record->description, std::string(txs::kNoDescription.progId) + "|");
  EXPECT_EQ(longValues->record->description, std::string(txs::kLongDescription.text, 2047));
  EXPECT_EQ(longValues->record->helpURL, txs::kLongHelpURL.text);

  // Filters without a category bit list nothing.
  for (long filter : {0L, 64L, 65536L, 64L | 65536L}) {
    catalogue->DisplayCategories(filter);
    EXPECT_TRUE(catalogue->roots().empty() && catalogue->categoryNames().empty() && catalogue->catids().empty() &&
                catalogue->recordCount() == 0) << filter;
  }
}

}  // namespace
