#include "samples/common/SamplePackage.h"
#include <oleauto.h>
#include "samples/common/ComHelpers.h"

namespace txs {

namespace {

HRESULT notImplemented(const SamplePackage& package, const char* method) {
  package.log(method);
  return failWith(E_NOTIMPL, L"Not calculated by the sample package", IID_ICapeThermoPropertyPackage);
}

}  // namespace

const fw::InterfaceEntry* SamplePackage::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_ICapeThermoPropertyPackage, fw::interfaceOffset<SamplePackage, ICapeThermoPropertyPackage>()},
      {&IID_IDispatch, fw::interfaceOffset<SamplePackage, ICapeThermoPropertyPackage>()},
      {&IID_ICapeUtilities, fw::interfaceOffset<SamplePackage, ICapeUtilities>()},
      {&IID_ICapeIdentification, fw::interfaceOffset<SamplePackage, ICapeIdentification>()},
      {&IID_ISupportErrorInfo, fw::interfaceOffset<SamplePackage, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

HRESULT SamplePackage::create(const PackageData& data, PackageFault fault, const std::string& logName,
                              const std::string& displayName, IDispatch** out) {
  return createObjectAs<SamplePackage>(
      [&](SamplePackage& package) { package.setup(data, fault, logName, displayName); }, IID_IDispatch,
      reinterpret_cast<void**>(out));
}

void SamplePackage::setup(const PackageData& data, PackageFault fault, const std::string& logName,
                          const std::string& displayName) {
  data_ = &data;
  fault_ = fault;
  setLogName(logName);
  name_ = displayName;
  description_ = data.values.description ? data.values.description : "";
  answers_.noParameters = L"The sample package has no parameters";
  answers_.initializeFails = fault == PackageFault::InitializeFails;
  answers_.editFails = fault == PackageFault::EditFails;
}

HRESULT SamplePackage::stringList(const std::vector<std::string>& items, VARIANT* out) const {
  if (fault_ == PackageFault::NumberLists) {
    std::vector<double> numbers;
    for (size_t i = 0; i < items.size(); ++i) numbers.push_back(static_cast<double>(i + 1));
    return makeDoubleArray(numbers, 0, out);
  }
  return makeStringArray(items, fault_ == PackageFault::LowerBoundOne ? 1 : 0, out);
}

HRESULT SamplePackage::numberList(const std::vector<double>& values, VARIANT* out) const {
  if (fault_ == PackageFault::NumberLists) {
    std::vector<double> numbers;
    for (size_t i = 0; i < values.size(); ++i) numbers.push_back(static_cast<double>(i + 1));
    return makeDoubleArray(numbers, 0, out);
  }
  return makeDoubleArray(values, fault_ == PackageFault::LowerBoundOne ? 1 : 0, out);
}

STDMETHODIMP SamplePackage::GetPhaseList(VARIANT* phases) {
  log("GetPhaseList");
  if (!phases) return E_POINTER;
  VariantInit(phases);
  if (fault_ == PackageFault::PhaseListFails) return failWith(E_FAIL, kListError, IID_ICapeThermoPropertyPackage);
  try {
    return stringList(std::vector<std::string>(data_->phases, data_->phases + data_->phaseCount), phases);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP SamplePackage::GetComponentList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                             VARIANT* molWt, VARIANT* casNo) {
  log("GetComponentList");
  VARIANT* lists[] = {compIds, formulae, names, boilTemps, molWt, casNo};
  for (VARIANT* list : lists) {
    if (!list) return E_POINTER;
  }
  for (VARIANT* list : lists) {
    HRESULT hr = VariantClear(list);
    if (FAILED(hr)) return hr;
  }
  if (fault_ == PackageFault::ComponentListFails) return failWith(E_FAIL, kListError, IID_ICapeThermoPropertyPackage);
  try {
    std::vector<std::string> ids, formulas, fullNames, cas;
    std::vector<double> boiling, weights;
    for (int i = 0; i < data_->compoundCount; ++i) {
      const Compound& c = data_->compounds[i];
      ids.push_back(c.id);
      formulas.push_back(c.formula);
      fullNames.push_back(c.name);
      boiling.push_back(c.boilTemp);
      weights.push_back(c.molWt);
      cas.push_back(c.casNo);
    }
    HRESULT hr = stringList(ids, compIds);
    if (SUCCEEDED(hr)) hr = stringList(formulas, formulae);
    if (SUCCEEDED(hr)) hr = stringList(fullNames, names);
    if (SUCCEEDED(hr)) hr = numberList(boiling, boilTemps);
    if (SUCCEEDED(hr)) hr = numberList(weights, molWt);
    if (SUCCEEDED(hr)) hr = stringList(cas, casNo);
    if (FAILED(hr)) {
      for (VARIANT* list : lists) VariantClear(list);
    }
    return hr;
  } catch (...) {
    for (VARIANT* list : lists) VariantClear(list);
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP SamplePackage::GetUniversalConstant(IDispatch*, VARIANT, VARIANT* propVals) {
  if (propVals) VariantInit(propVals);
  return notImplemented(*this, "GetUniversalConstant");
}

STDMETHODIMP SamplePackage::GetComponentConstant(IDispatch*, VARIANT, VARIANT* propVals) {
  if (propVals) VariantInit(propVals);
  return notImplemented(*this, "GetComponentConstant");
}

STDMETHODIMP SamplePackage::CalcProp(IDispatch*, VARIANT, VARIANT, BSTR) { return notImplemented(*this, "CalcProp"); }

STDMETHODIMP SamplePackage::CalcEquilibrium(IDispatch*, BSTR, VARIANT) {
  return notImplemented(*this, "CalcEquilibrium");
}

STDMETHODIMP SamplePackage::PropCheck(IDispatch*, VARIANT, VARIANT* valid) {
  if (valid) VariantInit(valid);
  return notImplemented(*this, "PropCheck");
}

STDMETHODIMP SamplePackage::ValidityCheck(IDispatch*, VARIANT, VARIANT* relList) {
  if (relList) VariantInit(relList);
  return notImplemented(*this, "ValidityCheck");
}

STDMETHODIMP SamplePackage::GetPropList(VARIANT* props) {
  log("GetPropList");
  if (!props) return E_POINTER;
  VariantInit(props);
  if (fault_ == PackageFault::PropListFails) return failWith(E_FAIL, kListError, IID_ICapeThermoPropertyPackage);
  try {
    return stringList(std::vector<std::string>(data_->properties, data_->properties + data_->propertyCount), props);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace txs
