#include "samples/common/SampleRegistry.h"
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>
#include <vector>
#include "external/CapeOpenCategories.h"
#include "framework/ComPtr.h"
#include "framework/Module.h"
#include "framework/GuidText.h"
#include "framework/ModulePath.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "framework/RegistryTree.h"
#include "samples/common/ComHelpers.h"
#include "samples/common/SampleSystem.h"

namespace txs {

namespace {

struct CategoryBit {
  unsigned bit;
  const GUID* catid;
};
const CategoryBit kCategoryBits[] = {
    {kCatComponent, &CATID_CapeComponent},
    {kCatThermoRoutine, &CATID_CapeThermoRoutine},
    {kCatThermoSystem, &CATID_CapeThermoSystem},
    {kCatPropertyPackage, &CATID_CapeThermoPropertyPackage},
    {kCatEquilibriumServer, &CATID_CapeThermoEquilibriumServer},
    {kCatUnitOperation, &CATID_CapeUnitOperation},
    {kCatKineticReactionSystem, &CATID_CapeKineticReactionSystem},
    {kCatKineticReaction, &CATID_CapeKineticReaction},
};

HRESULT fromWin32(LONG result) { return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result); }

HRESULT createKey(HKEY parent, const std::string& path, fw::UniqueHKey& key) {
  return fromWin32(RegCreateKeyExW(parent, wideFromNarrow(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr));
}

// A string value (UTF-8 text, written as UTF-16); a null text writes nothing.
HRESULT setString(HKEY key, const char* name, const char* text) {
  if (!text) return S_OK;
  const std::wstring wideName = name ? wideFromNarrow(name) : std::wstring();
  const std::wstring value = wideFromNarrow(text);
  return fromWin32(RegSetValueExW(key, name ? wideName.c_str() : nullptr, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

// Key 'path' below 'parent' with its default value.
HRESULT setKey(HKEY parent, const std::string& path, const char* defaultValue) {
  fw::UniqueHKey key;
  HRESULT hr = createKey(parent, path, key);
  if (SUCCEEDED(hr)) hr = setString(key.get(), nullptr, defaultValue);
  return hr;
}

HRESULT writeDescription(HKEY parent, const std::string& path, const CapeValues& values) {
  fw::UniqueHKey key;
  HRESULT hr = createKey(parent, path, key);
  for (const CapeValueEntry& entry : capeValueEntries(values)) {
    if (FAILED(hr)) break;
    hr = setString(key.get(), entry.name, entry.text);
  }
  return hr;
}

HRESULT deleteTree(HKEY parent, const std::string& name) {
  return fromWin32(fw::deleteRegistryTree(parent, wideFromNarrow(name)));
}

// Deletes a ProgID key when its CLSID is ours; another server's key of that name stays.
HRESULT deleteProgId(HKEY classes, const char* progId, const std::string& clsid) {
  fw::UniqueHKey key;
  if (RegOpenKeyExW(classes, wideFromNarrow(std::string(progId) + "\\CLSID").c_str(), 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS)
    return S_OK;
  wchar_t value[64] = L"";
  DWORD size = sizeof value - sizeof(wchar_t), type = 0;
  LONG result = RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  key.reset();
  if (result != ERROR_SUCCESS || _wcsicmp(value, wideFromNarrow(clsid).c_str()) != 0) return S_OK;
  return deleteTree(classes, progId);
}

HRESULT registerClass(HKEY classes, const std::string& serverPath, const SampleClass& entry) {
  const ClassInfo& info = *entry.info;
  const std::string clsid = guidText(info.clsid);
  const std::string clsidPath = "CLSID\\" + clsid;
  const char* title = info.values.name ? info.values.name : info.key;

  HRESULT hr = deleteTree(classes, clsidPath);
  if (SUCCEEDED(hr)) hr = setKey(classes, info.progId, title);
  if (SUCCEEDED(hr)) hr = setKey(classes, std::string(info.progId) + "\\CLSID", clsid.c_str());
  if (SUCCEEDED(hr)) hr = setKey(classes, info.viProgId, title);
  if (SUCCEEDED(hr)) hr = setKey(classes, std::string(info.viProgId) + "\\CLSID", clsid.c_str());
  if (SUCCEEDED(hr)) hr = setKey(classes, std::string(info.viProgId) + "\\CurVer", info.progId);
  if (SUCCEEDED(hr)) hr = setKey(classes, clsidPath, title);
  if (SUCCEEDED(hr)) hr = setKey(classes, clsidPath + "\\ProgID", info.progId);
  if (SUCCEEDED(hr)) hr = setKey(classes, clsidPath + "\\VersionIndependentProgID", info.viProgId);
  if (SUCCEEDED(hr) && info.hasServer) {
    fw::UniqueHKey server;
    hr = createKey(classes, clsidPath + "\\InprocServer32", server);
    if (SUCCEEDED(hr)) hr = setString(server.get(), nullptr, serverPath.c_str());
    if (SUCCEEDED(hr)) hr = setString(server.get(), "ThreadingModel", "Apartment");
  }
  for (const CategoryBit& category : kCategoryBits) {
    if (SUCCEEDED(hr) && (info.categories & category.bit))
      hr = setKey(classes, clsidPath + "\\Implemented Categories\\" + guidText(*category.catid), nullptr);
  }
  if (SUCCEEDED(hr) && info.hasDescription)
    hr = writeDescription(classes, clsidPath + "\\CapeDescription", info.values);
  if (SUCCEEDED(hr) && entry.system) {
    std::vector<PackageRegistration> packages;
    registeredPackages(*entry.system, packages);
    for (const PackageRegistration& package : packages) {
      if (FAILED(hr)) break;
      hr = writeDescription(classes, clsidPath + "\\PropertyPackages\\" + package.name + "\\CapeDescription",
                            package.values());
    }
  }
  return hr;
}

// The CAPE-OPEN interfaces' type library (resource 2 of every sample DLL): registering it
// gives HKCR\\Interface the names that hosts and the product's messages show, as the
// CAPE-OPEN type libraries do on a real machine. It is shared like those: the DLL that
// registered it owns it, another DLL's registration or removal leaves it alone (unless its
// owner's file is gone), so removing one sample never takes the names from the others.
HRESULT registerInterfaceNames(const std::string& modulePath, bool add) {
  std::wstring resource = wideFromNarrow(modulePath) + L"\\2";
  fw::ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(resource.c_str(), REGKIND_NONE, library.put());
  if (FAILED(hr)) return hr;
  TLIBATTR* attributes = nullptr;
  hr = library->GetLibAttr(&attributes);
  if (FAILED(hr)) return hr;
  bool ours = false;
  bool owned = false;
  BSTR registered = nullptr;
  if (SUCCEEDED(QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                      attributes->lcid, &registered)) && registered) {
    std::wstring path(registered);
    SysFreeString(registered);
    ours = _wcsicmp(path.c_str(), resource.c_str()) == 0;
    size_t resourcePart = path.rfind(L'\\');
    std::wstring file = resourcePart == std::wstring::npos ? path : path.substr(0, resourcePart);
    owned = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  if (add) {
    hr = ours || !owned ? RegisterTypeLib(library.get(), &resource[0], nullptr) : S_OK;
  } else if (ours) {
    hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                           attributes->syskind);
    if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY) hr = S_OK;
  }
  library->ReleaseTLibAttr(attributes);
  return hr;
}

// The module's file, as UTF-8.
bool moduleFile(HMODULE module, std::string* path) {
  *path = fw::modulePath(module);
  return !path->empty();
}

}  // namespace

HRESULT registerClasses(HMODULE module, const SampleClass* classes, int count) {
  std::string path;
  if (!moduleFile(module, &path)) return HRESULT_FROM_WIN32(GetLastError());
  for (int i = 0; i < count; ++i) {
    HRESULT hr = registerClass(HKEY_CLASSES_ROOT, path, classes[i]);
    if (FAILED(hr)) {
      unregisterClasses(classes, count);
      return SELFREG_E_CLASS;
    }
  }
  return registerInterfaceNames(path, true);
}

HRESULT unregisterClasses(const SampleClass* classes, int count) {
  HRESULT result = S_OK;
  for (int i = 0; i < count; ++i)
    if (FAILED(unregisterClassIn(HKEY_CLASSES_ROOT, *classes[i].info))) result = SELFREG_E_CLASS;
  std::string path;
  if (moduleFile(fw::Module::instance(), &path) && FAILED(registerInterfaceNames(path, false)))
    result = SELFREG_E_TYPELIB;
  return result;
}

HRESULT openClassesRoot(REGSAM view, fw::UniqueHKey& key) {
  return fromWin32(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE | view, nullptr, key.put(), nullptr));
}

HRESULT registerClassIn(HKEY classes, const std::string& serverPath, const ClassInfo& info) {
  return registerClass(classes, serverPath, SampleClass{&info, nullptr, nullptr});
}

HRESULT unregisterClassIn(HKEY classes, const ClassInfo& info) {
  const std::string clsid = guidText(info.clsid);
  HRESULT hr = deleteProgId(classes, info.progId, clsid);
  if (SUCCEEDED(hr)) hr = deleteProgId(classes, info.viProgId, clsid);
  if (SUCCEEDED(hr)) hr = deleteTree(classes, "CLSID\\" + clsid);
  return hr;
}

HRESULT setStringValue(HKEY classes, const std::string& key, const char* name, const std::string& text) {
  fw::UniqueHKey handle;
  HRESULT hr = createKey(classes, key, handle);
  return SUCCEEDED(hr) ? setString(handle.get(), name, text.c_str()) : hr;
}

}  // namespace txs
