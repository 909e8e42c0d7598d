// TxSampleUnits32.dll: the mixer built for 32-bit hosts (i686). A 64-bit process cannot
// load it; TxSamplePlanted.dll registers it in the 32-bit registry view in its stead.
#include "samples/common/SampleUnit.h"

namespace txs {

namespace {
constexpr UnitTraits kX86MixerTraits = {&kX86Mixer, true, true, PersistKind::None, PersistFault::None, false};
}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {{&kX86Mixer, createFactory<RegisteredUnit<&kX86MixerTraits>>, nullptr}};
  *count = 1;
  return classes;
}

}  // namespace txs
