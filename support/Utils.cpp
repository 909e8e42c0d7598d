#include "support/Utils.h"
#include "framework/GuidText.h"
#include <cwchar>
#include <cstdio>
#include <vector>
#include "framework/Raii.h"
#include "support/MTUtils.h"
#include "support/ResultText.h"

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

std::string className(REFCLSID clsid) {
  fw::CoTaskMem<wchar_t> progId;
  if (SUCCEEDED(ProgIDFromCLSID(clsid, progId.put())) && progId.get() && *progId.get()) return narrowFromWide(progId.get());
  return Utils::guidText(clsid);
}

std::string interfaceText(REFIID iid) {
  BSTR name = nullptr;
  HRESULT hr = Utils::interfaceName(iid, &name);
  CTxBSTR owner;
  owner.Attach(name);
  // An interface that is not registered is named by the empty text; only a lookup that
  // fails falls back to the IID.
  return SUCCEEDED(hr) ? narrowFromWide(name) : Utils::guidText(iid);
}

void reportCreationFailure(REFCLSID clsid, DWORD context, REFIID iid, HRESULT code) {
  try {
    std::string iface = interfaceText(iid);
    std::string cls = className(clsid);
    std::vector<char> line(iface.size() + cls.size() + 80);
    snprintf(line.data(), line.size(), "Error creating interface '%s' for class '%s' context %d", iface.c_str(),
             cls.c_str(), static_cast<int>(context));
    traceToTempFile(line.data());
    showSystemError(line.data(), code);
  } catch (...) {
    showSystemError("Error creating interface", code);
  }
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
    char value[260] = "";
    GetPrivateProfileStringA(group, key, "", value, sizeof value, file.c_str());
    value[sizeof value - 1] = '\0';
    if (!value[0]) return std::string();
    CTxBSTR wide(value);
    return narrowFromWide(trimTrailingBlanks(wide.GetBSTR()).GetBSTR());
  } catch (...) {
    return std::string();
  }
}

std::string GetRegPath(const char* keyPath, const char* valueName) {
  try {
    fw::UniqueHKey key;
    if (!keyPath || RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
      return std::string();
    return GetRegValue(key.get(), valueName);
  } catch (...) {
    MTUtils::reportError(100, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
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
    MTUtils::reportError(100, "Unexpected error in GetRegPath. ", nullptr, nullptr, true);
    return std::string();
  }
}

HRESULT Utils::interfaceName(REFIID iid, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  fw::CoTaskMem<wchar_t> text;
  HRESULT hr = StringFromIID(iid, text.put());
  if (FAILED(hr)) return MTUtils::reportError(hr, "Unexpected error ", nullptr, nullptr, true);
  try {
    std::string key = "Interface\\" + narrowFromWide(text.get());
    CTxBSTR value(GetRegPath(key.c_str(), "").c_str());
    *name = value.copy();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT Utils::createInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object,
                              const wchar_t* computer) {
  if (!object) return E_POINTER;
  *object = nullptr;
  HRESULT hr = S_OK;
  if (computer && *computer) {
    COSERVERINFO server = {};
    server.pwszName = const_cast<wchar_t*>(computer);
    MULTI_QI query = {&iid, nullptr, S_OK};
    hr = CoCreateInstanceEx(clsid, outer, context, &server, 1, &query);
    if (SUCCEEDED(hr)) hr = query.hr;
    if (SUCCEEDED(hr) && query.pItf) {
      *object = query.pItf;
    } else {
      if (query.pItf) query.pItf->Release();
      if (SUCCEEDED(hr)) hr = E_NOINTERFACE;
    }
  } else {
    hr = CoCreateInstance(clsid, outer, context, iid, object);
    // Some systems refuse the remote context for a local creation.
    if (hr == E_INVALIDARG && (context & CLSCTX_REMOTE_SERVER))
      hr = CoCreateInstance(clsid, outer, context & ~static_cast<DWORD>(CLSCTX_REMOTE_SERVER), iid, object);
  }
  if (FAILED(hr)) {
    *object = nullptr;
    reportCreationFailure(clsid, context, iid, hr);
  }
  return hr;
}
