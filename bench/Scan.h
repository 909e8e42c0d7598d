// What some hosts do instead of asking the category manager: walk every key under
// HKCR\CLSID and look for the category keys themselves.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace bench {

// The CLSIDs (as registered key names) that declare any of 'catids'; false if HKCR\CLSID
// cannot be opened.
bool scanCategories(const std::vector<std::string>& catids, std::vector<std::string>* found, size_t* scanned);

}  // namespace bench
