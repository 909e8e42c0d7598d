// Version numbers read from registered "CapeVersion" texts, and what each version means.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "component/CapeVersion.h"
#include "external/CapeOpen.h"

using namespace CapeVersion;

TEST(CapeVersionTest, RegisteredTextsGiveTheirVersion) {
  const struct { const char* text; long version; } cases[] = {{"", 100}, {"0.9", 90}, {"0.93 beta", 93}, {"1", 100},
      {"1.00", 100}, {"1.1.0", 110}, {"2.0", 100}, {" 1.0", 100}, {"x9y3", 93}, {"0.93", 93}, {"1.1", 110},
      {"0.9   ", 90}, {"x9", 90}, {"1.0 final", 100}, {"v0.9x", 90}};
  for (const auto& c : cases) EXPECT_EQ(c.version, parseCOVersion(c.text)) << "\"" << c.text << "\"";
}

TEST(CapeVersionTest, TextsOfVersions) {
  const std::pair<long, const char*> texts[] = {{0, "none"}, {90, "0.9"}, {93, "0.93"}, {100, "1.0"}, {110, "1.1"},
                                                {1000, "not supported"}, {120, "1.200000"}};
  for (const auto& t : texts) EXPECT_STREQ(t.second, static_cast<const char*>(versionText(t.first))) << t.first;
}

TEST(CapeVersionTest, SupportDependsOnVersionAndCategory) {
  const struct { long version, category; bool supported; } cases[] = {{90, catf_UnitOperation, false},
      {90, catf_ThermoSystem, true}, {93, catf_UnitOperation, true}, {100, catf_UnitOperation, true},
      {0, catf_ThermoSystem, false}, {110, catf_PropertyPackage, false}, {1000, catf_ThermoSystem, false}};
  for (const auto& c : cases) EXPECT_EQ(c.supported, isVersionSupported(c.version, c.category)) << c.version;
}

TEST(CapeVersionTest, InterfaceExpectedOfACategoryComparesWholeValues) {
  // Filter 12 holds the package bit but is not the package category.
  const struct { long category, version; const IID* iid; } cases[] = {{catf_ThermoSystem, 93, &IID_ICapeThermoSystem},
      {catf_PropertyPackage, 0, &IID_ICapeThermoPropertyPackage}, {catf_UnitOperation, 100, &IID_ICapeUnit},
      {catf_UnitOperation, 93, &IID_IDispatch}, {catf_ThermoSystem | catf_PropertyPackage, 100, &IID_IDispatch},
      {catf_All, 100, &IID_IDispatch}};
  for (const auto& c : cases) EXPECT_TRUE(IsEqualIID(*c.iid, iidFor(c.category, c.version))) << c.category;
}
