// TxSampleThermo.dll: the sample property system with its three packages, and the
// standalone property package.
#include "samples/common/SamplePackage.h"
#include "samples/common/SampleSystem.h"

namespace txs {

namespace {
constexpr SystemTraits kThermoSystemTraits = {
    &kThermoSystem, kSystemPackages, kSystemPackageCount, false, nullptr, 0, PackageListKind::Names, false};
}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      {&kThermoSystem, createFactory<RegisteredSystem<&kThermoSystemTraits>>, &kThermoSystemTraits},
      {&kPropertyPackage, createFactory<RegisteredPackage<&kPropertyPackage, &kStandalonePackage>>, nullptr},
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs
