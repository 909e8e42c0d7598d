// The chaos component: a property system, a property package and a unit operation whose
// every answer is drawn from a seed. What the chaos DLL registers and exports, shared with
// the driver (tools/chaos) that runs the product against it. Header only.
#pragma once
#include <windows.h>
#include <cstdint>
#include "samples/common/SampleIds.h"

namespace txs {

inline constexpr char kChaosDll[] = "TxSampleChaos.dll";

// The seed of every object created from now on: the environment value first, then the
// registry value (DWORD or text) under HKCU\<kChaosSeedKey>. A failing seed is replayed by
// setting either one alone.
inline constexpr char kChaosSeedVariable[] = "TX_CHAOS_SEED";
inline constexpr char kChaosSeedKey[] = "Software\\TxSamples\\Chaos";
inline constexpr char kChaosSeedValue[] = "Seed";

// Exported by the chaos DLL besides the samples' hooks: the host's CCAPEGUI object that
// Initialize, Edit and Terminate may call back into (null forgets it).
inline constexpr char kHookChaosSetHost[] = "ChaosSetHost";
extern "C" typedef void(WINAPI* ChaosSetHostFn)(IUnknown* host);

#define TXS_CHAOS_VALUES(name, description) \
  { name, description, "Seeded chaos component", "1.0", "0.0.1", kVendorURL, kHelpURL }

inline constexpr ClassInfo kChaosSystem = {
    "ChaosSystem",
    TXS_PROGID("TxSamples.Chaos.PropertySystem.1"),
    "TxSamples.Chaos.PropertySystem",
    {0x3E0C7A51, 0x52B4, 0x4E0D, {0x9B, 0x11, 0x6D, 0x0F, 0x2A, 0x7C, 0x31, 0x01}},
    kChaosDll,
    kCatThermoSystem,
    true,
    TXS_CHAOS_VALUES("Chaos Property System", "Answers drawn from a seed"),
    true};

inline constexpr ClassInfo kChaosPackage = {
    "ChaosPackage",
    TXS_PROGID("TxSamples.Chaos.PropertyPackage.1"),
    "TxSamples.Chaos.PropertyPackage",
    {0x3E0C7A51, 0x52B4, 0x4E0D, {0x9B, 0x11, 0x6D, 0x0F, 0x2A, 0x7C, 0x31, 0x02}},
    kChaosDll,
    kCatPropertyPackage,
    true,
    TXS_CHAOS_VALUES("Chaos Property Package", "Answers drawn from a seed"),
    true};

inline constexpr ClassInfo kChaosUnit = {
    "ChaosUnit",
    TXS_PROGID("TxSamples.Chaos.UnitOperation.1"),
    "TxSamples.Chaos.UnitOperation",
    {0x3E0C7A51, 0x52B4, 0x4E0D, {0x9B, 0x11, 0x6D, 0x0F, 0x2A, 0x7C, 0x31, 0x03}},
    kChaosDll,
    kCatUnitOperation,
    true,
    TXS_CHAOS_VALUES("Chaos Unit Operation", "Answers drawn from a seed"),
    true};

#undef TXS_CHAOS_VALUES

// The name under which the chaos system resolves any package (it resolves others too).
inline constexpr char kChaosPackageName[] = "Chaos Package";

// splitmix64: small, fast and the same on every compiler, so a seed means the same run
// everywhere.
class ChaosRandom {
 public:
  explicit ChaosRandom(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(next() % n) : 0; }
  bool chance(uint32_t percent) { return below(100) < percent; }
  template <class T, size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t state_;
};

// A seed and a stream number mixed into one generator state.
inline uint64_t chaosStream(uint64_t seed, uint64_t stream) {
  ChaosRandom mix(seed ^ (stream * 0xD1B54A32D192ED03ull));
  return mix.next();
}

}  // namespace txs
