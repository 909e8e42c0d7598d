// Runs cohost.exe as a user does and keeps what it printed.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "cohost/Json.h"

struct CohostRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  // The standard output as JSON (a null value when it is not JSON).
  Json json() const;
};

// Runs "cohost.exe <arguments>"; while it runs, 'whileRunning' (if given) is called
// every 50 ms with the process id until it returns true.
CohostRun runCohost(const std::string& arguments, std::function<bool(DWORD)> whileRunning = nullptr);

// A top-level window of process 'pid' whose caption is 'caption', or null.
HWND findProcessWindow(DWORD pid, const char* caption);
