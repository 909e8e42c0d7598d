// The DLL's module: its instance handle and its lock count (live objects plus server locks).
#pragma once
#include <windows.h>

namespace fw {

class Module {
 public:
  static HINSTANCE instance();
  static void setInstance(HINSTANCE instance);
  static LONG lock();
  static LONG unlock();
  static LONG lockCount();
};

}  // namespace fw
