// The catalogue over the registered samples and the fault zoo: property systems with
// their packages, and systems that answer badly.
#include <gtest/gtest.h>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "manager/ComponentCatalogue.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

const char kNoPackages[] = "No CAPE-OPEN Property Packages currently available";

class CataloguePackagesTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    mt::useProductModule();
  }
};

using mt::labelOf;

const CatalogueEntry* child(const CatalogueEntry& parent, const std::string& label) {
  for (const CatalogueEntry& entry : parent.children)
    if (entry.label == label) return &entry;
  return nullptr;
}

std::vector<std::string> childLabels(const CatalogueEntry* parent) {
  std::vector<std::string> result;
  if (parent)
    for (const CatalogueEntry& entry : parent->children) result.push_back(entry.label);
  return result;
}

TEST_F(CataloguePackagesTest, SystemsShowTheirPackagesBeforeThePackagesCategory) {
  BoxCapture boxes;
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(12);
  ASSERT_TRUE(catalogue);
  ASSERT_EQ(catalogue->roots().size(), 2u);
  EXPECT_EQ(catalogue->roots()[0].label, "Thermo Property Systems");
  EXPECT_EQ(catalogue->roots()[1].label, "Thermo Property Packages");
  EXPECT_EQ(catalogue->categoryNames(),
            (std::vector<std::string>{"Thermo Property Systems", "Thermo Property Packages"}));

  const CatalogueEntry* system = child(catalogue->roots()[0], labelOf(txs::kThermoSystem));
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->record->catid, mt::kSystemsCatid);
  ASSERT_EQ(system->children.size(), static_cast<size_t>(txs::kSystemPackageCount));
  for (int i = 0; i < txs::kSystemPackageCount; ++i) {
    const txs::PackageData& data = txs::kSystemPackages[i];
    const CatalogueEntry& package = system->children[i];
    EXPECT_EQ(package.label, data.name);
    ASSERT_NE(package.record, nullptr);
    EXPECT_EQ(package.record->progid, data.name);
    EXPECT_EQ(package.record->clsid, mt::guidText(txs::kThermoSystem.clsid));
    EXPECT_EQ(package.record->catid, mt::kPackagesCatid);
    EXPECT_EQ(package.record->description, data.values.description);
    EXPECT_EQ(package.record->about, data.values.about);
    EXPECT_EQ(package.record->vendorURL, data.values.vendorURL);
    EXPECT_TRUE(package.children.empty());
  }
  EXPECT_NE(child(catalogue->roots()[1], labelOf(txs::kPropertyPackage)), nullptr);
  EXPECT_EQ(boxes.count(), 0u) << (boxes.count() ? boxes.boxes()[0].text : "");
}

TEST_F(CataloguePackagesTest, OddPackageListsAreShownOrSkippedNeverReadAsStrings) {
  BoxCapture boxes;
  // Error information left on the thread (as a failing GetPropertyPackages leaves it).
  fw::ComPtr<ICreateErrorInfo> stale;
  ASSERT_EQ(CreateErrorInfo(stale.put()), S_OK);
  stale->SetDescription(const_cast<wchar_t*>(L"stale description"));
  fw::ComPtr<IErrorInfo> info;
  ASSERT_EQ(info.queryFrom(stale.get(), IID_IErrorInfo), S_OK);
  SetErrorInfo(0, info.get());
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(txs::kCatThermoSystem);
  ASSERT_TRUE(catalogue);
  ASSERT_EQ(catalogue->roots().size(), 1u);
  const CatalogueEntry& systems = catalogue->roots()[0];

  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kEmptyPackageList))), std::vector<std::string>{kNoPackages});
  const CatalogueEntry* empty = child(systems, labelOf(txs::kEmptyPackageList));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->children[0].record, nullptr);
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kNoPackageList))), std::vector<std::string>{});
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kVariantPackageList))),
            (std::vector<std::string>{txs::kZooListedNames[0], txs::kZooListedNames[1]}));
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kNumberPackageList))), std::vector<std::string>{});
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kTwoDimPackageList))), std::vector<std::string>{});
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kFailingPackageList))), std::vector<std::string>{});
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kNoThermoSystem))),
            std::vector<std::string>{"Object does not support ICapeThermoSystem interface"});
  // A QueryInterface failure other than E_NOINTERFACE is shown as its composed text,
  // without the error information that another system left behind.
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kQIFails))), std::vector<std::string>{" ERROR: "});

  std::vector<std::string> faults(std::begin(txs::kFaultPackages), std::end(txs::kFaultPackages));
  EXPECT_EQ(childLabels(child(systems, labelOf(txs::kFaultySystem))), faults);

  const CatalogueEntry* variants = child(systems, labelOf(txs::kVariantPackageList));
  ASSERT_NE(variants, nullptr);
  ASSERT_EQ(variants->children.size(), 2u);
  EXPECT_EQ(variants->children[0].record->clsid, mt::guidText(txs::kVariantPackageList.clsid));
  EXPECT_EQ(variants->children[0].record->description, "Sound package of a fault zoo system");
  EXPECT_EQ(boxes.count(), 0u) << (boxes.count() ? boxes.boxes()[0].text : "");
}

TEST_F(CataloguePackagesTest, ANameWithBracketsLooksTheSystemUpByTheTextInside) {
  BoxCapture boxes;
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(txs::kCatThermoSystem);
  ASSERT_TRUE(catalogue);
  const CatalogueEntry* odd = child(catalogue->roots()[0], labelOf(txs::kBracketName));
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->label, "Bracket [TxSamples.ThermoSystem.1] System [TxSamples.Zoo.BracketName.1]");
  // The packages are those of the system named inside the brackets, under its CLSID.
  std::vector<std::string> expected;
  for (const txs::PackageData& data : txs::kSystemPackages) expected.push_back(data.name);
  EXPECT_EQ(childLabels(odd), expected);
  ASSERT_FALSE(odd->children.empty());
  EXPECT_EQ(odd->children[0].record->clsid, mt::guidText(txs::kThermoSystem.clsid));
}

TEST_F(CataloguePackagesTest, UnitOperationsAreListedWithTheirRegisteredValues) {
  BoxCapture boxes;
  std::unique_ptr<ComponentCatalogue> catalogue = ComponentCatalogue::build(txs::kCatUnitOperation);
  ASSERT_TRUE(catalogue);
  ASSERT_EQ(catalogue->roots().size(), 1u);
  const CatalogueEntry& units = catalogue->roots()[0];
  EXPECT_EQ(units.label, "Unit Operations");
  const CatalogueEntry* mixer = child(units, labelOf(txs::kMixer));
  ASSERT_NE(mixer, nullptr);
  EXPECT_EQ(mixer->record->clsid, mt::guidText(txs::kMixer.clsid));
  EXPECT_EQ(mixer->record->catid, mt::kUnitsCatid);
  EXPECT_EQ(mixer->record->componentVersion, txs::kMixer.values.componentVersion);
  EXPECT_TRUE(mixer->children.empty());
  const CatalogueEntry* bare = child(units, txs::kNoDescription.progId);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->record->name, txs::kNoDescription.progId);
  EXPECT_EQ(bare->record->description, "");
  const CatalogueEntry* longValues = child(units, labelOf(txs::kLongValues));
  ASSERT_NE(longValues, nullptr);
  EXPECT_EQ(longValues->record->description, std::string(txs::kLongDescription.text, 2047));
  EXPECT_EQ(longValues->record->helpURL, txs::kLongHelpURL.text);
  // Unit operations are not asked for packages: no server is created for the listing.
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
