// IDispatch over the type information of a dual interface, as ATL's IDispatchImpl:
// the type information is loaded once per process (from the registered library, else
// from the module's own TYPELIB resource) and kept.
// DispatchImpl declares no virtual function of its own, so the interface's methods keep
// their slots in the table of the class that derives from it.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace fw {

// The cached type information for an interface of a library, or null (with the failure).
HRESULT loadTypeInfo(REFGUID libid, WORD major, WORD minor, REFIID iid, ITypeInfo** info);
// Gives back every cached type information (module shutdown).
void releaseTypeInfoCache();

template <class I, const IID* piid, const GUID* plibid, WORD major = 1, WORD minor = 0>
class DispatchImpl : public I {
 public:
  STDMETHOD(GetTypeInfoCount)(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHOD(GetTypeInfo)(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return loadTypeInfo(*plibid, major, minor, *piid, info);
  }
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count > 0 && (!names || !ids)) return E_POINTER;
    ITypeInfo* info = nullptr;
    HRESULT hr = loadTypeInfo(*plibid, major, minor, *piid, &info);
    if (FAILED(hr)) return hr;
    hr = info->GetIDsOfNames(names, count, ids);
    info->Release();
    return hr;
  }
  STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                    EXCEPINFO* excep, UINT* argErr) override {
    // The type information reads the arguments without looking: none is no call at all.
    if (!params) return E_POINTER;
    ITypeInfo* info = nullptr;
    HRESULT hr = loadTypeInfo(*plibid, major, minor, *piid, &info);
    if (FAILED(hr)) return hr;
    hr = info->Invoke(static_cast<I*>(this), id, flags, params, result, excep, argErr);
    info->Release();
    return hr;
  }
};

}  // namespace fw
