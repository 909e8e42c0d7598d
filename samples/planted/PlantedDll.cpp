// TxSamplePlanted.dll: its registration plants what users meet on real machines, in both
// registry views: the 32-bit build of the mixer (a 64-bit process cannot run its own
// registration), servers of the wrong machine type, a .NET component whose assembly has
// moved, and servers that are missing, not DLLs, cut short or named by a 1 MB path.
#include <windows.h>
#include <olectl.h>
#include <string>
#include "framework/Module.h"
#include "framework/ModulePath.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "samples/common/SampleModule.h"
#include "samples/common/SampleRegistry.h"

namespace txs {

// It serves no class of its own.
const SampleClass* sampleClasses(int* count) {
  *count = 0;
  return nullptr;
}

namespace {

struct Planted {
  const ClassInfo* info;
  REGSAM view;
};
const Planted kPlanted[] = {
    {&kX86Mixer, KEY_WOW64_32KEY},     {&kX86Under64, KEY_WOW64_64KEY},    {&kX64Under32, KEY_WOW64_32KEY},
    {&kDotNetMissing, KEY_WOW64_64KEY}, {&kMissingFile32, KEY_WOW64_32KEY}, {&kNotPE32, KEY_WOW64_32KEY},
    {&kTruncatedPE32, KEY_WOW64_32KEY}, {&kLongPath32, KEY_WOW64_32KEY},   {&kEquilibriumServer32, KEY_WOW64_32KEY},
};

// The folder of this DLL, with its final backslash.
std::string moduleFolder() {
  const std::string folder = fw::modulePath(fw::Module::instance());
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string serverOf(const ClassInfo& info, const std::string& folder) {
  if (&info == &kLongPath32) {
    std::string path = "C:\\";
    while (path.size() < kLongPathBytes) path += "a-folder-of-a-very-long-path\\";
    return path + "TxSamples.Zoo.Long.dll";
  }
  if (&info == &kDotNetMissing) return info.dll;  // found on the system path
  return folder + info.dll;
}

bool writeBytes(const std::string& path, const void* data, DWORD size) {
  fw::UniqueHandle file(CreateFileW(wideFromNarrow(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), data, size, &written, nullptr) && written == size;
}

// The text file, and the first bytes of this DLL up to the middle of its PE header.
HRESULT writeBadFiles(const std::string& folder) {
  const char text[] = "This is a text file, not a Windows DLL.\r\n";
  if (!writeBytes(folder + kNotPE32.dll, text, sizeof text - 1)) return HRESULT_FROM_WIN32(GetLastError());
  const BYTE* image = reinterpret_cast<const BYTE*>(fw::Module::instance());
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  DWORD cut = static_cast<DWORD>(dos->e_lfanew) + 4 + sizeof(IMAGE_FILE_HEADER) / 2;
  if (!writeBytes(folder + kTruncatedPE32.dll, image, cut)) return HRESULT_FROM_WIN32(GetLastError());
  return S_OK;
}

// The values with which the .NET runtime's server finds a component's assembly.
HRESULT writeDotNetValues(HKEY classes, const std::string& folder) {
  const std::string key = "CLSID\\" + guidText(kDotNetMissing.clsid) + "\\InprocServer32";
  std::string codeBase = "file:///" + folder + kDotNetAssemblyFile;
  for (char& c : codeBase)
    if (c == '\\') c = '/';
  HRESULT hr = setStringValue(classes, key, "Class", kDotNetClass);
  if (SUCCEEDED(hr)) hr = setStringValue(classes, key, "Assembly", kDotNetAssembly);
  if (SUCCEEDED(hr)) hr = setStringValue(classes, key, "CodeBase", codeBase);
  if (SUCCEEDED(hr)) hr = setStringValue(classes, key, "RuntimeVersion", kDotNetRuntime);
  return hr;
}

HRESULT plant() {
  const std::string folder = moduleFolder();
  if (folder.empty()) return SELFREG_E_CLASS;
  HRESULT hr = writeBadFiles(folder);
  for (const Planted& planted : kPlanted) {
    fw::UniqueHKey classes;
    if (SUCCEEDED(hr)) hr = openClassesRoot(planted.view, classes);
    if (SUCCEEDED(hr)) hr = registerClassIn(classes.get(), serverOf(*planted.info, folder), *planted.info);
    if (SUCCEEDED(hr) && planted.info == &kDotNetMissing) hr = writeDotNetValues(classes.get(), folder);
  }
  return hr;
}

HRESULT unplant() {
  HRESULT result = S_OK;
  for (const Planted& planted : kPlanted) {
    fw::UniqueHKey classes;
    HRESULT hr = openClassesRoot(planted.view, classes);
    if (SUCCEEDED(hr)) hr = unregisterClassIn(classes.get(), *planted.info);
    if (FAILED(hr)) result = SELFREG_E_CLASS;
  }
  const std::string folder = moduleFolder();
  DeleteFileW(wideFromNarrow(folder + kNotPE32.dll).c_str());
  DeleteFileW(wideFromNarrow(folder + kTruncatedPE32.dll).c_str());
  return result;
}

}  // namespace

}  // namespace txs

extern "C" HRESULT WINAPI plantRegistrations() {
  try {
    HRESULT hr = txs::plant();
    if (FAILED(hr)) txs::unplant();
    return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

extern "C" HRESULT WINAPI removeRegistrations() {
  try {
    return txs::unplant();
  } catch (...) {
    return E_UNEXPECTED;
  }
}
