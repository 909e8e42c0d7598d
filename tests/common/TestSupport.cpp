#include "common/TestSupport.h"
#include <shlobj.h>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include "TxCOGUI.h"
#include "framework/ProcessLaunch.h"
#include "framework/RegistryTree.h"

namespace tx {

namespace {
std::string windowsPath(const std::string& folder, const std::string& relative) {
  std::string path = "Z:" + folder + "/" + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
}  // namespace

std::string buildPath(const std::string& relative) { return windowsPath(TX_BUILD_DIR, relative); }
std::string sourcePath(const std::string& relative) { return windowsPath(TX_SOURCE_DIR, relative); }

std::string productDll() { return buildPath("TxCOGUI.dll"); }

bool readRegString(HKEY root, const std::string& key, const std::string& name, std::string* value) {
  fw::UniqueHKey handle;
  if (RegOpenKeyExW(root, wideFromNarrow(key).c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = 0;
  std::wstring wideName = wideFromNarrow(name);
  const wchar_t* valueName = name.empty() ? nullptr : wideName.c_str();
  if (RegQueryValueExW(handle.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  std::wstring data(size / 2 + 1, L'\0');
  if (RegQueryValueExW(handle.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
    return false;
  if (value) *value = narrowFromWide(data.c_str());
  return true;
}

bool keyExists(HKEY root, const std::string& key) {
  fw::UniqueHKey handle;
  return RegOpenKeyExW(root, wideFromNarrow(key).c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
}

void deleteKeyTree(HKEY root, const std::string& key) { fw::deleteRegistryTree(root, wideFromNarrow(key)); }

namespace {
void snapshotInto(HKEY key, const std::string& path, std::vector<std::string>& lines) {
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD nameLength = sizeof name, type = 0, size = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::string data(size + 1, '\0');
    nameLength = sizeof name;
    RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    if (type == REG_SZ || type == REG_EXPAND_SZ) data.resize(strnlen(data.c_str(), size));
    else data = "<type " + std::to_string(type) + ", " + std::to_string(size) + " bytes>";
    lines.push_back(path + " [" + name + "] = " + data);
  }
  for (DWORD i = 0;; ++i) {
    char child[512];
    DWORD length = sizeof child;
    if (RegEnumKeyExA(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    lines.push_back(path + "\\" + child);
    fw::UniqueHKey sub;
    if (RegOpenKeyExA(key, child, 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
      snapshotInto(sub.get(), path + "\\" + child, lines);
  }
}
}  // namespace

std::vector<std::string> snapshotKey(HKEY root, const std::string& key) {
  std::vector<std::string> lines;
  fw::UniqueHKey handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS)
    snapshotInto(handle.get(), key, lines);
  std::sort(lines.begin(), lines.end());
  return lines;
}

int runProcess(const std::string& commandLine, DWORD timeoutMs) {
  fw::LaunchOptions options;
  options.timeoutMs = timeoutMs;
  fw::LaunchResult result = fw::launchAndWait(wideFromNarrow(commandLine), options);
  return result.ran() ? static_cast<int>(result.exitCode) : -1;
}

std::string readFile(const std::string& path) {
  std::ifstream in(wideFromNarrow(path).c_str(), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(wideFromNarrow(path).c_str(), std::ios::binary | std::ios::trunc);
  out << content;
  return static_cast<bool>(out);
}

bool fileExists(const std::string& path) {
  return GetFileAttributesW(wideFromNarrow(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool removeTree(const std::string& path) {
  std::wstring wide = wideFromNarrow(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = narrowFromWide(found.cFileName);
        if (name != "." && name != "..") removeTree(path + "\\" + name);
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(wide.c_str());
  } else {
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
  }
  return !fileExists(path);
}

std::string makeTempFolder(const std::string& what) {
  wchar_t base[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, base);
  std::string folder = narrowFromWide(base) + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(GetTickCount());
  removeTree(folder);
  CreateDirectoryW(wideFromNarrow(folder).c_str(), nullptr);
  return folder;
}

std::string traceFolder() {
  wchar_t appData[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return narrowFromWide(appData) + "\\Briskware\\Brisk Tarnix CAPE-OPEN";
}

std::string traceFilePath() { return traceFolder() + "\\TxCOGUI.trc"; }
std::string readTrace() { return readFile(traceFilePath()); }
std::string bstrText(BSTR value) { return value ? narrowFromWide(value) : std::string("<null>"); }

std::string newGuidText() {
  GUID guid;
  CoCreateGuid(&guid);
  return guidText(guid);
}

HRESULT createProduct(ICCAPEGUI** object) {
  return CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, reinterpret_cast<void**>(object));
}

HRESULT dispIdOf(IDispatch* object, const wchar_t* name, DISPID* id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

}  // namespace tx
