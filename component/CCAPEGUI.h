// CCCAPEGUI: the COM class CCAPEGUI. One object stands for one CAPE-OPEN component of the
// host: its selection, creation, persistence and thermo options (ICCAPEGUI).
#pragma once
#include <windows.h>
#include <string>
#include "TxCOGUI.h"
#include "framework/ComPtr.h"
#include "framework/DispatchImpl.h"
#include "framework/ObjectRoot.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"
#include "manager/ComponentChoice.h"

class CCOTHConfig;
class CCapeOpenDlg;
struct ExtnContainer;

class CCCAPEGUI : public fw::DispatchImpl<ICCAPEGUI, &IID_ICCAPEGUI, &LIBID_TXSHOWCOCATIDSLib>,
                  public fw::ObjectRoot {
 public:
  // First virtual of the class's own: its slot follows the 45 of ICCAPEGUI, where the
  // host reaches it through the raw interface pointer. Declare nothing virtual before it.
  virtual HRESULT STDMETHODCALLTYPE setFilter(long filter);

  CCCAPEGUI();
  virtual ~CCCAPEGUI();
  CCCAPEGUI(const CCCAPEGUI&) = delete;
  CCCAPEGUI& operator=(const CCCAPEGUI&) = delete;

  HRESULT FinalConstruct();
  void FinalRelease();
  static const fw::InterfaceEntry* interfaceTable();

  // Reached by the property package dialog through its owner pointer.
  HRESULT ShowCustomView();
  const VARIANT& phaseTypes() const { return supportedPhaseTypes; }

  // ICCAPEGUI
  STDMETHOD(ShowGUI)(BSTR* szComponent, BSTR* szCATIDs) override;
  STDMETHOD(GetItemCLSID)(BSTR* itemclsid) override;
  STDMETHOD(GetItemProgID)(BSTR* itemprogid) override;
  STDMETHOD(GetItemAlias)(BSTR* itemAlias) override;
  STDMETHOD(GetParentCLSID)(BSTR* Parentclsid) override;
  STDMETHOD(GetParentProgID)(BSTR* Parentprogid) override;
  STDMETHOD(GetParentAlias)(BSTR* ParentAlias) override;
  STDMETHOD(GetCATID)(BSTR* catid) override;
  STDMETHOD(setComponent)(IDispatch* comp) override;
  STDMETHOD(getPersistType)(LONG* pt) override;
  STDMETHOD(saveStorage)() override;
  STDMETHOD(loadStorage)(VARIANT_BOOL isRecalling) override;
  STDMETHOD(createComp)(IDispatch** component, IDispatch** parent) override;
  STDMETHOD(getLastError)(BSTR* msg) override;
  STDMETHOD(setup)(INT_PTR HWND, IDispatch* container, LONG filter) override;
  STDMETHOD(setProgIds)(BSTR szComponentProgId, BSTR szParentProgId) override;
  STDMETHOD(releaseComponents)() override;
  STDMETHOD(put_enableWarnings)(VARIANT_BOOL newVal) override;
  STDMETHOD(setAlias)(BSTR szComponentAlias, BSTR szParentAlias) override;
  STDMETHOD(get_serverName)(BSTR* pVal) override;
  STDMETHOD(put_serverName)(BSTR newVal) override;
  STDMETHOD(get_compCOversion)(LONG* pVal) override;
  STDMETHOD(put_compCOversion)(LONG newVal) override;
  STDMETHOD(ShowThermoGUI)(VARIANT_BOOL allowModifications) override;
  STDMETHOD(getThis)(INT_PTR* rawPointer) override;
  STDMETHOD(getCompOptions)(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds, VARIANT_BOOL* treatAsHypos) override;
  STDMETHOD(setPPInfo)(VARIANT* txNames, VARIANT* matchedBy, VARIANT* mapping) override;
  STDMETHOD(simulateThermoGUI)(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets, VARIANT_BOOL treatAsHypos) override;
  STDMETHOD(getFullCOPPClassName)(BSTR* name) override;
  STDMETHOD(setCompOptions)(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds, VARIANT_BOOL treatAsHypos) override;
  STDMETHOD(traceReport)(BSTR msg, VARIANT_BOOL appendNewLine) override;
  STDMETHOD(showStaticInfo)() override;
  STDMETHOD(setRecovErrorsOptions)(VARIANT_BOOL trace, VARIANT_BOOL log, VARIANT_BOOL popUp) override;
  STDMETHOD(getRecovErrorsOptions)(VARIANT_BOOL* trace, VARIANT_BOOL* log, VARIANT_BOOL* popUp) override;
  STDMETHOD(get_socketVersion)(BSTR* pVal) override;
  STDMETHOD(put_socketVersion)(BSTR newVal) override;
  STDMETHOD(get_supportedPhaseTypes)(VARIANT* pVal) override;
  STDMETHOD(put_supportedPhaseTypes)(VARIANT newVal) override;
  STDMETHOD(get_requestLiquid2)(VARIANT_BOOL* pVal) override;
  STDMETHOD(put_requestLiquid2)(VARIANT_BOOL newVal) override;
  STDMETHOD(get_doOrderPhases)(VARIANT_BOOL* pVal) override;
  STDMETHOD(put_doOrderPhases)(VARIANT_BOOL newVal) override;
  STDMETHOD(getCritErrorsOptions)(VARIANT_BOOL* trace, VARIANT_BOOL* log, VARIANT_BOOL* popUp) override;
  STDMETHOD(setCritErrorsOptions)(VARIANT_BOOL trace, VARIANT_BOOL log, VARIANT_BOOL popUp) override;
  STDMETHOD(GetItemInfo)(BSTR* description, BSTR* componentVersion, BSTR* vendorURL, BSTR* helpURL, BSTR* about) override;

 private:
  // Method frames. The window frame makes hostWindow the owner of the support library's
  // message boxes first. Both keep every C++ exception inside the method: a COM error
  // is reported and its code returned.
  template <class Body> HRESULT windowFrame(Body body);
  template <class Body> HRESULT plainFrame(Body body);
  static HRESULT guarded(HRESULT (*call)(void*), void* body);
  // Owner reset and COM error information cleared after a successful operation.
  void closingStep();
  // "Unexpected error " with the failing call's code, owner from the frame.
  HRESULT reportUnexpected(HRESULT code);
  // A report with the object's conventions: no origin, traced, owner hostWindow.
  HRESULT report(HRESULT code, const std::string& text);
  ICCAPEGUI* self() { return static_cast<ICCAPEGUI*>(this); }

  // Selection.
  HRESULT browseStatic(bool show);
  void readDialogResult(const CCapeOpenDlg& dialog);
  HRESULT resolveClsid(const std::string& progId, CLSID* clsid);
  HRESULT terminateAndRelease(IDispatch* p);

  // Creation.
  HRESULT createChecked(const std::string& progId, long category, IDispatch** out);
  HRESULT createPropertyPackage(const std::string& packageName, const std::string& systemProgId);
  HRESULT createPackageOfSystem(const std::string& packageName, const std::string& systemProgId);
  HRESULT createStandalonePackage(const std::string& packageName);
  // Gives back the component and property system held from an earlier creation.
  void releaseHeld();

  // Persistence.
  std::string displayName() const;
  HRESULT hostStorage(long mode, IStorage** storage);
  HRESULT persistKind(LONG* pt);
  HRESULT initNewPersistence(IStorage* storage);
  HRESULT openOrUpgrade(HRESULT result, IStorage* storage);
  HRESULT reportPersistenceError(HRESULT code, const char* text, const char* detail);
  HRESULT saveStreamKind(IStorage* storage);

  HWND hostWindow;
  bool enableWarnings;
  long persistType;
  fw::ComPtr<IUnknown> container;  // the host's ExtnContainer
  bool isRecalling;
  long filter;
  CTxBSTR serverName;
  std::string catid;
  std::string compProgId;
  std::string parentProgId;
  std::string compAlias;
  std::string parentAlias;
  std::string coVersionText;
  std::string compClsid;
  std::string description;
  std::string componentVersion;
  std::string vendorURL;
  std::string helpURL;
  std::string about;
  long compCOversion;
  VARIANT supportedPhaseTypes;
  IDispatch* component;       // counted: setComponent keeps a reference of its own
  IDispatch* propertySystem;  // counted
  CCOTHConfig* config;        // owned
  bool thermoGuiEnabled;
};

template <class Body>
HRESULT CCCAPEGUI::windowFrame(Body body) {
  MTUtils::setOwnerWindow(hostWindow);
  return guarded([](void* b) { return (*static_cast<Body*>(b))(); }, &body);
}

template <class Body>
HRESULT CCCAPEGUI::plainFrame(Body body) {
  return guarded([](void* b) { return (*static_cast<Body*>(b))(); }, &body);
}
