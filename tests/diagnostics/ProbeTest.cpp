// The interface probe without a window: the twenty lines of a created component in table
// order, and the messages of a component that cannot be created.
#include <gtest/gtest.h>
#include <set>
#include "common/BoxCapture.h"
#include "common/ScratchClass.h"
#include "common/TestSupport.h"
#include "diagnostics/InterfaceProbe.h"
#include "samples/common/SampleIds.h"

namespace {

const char* const kTableOrder[] = {
    "IUnknown", "IDispatch", "ICapeIdentification", "ICapeParameterSpec", "ICapeRealParameterSpec",
    "ICapeIntegerParameterSpec", "ICapeOptionSpec", "ICapeParameter", "ICapeThermoReliability",
    "ICapeThermoMaterialTemplate", "ICapeThermoMaterialObject", "ICapeThermoCalculationRoutine", "ICapeThermoSystem",
    "ICapeThermoPropertyPackage", "ICapeThermoEquilibriumServer", "ICapeUnit", "ICapeUnitEdit", "ICapeUnitPort",
    "ICapeUnitCollection", "ICapeUnitReport"};

class ProbeTest : public tx::ComTest {};

TEST_F(ProbeTest, CreatedComponentsGetTwentyLinesOthersTheirMessages) {
  // A server that is found but refuses to make its object.
  tx::RegisteredClass refusing("TxTest.RefusingServer.1", {}, {});
  refusing.setInprocServer(tx::buildPath("manager-helpers/tx_refusing_server.dll"));
  const std::string notRegistered = " is not registered in the registration database.";
  const std::string noServer = txs::kNoServer.progId;
  struct Row {
    std::string progId;
    HRESULT creation;
    std::set<std::string> offered;  // "*": all, since only E_NOINTERFACE says that an interface is absent
    std::string message, box;       // the probe's message; text in the creation diagnostic's box
  } rows[] = {
      // The sample unit offers the 1.0 unit interface of the 0100 group, not the probe's.
      {txs::kMixer.progId, S_OK, {"IUnknown", "IDispatch", "ICapeIdentification"}, "", ""},
      {txs::kThermoSystem.progId, S_OK, {"IUnknown", "IDispatch", "ICapeIdentification", "ICapeThermoSystem"}, "", ""},
      {txs::kUnit093.progId, S_OK, {"IUnknown", "IDispatch"}, "", ""},
      {txs::kQIFails.progId, S_OK, {"*"}, "", ""},
      {txs::kNullQI.progId, S_OK, {"IUnknown"}, "", ""},  // success without a pointer: not there
      {"TxTest.NotRegistered.1", REGDB_E_CLASSNOTREG, {}, "The object TxTest.NotRegistered.1" + notRegistered,
       "Error creating interface"},
      {noServer, REGDB_E_CLASSNOTREG, {}, "The object " + noServer + notRegistered, "for class '" + noServer + "'"},
      {"TxTest.RefusingServer.1", E_OUTOFMEMORY, {}, "Unexpected error while instantiating TxTest.RefusingServer.1",
       "Error creating interface"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.progId);
    BoxCapture boxes;
    ProbeResult result = probeComponent(row.progId);
    EXPECT_EQ(result.creation, row.creation);
    std::vector<std::string> lines;
    for (const char* name : kTableOrder)
      if (row.creation == S_OK)
        lines.push_back(std::string("QI( ") + name +
                        (row.offered.count(name) || row.offered.count("*") ? " ) succeeded" : " ) failed"));
    EXPECT_EQ(result.lines, lines);
    EXPECT_EQ(result.messages, std::vector<std::string>(!row.message.empty(), row.message));
    // A creation failure has been shown by the shared creation diagnostic too.
    EXPECT_EQ(boxes.count(), row.creation == S_OK ? 0u : 1u);
    if (!row.box.empty() && boxes.count()) {
      EXPECT_NE(boxes.boxes()[0].text.find(row.box), std::string::npos) << boxes.boxes()[0].text;
    }
  }
}

}  // namespace
