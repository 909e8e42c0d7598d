// CCCAPEGUI: the COM class CCAPEGUI. One object stands for one CAPE-OPEN component of the
// host: its selection, creation, persistence and thermo options (ICCAPEGUI).
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "TxCOGUI.h"
#include "component/TxCOGUIHost.h"
#include "external/ExtnContainer.h"
#include "framework/ComPtr.h"
#include "framework/DispatchImpl.h"
#include "framework/ObjectRoot.h"
#include "framework/Raii.h"
#include "manager/ComponentChoice.h"
#include "ppdialog/CCOTHConfig.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"

class CCCAPEGUI : public fw::DispatchImpl<ICCAPEGUIWithFilter, &IID_ICCAPEGUI, &LIBID_TXSHOWCOCATIDSLib>,
                  public fw::ObjectRoot,
                  public PackageDialogOwner {
 public:
  HRESULT STDMETHODCALLTYPE setFilter(long filter) override;

  CCCAPEGUI();
  ~CCCAPEGUI() override;
  CCCAPEGUI(const CCCAPEGUI&) = delete;
  CCCAPEGUI& operator=(const CCCAPEGUI&) = delete;

  HRESULT FinalConstruct();
  void FinalRelease();
  static const fw::InterfaceEntry* interfaceTable();

  // PackageDialogOwner: what the property package dialog asks of this object.
  HRESULT readParentProgId(BSTR* progId) override { return GetParentProgID(progId); }
  const VARIANT& phaseTypes() const override { return *supportedPhaseTypes.get(); }
  HRESULT browseStaticInformation() override { return showStaticInfo(); }
  HRESULT ShowCustomView() override;

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
  // Takes a looked-up or chosen entry as this object's choice.
  void adoptChoice(ComponentChoice chosen);
  HRESULT resolveClsid(const std::string& progId, CLSID* clsid);
  // The one way the object gives back the property system and the component it holds:
  // each is stopped first (its Terminate) when 'terminate', then released. A failing stop
  // is reported and returned; what follows is still given back.
  HRESULT giveBack(bool terminate);

  // Creation. createChecked hands out the interface it found in 'out', asked for by the
  // category's IID (for a property system, ICapeThermoSystem itself).
  template <class I>
  HRESULT createChecked(const std::string& progId, long category, fw::ComPtr<I>& out);
  HRESULT createPropertyPackage(const std::string& packageName, const std::string& systemProgId);
  HRESULT createPackageOfSystem(const std::string& packageName, const std::string& systemProgId);
  HRESULT createStandalonePackage(const std::string& packageName);

  // Persistence. Each step returns an HRESULT: a failure it reported, or one that ends
  // the operation with the persistence error (see persistenceFault).
  struct PersistStep;
  std::string displayName() const;
  HRESULT persistKind(LONG* pt);
  HRESULT hostStorage(long mode, fw::UniqueVariant& value, IStorage** storage, const PersistStep& step);
  HRESULT initNewPersistence(IStorage* storage, const PersistStep& step);
  HRESULT openOrUpgrade(HRESULT result, IStorage* storage, const PersistStep& step);
  HRESULT saveStreamKind(IStorage* storage, const PersistStep& step);
  HRESULT loadStreamKind(IStorage* storage, const PersistStep& step, bool* initialisedAsNew);
  HRESULT persistenceFault(const PersistStep& step);
  HRESULT reportPersistenceError(const char* text, const char* detail);

  HWND hostWindow;
  bool enableWarnings;
  long persistType;
  fw::ComPtr<ExtnContainer> container;
  bool isRecalling;
  long filter;
  // The server name is held apart, wide: the host sets it too, and none differs from empty.
  CTxBSTR serverName;
  // The selected component: 'name' and 'parentName' are the aliases (setAlias), 'capeVersion'
  // has no trailing white space, 'serverName' stays empty.
  ComponentChoice choice;
  long compCOversion;
  fw::UniqueVariant supportedPhaseTypes;
  fw::ComPtr<IDispatch> component;  // setComponent keeps a reference of its own
  fw::ComPtr<IDispatch> propertySystem;
  std::unique_ptr<CCOTHConfig> config;
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
