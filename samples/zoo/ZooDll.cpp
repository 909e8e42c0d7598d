// TxSampleZoo.dll: components that break the rules the product relies on, one way each.
#include "samples/common/SamplePackage.h"
#include "samples/common/SampleSystem.h"
#include "samples/common/SampleUnit.h"
#include "samples/zoo/NullQI.h"
#include "samples/zoo/QIFails.h"

namespace txs {

namespace {

#define TXS_ZOO_NAMES kZooListedNames, TXS_COUNT(kZooListedNames)
constexpr const char* kBracketPackages[] = {kBracketPackageName};

constexpr SystemTraits kInitializeFailsTraits = {&kInitializeFails,      nullptr, 0, false, TXS_ZOO_NAMES,
                                                 PackageListKind::Names, true};
constexpr SystemTraits kEmptyListTraits = {&kEmptyPackageList,     nullptr, 0, false, TXS_ZOO_NAMES,
                                           PackageListKind::Empty, false};
constexpr SystemTraits kLowestEmptyListTraits = {&kLowestEmptyPackageList, nullptr, 0, false, TXS_ZOO_NAMES,
                                                 PackageListKind::EmptyAtLowest, false};
constexpr SystemTraits kNoListTraits = {&kNoPackageList,       nullptr, 0, false, TXS_ZOO_NAMES,
                                        PackageListKind::None, false};
constexpr SystemTraits kVariantListTraits = {&kVariantPackageList,      nullptr, 0, false, TXS_ZOO_NAMES,
                                             PackageListKind::Variants, false};
constexpr SystemTraits kNumberListTraits = {&kNumberPackageList,      nullptr, 0, false, TXS_ZOO_NAMES,
                                            PackageListKind::Numbers, false};
constexpr SystemTraits kTwoDimListTraits = {
    &kTwoDimPackageList, nullptr, 0, false, TXS_ZOO_NAMES, PackageListKind::TwoDimensional, false};
constexpr SystemTraits kFailingListTraits = {&kFailingPackageList,   nullptr, 0, false, TXS_ZOO_NAMES,
                                             PackageListKind::Fails, false};
constexpr SystemTraits kFaultySystemTraits = {&kFaultySystem,         nullptr, 0, true, nullptr, 0,
                                              PackageListKind::Names, false};
constexpr SystemTraits kBracketNameTraits = {&kBracketName,          nullptr, 0, false, kBracketPackages, 1,
                                             PackageListKind::Names, false};
#undef TXS_ZOO_NAMES

constexpr UnitTraits kTerminateFailsTraits = {&kTerminateFails,   true, true, PersistKind::None,
                                              PersistFault::None, true};
constexpr UnitTraits kInitNewFailsTraits = {
    &kInitNewFails, true, true, PersistKind::StreamInit, PersistFault::InitNewFails, false};
constexpr UnitTraits kInitNewFailsStorageTraits = {&kInitNewFailsStorage,      true, true, PersistKind::Storage,
                                                   PersistFault::InitNewFails, false};
constexpr UnitTraits kLoadFailsTraits = {&kLoadFails, true, true, PersistKind::StreamInit, PersistFault::LoadFails,
                                         false};
constexpr UnitTraits kLoadFailsStorageTraits = {&kLoadFailsStorage,      true, true, PersistKind::Storage,
                                                PersistFault::LoadFails, false};
constexpr UnitTraits kLoadFailsStreamTraits = {&kLoadFailsStream,       true, true, PersistKind::Stream,
                                               PersistFault::LoadFails, false};
constexpr UnitTraits kSaveFailsTraits = {&kSaveFails, true, true, PersistKind::StreamInit, PersistFault::SaveFails,
                                         false};
constexpr UnitTraits kQuirkTraits = {
    &kQuirk800A02E1, true, true, PersistKind::StreamInit, PersistFault::Quirk800A02E1, false};
constexpr UnitTraits kQuirkStorageTraits = {&kQuirk800A02E1Storage,      true, true, PersistKind::Storage,
                                            PersistFault::Quirk800A02E1, false};
constexpr UnitTraits kNoThermoSystemTraits = {&kNoThermoSystem,   false, false, PersistKind::None,
                                              PersistFault::None, false};
constexpr UnitTraits kLongValuesTraits = {&kLongValues, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kAboutEscapesTraits = {&kAboutEscapes, true, true, PersistKind::None, PersistFault::None, false};
constexpr UnitTraits kNoDescriptionTraits = {&kNoDescription, true, true, PersistKind::None, PersistFault::None, false};

template <const UnitTraits* Traits>
constexpr SampleClass unitClass() {
  return {Traits->info, createFactory<RegisteredUnit<Traits>>, nullptr};
}
template <const SystemTraits* Traits>
constexpr SampleClass systemClass() {
  return {Traits->info, createFactory<RegisteredSystem<Traits>>, Traits};
}

}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      {&kQIFails, createQIFailsFactory, nullptr},
      {&kNullQI, createNullQIFactory, nullptr},
      unitClass<&kTerminateFailsTraits>(),
      systemClass<&kInitializeFailsTraits>(),
      unitClass<&kInitNewFailsTraits>(),
      unitClass<&kInitNewFailsStorageTraits>(),
      unitClass<&kLoadFailsTraits>(),
      unitClass<&kLoadFailsStorageTraits>(),
      unitClass<&kLoadFailsStreamTraits>(),
      unitClass<&kSaveFailsTraits>(),
      unitClass<&kQuirkTraits>(),
      unitClass<&kQuirkStorageTraits>(),
      systemClass<&kEmptyListTraits>(),
      systemClass<&kLowestEmptyListTraits>(),
      systemClass<&kNoListTraits>(),
      systemClass<&kVariantListTraits>(),
      systemClass<&kNumberListTraits>(),
      systemClass<&kTwoDimListTraits>(),
      systemClass<&kFailingListTraits>(),
      systemClass<&kFaultySystemTraits>(),
      {&kPackageWithoutInterface, createFactory<RegisteredNotAPackage<&kPackageWithoutInterface>>, nullptr},
      unitClass<&kNoThermoSystemTraits>(),
      unitClass<&kLongValuesTraits>(),
      systemClass<&kBracketNameTraits>(),
      unitClass<&kAboutEscapesTraits>(),
      unitClass<&kNoDescriptionTraits>(),
      {&kNoServer, nullptr, nullptr},
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs
