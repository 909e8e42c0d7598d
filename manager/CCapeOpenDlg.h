// CCapeOpenDlg: the modal Component Manager. Shows the registry catalogue as a tree, the
// registered values of the clicked entry and its web pages, and hands the chosen entry
// back in ComponentChoice; in its static-information mode it shows one named entry.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include "TxCOGUI.h"
#include "framework/Dialog.h"
#include "framework/Raii.h"
#include "manager/ComponentCatalogue.h"
#include "manager/ComponentChoice.h"
#include "manager/TreeProbe.h"

class CCapeOpenDlg : public fw::Dialog, private CatalogueHost, private ProbeTree {
 public:
  explicit CCapeOpenDlg(HWND parent);
  ~CCapeOpenDlg() override;

  void setFilter(long filter) { filter_ = filter; }
  long filter() const { return filter_; }
  // With a ProgID: static-information mode, the choice filled from the registry by the
  // catalogue's lookup (the ProgID is a package name of 'parentProgId' when that is not
  // empty). Without: selection mode.
  void SetInitialComponent(const std::string& progId, const std::string& parentProgId, const std::string& catid);
  const ComponentChoice& choice() const { return choice_; }
  bool staticMode() const { return staticMode_; }

  // Copies a record (and the parent's ProgID and name) into the choice.
  void SetSelection(const CAPETreeItem* record, const CAPETreeItem* parent);
  // Shows a record in the information fields (none: empties them). Returns 0.
  HRESULT browseComponentInfo(CAPETreeItem* record);
  // Static-information mode: looks up and shows the entry named by the choice.
  HRESULT browseComponentInfo();
  // The framework's message box with the stop icon; returns E_FAIL.
  HRESULT ShowDialogError(const std::string& text);
  std::string SelectionContext() const;

  // Tree operations.
  HTREEITEM AddTreeItem(HTREEITEM parent, const std::string& text, CAPETreeItem* record);
  HTREEITEM GetSelectedItemData(CAPETreeItem** record, CAPETreeItem** parentRecord) const;
  void DisplayCategories();
  // Frees every record (each traces its address) and empties the tree.
  void ClearTree();
  int FindCategoryIndex(const std::string& catid) const { return catalogue_.FindCategoryIndex(catid); }
  ComponentCatalogue& catalogue() { return catalogue_; }
  const CAPETreeItem* currentItem() const { return current_; }
  HWND tree() const { return tree_; }
  HWND categoryCombo() const { return item(210); }

 protected:
  void DoDataExchange(fw::DataExchange& dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  void OnDestroy() override;

 private:
  // CatalogueHost
  void showCatalogueError(const std::string& text) override;
  std::string selectionContext() const override;
  // ProbeTree
  HTREEITEM probeSelection(const CAPETreeItem** record) const override;
  void addProbeLine(HTREEITEM item, const std::string& line) override;
  HWND probeOwner() const override { return hwnd(); }
  const std::string& probeServer() const override { return choice_.serverName; }

  void Accept(bool doubleClick);
  void browseSelection();
  void onRemote();
  void mirror(HTREEITEM parent, const CatalogueEntry& entry);
  void underlineVendorButton();

  ComponentCatalogue catalogue_;
  long filter_;
  bool staticMode_;
  ComponentChoice choice_;
  CAPETreeItem* current_;
  HICON icon_;
  fw::UniqueGdi<HFONT> underlineFont_;

  // Controls bound by data exchange.
  HWND deradidButton_;
  HWND refreshButton_;
  HWND tree_;
  HWND cancelButton_;
  HWND tab_;
  HWND vendorButton_;
  HWND clsidEdit_;
  HWND helpButton_;
  HWND descriptionEdit_;
  HWND componentVersionEdit_;
  HWND capeVersionEdit_;
  HWND aboutEdit_;
};
