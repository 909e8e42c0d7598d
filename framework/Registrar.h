// Registrar for registry scripts in the .rgs language: keys in braces, "name = s 'text'"
// for a key's default value, "val name = s 'text'" (or "d 'number'") for a named value,
// NoRemove and ForceRemove flags, and %NAME% replacements. Registering writes what the
// script names (ForceRemove first deletes the key with everything below it);
// unregistering removes what it names, except NoRemove keys. Scripts and values are UTF-8.
#pragma once
#include <windows.h>
#include <map>
#include <string>

namespace fw {

class Registrar {
 public:
  // %NAME% in the script is replaced by the value; "%%" stands for a single '%'.
  void addReplacement(const std::string& name, const std::string& value);
  HRESULT registerScript(const std::string& script);
  HRESULT unregisterScript(const std::string& script);
  // Loads the script from resource 'id' of type "REGISTRY" in 'module'.
  HRESULT resourceRegister(HMODULE module, UINT id, bool doRegister);

 private:
  HRESULT run(const std::string& script, bool doRegister);
  std::map<std::string, std::string> replacements_;
};

}  // namespace fw
