#include "manager/CCapeOpenDlg.h"
#include <vector>
#include "framework/Module.h"
#include "framework/WideText.h"
#include "manager/AboutText.h"
#include "manager/CapeOpenDlgIds.h"
#include "manager/ErrorBox.h"
#include "manager/RemoteComputer.h"
#include "manager/WebPage.h"
#include "resources/resource.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"
#include "support/Utils.h"

namespace {

const wchar_t kCaption[] = L"CAPE-OPEN Component Manager";

CAPETreeItem* itemRecord(HWND tree, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<CAPETreeItem*>(data.lParam);
}

}  // namespace

CCapeOpenDlg::CCapeOpenDlg(HWND parent)
    : fw::Dialog(IDD_CAPEOPEN_DIALOG, parent),
      catalogue_(this),
      filter_(catf_All),
      staticMode_(false),
      current_(nullptr),
      icon_(LoadIconW(fw::Module::instance(), MAKEINTRESOURCEW(IDI_TXCOGUI))),
      deradidButton_(nullptr),
      refreshButton_(nullptr),
      tree_(nullptr),
      cancelButton_(nullptr),
      tab_(nullptr),
      vendorButton_(nullptr),
      clsidEdit_(nullptr),
      helpButton_(nullptr),
      descriptionEdit_(nullptr),
      componentVersionEdit_(nullptr),
      capeVersionEdit_(nullptr),
      aboutEdit_(nullptr) {}

CCapeOpenDlg::~CCapeOpenDlg() {}

void CCapeOpenDlg::DoDataExchange(fw::DataExchange& dx) {
  dx.control(IDC_CO_DERADID, deradidButton_);
  dx.control(IDC_CO_REFRESH, refreshButton_);
  dx.control(IDC_CO_TREE, tree_);
  dx.control(IDCANCEL, cancelButton_);
  dx.control(IDC_CO_TAB, tab_);
  dx.control(IDC_CO_VENDOR_URL, vendorButton_);
  dx.control(IDC_CO_CLSID, clsidEdit_);
  dx.control(IDC_CO_HELP, helpButton_);
  dx.control(IDC_CO_DESCRIPTION, descriptionEdit_);
  dx.control(IDC_CO_COMPONENT_VERSION, componentVersionEdit_);
  dx.control(IDC_CO_CAPE_VERSION, capeVersionEdit_);
  dx.control(IDC_CO_ABOUT, aboutEdit_);
}

BOOL CCapeOpenDlg::OnInitDialog() {
  try {
    fw::Dialog::OnInitDialog();
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    SendMessageW(tree_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(192, 192, 192)));
    DisplayCategories();
    SendMessageW(item(IDC_CO_HIDDEN_EDIT1), EM_SETREADONLY, TRUE, 0);
    SendMessageW(item(IDC_CO_HIDDEN_EDIT2), EM_SETREADONLY, TRUE, 0);
    wchar_t tabText[] = L"Registered Components";
    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = tabText;
    SendMessageW(tab_, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&tab));
    showItem(IDC_CO_HIDDEN_LIST, false);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    underlineVendorButton();
    EnableWindow(tab_, !staticMode_);
    EnableWindow(tree_, !staticMode_);
    EnableWindow(refreshButton_, !staticMode_);
    ShowWindow(cancelButton_, staticMode_ ? SW_HIDE : SW_SHOW);
    CTxBSTR deradid(Utils::readIniValue("DERadid").c_str());
    CTxBSTR one("1");
    ShowWindow(deradidButton_, Utils::equalNoCase(deradid.GetBSTR(), one.GetBSTR()) ? SW_SHOW : SW_HIDE);
    if (staticMode_) browseComponentInfo();
  } catch (...) {
    ShowDialogError("CCapeOpenDlg::OnInitDialog. " + SelectionContext());
  }
  return TRUE;
}

void CCapeOpenDlg::underlineVendorButton() {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(vendorButton_, WM_GETFONT, 0, 0));
  LOGFONTW shape = {};
  if (!GetObjectW(font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT), sizeof shape, &shape)) {
    showAppMessage("CreateFontIndirect() failed.", nullptr, MB_OK, 0);
    return;
  }
  shape.lfUnderline = TRUE;
  HFONT underlined = CreateFontIndirectW(&shape);
  if (!underlined) {
    showAppMessage("CreateFontIndirect() failed.", nullptr, MB_OK, 0);
    return;
  }
  SendMessageW(vendorButton_, WM_SETFONT, reinterpret_cast<WPARAM>(underlined), TRUE);
  underlineFont_.reset(underlined);
}

void CCapeOpenDlg::OnOK() { Accept(false); }

