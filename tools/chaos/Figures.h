// The process figures of a soak: handles, GDI and USER objects, private memory.
#pragma once
#include <windows.h>

struct Figures {
  DWORD handles = 0, gdi = 0, user = 0;
  DWORD keys = 0;      // of the handles, registry keys
  DWORD wineKeys = 0;  // of those, HKLM\Software\Classes\Wow6432Node (see countHandles)
  double privateMb = 0;
};

Figures measure();
// Every handle of the process, counted by probing (Wine's GetProcessHandleCount
// answers 0); in 'keys' those of registry keys, in 'wineKeys' the keys of
// HKLM\Software\Classes\Wow6432Node. Wine 8 leaks two of these at every failed
// activation whose context includes CLSCTX_LOCAL_SERVER (the product's, as prescribed),
// whatever the caller does: they are counted apart so that the product's own keys are
// bounded.
DWORD countHandles(DWORD* keys, DWORD* wineKeys);
