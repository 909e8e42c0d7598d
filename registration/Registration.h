// Self-registration of the module: the class and ProgID entries of its registry script
// and its type library.
#pragma once
#include <windows.h>

HRESULT registerServer(HMODULE module);
// The type library stays registered.
HRESULT unregisterServer(HMODULE module);
