// The process figures of a soak: handles, GDI and USER objects, private memory.
#pragma once
#include <windows.h>

struct Figures {
  DWORD handles = 0, gdi = 0, user = 0;
  DWORD keys = 0;  // of the handles, registry keys
  double privateMb = 0;
};

Figures measure();
// Every handle of the process, counted by probing (Wine's GetProcessHandleCount
// answers 0), and in 'keys' those of registry keys.
DWORD countHandles(DWORD* keys);
