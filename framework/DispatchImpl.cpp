#include "framework/DispatchImpl.h"
#include <oleauto.h>
#include "framework/Module.h"

namespace fw {

namespace {

struct CachedInfo {
  IID iid;
  ITypeInfo* info;
};

// One entry per dual interface of the module; ours has one. Filled and read only on the
// host's one user-interface thread (the class is apartment threaded), so it takes no lock.
CachedInfo g_cache[4];
int g_cacheCount = 0;

HRESULT loadLibrary(REFGUID libid, WORD major, WORD minor, ITypeLib** lib) {
  // The library is registered with locale 0x409; Wine finds it only under that locale.
  HRESULT hr = LoadRegTypeLib(libid, major, minor, 0x409, lib);
  if (SUCCEEDED(hr)) return hr;
  hr = LoadRegTypeLib(libid, major, minor, LOCALE_USER_DEFAULT, lib);
  if (SUCCEEDED(hr)) return hr;
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(Module::instance(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TYPE_E_CANTLOADLIBRARY;
  return LoadTypeLibEx(path, REGKIND_NONE, lib);
}

}  // namespace

HRESULT loadTypeInfo(REFGUID libid, WORD major, WORD minor, REFIID iid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  for (int i = 0; i < g_cacheCount; ++i) {
    if (IsEqualIID(g_cache[i].iid, iid)) {
      *info = g_cache[i].info;
      (*info)->AddRef();
      return S_OK;
    }
  }
  ITypeLib* lib = nullptr;
  HRESULT hr = loadLibrary(libid, major, minor, &lib);
  if (FAILED(hr)) return hr;
  ITypeInfo* found = nullptr;
  hr = lib->GetTypeInfoOfGuid(iid, &found);
  lib->Release();
  if (FAILED(hr)) return hr;
  if (g_cacheCount < static_cast<int>(sizeof(g_cache) / sizeof(g_cache[0]))) {
    g_cache[g_cacheCount].iid = iid;
    g_cache[g_cacheCount].info = found;
    found->AddRef();
    ++g_cacheCount;
  }
  *info = found;
  return S_OK;
}

void releaseTypeInfoCache() {
  for (int i = 0; i < g_cacheCount; ++i) {
    if (g_cache[i].info) g_cache[i].info->Release();
    g_cache[i].info = nullptr;
  }
  g_cacheCount = 0;
}

}  // namespace fw
