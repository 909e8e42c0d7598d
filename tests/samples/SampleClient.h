// Client-side helpers for the tests of the sample components: creation by ProgID, COM
// error information, and readers of the SAFEARRAY lists they hand out.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>
#include <vector>
#include "framework/ComPtr.h"
#include "samples/common/SampleHooks.h"
#include "samples/common/SampleIds.h"

namespace txt {

// CoCreateInstance of a sample class by its ProgID, asking for riid.
HRESULT create(const txs::ClassInfo& info, REFIID riid, void** out);
template <class T>
HRESULT create(const txs::ClassInfo& info, REFIID riid, fw::ComPtr<T>& out) {
  return create(info, riid, out.put_void());
}

// Description of the thread's COM error information ("" when none), consumed.
std::string errorDescription();

// The elements of a one-dimensional array VARIANT, as texts or numbers. The bounds are
// returned too; a VARIANT of the wrong type gives nothing and false.
bool readStrings(const VARIANT& list, std::vector<std::string>* items, LONG* lowerBound = nullptr);
bool readDoubles(const VARIANT& list, std::vector<double>* items, LONG* lowerBound = nullptr);

// Entries of a sample DLL's call log that start with 'prefix'.
std::vector<std::string> logEntries(const char* dll, const std::string& prefix);

// A fresh file path in the temporary folder (the file does not exist).
std::wstring tempFile(const wchar_t* name);

// Snapshot of every registry key and value that a class's registration owns.
std::vector<std::string> registrationSnapshot(HKEY root, const txs::ClassInfo& info);

// Interfaces of the probe table that the object answers with S_OK.
std::vector<std::string> answeredProbes(IUnknown* object);

}  // namespace txt
