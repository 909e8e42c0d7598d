// TxSampleUnits.dll: unit operations of each CAPE-OPEN version and of each COM
// persistence kind.
#include "samples/common/SampleUnit.h"

namespace txs {

namespace {
constexpr UnitSpec kMixerSpec = {&kMixer, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kUnit093Spec = {&kUnit093, false, false, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kUnitNo10Spec = {&kUnitNo10, false, true, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kUnit09Spec = {&kUnit09, false, false, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kUnit11Spec = {&kUnit11, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kStorageUnitSpec = {&kStorageUnit, true, true, PersistKind::Storage, PersistFault::None, false};
constexpr UnitSpec kStreamUnitSpec = {&kStreamUnit, true, true, PersistKind::Stream, PersistFault::None, false};
constexpr UnitSpec kStreamInitUnitSpec = {&kStreamInitUnit, true, true, PersistKind::StreamInit, PersistFault::None,
                                          false};
constexpr UnitSpec kDualPersistUnitSpec = {&kDualPersistUnit, true, true, PersistKind::StorageAndStreamInit,
                                           PersistFault::None, false};

template <const UnitSpec* Spec>
constexpr SampleClass unitClass() {
  return {Spec->info, createFactory<RegisteredUnit<Spec>>, nullptr};
}
}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      unitClass<&kMixerSpec>(),       unitClass<&kUnit093Spec>(),        unitClass<&kUnitNo10Spec>(),
      unitClass<&kUnit09Spec>(),      unitClass<&kUnit11Spec>(),         unitClass<&kStorageUnitSpec>(),
      unitClass<&kStreamUnitSpec>(),  unitClass<&kStreamInitUnitSpec>(), unitClass<&kDualPersistUnitSpec>(),
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs
