// Component creation and the CAPE-OPEN compliance checks: the interface a component
// really offers against the version its registration declares.
#include "component/CCAPEGUI.h"
#include "component/CapeVersion.h"
#include "external/CapeOpen.h"
#include "support/FillText.h"
#include "support/Utils.h"
#include "framework/WideText.h"

namespace {

const char kM1[] = "Error creating CAPE-OPEN component '%s' (ProgId '%s', type '%s')";
const char kM2[] =
    "The component '%s' implements version '%s' of the interface '%s', which is not supported by Brisk Calorix "
    "CAPE-OPEN 1.0. Please consult the vendor of this component for an upgrade to versions 0.93 or 1.0.";
const char kM3[] =
    "The component '%s' implements version '%s' of the interface '%s', the CAPE-OPEN 1.0 unit operation interface "
    "should continue to function.";
const char kM4[] =
    "The component '%s' implements version '%s' of the interface '%s', which has not been validated with the "
    "current version of Brisk Calorix CAPE-OPEN 1.0. This will probably cause unexpected behaviour of the "
    "application. Please consult support for an upgrade of Brisk Calorix CAPE-OPEN 1.0.";
const char kM5[] = "The CAPE-OPEN component '%s' does not implement the interface '%s'";
const char kM6[] =
    "The CAPE-OPEN component '%s' has been registered as being compliant to CAPE-OPEN version '%s', but it "
    "implements instead version '%s' of the interface '%s'";
const char kM7[] = "creating property package '%s' from property system '%s'";
const char kM8[] =
    "When the CAPE-OPEN Property System '%s' was requested to create the package named '%s', it returned an "
    "invalid object.";
const char kM9[] =
    "The component '%s', resolved by the CAPE-OPEN Property System '%s' (ProgId '%s') does not implement the "
    "interface ICapeThermoPropertyPackage";
const char kM10[] = "The component '%s' failed at its second QueryInterface(IID_IDispatch)";
const char kM11[] = "Internal error creating a CAPEOPEN property package";

// Initialize through the utilities interface, when the component has one.
HRESULT initializeComponent(IUnknown* component) {
  fw::ComPtr<ICapeUtilities> utilities;
  if (FAILED(utilities.queryFrom(component, IID_ICapeUtilities))) return S_OK;
  return utilities->Initialize();
}

}  // namespace

STDMETHODIMP CCCAPEGUI::createComp(IDispatch** componentOut, IDispatch** parentOut) {
  return windowFrame([&]() -> HRESULT {
    if (!componentOut) return E_POINTER;
    *componentOut = nullptr;
    // What an earlier creation left is given back before it is replaced.
    giveBack(false);

    HRESULT hr;
    if (filter & catf_PropertyPackage) {
      hr = createPropertyPackage(compProgId, parentProgId);
      if (FAILED(hr)) return hr;
      // The caller gets references of its own; the object keeps its references.
      component.copyTo(componentOut);
      if (parentOut) propertySystem.copyTo(parentOut);
    } else {
      fw::ComPtr<IDispatch> created;
      hr = createChecked(compProgId, filter, created);
      if (FAILED(hr)) return hr;
      *componentOut = created.detach();
    }
    hr = self()->setComponent(*componentOut);
    if (SUCCEEDED(hr)) closingStep();
    return hr;
  });
}

STDMETHODIMP CCCAPEGUI::setComponent(IDispatch* comp) {
  return windowFrame([&]() -> HRESULT {
    persistType = 0;
    // The object holds a reference of its own, so releaseComponents gives back exactly
    // what it took, whoever set the component.
    if (comp != component.get()) component = comp;
    LONG kind = 0;
    HRESULT hr = self()->getPersistType(&kind);
    if (FAILED(hr)) return reportUnexpected(hr);
    persistType = kind;
    return hr;
  });
}

