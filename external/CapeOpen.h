// The CAPE-OPEN 1.0 interfaces that this DLL calls on components, declared as the
// components implement them: dual interfaces whose own methods follow the seven
// entries of IUnknown and IDispatch in the published order. A method's position is
// counted after those seven, from 1; a slot out of order calls the wrong method of a
// real component, so no method may be added, removed or moved here.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include "external/CapeOpenCategories.h"

// CAPE-OPEN 1.0 data types as they travel through COM.
typedef VARIANT CapeVariant;
typedef BSTR CapeString;
typedef IDispatch* CapeInterface;
typedef long CapeBoolean;
typedef long CapeValidationStatus;

// --- Interface identifiers ---------------------------------------------------------

#define TX_CAPE_GUID(name, l, w1, w2) \
  inline constexpr IID name = {l, w1, w2, {0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F}}

TX_CAPE_GUID(IID_ICapeIdentification, 0x678C0990, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoCalculationRoutine, 0x678C0991, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoReliability, 0x678C0992, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoMaterialTemplate, 0x678C0993, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoMaterialObject, 0x678C0994, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoSystem, 0x678C0995, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoPropertyPackage, 0x678C0996, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeThermoEquilibriumServer, 0x678C0997, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeParameterSpec, 0x678C099C, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeRealParameterSpec, 0x678C099D, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeIntegerParameterSpec, 0x678C099E, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeOptionSpec, 0x678C099F, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeParameter, 0x678C09A0, 0x7D66, 0x11D2);
// The unit operation family under the 7D66 group, as the interface probe asks for it.
TX_CAPE_GUID(IID_ICapeUnit_7D66, 0x678C0998, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeUnitPort, 0x678C0999, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeUnitCollection, 0x678C099A, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeUnitReport, 0x678C099B, 0x7D66, 0x11D2);
TX_CAPE_GUID(IID_ICapeUnitEdit, 0x678C0A9A, 0x7D66, 0x11D2);
// The CAPE-OPEN 1.0 unit operation interface: its presence marks a 1.0 unit.
TX_CAPE_GUID(IID_ICapeUnit, 0x678C0998, 0x0100, 0x11D2);
// The utilities interface (Initialize, Terminate, Edit).
TX_CAPE_GUID(IID_ICapeUtilities, 0x678C0A9B, 0x0100, 0x11D2);

#undef TX_CAPE_GUID

// The interfaces that the interface probe asks a component for, in the order asked.
struct CapeProbeEntry {
  const char* name;
  const IID* iid;
};
inline constexpr CapeProbeEntry kCapeProbeTable[] = {
    {"IUnknown", &IID_IUnknown},
    {"IDispatch", &IID_IDispatch},
    {"ICapeIdentification", &IID_ICapeIdentification},
    {"ICapeParameterSpec", &IID_ICapeParameterSpec},
    {"ICapeRealParameterSpec", &IID_ICapeRealParameterSpec},
    {"ICapeIntegerParameterSpec", &IID_ICapeIntegerParameterSpec},
    {"ICapeOptionSpec", &IID_ICapeOptionSpec},
    {"ICapeParameter", &IID_ICapeParameter},
    {"ICapeThermoReliability", &IID_ICapeThermoReliability},
    {"ICapeThermoMaterialTemplate", &IID_ICapeThermoMaterialTemplate},
    {"ICapeThermoMaterialObject", &IID_ICapeThermoMaterialObject},
    {"ICapeThermoCalculationRoutine", &IID_ICapeThermoCalculationRoutine},
    {"ICapeThermoSystem", &IID_ICapeThermoSystem},
    {"ICapeThermoPropertyPackage", &IID_ICapeThermoPropertyPackage},
    {"ICapeThermoEquilibriumServer", &IID_ICapeThermoEquilibriumServer},
    {"ICapeUnit", &IID_ICapeUnit_7D66},
    {"ICapeUnitEdit", &IID_ICapeUnitEdit},
    {"ICapeUnitPort", &IID_ICapeUnitPort},
    {"ICapeUnitCollection", &IID_ICapeUnitCollection},
    {"ICapeUnitReport", &IID_ICapeUnitReport},
};
inline constexpr int kCapeProbeCount = static_cast<int>(sizeof kCapeProbeTable / sizeof kCapeProbeTable[0]);

// --- Interfaces --------------------------------------------------------------------

