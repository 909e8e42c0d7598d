// The constant tables behind describeResult: well-known result names, the blocks of
// OLE codes, and the facility names.
#pragma once
#include <windows.h>
#include <cstddef>

struct ResultName {
  HRESULT code;
  const char* name;
};

struct ResultRange {
  HRESULT lowest;
  HRESULT highest;
  const char* name;
};

extern const ResultName kResultNames[];
extern const size_t kResultNameCount;
extern const ResultRange kResultRanges[];
extern const size_t kResultRangeCount;
extern const char* const kFacilityNames[];
extern const size_t kFacilityNameCount;
