// One registry population through the product: the catalogue build, the Component
// Manager (every entry clicked), the static information of each fuzzed ProgID and
// "cohost check" in a process of its own; then the population is removed.
#include <objbase.h>
#include <string>
#include "TxCOGUI.h"
#include "chaos/Chaos.h"
#include "chaos/Population.h"
#include "framework/ComPtr.h"
#include "framework/ProcessLaunch.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "manager/ComponentCatalogue.h"
#include "samples/common/SampleHooks.h"
#include "samples/zoo/ChaosIds.h"
#include "support/CTxBSTR.h"

namespace {

// The catalogue's errors are counted, not shown: the run has nobody to show them to.
class QuietHost : public CatalogueHost {
 public:
  void showCatalogueError(const std::string&) override { ++errors; }
  unsigned long errors = 0;
};

const long kFilters[] = {4 | 8 | 32, 4, 8, 32, 65536, 1 | 2 | 4 | 8 | 16 | 32 | 128 | 256};

// "cohost check" on the population: "" when it ended with 0 or 1 (findings); else what went
// wrong (another status is a crash of the tool or of what it loaded).
std::string runCheck(const std::string& cohost, DWORD limitMs) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  fw::UniqueHandle out(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  fw::LaunchOptions options;
  options.output = out.get();
  options.error = out.get();
  options.timeoutMs = limitMs;
  // The tool runs in a job that dies with this process: a check still running when the
  // watchdog ends the run must not go on spinning beside the seeds that follow.
  fw::LaunchResult result = fw::launchAndWait(L"\"" + wideFromNarrow(cohost) + L"\" check", options);
  char code[16];
  snprintf(code, sizeof code, "0x%08lX", result.launchError ? result.launchError : result.exitCode);
  if (result.launchError) return std::string("cohost check could not be started (error ") + code + ")";
  if (result.timedOut) return "cohost check did not end in time";
  return result.exitCode <= 1 ? std::string() : std::string("cohost check ended with ") + code;
}

}  // namespace

void ChaosRun::registry(uint64_t seed) {
  std::string what = "registry " + std::to_string(seed);
  watchdog_.begin(what);
  // The chaos system in the catalogue answers from a seed of its own per population.
  setSeed(seed + 1000000000ull);
  txs::ChaosRandom random(txs::chaosStream(seed, 0x4E6));
  Population population;
  std::string error;
  if (!writePopulation(seed, modules_.chaosPath, &population, &error)) {
    Watchdog::record("FAIL " + what + ": " + error);
    ++tally_.checkFailed;
  }
  long filter = random.pick(kFilters);
  bool full = seed % fullEvery_ == 0;
  {
    // The full build is the Component Manager's, below: here each fuzzed ProgID is looked up.
    QuietHost host;
    ComponentCatalogue catalogue(&host);
    for (const std::string& progId : population.progIds) {
      std::unique_ptr<CAPETreeItem> record;
      catalogue.GetInfoForProgID(progId, "", "", &record);
    }
  }
  {
    fw::ComPtr<ICCAPEGUI> gui;
    if (SUCCEEDED(CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.put_void()))) {
      if (!modules_.product) modules_.product = GetModuleHandleW(L"TxCOGUI.dll");
      gui->setup(reinterpret_cast<INT_PTR>(hostWindow_), nullptr, filter);
      if (full) {
        BSTR component = nullptr, catid = nullptr;
        gui->ShowGUI(&component, &catid);
        SysFreeString(component);
        SysFreeString(catid);
      }
      if (!population.progIds.empty()) {
        CTxBSTR progId(population.progIds[random.below(population.progIds.size())].c_str()), none("");
        gui->setProgIds(progId, none);
        BSTR texts[5] = {};
        gui->GetItemInfo(&texts[0], &texts[1], &texts[2], &texts[3], &texts[4]);
        for (BSTR text : texts) SysFreeString(text);
      }
      gui->releaseComponents();
    }
  }
  std::string checkFault = full && !modules_.cohostPath.empty() ? runCheck(modules_.cohostPath, 120000) : "";
  if (!checkFault.empty()) {
    Watchdog::record("FAIL " + what + ": " + checkFault);
    ++tally_.checkFailed;
  }
  removePopulation();
  checkClean(what);
  ++tally_.seeds;
  watchdog_.end();
}

void ChaosRun::checkClean(const std::string& what) {
  LONG chaos = txs::sampleLiveObjects(txs::kChaosDll);
  LONG host = txs::sampleLiveObjects(txs::kHostDll);
  HRESULT unload = S_OK;
  if (modules_.product) {
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(modules_.product, "DllCanUnloadNow"));
    if (canUnload) unload = canUnload();
  }
  unsigned long windows = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM count) -> BOOL {
        if (IsWindowVisible(window)) ++*reinterpret_cast<unsigned long*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  if (chaos == 0 && host == 0 && unload == S_OK && windows == 0) return;
  char line[256];
  snprintf(line, sizeof line, "LEAK %s: chaos objects %ld, host objects %ld, DllCanUnloadNow 0x%08lX, windows %lu",
           what.c_str(), chaos, host, static_cast<unsigned long>(unload), windows);
  Watchdog::record(line);
  ++tally_.leaks;
}
