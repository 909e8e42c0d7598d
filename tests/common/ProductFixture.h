// The product's object as a host drives it: COM on the test's thread, every box captured
// and answered, the object (ICCAPEGUI), the sample host container over a compound file,
// and the samples' call logs (cleared for each test).
#pragma once
#include <string>
#include <vector>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "samples/common/SampleHooks.h"
#include "samples/common/SampleIds.h"
#include "support/CTxBSTR.h"

namespace tx {

class ProductTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_EQ(S_OK, createProduct(object.put()));
    for (const char* dll : {txs::kThermoDll, txs::kUnitsDll, txs::kZooDll, txs::kHostDll}) txs::clearSampleCallLog(dll);
  }

  // setup (no window, the host container when one is open) with 'filter', then setProgIds.
  void choose(long filter, const std::string& progId, const std::string& parentProgId = std::string()) {
    ASSERT_EQ(S_OK, object->setup(0, container.get(), filter));
    ASSERT_EQ(S_OK, object->setProgIds(CTxBSTR(progId.c_str()), CTxBSTR(parentProgId.c_str())));
  }

  // The sample host container over 'file' (created anew when 'create'), failing as 'failures' says.
  void openHost(const std::wstring& file, bool create, DWORD failures = 0) {
    container.reset();
    hostControl.reset();
    ASSERT_EQ(S_OK, CoCreateInstance(txs::kHostContainer.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     container.put_void()));
    ASSERT_EQ(S_OK, container->QueryInterface(IID_ISampleHostControl, hostControl.put_void()));
    ASSERT_EQ(S_OK, hostControl->OpenFile(file.c_str(), create ? TRUE : FALSE));
    ASSERT_EQ(S_OK, hostControl->SetFailures(failures));
  }

  // Entries of a sample DLL's call log that contain 'fragment'.
  static std::vector<std::string> calls(const char* dll, const std::string& fragment) {
    std::vector<std::string> found;
    for (const std::string& entry : txs::sampleCallLog(dll))
      if (entry.find(fragment) != std::string::npos) found.push_back(entry);
    return found;
  }

  // A path in the TEMP folder with no file there.
  static std::wstring tempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
  }

  // The text of a BSTR that the object handed out ("<null>" for null), freed.
  static std::string take(BSTR value) {
    std::string text = bstrText(value);
    SysFreeString(value);
    return text;
  }
  std::string text(HRESULT (STDMETHODCALLTYPE ICCAPEGUI::*getter)(BSTR*)) {
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, (object.get()->*getter)(&value));
    return take(value);
  }

  // The boxes shown so far, each as its pattern says: the exact text, "*fragment" of it or its "^start".
  void expectBoxes(const std::vector<std::string>& patterns) {
    ASSERT_EQ(patterns.size(), boxes.count()) << ::testing::PrintToString(boxes.texts());
    for (size_t i = 0; i < patterns.size(); ++i) {
      const std::string &want = patterns[i], &shown = boxes.boxes()[i].text;
      size_t at = want.empty() ? 0 : shown.find(want.substr(1));
      if (want[0] == '*') EXPECT_NE(std::string::npos, at) << shown;
      else if (want[0] == '^') EXPECT_EQ(0u, at) << shown;
      else EXPECT_EQ(want, shown);
    }
  }

  BoxCapture boxes;  // first in, last out: boxes of the object's release are captured too
  fw::ComPtr<ICCAPEGUI> object;
  fw::ComPtr<IDispatch> container;
  fw::ComPtr<ISampleHostControl> hostControl;
};

}  // namespace tx
