// Version numbers read from registered "CapeVersion" texts, and what each version means.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "component/CapeVersion.h"
#include "external/CapeOpen.h"

using namespace CapeVersion;

TEST(CapeVersionTest, RegisteredTextsGiveTheirVersion) {
  struct Case { const char* text; long version; };
  const Case cases[] = {
      {"", 100},         {"0.9", 90},       {"0.93 beta", 93}, {"1", 100},       {"1.00", 100},
      {"1.1.0", 110},    {"2.0", 100},      {" 1.0", 100},     {"x9y3", 93},     {"0.93", 93},
      {"1.1", 110},      {"0.9   ", 90},    {"x9", 90},        {"1.0 final", 100}, {"v0.9x", 90},
  };
  for (const Case& c : cases) EXPECT_EQ(c.version, parseCOVersion(c.text)) << "\"" << c.text << "\"";
}

TEST(CapeVersionTest, TextsOfVersions) {
  const std::pair<long, const char*> texts[] = {{0, "none"}, {90, "0.9"}, {93, "0.93"}, {100, "1.0"}, {110, "1.1"},
                                                {1000, "not supported"}, {120, "1.200000"}};
  for (const auto& t : texts) EXPECT_STREQ(t.second, static_cast<const char*>(versionText(t.first))) << t.first;
}

TEST(CapeVersionTest, SupportDependsOnVersionAndCategory) {
  EXPECT_FALSE(isVersionSupported(90, catf_UnitOperation));
  EXPECT_TRUE(isVersionSupported(90, catf_ThermoSystem));
  EXPECT_TRUE(isVersionSupported(93, catf_UnitOperation));
  EXPECT_TRUE(isVersionSupported(100, catf_UnitOperation));
  EXPECT_FALSE(isVersionSupported(0, catf_ThermoSystem));
  EXPECT_FALSE(isVersionSupported(110, catf_PropertyPackage));
  EXPECT_FALSE(isVersionSupported(1000, catf_ThermoSystem));
}

TEST(CapeVersionTest, InterfaceExpectedOfACategoryComparesWholeValues) {
  EXPECT_TRUE(IsEqualIID(IID_ICapeThermoSystem, iidFor(catf_ThermoSystem, 93)));
  EXPECT_TRUE(IsEqualIID(IID_ICapeThermoPropertyPackage, iidFor(catf_PropertyPackage, 0)));
  EXPECT_TRUE(IsEqualIID(IID_ICapeUnit, iidFor(catf_UnitOperation, 100)));
  EXPECT_TRUE(IsEqualIID(IID_IDispatch, iidFor(catf_UnitOperation, 93)));
  // Filter 12 holds the package bit but is not the package category.
  EXPECT_TRUE(IsEqualIID(IID_IDispatch, iidFor(catf_ThermoSystem | catf_PropertyPackage, 100)));
  EXPECT_TRUE(IsEqualIID(IID_IDispatch, iidFor(catf_All, 100)));
}
