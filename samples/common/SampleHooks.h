// What tests reach in the sample DLLs besides CAPE-OPEN: the exported hooks (live
// objects, call log, Edit window auto-close, host container factory) and two custom
// in-process interfaces, ISampleData (persisted data of the persistence units) and
// ISampleHostControl (the host container's set-up). Header only.
//
// Call log: one entry per call, "<object>.<Method>" or "<object>.<Method>(<arguments>)".
// <object> is the class's ClassInfo::key (SampleIds.h); a package made by a property
// system is "<system key>:<package name>"; the container's helpers are "HostContext" and
// "MessageLog". Entries (arguments in parentheses):
//   Initialize, Terminate, Edit, put_simulationContext, get_parameters,
//   GetPropertyPackages, ResolvePropertyPackage(<name>),
//   GetPhaseList, GetComponentList, GetPropList and the other package methods by name,
//   InitNew, Load, Save(<fClearDirty or fSameAsLoad>), SaveCompleted, HandsOffStorage,
//   IsDirty, GetSizeMax, GetClassID,
//   HostContainer.QueryInterface(ExtnContainer | ExtnContainerUnit),
//   HostContainer.GetStorage(<mode>), HostContainer.GetHostContext,
//   HostContext.GetMessageLog, MessageLog.Prepare(<value>),
//   HostContainer.AddMessage(<message>,<value>), reserved slots as "Slot<position>".
#pragma once
#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <sstream>
#include <string>
#include <vector>
#include "framework/GuidText.h"
#include "samples/common/SampleIds.h"

extern "C" {
typedef LONG(WINAPI* SampleLiveObjectsFn)();
// Copies the log, entries separated by '\n', into buffer (NUL-terminated, cut to size);
// returns the full length without the NUL.
typedef int(WINAPI* SampleCallLogFn)(char* buffer, int size);
typedef void(WINAPI* SampleClearCallLogFn)();
// 0: the Edit window waits for the user; otherwise it closes itself after that many ms.
typedef void(WINAPI* SampleSetEditAutoCloseFn)(DWORD milliseconds);
// A new host container over 'file' (opened when it exists, else created; null: a
// compound file in memory) with the failures of ISampleHostControl::SetFailures.
typedef HRESULT(WINAPI* SampleCreateHostContainerFn)(const wchar_t* file, DWORD failures, IDispatch** container);
}

// {9D755BB4-B4CD-4DEC-B139-0260C0339E73}: the persisted data of a persistence unit.
MIDL_INTERFACE("9D755BB4-B4CD-4DEC-B139-0260C0339E73")
ISampleData : public IUnknown {
  STDMETHOD(SetData)(LPCWSTR text, double number) PURE;
  STDMETHOD(GetData)(BSTR * text, double* number) PURE;
};
inline constexpr IID IID_ISampleData = {0x9D755BB4, 0xB4CD, 0x4DEC, {0xB1, 0x39, 0x02, 0x60, 0xC0, 0x33, 0x9E, 0x73}};

// Failures the host container can be told to show.
enum SampleHostFailure : DWORD {
  hostFailGetStorage = 0x1,          // GetStorage (method 20) fails with E_FAIL
  hostNoStorage = 0x2,               // GetStorage answers S_OK with an empty VARIANT
  hostStorageWithoutIStorage = 0x4,  // ... with an object that lacks IStorage
  hostStorageAsDispatch = 0x8,       // ... with the storage typed VT_DISPATCH
  hostFailHostContext = 0x10,        // method 11 fails
  hostFailMessageLog = 0x20,         // A's method 33 fails
  hostFailPrepare = 0x40,            // B's method 21 fails
  hostFailAddMessage = 0x80,         // method 12 fails
  hostRefuseContainerIid = 0x100,    // no IID_ExtnContainer
  hostRefuseUnitIid = 0x200,         // no IID_ExtnContainerUnit
  hostStorageByReference = 0x400,    // the storage as VT_BYREF | VT_UNKNOWN to a pointer the host keeps
};

