#include "ppdialog/CCOTHConfig.h"
#include <iterator>
#include "external/CapeOpen.h"
#include "ppdialog/COTHConfigIds.h"
#include "ppdialog/PackageLists.h"
#include "resources/resource.h"
#include "support/TxUtils.h"
#include "support/Utils.h"

namespace {

const int kGeneralControls[] = {IDC_LABEL_REPORT,  IDC_LABEL_PACKAGE, IDC_LABEL_SYSTEM,  IDC_IMPORT_REPORT,
                                IDC_PACKAGE_NAME,  IDC_SYSTEM_NAME,   IDC_BROWSE_STATIC, IDC_CUSTOM_VIEW};
const int kComponentsControls[] = {IDC_COMPIDS,        IDC_CASNOS,        IDC_ALLOW_SUBSETS,
                                   IDC_TREAT_AS_HYPOS, IDC_LABEL_COMPIDS, IDC_LABEL_CASNOS};
// Check box 263 (VLL flash request) is added in ShowPage only for the maker's system
// inside the host simulator.
const int kPropertiesControls[] = {IDC_LABEL_PROPERTIES, IDC_PROPERTIES,  IDC_LABEL_PHASES,
                                   IDC_PHASES,           IDC_FLASH_TYPES, IDC_LABEL_FLASH_TYPES};
const int kAboutControls[] = {IDC_LABEL_SOCKET, IDC_SUPPORT_TEXT, IDC_LABEL_STANDARD, IDC_SOCKET_VERSION,
                              IDC_STANDARD_VERSION, IDC_VERSION_GROUP, IDC_RECOV_TRACE, IDC_RECOV_LOG,
                              IDC_RECOV_POPUP, IDC_RECOV_GROUP, IDC_CRIT_TRACE, IDC_CRIT_LOG,
                              IDC_CRIT_POPUP, IDC_CRIT_GROUP};
// The rest of the page controls: the free compound selection, shown on no page (it is not
// the user's to change), and the two check boxes of the Properties page.
const int kOtherControls[] = {IDC_FREE_COMPOUNDS, IDC_REQUEST_LIQUID2, IDC_ORDER_PHASES};

const wchar_t* const kTabNames[] = {L"General", L"Components", L"Properties", L"About"};

// The report keeps the host's line feeds; the edit control breaks lines only at CR LF.
std::string displayLines(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) shown += '\r';
    shown += text[i];
  }
  return shown;
}

// Takes over what 'source' holds; 'source' is left empty.
void moveInto(fw::UniqueVariant& target, fw::UniqueVariant& source) {
  *target.put() = *source.get();
  VariantInit(source.get());
}

}  // namespace

CCOTHConfig::CCOTHConfig(HWND parent)
    : fw::Dialog(IDD_COTHCONFIG, parent),
      allowSubsets(0),
      freeCompounds(0),
      treatAsHypos(0),
      recovLog(0),
      recovPopUp(0),
      recovTrace(0),
      requestLiquid2(0),
      doOrderPhases(0),
      critPopUp(0),
      critLog(0),
      critTrace(0),
      allowModifications(true),
      owner(nullptr),
      makerSystem_(false) {}

HRESULT CCOTHConfig::LoadPackageInfo(IDispatch* component, VARIANT* /*txNames*/, VARIANT* /*matchedBy*/,
                                     VARIANT* /*mapping*/) {
  package_.reset();
  if (component) {
    // An object that answers success without a package has none, like one that says so.
    HRESULT hr = package_.queryFrom(component, IID_ICapeThermoPropertyPackage);
    if (FAILED(hr) && hr != E_NOINTERFACE) return hr;
  }
  if (!package_) return E_POINTER;

  // The package fills fresh VARIANTs; what it gave before is replaced only on success.
  fw::UniqueVariant compIds, formulae, names, boilTemps, molWt, casNo;
  HRESULT hr = package_->GetComponentList(compIds.get(), formulae.get(), names.get(), boilTemps.get(), molWt.get(),
                                          casNo.get());
  if (FAILED(hr)) return hr;
  moveInto(compIds_, compIds);
  moveInto(formulae_, formulae);
  moveInto(names_, names);
  moveInto(boilTemps_, boilTemps);
  moveInto(molWt_, molWt);
  moveInto(casNo_, casNo);

  fw::UniqueVariant phases;
  hr = package_->GetPhaseList(phases.get());
  if (FAILED(hr)) return hr;
  moveInto(phaseList_, phases);

  fw::UniqueVariant properties;
  hr = package_->GetPropList(properties.get());
  if (FAILED(hr)) return hr;
  moveInto(propList_, properties);
  return S_OK;
}

CCOTHConfig::~CCOTHConfig() = default;

bool CCOTHConfig::isMakerSystem(BSTR parentProgId) {
  if (!parentProgId || SysStringLen(parentProgId) == 0) return false;
  CTxBSTR ownSystem(L"BWCOProperties");
  CTxBSTR maker(L"Brisk");
  return Utils::containsNoCase(parentProgId, ownSystem) || Utils::containsNoCase(parentProgId, maker);
}

