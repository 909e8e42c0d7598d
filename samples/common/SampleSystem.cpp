#include "samples/common/SampleSystem.h"
#include <oleauto.h>
#include <climits>
#include "samples/common/ComHelpers.h"
#include "samples/common/SamplePackage.h"

namespace txs {

namespace {

// The data that zoo packages answer with.
const PackageData& zooData() { return kSystemPackages[2]; }

const CapeValues kZooPackageValues = {nullptr, nullptr, "Fault zoo member", "1.0", "0.0.1", kVendorURL, kHelpURL};

PackageFault faultOf(const std::string& name) {
  if (name == kFaultComponentListFails) return PackageFault::ComponentListFails;
  if (name == kFaultPhaseListFails) return PackageFault::PhaseListFails;
  if (name == kFaultPropListFails) return PackageFault::PropListFails;
  if (name == kFaultLowerBoundOne) return PackageFault::LowerBoundOne;
  if (name == kFaultNumberLists) return PackageFault::NumberLists;
  if (name == kFaultInitializeFails) return PackageFault::InitializeFails;
  if (name == kFaultEditFails) return PackageFault::EditFails;
  return PackageFault::None;
}

}  // namespace

void registeredPackages(const SystemTraits& traits, std::vector<PackageRegistration>& packages) {
  for (int i = 0; i < traits.packageCount; ++i) {
    const PackageData& data = traits.packages[i];
    packages.push_back({data.name, data.values.description ? data.values.description : "", data.values});
  }
  if (traits.faultPackages) {
    for (const char* name : kFaultPackages)
      packages.push_back({name, std::string("Fault zoo package: ") + name, kZooPackageValues});
  }
  for (int i = 0; i < traits.zooNameCount; ++i)
    packages.push_back({traits.zooNames[i], "Sound package of a fault zoo system", kZooPackageValues});
}

const fw::InterfaceEntry* SampleSystem::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_ICapeThermoSystem, fw::interfaceOffset<SampleSystem, ICapeThermoSystem>()},
      {&IID_IDispatch, fw::interfaceOffset<SampleSystem, ICapeThermoSystem>()},
      {&IID_ICapeUtilities, fw::interfaceOffset<SampleSystem, ICapeUtilities>()},
      {&IID_ICapeIdentification, fw::interfaceOffset<SampleSystem, ICapeIdentification>()},
      {&IID_ISupportErrorInfo, fw::interfaceOffset<SampleSystem, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

void SampleSystem::setup(const SystemTraits& traits) {
  traits_ = &traits;
  setLogName(traits.info->key);
  nameAfter(*traits.info);
  answers_.noParameters = L"The sample property system has no parameters";
  answers_.initializeFails = traits.initializeFails;
}

STDMETHODIMP SampleSystem::GetPropertyPackages(VARIANT* propPackageList) {
  log("GetPropertyPackages");
  if (!propPackageList) return E_POINTER;
  VariantInit(propPackageList);
  try {
    switch (traits_->list) {
      case PackageListKind::Names: {
        std::vector<PackageRegistration> packages;
        registeredPackages(*traits_, packages);
        std::vector<std::string> names;
        for (const PackageRegistration& package : packages) names.push_back(package.name);
        return makeStringArray(names, 0, propPackageList);
      }
      case PackageListKind::Empty:
        return makeStringArray(std::vector<std::string>(), 0, propPackageList);
      case PackageListKind::EmptyAtLowest:
        return makeStringArray(std::vector<std::string>(), LONG_MIN, propPackageList);
      case PackageListKind::None:
        return S_OK;
      case PackageListKind::Variants:
        return makeVariantStringArray({kZooListedNames[0], kZooListedNames[1]}, propPackageList);
      case PackageListKind::Numbers:
        return makeLongArray(
            std::vector<LONG>(std::begin(kNumberPackageListValues), std::end(kNumberPackageListValues)),
            propPackageList);
      case PackageListKind::TwoDimensional:
        return makeStringMatrix(std::vector<std::string>(std::begin(kZooListedNames), std::end(kZooListedNames)), 2, 2,
                                propPackageList);
      case PackageListKind::Fails:
        return failWith(E_FAIL, kListError, IID_ICapeThermoSystem);
    }
    return E_UNEXPECTED;
  } catch (...) {
    VariantClear(propPackageList);
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP SampleSystem::ResolvePropertyPackage(BSTR propertyPackage, IDispatch** propPackObject) {
  try {
    std::string name = narrowFromWide(propertyPackage);
    log("ResolvePropertyPackage", name);
    if (!propPackObject) return E_POINTER;
    *propPackObject = nullptr;
    return resolve(name, propPackObject);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT SampleSystem::resolve(const std::string& name, IDispatch** package) {
  const std::string packageLogName = logName() + ":" + name;
  for (int i = 0; i < traits_->packageCount; ++i) {
    if (name == traits_->packages[i].name)
      return SamplePackage::create(traits_->packages[i], PackageFault::None, packageLogName, name, package);
  }
  if (traits_->faultPackages) {
    if (name == kFaultNullPackage) return S_OK;
    if (name == kFaultNotAPackage) return SampleNotAPackage::create(packageLogName, package);
    for (const char* fault : kFaultPackages) {
      if (name == fault) return SamplePackage::create(zooData(), faultOf(name), packageLogName, name, package);
    }
  }
  for (int i = 0; i < traits_->zooNameCount; ++i) {
    if (name == traits_->zooNames[i])
      return SamplePackage::create(zooData(), PackageFault::None, packageLogName, name, package);
  }
  return failWith(E_INVALIDARG, kUnknownPackageError, IID_ICapeThermoSystem);
}

// --- SampleNotAPackage ---

const fw::InterfaceEntry* SampleNotAPackage::interfaceTable() {
  static const fw::InterfaceEntry table[] = {
      {&IID_IDispatch, fw::interfaceOffset<SampleNotAPackage, ICapeIdentification>()},
      {&IID_ICapeUtilities, fw::interfaceOffset<SampleNotAPackage, ICapeUtilities>()},
      {&IID_ISupportErrorInfo, fw::interfaceOffset<SampleNotAPackage, ISupportErrorInfo>()},
      {nullptr, 0}};
  return table;
}

HRESULT SampleNotAPackage::create(const std::string& logName, IDispatch** out) {
  return createObjectAs<SampleNotAPackage>([&](SampleNotAPackage& object) { object.setLogName(logName); },
                                           IID_IDispatch, reinterpret_cast<void**>(out));
}

STDMETHODIMP SampleNotAPackage::get_ComponentName(BSTR* name) {
  log("get_ComponentName");
  return copyText(logName(), name);
}

STDMETHODIMP SampleNotAPackage::put_ComponentName(BSTR) {
  log("put_ComponentName");
  return S_OK;
}

STDMETHODIMP SampleNotAPackage::get_ComponentDescription(BSTR* description) {
  log("get_ComponentDescription");
  return copyText("Not a property package", description);
}

STDMETHODIMP SampleNotAPackage::put_ComponentDescription(BSTR) {
  log("put_ComponentDescription");
  return S_OK;
}

STDMETHODIMP SampleNotAPackage::get_parameters(IDispatch** parameters) {
  log("get_parameters");
  if (!parameters) return E_POINTER;
  *parameters = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP SampleNotAPackage::put_simulationContext(IDispatch*) {
  log("put_simulationContext");
  return S_OK;
}

STDMETHODIMP SampleNotAPackage::Initialize() {
  log("Initialize");
  return S_OK;
}

STDMETHODIMP SampleNotAPackage::Terminate() {
  log("Terminate");
  return S_OK;
}

STDMETHODIMP SampleNotAPackage::Edit() {
  log("Edit");
  return failWith(E_NOTIMPL, L"No view", IID_ICapeUtilities);
}

}  // namespace txs
