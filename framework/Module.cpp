#include "framework/Module.h"

namespace fw {

namespace {
HINSTANCE g_instance = nullptr;
// Interlocked: COM may ask DllCanUnloadNow from a thread of its own.
LONG g_lockCount = 0;
}  // namespace

HINSTANCE Module::instance() {
  // Outside the DLL (internal tests) the resources are looked up in the program itself.
  return g_instance ? g_instance : GetModuleHandleW(nullptr);
}

void Module::setInstance(HINSTANCE instance) { g_instance = instance; }

LONG Module::lock() { return InterlockedIncrement(&g_lockCount); }
LONG Module::unlock() { return InterlockedDecrement(&g_lockCount); }
LONG Module::lockCount() { return g_lockCount; }

}  // namespace fw
