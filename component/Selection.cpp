// Component selection: what the host or the user chose, the hold on the host's container,
// and giving back what the object created.
#include "component/CCAPEGUI.h"
#include "component/CapeVersion.h"
#include "component/OutText.h"
#include "framework/Raii.h"
#include "external/CapeOpen.h"
#include "manager/CCapeOpenDlg.h"
#include "support/Utils.h"

namespace {

// CString::TrimRight: white space at the end (blanks, tabs, line ends).
std::string trimRight(const std::string& text) {
  size_t end = text.find_last_not_of(" \t\r\n\v\f");
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

STDMETHODIMP CCCAPEGUI::setup(INT_PTR HWND_, IDispatch* newContainer, LONG newFilter) {
  return windowFrame([&]() -> HRESULT {
    hostWindow = reinterpret_cast<HWND>(HWND_);
    setFilter(newFilter);
    if (!newContainer) {
      container.reset();
      return S_OK;
    }
    // Both interfaces of the host are held as its container.
    const IID& iid = (newFilter & catf_UnitOperation) ? IID_ExtnContainerUnit : IID_ExtnContainer;
    fw::ComPtr<ExtnContainer> held;
    HRESULT hr = held.queryFrom(newContainer, iid);
    if (FAILED(hr)) return reportUnexpected(hr);
    // The container that this one replaces is given back here, not kept until release.
    container = held;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::setProgIds(BSTR szComponentProgId, BSTR szParentProgId) {
  return windowFrame([&]() -> HRESULT {
    compProgId = narrowFromWide(szComponentProgId);
    parentProgId = narrowFromWide(szParentProgId);
    browseStatic(false);
    return S_OK;
  });
}

HRESULT CCCAPEGUI::browseStatic(bool show) {
  CCapeOpenDlg dialog(hostWindow);
  dialog.setFilter(filter);
  dialog.SetInitialComponent(compProgId, parentProgId, std::string());
  if (show) dialog.DoModal();
  readDialogResult(dialog);
  return S_OK;
}

void CCCAPEGUI::readDialogResult(const CCapeOpenDlg& dialog) {
  const ComponentChoice& choice = dialog.choice();
  serverName = CTxBSTR(choice.serverName.c_str());
  compClsid = choice.clsid;
  catid = choice.catid;
  compProgId = choice.progId;
  parentProgId = choice.parentProgId;
  description = choice.description;
  vendorURL = choice.vendorURL;
  helpURL = choice.helpURL;
  componentVersion = choice.componentVersion;
  about = choice.about;
  CTxBSTR name(choice.name.c_str()), parentName(choice.parentName.c_str());
  self()->setAlias(name, parentName);
  coVersionText = trimRight(choice.capeVersion);
  compCOversion = CapeVersion::parseCOVersion(coVersionText);
}

STDMETHODIMP CCCAPEGUI::ShowGUI(BSTR* szComponent, BSTR* szCATIDs) {
  // The host's own handlers run in the dialog's loop and may drop its last reference.
  fw::ComPtr<ICCAPEGUI> keepAlive(self());
  return windowFrame([&]() -> HRESULT {
    if (!szComponent || !szCATIDs) return E_POINTER;
    try {
      CCapeOpenDlg dialog(hostWindow);
      catid.clear();
      compProgId.clear();
      parentProgId.clear();
      dialog.setFilter(filter);
      // Accept and Cancel alike: whatever the dialog's choice holds is taken.
      dialog.DoModal();
      readDialogResult(dialog);
      // The values that came in are the caller's: neither read nor freed.
      CTxBSTR chosen(compProgId.c_str()), category(catid.c_str());
      fw::UniqueBstr componentOut(chosen.copy());
      fw::UniqueBstr categoryOut(category.copy());
      *szComponent = componentOut.release();
      *szCATIDs = categoryOut.release();
      closingStep();
      return S_OK;
    } catch (...) {
      std::string name;
      try {
        BSTR full = nullptr;
        if (SUCCEEDED(self()->getFullCOPPClassName(&full))) {
          name = narrowFromWide(full);
          SysFreeString(full);
        }
      } catch (...) {
        name.clear();
      }
      report(MTUtils::kInternalError, "Unexpected error in CCAPEGUI::ShowGui for ProgId:" + name);
      // Never hand the caller back the uninitialised pointers it passed in.
      *szComponent = SysAllocString(L"");
      *szCATIDs = SysAllocString(L"");
      return S_OK;
    }
  });
}

HRESULT CCCAPEGUI::resolveClsid(const std::string& progId, CLSID* clsid) {
  CTxBSTR wideProgId(progId.c_str());
  HRESULT hr = CLSIDFromProgID(wideProgId, clsid);
  if (SUCCEEDED(hr)) return hr;
  // A property package has no ProgID of its own: the catalogue gave its system's CLSID.
  CTxBSTR chosen(compProgId.c_str());
  if (Utils::equalNoCase(wideProgId, chosen) && !compClsid.empty()) {
    CTxBSTR text(compClsid.c_str());
    hr = CLSIDFromString(text, clsid);
    if (SUCCEEDED(hr)) return hr;
  }
  return report(hr, "The component with ProgID '" + progId +
                        "' is not correctly registered. It's CLSID does not appear in the registry.");
}

STDMETHODIMP CCCAPEGUI::GetItemCLSID(BSTR* itemclsid) {
  return windowFrame([&]() -> HRESULT {
    if (!itemclsid) return E_POINTER;
    CLSID clsid;
    HRESULT hr = resolveClsid(compProgId, &clsid);
    if (FAILED(hr)) return hr;
    std::string text = Utils::guidText(clsid);
    if (text.empty()) return reportUnexpected(E_OUTOFMEMORY);
    return outText(itemclsid, text, false);
  });
}

STDMETHODIMP CCCAPEGUI::GetParentCLSID(BSTR* Parentclsid) {
  return windowFrame([&]() -> HRESULT {
    if (!Parentclsid) return E_POINTER;
    CLSID clsid;
    HRESULT hr = resolveClsid(parentProgId, &clsid);
    if (FAILED(hr)) return hr;
    std::string text = Utils::guidText(clsid);
    if (text.empty()) return reportUnexpected(E_OUTOFMEMORY);
    return outText(Parentclsid, text, false);
  });
}

HRESULT CCCAPEGUI::giveBack(bool terminate) {
  HRESULT result = S_OK;
  // Each field is emptied before its component is called, so a component that calls back
  // into this object from its Terminate finds nothing to give back twice.
  for (fw::ComPtr<IDispatch>* field : {&propertySystem, &component}) {
    fw::ComPtr<IDispatch> held = std::move(*field);
    if (!held || !terminate) continue;
    fw::ComPtr<ICapeUtilities> utilities;
    HRESULT hr = utilities.queryFrom(held.get(), IID_ICapeUtilities);
    if (SUCCEEDED(hr)) {
      hr = utilities->Terminate();
      // Any success code is a stop; a failure carries the component's own error
      // information into the report.
      hr = SUCCEEDED(hr) ? S_OK : reportUnexpected(hr);
    } else {
      hr = hr == E_NOINTERFACE ? S_OK : reportUnexpected(hr);
    }
    if (SUCCEEDED(result)) result = hr;
  }
  return result;
}

STDMETHODIMP CCCAPEGUI::releaseComponents() {
  return windowFrame([&]() -> HRESULT {
    HRESULT result = giveBack(true);
    container.reset();
    return result;
  });
}

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
    compAlias = narrowFromWide(szComponentAlias);
    parentAlias = narrowFromWide(szParentAlias);
    config->packageName = compAlias;
    config->systemName = parentAlias;
    return S_OK;
  });
}
