// The object's construction, release, interface table, method frames and the few
// methods that belong to no theme.
#include "component/CCAPEGUI.h"
#include <new>

CCCAPEGUI::CCCAPEGUI()
    : hostWindow(nullptr), enableWarnings(true), persistType(0), isRecalling(false), filter(catf_All),
      compCOversion(0), thermoGuiEnabled(true) {
  MTUtils::setModuleName("TxCOGUI");
}

CCCAPEGUI::~CCCAPEGUI() {}

const fw::InterfaceEntry* CCCAPEGUI::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_ICCAPEGUI, fw::interfaceOffset<CCCAPEGUI, ICCAPEGUI>()},
      {&IID_IDispatch, fw::interfaceOffset<CCCAPEGUI, ICCAPEGUI>()},
      {nullptr, 0}};
  return table;
}

HRESULT CCCAPEGUI::FinalConstruct() {
  hostWindow = nullptr;
  MTUtils::setOwnerWindow(hostWindow);
  enableWarnings = true;
  filter = catf_All;
  compCOversion = 0;
  persistType = 0;
  container.reset();
  component.reset();
  propertySystem.reset();
  config.reset(new (std::nothrow) CCOTHConfig(nullptr));
  return config ? S_OK : E_OUTOFMEMORY;
}

void CCCAPEGUI::FinalRelease() {
  config.reset();
  self()->releaseComponents();
}

HRESULT CCCAPEGUI::guarded(HRESULT (*call)(void*), void* body) {
  try {
    return call(body);
  } catch (const _com_error& error) {
    // A COM error raised inside the method: report it with the error information it
    // carries, and return its code instead of letting it leave the interface.
    fw::ComPtr<IErrorInfo> info;
    info.attach(error.ErrorInfo());
    SetErrorInfo(0, info.get());
    return MTUtils::reportError(error.Error(), "Unexpected error ", nullptr, nullptr, true);
  } catch (const std::bad_alloc&) {
    return MTUtils::reportError(E_OUTOFMEMORY, "Unexpected error ", nullptr, nullptr, true);
  } catch (...) {
    return MTUtils::reportError(E_UNEXPECTED, "Unexpected error ", nullptr, nullptr, true);
  }
}

void CCCAPEGUI::closingStep() {
  MTUtils::setOwnerWindow(nullptr);
  SetErrorInfo(0, nullptr);
}

HRESULT CCCAPEGUI::reportUnexpected(HRESULT code) {
  return MTUtils::reportError(code, "Unexpected error ", nullptr, nullptr, true);
}

HRESULT CCCAPEGUI::report(HRESULT code, const std::string& text) {
  return MTUtils::reportError(code, text.c_str(), nullptr, hostWindow, true);
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setFilter(long newFilter) {
  return plainFrame([&]() -> HRESULT {
    filter = newFilter;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::getLastError(BSTR* /*msg*/) {
  // The object keeps no last-error text: reports went to the user and the trace file.
  return S_OK;
}
