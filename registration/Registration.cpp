#include "registration/Registration.h"
#include <oleauto.h>
#include <string>
#include "framework/ComPtr.h"
#include "framework/Registrar.h"
#include "framework/WideText.h"
#include "resources/resource.h"

namespace {

// The module's full path, empty when it cannot be had.
std::wstring modulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return std::wstring(path, length);
}

HRESULT runScript(HMODULE module, bool doRegister) {
  std::wstring path = modulePath(module);
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  std::string raw = narrowFromWide(path);
  // The script quotes its strings with single quotes: a quote in the path is doubled.
  std::string quoted;
  for (char c : raw) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  fw::Registrar registrar;
  registrar.addReplacement("Module", quoted);
  registrar.addReplacement("Module_Raw", raw);
  registrar.addReplacement("APPID", "");
  return registrar.resourceRegister(module, IDR_CCAPEGUI, doRegister);
}

HRESULT registerTypeLibrary(HMODULE module) {
  std::wstring path = modulePath(module);
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  fw::ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
  if (FAILED(hr)) {
    size_t dot = path.find_last_of(L'.');
    size_t slash = path.find_last_of(L'\\');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.resize(dot);
    path += L".tlb";
    hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
  }
  std::wstring folder = path.substr(0, path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
  return RegisterTypeLib(library.get(), &path[0], folder.empty() ? nullptr : &folder[0]);
}

}  // namespace

HRESULT registerServer(HMODULE module) {
  HRESULT hr = runScript(module, true);
  // The class declares no component categories: there is nothing more to write for it.
  if (FAILED(hr)) return hr;
  return registerTypeLibrary(module);
}

HRESULT unregisterServer(HMODULE module) {
  return runScript(module, false);
}
