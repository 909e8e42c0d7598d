// State and entry points shared by every sample DLL: the live-object count, the call
// log, the class table that each DLL supplies, and its registration.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <string>
#include "framework/ClassFactory.h"
#include "samples/common/SampleIds.h"

namespace txs {

struct SystemTraits;

// One class served by a DLL. createFactory is null for a class registered without a
// server; system is set for property systems, whose packages are registered too.
struct SampleClass {
  const ClassInfo* info;
  HRESULT (*createFactory)(IClassFactory** factory);
  const SystemTraits* system;
};

// Supplied by each DLL.
const SampleClass* sampleClasses(int* count);

// Class object of an ObjectRoot class T.
template <class T>
HRESULT createFactory(IClassFactory** factory) {
  auto* created = new (std::nothrow) fw::ClassFactory<T>();
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  *factory = created;
  return S_OK;
}

// Counts one live sample object for as long as it exists.
class LiveObject {
 public:
  LiveObject();
  ~LiveObject();
  LiveObject(const LiveObject&) = delete;
  LiveObject& operator=(const LiveObject&) = delete;
};

LONG liveObjects();

// Appends "<object>.<method>" or "<object>.<method>(<arguments>)" to the call log.
void logCall(const std::string& object, const char* method, const std::string& arguments = std::string());
std::string callLogText();
void clearCallLog();

// Milliseconds after which an Edit window closes itself; 0 waits for the user.
DWORD editAutoClose();
void setEditAutoClose(DWORD milliseconds);

// Windows of the DLL that are open (they keep it loaded).
void windowOpened();
void windowClosed();
LONG openWindows();

}  // namespace txs
