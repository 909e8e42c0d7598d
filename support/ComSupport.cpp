// The conversions of the compiler's COM support library that MinGW does not ship.
// Narrow text is in the ANSI code page; null in gives null out. _bstr_t frees the
// narrow text with delete[].
#ifndef _MSC_VER  // MSVC ships these in its COM support library (comsuppw.lib)
#include <windows.h>
#include <comdef.h>
#include <new>
#include "framework/ComPtr.h"

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* source) {
  if (!source) return nullptr;
  int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
  if (length <= 0) _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (!result) _com_issue_error(E_OUTOFMEMORY);
  MultiByteToWideChar(CP_ACP, 0, source, -1, result, length);
  return result;
}

char* WINAPI ConvertBSTRToString(BSTR source) {
  if (!source) return nullptr;
  int wideLength = static_cast<int>(SysStringLen(source));
  int length = WideCharToMultiByte(CP_ACP, 0, source, wideLength, nullptr, 0, nullptr, nullptr);
  if (length < 0) length = 0;
  char* result = new (std::nothrow) char[static_cast<unsigned int>(length) + 1u];
  if (!result) _com_issue_error(E_OUTOFMEMORY);
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, source, wideLength, result, length, nullptr, nullptr);
  result[length] = '\0';
  return result;
}

}  // namespace _com_util

// Raises the COM error of a failed call on punk, with the error information that the
// object set for riid when it says it supports it.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid) {
  IErrorInfo* info = nullptr;  // handed to the raised error, which owns it
  fw::ComPtr<ISupportErrorInfo> support;
  if (punk && SUCCEEDED(punk->QueryInterface(IID_PPV_ARGS(support.put()))) && support) {
    if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &info) != S_OK) info = nullptr;
  }
  support.reset();
  _com_raise_error(hr, info);
}

#endif  // _MSC_VER
