// COM object creation, on this computer or a named one, with its failure diagnostic.
#include "support/Utils.h"
#include <cstdio>
#include <vector>
#include "framework/ComPtr.h"
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "support/MTUtils.h"

namespace {

std::string className(REFCLSID clsid) {
  fw::CoTaskMem<wchar_t> progId;
  if (SUCCEEDED(ProgIDFromCLSID(clsid, progId.put())) && progId.get() && *progId.get())
    return narrowFromWide(progId.get());
  return guidText(clsid);
}

std::string interfaceText(REFIID iid) {
  BSTR name = nullptr;
  HRESULT hr = Utils::interfaceName(iid, &name);
  CTxBSTR owner;
  owner.Attach(name);
  // An interface that is not registered is named by the empty text; only a lookup that
  // fails falls back to the IID.
  return SUCCEEDED(hr) ? narrowFromWide(name) : guidText(iid);
}

void reportCreationFailure(REFCLSID clsid, DWORD context, REFIID iid, HRESULT code) {
  try {
    std::string iface = interfaceText(iid);
    std::string cls = className(clsid);
    std::vector<char> line(iface.size() + cls.size() + 80);
    snprintf(line.data(), line.size(), "Error creating interface '%s' for class '%s' context %d", iface.c_str(),
             cls.c_str(), static_cast<int>(context));
    traceToTempFile(line.data());
    showSystemError(line.data(), code);
  } catch (...) {
    showSystemError("Error creating interface", code);
  }
}

}  // namespace

HRESULT Utils::createInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object,
                              const wchar_t* computer) {
  if (!object) return E_POINTER;
  *object = nullptr;
  HRESULT hr = S_OK;
  if (computer && *computer) {
    COSERVERINFO server = {};
    server.pwszName = const_cast<wchar_t*>(computer);
    MULTI_QI query = {&iid, nullptr, S_OK};
    hr = CoCreateInstanceEx(clsid, outer, context, &server, 1, &query);
    if (SUCCEEDED(hr)) hr = query.hr;
    if (SUCCEEDED(hr) && query.pItf) {
      *object = query.pItf;
    } else {
      if (query.pItf) query.pItf->Release();
      if (SUCCEEDED(hr)) hr = E_NOINTERFACE;
    }
  } else {
    hr = CoCreateInstance(clsid, outer, context, iid, object);
    // Some systems refuse the remote context for a local creation.
    if (hr == E_INVALIDARG && (context & CLSCTX_REMOTE_SERVER))
      hr = CoCreateInstance(clsid, outer, context & ~static_cast<DWORD>(CLSCTX_REMOTE_SERVER), iid, object);
    hr = fw::requireOut(hr, *object);
  }
  if (FAILED(hr)) {
    *object = nullptr;
    reportCreationFailure(clsid, context, iid, hr);
  }
  return hr;
}
