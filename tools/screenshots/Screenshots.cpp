// screenshots: the pictures of the README, taken of the registered DLL as a host shows it
// (scripts/screenshots.sh runs it in a prefix of its own inside Xvfb). Saves
//   <folder>\component-manager.png        a package of the sample property system selected
//   <folder>\ppdialog-<page>.png          the four pages of the package dialog
// Usage: screenshots <folder>. Exit code 0 when every picture was saved.
#include <windows.h>
#include <commctrl.h>
#include <wincodec.h>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include "TxCOGUI.h"
#include "external/CapeOpen.h"
#include "framework/ComPtr.h"
#include "framework/Raii.h"
#include "framework/WindowHook.h"
#include "manager/CapeOpenDlgIds.h"
#include "ppdialog/COTHConfigIds.h"
#include "samples/common/SampleIds.h"
#include "support/CTxBSTR.h"
#include "framework/WideText.h"

namespace {

const char kManagerCaption[] = "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager";
const char kPackageCaption[] = "CAPE-OPEN Property Package Detailed Information";

// Lets Wine paint everything pending and hand the pixels to the display.
void settle(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (DWORD end = GetTickCount() + 400; static_cast<LONG>(end - GetTickCount()) > 0; Sleep(10)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_TIMER) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  GdiFlush();
}

// What the screen shows of 'window', as a PNG file.
bool savePng(HWND window, const std::string& path) {
  settle(window);
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
  std::unique_ptr<HDC__, void (*)(HDC)> screen(GetDC(nullptr), [](HDC dc) { ReleaseDC(nullptr, dc); });
  std::unique_ptr<HDC__, BOOL(WINAPI*)(HDC)> memory(CreateCompatibleDC(screen.get()), DeleteDC);
  void* bits = nullptr;
  fw::UniqueGdi<HBITMAP> bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bool copied = false;
  if (memory && bitmap.get()) {
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY) != FALSE;
    SelectObject(memory.get(), old);
  }
  fw::ComPtr<IWICImagingFactory> factory;
  fw::ComPtr<IWICStream> stream;
  fw::ComPtr<IWICBitmapEncoder> encoder;
  fw::ComPtr<IWICBitmapFrameEncode> frame;
  std::wstring widePath = wideFromNarrow(path);
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  HRESULT hr = copied ? CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory, factory.put_void())
                      : E_FAIL;
  if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.put());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.put(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(width, height);
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) hr = E_FAIL;
  if (SUCCEEDED(hr)) hr = frame->WritePixels(height, width * 4, width * height * 4, static_cast<BYTE*>(bits));
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  printf("%s %s\n", SUCCEEDED(hr) ? "saved" : "FAILED", path.c_str());
  return SUCCEEDED(hr);
}

// Runs 'scene' once the dialog with 'caption' is up, from a tick of its own modal loop; the
// scene closes it.
std::string g_caption;
fw::WindowStep g_scene;

void watch(HWND window) {
  if (g_scene && fw::windowText(window) == g_caption) {
    fw::DriveOptions options;
    options.tickMs = 100;
    fw::WindowHook::drive(window, {std::exchange(g_scene, nullptr)}, options);
  }
}

void onDialog(const char* caption, fw::WindowStep scene) {
  g_caption = caption;
  g_scene = std::move(scene);
}

// A tree item by its label, anywhere below 'item'.
HTREEITEM findItem(HWND tree, HTREEITEM item, const std::string& label) {
  for (; item; item = fw::treeItem(tree, TVGN_NEXT, item)) {
    if (label == fw::treeItemText(tree, item)) return item;
    if (HTREEITEM found = findItem(tree, fw::treeItem(tree, TVGN_CHILD, item), label)) return found;
  }
  return nullptr;
}

