#include "chaos/Figures.h"
#include <psapi.h>
#include <winternl.h>
#include <cstdlib>
#include <fstream>
#include <string>

// Wine answers GetProcessHandleCount, GetGuiResources and the private bytes of
// GetProcessMemoryInfo with 0; each figure then comes from what Wine does keep.
DWORD countHandles(DWORD* keys, DWORD* wineKeys) {
  DWORD count = 0;
  *keys = 0;
  *wineKeys = 0;
  // Handle values are multiples of 4; a valid one has information, a type and a name.
  for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
    HANDLE handle = reinterpret_cast<HANDLE>(value);
    DWORD flags = 0;
    if (!GetHandleInformation(handle, &flags)) continue;
    ++count;
    union {
      PUBLIC_OBJECT_TYPE_INFORMATION type;
      UNICODE_STRING name;
      BYTE bytes[1024];
    } info;
    ULONG length = 0;
    if (NtQueryObject(handle, ObjectTypeInformation, &info, sizeof info, &length) != 0 ||
        info.type.TypeName.Length != 6 || wcsncmp(info.type.TypeName.Buffer, L"Key", 3) != 0)
      continue;
    ++*keys;
    static const wchar_t kWow[] = L"\\Classes\\Wow6432Node";
    const size_t wowLength = sizeof kWow / sizeof kWow[0] - 1;
    if (NtQueryObject(handle, static_cast<OBJECT_INFORMATION_CLASS>(1), &info, sizeof info, &length) == 0 &&
        info.name.Length / 2 >= wowLength &&
        _wcsnicmp(info.name.Buffer + info.name.Length / 2 - wowLength, kWow, wowLength) == 0)
      ++*wineKeys;
  }
  return count;
}

namespace {

const BYTE* processEnvironmentBlock() {
#ifdef __GNUC__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the header reads the TEB through %gs
#endif
  return reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#ifdef __GNUC__
#pragma GCC diagnostic pop
#endif
}

// The process's entries of the GDI handle table that the PEB shows (24-byte entries,
// type byte at offset 14, owner process id at offset 8), as on 64-bit Windows.
DWORD countGdi() {
  DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (count) return count;
  const BYTE* peb = processEnvironmentBlock();
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
  if (!table) return 0;
  USHORT pid = static_cast<USHORT>(GetCurrentProcessId());
  for (DWORD i = 0; i < 0x10000; ++i) {
    const BYTE* entry = table + i * 24;
    USHORT owner = *reinterpret_cast<const USHORT*>(entry + 8);
    if (entry[14] && (owner == pid || owner == 0)) ++count;
  }
  return count;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(window, countWindow, count);
  return TRUE;
}

// USER objects: the windows of the process when Wine does not count them.
DWORD countUser() {
  DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (count) return count;
  EnumWindows(countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Private bytes; under Wine the resident anonymous memory of the process (/proc).
double privateMegabytes() {
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory) && memory.PagefileUsage)
    return memory.PagefileUsage / (1024.0 * 1024.0);
  std::ifstream status(L"Z:\\proc\\self\\status");
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, 8, "RssAnon:") == 0) return strtod(line.c_str() + 8, nullptr) / 1024.0;
  }
  return 0;
}

}  // namespace

Figures measure() {
  Figures f;
  f.handles = countHandles(&f.keys, &f.wineKeys);
  f.gdi = countGdi();
  f.user = countUser();
  f.privateMb = privateMegabytes();
  return f;
}

