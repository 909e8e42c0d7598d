// TxSampleHost.dll: the host container, as a registered class and through a factory
// function that tests call directly.
#include "samples/common/SampleModule.h"
#include "samples/host/HostContainer.h"

namespace txs {

const SampleClass* sampleClasses(int* count) {
  static const SampleClass classes[] = {{&kHostContainer, createHostContainerFactory, nullptr}};
  *count = static_cast<int>(sizeof classes / sizeof classes[0]);
  return classes;
}

}  // namespace txs

extern "C" HRESULT WINAPI SampleCreateHostContainer(const wchar_t* file, DWORD failures, IDispatch** container) {
  if (!container) return E_POINTER;
  *container = nullptr;
  try {
    return txs::HostContainer::create(file, failures, IID_IDispatch, reinterpret_cast<void**>(container));
  } catch (...) {
    return E_UNEXPECTED;
  }
}
