#include "manager/TreeProbe.h"
#include "diagnostics/InterfaceProbe.h"
#include "manager/ComponentCatalogue.h"
#include "support/MTUtils.h"

namespace {

class TreeSink : public ProbeSink {
 public:
  TreeSink(ProbeTree& tree, HTREEITEM item) : tree_(tree), item_(item) {}
  void addLine(const std::string& line) override { tree_.addProbeLine(item_, line); }
  void showMessage(const std::string& text) override {
    // No caption of its own: the box carries the application's name.
    showAppMessageTo(tree_.probeOwner(), text.c_str(), MB_OK);
  }

 private:
  ProbeTree& tree_;
  HTREEITEM item_;
};

}  // namespace

void ProbeInterfaces(ProbeTree& tree, HTREEITEM item, const std::string& progId) {
  TreeSink sink(tree, item);
  ProbeInterfaces(sink, progId, tree.probeServer());
}

LRESULT OnTreeRightClick(ProbeTree& tree) {
  const CAPETreeItem* record = nullptr;
  HTREEITEM item = tree.probeSelection(&record);
  if (item && record) ProbeInterfaces(tree, item, record->progid);
  return 0;
}
