// What the module knows of itself and of the process it runs in: its name (which also
// names the trace file), its file and folder, and environment values. Process-wide state,
// used from the host's user-interface thread only.
#pragma once
#include <windows.h>
#include <string>

class ModuleInfo {
 public:
  static bool setModuleName(const char* name);
  // The module name up to its first '.'.
  static const char* getModuleName();
  // Full path of the loaded module 'name' (the stored name when null); empty when unknown.
  static std::string getDllPath(const char* name);
  // Folder of the module, without trailing backslash; computed once.
  static std::string getDllDirectory();
  // The value of an environment variable; empty when unset or too long (the latter is said).
  static std::string getEnvironmentValue(const char* name);
};
