// Small COM helpers of the samples: error information, BSTR copies and the
// SAFEARRAYs that CAPE-OPEN lists travel in.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>
#include <vector>
#include "framework/WideText.h"

namespace txs {

// Sets the thread's COM error information (source kErrorSource) and returns 'code'.
HRESULT failWith(HRESULT code, const wchar_t* description, REFIID iid);

// A new BSTR of 'text' into *out: E_POINTER without 'out', E_OUTOFMEMORY (never a C++
// exception) when it cannot be made.
HRESULT copyText(const std::string& text, BSTR* out);

// One-dimensional arrays into an uninitialised or cleared VARIANT, lower bound as given.
HRESULT makeStringArray(const std::vector<std::string>& items, LONG lowerBound, VARIANT* out);
HRESULT makeDoubleArray(const std::vector<double>& values, LONG lowerBound, VARIANT* out);
HRESULT makeLongArray(const std::vector<LONG>& values, VARIANT* out);
// VT_ARRAY | VT_VARIANT, each element a VT_BSTR.
HRESULT makeVariantStringArray(const std::vector<std::string>& items, VARIANT* out);
// VT_ARRAY | VT_BSTR of rows x columns; items[k] at indices {k % rows, k / rows}.
HRESULT makeStringMatrix(const std::vector<std::string>& items, LONG rows, LONG columns, VARIANT* out);

}  // namespace txs
