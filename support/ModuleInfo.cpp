#include "support/ModuleInfo.h"
#include <cstring>
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
  size_t length = strnlen(source, kNameSize - 1);
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
  if (Reporter::checkWinResult(&handle, reinterpret_cast<HANDLE>(GetModuleHandleA(module)), description.c_str(),
                               true) != 0)
    return std::string();
  char path[kNameSize];
  DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), path, sizeof path);
  if (length == 0 || length >= kNameSize - 1) return std::string();
  return std::string(path, length);
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
  char value[kNameSize];
  SetLastError(0);
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  if (length >= sizeof value) {
    Reporter::showMessage("Value of Environment Variable is too long", name, 0, nullptr);
    return std::string();
  }
  if (length == 0) return std::string();
  return std::string(value, length);
}
