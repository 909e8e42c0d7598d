// The trace file: TxCOGUI.trc in the user's local application data ("Briskware\Brisk
// Tarnix CAPE-OPEN"), with the TEMP folder as fallback, one dated line per message.
// Process-wide state, used from the host's user-interface thread only.
#pragma once
#include <windows.h>
#include <cstdio>
#include "support/CTxBSTR.h"

class TraceFile {
 public:
  static const size_t kLineSize = 2400;  // a trace line, with the zero

  // Appends one line to the trace file; the flag is informative only.
  static bool writeTrace(CTxBSTR message, const char* where, const char* suffix);
  // Opens 'path' for appending, falling back to the TEMP folder; null when neither opens.
  static FILE* openTraceFile(const char* path);
};
