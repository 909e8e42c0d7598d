// Turns a hang or a crash of the run into a failure that names its seed: a second thread
// ends the process when one step takes longer than its limit, and the process-wide
// handlers of unhandled exceptions, std::terminate and abort do the same for a crash, as
// does a first-chance fault in one of our modules (one that a system handler would swallow).
// Either way the line "HANG <what>" or "CRASH <what> ..." goes to stdout and, when
// given, the failures file, and the process exits with kExitHang or kExitCrash.
#pragma once
#include <windows.h>
#include <string>

enum ChaosExit { kExitClean = 0, kExitFailures = 1, kExitUsage = 2, kExitHang = 3, kExitCrash = 4 };

class Watchdog {
 public:
  Watchdog(DWORD limitMs, const std::string& failuresFile);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // The step now running ("road 1234") and the start of its time.
  void begin(const std::string& what);
  // No step running: the watchdog waits.
  void end();

  // Appends 'line' to stdout and the failures file.
  static void record(const std::string& line);
  // Faults raised in modules not ours (recorded as "FAULT" lines); the run is not clean.
  static unsigned long foreignFaults();

 private:
  static DWORD WINAPI watch(void* self);
  static LONG WINAPI unhandled(EXCEPTION_POINTERS* info);
  static LONG WINAPI firstChance(EXCEPTION_POINTERS* info);
  static void fatal(const char* kind, const std::string& detail, int exitCode);

  DWORD limitMs_;
  HANDLE stop_;
  HANDLE thread_;
};
