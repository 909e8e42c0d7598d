// The maker's own property system, told by its parent ProgID: Custom View is not asked of
// it, and the VLL flash request is offered only inside the host simulator (tarnix.exe).
#include <algorithm>
#include "common/ScratchClass.h"
#include "ppdialog/CCOTHConfig.h"
#include "ppdialog/PackageDialog.h"
#include "samples/common/SampleHooks.h"

using namespace ppt;

namespace {

const char kPackage[] = "Maker Package";

// Runs the stand-in host simulator on the package of 'parent'; its result, a line each.
std::string runTarnix(const std::string& parent) {
  std::string folder = tx::buildPath("tests/hosts/tarnix_v51/"), result = folder + "dialog.txt";
  DeleteFileA(result.c_str());
  EXPECT_EQ(0, tx::runProcess("\"" + folder + "tarnix.exe\" dialog \"" + parent + "\" \"" + result + "\"", 60000));
  std::string text = "\n" + tx::readFile(result);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

class MakerSystem : public ProductTest {};

}  // namespace

TEST(MakerSystemName, BriskOrOwnSystemAnywhereIgnoringCase) {
  for (const wchar_t* yes : {L"Brisk.Properties.1", L"brisk.x", L"Tx.bwcoproperties.Test", L"BWCOProperties",
                             L"xxBRISKxx", L"A.BwCoPrOpErTiEs"})
    EXPECT_TRUE(CCOTHConfig::isMakerSystem(CTxBSTR(yes))) << tx::narrow(yes);
  for (const wchar_t* no : {L"", L"TxSamples.ThermoSystem.1", L"Bris.k", L"BWCOPropertie", L"BW CO Properties"})
    EXPECT_FALSE(CCOTHConfig::isMakerSystem(CTxBSTR(no))) << tx::narrow(no);
  EXPECT_FALSE(CCOTHConfig::isMakerSystem(nullptr));
}

TEST_F(MakerSystem, InsideOrOutsideTheSimulatorForTheMakersOrAnotherSystem) {
  // Property systems registered for this test only (no server: only looked up).
  tx::RegisteredClass brisk("Brisk.TestProperties.1", {}, {{"Name", "Brisk.TestProperties.1 system"}});
  tx::RegisteredClass own("Tx.bwcoproperties.Test", {}, {{"Name", "Tx.bwcoproperties.Test system"}});
  brisk.addPackage(kPackage, {{"Name", kPackage}});
  own.addPackage(kPackage, {{"Name", kPackage}});
  fw::ComPtr<IDispatch> package;
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kPropertyPackage.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(package.put())));
  for (const std::string& parent : Texts{brisk.progId(), own.progId(), std::string(txs::kThermoSystem.progId)}) {
    SCOPED_TRACE(parent);
    const bool maker = parent != txs::kThermoSystem.progId;
    // Inside: the VLL request is offered to the maker's system, checked as it was set.
    std::string lines = runTarnix(parent);
    EXPECT_NE(std::string::npos, lines.find("\nvllChecked=1\n"));
    for (std::string line : {"parent=" + parent, std::string("dialogs=1"), "vll=" + std::to_string(maker)})
      EXPECT_NE(std::string::npos, lines.find("\n" + line + "\n")) << lines;

    // Outside: hidden, and OK reads the hidden check box back unchanged. Custom View asks
    // the package for its view unless the system is the maker's.
    ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(kPackage), CTxBSTR(parent.c_str())));
    BSTR chosen = nullptr;
    ASSERT_EQ(S_OK, object->GetParentProgID(&chosen));
    EXPECT_EQ(parent, tx::bstrText(chosen));
    SysFreeString(chosen);
    ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_TRUE));
    BoxCapture capture;
    ASSERT_EQ(S_OK, object->setComponent(package.get()));
    txs::clearSampleCallLog(txs::kThermoDll);
    capture.clear();
    bool vll = true;
    Texts others, boxes;
    auto view = [&](HWND d) { tx::clickButton(d, IDC_CUSTOM_VIEW), boxes = capture.texts(); };
    auto properties = [&](HWND d) {
      tx::selectTab(d, IDC_PP_TABS, 2);
      vll = tx::visibleControls(d).count(IDC_REQUEST_LIQUID2) == 1;
      tx::postClick(d, IDC_PP_OK);
    };
    ASSERT_EQ(S_OK, show(capture, view, properties, VARIANT_TRUE, &others));
    EXPECT_FALSE(vll);
    EXPECT_EQ(T, options(object.get())[10]);
    EXPECT_EQ(maker ? Texts{" ERROR: The component does not provide a Custom View."} : Texts(), boxes);
    EXPECT_EQ(maker ? Texts() : Texts{"PropertyPackage.Edit"}, txs::sampleCallLog(txs::kThermoDll));
    EXPECT_EQ(maker ? Texts() : Texts{std::string(txs::kStandalonePackage.name) + txs::kEditCaptionSuffix}, others);
    EXPECT_EQ(S_OK, object->releaseComponents());
  }
}
