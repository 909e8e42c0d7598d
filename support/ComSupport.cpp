// The conversions of the compiler's COM support library that MinGW does not ship.
// Narrow text is UTF-8 (framework/WideText.h); null in gives null out. _bstr_t frees the
// narrow text with delete[].
#ifndef _MSC_VER  // MSVC ships these in its COM support library (comsuppw.lib)
#include <windows.h>
#include <comdef.h>
#include <cstring>
#include <new>
#include <string>
#include "framework/ComPtr.h"
#include "framework/WideText.h"

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* source) {
  if (!source) return nullptr;
  std::wstring wide;
  try {
    wide = wideFromNarrow(source);
  } catch (const std::bad_alloc&) {
    _com_issue_error(E_OUTOFMEMORY);
  }
  BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!result) _com_issue_error(E_OUTOFMEMORY);
  return result;
}

char* WINAPI ConvertBSTRToString(BSTR source) {
  if (!source) return nullptr;
  std::string narrow;
  try {
    narrow = narrowFromWide(source, static_cast<int>(SysStringLen(source)));
  } catch (const std::bad_alloc&) {
    _com_issue_error(E_OUTOFMEMORY);
  }
  char* result = new (std::nothrow) char[narrow.size() + 1];
  if (!result) _com_issue_error(E_OUTOFMEMORY);
  memcpy(result, narrow.data(), narrow.size());
  result[narrow.size()] = '\0';
  return result;
}

}  // namespace _com_util

// Raises the COM error of a failed call on punk, with the error information that the
// object set for riid when it says it supports it.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid) {
  IErrorInfo* info = nullptr;  // handed to the raised error, which owns it
  fw::ComPtr<ISupportErrorInfo> support;
  if (SUCCEEDED(support.queryFrom(punk, IID_ISupportErrorInfo))) {
    if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &info) != S_OK) info = nullptr;
  }
  support.reset();
  _com_raise_error(hr, info);
}

#endif  // _MSC_VER
