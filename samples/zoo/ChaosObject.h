// The chaos component's object: one class that can be a property system, a property
// package or a unit operation, and whose QueryInterface, results, out values, lists,
// persistence and calls back into the host are drawn from its generator.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include "samples/zoo/ChaosIds.h"

namespace txs {

enum class ChaosKind { System, Package, Unit };

// A new object of 'kind' asked for 'riid' (the class object's request), seeded from the
// current seed and the number of objects made under it.
HRESULT createChaosObject(ChaosKind kind, REFIID riid, void** out);

// The host object that Initialize, Edit and Terminate may call back into (held).
void setChaosHost(IUnknown* host);

}  // namespace txs
