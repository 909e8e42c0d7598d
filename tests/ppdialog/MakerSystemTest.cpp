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
  for (const char* name : {"+Brisk.Properties.1", "+brisk.x", "+Tx.bwcoproperties.Test", "+BWCOProperties",
                           "+xxBRISKxx", "+A.BwCoPrOpErTiEs", "-", "-TxSamples.ThermoSystem.1", "-Bris.k",
                           "-BWCOPropertie", "-BW CO Properties"})
    EXPECT_EQ(name[0] == '+', CCOTHConfig::isMakerSystem(CTxBSTR(name + 1))) << name;
  EXPECT_FALSE(CCOTHConfig::isMakerSystem(nullptr));
}

TEST_F(MakerSystem, InsideOrOutsideTheSimulatorForTheMakersOrAnotherSystem) {
  // Property systems registered for this test only (no server: only looked up).
  tx::RegisteredClass brisk("Brisk.TestProperties.1", {}, {{"Name", "Brisk.TestProperties.1 system"}});
  tx::RegisteredClass own("Tx.bwcoproperties.Test", {}, {{"Name", "Tx.bwcoproperties.Test system"}});
  brisk.addPackage(kPackage, {{"Name", kPackage}});
  own.addPackage(kPackage, {{"Name", kPackage}});
  fw::ComPtr<IDispatch> package = create(txs::kPropertyPackage);
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
    EXPECT_EQ(parent, text(&ICCAPEGUI::GetParentProgID));
    ASSERT_EQ(S_OK, object->put_requestLiquid2(VARIANT_TRUE));
    ASSERT_EQ(S_OK, object->setComponent(package.get()));
    txs::clearSampleCallLog(txs::kThermoDll);
    boxes.clear();
    bool vll = true;
    Texts others, shown;
    auto view = [&](HWND d) { tx::clickButton(d, IDC_CUSTOM_VIEW), shown = boxes.texts(); };
    auto properties = [&](HWND d) {
      tx::selectTab(d, IDC_PP_TABS, 2);
      vll = tx::visibleControls(d).count(IDC_REQUEST_LIQUID2) == 1;
      tx::postClick(d, IDC_PP_OK);
    };
    ASSERT_EQ(S_OK, show(view, properties, VARIANT_TRUE, &others));
    EXPECT_FALSE(vll);
    EXPECT_EQ(T, options(object.get())[10]);
    EXPECT_EQ(maker ? Texts{" ERROR: The component does not provide a Custom View."} : Texts(), shown);
    EXPECT_EQ(maker ? Texts() : Texts{"PropertyPackage.Edit"}, txs::sampleCallLog(txs::kThermoDll));
    EXPECT_EQ(maker ? Texts() : Texts{std::string(txs::kStandalonePackage.name) + txs::kEditCaptionSuffix}, others);
    EXPECT_EQ(S_OK, object->releaseComponents());
  }
}
