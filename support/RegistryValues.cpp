// String values under HKEY_CLASSES_ROOT and the registered names of interfaces.
#include "support/Utils.h"
#include <vector>
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "support/MTUtils.h"

std::string GetRegPath(const char* keyPath, const char* valueName) {
  try {
    fw::UniqueHKey key;
    if (!keyPath || RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
      return std::string();
    return GetRegValue(key.get(), valueName);
  } catch (...) {
    MTUtils::reportError(MTUtils::kInternalError, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
    return std::string();
  }
}

std::string GetRegValue(HKEY key, const char* valueName) {
  const DWORD kTaken = 2047;
  try {
    if (!key) return std::string();
    const char* name = valueName && *valueName ? valueName : nullptr;
    std::vector<char> data(kTaken + 1);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    // A longer value does not fit: read it whole, then keep its first 2047 bytes.
    for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 4; ++attempt) {
      data.assign(static_cast<size_t>(size) + 1, '\0');
      size = static_cast<DWORD>(data.size());
      status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
      return std::string();
    // The stored bytes need not end with a zero.
    size_t length = size < data.size() ? size : data.size();
    if (length > kTaken) length = kTaken;
    return std::string(data.data(), strnlen(data.data(), length));
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
