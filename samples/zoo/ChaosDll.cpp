// TxSampleChaos.dll: the chaos component (ChaosObject.h). Not registered by the test
// fixtures: its answers would upset every test that lists or creates components; the
// chaos driver registers it for its own runs.
#include "samples/zoo/ChaosObject.h"
#include "samples/common/SampleModule.h"

namespace txs {

namespace {

template <ChaosKind Kind>
HRESULT createKind(REFIID riid, void** out) {
  return createChaosObject(Kind, riid, out);
}

}  // namespace

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {
      {&kChaosSystem, createCreatorFactory<createKind<ChaosKind::System>>, nullptr},
      {&kChaosPackage, createCreatorFactory<createKind<ChaosKind::Package>>, nullptr},
      {&kChaosUnit, createCreatorFactory<createKind<ChaosKind::Unit>>, nullptr},
  };
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs

extern "C" void WINAPI ChaosSetHost(IUnknown* host) { txs::setChaosHost(host); }
