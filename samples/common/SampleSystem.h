// A property system: ICapeThermoSystem listing and resolving its packages, with
// ICapeUtilities and ICapeIdentification. A SystemTraits says which packages it has, how
// its list looks and whether Initialize fails (zoo).
#pragma once
#include <vector>
#include "samples/common/SampleComponent.h"
#include "samples/common/SampleObject.h"

namespace txs {

// How GetPropertyPackages answers.
enum class PackageListKind {
  Names,           // VT_ARRAY | VT_BSTR of every package name
  Empty,           // VT_ARRAY | VT_BSTR without elements
  EmptyAtLowest,   // the same with the lowest LONG as lower bound: its upper bound wraps
  None,            // S_OK, VT_EMPTY
  Variants,        // VT_ARRAY | VT_VARIANT holding kZooListedNames[0..1] as BSTRs
  Numbers,         // VT_ARRAY | VT_I4 of kNumberPackageListValues
  TwoDimensional,  // 2 x 2 VT_BSTR of kZooListedNames
  Fails,           // E_FAIL with error information, VT_EMPTY
};

struct SystemTraits {
  const ClassInfo* info;
  const PackageData* packages;  // sound packages, listed and resolved by name
  int packageCount;
  bool faultPackages;           // also kFaultPackages, each with its fault
  const char* const* zooNames;  // names resolving to a sound package of kAir (zoo systems)
  int zooNameCount;
  PackageListKind list;
  bool initializeFails;
};

// A package as registered under the system's PropertyPackages key.
struct PackageRegistration {
  std::string name;
  std::string description;
  CapeValues fixed;  // the other values
  CapeValues values() const {
    CapeValues v = fixed;
    v.name = name.c_str();
    v.description = description.c_str();
    return v;
  }
};
void registeredPackages(const SystemTraits& traits, std::vector<PackageRegistration>& packages);

class SampleSystem : public SampleDispatch<ICapeThermoSystem, &IID_ICapeThermoSystem>,
                     public SampleComponent<SampleSystem>,
                     public SupportErrorInfo,
                     public fw::ObjectRoot,
                     public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable();
  void setup(const SystemTraits& traits);

  // ICapeThermoSystem
  STDMETHOD(GetPropertyPackages)(VARIANT* propPackageList) override;
  STDMETHOD(ResolvePropertyPackage)(BSTR propertyPackage, IDispatch** propPackObject) override;

 private:
  HRESULT resolve(const std::string& name, IDispatch** package);

  const SystemTraits* traits_ = nullptr;
};

template <const SystemTraits* Traits>
class RegisteredSystem : public SampleSystem {
 public:
  HRESULT FinalConstruct() {
    return setUpOrNoMemory([this] { setup(*Traits); });
  }
};

// An object that a "property package" request may give but that is no package: IDispatch
// (over ICapeIdentification's type information) and ICapeUtilities only.
class SampleNotAPackage : public SampleDispatch<ICapeIdentification, &IID_ICapeIdentification>,
                          public SampleDispatch<ICapeUtilities, &IID_ICapeUtilities>,
                          public SupportErrorInfo,
                          public fw::ObjectRoot,
                          public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable();
  static HRESULT create(const std::string& logName, IDispatch** out);

  STDMETHOD(get_ComponentName)(BSTR* name) override;
  STDMETHOD(put_ComponentName)(BSTR name) override;
  STDMETHOD(get_ComponentDescription)(BSTR* description) override;
  STDMETHOD(put_ComponentDescription)(BSTR description) override;
  STDMETHOD(get_parameters)(IDispatch** parameters) override;
  STDMETHOD(put_simulationContext)(IDispatch* context) override;
  STDMETHOD(Initialize)() override;
  STDMETHOD(Terminate)() override;
  STDMETHOD(Edit)() override;
};

template <const ClassInfo* Info>
class RegisteredNotAPackage : public SampleNotAPackage {
 public:
  HRESULT FinalConstruct() {
    return setUpOrNoMemory([this] { setLogName(Info->key); });
  }
};

}  // namespace txs
