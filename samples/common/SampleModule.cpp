// Entry points of a sample DLL. Every sample DLL links this file and supplies its
// class table through sampleClasses(); its .def file exports the functions below.
#include "samples/common/SampleModule.h"
#include <objbase.h>
#include <cstring>
#include <vector>
#include "framework/ComPtr.h"
#include "framework/DispatchImpl.h"
#include "framework/Module.h"
#include "samples/common/SampleRegistry.h"

namespace txs {

namespace {
LONG g_liveObjects = 0;
LONG g_openWindows = 0;
DWORD g_editAutoClose = 0;
// Apartment-threaded objects: only the thread that created them calls them, but tests may
// read the log from another thread, so it is locked.
CRITICAL_SECTION g_logLock;
std::vector<std::string> g_log;

class LogLock {
 public:
  LogLock() { EnterCriticalSection(&g_logLock); }
  ~LogLock() { LeaveCriticalSection(&g_logLock); }
  LogLock(const LogLock&) = delete;
  LogLock& operator=(const LogLock&) = delete;
};
}  // namespace

LiveObject::LiveObject() { InterlockedIncrement(&g_liveObjects); }
LiveObject::~LiveObject() { InterlockedDecrement(&g_liveObjects); }
LONG liveObjects() { return g_liveObjects; }

void logCall(const std::string& object, const char* method, const std::string& arguments) {
  try {
    std::string entry = object + "." + method;
    if (!arguments.empty()) entry += "(" + arguments + ")";
    LogLock lock;
    g_log.push_back(entry);
  } catch (...) {
    // A log entry that cannot be allocated is lost; the call itself goes on.
  }
}

std::string callLogText() {
  std::string text;
  LogLock lock;
  for (const std::string& entry : g_log) {
    if (!text.empty()) text += '\n';
    text += entry;
  }
  return text;
}

void clearCallLog() {
  LogLock lock;
  g_log.clear();
}

DWORD editAutoClose() { return g_editAutoClose; }
void setEditAutoClose(DWORD milliseconds) { g_editAutoClose = milliseconds; }

void windowOpened() { InterlockedIncrement(&g_openWindows); }
void windowClosed() { InterlockedDecrement(&g_openWindows); }
LONG openWindows() { return g_openWindows; }

}  // namespace txs

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    fw::Module::setInstance(instance);
    DisableThreadLibraryCalls(instance);
    InitializeCriticalSection(&txs::g_logLock);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    fw::releaseTypeInfoCache();
    DeleteCriticalSection(&txs::g_logLock);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  try {
    int count = 0;
    const txs::SampleClass* classes = txs::sampleClasses(&count);
    for (int i = 0; i < count; ++i) {
      if (!IsEqualCLSID(clsid, classes[i].info->clsid) || !classes[i].createFactory) continue;
      IClassFactory* factory = nullptr;
      HRESULT hr = classes[i].createFactory(&factory);
      if (FAILED(hr)) return hr;
      hr = fw::queryInterface(factory, riid, ppv);
      factory->Release();
      return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllCanUnloadNow() { return fw::Module::lockCount() == 0 && txs::openWindows() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  try {
    int count = 0;
    const txs::SampleClass* classes = txs::sampleClasses(&count);
    return txs::registerClasses(fw::Module::instance(), classes, count);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllUnregisterServer() {
  try {
    int count = 0;
    const txs::SampleClass* classes = txs::sampleClasses(&count);
    return txs::unregisterClasses(classes, count);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// --- Test hooks ---

extern "C" LONG WINAPI SampleLiveObjects() { return txs::liveObjects(); }

extern "C" int WINAPI SampleCallLog(char* buffer, int size) {
  try {
    std::string text = txs::callLogText();
    if (buffer && size > 0) {
      size_t n = text.size() < static_cast<size_t>(size - 1) ? text.size() : static_cast<size_t>(size - 1);
      memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
    }
    return static_cast<int>(text.size());
  } catch (...) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
}

extern "C" void WINAPI SampleClearCallLog() { txs::clearCallLog(); }

extern "C" void WINAPI SampleSetEditAutoClose(DWORD milliseconds) { txs::setEditAutoClose(milliseconds); }
