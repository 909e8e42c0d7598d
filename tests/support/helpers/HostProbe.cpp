// Stand-in host for the detection tests: loads the DLL named on its command line as the module, asks TxUtils
// twice whether it runs in the Tarnix simulator, and writes what it saw (answers, versions, every message box)
// to the result file.   usage: <probe> <dll path> <result file>
#include <windows.h>
#include <cstdio>
#include <string>
#include "common/BoxCapture.h"
#include "support/MTUtils.h"
#include "support/ModuleVersionInfo.h"
#include "support/TxUtils.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  BoxCapture boxes;
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) return 3;
  std::string path = argv[1];
  MTUtils::setModuleName(path.substr(path.find_last_of("\\/") + 1).c_str());
  bool first = TxUtils::isTarnixHost(), second = TxUtils::isTarnixHost();
  int n[4] = {0, 0, 0, 0};
  bool versionRead = first && getDLLversions(&n[0], &n[1], &n[2], &n[3], "tarnix.exe");
  FILE* out = fopen(argv[2], "wb");
  if (!out) return 4;
  fprintf(out, "host=%d\nsecond=%d\ntarnix=%d\nsketch=%d\n", first, second, TxUtils::tarnixVersion(),
          TxUtils::sketchVersion());
  if (versionRead) fprintf(out, "version=%d.%d.%d.%d\n", n[0], n[1], n[2], n[3]);
  fprintf(out, "boxes=%u\n", static_cast<unsigned>(boxes.count()));
  for (const CapturedBox& box : boxes.boxes()) {
    std::string text = box.text;
    for (char& c : text) c = c == '\n' || c == '\r' ? '|' : c;
    fprintf(out, "box=%s\n", text.c_str());
  }
  fclose(out);
  FreeLibrary(dll);
  return 0;
}
