// Filling [out] BSTR parameters from the object's narrow texts.
#pragma once
#include <windows.h>
#include <string>
#include "support/CTxBSTR.h"

// A fresh BSTR with 'text'; a null BSTR for empty text when 'nullWhenEmpty'.
inline HRESULT outText(BSTR* out, const std::string& text, bool nullWhenEmpty) {
  if (!out) return E_POINTER;
  if (text.empty() && nullWhenEmpty) {
    *out = nullptr;
    return S_OK;
  }
  *out = CTxBSTR(text.c_str()).copy();
  return S_OK;
}

// Narrow text of a BSTR argument; a null BSTR is empty text.
inline std::string narrowText(BSTR value) {
  if (!value) return std::string();
  CTxBSTR text(static_cast<const wchar_t*>(value));
  const char* narrow = static_cast<const char*>(text);
  return narrow ? std::string(narrow) : std::string();
}
