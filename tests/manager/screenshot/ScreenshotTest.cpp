// A picture of the Component Manager for the README: selection mode, a property package
// selected and its registered values shown. Saved as <build>/screenshots/component-manager.png.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <vector>
#include "common/BoxCapture.h"
#include "common/Screenshot.h"
#include "common/TestSupport.h"
#include "framework/ComPtr.h"
#include "manager/CCapeOpenDlg.h"
#include "manager/CapeOpenDlgIds.h"
#include "manager/ManagerTestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

// Lets the windows paint everything that is pending.
void settle(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

// Width, height and 32-bit BGRA pixels of a PNG file.
bool readPng(const std::string& path, UINT& width, UINT& height, std::vector<BYTE>& pixels) {
  fw::ComPtr<IWICImagingFactory> factory;
  fw::ComPtr<IWICBitmapDecoder> decoder;
  fw::ComPtr<IWICBitmapFrameDecode> frame;
  fw::ComPtr<IWICFormatConverter> converter;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void());
  std::wstring widePath = tx::widen(path);
  if (SUCCEEDED(hr))
    hr = factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                            decoder.put());
  GUID format = GUID_NULL;
  if (SUCCEEDED(hr)) hr = decoder->GetContainerFormat(&format);
  if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_ContainerFormatPng)) hr = E_FAIL;
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.put());
  if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
  if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(converter.put());
  if (SUCCEEDED(hr))
    hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                               WICBitmapPaletteTypeCustom);
  if (SUCCEEDED(hr)) {
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    hr = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data());
  }
  return SUCCEEDED(hr);
}

class ScreenshotTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    mt::useProductModule();
  }
};

TEST_F(ScreenshotTest, TheManagerWithAPackageSelected) {
  BoxCapture boxes;
  mt::ManagerDriver driver(boxes);
  CreateDirectoryA(tx::buildPath("screenshots").c_str(), nullptr);
  const std::string path = tx::buildPath("screenshots/component-manager.png");
  DeleteFileA(path.c_str());
  const txs::PackageData& package = txs::kSystemPackages[1];
  RECT windowRect = {};
  RECT treeRect = {};
  bool saved = false;
  CCapeOpenDlg dialog(nullptr);
  dialog.setFilter(12);
  driver.run(dialog, [&](HWND window) {
    std::vector<mt::TreeNode> nodes = mt::readTree(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_FALSE(nodes.empty());
    const mt::TreeNode* system = mt::findNode(
        nodes[0].children, std::string(txs::kThermoSystem.values.name) + " [" + txs::kThermoSystem.progId + "]");
    ASSERT_NE(system, nullptr);
    ASSERT_GT(system->children.size(), 1u);
    mt::selectItem(window, system->children[1].item);
    SetFocus(GetDlgItem(window, IDC_CO_TREE));
    ASSERT_EQ(mt::controlText(window, IDC_CO_DESCRIPTION), package.values.description);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    settle(500);
    GetWindowRect(window, &windowRect);
    GetWindowRect(GetDlgItem(window, IDC_CO_TREE), &treeRect);
    saved = tx::saveWindowPng(window, path);
  });
  ASSERT_TRUE(saved) << path;

  UINT width = 0, height = 0;
  std::vector<BYTE> pixels;
  ASSERT_TRUE(readPng(path, width, height, pixels));
  EXPECT_EQ(static_cast<LONG>(width), windowRect.right - windowRect.left);
  EXPECT_EQ(static_cast<LONG>(height), windowRect.bottom - windowRect.top);
  // The picture shows the dialog itself: the tree's grey background fills most of the tree.
  size_t grey = 0, total = 0;
  for (LONG y = treeRect.top + 4; y < treeRect.bottom - 4; ++y) {
    for (LONG x = treeRect.left + 4; x < treeRect.right - 4; ++x) {
      size_t at = (static_cast<size_t>(y - windowRect.top) * width + static_cast<size_t>(x - windowRect.left)) * 4;
      ++total;
      if (pixels[at] == 192 && pixels[at + 1] == 192 && pixels[at + 2] == 192) ++grey;
    }
  }
  EXPECT_GT(grey * 2, total) << grey << " of " << total;
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
