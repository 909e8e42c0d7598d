#include "framework/ObjectRoot.h"

namespace fw {

HRESULT ObjectRoot::InternalQueryInterface(void* self, const InterfaceEntry* table, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!self || !table || !table->iid) return E_NOINTERFACE;
  for (const InterfaceEntry* entry = table; entry->iid; ++entry) {
    if (IsEqualIID(riid, *entry->iid) || (entry == table && IsEqualIID(riid, IID_IUnknown))) {
      IUnknown* unknown = reinterpret_cast<IUnknown*>(static_cast<char*>(self) + entry->offset);
      unknown->AddRef();
      *ppv = unknown;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

}  // namespace fw
