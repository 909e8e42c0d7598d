// chaos: runs the product through seeded chaos, road seeds (a component whose every answer
// is drawn from the seed) and registry populations (seeded odd registrations), and prints
// the figures: seeds run, crashes, hangs, leaks, and the growth of the process's handles,
// GDI and USER objects and private bytes after a warm-up. A crash or hang ends the process
// with the seed named (Watchdog.h); a replay runs that seed alone.
#include <windows.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "chaos/Chaos.h"
#include "chaos/Figures.h"
#include "chaos/Population.h"
#include "framework/ModulePath.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "samples/zoo/ChaosIds.h"

namespace {

const char kUsage[] =
    "usage: chaos [--road N] [--registry N] [--from S] [--seeds FILE] [--limit SECONDS]\n"
    "             [--failures FILE] [--register] [--warmup N] [--bounds H,K,G,U,MB] [--verbose]\n"
    "             [--full-every N] [--after KIND SEED] [--write-population S]\n"
    "  --road N        N road seeds from S (default 0)    --registry N  N registry populations from S\n"
    "  --seeds FILE    also the seeds of FILE, lines \"road S\" or \"registry S\" (# comments)\n"
    "  --limit         seconds one seed may take before it counts as a hang (default 120)\n"
    "  --failures      file to which failure lines are appended\n"
    "  --register      register the chaos DLL for the run and unregister it afterwards\n"
    "  --warmup N      seeds run before the process figures are first taken (default 50)\n"
    "  --bounds        largest growth allowed after the warm-up of handles other than registry\n"
    "                  keys, registry key handles (but Wine's, Figures.h), GDI and USER objects,\n"
    "                  private MB (-1: any); exceeding one is a failure\n"
    "  --verbose       the process figures after every seed\n"
    "  --full-every N  the Component Manager and cohost check for every N-th population only\n"
    "  --after K S     skips the steps up to road or registry seed S (K), to go on after a crash\n"
    "  --write-population S  writes population S and leaves it, to replay it by hand (cohost)\n"
    "  The component's seed can also be set alone: TX_CHAOS_SEED=S.\n";

struct Step {
  bool road;
  uint64_t seed;
};

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

// This program's file, as UTF-8: the build may lie in a folder of any script.
bool readSeeds(const std::string& file, std::vector<Step>& steps) {
  std::ifstream in(wideFromNarrow(file).c_str());
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string kind;
    uint64_t seed = 0;
    if (!(words >> kind) || kind[0] == '#') continue;
    if (!(words >> seed) || (kind != "road" && kind != "registry")) return false;
    steps.push_back({kind == "road", seed});
  }
  return true;
}

HRESULT callExport(HMODULE module, const char* name) {
  auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, name));
  return fn ? fn() : E_NOTIMPL;
}

