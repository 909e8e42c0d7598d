// The maker's own property system, told by its parent ProgID: Custom View is not asked of
// it, and the VLL flash request is offered only inside the host simulator (tarnix.exe).
#include <gtest/gtest.h>
#include <algorithm>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/COTHConfigIds.h"
#include "ppdialog/DialogDriver.h"
#include "samples/common/SampleHooks.h"
#include "support/CTxBSTR.h"

using namespace ppt;

namespace {

const char kPackage[] = "Maker Package";

// Property systems registered for these tests only (no server: only looked up).
struct FakeSystem {
  const char* progId;
  const char* clsid;
};
const FakeSystem kBriskSystem = {"Brisk.TestProperties.1", "{5B0C1E62-8E1D-4C1E-9F2A-3D7B8E51A001}"};
const FakeSystem kOwnSystem = {"Tx.bwcoproperties.Test", "{5B0C1E62-8E1D-4C1E-9F2A-3D7B8E51A002}"};

void setValue(const std::string& key, const char* name, const std::string& value) {
  fw::UniqueHKey handle;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                           handle.put(), nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>(value.size() + 1)));
}

void registerSystem(const FakeSystem& system) {
  std::string clsidKey = std::string("CLSID\\") + system.clsid;
  setValue(std::string(system.progId) + "\\CLSID", nullptr, system.clsid);
  setValue(clsidKey + "\\ProgID", nullptr, system.progId);
  setValue(clsidKey + "\\CapeDescription", "Name", std::string(system.progId) + " system");
  setValue(clsidKey + "\\PropertyPackages\\" + kPackage + "\\CapeDescription", "Name", kPackage);
}

void unregisterSystem(const FakeSystem& system) {
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, system.progId);
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + system.clsid);
}

class MakerSystem : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    registerSystem(kBriskSystem);
    registerSystem(kOwnSystem);
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }
  void TearDown() override {
    object.reset();
    unregisterSystem(kBriskSystem);
    unregisterSystem(kOwnSystem);
  }
  // Names the package of 'parent' as a restored case does.
  void choose(const char* parent) {
    ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(kPackage), CTxBSTR(parent)));
    BSTR chosen = nullptr;
    ASSERT_EQ(S_OK, object->GetParentProgID(&chosen));
    ASSERT_EQ(parent, tx::bstrText(chosen));
    SysFreeString(chosen);
  }
  fw::ComPtr<ICCAPEGUI> object;
};

// Runs the stand-in host simulator; its result lines.
std::vector<std::string> runTarnix(const char* parent, int run) {
  std::string result = tx::buildPath("tests/ppdialog-host/result" + std::to_string(run) + ".txt");
  DeleteFileA(result.c_str());
  std::string command =
      "\"" + tx::buildPath("tests/ppdialog-host/tarnix.exe") + "\" \"" + parent + "\" \"" + result + "\"";
  EXPECT_EQ(0, tx::runProcess(command, 60000)) << command;
  std::vector<std::string> lines;
  std::string content = tx::readFile(result), line;
  for (char c : content) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(MakerSystemName, BriskOrOwnSystemAnywhereIgnoringCase) {
  for (const wchar_t* yes : {L"Brisk.Properties.1", L"brisk.x", L"Tx.bwcoproperties.Test", L"BWCOProperties",
                             L"xxBRISKxx", L"A.BwCoPrOpErTiEs"})
    EXPECT_TRUE(CCOTHConfig::isMakerSystem(CTxBSTR(yes))) << tx::narrow(yes);
  for (const wchar_t* no : {L"", L"TxSamples.ThermoSystem.1", L"Bris.k", L"BWCOPropertie", L"BW CO Properties"})
    EXPECT_FALSE(CCOTHConfig::isMakerSystem(CTxBSTR(no))) << tx::narrow(no);
  EXPECT_FALSE(CCOTHConfig::isMakerSystem(nullptr));
}

TEST_F(MakerSystem, OutsideTheSimulatorTheVllRequestStaysHiddenButKept) {
  for (const FakeSystem* system : {&kBriskSystem, &kOwnSystem}) {
    SCOPED_TRACE(system->progId);
    choose(system->progId);
    ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_TRUE));
    BoxCapture capture;
    DialogDriver driver(capture);
    std::set<int> properties;
    driver.then([&](HWND d) { selectPage(d, 2); properties = visiblePageControls(d); }).then(pressOk);
    ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
    EXPECT_EQ(propertiesControls(false), properties);
    VARIANT_BOOL liquid2 = 0;
    ASSERT_EQ(S_OK, object->get_requestLiquid2(&liquid2));
    EXPECT_EQ(VARIANT_TRUE, liquid2);  // OK read the hidden check box back unchanged
    EXPECT_FALSE(capture.anyContains("Custom View"));
  }
}

TEST_F(MakerSystem, CustomViewIsNotAskedOfTheMakersSystem) {
  fw::ComPtr<IDispatch> package;
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kPropertyPackage.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(package.put())));
  choose(kBriskSystem.progId);
  BoxCapture capture;
  ASSERT_EQ(S_OK, object->setComponent(package.get()));
  txs::clearSampleCallLog(txs::kThermoDll);
  capture.clear();
  DialogDriver driver(capture);
  driver.then([](HWND d) { clickButton(d, IDC_CUSTOM_VIEW); }).then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  ASSERT_EQ(1u, capture.count());
  EXPECT_EQ(" ERROR: The component does not provide a Custom View.", capture.boxes()[0].text);
  EXPECT_TRUE(txs::sampleCallLog(txs::kThermoDll).empty());
  EXPECT_TRUE(driver.otherDialogs().empty());
  EXPECT_EQ(S_OK, object->releaseComponents());
}

TEST_F(MakerSystem, InsideTheSimulatorTheVllRequestIsOfferedToTheMakersSystemOnly) {
  std::vector<std::string> brisk = runTarnix(kBriskSystem.progId, 1);
  EXPECT_TRUE(has(brisk, std::string("parent=") + kBriskSystem.progId));
  EXPECT_TRUE(has(brisk, "dialogs=1"));
  EXPECT_TRUE(has(brisk, "vll=1"));
  EXPECT_TRUE(has(brisk, "vllChecked=1"));

  std::vector<std::string> own = runTarnix(kOwnSystem.progId, 2);
  EXPECT_TRUE(has(own, "dialogs=1"));
  EXPECT_TRUE(has(own, "vll=1"));

  std::vector<std::string> other = runTarnix("TxSamples.ThermoSystem.1", 3);
  EXPECT_TRUE(has(other, "parent=TxSamples.ThermoSystem.1"));
  EXPECT_TRUE(has(other, "dialogs=1"));
  EXPECT_TRUE(has(other, "vll=0"));
}
