#include "manager/CCapeOpenDlg.h"
#include "resources/resource.h"

CCapeOpenDlg::CCapeOpenDlg(HWND parent)
    : fw::Dialog(IDD_CAPEOPEN_DIALOG, parent), catalogue_(this), filter_(65536), staticMode_(false), current_(nullptr),
      owner_(nullptr), icon_(nullptr), underlineFont_(nullptr), deradidButton_(nullptr), refreshButton_(nullptr),
      tree_(nullptr), cancelButton_(nullptr), tab_(nullptr), vendorButton_(nullptr), clsidEdit_(nullptr),
      helpButton_(nullptr), descriptionEdit_(nullptr), componentVersionEdit_(nullptr), capeVersionEdit_(nullptr),
      aboutEdit_(nullptr) {}

CCapeOpenDlg::~CCapeOpenDlg() {}

void CCapeOpenDlg::SetInitialComponent(const std::string&, const std::string&, const std::string&) {}
INT_PTR CCapeOpenDlg::DoModal() { return fw::Dialog::DoModal(); }
void CCapeOpenDlg::SetSelection(const CAPETreeItem*, const CAPETreeItem*) {}
HRESULT CCapeOpenDlg::browseComponentInfo(CAPETreeItem*) { return 0; }
HRESULT CCapeOpenDlg::browseComponentInfo() { return 0; }
HRESULT CCapeOpenDlg::NavigateToURL(const std::string&) { return E_NOTIMPL; }
std::string CCapeOpenDlg::RequestRemoteMachine(HWND, const char*) { return std::string(); }
HRESULT CCapeOpenDlg::ShowDialogError(const std::string&) { return E_FAIL; }
std::string CCapeOpenDlg::SelectionContext() const { return std::string(); }
HTREEITEM CCapeOpenDlg::AddTreeItem(HTREEITEM, const std::string&, CAPETreeItem*) { return nullptr; }
HTREEITEM CCapeOpenDlg::GetSelectedItemData(CAPETreeItem**, CAPETreeItem**) const { return nullptr; }
void CCapeOpenDlg::DisplayCategories() {}
void CCapeOpenDlg::ClearTree(bool) {}
void CCapeOpenDlg::DoDataExchange(fw::DataExchange&) {}
BOOL CCapeOpenDlg::OnInitDialog() { return TRUE; }
void CCapeOpenDlg::OnOK() { EndDialog(IDOK); }
void CCapeOpenDlg::OnCancel() { EndDialog(IDCANCEL); }
bool CCapeOpenDlg::OnCommand(WORD, WORD, HWND) { return false; }
bool CCapeOpenDlg::OnNotify(NMHDR*, LRESULT&) { return false; }
void CCapeOpenDlg::OnDestroy() {}
void CCapeOpenDlg::showCatalogueError(const std::string&) {}
std::string CCapeOpenDlg::selectionContext() const { return std::string(); }
void CCapeOpenDlg::Accept(bool) {}
void CCapeOpenDlg::browseSelection() {}
void CCapeOpenDlg::onRemote() {}
void CCapeOpenDlg::mirror(HTREEITEM, const CatalogueEntry&) {}
void CCapeOpenDlg::underlineVendorButton() {}
std::string CCapeOpenDlg::formatAbout(const std::string& about) { return about; }

CInputBox::CInputBox(HWND parent) : fw::Dialog(IDD_INPUTBOX, parent) {}
