// TxSampleZoo.dll: components that break the rules the product relies on, one way each.
#include "samples/common/SamplePackage.h"
#include "samples/common/SampleSystem.h"
#include "samples/common/SampleUnit.h"
#include "samples/zoo/QIFails.h"

namespace txs {

namespace {

#define TXS_ZOO_NAMES kZooListedNames, TXS_COUNT(kZooListedNames)
constexpr const char* kBracketPackages[] = {kBracketPackageName};

constexpr SystemSpec kInitializeFailsSpec = {&kInitializeFails, nullptr, 0, false, TXS_ZOO_NAMES,
                                             PackageListKind::Names, true};
constexpr SystemSpec kEmptyListSpec = {&kEmptyPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                       PackageListKind::Empty, false};
constexpr SystemSpec kNoListSpec = {&kNoPackageList, nullptr, 0, false, TXS_ZOO_NAMES, PackageListKind::None, false};
constexpr SystemSpec kVariantListSpec = {&kVariantPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                         PackageListKind::Variants, false};
constexpr SystemSpec kNumberListSpec = {&kNumberPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                        PackageListKind::Numbers, false};
constexpr SystemSpec kTwoDimListSpec = {&kTwoDimPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                        PackageListKind::TwoDimensional, false};
constexpr SystemSpec kFailingListSpec = {&kFailingPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                         PackageListKind::Fails, false};
constexpr SystemSpec kFaultySystemSpec = {&kFaultySystem, nullptr, 0, true, nullptr, 0, PackageListKind::Names, false};
constexpr SystemSpec kBracketNameSpec = {&kBracketName, nullptr, 0, false, kBracketPackages, 1,
                                         PackageListKind::Names, false};
#undef TXS_ZOO_NAMES

constexpr UnitSpec kTerminateFailsSpec = {&kTerminateFails, true, true, PersistKind::None, PersistFault::None, true};
constexpr UnitSpec kInitNewFailsSpec = {&kInitNewFails, true, true, PersistKind::StreamInit,
                                        PersistFault::InitNewFails, false};
constexpr UnitSpec kInitNewFailsStorageSpec = {&kInitNewFailsStorage, true, true, PersistKind::Storage,
                                               PersistFault::InitNewFails, false};
constexpr UnitSpec kLoadFailsSpec = {&kLoadFails, true, true, PersistKind::StreamInit, PersistFault::LoadFails, false};
constexpr UnitSpec kLoadFailsStorageSpec = {&kLoadFailsStorage, true, true, PersistKind::Storage,
                                            PersistFault::LoadFails, false};
constexpr UnitSpec kLoadFailsStreamSpec = {&kLoadFailsStream, true, true, PersistKind::Stream, PersistFault::LoadFails,
                                           false};
constexpr UnitSpec kSaveFailsSpec = {&kSaveFails, true, true, PersistKind::StreamInit, PersistFault::SaveFails, false};
constexpr UnitSpec kQuirkSpec = {&kQuirk800A02E1, true, true, PersistKind::StreamInit, PersistFault::Quirk800A02E1,
                                 false};
constexpr UnitSpec kQuirkStorageSpec = {&kQuirk800A02E1Storage, true, true, PersistKind::Storage,
                                        PersistFault::Quirk800A02E1, false};
constexpr UnitSpec kNoThermoSystemSpec = {&kNoThermoSystem, false, false, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kLongValuesSpec = {&kLongValues, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kAboutEscapesSpec = {&kAboutEscapes, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitSpec kNoDescriptionSpec = {&kNoDescription, true, true, PersistKind::None, PersistFault::None, false};

template <const UnitSpec* Spec>
constexpr SampleClass unitClass() {
  return {Spec->info, createFactory<RegisteredUnit<Spec>>, nullptr};
}
template <const SystemSpec* Spec>
constexpr SampleClass systemClass() {
  return {Spec->info, createFactory<RegisteredSystem<Spec>>, Spec};
}

}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      {&kQIFails, createQIFailsFactory, nullptr},
      unitClass<&kTerminateFailsSpec>(),
      systemClass<&kInitializeFailsSpec>(),
      unitClass<&kInitNewFailsSpec>(),
      unitClass<&kInitNewFailsStorageSpec>(),
      unitClass<&kLoadFailsSpec>(),
      unitClass<&kLoadFailsStorageSpec>(),
      unitClass<&kLoadFailsStreamSpec>(),
      unitClass<&kSaveFailsSpec>(),
      unitClass<&kQuirkSpec>(),
      unitClass<&kQuirkStorageSpec>(),
      systemClass<&kEmptyListSpec>(),
      systemClass<&kNoListSpec>(),
      systemClass<&kVariantListSpec>(),
      systemClass<&kNumberListSpec>(),
      systemClass<&kTwoDimListSpec>(),
      systemClass<&kFailingListSpec>(),
      systemClass<&kFaultySystemSpec>(),
      {&kPackageWithoutInterface, createFactory<RegisteredNotAPackage<&kPackageWithoutInterface>>, nullptr},
      unitClass<&kNoThermoSystemSpec>(),
      unitClass<&kLongValuesSpec>(),
      systemClass<&kBracketNameSpec>(),
      unitClass<&kAboutEscapesSpec>(),
      unitClass<&kNoDescriptionSpec>(),
      {&kNoServer, nullptr, nullptr},
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs
