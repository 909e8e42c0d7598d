// TxSampleUnits.dll: unit operations of each CAPE-OPEN version and of each COM
// persistence kind.
#include "samples/common/SampleUnit.h"

namespace txs {

namespace {
constexpr UnitTraits kMixerTraits = {&kMixer, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kUnit093Traits = {&kUnit093, false, false, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kUnitNo10Traits = {&kUnitNo10, false, true, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kUnit09Traits = {&kUnit09, false, false, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kUnit11Traits = {&kUnit11, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kStorageUnitTraits = {&kStorageUnit, true, true, PersistKind::Storage, PersistFault::None, false};
constexpr UnitTraits kStreamUnitTraits = {&kStreamUnit, true, true, PersistKind::Stream, PersistFault::None, false};
constexpr UnitTraits kStreamInitUnitTraits = {&kStreamInitUnit,   true, true, PersistKind::StreamInit,
                                              PersistFault::None, false};
constexpr UnitTraits kDualPersistUnitTraits = {&kDualPersistUnit,  true, true, PersistKind::StorageAndStreamInit,
                                               PersistFault::None, false};

template <const UnitTraits* Traits>
constexpr SampleClass unitClass() {
  return {Traits->info, createFactory<RegisteredUnit<Traits>>, nullptr};
}
}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      unitClass<&kMixerTraits>(),      unitClass<&kUnit093Traits>(),        unitClass<&kUnitNo10Traits>(),
      unitClass<&kUnit09Traits>(),     unitClass<&kUnit11Traits>(),         unitClass<&kStorageUnitTraits>(),
      unitClass<&kStreamUnitTraits>(), unitClass<&kStreamInitUnitTraits>(), unitClass<&kDualPersistUnitTraits>(),
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs
