// Thermo options of a property package and the property package dialog. The values live
// in the dialog object (config), which exists for the object's whole life.
#include "component/CCAPEGUI.h"
#include "component/OutText.h"
#include "external/CapeOpen.h"

namespace {

const char kNoCustomView[] = "The component does not provide a Custom View.";

// Any non-zero VARIANT_BOOL means on, so 1 counts as well as VARIANT_TRUE.
int stored(VARIANT_BOOL value) { return value != 0 ? 1 : 0; }
VARIANT_BOOL answered(int value) { return value > 0 ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT answer3(VARIANT_BOOL* a, VARIANT_BOOL* b, VARIANT_BOOL* c, int va, int vb, int vc) {
  if (!a || !b || !c) return E_POINTER;
  *a = answered(va);
  *b = answered(vb);
  *c = answered(vc);
  return S_OK;
}

}  // namespace

STDMETHODIMP CCCAPEGUI::ShowThermoGUI(VARIANT_BOOL allowModifications) {
  // A host that runs without a user has switched the dialog off for good.
  if (!thermoGuiEnabled) return S_OK;
  // The host's own handlers run in the dialog's loop and may drop its last reference.
  fw::ComPtr<ICCAPEGUI> keepAlive(self());
  return windowFrame([&]() -> HRESULT {
    // Asked again from a handler of the host while the dialog is up: one window per
    // dialog object, or its data exchange would lose track of the first.
    if (config->hwnd()) {
      SetForegroundWindow(config->hwnd());
      return S_OK;
    }
    config->owner = this;
    config->allowModifications = allowModifications != 0;
    config->setParentWindow(hostWindow);
    // OK reads the controls back into the values, the close box leaves them alone.
    if (config->DoModal() == -1) {
      DWORD error = GetLastError();
      return reportUnexpected(error ? HRESULT_FROM_WIN32(error) : E_FAIL);
    }
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::simulateThermoGUI(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets,
                                          VARIANT_BOOL treatAsHypos) {
  return windowFrame([&]() -> HRESULT {
    config->freeCompounds = stored(freeCompounds);
    config->allowSubsets = stored(allowSubsets);
    config->treatAsHypos = stored(treatAsHypos);
    thermoGuiEnabled = false;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::setCompOptions(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds,
                                       VARIANT_BOOL treatAsHypos) {
  return windowFrame([&]() -> HRESULT {
    config->allowSubsets = stored(allowSubsets);
    config->freeCompounds = stored(freeCompounds);
    config->treatAsHypos = stored(treatAsHypos);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::getCompOptions(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds,
                                       VARIANT_BOOL* treatAsHypos) {
  return windowFrame([&]() -> HRESULT {
    return answer3(allowSubsets, freeCompounds, treatAsHypos, config->allowSubsets, config->freeCompounds,
                   config->treatAsHypos);
  });
}

STDMETHODIMP CCCAPEGUI::setRecovErrorsOptions(VARIANT_BOOL trace, VARIANT_BOOL log, VARIANT_BOOL popUp) {
  return windowFrame([&]() -> HRESULT {
    config->recovTrace = stored(trace);
    config->recovLog = stored(log);
    config->recovPopUp = stored(popUp);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::getRecovErrorsOptions(VARIANT_BOOL* trace, VARIANT_BOOL* log, VARIANT_BOOL* popUp) {
  return windowFrame([&]() -> HRESULT {
    return answer3(trace, log, popUp, config->recovTrace, config->recovLog, config->recovPopUp);
  });
}

STDMETHODIMP CCCAPEGUI::setCritErrorsOptions(VARIANT_BOOL trace, VARIANT_BOOL log, VARIANT_BOOL popUp) {
  return windowFrame([&]() -> HRESULT {
    config->critTrace = stored(trace);
    config->critLog = stored(log);
    config->critPopUp = stored(popUp);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::getCritErrorsOptions(VARIANT_BOOL* trace, VARIANT_BOOL* log, VARIANT_BOOL* popUp) {
  return windowFrame([&]() -> HRESULT {
    return answer3(trace, log, popUp, config->critTrace, config->critLog, config->critPopUp);
  });
}

STDMETHODIMP CCCAPEGUI::get_requestLiquid2(VARIANT_BOOL* pVal) {
  return windowFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    *pVal = answered(config->requestLiquid2);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_requestLiquid2(VARIANT_BOOL newVal) {
  return windowFrame([&]() -> HRESULT {
    config->requestLiquid2 = stored(newVal);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::get_doOrderPhases(VARIANT_BOOL* pVal) {
  return windowFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    *pVal = answered(config->doOrderPhases);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_doOrderPhases(VARIANT_BOOL newVal) {
  return windowFrame([&]() -> HRESULT {
    config->doOrderPhases = stored(newVal);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::get_socketVersion(BSTR* pVal) {
  return windowFrame([&]() -> HRESULT {
    return outText(pVal, config->socketVersion, false);
  });
}

STDMETHODIMP CCCAPEGUI::put_socketVersion(BSTR newVal) {
  return windowFrame([&]() -> HRESULT {
    config->socketVersion = narrowFromWide(newVal);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::get_supportedPhaseTypes(VARIANT* pVal) {
  return windowFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    // An out parameter holds nothing of the caller's: clearing it would free garbage.
    VariantInit(pVal);
    return VariantCopy(pVal, supportedPhaseTypes.get());
  });
}

STDMETHODIMP CCCAPEGUI::put_supportedPhaseTypes(VARIANT newVal) {
  return windowFrame([&]() -> HRESULT {
    // A reference would point into the caller's memory after the call: keep the value.
    return VariantCopyInd(supportedPhaseTypes.get(), &newVal);
  });
}

STDMETHODIMP CCCAPEGUI::getThis(INT_PTR* rawPointer) {
  return windowFrame([&]() -> HRESULT {
    if (!rawPointer) return E_POINTER;
    *rawPointer = reinterpret_cast<INT_PTR>(config.get());
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::setPPInfo(VARIANT* txNames, VARIANT* matchedBy, VARIANT* mapping) {
  return windowFrame([&]() -> HRESULT {
    // The report carries only the package's own error information.
    SetErrorInfo(0, nullptr);
    HRESULT hr = config->LoadPackageInfo(component.get(), txNames, matchedBy, mapping);
    if (FAILED(hr)) return reportUnexpected(hr);
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::getFullCOPPClassName(BSTR* name) {
  return windowFrame([&]() -> HRESULT {
    const std::string& item = compAlias.empty() ? compProgId : compAlias;
    std::string result = item.empty() ? std::string("<no Property Package name available>") : item;
    result += parentProgId.empty() ? std::string("(Standalone)") : "(from '" + parentProgId + "')";
    return outText(name, result, false);
  });
}

STDMETHODIMP CCCAPEGUI::traceReport(BSTR msg, VARIANT_BOOL appendNewLine) {
  return windowFrame([&]() -> HRESULT {
    std::string report = config->importReport + narrowFromWide(msg);
    if (appendNewLine != 0) report += '\n';
    config->importReport = report;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::showStaticInfo() {
  fw::ComPtr<ICCAPEGUI> keepAlive(self());
  return windowFrame([&] { return browseStatic(true); });
}

HRESULT CCCAPEGUI::ShowCustomView() {
  // The package's Edit may call back into the host, which may let the object go.
  fw::ComPtr<ICCAPEGUI> keepAlive(self());
  return plainFrame([&]() -> HRESULT {
    // The maker's own property system has no view of its own to show.
    bool makerSystem = !parentProgId.empty() && CCOTHConfig::isMakerSystem(CTxBSTR(parentProgId.c_str()));
    if (!makerSystem && component) {
      fw::ComPtr<ICapeUtilities> utilities;
      HRESULT hr = utilities.queryFrom(component.get(), IID_ICapeUtilities);
      if (SUCCEEDED(hr)) {
        SetErrorInfo(0, nullptr);
        hr = utilities->Edit();
        if (SUCCEEDED(hr)) return S_OK;
        // The component's error information goes with the message.
        return MTUtils::reportError(hr, kNoCustomView, nullptr, nullptr, true);
      }
      if (FAILED(hr) && hr != E_NOINTERFACE) return MTUtils::reportError(hr, kNoCustomView, nullptr, nullptr, true);
    }
    SetErrorInfo(0, nullptr);
    return MTUtils::reportFailure(kNoCustomView, nullptr, nullptr, true);
  });
}
