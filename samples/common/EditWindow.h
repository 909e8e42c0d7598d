// The samples' own view, shown by ICapeUtilities::Edit: a small modal dialog with the
// component's name and description and an OK button. It closes itself after
// editAutoClose() milliseconds when that is set (tests), else waits for the user.
#pragma once
#include <windows.h>
#include <string>

namespace txs {

// Control IDs of the window: the text and the OK button (IDOK).
inline constexpr int kEditTextId = 1001;

// Runs the window modally, owned by the thread's active window; S_OK once it is closed.
HRESULT showEditWindow(const std::string& caption, const std::string& text);

}  // namespace txs