void CCOTHConfig::DoDataExchange(fw::DataExchange& dx) {
  dx.check(IDC_ALLOW_SUBSETS, allowSubsets);
  dx.check(IDC_FREE_COMPOUNDS, freeCompounds);
  // The report is read-only in the dialog: it is only shown, so that the host's line
  // ends come back unchanged.
  if (!dx.saving()) fw::setControlText(GetDlgItem(dx.dialog(), IDC_IMPORT_REPORT), displayLines(importReport));
  dx.text(IDC_PACKAGE_NAME, packageName);
  dx.text(IDC_SYSTEM_NAME, systemName);
  dx.check(IDC_TREAT_AS_HYPOS, treatAsHypos);
  dx.check(IDC_RECOV_LOG, recovLog);
  dx.check(IDC_RECOV_POPUP, recovPopUp);
  dx.check(IDC_RECOV_TRACE, recovTrace);
  dx.text(IDC_SOCKET_VERSION, socketVersion);
  dx.check(IDC_REQUEST_LIQUID2, requestLiquid2);
  dx.check(IDC_ORDER_PHASES, doOrderPhases);
  dx.check(IDC_CRIT_POPUP, critPopUp);
  dx.check(IDC_CRIT_LOG, critLog);
  dx.check(IDC_CRIT_TRACE, critTrace);
}

BOOL CCOTHConfig::OnInitDialog() {
  fw::Dialog::OnInitDialog();

  HWND tabs = item(IDC_PP_TABS);
  for (int i = 0; i < static_cast<int>(std::size(kTabNames)); ++i) {
    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(kTabNames[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
  }

  fillLists();

  makerSystem_ = false;
  if (owner) {
    BSTR parentProgId = nullptr;
    if (SUCCEEDED(owner->readParentProgId(&parentProgId))) makerSystem_ = isMakerSystem(parentProgId);
    SysFreeString(parentProgId);
  }

  enableItem(IDC_FREE_COMPOUNDS, allowModifications);
  enableItem(IDC_ALLOW_SUBSETS, allowModifications);
  enableItem(IDC_TREAT_AS_HYPOS, allowModifications);

  ShowPage(kGeneral);
  return TRUE;
}

void CCOTHConfig::fillLists() {
  ppdialog::fillListBox(item(IDC_COMPIDS), ppdialog::listTexts(*compIds_.get()));
  ppdialog::fillListBox(item(IDC_CASNOS), ppdialog::listTexts(*casNo_.get()));
  ppdialog::fillListBox(item(IDC_PROPERTIES), ppdialog::listTexts(*propList_.get()));
  ppdialog::fillListBox(item(IDC_PHASES), ppdialog::listTexts(*phaseList_.get()));
  if (owner) ppdialog::fillListBox(item(IDC_FLASH_TYPES), ppdialog::listTexts(owner->phaseTypes()));
}

void CCOTHConfig::ShowPage(int page) {
  for (int id : kGeneralControls) showItem(id, false);
  for (int id : kComponentsControls) showItem(id, false);
  for (int id : kPropertiesControls) showItem(id, false);
  for (int id : kAboutControls) showItem(id, false);
  for (int id : kOtherControls) showItem(id, false);

  switch (page) {
    case kGeneral:
      for (int id : kGeneralControls) showItem(id, true);
      break;
    case kComponents:
      for (int id : kComponentsControls) showItem(id, true);
      break;
    case kProperties:
      for (int id : kPropertiesControls) showItem(id, true);
      // The VLL flash request is understood only by the maker's system in the simulator.
      if (makerSystem_ && TxUtils::isTarnixHost()) showItem(IDC_REQUEST_LIQUID2, true);
      showItem(IDC_ORDER_PHASES, true);
      break;
    case kAbout:
      for (int id : kAboutControls) showItem(id, true);
      break;
    default:
      break;
  }
}

bool CCOTHConfig::OnCommand(WORD id, WORD code, HWND /*control*/) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_PP_OK:
      OnOK();
      return true;
    case IDC_BROWSE_STATIC:
      browseStaticInformation();
      return true;
    case IDC_CUSTOM_VIEW:
      showCustomView();
      return true;
    default:
      return false;
  }
}

bool CCOTHConfig::OnNotify(NMHDR* header, LRESULT& result) {
  if (!header || header->idFrom != IDC_PP_TABS || header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  ShowPage(static_cast<int>(SendMessageW(item(IDC_PP_TABS), TCM_GETCURSEL, 0, 0)));
  result = 0;
  return true;
}

void CCOTHConfig::browseStaticInformation() {
  if (!owner) return;
  owner->browseStaticInformation();
  // The Component Manager's result renames the package and its system: show the new
  // names, so that OK does not read the old ones back.
  setItemText(IDC_PACKAGE_NAME, packageName);
  setItemText(IDC_SYSTEM_NAME, systemName);
}

void CCOTHConfig::showCustomView() {
  if (owner) owner->ShowCustomView();
}
