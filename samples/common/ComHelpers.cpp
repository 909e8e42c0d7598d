#include "samples/common/ComHelpers.h"
#include <oleauto.h>
#include "framework/ComPtr.h"
#include "framework/Raii.h"
#include "samples/common/SampleIds.h"

namespace txs {

HRESULT failWith(HRESULT code, const wchar_t* description, REFIID iid) {
  fw::ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.put()))) {
    create->SetDescription(const_cast<LPOLESTR>(description));
    create->SetSource(const_cast<LPOLESTR>(kErrorSource));
    create->SetGUID(iid);
    fw::ComPtr<IErrorInfo> info;
    if (SUCCEEDED(info.queryFrom(create.get(), IID_IErrorInfo))) SetErrorInfo(0, info.get());
  }
  return code;
}

HRESULT copyText(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  try {
    *out = SysAllocString(wideFromNarrow(text).c_str());
  } catch (...) {
    *out = nullptr;
  }
  return *out ? S_OK : E_OUTOFMEMORY;
}

namespace {

HRESULT makeVector(VARTYPE type, ULONG count, LONG lowerBound, fw::UniqueSafeArray& array) {
  SAFEARRAYBOUND bound = {count, lowerBound};
  array.reset(SafeArrayCreate(type, 1, &bound));
  return array.get() ? S_OK : E_OUTOFMEMORY;
}

HRESULT putString(SAFEARRAY* array, LONG* index, const std::string& text) {
  BSTR value = SysAllocString(wideFromNarrow(text).c_str());
  if (!value) return E_OUTOFMEMORY;
  HRESULT hr = SafeArrayPutElement(array, index, value);  // copies the string
  SysFreeString(value);
  return hr;
}

HRESULT hand(fw::UniqueSafeArray& array, VARTYPE type, VARIANT* out) {
  VariantInit(out);
  out->vt = static_cast<VARTYPE>(VT_ARRAY | type);
  out->parray = array.detach();
  return S_OK;
}

}  // namespace

HRESULT makeStringArray(const std::vector<std::string>& items, LONG lowerBound, VARIANT* out) {
  fw::UniqueSafeArray array;
  HRESULT hr = makeVector(VT_BSTR, static_cast<ULONG>(items.size()), lowerBound, array);
  for (size_t i = 0; SUCCEEDED(hr) && i < items.size(); ++i) {
    LONG index = lowerBound + static_cast<LONG>(i);
    hr = putString(array.get(), &index, items[i]);
  }
  return SUCCEEDED(hr) ? hand(array, VT_BSTR, out) : hr;
}

HRESULT makeDoubleArray(const std::vector<double>& values, LONG lowerBound, VARIANT* out) {
  fw::UniqueSafeArray array;
  HRESULT hr = makeVector(VT_R8, static_cast<ULONG>(values.size()), lowerBound, array);
  for (size_t i = 0; SUCCEEDED(hr) && i < values.size(); ++i) {
    LONG index = lowerBound + static_cast<LONG>(i);
    double value = values[i];
    hr = SafeArrayPutElement(array.get(), &index, &value);
  }
  return SUCCEEDED(hr) ? hand(array, VT_R8, out) : hr;
}

HRESULT makeLongArray(const std::vector<LONG>& values, VARIANT* out) {
  fw::UniqueSafeArray array;
  HRESULT hr = makeVector(VT_I4, static_cast<ULONG>(values.size()), 0, array);
  for (size_t i = 0; SUCCEEDED(hr) && i < values.size(); ++i) {
    LONG index = static_cast<LONG>(i);
    LONG value = values[i];
    hr = SafeArrayPutElement(array.get(), &index, &value);
  }
  return SUCCEEDED(hr) ? hand(array, VT_I4, out) : hr;
}

HRESULT makeVariantStringArray(const std::vector<std::string>& items, VARIANT* out) {
  fw::UniqueSafeArray array;
  HRESULT hr = makeVector(VT_VARIANT, static_cast<ULONG>(items.size()), 0, array);
  for (size_t i = 0; SUCCEEDED(hr) && i < items.size(); ++i) {
    LONG index = static_cast<LONG>(i);
    fw::UniqueVariant element;
    element.get()->vt = VT_BSTR;
    element.get()->bstrVal = SysAllocString(wideFromNarrow(items[i]).c_str());
    hr = element.get()->bstrVal ? SafeArrayPutElement(array.get(), &index, element.get()) : E_OUTOFMEMORY;
  }
  return SUCCEEDED(hr) ? hand(array, VT_VARIANT, out) : hr;
}

HRESULT makeStringMatrix(const std::vector<std::string>& items, LONG rows, LONG columns, VARIANT* out) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), 0}, {static_cast<ULONG>(columns), 0}};
  fw::UniqueSafeArray array(SafeArrayCreate(VT_BSTR, 2, bounds));
  if (!array.get()) return E_OUTOFMEMORY;
  HRESULT hr = S_OK;
  for (size_t k = 0; SUCCEEDED(hr) && k < items.size() && static_cast<LONG>(k) < rows * columns; ++k) {
    LONG index[2] = {static_cast<LONG>(k) % rows, static_cast<LONG>(k) / rows};
    hr = putString(array.get(), index, items[k]);
  }
  return SUCCEEDED(hr) ? hand(array, VT_BSTR, out) : hr;
}

}  // namespace txs
