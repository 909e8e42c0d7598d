// The interface probe without a window: the twenty lines of a created component, and the
// messages of a component that cannot be created.
#include <gtest/gtest.h>
#include <set>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "diagnostics/InterfaceProbe.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

const std::vector<std::string> kTableOrder = {
    "IUnknown",
    "IDispatch",
    "ICapeIdentification",
    "ICapeParameterSpec",
    "ICapeRealParameterSpec",
    "ICapeIntegerParameterSpec",
    "ICapeOptionSpec",
    "ICapeParameter",
    "ICapeThermoReliability",
    "ICapeThermoMaterialTemplate",
    "ICapeThermoMaterialObject",
    "ICapeThermoCalculationRoutine",
    "ICapeThermoSystem",
    "ICapeThermoPropertyPackage",
    "ICapeThermoEquilibriumServer",
    "ICapeUnit",
    "ICapeUnitEdit",
    "ICapeUnitPort",
    "ICapeUnitCollection",
    "ICapeUnitReport",
};

// The lines of a component that offers exactly 'offered' of the table.
std::vector<std::string> linesFor(const std::set<std::string>& offered) {
  std::vector<std::string> lines;
  for (const std::string& name : kTableOrder)
    lines.push_back("QI( " + name + (offered.count(name) ? " ) succeeded" : " ) failed"));
  return lines;
}

class ProbeTest : public tx::ComTest {};

TEST_F(ProbeTest, ASampleGetsTwentyLinesInTableOrder) {
  BoxCapture boxes;
  ProbeResult mixer = probeComponent(txs::kMixer.progId);
  EXPECT_EQ(mixer.creation, S_OK);
  // The sample unit offers the 1.0 unit interface of the 0100 group, not the probe's.
  EXPECT_EQ(mixer.lines, linesFor({"IUnknown", "IDispatch", "ICapeIdentification"}));
  EXPECT_TRUE(mixer.messages.empty());

  ProbeResult system = probeComponent(txs::kThermoSystem.progId);
  EXPECT_EQ(system.lines, linesFor({"IUnknown", "IDispatch", "ICapeIdentification", "ICapeThermoSystem"}));
  ProbeResult dispatchOnly = probeComponent(txs::kUnit093.progId);
  EXPECT_EQ(dispatchOnly.lines, linesFor({"IUnknown", "IDispatch"}));
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ProbeTest, EveryFailureOtherThanNoInterfaceCountsAsSucceeded) {
  BoxCapture boxes;
  ProbeResult result = probeComponent(txs::kQIFails.progId);
  EXPECT_EQ(result.creation, S_OK);
  std::set<std::string> all(kTableOrder.begin(), kTableOrder.end());
  EXPECT_EQ(result.lines, linesFor(all));
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ProbeTest, AComponentThatCannotBeCreatedGetsNoLinesAndItsMessages) {
  BoxCapture boxes;
  ProbeResult unknown = probeComponent("TxTest.NotRegistered.1");
  EXPECT_EQ(unknown.creation, REGDB_E_CLASSNOTREG);
  EXPECT_TRUE(unknown.lines.empty());
  EXPECT_EQ(unknown.messages,
            std::vector<std::string>{"The object TxTest.NotRegistered.1 is not registered in the registration database."});
  // The shared creation diagnostic has spoken first.
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_NE(boxes.boxes()[0].text.find("Error creating interface"), std::string::npos) << boxes.boxes()[0].text;

  boxes.clear();
  ProbeResult noServer = probeComponent(txs::kNoServer.progId);
  EXPECT_EQ(noServer.creation, REGDB_E_CLASSNOTREG);
  EXPECT_TRUE(noServer.lines.empty());
  EXPECT_EQ(noServer.messages, std::vector<std::string>{std::string("The object ") + txs::kNoServer.progId +
                                                        " is not registered in the registration database."});
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_NE(boxes.boxes()[0].text.find(std::string("for class '") + txs::kNoServer.progId + "'"), std::string::npos)
      << boxes.boxes()[0].text;
}

TEST_F(ProbeTest, OtherCreationFailuresAreUnexpected) {
  BoxCapture boxes;
  mt::useProductModule();
  mt::RegisteredClass broken("TxTest.RefusingServer.1", {}, {});
  broken.setInprocServer(tx::buildPath("manager-helpers/tx_refusing_server.dll"));
  ProbeResult result = probeComponent("TxTest.RefusingServer.1");
  EXPECT_EQ(result.creation, E_OUTOFMEMORY);
  EXPECT_TRUE(result.lines.empty());
  EXPECT_EQ(result.messages, std::vector<std::string>{"Unexpected error while instantiating TxTest.RefusingServer.1"});
  EXPECT_EQ(boxes.count(), 1u);
}

}  // namespace
