// A GUID in registry form: upper case, in braces ("{B086B465-F0EA-11D2-9710-00A0C98C26CE}").
#pragma once
#include <windows.h>
#include <objbase.h>
#include <string>
#include "framework/WideText.h"

inline std::wstring guidWideText(REFGUID guid) {
  wchar_t text[40] = {};
  return StringFromGUID2(guid, text, 40) > 0 ? std::wstring(text) : std::wstring();
}

inline std::string guidText(REFGUID guid) { return narrowFromWide(guidWideText(guid)); }
