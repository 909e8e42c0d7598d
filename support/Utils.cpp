#include "support/Utils.h"
#include <cwchar>
#include "framework/GuidText.h"
#include "framework/WideText.h"
#include "support/MTUtils.h"

namespace {

size_t wideLength(BSTR text) {
  return text ? wcslen(text) : 0;
}

bool sameLetter(wchar_t a, wchar_t b) {
  if (a == b) return true;
  if (a >= L'a' && a <= L'z') return b == a - L'a' + L'A';
  if (b >= L'a' && b <= L'z') return a == b - L'a' + L'A';
  return false;
}

}  // namespace

std::string Utils::guidText(REFGUID guid) { return ::guidText(guid); }

bool Utils::equalNoCase(BSTR a, BSTR b) {
  if (!a || !b) return wideLength(a) == 0 && wideLength(b) == 0;
  size_t length = wcslen(a);
  if (wcslen(b) != length) return false;
  for (size_t i = 0; i < length; ++i)
    if (!sameLetter(a[i], b[i])) return false;
  return true;
}

int Utils::findNoCase(BSTR text, BSTR part) {
  size_t textLength = wideLength(text);
  size_t partLength = wideLength(part);
  if (partLength == 0) return 0;
  if (partLength > textLength) return -1;
  for (size_t start = 0; start + partLength <= textLength; ++start)
    if (_wcsnicmp(text + start, part, partLength) == 0) return static_cast<int>(start);
  return -1;
}

bool Utils::containsNoCase(BSTR text, BSTR part) {
  return findNoCase(text, part) > -1;
}

CTxBSTR Utils::trimTrailingBlanks(BSTR text) {
  if (!text) return CTxBSTR();
  const wchar_t* blank = wcschr(text, L' ');
  if (!blank) return CTxBSTR(text);
  for (const wchar_t* rest = blank; *rest; ++rest)
    if (*rest != L' ') return CTxBSTR(text);
  CTxBSTR trimmed;
  trimmed.Attach(SysAllocStringLen(text, static_cast<UINT>(blank - text)));
  if (!trimmed) _com_issue_error(E_OUTOFMEMORY);
  return trimmed;
}

std::string Utils::readIniValue(const char* key, const char* section, const char* path) {
  if (!key || !*key) return std::string();  // a null key would list every key of the section
  try {
    std::string file = path ? path : "";
    if (file.empty()) {
      std::string folder = MTUtils::getDllDirectory();
      if (folder.empty()) return std::string();  // not a file at the root of the current drive
      file = folder + "\\" + MTUtils::getModuleName() + ".ini";
    }
    const char* group = section && *section ? section : "general";
    wchar_t value[260] = L"";
    GetPrivateProfileStringW(wideFromNarrow(group).c_str(), wideFromNarrow(key).c_str(), L"", value, 260,
                             wideFromNarrow(file).c_str());
    value[259] = L'\0';
    if (!value[0]) return std::string();
    CTxBSTR wide(value);
    return narrowFromWide(trimTrailingBlanks(wide.GetBSTR()).GetBSTR());
  } catch (...) {
    return std::string();
  }
}
