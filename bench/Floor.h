// The floor of the catalogue build: only the work that any catalogue must do, written
// plainly. Enumerate each category, read each class's ProgID and seven descriptive values,
// create each property system once and ask it for its packages, then read each package's
// seven values.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace bench {

struct FloorRecord {
  std::string catid, progid, clsid;
  std::string values[7];  // Name, Description, About, CapeVersion, ComponentVersion, VendorURL, HelpURL
  std::vector<FloorRecord> packages;
};

// Fills 'records' for the unit-operation and property-system categories.
HRESULT runFloor(std::vector<FloorRecord>* records);

// Only the category enumeration of the same two categories: how many classes it gives.
HRESULT enumerateOnly(size_t* count);

}  // namespace bench
