// MTUtils: the one convention for reporting failures (composed message, trace file
// TxCOGUI.trc, message box owned by the host's window) and the module bookkeeping it
// needs. Process-wide state, used from the host's user-interface thread only.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>
#include "support/CTxBSTR.h"

class MTUtils {
 public:
  // The object's own report codes; like every code from 2 to 999 they leave as E_FAIL.
  static const HRESULT kInternalError = 100;
  static const HRESULT kPersistenceError = 101;
  static const size_t kMessageSize = 2400;   // composed message and trace line, with the zero
  static const char* const kCaption;         // "Brisk Tarnix CAPE-OPEN"

  // Composes, traces (when 'trace'), shows a box; returns the normalised code.
  static HRESULT reportError(HRESULT code, const char* text, const char* where, HWND owner, bool trace);
  static HRESULT reportFailure(const char* text, const char* where, HWND owner, bool trace);
  // Composes and traces; shows nothing.
  static HRESULT traceError(HRESULT code, const char* text, const char* where);
  // Fills 'buffer' (kMessageSize bytes). Takes (and clears) the thread's COM error information.
  static void composeMessage(char* buffer, HRESULT code, const char* text, const char* where);
  static HRESULT normalizeResult(HRESULT code);

  // Appends one line to the trace file; the flag is informative only.
  static bool writeTrace(CTxBSTR message, const char* where, const char* suffix);
  // Opens 'path' for appending, falling back to the TEMP folder; null when neither opens.
  static FILE* openTraceFile(const char* path);

  static void showMessage(const char* text, const char* caption, UINT type, HWND owner);
  static void setOwnerWindow(HWND owner);
  static HWND ownerWindow();

  static bool setModuleName(const char* name);
  // The module name up to its first '.'.
  static const char* getModuleName();
  // Full path of the loaded module 'name' (the stored name when null); empty when unknown.
  static std::string getDllPath(const char* name);
  // Folder of the module, without trailing backslash; computed once.
  static std::string getDllDirectory();

  // Text of the calling thread's last Win32 error.
  static std::string lastErrorText();
  // Stores 'handle' in 'out'; on failure shows description + ": " + the system's text.
  static HRESULT checkWinResult(HANDLE* out, HANDLE handle, const char* description, bool zeroIsFailure);
  static std::string getEnvironmentValue(const char* name);
};

// Appends 'text' and a line end to txshow.txt in the TEMP folder; 0 when written.
int traceToTempFile(const char* text);
// The application's title, as the framework's message boxes carry it: the module's name.
const char* applicationTitle();
// The application framework's message box: the caption argument is not shown.
int showAppMessage(const char* text, const char* caption, UINT type, UINT helpContext);
