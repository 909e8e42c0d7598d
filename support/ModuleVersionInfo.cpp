#include "support/ModuleVersionInfo.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "support/MTUtils.h"

const char* const ModuleVersionInfo::kKeyNames[kKeyCount] = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName",    "LegalCopyright", "OriginalFilename",
    "ProductName", "ProductVersion",  "Comments",    "LegalTrademarks", "PrivateBuild",   "SpecialBuild"};

namespace {

struct Translation {
  WORD language;
  WORD codePage;
};

}  // namespace

ModuleVersionInfo::ModuleVersionInfo(const char* path) {
  std::wstring wideFile = wideFromNarrow(path ? path : "");
  const wchar_t* file = wideFile.c_str();
  {
    fw::UniqueHandle handle(CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) throw FInfoErr(GetLastError());
  }
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  if (size == 0) throw FInfoErr(GetLastError());
  std::vector<char> block;
  try {
    block.resize(size);
  } catch (const std::bad_alloc&) {
    return;
  }
  try {
    if (!GetFileVersionInfoW(file, 0, size, block.data())) throw FInfoErr(GetLastError());
    void* root = nullptr;
    UINT rootLength = 0;
    if (!VerQueryValueW(block.data(), L"\\", &root, &rootLength)) throw FInfoErr(GetLastError());
    void* table = nullptr;
    UINT tableLength = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &table, &tableLength) || !table)
      throw FInfoErr(GetLastError());
    const Translation* entries = static_cast<const Translation*>(table);
    size_t count = tableLength / sizeof(Translation);
    for (size_t i = 0; i < count; ++i) {
      char code[9];
      snprintf(code, sizeof code, "%04X%04X", entries[i].language, entries[i].codePage);
      translation_ = code;
      for (int key = 0; key < kKeyCount; ++key) {
        std::wstring query = wideFromNarrow(std::string("\\StringFileInfo\\") + code + "\\" + kKeyNames[key]);
        void* found = nullptr;
        UINT length = 0;  // in characters
        if (VerQueryValueW(block.data(), query.c_str(), &found, &length) && found) {
          const wchar_t* text = static_cast<const wchar_t*>(found);
          values_[key] = narrowFromWide(text, static_cast<int>(wcsnlen(text, length)));
        }
      }
    }
  } catch (const FInfoErr&) {
    throw;
  } catch (...) {
    throw FInfoErr(GetLastError());
  }
}

std::string ModuleVersionInfo::value(const char* key) const {
  for (int i = 0; i < kKeyCount; ++i)
    if (key && strcmp(key, kKeyNames[i]) == 0) return values_[i];
  return std::string();
}

bool getDLLversions(int* major, int* minor, int* release, int* build, const char* moduleName) {
  int* numbers[4] = {major, minor, release, build};
  for (int* number : numbers)
    if (number) *number = 0;
  std::string name = moduleName ? moduleName : MTUtils::getModuleName();
  try {
    ModuleVersionInfo info(MTUtils::getDllPath(moduleName).c_str());
    std::string version = info.value("FileVersion");
    if (version.empty()) return false;
    char separator = version.find('.') != std::string::npos ? '.' : ',';
    size_t start = 0;
    for (int piece = 0; piece < 4 && start <= version.size(); ++piece) {
      size_t end = version.find(separator, start);
      if (end == std::string::npos) end = version.size();
      long number = strtol(version.substr(start, end - start).c_str(), nullptr, 10);
      if (numbers[piece]) *numbers[piece] = static_cast<int>(number);
      start = end + 1;
    }
    return true;
  } catch (const FInfoErr& error) {
    char code[16];
    snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(error.error()));
    std::string text = "error getting DLL version for " + name + "FInfoErr returned error " + code;
    MTUtils::reportFailure(text.c_str(), "getDLLversions", nullptr, true);
  } catch (...) {
    std::string text = "error getting DLL version for " + name;
    MTUtils::reportFailure(text.c_str(), "getDLLversions", nullptr, true);
  }
  return false;
}
