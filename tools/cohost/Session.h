// What every command shares: the options, the box relay, the product's object and the
// output conventions (results on stdout, diagnostics and progress on stderr).
#pragma once
#include <windows.h>
#include <chrono>
#include <string>
#include "TxCOGUI.h"
#include "cohost/BoxRelay.h"
#include "cohost/Console.h"
#include "cohost/Json.h"
#include "cohost/Options.h"
#include "framework/ComPtr.h"

// Exit statuses.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

class Session {
 public:
  explicit Session(const Options& options);

  const Options& options() const { return options_; }
  BoxRelay& boxes() { return boxes_; }

  // A new CCAPEGUI object of the registered DLL; prints why not and returns null.
  fw::ComPtr<ICCAPEGUI> createProduct();
  // Host window for dialogs: the console's window when there is one.
  HWND hostWindow() const;

  // Writes 'value' as JSON on stdout.
  void printJson(const Json& value) const;
  // "cohost: <text>" on stderr.
  void error(const std::string& text) const;

  // Progress on stderr for steps slower than a second: call begin, then end.
  void beginStep(const std::string& what);
  void endStep();

 private:
  Options options_;
  BoxRelay boxes_;
  std::string step_;
  std::chrono::steady_clock::time_point stepStart_;
};

// Narrow text of a BSTR that the caller owns; frees it. Null gives "".
std::string takeText(BSTR text);
// HRESULT as 0x%08lX.
std::string hexCode(HRESULT hr);