bool componentManager(const std::string& folder) {
  fw::ComPtr<ICCAPEGUI> object;
  if (FAILED(CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, object.put_void())) ||
      FAILED(object->setup(0, nullptr, 12)))
    return false;
  bool saved = false;
  onDialog(kManagerCaption, [&](HWND dialog) {
    HWND tree = GetDlgItem(dialog, IDC_CO_TREE);
    std::string system = std::string(txs::kThermoSystem.values.name) + " [" + txs::kThermoSystem.progId + "]";
    HTREEITEM item = findItem(tree, fw::treeItem(tree, TVGN_ROOT), system);
    if (item) item = fw::treeItem(tree, TVGN_NEXT, fw::treeItem(tree, TVGN_CHILD, item));
    if (item) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      SetFocus(tree);
      saved = savePng(dialog, folder + "\\component-manager.png");
    }
    EndDialog(dialog, IDCANCEL);
  });
  fw::UniqueBstr component, catids;
  return SUCCEEDED(object->ShowGUI(component.put(), catids.put())) && saved;
}

bool packageDialog(const std::string& folder) {
  fw::ComPtr<ICCAPEGUI> object;
  fw::ComPtr<ICapeThermoSystem> system;
  fw::ComPtr<IDispatch> package;
  const txs::PackageData& data = txs::kSystemPackages[0];
  if (FAILED(CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, object.put_void())) ||
      FAILED(CoCreateInstance(txs::kThermoSystem.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICapeThermoSystem,
                              system.put_void())) ||
      FAILED(system->ResolvePropertyPackage(CTxBSTR(data.name), package.put())) ||
      FAILED(object->setComponent(package.get())) || FAILED(object->setPPInfo(nullptr, nullptr, nullptr)))
    return false;
  // The options a host would have set, so that every page shows something.
  HRESULT set[] = {object->setAlias(CTxBSTR(data.name), CTxBSTR(txs::kThermoSystem.values.name)),
                   object->traceReport(CTxBSTR(L"Property package 'Water-Ethanol NRTL' imported."), -1),
                   object->traceReport(CTxBSTR(L"2 of 2 compounds matched by CAS number."), -1),
                   object->traceReport(CTxBSTR(L"Phases: Vapor, Liquid."), 0),
                   object->put_socketVersion(CTxBSTR(L"1.0.4")),
                   object->setCompOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE),
                   object->setRecovErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE),
                   object->setCritErrorsOptions(VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE),
                   object->put_doOrderPhases(VARIANT_TRUE)};
  for (HRESULT hr : set)
    if (FAILED(hr)) return false;
  fw::UniqueVariant flashTypes;
  SAFEARRAYBOUND bound = {4, 0};
  flashTypes.get()->vt = VT_ARRAY | VT_BSTR;
  flashTypes.get()->parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  if (!flashTypes.get()->parray) return false;
  const wchar_t* const types[] = {L"TP", L"PH", L"PS", L"TVF"};
  for (LONG i = 0; i < 4; ++i)
    if (FAILED(SafeArrayPutElement(flashTypes.get()->parray, &i, CTxBSTR(types[i]).GetBSTR()))) return false;
  if (FAILED(object->put_supportedPhaseTypes(*flashTypes.get()))) return false;
  int saved = 0;
  onDialog(kPackageCaption, [&](HWND dialog) {
    const char* const pages[] = {"general", "components", "properties", "about"};
    HWND tabs = GetDlgItem(dialog, IDC_PP_TABS);
    for (int page = 0; page < 4; ++page) {
      SendMessageW(tabs, TCM_SETCURSEL, page, 0);
      NMHDR header = {tabs, IDC_PP_TABS, static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageW(dialog, WM_NOTIFY, IDC_PP_TABS, reinterpret_cast<LPARAM>(&header));
      saved += savePng(dialog, folder + "\\ppdialog-" + pages[page] + ".png") ? 1 : 0;
    }
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  HRESULT shown = object->ShowThermoGUI(VARIANT_TRUE);
  HRESULT released = object->releaseComponents();
  return SUCCEEDED(shown) && SUCCEEDED(released) && saved == 4;
}

}  // namespace

// Wide arguments: the folder may be named in any script.
int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: screenshots <folder>\n");
    return 2;
  }
  fw::ComInit com;
  if (FAILED(com.result())) return 1;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  CreateDirectoryW(argv[1], nullptr);
  const std::string folder = narrowFromWide(argv[1]);
  fw::WindowHook hook(watch);
  bool manager = componentManager(folder);
  bool package = packageDialog(folder);
  return manager && package ? 0 : 1;
}
