// A property package: ICapeThermoPropertyPackage answering GetComponentList,
// GetPhaseList and GetPropList from a PackageData, with ICapeUtilities and
// ICapeIdentification. A fault makes one part of it misbehave (zoo).
#pragma once
#include <vector>
#include "samples/common/SampleComponent.h"
#include "samples/common/SampleObject.h"

namespace txs {

enum class PackageFault {
  None,
  ComponentListFails,
  PhaseListFails,
  PropListFails,
  LowerBoundOne,
  NumberLists,
  InitializeFails,
  EditFails,
};

class SamplePackage : public SampleDispatch<ICapeThermoPropertyPackage, &IID_ICapeThermoPropertyPackage>,
                      public SampleComponent<SamplePackage>,
                      public SupportErrorInfo,
                      public fw::ObjectRoot,
                      public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable();

  // A package object for a property system, handed out as IDispatch.
  static HRESULT create(const PackageData& data, PackageFault fault, const std::string& logName,
                        const std::string& displayName, IDispatch** out);
  void setup(const PackageData& data, PackageFault fault, const std::string& logName, const std::string& displayName);

  // ICapeThermoPropertyPackage
  STDMETHOD(GetPhaseList)(VARIANT* phases) override;
  STDMETHOD(GetComponentList)
  (VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps, VARIANT* molWt, VARIANT* casNo) override;
  STDMETHOD(GetUniversalConstant)(IDispatch* materialObject, VARIANT props, VARIANT* propVals) override;
  STDMETHOD(GetComponentConstant)(IDispatch* materialObject, VARIANT props, VARIANT* propVals) override;
  STDMETHOD(CalcProp)(IDispatch* materialObject, VARIANT props, VARIANT phases, BSTR calcType) override;
  STDMETHOD(CalcEquilibrium)(IDispatch* materialObject, BSTR flashType, VARIANT props) override;
  STDMETHOD(PropCheck)(IDispatch* materialObject, VARIANT props, VARIANT* valid) override;
  STDMETHOD(ValidityCheck)(IDispatch* materialObject, VARIANT props, VARIANT* relList) override;
  STDMETHOD(GetPropList)(VARIANT* props) override;

 private:
  HRESULT stringList(const std::vector<std::string>& items, VARIANT* out) const;
  HRESULT numberList(const std::vector<double>& values, VARIANT* out) const;

  const PackageData* data_ = nullptr;
  PackageFault fault_ = PackageFault::None;
};

// A registered standalone package class serving 'Data'.
template <const ClassInfo* Info, const PackageData* Data>
class RegisteredPackage : public SamplePackage {
 public:
  HRESULT FinalConstruct() {
    return setUpOrNoMemory([this] { setup(*Data, PackageFault::None, Info->key, Info->values.name); });
  }
};

}  // namespace txs
