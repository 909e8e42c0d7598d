// Self-registration of the sample classes under HKEY_CLASSES_ROOT, and its undoing.
#pragma once
#include <windows.h>
#include <string>
#include "samples/common/SampleModule.h"

namespace txs {

// Registers every class of the table with 'module' as its in-process server, replacing
// what an earlier registration of the same CLSIDs left.
HRESULT registerClasses(HMODULE module, const SampleClass* classes, int count);
// Removes every key that registerClasses writes; ProgID keys only while they still name
// our CLSID.
HRESULT unregisterClasses(const SampleClass* classes, int count);

// Registry form of a GUID: braces, upper-case hexadecimal digits.
std::string guidText(REFGUID guid);

}  // namespace txs