// Name and description of a component.
MIDL_INTERFACE("678C0990-7D66-11D2-A67D-00105A42887F")
ICapeIdentification : public IDispatch {
  STDMETHOD(get_ComponentName)(CapeString * name) PURE;                // 1
  STDMETHOD(put_ComponentName)(CapeString name) PURE;                  // 2
  STDMETHOD(get_ComponentDescription)(CapeString * description) PURE;  // 3
  STDMETHOD(put_ComponentDescription)(CapeString description) PURE;    // 4
};

// A property system: the provider of named property packages.
MIDL_INTERFACE("678C0995-7D66-11D2-A67D-00105A42887F")
ICapeThermoSystem : public IDispatch {
  // 1: a one-dimensional SAFEARRAY of BSTR package names.
  STDMETHOD(GetPropertyPackages)(CapeVariant * propPackageList) PURE;
  // 2: the package of that name, created and owned by the caller.
  STDMETHOD(ResolvePropertyPackage)(CapeString propertyPackage, CapeInterface * propPackObject) PURE;
};

// A property package: compounds, phases and properties, and their calculation.
MIDL_INTERFACE("678C0996-7D66-11D2-A67D-00105A42887F")
ICapeThermoPropertyPackage : public IDispatch {
  STDMETHOD(GetPhaseList)(CapeVariant * phases) PURE;  // 1
  STDMETHOD(GetComponentList)
  (CapeVariant * compIds, CapeVariant * formulae, CapeVariant * names, CapeVariant * boilTemps, CapeVariant * molWt,
   CapeVariant * casNo) PURE;                                                                                     // 2
  STDMETHOD(GetUniversalConstant)(CapeInterface materialObject, CapeVariant props, CapeVariant * propVals) PURE;  // 3
  STDMETHOD(GetComponentConstant)(CapeInterface materialObject, CapeVariant props, CapeVariant * propVals) PURE;  // 4
  STDMETHOD(CalcProp)
  (CapeInterface materialObject, CapeVariant props, CapeVariant phases,
   CapeString calcType) PURE;                                                                              // 5
  STDMETHOD(CalcEquilibrium)(CapeInterface materialObject, CapeString flashType, CapeVariant props) PURE;  // 6
  STDMETHOD(PropCheck)(CapeInterface materialObject, CapeVariant props, CapeVariant * valid) PURE;         // 7
  STDMETHOD(ValidityCheck)(CapeInterface materialObject, CapeVariant props, CapeVariant * relList) PURE;   // 8
  STDMETHOD(GetPropList)(CapeVariant * props) PURE;                                                        // 9
};

// The CAPE-OPEN 1.0 unit operation interface; this DLL only asks for it.
MIDL_INTERFACE("678C0998-0100-11D2-A67D-00105A42887F")
ICapeUnit : public IDispatch {
  STDMETHOD(get_ports)(CapeInterface * ports) PURE;                       // 1
  STDMETHOD(get_ValStatus)(CapeValidationStatus * status) PURE;           // 2
  STDMETHOD(Calculate)() PURE;                                            // 3
  STDMETHOD(Validate)(CapeString * message, CapeBoolean * isValid) PURE;  // 4
};

// The utilities interface: start, stop and the component's own view.
MIDL_INTERFACE("678C0A9B-0100-11D2-A67D-00105A42887F")
ICapeUtilities : public IDispatch {
  STDMETHOD(get_parameters)(CapeInterface * parameters) PURE;    // 1
  STDMETHOD(put_simulationContext)(CapeInterface context) PURE;  // 2
  STDMETHOD(Initialize)() PURE;                                  // 3
  STDMETHOD(Terminate)() PURE;                                   // 4
  STDMETHOD(Edit)() PURE;                                        // 5
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ICapeIdentification, 0x678C0990, 0x7D66, 0x11D2, 0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F)
__CRT_UUID_DECL(ICapeThermoSystem, 0x678C0995, 0x7D66, 0x11D2, 0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F)
__CRT_UUID_DECL(ICapeThermoPropertyPackage, 0x678C0996, 0x7D66, 0x11D2, 0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F)
__CRT_UUID_DECL(ICapeUnit, 0x678C0998, 0x0100, 0x11D2, 0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F)
__CRT_UUID_DECL(ICapeUtilities, 0x678C0A9B, 0x0100, 0x11D2, 0xA6, 0x7D, 0x00, 0x10, 0x5A, 0x42, 0x88, 0x7F)
#endif
