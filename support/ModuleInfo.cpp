#include "support/ModuleInfo.h"
#include <cstring>
#include "framework/WideText.h"
#include "support/Reporter.h"

namespace {

const size_t kNameSize = 260;

// Set by the component object's constructor and read by every trace: the host's one
// user-interface thread touches it, so it is not locked.
char g_moduleName[kNameSize] = "";
char g_moduleBaseName[kNameSize] = "";
std::string g_moduleFolder;
bool g_moduleFolderKnown = false;

}  // namespace

bool ModuleInfo::setModuleName(const char* name) {
  const char* source = name ? name : "";
  size_t length = narrowCutLength(source, strnlen(source, kNameSize), kNameSize - 1);
  memcpy(g_moduleName, source, length);
  g_moduleName[length] = '\0';
  g_moduleFolder.clear();
  g_moduleFolderKnown = false;
  return true;
}

const char* ModuleInfo::getModuleName() {
  memcpy(g_moduleBaseName, g_moduleName, sizeof g_moduleName);
  char* dot = strchr(g_moduleBaseName, '.');
  if (dot) *dot = '\0';
  return g_moduleBaseName;
}

std::string ModuleInfo::getDllPath(const char* name) {
  const char* module = name ? name : g_moduleName;
  if (!*module) {
    Reporter::showMessage("MTUtils must be initialized with setModuleName(<dllName>)", "", 0, nullptr);
    return std::string();
  }
  HANDLE handle = nullptr;
  std::string description = std::string("Error getting the dll path for ") + module;
  HMODULE loaded = GetModuleHandleW(wideFromNarrow(module).c_str());
  if (Reporter::checkWinResult(&handle, reinterpret_cast<HANDLE>(loaded), description.c_str(), true) != 0)
    return std::string();
  wchar_t path[kNameSize];
  DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(handle), path, static_cast<DWORD>(kNameSize));
  if (length == 0 || length >= kNameSize - 1) return std::string();
  return narrowFromWide(path, static_cast<int>(length));
}

std::string ModuleInfo::getDllDirectory() {
  if (!g_moduleFolderKnown) {
    std::string path = getDllPath(nullptr);
    size_t cut = path.find_last_of('\\');
    g_moduleFolder = cut == std::string::npos ? path : path.substr(0, cut);
    g_moduleFolderKnown = !path.empty();
  }
  return g_moduleFolder;
}

std::string ModuleInfo::getEnvironmentValue(const char* name) {
  wchar_t value[kNameSize];
  SetLastError(0);
  DWORD length = GetEnvironmentVariableW(wideFromNarrow(name ? name : "").c_str(), value, static_cast<DWORD>(kNameSize));
  if (length >= kNameSize) {
    Reporter::showMessage("Value of Environment Variable is too long", name, 0, nullptr);
    return std::string();
  }
  if (length == 0) return std::string();
  return narrowFromWide(value, static_cast<int>(length));
}
