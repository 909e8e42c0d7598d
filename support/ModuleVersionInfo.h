// The version resource of a module on disk: its twelve standard string fields, and the
// four numbers of its "FileVersion".
#pragma once
#include <windows.h>
#include <exception>
#include <string>

// Thrown when a version resource cannot be read; carries the system's error code.
class FInfoErr : public std::exception {
 public:
  explicit FInfoErr(DWORD error) : error_(error) {}
  DWORD error() const { return error_; }

 private:
  DWORD error_;
};

class ModuleVersionInfo {
 public:
  static const int kKeyCount = 12;
  // "CompanyName", "FileDescription", "FileVersion", ... in resource order.
  static const char* const kKeyNames[kKeyCount];

  // Reads the file's version resource; throws FInfoErr when it has none.
  explicit ModuleVersionInfo(const char* path);

  // The value of a key (empty when the resource lacks it or the key is unknown).
  std::string value(const char* key) const;
  const std::string& value(int index) const { return values_[index]; }
  // The last translation read: language in the upper half, code page in the lower ("%08X").
  const std::string& translation() const { return translation_; }

 private:
  std::string values_[kKeyCount];
  std::string translation_;
};

// The four numbers of the "FileVersion" of the loaded module 'moduleName' (the module set
// with MTUtils::setModuleName when null). False after a report, or without a report when
// the resource has no "FileVersion".
bool getDLLversions(int* major, int* minor, int* release, int* build, const char* moduleName);
