// The road of one component as a host drives it: set up, name the component, create it,
// and the sample host container over a compound file.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "samples/common/SampleHooks.h"
#include "samples/common/SampleIds.h"
#include "support/CTxBSTR.h"

class ComponentRoad : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
    for (const char* dll : {txs::kThermoDll, txs::kUnitsDll, txs::kZooDll, txs::kHostDll}) txs::clearSampleCallLog(dll);
  }

  // setup without a container, then setProgIds.
  void choose(long filter, const std::string& progId, const std::string& parentProgId = std::string()) {
    ASSERT_EQ(S_OK, object->setup(0, container.get(), filter));
    CTxBSTR component(progId.c_str()), parent(parentProgId.c_str());
    ASSERT_EQ(S_OK, object->setProgIds(component, parent));
  }

  // A sample host container over 'file' (created anew when 'create').
  void openHost(const std::wstring& file, bool create, DWORD failures = 0) {
    container.reset();
    hostControl.reset();
    ASSERT_EQ(S_OK, CoCreateInstance(txs::kHostContainer.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     container.put_void()));
    ASSERT_EQ(S_OK, container->QueryInterface(IID_ISampleHostControl, hostControl.put_void()));
    ASSERT_EQ(S_OK, hostControl->OpenFile(file.c_str(), create ? TRUE : FALSE));
    ASSERT_EQ(S_OK, hostControl->SetFailures(failures));
  }

  // Entries of a sample DLL's call log that contain 'part'.
  static std::vector<std::string> calls(const char* dll, const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& entry : txs::sampleCallLog(dll))
      if (entry.find(part) != std::string::npos) found.push_back(entry);
    return found;
  }

  static std::wstring tempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
  }

  fw::ComPtr<ICCAPEGUI> object;
  fw::ComPtr<IDispatch> container;
  fw::ComPtr<ISampleHostControl> hostControl;
};
