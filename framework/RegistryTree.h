// Deleting a registry key with everything below it.
#pragma once
#include <windows.h>
#include <string>

namespace fw {

// Removes 'subKey' of 'root' with its values and subkeys, in the view that 'view'
// names (0, KEY_WOW64_32KEY or KEY_WOW64_64KEY). ERROR_SUCCESS also when it was not there.
inline LSTATUS deleteRegistryTree(HKEY root, const std::wstring& subKey, REGSAM view = 0) {
  if (subKey.empty()) return ERROR_INVALID_PARAMETER;  // never the root itself
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, &key);
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return status;
  status = view ? RegDeleteKeyExW(root, subKey.c_str(), view, 0) : RegDeleteKeyW(root, subKey.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace fw
