#include "bench/Floor.h"
#include <comcat.h>
#include <oleauto.h>
#include "external/CapeOpen.h"
#include "framework/ComPtr.h"
#include "framework/GuidText.h"
#include "framework/ListArray.h"
#include "framework/Raii.h"
#include "framework/WideText.h"

namespace bench {
namespace {

const wchar_t kUnitCatid[] = L"{678c09a5-7d66-11D2-a67d-00105a42887f}";
const wchar_t kSystemCatid[] = L"{678c09a3-7d66-11d2-a67d-00105a42887f}";
const char* const kValueNames[7] = {"Name",    "Description", "About",  "CapeVersion", "ComponentVersion",
                                    "VendorURL", "HelpURL"};

// One open key, seven reads.
void readValues(const std::string& path, std::string (&values)[7]) {
  fw::UniqueHKey key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return;
  wchar_t buffer[2048];
  for (int i = 0; i < 7; ++i) {
    DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), wideFromNarrow(kValueNames[i]).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
      buffer[size / sizeof(wchar_t)] = L'\0';
      values[i] = narrowFromWide(buffer);
    }
  }
}

HRESULT enumerate(ICatInformation* categories, const wchar_t* catidText, IEnumCLSID** classes) {
  CATID catid = GUID_NULL;
  HRESULT hr = CLSIDFromString(const_cast<wchar_t*>(catidText), &catid);
  if (SUCCEEDED(hr)) hr = categories->EnumClassesOfCategories(1, &catid, static_cast<ULONG>(-1), nullptr, classes);
  return hr;
}

void readPackages(REFCLSID clsid, FloorRecord* system) {
  fw::ComPtr<ICapeThermoSystem> object;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICapeThermoSystem, object.put_void())))
    return;
  fw::UniqueVariant list;
  if (FAILED(object->GetPropertyPackages(list.get())) || list.get()->vt != (VT_ARRAY | VT_BSTR)) return;
  SAFEARRAY* names = list.get()->parray;
  fw::ListShape shape;
  if (!fw::readListShape(names, &shape) || shape.type != VT_BSTR) return;
  BSTR* data = nullptr;
  if (FAILED(SafeArrayAccessData(names, reinterpret_cast<void**>(&data)))) return;
  for (unsigned long long i = 0; i < shape.indices(); ++i) {
    FloorRecord package;
    package.progid = narrowFromWide(data[i]);
    package.clsid = system->clsid;
    readValues("CLSID\\" + system->clsid + "\\PropertyPackages\\" + package.progid + "\\CapeDescription",
               package.values);
    system->packages.push_back(std::move(package));
  }
  SafeArrayUnaccessData(names);
}

HRESULT categoryManager(ICatInformation** categories) {
  return CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                          reinterpret_cast<void**>(categories));
}

}  // namespace

HRESULT runFloor(std::vector<FloorRecord>* records) {
  if (!records) return E_POINTER;
  fw::ComPtr<ICatInformation> categories;
  HRESULT hr = categoryManager(categories.put());
  if (FAILED(hr)) return hr;
  for (const wchar_t* catid : {kSystemCatid, kUnitCatid}) {
    fw::ComPtr<IEnumCLSID> classes;
    hr = enumerate(categories.get(), catid, classes.put());
    if (FAILED(hr)) return hr;
    std::string narrowCatid = narrowFromWide(catid);
    CLSID clsid;
    ULONG fetched = 0;
    while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) {
      fw::CoTaskMem<wchar_t> progId;
      if (FAILED(ProgIDFromCLSID(clsid, progId.put()))) continue;
      FloorRecord record;
      record.catid = narrowCatid;
      record.progid = narrowFromWide(progId.get());
      record.clsid = guidText(clsid);
      readValues("CLSID\\" + record.clsid + "\\CapeDescription", record.values);
      if (catid == kSystemCatid) readPackages(clsid, &record);
      records->push_back(std::move(record));
    }
  }
  return S_OK;
}

HRESULT enumerateOnly(size_t* count) {
  if (!count) return E_POINTER;
  *count = 0;
  fw::ComPtr<ICatInformation> categories;
  HRESULT hr = categoryManager(categories.put());
  if (FAILED(hr)) return hr;
  for (const wchar_t* catid : {kSystemCatid, kUnitCatid}) {
    fw::ComPtr<IEnumCLSID> classes;
    hr = enumerate(categories.get(), catid, classes.put());
    if (FAILED(hr)) return hr;
    CLSID clsid;
    ULONG fetched = 0;
    while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) ++*count;
  }
  return S_OK;
}

}  // namespace bench
