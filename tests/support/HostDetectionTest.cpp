// Host detection for real: stand-in hosts of several names, with and without a version resource, load a
// copy of the DLL and report what TxUtils saw. Also the version reader on those programs.
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include "SupportFixtures.h"
#include "support/ModuleVersionInfo.h"

static std::string probe(const char* folder, const char* program = "tarnix.exe") {
  return tx::buildPath(std::string("tests/hosts/") + folder + "/" + program);
}

class HostDetectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ready()); }
  // Runs a probe: its exit code, its key=value lines, and the boxes' texts joined by " / " under "texts".
  std::map<std::string, std::string> run(const std::string& program) {
    std::string output = folder_.path("probe-result.txt");
    folder_.write("probe-result.txt", "");
    std::string command = "\"" + program + "\" probe \"" + folder_.path() + "\" \"" + output + "\"";
    std::map<std::string, std::string> values{{"exit", std::to_string(tx::runProcess(command))}};
    std::istringstream lines(tx::readFile(output));
    for (std::string key, value; std::getline(lines, key, '=') && std::getline(lines, value);) {
      std::string& slot = values[key == "box" ? "texts" : key];
      slot += (key == "box" && !slot.empty() ? " / " : "") + value;
    }
    return values;
  }
  ModuleFolder folder_;
};

TEST_F(HostDetectionTest, OnlyTarnixWithAVersionIsHostAndTheFirstQuestionReadsTheList) {
  const std::string kMissing = "getDLLversions:  ERROR: error getting DLL version for ";
  const std::string kFailed = "FInfoErr returned error ";
  const struct { const char *folder, *program, *host, *tarnix, *version; int list; std::string box; } rows[] = {
      // A full list, so that the only boxes are those of the host detection.
      {"tarnix_v51", "tarnix.exe", "1", "510", "5.1.0.0", 1763, ""},
      {"other_name", "hostprobe.exe", "0", "0", "", 1763, ""},
      {"tarnix_plain", "tarnix.exe", "0", "0", "", 1763, kMissing + "tarnix.exe" + kFailed},  // asked twice, shown once
      {"sketchr_plain", "sketchr.exe", "0", "0", "", 1763, kMissing + "sketchr.exe" + kFailed},
      // The list is read once, at the first question; a missing list does not hide the host.
      {"tarnix_v51", "tarnix.exe", "1", "510", "5.1.0.0", 0, " ERROR: Cannot open TxpCASnos.txt"},
      {"other_name", "hostprobe.exe", "0", "0", "", 100,
       "WARNING: only 101 compounds (1764 were expected) were read from file TxpCASnos.txt. "}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.folder + std::string(" with a list of ") + std::to_string(row.list));
    if (row.list) ASSERT_TRUE(folder_.write("TxpCASnos.txt", compoundLines(row.list)));
    else folder_.remove("TxpCASnos.txt");
    auto values = run(probe(row.folder, row.program));
    EXPECT_EQ("0", values["exit"]); EXPECT_EQ(row.host, values["host"]); EXPECT_EQ(row.host, values["second"]);
    EXPECT_EQ(row.tarnix, values["tarnix"]); EXPECT_EQ(row.version, values["version"]);
    EXPECT_EQ("0", values["sketch"]); EXPECT_EQ(row.box.empty() ? "0" : "1", values["boxes"]) << values["texts"];
    if (row.box.find(kFailed) == std::string::npos) { EXPECT_EQ(row.box, values["texts"]); continue; }
    ASSERT_EQ(0u, values["texts"].find(row.box)) << values["texts"];
    EXPECT_GT(atoi(values["texts"].c_str() + row.box.size()), 0) << "the system's error code of the failed read";
  }
}

TEST(ModuleVersionInfoTest, StringFieldsLastTranslationWinningAndFailures) {
  ModuleVersionInfo info(probe("tarnix_v51").c_str());
  const std::pair<const char*, const char*> fields[] = {{"FileVersion", "5.1"}, {"CompanyName", "Briskware test bench"},
      {"ProductName", "Host probe (second translation)"}, {"Comments", "second translation only"},
      {"LegalTrademarks", ""}, {"NoSuchKey", ""}};
  for (const auto& field : fields) EXPECT_EQ(field.second, info.value(field.first)) << field.first;
  EXPECT_EQ("040704B0", info.translation()); EXPECT_STREQ("CompanyName", ModuleVersionInfo::kKeyNames[0]);
  EXPECT_STREQ("SpecialBuild", ModuleVersionInfo::kKeyNames[11]); EXPECT_EQ("5.1", info.value(2));
  // A missing file or resource throws with the system's code.
  for (const std::string& path : {probe("tarnix_v51", "nosuchfile.exe"), probe("tarnix_plain")}) {
    DWORD code = 0;
    try { ModuleVersionInfo missing(path.c_str()); } catch (const FInfoErr& error) {
      code = error.error();
      EXPECT_STREQ(std::exception().what(), error.what());
    }
    EXPECT_NE(0u, code) << path;
    EXPECT_TRUE(path.find("nosuchfile") == std::string::npos || code == ERROR_FILE_NOT_FOUND) << code;
  }
}

using DllVersionTest = ModuleTest;

TEST_F(DllVersionTest, SplitAtCommasOrReportTheMissingModule) {
  BoxCapture boxes;
  int numbers[4] = {-1, -1, -1, -1};
  // The product's own FileVersion is "1, 0, 0, 1".
  EXPECT_TRUE(getDLLversions(&numbers[0], &numbers[1], &numbers[2], &numbers[3], nullptr));
  EXPECT_EQ((std::vector<int>{1, 0, 0, 1}), std::vector<int>(numbers, numbers + 4)); EXPECT_EQ(0u, boxes.count());
  EXPECT_FALSE(getDLLversions(&numbers[0], &numbers[1], &numbers[2], &numbers[3], "txnotloaded.dll"));
  EXPECT_EQ(0, numbers[0]); EXPECT_TRUE(boxes.anyContains("Error getting the dll path for txnotloaded.dll"));
  EXPECT_TRUE(boxes.anyContains(
      "getDLLversions:  ERROR: error getting DLL version for txnotloaded.dllFInfoErr returned error "));
}
