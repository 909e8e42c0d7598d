// What the chaos runs share: the loaded modules whose counts are checked after each seed,
// the host window, the window driver and the watchdog, and the tallies.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "chaos/Watchdog.h"
#include "chaos/WindowDriver.h"

struct ChaosModules {
  HMODULE product = nullptr;  // TxCOGUI.dll, loaded by the first CoCreateInstance
  HMODULE chaos = nullptr;    // TxSampleChaos.dll, pinned
  HMODULE host = nullptr;     // TxSampleHost.dll, pinned
  std::string chaosPath;
  std::string hostPath;
  std::string cohostPath;
};

struct ChaosTally {
  unsigned long seeds = 0;
  unsigned long leaks = 0;       // seeds after which objects, locks or windows were left
  unsigned long corrupt = 0;     // case files that were no compound file afterwards
  unsigned long checkFailed = 0; // cohost check runs that ended other than 0 or 1
  // How far the roads got: calls of the product that answered success.
  unsigned long created = 0, initialised = 0, saved = 0, loaded = 0, packageInfo = 0, thermoShown = 0;
};

class ChaosRun {
 public:
  ChaosRun(ChaosModules& modules, WindowDriver& windows, Watchdog& watchdog, HWND hostWindow)
      : modules_(modules), windows_(windows), watchdog_(watchdog), hostWindow_(hostWindow) {}

  // One road of the product through the chaos component.
  void road(uint64_t seed);
  // One registry population: written, catalogued, shown, checked, removed.
  void registry(uint64_t seed);

  const ChaosTally& tally() const { return tally_; }
  // The Component Manager and cohost check, the slow part of a population (each walks the
  // classes of the machine), only for every n-th population; the others have their
  // ProgIDs looked up alone.
  void fullEvery(unsigned long n) { fullEvery_ = n ? n : 1; }

 private:
  // Records a leak when the live counts after 'what' are above what they were before.
  void checkClean(const std::string& what);
  void setSeed(uint64_t seed);

  ChaosModules& modules_;
  WindowDriver& windows_;
  Watchdog& watchdog_;
  HWND hostWindow_;
  ChaosTally tally_;
  unsigned long fullEvery_ = 1;
};
