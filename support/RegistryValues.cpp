// String values under HKEY_CLASSES_ROOT and the registered names of interfaces.
#include "support/Utils.h"
#include <vector>
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "support/MTUtils.h"

std::string GetRegPath(const char* keyPath, const char* valueName) {
  try {
    fw::UniqueHKey key;
    if (!keyPath || RegOpenKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(keyPath).c_str(), 0, KEY_READ, key.put()) !=
                        ERROR_SUCCESS)
      return std::string();
    return GetRegValue(key.get(), valueName);
  } catch (...) {
    MTUtils::reportError(MTUtils::kInternalError, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
    return std::string();
  }
}

std::string GetRegValue(HKEY key, const char* valueName) {
  const size_t kTaken = 2047;  // bytes of narrow text
  try {
    if (!key) return std::string();
    std::wstring name = valueName ? wideFromNarrow(valueName) : std::wstring();
    const wchar_t* wideName = name.empty() ? nullptr : name.c_str();
    std::vector<wchar_t> data(kTaken + 1);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key, wideName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    // A longer value does not fit: read it whole, then keep its first 2047 bytes.
    for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 4; ++attempt) {
      data.assign(size / sizeof(wchar_t) + 1, L'\0');
      size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
      status = RegQueryValueExW(key, wideName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
      return std::string();
    // The stored characters need not end with a zero; the text ends at the first one.
    size_t length = size / sizeof(wchar_t);
    if (length > data.size()) length = data.size();
    length = wcsnlen(data.data(), length);
    std::string text = narrowFromWide(data.data(), static_cast<int>(length));
    cutNarrow(text, kTaken);  // never half a character
    return text;
  } catch (...) {
    MTUtils::reportError(MTUtils::kInternalError, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
    return std::string();
  }
}

HRESULT Utils::interfaceName(REFIID iid, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  try {
    std::string key = "Interface\\" + guidText(iid);
    CTxBSTR value(GetRegPath(key.c_str(), "").c_str());
    *name = value.copy();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return *name ? S_OK : E_OUTOFMEMORY;
}
