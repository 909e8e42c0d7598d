// The DLL's exported functions and its class table (one class, CCAPEGUI).
#include <windows.h>
#include <objbase.h>
#include "component/CCAPEGUI.h"
#include "framework/ClassFactory.h"
#include "framework/ComPtr.h"
#include "framework/DispatchImpl.h"
#include "framework/Module.h"
#include "registration/Registration.h"

namespace {

// The class object is created on first use and kept for the life of the module. Like all
// of the DLL's process-wide state it is touched only from the host's one user-interface
// thread (the class is registered as apartment threaded), so it takes no lock.
fw::ComPtr<IClassFactory> g_classFactory;

HRESULT classFactory(IClassFactory** factory) {
  if (!g_classFactory) {
    g_classFactory = new (std::nothrow) fw::ClassFactory<CCCAPEGUI>();
    if (!g_classFactory) return E_OUTOFMEMORY;
  }
  *factory = g_classFactory.get();
  return S_OK;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    fw::Module::setInstance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary (not at process end): give back the cached objects.
    g_classFactory.reset();
    fw::releaseTypeInfoCache();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  try {
    if (!IsEqualCLSID(clsid, CLSID_CCAPEGUI)) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = nullptr;
    HRESULT hr = classFactory(&factory);
    if (FAILED(hr)) return hr;
    return fw::queryInterface(factory, riid, ppv);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllCanUnloadNow() {
  return fw::Module::lockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  try {
    return registerServer(fw::Module::instance());
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllUnregisterServer() {
  try {
    return unregisterServer(fw::Module::instance());
  } catch (...) {
    return E_UNEXPECTED;
  }
}
