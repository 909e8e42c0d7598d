// The probe run from the Component Manager's tree: lines become children of the
// probed entry's item, messages go to the dialog's message box.
#include "manager/TreeProbe.h"
#include "diagnostics/InterfaceProbe.h"
#include "manager/CCapeOpenDlg.h"
#include "support/MTUtils.h"

namespace {

class TreeSink : public ProbeSink {
 public:
  TreeSink(CCapeOpenDlg& dialog, HTREEITEM item) : dialog_(dialog), item_(item) {}
  void addLine(const std::string& line) override { dialog_.AddTreeItem(item_, line, nullptr); }
  void showMessage(const std::string& text) override {
    // No caption of its own: the box carries the application's name.
    showAppMessageTo(dialog_.hwnd(), text.c_str(), MB_OK);
  }

 private:
  CCapeOpenDlg& dialog_;
  HTREEITEM item_;
};

}  // namespace

void ProbeInterfaces(CCapeOpenDlg& dialog, HTREEITEM item, const std::string& progId) {
  TreeSink sink(dialog, item);
  ProbeInterfaces(sink, progId, dialog.serverName());
}

LRESULT OnTreeRightClick(CCapeOpenDlg& dialog) {
  CAPETreeItem* record = nullptr;
  HTREEITEM item = dialog.GetSelectedItemData(&record, nullptr);
  if (item && record) ProbeInterfaces(dialog, item, record->progid);
  return 0;
}
