// The one way the module tells the user and the trace what went wrong: the composed
// message, the report (trace line and box), and every message box of the module with the
// rule for its caption and owner. Process-wide state, host's user-interface thread only.
#pragma once
#include <windows.h>
#include <string>

class Reporter {
 public:
  static const size_t kMessageSize = 2400;   // composed message, with the zero
  static const char* const kCaption;         // "Brisk Tarnix CAPE-OPEN"

  // Composes, traces (when 'trace'), shows a box; returns the normalised code.
  static HRESULT reportError(HRESULT code, const char* text, const char* where, HWND owner, bool trace);
  static HRESULT reportFailure(const char* text, const char* where, HWND owner, bool trace);
  // Composes and traces; shows nothing.
  static HRESULT traceError(HRESULT code, const char* text, const char* where);
  // Fills 'buffer' (kMessageSize bytes). Takes (and clears) the thread's COM error information.
  static void composeMessage(char* buffer, HRESULT code, const char* text, const char* where);
  // Codes 2 to 999 leave as E_FAIL.
  static HRESULT normalizeResult(HRESULT code);

  // The module's own box: owned by 'owner', else by the default owner; a box that no
  // window owns is system-modal, so that it cannot hide behind the host.
  static void showMessage(const char* text, const char* caption, UINT type, HWND owner);
  static void setOwnerWindow(HWND owner);
  static HWND ownerWindow();

  // Text of the calling thread's last Win32 error.
  static std::string lastErrorText();
  // Stores 'handle' in 'out'; on failure shows description + ": " + the system's text,
  // with the module's name as caption.
  static HRESULT checkWinResult(HANDLE* out, HANDLE handle, const char* description, bool zeroIsFailure);
};

// The application framework's box: it carries the application's title (the module's name)
// whatever caption is asked for, and is owned by the active window's top-level window.
const char* applicationTitle();
int showAppMessage(const char* text, const char* caption, UINT type, UINT helpContext);
// The same box owned by a window of the module's own (the Component Manager's probe).
int showAppMessageTo(HWND owner, const char* text, UINT type);
// The framework's box with 'text', the system's text for 'code' and describeResult(code).
void showSystemError(const char* text, HRESULT code);
// Appends 'text' and a line end to txshow.txt in the TEMP folder; 0 when written, else
// the answer of the framework's box that says so.
int traceToTempFile(const char* text);
