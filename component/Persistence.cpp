// Component persistence through the host's storage.
#include "component/CCAPEGUI.h"

STDMETHODIMP CCCAPEGUI::getPersistType(LONG*) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::saveStorage() { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::loadStorage(VARIANT_BOOL) { return E_NOTIMPL; }
