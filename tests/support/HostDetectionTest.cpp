// Host detection for real: stand-in programs named tarnix.exe (with and without a version
// resource), sketchr.exe and another name load a copy of the product DLL and report what
// TxUtils saw. Also the version reader on those programs.
#include <gtest/gtest.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "SupportFixtures.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "support/ModuleVersionInfo.h"

namespace {

std::string probe(const char* folder, const char* program) {
  return tx::buildPath(std::string("tests/hosts/") + folder + "/" + program);
}

// What one probe run saw: its key=value lines, and the boxes in order.
struct ProbeResult {
  int exitCode = -1;
  std::map<std::string, std::string> values;
  std::vector<std::string> boxes;
};

class HostDetectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ready());
    // A full list, so that the only boxes are those of the host detection.
    ASSERT_TRUE(folder_.write("TxpCASnos.txt", compoundLines(1763)));
  }

  ProbeResult run(const std::string& program) {
    ProbeResult result;
    std::string output = folder_.path("probe-result.txt");
    folder_.write("probe-result.txt", "");
    result.exitCode = tx::runProcess("\"" + program + "\" probe \"" + folder_.dllPath() + "\" \"" + output + "\"");
    std::string text = tx::readFile(output);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      size_t equals = line.find('=');
      if (equals != std::string::npos) {
        std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "box")
          result.boxes.push_back(value);
        else
          result.values[key] = value;
      }
      start = end + 1;
    }
    return result;
  }

  ModuleFolder folder_;
};

TEST_F(HostDetectionTest, TarnixWithVersionFiveOneIsHostOfVersion510) {
  ProbeResult result = run(probe("tarnix_v51", "tarnix.exe"));
  ASSERT_EQ(0, result.exitCode);
  EXPECT_EQ("1", result.values["host"]);
  EXPECT_EQ("1", result.values["second"]);
  EXPECT_EQ("510", result.values["tarnix"]);
  EXPECT_EQ("0", result.values["sketch"]);
  EXPECT_EQ("5.1.0.0", result.values["version"]);
  EXPECT_EQ("0", result.values["boxes"]) << (result.boxes.empty() ? "" : result.boxes[0]);
}

TEST_F(HostDetectionTest, ProgramOfAnotherNameIsNoHostAndShowsNothing) {
  ProbeResult result = run(probe("other_name", "hostprobe.exe"));
  ASSERT_EQ(0, result.exitCode);
  EXPECT_EQ("0", result.values["host"]);
  EXPECT_EQ("0", result.values["tarnix"]);
  EXPECT_EQ("0", result.values["boxes"]) << (result.boxes.empty() ? "" : result.boxes[0]);
}

TEST_F(HostDetectionTest, TarnixWithoutVersionResourceIsReportedOnce) {
  ProbeResult result = run(probe("tarnix_plain", "tarnix.exe"));
  ASSERT_EQ(0, result.exitCode);
  EXPECT_EQ("0", result.values["host"]);
  EXPECT_EQ("0", result.values["second"]);
  EXPECT_EQ("0", result.values["tarnix"]);
  ASSERT_EQ(1u, result.boxes.size()) << "asked twice, reported once";
  const std::string prefix = "getDLLversions:  ERROR: error getting DLL version for tarnix.exeFInfoErr returned error ";
  EXPECT_EQ(0u, result.boxes[0].find(prefix)) << result.boxes[0];
  int code = atoi(result.boxes[0].c_str() + prefix.size());
  EXPECT_GT(code, 0) << "the system's error code of the failed read";
}

TEST_F(HostDetectionTest, SketchrWithoutVersionResourceIsReportedButIsNoTarnixHost) {
  ProbeResult result = run(probe("sketchr_plain", "sketchr.exe"));
  ASSERT_EQ(0, result.exitCode);
  EXPECT_EQ("0", result.values["host"]);
  EXPECT_EQ("0", result.values["sketch"]);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_NE(std::string::npos,
            result.boxes[0].find("error getting DLL version for sketchr.exeFInfoErr returned error "));
}

TEST_F(HostDetectionTest, FirstQuestionReadsTheCompoundListOnce) {
  folder_.remove("TxpCASnos.txt");
  ProbeResult result = run(probe("tarnix_v51", "tarnix.exe"));
  ASSERT_EQ(0, result.exitCode);
  EXPECT_EQ("510", result.values["tarnix"]) << "a missing list does not hide the host";
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_NE(std::string::npos, result.boxes[0].find("Cannot open TxpCASnos.txt")) << result.boxes[0];

  ASSERT_TRUE(folder_.write("TxpCASnos.txt", compoundLines(100)));
  result = run(probe("other_name", "hostprobe.exe"));
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ("WARNING: only 101 compounds (1764 were expected) were read from file TxpCASnos.txt. ", result.boxes[0]);
}

TEST(ModuleVersionInfoTest, ReadsTheStringFieldsLastTranslationWinning) {
  ModuleVersionInfo info(probe("tarnix_v51", "tarnix.exe").c_str());
  EXPECT_EQ("5.1", info.value("FileVersion"));
  EXPECT_EQ("Briskware test bench", info.value("CompanyName"));
  EXPECT_EQ("Host probe (second translation)", info.value("ProductName"));
  EXPECT_EQ("second translation only", info.value("Comments"));
  EXPECT_EQ("", info.value("LegalTrademarks"));
  EXPECT_EQ("", info.value("NoSuchKey"));
  EXPECT_EQ("040704B0", info.translation());
  EXPECT_STREQ("CompanyName", ModuleVersionInfo::kKeyNames[0]);
  EXPECT_STREQ("SpecialBuild", ModuleVersionInfo::kKeyNames[11]);
  EXPECT_EQ("5.1", info.value(2));
}

TEST(ModuleVersionInfoTest, MissingFileOrResourceThrowsWithTheSystemCode) {
  try {
    ModuleVersionInfo info(probe("tarnix_v51", "nosuchfile.exe").c_str());
    ADD_FAILURE() << "no exception";
  } catch (const FInfoErr& error) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error.error());
  }
  try {
    ModuleVersionInfo info(probe("tarnix_plain", "tarnix.exe").c_str());
    ADD_FAILURE() << "no exception";
  } catch (const FInfoErr& error) {
    EXPECT_NE(0u, error.error());
    EXPECT_STREQ(std::exception().what(), error.what());
  }
}

TEST(ModuleVersionInfoTest, DllVersionsSplitAtCommasOrReportTheMissingModule) {
  ModuleFolder folder;
  ASSERT_TRUE(folder.ready());
  ASSERT_TRUE(folder.load());
  BoxCapture boxes;
  int numbers[4] = {-1, -1, -1, -1};
  // The product's own FileVersion is "1, 0, 0, 1".
  EXPECT_TRUE(getDLLversions(&numbers[0], &numbers[1], &numbers[2], &numbers[3], nullptr));
  EXPECT_EQ(1, numbers[0]);
  EXPECT_EQ(0, numbers[1]);
  EXPECT_EQ(0, numbers[2]);
  EXPECT_EQ(1, numbers[3]);
  EXPECT_EQ(0u, boxes.count());

  EXPECT_FALSE(getDLLversions(&numbers[0], &numbers[1], &numbers[2], &numbers[3], "txnotloaded.dll"));
  EXPECT_EQ(0, numbers[0]);
  EXPECT_TRUE(boxes.anyContains("Error getting the dll path for txnotloaded.dll"));
  EXPECT_TRUE(boxes.anyContains(
      "getDLLversions:  ERROR: error getting DLL version for txnotloaded.dllFInfoErr returned error "));
}

}  // namespace
