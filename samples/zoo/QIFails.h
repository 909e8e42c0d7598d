// The zoo member whose QueryInterface answers E_FAIL to everything, IUnknown included.
// Its class object hands the object out without asking it, as creation needs.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace txs {

HRESULT createQIFailsFactory(IClassFactory** factory);

}  // namespace txs
