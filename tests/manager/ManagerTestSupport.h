// What the Component Manager's tests share: its captions, the category CATIDs, the
// product's module (resources, trace file, settings file) and a fixture.
#pragma once
#include "common/BoxCapture.h"
#include "common/DialogDriver.h"
#include "common/ScratchClass.h"
#include "common/TestSupport.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "samples/common/SampleIds.h"
#include "support/MTUtils.h"

namespace mt {

inline constexpr char kManagerCaption[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
inline constexpr char kQuestionCaption[] = "CAPE-OPEN Component Manager";
inline constexpr char kSystemsCatid[] = "{678c09a3-7d66-11d2-a67d-00105a42887f}";
inline constexpr char kPackagesCatid[] = "{678c09a4-7d66-11D2-a67d-00105a42887f}";
inline constexpr char kUnitsCatid[] = "{678c09a5-7d66-11D2-a67d-00105a42887f}";
// Categories that no sample uses: entries written by tests go there, so that other
// programs listing the samples' categories meanwhile never see them.
inline constexpr char kReactionSystemsCatid[] = "{678c09aa-7d66-11D2-a67d-00105a42887f}";
inline constexpr char kReactionRoutinesCatid[] = "{678c09ab-7d66-11D2-a67d-00105a42887f}";
inline constexpr long kReactionSystems = 128, kReactionRoutines = 256;

// True when 'trace' holds a line whose message is exactly 'message'.
inline bool traceHasLine(const std::string& trace, const std::string& message) {
  std::string tag = ": TxCOGUI: " + message;
  for (size_t at = trace.find(tag); at != std::string::npos; at = trace.find(tag, at + 1)) {
    size_t end = at + tag.size();
    if (end == trace.size() || trace[end] == '\r' || trace[end] == '\n') return true;
  }
  return false;
}

// A sample's tree label: its registered name (else its ProgID), and its ProgID in brackets.
inline std::string labelOf(const txs::ClassInfo& info) {
  return std::string(info.values.name ? info.values.name : info.progId) + " [" + info.progId + "]";
}

// COM, boxes captured, and the product's module "TxCOGUI" in its DLL's folder (trace, .ini).
class ManagerTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    MTUtils::setModuleName("TxCOGUI");
    static HMODULE product = LoadLibraryA(tx::productDll().c_str());
    ASSERT_NE(product, nullptr) << tx::productDll();
  }
  BoxCapture boxes;
};

}  // namespace mt
