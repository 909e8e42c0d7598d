// Registers the benchmark's synthetic classes in HKCR of the current prefix, once: what a
// previous run registered is found again through a state key and not written twice.
#pragma once
#include <string>

namespace bench {

struct PopulateReport {
  unsigned long unitsWritten = 0;
  unsigned long unrelatedWritten = 0;
  bool systemsWritten = false;
  double seconds = 0;
};

// At least 'units' unit-operation components (without their category key), the twenty
// property systems served by 'dllPath' (with category and packages), and 'unrelated'
// classes with a ProgID and a server but no category.
bool populate(unsigned long units, unsigned long unrelated, const std::string& dllPath, PopulateReport* report,
              std::string* error);

// Gives exactly the first 'count' components the unit-operation category key.
bool setCategorized(unsigned long count, std::string* error);

}  // namespace bench
