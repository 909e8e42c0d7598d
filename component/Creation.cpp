// Component creation and the CAPE-OPEN compliance checks.
#include "component/CCAPEGUI.h"

STDMETHODIMP CCCAPEGUI::createComp(IDispatch**, IDispatch**) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::setComponent(IDispatch*) { return E_NOTIMPL; }

STDMETHODIMP CCCAPEGUI::get_compCOversion(LONG* pVal) {
  return plainFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    *pVal = compCOversion;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_compCOversion(LONG newVal) {
  return plainFrame([&]() -> HRESULT {
    compCOversion = newVal;
    return S_OK;
  });
}
