// A property package: ICapeThermoPropertyPackage answering GetComponentList,
// GetPhaseList and GetPropList from a PackageData, with ICapeUtilities and
// ICapeIdentification. A fault makes one part of it misbehave (zoo).
#pragma once
#include <vector>
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
                      public SampleDispatch<ICapeUtilities, &IID_ICapeUtilities>,
                      public SampleDispatch<ICapeIdentification, &IID_ICapeIdentification>,
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

  // ICapeUtilities
  STDMETHOD(get_parameters)(IDispatch** parameters) override;
  STDMETHOD(put_simulationContext)(IDispatch* context) override;
  STDMETHOD(Initialize)() override;
  STDMETHOD(Terminate)() override;
  STDMETHOD(Edit)() override;

  // ICapeIdentification
  STDMETHOD(get_ComponentName)(BSTR* name) override;
  STDMETHOD(put_ComponentName)(BSTR name) override;
  STDMETHOD(get_ComponentDescription)(BSTR* description) override;
  STDMETHOD(put_ComponentDescription)(BSTR description) override;

 private:
  HRESULT stringList(const std::vector<std::string>& items, VARIANT* out) const;
  HRESULT numberList(const std::vector<double>& values, VARIANT* out) const;

  const PackageData* data_ = nullptr;
  PackageFault fault_ = PackageFault::None;
  std::string name_;
  std::string description_;
};

// A registered standalone package class serving 'Data'.
template <const ClassInfo* Info, const PackageData* Data>
class RegisteredPackage : public SamplePackage {
 public:
  HRESULT FinalConstruct() {
    try {
      setup(*Data, PackageFault::None, Info->key, Info->values.name);
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
};

}  // namespace txs
