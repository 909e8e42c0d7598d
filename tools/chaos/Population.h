// Seeded populations of CAPE-OPEN registrations written into HKEY_CLASSES_ROOT, and
// their removal: descriptions of every registry type, empty, huge, with embedded NULs,
// brackets, '%' escapes, invalid UTF-8 and code-page bytes; missing ProgIDs and ProgIDs
// that name other classes; property systems with packages of odd names; categories
// registered under odd CATID spellings. Every key written is listed first under
// HKCU\<kChaosSeedKey>\Population, so a run that died is cleaned up by the next.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Population {
  std::vector<std::string> progIds;  // ProgIDs written (some name other classes)
  unsigned classes = 0;
};

// Removes what an earlier population left, then writes the population of 'seed'.
bool writePopulation(uint64_t seed, const std::string& serverPath, Population* population, std::string* error);
// Removes every key of the last population.
void removePopulation();