void CCapeOpenDlg::OnCancel() {
  if (staticMode_) {
    EndDialog(IDCANCEL);
    return;
  }
  if (MessageBoxW(hwnd(), L"Do you want to abort the creation of a CAPE-OPEN component?", kCaption,
                  MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
    EndDialog(IDCANCEL);
}

void CCapeOpenDlg::Accept(bool doubleClick) {
  if (staticMode_) {
    EndDialog(IDOK);
    return;
  }
  CAPETreeItem* record = nullptr;
  CAPETreeItem* parent = nullptr;
  GetSelectedItemData(&record, &parent);
  // While systems or packages are wanted, a system itself is no choice: one of its packages is.
  if (record && ((filter_ & (catf_ThermoSystem | catf_PropertyPackage)) == 0 || record->catid != kThermoSystemCatid)) SetSelection(record, parent);
  if (!choice_.progId.empty()) {
    EndDialog(IDOK);
    return;
  }
  if (doubleClick) return;
  if (MessageBoxW(hwnd(), L"No component was selected. Do you want to try again?", kCaption,
                  MB_YESNO | MB_ICONEXCLAMATION) == IDNO)
    EndDialog(IDOK);
}

bool CCapeOpenDlg::OnCommand(WORD id, WORD code, HWND) {
  switch (id) {
    case IDC_CO_REFRESH:
    case IDC_CO_SHOW_PROGIDS:
      if (code == BN_CLICKED) DisplayCategories();
      return true;
    case IDC_CO_VENDOR_URL:
      if (code == BN_CLICKED && current_) NavigateToURL(current_->vendorURL);
      return true;
    case IDC_CO_HELP:
      if (code == BN_CLICKED && current_) NavigateToURL(current_->helpURL);
      return true;
    case IDC_CO_REMOTE:
      if (code == BN_CLICKED) onRemote();
      return true;
    case IDC_CO_DERADID:  // no action of its own
    case IDC_CO_CATEGORY:
    case IDC_CO_TAB:
      return true;
    default:
      return false;
  }
}

bool CCapeOpenDlg::OnNotify(NMHDR* header, LRESULT& result) {
  if (!header || header->idFrom != IDC_CO_TREE) return false;
  switch (header->code) {
    case NM_DBLCLK:
      Accept(true);
      result = 0;
      return true;
    case NM_CLICK:
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      browseSelection();
      result = 0;
      return true;
    case NM_RCLICK:
      result = OnTreeRightClick(*this);
      return true;
    default:
      return false;
  }
}

void CCapeOpenDlg::OnDestroy() {
  ClearTree();
  // The handles die with the window; a later call must not reach another window by them.
  deradidButton_ = refreshButton_ = tree_ = cancelButton_ = tab_ = vendorButton_ = clsidEdit_ = helpButton_ =
      descriptionEdit_ = componentVersionEdit_ = capeVersionEdit_ = aboutEdit_ = nullptr;
}

void CCapeOpenDlg::browseSelection() {
  if (!tree_ || !IsWindowEnabled(tree_)) return;
  choice_.progId.clear();
  CAPETreeItem* record = nullptr;
  GetSelectedItemData(&record, nullptr);
  browseComponentInfo(record);
}

void CCapeOpenDlg::onRemote() {
  choice_.serverName = RequestRemoteMachine(hwnd(), parentWindow(), "question hardcoded in dialog");
  std::wstring text = wideFromNarrow(choice_.serverName);
  TCITEMW tab = {};
  tab.mask = TCIF_TEXT;
  tab.pszText = &text[0];  // never written: the tab copies it
  SendMessageW(tab_, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  DisplayCategories();
}

HRESULT CCapeOpenDlg::ShowDialogError(const std::string& text) { return showManagerError(text); }

std::string CCapeOpenDlg::SelectionContext() const { return makeSelectionContext(choice_); }

void CCapeOpenDlg::showCatalogueError(const std::string& text) { ShowDialogError(text); }

std::string CCapeOpenDlg::selectionContext() const { return SelectionContext(); }

HTREEITEM CCapeOpenDlg::probeSelection(const CAPETreeItem** record) const {
  CAPETreeItem* selected = nullptr;
  HTREEITEM item = GetSelectedItemData(&selected, nullptr);
  *record = selected;
  return item;
}

void CCapeOpenDlg::addProbeLine(HTREEITEM item, const std::string& line) { AddTreeItem(item, line, nullptr); }

void CCapeOpenDlg::SetSelection(const CAPETreeItem* record, const CAPETreeItem* parent) {
  chooseRecord(choice_, record, parent);
}

void CCapeOpenDlg::SetInitialComponent(const std::string& progId, const std::string& parentProgId,
                                       const std::string& catid) {
  staticMode_ = !progId.empty();
  if (!staticMode_) {
    choice_.progId.clear();
    choice_.parentProgId.clear();
    return;
  }
  // The lookup gives no server name: the one chosen here stays.
  std::string serverName = choice_.serverName;
  choice_ = ComponentCatalogue::lookup(progId, parentProgId, catid, this);
  choice_.serverName = serverName;
}

HRESULT CCapeOpenDlg::browseComponentInfo(CAPETreeItem* record) {
  try {
    if (!record) {
      setItemText(IDC_CO_DESCRIPTION, "");
      setItemText(IDC_CO_CAPE_VERSION, "");
      setItemText(IDC_CO_COMPONENT_VERSION, "");
      setItemText(IDC_CO_ABOUT, "");
      setItemText(IDC_CO_CLSID, "");
      setItemText(IDC_CO_VENDOR_URL, "");
      EnableWindow(vendorButton_, FALSE);
      EnableWindow(helpButton_, FALSE);
      return 0;
    }
    current_ = record;
    choice_.catid.clear();
    SendMessageW(item(IDC_CO_CATEGORY), CB_SETCURSEL, static_cast<WPARAM>(FindCategoryIndex(record->catid)), 0);
    if (!staticMode_) choice_.progId.clear();
    setItemText(IDC_CO_DESCRIPTION, record->description);
    setItemText(IDC_CO_CAPE_VERSION, record->capeVersion);
    setItemText(IDC_CO_COMPONENT_VERSION, record->componentVersion);
    setItemText(IDC_CO_VENDOR_URL, record->vendorURL);
    EnableWindow(vendorButton_, TRUE);
    EnableWindow(helpButton_, TRUE);
    setItemText(IDC_CO_ABOUT, formatAboutText(record->about));
    setItemText(IDC_CO_CLSID, record->clsid);
  } catch (...) {
    ShowDialogError("Unexpected error in browseComponentInfoCAPETREEITEM*). " + SelectionContext());
  }
  return 0;
}

HRESULT CCapeOpenDlg::browseComponentInfo() {
  std::string lookup;
  try {
    std::string package;
    if (choice_.parentProgId.empty()) {
      lookup = choice_.progId;
    } else {
      lookup = choice_.parentProgId;
      package = choice_.progId;
    }
    std::wstring wide = wideFromNarrow(lookup);
    CLSID clsid = GUID_NULL;
    // A CLSID text or a ProgID names the entry.
    HRESULT hr = CLSIDFromString(const_cast<wchar_t*>(wide.c_str()), &clsid);
    if (FAILED(hr) && !wide.empty() && wide[0] != L'{') hr = CLSIDFromProgID(wide.c_str(), &clsid);
    if (FAILED(hr)) return hr;
    CAPETreeItem* record = nullptr;
    hr = catalogue_.GetInfoForCLSID(clsid, kPropertyPackageCatid, &record, package);
    browseComponentInfo(record);
    return hr;
  } catch (...) {
    return ShowDialogError("Unexpected error in browseComponentInfo. " + SelectionContext() + lookup);
  }
}

HTREEITEM CCapeOpenDlg::AddTreeItem(HTREEITEM parent, const std::string& text, CAPETreeItem* record) {
  std::wstring label = wideFromNarrow(MakeItemLabel(text, record));
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = &label[0];  // never written: the tree copies it
  HTREEITEM added = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!added) return nullptr;
  TVITEMW data = {};
  data.mask = TVIF_PARAM;
  data.hItem = added;
  data.lParam = reinterpret_cast<LPARAM>(record);
  if (!SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(added));
  return added;
}

HTREEITEM CCapeOpenDlg::GetSelectedItemData(CAPETreeItem** record, CAPETreeItem** parentRecord) const {
  if (record) *record = nullptr;
  if (parentRecord) *parentRecord = nullptr;
  if (!tree_) return nullptr;
  HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!selected) return nullptr;
  if (record) *record = itemRecord(tree_, selected);
  if (parentRecord) {
    HTREEITEM parent =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(selected)));
    if (parent) *parentRecord = itemRecord(tree_, parent);
  }
  return selected;
}

