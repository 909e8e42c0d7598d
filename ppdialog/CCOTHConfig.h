// CCOTHConfig: the property package information dialog and the store of the thermo
// options of its CCAPEGUI object. The options live here whether or not a window exists.
#pragma once
#include <windows.h>
#include <string>

struct ICCAPEGUI;

class CCOTHConfig {
 public:
  explicit CCOTHConfig(HWND parent);
  ~CCOTHConfig();
  CCOTHConfig(const CCOTHConfig&) = delete;
  CCOTHConfig& operator=(const CCOTHConfig&) = delete;

  // Option values: 0 off, 1 on.
  int allowSubsets;
  int freeCompounds;
  std::string importReport;
  std::string packageName;
  std::string systemName;
  int treatAsHypos;
  int recovLog;
  int recovPopUp;
  int recovTrace;
  std::string socketVersion;
  int requestLiquid2;
  int doOrderPhases;
  int critPopUp;
  int critLog;
  int critTrace;
  bool allowModifications;
  ICCAPEGUI* owner;  // not counted: the object that owns this dialog

 private:
  HWND parent_;
};
