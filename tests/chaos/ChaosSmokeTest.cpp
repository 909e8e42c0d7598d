// The chaos driver (tools/chaos) in the suite: a few dozen road seeds and registry
// populations through the real DLL, and every seed that ever failed (scripts/soak.sh --smoke
// runs the large smoke). A crash, hang, leak or corrupted case file fails the case with the
// driver's lines, which name the seed.
#include <gtest/gtest.h>
#include <string>
#include "common/TestSupport.h"

namespace {

struct SmokeCase {
  const char* name;
  const char* arguments;
};

const SmokeCase kCases[] = {
    {"RoadSeeds", "--road 30 --from 100000"},
    // The first population also opens the Component Manager and runs cohost check.
    {"RegistryPopulations", "--registry 10 --from 100000 --full-every 10"},
    // Every seed that once failed, one line each in regressions.seeds.
    {"RegressionSeeds", "--seeds"},
};

void PrintTo(const SmokeCase& smoke, std::ostream* out) { *out << smoke.arguments; }

class ChaosSmoke : public ::testing::TestWithParam<SmokeCase> {};

TEST_P(ChaosSmoke, NothingCrashesHangsOrLeaks) {
  std::string folder = tx::makeTempFolder("chaos");
  std::string failures = folder + "\\failures.txt";
  std::string command = "\"" + tx::buildPath("tools/chaos.exe") + "\" --register --limit 60 --failures \"" +
                        failures + "\" " + GetParam().arguments;
  if (std::string(GetParam().arguments) == "--seeds") command += " \"" + tx::sourcePath("tests/chaos/regressions.seeds") + "\"";
  int exitCode = tx::runProcess(command, 540000);
  EXPECT_EQ(0, exitCode) << "chaos " << GetParam().arguments << ":\n" << tx::readFile(failures);
  tx::removeTree(folder);
}

INSTANTIATE_TEST_SUITE_P(Chaos, ChaosSmoke, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SmokeCase>& info) { return std::string(info.param.name); });

}  // namespace
