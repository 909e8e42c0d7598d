// Self-registration of the sample classes under HKEY_CLASSES_ROOT, and its undoing.
#pragma once
#include <windows.h>
#include <string>
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "samples/common/SampleModule.h"

namespace txs {

// Registers every class of the table with 'module' as its in-process server, replacing
// what an earlier registration of the same CLSIDs left, and the CAPE-OPEN interfaces' type
// library that the module carries.
HRESULT registerClasses(HMODULE module, const SampleClass* classes, int count);
// Removes every key that registerClasses writes; ProgID keys only while they still name
// our CLSID.
HRESULT unregisterClasses(const SampleClass* classes, int count);

// The classes root of one registry view (0, KEY_WOW64_64KEY or KEY_WOW64_32KEY), for
// writing: HKLM\Software\Classes as a host of that bitness sees it.
HRESULT openClassesRoot(REGSAM view, fw::UniqueHKey& key);
// One class with 'serverPath' as its in-process server, below 'classes'; and its removal.
HRESULT registerClassIn(HKEY classes, const std::string& serverPath, const ClassInfo& info);
HRESULT unregisterClassIn(HKEY classes, const ClassInfo& info);
// A string value of a key below 'classes', made when missing.
HRESULT setStringValue(HKEY classes, const std::string& key, const char* name, const std::string& text);

}  // namespace txs