void CCapeOpenDlg::ClearTree() {
  current_ = nullptr;
  if (tree_) {
    // Disabled, the tree's selection changes while its items go do not browse freed records.
    EnableWindow(tree_, FALSE);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
  catalogue_.ClearTree();
  if (tree_) EnableWindow(tree_, TRUE);
}

void CCapeOpenDlg::mirror(HTREEITEM parent, const CatalogueEntry& entry) {
  HTREEITEM added = AddTreeItem(parent, entry.text, entry.record);
  if (!added) return;
  for (const CatalogueEntry& child : entry.children) mirror(added, child);
}

void CCapeOpenDlg::DisplayCategories() {
  try {
    ClearTree();
    catalogue_.setServerName(choice_.serverName);
    catalogue_.DisplayCategories(filter_);
    for (const CatalogueEntry& category : catalogue_.roots()) mirror(nullptr, category);
    // Each item scrolled the view to itself, also sideways to a long label; the user starts at
    // the top and at the left edge, where every label shows from its start. (A tree that gets
    // the focus without a selection selects its first visible item.)
    LPARAM first = SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    if (first) SendMessageW(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, first);
    // To position 0 rather than SB_LEFT, which Wine's tree ignores.
    SendMessageW(tree_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    // The combo box lists the categories of this build only, parallel to the CATID list.
    HWND combo = item(IDC_CO_CATEGORY);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : catalogue_.categoryNames())
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideFromNarrow(name).c_str()));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
  } catch (...) {
    ShowDialogError("CCapeOpenDlg::DisplayCategories. " + SelectionContext());
  }
}
