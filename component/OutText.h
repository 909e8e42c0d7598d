// Filling [out] BSTR parameters from the object's narrow texts.
#pragma once
#include <windows.h>
#include <string>
#include "support/CTxBSTR.h"
#include "framework/WideText.h"

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
