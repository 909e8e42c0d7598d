// CAPE-OPEN version numbers (0 none, 90, 93, 100, 110, 1000 not supported) and what a
// component of a category must implement in each.
#pragma once
#include <windows.h>
#include <string>
#include "support/CTxBSTR.h"

namespace CapeVersion {

// The version number of a registered "CapeVersion" text.
long parseCOVersion(const std::string& text);
// "none", "0.9", "0.93", "1.0", "1.1", "not supported", or the number / 100 as "%f".
CTxBSTR versionText(long version);
bool isVersionSupported(long version, long category);
// The interface that a component of 'category' (a whole value) offers in 'version'.
const IID& iidFor(long category, long version);

}  // namespace CapeVersion
