// Pictures of the four pages, filled from a package of the sample property system, saved under the build tree
// (screenshots/ppdialog-*.png) for the documentation.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "external/CapeOpen.h"
#include "ppdialog/DialogDriver.h"
#include "samples/common/SampleIds.h"
#include "support/CTxBSTR.h"

using namespace ppt;

namespace {

struct PngSize {
  unsigned width = 0, height = 0;
};

// Width and height from the IHDR chunk of a PNG file; zero when it is not one.
PngSize pngSize(const std::string& content) {
  PngSize size;
  static const char signature[] = "\x89PNG\r\n\x1a\n";
  if (content.size() < 24 || content.compare(0, 8, signature, 8) != 0 || content.compare(12, 4, "IHDR") != 0)
    return size;
  auto be32 = [&](size_t at) {
    return (static_cast<unsigned>(static_cast<unsigned char>(content[at])) << 24) |
           (static_cast<unsigned>(static_cast<unsigned char>(content[at + 1])) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(content[at + 2])) << 8) |
           static_cast<unsigned>(static_cast<unsigned char>(content[at + 3]));
  };
  size.width = be32(16);
  size.height = be32(20);
  return size;
}

}  // namespace

class Screenshot : public tx::ComTest {};

TEST_F(Screenshot, FourPagesOfASamplePackage) {
  fw::ComPtr<ICCAPEGUI> object;
  ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  // A package of the sample property system, as the host imports it.
  fw::ComPtr<ICapeThermoSystem> system;
  ASSERT_EQ(S_OK, CoCreateInstance(txs::kThermoSystem.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICapeThermoSystem,
                                   reinterpret_cast<void**>(system.put())));
  const txs::PackageData& data = txs::kSystemPackages[0];
  fw::ComPtr<IDispatch> package;
  ASSERT_EQ(S_OK, system->ResolvePropertyPackage(CTxBSTR(data.name), package.put()));
  BoxCapture capture;
  ASSERT_EQ(S_OK, object->setComponent(package.get()));
  ASSERT_EQ(S_OK, object->setPPInfo(nullptr, nullptr, nullptr));
  ASSERT_EQ(S_OK, object->setAlias(CTxBSTR(data.name), CTxBSTR(txs::kThermoSystem.values.name)));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"Property package 'Water-Ethanol NRTL' imported."), -1));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"2 of 2 compounds matched by CAS number."), -1));
  ASSERT_EQ(S_OK, object->traceReport(CTxBSTR(L"Phases: Vapor, Liquid."), 0));
  ASSERT_EQ(S_OK, object->put_socketVersion(CTxBSTR(L"1.0.4")));
  ASSERT_EQ(S_OK, object->setCompOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE));
  ASSERT_EQ(S_OK, object->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->setCritErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, object->put_doOrderPhases(VARIANT_TRUE));
  fw::UniqueVariant flashTypes;
  SAFEARRAYBOUND bound = {4, 0};
  flashTypes.get()->vt = VT_ARRAY | VT_BSTR;
  flashTypes.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  const wchar_t* types[] = {L"TP", L"PH", L"PS", L"TVF"};
  for (int i = 0; i < 4; ++i) static_cast<BSTR*>(flashTypes.get()->parray->pvData)[i] = SysAllocString(types[i]);
  ASSERT_EQ(S_OK, object->put_supportedPhaseTypes(*flashTypes.get()));

  CreateDirectoryA(tx::buildPath("screenshots").c_str(), nullptr);
  const char* const pages[] = {"general", "components", "properties", "about"};
  std::vector<std::string> paths;
  for (const char* page : pages) {
    paths.push_back(tx::buildPath(std::string("screenshots/ppdialog-") + page + ".png"));
    DeleteFileA(paths.back().c_str());
  }
  std::vector<bool> saved;
  RECT window = {};
  DialogDriver driver(capture);
  for (int page = 0; page < 4; ++page) {
    driver.then([&, page](HWND d) {
      GetWindowRect(d, &window);
      selectPage(d, page);
      saved.push_back(saveScreenshot(d, paths[page]));
    });
  }
  driver.then(pressCloseBox);
  ASSERT_EQ(S_OK, object->ShowThermoGUI(VARIANT_TRUE));
  EXPECT_EQ(0u, capture.count());
  EXPECT_EQ((std::vector<bool>{true, true, true, true}), saved);
  for (const std::string& path : paths) {
    std::string content = tx::readFile(path);
    PngSize size = pngSize(content);
    EXPECT_EQ(static_cast<unsigned>(window.right - window.left), size.width) << path;
    EXPECT_EQ(static_cast<unsigned>(window.bottom - window.top), size.height) << path;
    EXPECT_GT(content.size(), 4000u) << path;  // a picture with something in it
  }
  EXPECT_EQ(S_OK, object->releaseComponents());
}
