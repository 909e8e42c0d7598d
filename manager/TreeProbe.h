// The interface probe on the Component Manager's tree: a right-click probes the selected
// entry and its result lines become children of the entry's item.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

class CCapeOpenDlg;

// Probes the selected entry's ProgID (for a property package, the package name) and
// appends the lines under its tree item. Entries without a record are left alone. The
// notification's result: 0.
LRESULT OnTreeRightClick(CCapeOpenDlg& dialog);
// Probes 'progId' and appends the lines under 'item' of the dialog's tree; messages go to
// the dialog's own message box.
void ProbeInterfaces(CCapeOpenDlg& dialog, HTREEITEM item, const std::string& progId);
