// cohost --version: the tool's own version, and that of the DLL that a host gets: the file
// registered for the product's class, which may be another build than the tool's.
#include <windows.h>
#include "cohost/Commands.h"
#include "cohost/RegistryView.h"
#include "framework/GuidText.h"
#include "framework/ModulePath.h"
#include "framework/WideText.h"
#include "support/ModuleVersionInfo.h"

namespace {

// The "FileVersion" of the file at 'path' as "1.0.0.1" (resource scripts often write "1, 0, 0, 1"); empty
// when it has no version resource.
std::string fileVersion(const std::string& path) {
  std::string text;
  try {
    text = ModuleVersionInfo(path.c_str()).value("FileVersion");
  } catch (const FInfoErr&) {
    return std::string();
  }
  std::string version;
  for (char c : text)
    if (c != ' ') version += c == ',' ? '.' : c;
  return version;
}

}  // namespace

int versionCommand(Session& session) {
  const std::string own = fileVersion(fw::modulePath(nullptr));
  printText(stdout, "%s\n", own.empty() ? "cohost (no version resource)" : ("cohost " + own).c_str());
  // cohost is a 64-bit host: its CoCreateInstance reads the 64-bit registration.
  const std::string key = "CLSID\\" + guidText(CLSID_CCAPEGUI) + "\\InprocServer32";
  std::string dll;
  if (!readViewValue(kView64, key, "", &dll) || dll.empty()) {
    session.error("TxCOGUI.dll is not registered (no HKCR\\" + key + ")");
    return kExitFailed;
  }
  if (GetFileAttributesW(wideFromNarrow(dll).c_str()) == INVALID_FILE_ATTRIBUTES) {
    session.error("TxCOGUI.dll is registered as '" + dll + "', which does not exist");
    return kExitFailed;
  }
  const std::string version = fileVersion(dll);
  if (version.empty()) {
    session.error("TxCOGUI.dll '" + dll + "' has no version resource");
    return kExitFailed;
  }
  printText(stdout, "TxCOGUI.dll %s (%s)\n", version.c_str(), dll.c_str());
  return kExitOk;
}
