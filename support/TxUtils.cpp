// Host detection: whether the Tarnix simulator's executable is loaded, and its version.
#include "support/TxUtils.h"
#include "framework/WideText.h"
#include "support/ModuleVersionInfo.h"

namespace {

// Read once and kept, from the host's one user-interface thread only, so unlocked.
bool g_loaded = false;
int g_tarnixVersion = 0;
int g_sketchVersion = 0;

int hostVersion(const char* module) {
  if (!GetModuleHandleW(wideFromNarrow(module).c_str())) return 0;
  int major = 0, minor = 0, release = 0, build = 0;
  if (!getDLLversions(&major, &minor, &release, &build, module)) return 0;
  return major * 100 + minor * 10;
}

}  // namespace

int TxUtils::tarnixVersion() {
  initialize();
  return g_tarnixVersion;
}
int TxUtils::sketchVersion() {
  initialize();
  return g_sketchVersion;
}

bool TxUtils::isTarnixHost() {
  initialize();
  return g_tarnixVersion != 0;
}

void TxUtils::initialize() {
  if (g_loaded) return;
  readCompoundList();
  try {
    g_tarnixVersion = hostVersion("tarnix.exe");
    g_sketchVersion = 0;
    g_sketchVersion = hostVersion("sketchr.exe");
  } catch (...) {
    // getDLLversions has reported what it could; the host stays unknown.
  }
  g_loaded = true;
}

