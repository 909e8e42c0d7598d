// The road of one component through the real DLL, every answer of the component drawn
// from the seed: setup with the sample host container, setProgIds, createComp,
// getPersistType, loadStorage(false), saveStorage, loadStorage(true) through a compound
// file, setPPInfo, ShowThermoGUI, releaseComponents, release.
#include <objbase.h>
#include <oleauto.h>
#include <string>
#include "TxCOGUI.h"
#include "chaos/Chaos.h"
#include "framework/ComPtr.h"
#include "framework/Raii.h"
#include "samples/common/SampleHooks.h"
#include "samples/zoo/ChaosIds.h"
#include "support/CTxBSTR.h"

namespace {

struct RoadTarget {
  const char* progId;
  const char* parent;
  long filter;
};
const RoadTarget kTargets[] = {
    {txs::kChaosUnit.progId, "", 32},
    {txs::kChaosPackage.progId, "", 8},
    {txs::kChaosPackageName, txs::kChaosSystem.progId, 8},
    {"Any [odd] %s name", txs::kChaosSystem.progId, 8},
    {txs::kChaosSystem.progId, "", 4},
};

// A host list of names, numbers or nothing, as setPPInfo receives them.
void hostList(txs::ChaosRandom& random, VARIANT* out, bool numbers) {
  VariantInit(out);
  if (random.chance(15)) return;
  LONG count = static_cast<LONG>(random.below(4));
  SAFEARRAY* array = SafeArrayCreateVector(numbers ? VT_I4 : VT_BSTR, 0, static_cast<ULONG>(count));
  if (!array) return;
  for (LONG i = 0; i < count; ++i) {
    if (numbers) {
      LONG value = static_cast<LONG>(random.below(5)) - 1;
      SafeArrayPutElement(array, &i, &value);
    } else {
      CTxBSTR name(random.chance(50) ? L"WATER" : L"ETHANOL");
      SafeArrayPutElement(array, &i, static_cast<BSTR>(name));
    }
  }
  out->vt = static_cast<VARTYPE>(VT_ARRAY | (numbers ? VT_I4 : VT_BSTR));
  out->parray = array;
}

std::wstring caseFile() {
  wchar_t folder[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"txchaos-" + std::to_wstring(GetCurrentProcessId()) + L".case";
}

}  // namespace

void ChaosRun::setSeed(uint64_t seed) {
  SetEnvironmentVariableW(wideFromNarrow(txs::kChaosSeedVariable).c_str(), std::to_wstring(seed).c_str());
  windows_.reseed(seed);
}

void ChaosRun::road(uint64_t seed) {
  watchdog_.begin("road " + std::to_string(seed));
  setSeed(seed);
  txs::ChaosRandom random(txs::chaosStream(seed, 0x40AD));
  const RoadTarget& target = random.pick(kTargets);
  std::wstring file = caseFile();
  DeleteFileW(file.c_str());
  {
    auto createContainer = reinterpret_cast<SampleCreateHostContainerFn>(
        GetProcAddress(modules_.host, txs::kHookCreateHostContainer));
    fw::ComPtr<IDispatch> container;
    DWORD failures = random.chance(15) ? random.below(0x400) : 0;
    if (createContainer) createContainer(file.c_str(), failures, container.put());
    fw::ComPtr<ISampleHostControl> control;
    if (container) control.queryFrom(container.get(), IID_ISampleHostControl);

    fw::ComPtr<ICCAPEGUI> gui;
    HRESULT hr = CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.put_void());
    if (FAILED(hr)) {
      Watchdog::record("FAIL road " + std::to_string(seed) + ": CCAPEGUI not created");
      ++tally_.leaks;
      watchdog_.end();
      return;
    }
    if (!modules_.product) modules_.product = GetModuleHandleW(L"TxCOGUI.dll");
    auto setHost = reinterpret_cast<txs::ChaosSetHostFn>(GetProcAddress(modules_.chaos, txs::kHookChaosSetHost));
    if (setHost) setHost(gui.get());

    HWND owner = random.chance(80) ? hostWindow_ : nullptr;
    gui->setup(reinterpret_cast<INT_PTR>(owner), container.get(), target.filter);
    CTxBSTR progId(target.progId), parent(target.parent);
    gui->setProgIds(progId, parent);
    fw::ComPtr<IDispatch> component, system;
    if (SUCCEEDED(gui->createComp(component.put(), system.put())) && component) ++tally_.created;
    LONG persistType = 0;
    gui->getPersistType(&persistType);
    if (SUCCEEDED(gui->loadStorage(VARIANT_FALSE))) ++tally_.initialised;
    if (SUCCEEDED(gui->saveStorage())) ++tally_.saved;
    if (control) {
      control->CloseFile();
      control->OpenFile(file.c_str(), FALSE);
    }
    if (SUCCEEDED(gui->loadStorage(VARIANT_TRUE))) ++tally_.loaded;
    if (random.chance(70)) {
      fw::UniqueVariant names, matchedBy, mapping;
      hostList(random, names.get(), false);
      hostList(random, matchedBy.get(), true);
      hostList(random, mapping.get(), true);
      if (SUCCEEDED(gui->setPPInfo(names.get(), matchedBy.get(), mapping.get()))) ++tally_.packageInfo;
    }
    if (random.chance(60) && SUCCEEDED(gui->ShowThermoGUI(random.chance(50) ? VARIANT_TRUE : VARIANT_FALSE)))
      ++tally_.thermoShown;
    gui->releaseComponents();
    if (setHost) setHost(nullptr);
    component.reset();
    system.reset();
    gui.reset();
    if (control) control->CloseFile();
  }
  // What the host stored is a compound file still, whatever the component did.
  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES && StgIsStorageFile(file.c_str()) != S_OK) {
    Watchdog::record("CORRUPT road " + std::to_string(seed) + ": the case file is no compound file");
    ++tally_.corrupt;
  }
  DeleteFileW(file.c_str());
  checkClean("road " + std::to_string(seed));
  ++tally_.seeds;
  watchdog_.end();
}
