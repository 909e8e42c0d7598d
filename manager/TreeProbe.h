// The interface probe on the Component Manager's tree: a right-click probes the selected
// entry and its result lines become children of the entry's item.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

struct CAPETreeItem;

// What the probe needs of the tree it runs on.
class ProbeTree {
 public:
  virtual ~ProbeTree() {}
  // The selected item and its record (null for categories and message lines).
  virtual HTREEITEM probeSelection(const CAPETreeItem** record) const = 0;
  // Appends a line without a record under 'item'.
  virtual void addProbeLine(HTREEITEM item, const std::string& line) = 0;
  // The owner of the probe's message boxes.
  virtual HWND probeOwner() const = 0;
  // The computer whose objects are probed; empty for this one.
  virtual const std::string& probeServer() const = 0;
};

// Probes the selected entry's ProgID (for a property package, the package name) and
// appends the lines under its tree item. Entries without a record are left alone. The
// notification's result: 0.
LRESULT OnTreeRightClick(ProbeTree& tree);
// Probes 'progId' and appends the lines under 'item'; messages go to a box owned by the
// tree's owner.
void ProbeInterfaces(ProbeTree& tree, HTREEITEM item, const std::string& progId);
