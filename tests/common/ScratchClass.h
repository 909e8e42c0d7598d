// A class declared in the registry for one test, without a server unless one is named:
// the CLSID key with its ProgID, "Implemented Categories" and, unless 'values' is empty,
// the CapeDescription values. Removed again on destruction.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace tx {

class RegisteredClass {
 public:
  RegisteredClass(const std::string& progId, const std::vector<std::string>& catids,
                  const std::map<std::string, std::string>& values, bool registerProgId = true);
  ~RegisteredClass();
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;

  const std::string& clsid() const { return clsid_; }
  const std::string& progId() const { return progId_; }
  CLSID guid() const;
  // An in-process server path (that need not exist).
  void setInprocServer(const std::string& path);
  // A package under "PropertyPackages" with its CapeDescription values.
  void addPackage(const std::string& name, const std::map<std::string, std::string>& values);

 private:
  std::string clsid_;
  std::string progId_;
};

}  // namespace tx
