#include "support/ResultText.h"
#include <cstdio>
#include "support/ResultTables.h"

namespace {

// One text for the whole module: callers copy it before the next call.
char g_resultText[160];

unsigned long bits(HRESULT code) {
  return static_cast<unsigned long>(static_cast<unsigned int>(code));
}

}  // namespace

const char* describeResult(HRESULT code) {
  for (size_t i = 0; i < kResultNameCount; ++i) {
    if (kResultNames[i].code == code) {
      snprintf(g_resultText, sizeof g_resultText, "%s ($%08lX)", kResultNames[i].name, bits(code));
      return g_resultText;
    }
  }
  for (size_t i = 0; i < kResultRangeCount; ++i) {
    if (kResultRanges[i].lowest <= code && code <= kResultRanges[i].highest) {
      snprintf(g_resultText, sizeof g_resultText, "range: %s ($%08lX)", kResultRanges[i].name, bits(code));
      return g_resultText;
    }
  }
  const char* severity = code < 0 ? "SEVERITY_ERROR" : "SEVERITY_SUCCESS";
  size_t facility = (bits(code) >> 16) & 0x1FFF;
  const char* facilityName = facility < kFacilityNameCount ? kFacilityNames[facility] : "<Unknown Facility>";
  snprintf(g_resultText, sizeof g_resultText, "severity: %s, facility: %s ($%08lX)", severity, facilityName,
           bits(code));
  return g_resultText;
}