// {9C632F96-1F0E-4196-BA25-C7C531BE8137}: the set-up of the sample host container.
// Each component's storage is the sub-storage of the case file named by
// SetComponentName ("Component" by default): GetStorage(0x12) creates it anew,
// GetStorage(0x10) opens it with that mode (creating it when missing).
MIDL_INTERFACE("9C632F96-1F0E-4196-BA25-C7C531BE8137")
ISampleHostControl : public IUnknown {
  // The case file: created (replacing a file of that name) or opened read-write.
  STDMETHOD(OpenFile)(LPCWSTR path, BOOL create) PURE;
  // Releases the case file so that it can be opened again.
  STDMETHOD(CloseFile)() PURE;
  STDMETHOD(SetComponentName)(LPCWSTR name) PURE;
  STDMETHOD(SetFailures)(DWORD failures) PURE;
  // The case file's root storage (opened in memory on first use when no file was given).
  STDMETHOD(GetRootStorage)(IStorage * *root) PURE;
  // Another container over the same case file, for the component whose sub-storage is
  // 'name' (one container per component, as a host gives them); no failures set.
  STDMETHOD(AddComponent)(LPCWSTR name, IDispatch * *container) PURE;
};
inline constexpr IID IID_ISampleHostControl = {
    0x9C632F96, 0x1F0E, 0x4196, {0xBA, 0x25, 0xC7, 0xC5, 0x31, 0xBE, 0x81, 0x37}};
inline constexpr wchar_t kDefaultComponentStorage[] = L"Component";

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ISampleData, 0x9D755BB4, 0xB4CD, 0x4DEC, 0xB1, 0x39, 0x02, 0x60, 0xC0, 0x33, 0x9E, 0x73)
__CRT_UUID_DECL(ISampleHostControl, 0x9C632F96, 0x1F0E, 0x4196, 0xBA, 0x25, 0xC7, 0xC5, 0x31, 0xBE, 0x81, 0x37)
#endif

namespace txs {

// Readers of the hooks of a loaded sample DLL (dll: kThermoDll ...). A DLL that is not
// loaded has no live objects and an empty log.
inline FARPROC sampleHook(const char* dll, const char* hook) {
  HMODULE module = GetModuleHandleW(wideFromNarrow(dll).c_str());
  return module ? GetProcAddress(module, hook) : nullptr;
}

inline LONG sampleLiveObjects(const char* dll) {
  auto fn = reinterpret_cast<SampleLiveObjectsFn>(sampleHook(dll, kHookLiveObjects));
  return fn ? fn() : 0;
}

inline std::vector<std::string> sampleCallLog(const char* dll) {
  std::vector<std::string> entries;
  auto fn = reinterpret_cast<SampleCallLogFn>(sampleHook(dll, kHookCallLog));
  if (!fn) return entries;
  int length = fn(nullptr, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  fn(&text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) entries.push_back(line);
  return entries;
}

// Loads the DLL that serves 'info' (from its registered InprocServer32) and keeps it
// loaded until FreeLibrary, so that its call log outlives CoFreeUnusedLibraries.
inline HMODULE pinSampleDll(const ClassInfo& info) {
  const std::wstring key = L"CLSID\\" + guidWideText(info.clsid) + L"\\InprocServer32";
  wchar_t path[MAX_PATH] = L"";
  LONG size = sizeof path;
  if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), path, &size) != ERROR_SUCCESS) return nullptr;
  return LoadLibraryW(path);
}

inline void clearSampleCallLog(const char* dll) {
  auto fn = reinterpret_cast<SampleClearCallLogFn>(sampleHook(dll, kHookClearCallLog));
  if (fn) fn();
}

inline void setSampleEditAutoClose(const char* dll, DWORD milliseconds) {
  auto fn = reinterpret_cast<SampleSetEditAutoCloseFn>(sampleHook(dll, kHookEditAutoClose));
  if (fn) fn(milliseconds);
}

}  // namespace txs
