// MTUtils: the report convention (composed message, trace file TxCOGUI.trc, message box
// owned by the host's window) and the module bookkeeping it needs, under the one name its
// callers know. Each part lives in the file of its job: Reporter, TraceFile, ModuleInfo.
#pragma once
#include <windows.h>
#include "support/ModuleInfo.h"
#include "support/Reporter.h"
#include "support/TraceFile.h"

class MTUtils : public Reporter, public TraceFile, public ModuleInfo {
 public:
  // The object's own report codes; like every code from 2 to 999 they leave as E_FAIL.
  static const HRESULT kInternalError = 100;
  static const HRESULT kPersistenceError = 101;
};
