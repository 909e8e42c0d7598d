// The file of a loaded module, as UTF-8, whatever the length of its path.
#pragma once
#include <windows.h>
#include <string>
#include "framework/WideText.h"

namespace fw {

// Null names the program itself; empty when the system cannot say.
inline std::string modulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  while (path.size() <= 32768) {  // the longest path Windows has
    const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) return narrowFromWide(path.substr(0, length));
    path.resize(path.size() * 2);  // cut short: a longer path
  }
  return std::string();
}

}  // namespace fw
