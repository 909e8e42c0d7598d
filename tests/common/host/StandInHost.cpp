// A stand-in host simulator (tests/CMakeLists.txt names its builds), writing what it saw as key=value lines:
//   probe <dll> <result>: the DLL loaded as the module asks twice whether it runs in the simulator;
//   dialog <parent ProgID> <result>: the package dialog shown as the simulator shows it.
// Both end with "boxes=<count>" and a "box=<text>" line per message box.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/DialogDriver.h"
#include "common/TestSupport.h"
#include "framework/ComPtr.h"
#include "framework/Raii.h"
#include "ppdialog/COTHConfigIds.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"
#include "support/ModuleVersionInfo.h"
#include "support/TxUtils.h"

namespace {

int probe(const char* dll, FILE* out) {
  HMODULE module = LoadLibraryW(wideFromNarrow(dll).c_str());
  if (!module) return 3;
  const char* name = strrchr(dll, '\\');
  MTUtils::setModuleName(name ? name + 1 : dll);
  bool first = TxUtils::isTarnixHost();
  bool second = TxUtils::isTarnixHost();
  int n[4] = {0, 0, 0, 0};
  fprintf(out, "host=%d\nsecond=%d\ntarnix=%d\nsketch=%d\n", first, second, TxUtils::tarnixVersion(),
          TxUtils::sketchVersion());
  if (first && getDLLversions(&n[0], &n[1], &n[2], &n[3], "tarnix.exe"))
    fprintf(out, "version=%d.%d.%d.%d\n", n[0], n[1], n[2], n[3]);
  FreeLibrary(module);
  return 0;
}

int dialog(const char* parentProgId, BoxCapture& capture, FILE* out) {
  fw::ComInit com;
  fw::ComPtr<ICCAPEGUI> object;
  if (FAILED(com.result()) || FAILED(tx::createProduct(object.put()))) return 3;
  object->put_requestLiquid2(VARIANT_TRUE);
  object->setProgIds(CTxBSTR(L"Maker Package"), CTxBSTR(parentProgId));
  fw::UniqueBstr parent;
  object->GetParentProgID(parent.put());
  bool vll = false, vllChecked = false;
  tx::DialogDriver driver(capture, "CAPE-OPEN Property Package Detailed Information");
  driver
      .then([&](HWND d) {
        tx::selectTab(d, IDC_PP_TABS, 2);
        vll = tx::visibleControls(d).count(IDC_REQUEST_LIQUID2) == 1;
        vllChecked = tx::isChecked(d, IDC_REQUEST_LIQUID2);
      })
      .then(tx::pressCloseBox);
  object->ShowThermoGUI(VARIANT_TRUE);
  fprintf(out, "parent=%s\nvll=%d\nvllChecked=%d\ndialogs=%d\n", tx::bstrText(parent.get()).c_str(), vll ? 1 : 0,
          vllChecked ? 1 : 0, driver.dialogsSeen());
  return 0;
}

}  // namespace

int main() {
  // Read wide, so that a path or ProgID in any script arrives whole.
  int argc = 0;
  fw::LocalMem<wchar_t*> wide;
  *wide.put() = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!wide.get() || argc != 4) return 2;
  std::vector<std::string> argv;
  for (int i = 0; i < argc; ++i) argv.push_back(narrowFromWide(wide.get()[i]));
  FILE* out = _wfopen(wide.get()[3], L"wb");
  if (!out) return 4;
  BoxCapture boxes;
  int result = argv[1] == "probe" ? probe(argv[2].c_str(), out) : dialog(argv[2].c_str(), boxes, out);
  fprintf(out, "boxes=%u\n", static_cast<unsigned>(boxes.count()));
  for (const CapturedBox& box : boxes.boxes()) {
    std::string text = box.text;
    for (char& c : text)
      if (c == '\n' || c == '\r') c = '|';
    fprintf(out, "box=%s\n", text.c_str());
  }
  fclose(out);
  return result;
}
