// Component selection: what the host or the user chose, and the hold on the container.
#include "component/CCAPEGUI.h"
#include "component/OutText.h"
#include "ppdialog/CCOTHConfig.h"

STDMETHODIMP CCCAPEGUI::ShowGUI(BSTR*, BSTR*) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::GetItemCLSID(BSTR*) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::GetParentCLSID(BSTR*) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::setup(INT_PTR, IDispatch*, LONG) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::setProgIds(BSTR, BSTR) { return E_NOTIMPL; }
STDMETHODIMP CCCAPEGUI::releaseComponents() { return E_NOTIMPL; }

STDMETHODIMP CCCAPEGUI::GetItemProgID(BSTR* itemprogid) {
  return plainFrame([&] { return outText(itemprogid, compProgId, true); });
}

STDMETHODIMP CCCAPEGUI::GetItemAlias(BSTR* itemAlias) {
  return plainFrame([&] { return outText(itemAlias, compAlias, true); });
}

STDMETHODIMP CCCAPEGUI::GetParentProgID(BSTR* Parentprogid) {
  return plainFrame([&] { return outText(Parentprogid, parentProgId, true); });
}

STDMETHODIMP CCCAPEGUI::GetParentAlias(BSTR* ParentAlias) {
  return plainFrame([&] { return outText(ParentAlias, parentAlias, true); });
}

STDMETHODIMP CCCAPEGUI::GetCATID(BSTR* value) {
  return plainFrame([&] { return outText(value, catid, false); });
}

STDMETHODIMP CCCAPEGUI::GetItemInfo(BSTR* descriptionOut, BSTR* componentVersionOut, BSTR* vendorURLOut,
                                    BSTR* helpURLOut, BSTR* aboutOut) {
  return windowFrame([&]() -> HRESULT {
    if (!descriptionOut || !componentVersionOut || !vendorURLOut || !helpURLOut || !aboutOut) return E_POINTER;
    outText(descriptionOut, description, false);
    outText(componentVersionOut, componentVersion, false);
    outText(vendorURLOut, vendorURL, false);
    outText(helpURLOut, helpURL, false);
    outText(aboutOut, about, false);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::get_serverName(BSTR* pVal) {
  return plainFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    *pVal = serverName.copy();
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_serverName(BSTR newVal) {
  return plainFrame([&]() -> HRESULT {
    serverName = CTxBSTR(static_cast<const wchar_t*>(newVal));
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_enableWarnings(VARIANT_BOOL newVal) {
  return plainFrame([&]() -> HRESULT {
    enableWarnings = (newVal == VARIANT_TRUE);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::setAlias(BSTR szComponentAlias, BSTR szParentAlias) {
  return plainFrame([&]() -> HRESULT {
    compAlias = narrowText(szComponentAlias);
    parentAlias = narrowText(szParentAlias);
    if (config) {
      config->packageName = compAlias;
      config->systemName = parentAlias;
    }
    return S_OK;
  });
}
