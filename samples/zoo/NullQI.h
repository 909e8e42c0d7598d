// The zoo member whose QueryInterface answers S_OK without a pointer for every interface
// but IUnknown. Its class object asks it for the requested interface, as class objects do.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace txs {

HRESULT createNullQIFactory(IClassFactory** factory);

}  // namespace txs
