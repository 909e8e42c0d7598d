// CCOTHConfig: the property package information dialog ("CAPE-OPEN Property Package
// Detailed Information", template 203) and the store of the thermo options of its
// CCAPEGUI object. The options live here whether or not a window exists; the window
// exists only while DoModal runs.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include "framework/Raii.h"
#include "ppdialog/PackageDialogOwner.h"

struct ICapeThermoPropertyPackage;

class CCOTHConfig : public fw::Dialog {
 public:
  enum Page { kGeneral = 0, kComponents = 1, kProperties = 2, kAbout = 3 };

  explicit CCOTHConfig(HWND parent);
  ~CCOTHConfig() override;  // where the package's interface is a complete type

  // Takes the package's compounds, phases and properties from 'component' (its
  // ICapeThermoPropertyPackage). The three host VARIANTs are not used. Without a
  // package: E_POINTER and the package reference is dropped; a failing package call:
  // its code, with what the calls before it loaded kept. The lists shown stay as the
  // last successful calls left them.
  HRESULT LoadPackageInfo(IDispatch* component, VARIANT* txNames, VARIANT* matchedBy, VARIANT* mapping);

  // Shows the controls of one page (General, Components, Properties, About) and hides
  // the others; any other index hides them all.
  void ShowPage(int page);

  // A parent ProgID of the maker's own property system: it contains "BWCOProperties" or
  // "Brisk", ignoring case.
  static bool isMakerSystem(BSTR parentProgId);
  bool makerSystem() const { return makerSystem_; }
  bool hasPackage() const { return static_cast<bool>(package_); }

  // Option values: 0 off, 1 on.
  int allowSubsets;
  int freeCompounds;
  std::string importReport;
  std::string packageName;
  std::string systemName;
  int treatAsHypos;
  int recovLog;
  int recovPopUp;
  int recovTrace;
  std::string socketVersion;
  int requestLiquid2;
  int doOrderPhases;
  int critPopUp;
  int critLog;
  int critTrace;
  bool allowModifications;
  PackageDialogOwner* owner;  // not counted: the object that owns this dialog

 protected:
  void DoDataExchange(fw::DataExchange& dx) override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;

 private:
  void fillLists();
  void browseStaticInformation();
  void showCustomView();

  bool makerSystem_;
  fw::ComPtr<ICapeThermoPropertyPackage> package_;
  // What GetComponentList gives; formulae, names, boiling temperatures and molecular
  // weights are kept but shown nowhere.
  fw::UniqueVariant compIds_;
  fw::UniqueVariant formulae_;
  fw::UniqueVariant names_;
  fw::UniqueVariant boilTemps_;
  fw::UniqueVariant molWt_;
  fw::UniqueVariant casNo_;
  fw::UniqueVariant propList_;
  fw::UniqueVariant phaseList_;
};