HWND makeHostWindow() {
  return CreateWindowExW(0, L"STATIC", L"Chaos host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long roadCount = 0, registryCount = 0, warmup = 50, fullEvery = 1;
  uint64_t from = 0;
  DWORD limitSeconds = 120;
  std::string failures, seedsFile;
  bool registerDll = false, verbose = false;
  std::string writeOnly, after;
  double bounds[5] = {-1, -1, -1, -1, -1};
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--road" && hasValue) roadCount = strtoul(argv[++i], nullptr, 10);
    else if (arg == "--registry" && hasValue) registryCount = strtoul(argv[++i], nullptr, 10);
    else if (arg == "--from" && hasValue) from = _strtoui64(argv[++i], nullptr, 10);
    else if (arg == "--seeds" && hasValue) seedsFile = argv[++i];
    else if (arg == "--limit" && hasValue) limitSeconds = strtoul(argv[++i], nullptr, 10);
    else if (arg == "--failures" && hasValue) failures = argv[++i];
    else if (arg == "--warmup" && hasValue) warmup = strtoul(argv[++i], nullptr, 10);
    else if (arg == "--register") registerDll = true;
    else if (arg == "--verbose") verbose = true;
    else if (arg == "--full-every" && hasValue) fullEvery = strtoul(argv[++i], nullptr, 10);
    else if (arg == "--after" && i + 2 < argc) {
      after = argv[++i];
      after += " ";
      after += argv[++i];
    }
    else if (arg == "--write-population" && hasValue) writeOnly = argv[++i];
    else if (arg == "--bounds" && hasValue) {
      if (sscanf(argv[++i], "%lf,%lf,%lf,%lf,%lf", &bounds[0], &bounds[1], &bounds[2], &bounds[3], &bounds[4]) != 5) {
        fputs(kUsage, stderr);
        return kExitUsage;
      }
    } else {
      fputs(kUsage, stderr);
      return kExitUsage;
    }
  }
  if (!writeOnly.empty()) {
    const std::string exe = fw::modulePath(nullptr);
    Population population;
    std::string error;
    bool written = writePopulation(_strtoui64(writeOnly.c_str(), nullptr, 10),
                                   folderOf(exe) + "..\\samples\\zoo\\" + txs::kChaosDll, &population, &error);
    if (!written) fprintf(stderr, "chaos: %s\n", error.c_str());
    return written ? kExitClean : kExitFailures;
  }
  std::vector<Step> steps;
  if (!seedsFile.empty() && !readSeeds(seedsFile, steps)) {
    fprintf(stderr, "chaos: cannot read the seeds of %s\n", seedsFile.c_str());
    return kExitUsage;
  }
  // Populations spread among the road seeds, so that each meets the other's leftovers.
  unsigned long populationsAdded = 0;
  for (unsigned long k = 0; k < roadCount; ++k) {
    steps.push_back({true, from + k});
    while (populationsAdded < registryCount && populationsAdded * roadCount <= k * registryCount)
      steps.push_back({false, from + populationsAdded++});
  }
  while (populationsAdded < registryCount) steps.push_back({false, from + populationsAdded++});
  for (size_t i = 0; i < steps.size() && !after.empty(); ++i) {
    if (after == std::string(steps[i].road ? "road " : "registry ") + std::to_string(steps[i].seed)) {
      steps.erase(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      break;
    }
  }
  if (steps.empty() && !after.empty()) {
    printf("chaos: nothing left after %s\n", after.c_str());
    return kExitClean;
  }
  if (steps.empty()) {
    fputs(kUsage, stderr);
    return kExitUsage;
  }

  fw::ComInit com;
  if (FAILED(com.result())) return kExitFailures;
  const std::string exe = fw::modulePath(nullptr);
  ChaosModules modules;
  std::string folder = folderOf(exe);
  modules.chaosPath = folder + "..\\samples\\zoo\\" + txs::kChaosDll;
  modules.hostPath = folder + "..\\samples\\host\\" + txs::kHostDll;
  modules.cohostPath = folder + "cohost.exe";
  // Pinned for the run: their live counts are read after every seed, and the chaos DLL
  // hears of the host's object through its export.
  modules.chaos = LoadLibraryW(wideFromNarrow(modules.chaosPath).c_str());
  modules.host = LoadLibraryW(wideFromNarrow(modules.hostPath).c_str());
  if (!modules.chaos || !modules.host) {
    fprintf(stderr, "chaos: cannot load %s or %s\n", modules.chaosPath.c_str(), modules.hostPath.c_str());
    return kExitFailures;
  }
  if (registerDll && FAILED(callExport(modules.chaos, "DllRegisterServer"))) {
    fprintf(stderr, "chaos: cannot register %s\n", modules.chaosPath.c_str());
    return kExitFailures;
  }

  Watchdog watchdog(limitSeconds * 1000, failures);
  WindowDriver windows;
  fw::UniqueWindow hostWindow(makeHostWindow());
  ChaosRun run(modules, windows, watchdog, hostWindow.get());
  run.fullEvery(fullEvery);
  removePopulation();  // what a run that died left

  auto started = std::chrono::steady_clock::now();
  Figures first = measure(), warm = first;
  unsigned long roads = 0, populations = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].road) {
      run.road(steps[i].seed);
      ++roads;
    } else {
      run.registry(steps[i].seed);
      ++populations;
    }
    if (i + 1 == warmup) warm = measure();
    if (verbose) {
      Figures now = measure();
      printf("%s %llu: handles %lu (keys %lu, Wine's %lu), GDI %lu, USER %lu, private %.1f MB, %.1f s\n",
             steps[i].road ? "road" : "registry", static_cast<unsigned long long>(steps[i].seed), now.handles,
             now.keys, now.wineKeys, now.gdi, now.user, now.privateMb,
             std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    if ((i + 1) % 500 == 0) {
      Figures now = measure();
      printf("progress: %zu steps, handles %lu (keys %lu), GDI %lu, USER %lu, private %.1f MB, %.0f s\n", i + 1,
             now.handles, now.keys, now.gdi, now.user, now.privateMb,
             std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
      fflush(stdout);
    }
  }
  Figures last = measure();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (steps.size() < warmup) warm = first;

  const ChaosTally& tally = run.tally();
  printf("chaos: %lu road seeds, %lu registry populations in %.0f s\n", roads, populations, seconds);
  printf("crashes 0, hangs 0, leaks %lu, corrupt case files %lu, failed checks %lu, faults in other modules %lu\n",
         tally.leaks, tally.corrupt, tally.checkFailed, Watchdog::foreignFaults());
  printf("roads that succeeded: createComp %lu, loadStorage(false) %lu, saveStorage %lu, loadStorage(true) %lu, "
         "setPPInfo %lu, ShowThermoGUI %lu\n",
         tally.created, tally.initialised, tally.saved, tally.loaded, tally.packageInfo, tally.thermoShown);
  printf("boxes answered %lu, dialogs driven %lu, tree entries clicked %lu\n", windows.boxes(), windows.dialogs(),
         windows.entriesClicked());
  double growth[5] = {static_cast<double>(last.handles - last.keys) - (warm.handles - warm.keys),
                      static_cast<double>(last.keys - last.wineKeys) - (warm.keys - warm.wineKeys), static_cast<double>(last.gdi) - warm.gdi,
                      static_cast<double>(last.user) - warm.user, last.privateMb - warm.privateMb};
  printf("after %lu warm-up steps to the end: handles %lu -> %lu (%+.0f other than registry keys, %+.0f keys, "
         "%+.0f keys of Wine's failed activations), GDI %lu -> %lu (%+.0f), USER %lu -> %lu (%+.0f), "
         "private %.1f -> %.1f MB (%+.1f)\n",
         warmup, warm.handles, last.handles, growth[0], growth[1],
         static_cast<double>(last.wineKeys) - warm.wineKeys, warm.gdi, last.gdi, growth[2], warm.user, last.user,
         growth[3], warm.privateMb, last.privateMb, growth[4]);
  bool grown = false;
  static const char* const kNames[] = {"handles other than registry keys", "registry key handles", "GDI objects",
                                       "USER objects", "private MB"};
  for (int k = 0; k < 5; ++k) {
    if (bounds[k] >= 0 && growth[k] > bounds[k]) {
      Watchdog::record("GROWTH " + std::string(kNames[k]) + " grew by " + std::to_string(growth[k]) +
                       ", more than " + std::to_string(bounds[k]));
      grown = true;
    }
  }
  if (registerDll) callExport(modules.chaos, "DllUnregisterServer");
  bool clean = tally.leaks == 0 && tally.corrupt == 0 && tally.checkFailed == 0 && Watchdog::foreignFaults() == 0 && !grown;
  printf("%s\n", clean ? "chaos: clean" : "chaos: FAILURES");
  fflush(stdout);
  return clean ? kExitClean : kExitFailures;
}
