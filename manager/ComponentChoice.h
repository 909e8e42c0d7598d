// The Component Manager's result: the chosen entry's registered strings, empty when
// nothing was chosen.
#pragma once
#include <string>

struct ComponentChoice {
  std::string catid;             // CATID text of the entry's category
  std::string progId;            // for a property package: the package's name
  std::string clsid;             // for a property package: its property system's CLSID
  std::string name;              // registered "Name", else the ProgID
  std::string parentProgId;      // the property system of a chosen package, else empty
  std::string parentName;
  std::string description;
  std::string componentVersion;
  std::string vendorURL;
  std::string helpURL;
  std::string about;             // as stored, not formatted
  std::string capeVersion;       // registered "CapeVersion"
  std::string serverName;        // "\\" + remote computer, empty for this one
};