template <class I>
HRESULT CCCAPEGUI::createChecked(const std::string& progId, long category, fw::ComPtr<I>& out) {
  out.reset();
  const IID& iid = CapeVersion::iidFor(category, compCOversion);
  CLSID clsid;
  HRESULT hr = resolveClsid(progId, &clsid);
  if (FAILED(hr)) return hr;

  fw::UniqueBstr registeredName;
  hr = Utils::interfaceName(iid, registeredName.put());
  if (FAILED(hr)) return hr;
  std::string name = narrowFromWide(registeredName.get());

  fw::ComPtr<IDispatch> created;
  const wchar_t* computer = static_cast<const wchar_t*>(serverName);
  hr = Utils::createInstance(clsid, nullptr, Utils::kComponentContext, IID_PPV_ARGS(created.put()), computer);
  hr = fw::requireOut(hr, created.get());
  if (FAILED(hr)) return report(hr, fillText(kM1, {progId, progId, name}));

  if (compCOversion != 0 && !CapeVersion::isVersionSupported(compCOversion, category)) {
    const char* warning = compCOversion == 90 ? kM2 : compCOversion == 110 ? kM3 : kM4;
    report(0, fillText(warning, {progId, coVersionText, name}));
  }

  static const long kProbeOrder[] = {100, 93, 90};
  long detected = 0;
  for (long version : kProbeOrder) {
    hr = out.queryFrom(created.get(), CapeVersion::iidFor(category, version));
    if (SUCCEEDED(hr)) {
      detected = version;
      break;
    }
  }
  if (!detected) return report(hr, fillText(kM5, {progId, name}));

  HRESULT result = S_OK;
  if (compCOversion != 0 && compCOversion != detected && !coVersionText.empty()) {
    fw::ComPtr<IUnknown> registered;
    hr = registered.queryFrom(created.get(), CapeVersion::iidFor(category, compCOversion));
    if (FAILED(hr)) {
      report(0, fillText(kM6, {progId, coVersionText, narrowFromWide(CapeVersion::versionText(detected)), name}));
      out.reset();
      result = hr;
    }
  }
  return result;
}

HRESULT CCCAPEGUI::createPropertyPackage(const std::string& packageName, const std::string& systemProgId) {
  try {
    HRESULT hr = systemProgId.empty() ? createStandalonePackage(packageName)
                                      : createPackageOfSystem(packageName, systemProgId);
    if (SUCCEEDED(hr)) closingStep();
    return hr;
  } catch (...) {
    return MTUtils::reportError(MTUtils::kInternalError, kM11, nullptr, hostWindow, true);
  }
}

HRESULT CCCAPEGUI::createPackageOfSystem(const std::string& packageName, const std::string& systemProgId) {
  // The category's interface of a property system is ICapeThermoSystem in every version.
  fw::ComPtr<ICapeThermoSystem> system;
  HRESULT hr = createChecked(systemProgId, catf_ThermoSystem, system);
  if (FAILED(hr)) return hr;
  std::string context = fillText(kM7, {packageName, systemProgId});

  // A failing Initialize carries the component's error information into the report.
  hr = initializeComponent(system.get());
  if (FAILED(hr)) return report(E_FAIL, context);
  CTxBSTR name(packageName.c_str());
  hr = system->ResolvePropertyPackage(name, component.put());
  if (FAILED(hr)) return report(hr, context);
  if (component) {
    hr = initializeComponent(component.get());
    if (FAILED(hr)) return report(E_FAIL, context);
  }
  if (!component) return report(E_FAIL, fillText(kM8, {systemProgId, packageName}));

  hr = propertySystem.queryFrom(system.get(), IID_IDispatch);
  if (FAILED(hr)) return reportUnexpected(hr);
  fw::ComPtr<ICapeThermoPropertyPackage> thermoPackage;
  hr = thermoPackage.queryFrom(component.get(), IID_ICapeThermoPropertyPackage);
  if (FAILED(hr)) {
    std::string message = fillText(kM9, {packageName, systemProgId, systemProgId});
    giveBack(false);
    return report(hr, message);
  }
  return S_OK;
}

HRESULT CCCAPEGUI::createStandalonePackage(const std::string& packageName) {
  fw::ComPtr<IDispatch> package;
  HRESULT hr = createChecked(packageName, catf_PropertyPackage, package);
  if (FAILED(hr)) return hr;
  hr = component.queryFrom(package.get(), IID_IDispatch);
  if (FAILED(hr)) {
    giveBack(false);
    return report(hr, fillText(kM10, {packageName}));
  }
  hr = initializeComponent(component.get());
  // A package of its own has no context text: its failing start is an internal error.
  if (FAILED(hr)) return MTUtils::reportError(MTUtils::kInternalError, kM11, nullptr, hostWindow, true);
  propertySystem.reset();
  return S_OK;
}

STDMETHODIMP CCCAPEGUI::get_compCOversion(LONG* pVal) {
  return plainFrame([&]() -> HRESULT {
    if (!pVal) return E_POINTER;
    *pVal = compCOversion;
    return S_OK;
  });
}

STDMETHODIMP CCCAPEGUI::put_compCOversion(LONG newVal) {
  return plainFrame([&]() -> HRESULT {
    compCOversion = newVal;
    return S_OK;
  });
}
