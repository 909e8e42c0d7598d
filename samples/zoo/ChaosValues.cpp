#include "samples/zoo/ChaosValues.h"
#include <oleauto.h>
#include <climits>
#include <new>
#include "framework/Module.h"
#include "framework/Raii.h"
#include "samples/common/ComHelpers.h"
#include "samples/common/EarlyBound.h"
#include "samples/common/SampleModule.h"

namespace txs {

namespace {

const HRESULT kFailures[] = {E_FAIL,
                             E_NOINTERFACE,
                             E_POINTER,
                             E_OUTOFMEMORY,
                             E_NOTIMPL,
                             E_UNEXPECTED,
                             E_INVALIDARG,
                             E_ACCESSDENIED,
                             DISP_E_EXCEPTION,
                             DISP_E_TYPEMISMATCH,
                             DISP_E_BADINDEX,
                             DISP_E_MEMBERNOTFOUND,
                             static_cast<HRESULT>(0x800A02E1),  // an automation server's own code
                             static_cast<HRESULT>(0x80040501),  // CAPE-OPEN range
                             static_cast<HRESULT>(0x8000FFFF),
                             static_cast<HRESULT>(0xC0000005),
                             static_cast<HRESULT>(0x80000000),
                             static_cast<HRESULT>(0xFFFFFFFF)};
const HRESULT kOddSuccesses[] = {S_FALSE, 2, 101, 999, 1000, 0x00040000, 0x0004000F, 0x7FFFFFFF};

const wchar_t* const kShortTexts[] = {L"",
                                      L"Chaos",
                                      L"Chaos Package",
                                      L"%s%n%d%%%1!s!",
                                      L"[bracket] name (x) {y}",
                                      L"line\nbreak\r\ntab\t",
                                      L"\x00E9\x00FC\x4E2D\xD83D\xDE00",
                                      L"\xD800 lone surrogate",
                                      L"C:\\path\\..\\name.dll",
                                      L"Water",
                                      L"Vapor",
                                      L"Liquid",
                                      L"7732-18-5"};

class PlainObject : public HandMade<IDispatch> {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
};

BSTR hugeText(ChaosRandom& random) {
  UINT length = random.chance(50) ? 1024 * 1024 : 100 * 1024 + random.below(1000);
  BSTR text = SysAllocStringLen(nullptr, length);
  if (!text) return nullptr;
  for (UINT i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(L'a' + i % 26);
  if (random.chance(50)) text[length / 2] = L'\0';
  return text;
}

VARTYPE elementType(ChaosRandom& random) {
  static const VARTYPE types[] = {VT_BSTR, VT_BSTR, VT_VARIANT, VT_VARIANT, VT_I4,   VT_R8,
                                  VT_BOOL, VT_DISPATCH, VT_UI1, VT_I2,  VT_R4,  VT_DATE, VT_UNKNOWN};
  return random.pick(types);
}

// One element of type 'vt' at 'indices'.
void putElement(ChaosRandom& random, SAFEARRAY* array, VARTYPE vt, LONG* indices, bool huge, int depth) {
  switch (vt) {
    case VT_BSTR: {
      BSTR text = chaosText(random, huge);
      SafeArrayPutElement(array, indices, text);  // copies the text
      SysFreeString(text);
      break;
    }
    case VT_VARIANT: {
      fw::UniqueVariant value;
      chaosVariant(random, value.put(), huge, depth + 1);
      SafeArrayPutElement(array, indices, value.get());
      break;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      IDispatch* object = random.chance(50) ? newChaosPlainObject() : nullptr;
      SafeArrayPutElement(array, indices, object);  // takes its own reference
      if (object) object->Release();
      break;
    }
    case VT_BOOL: {
      VARIANT_BOOL value = random.chance(50) ? VARIANT_TRUE : static_cast<VARIANT_BOOL>(random.below(3));
      SafeArrayPutElement(array, indices, &value);
      break;
    }
    default: {
      // Numbers: the element's bytes from the generator (NaNs and infinities included).
      uint64_t bits = random.chance(50) ? random.below(1000) : random.next();
      SafeArrayPutElement(array, indices, &bits);
      break;
    }
  }
}

void chaosArray(ChaosRandom& random, VARIANT* out, bool huge, int depth) {
  static const LONG kBounds[] = {0, 0, 0, 1, 1, 7, -3, 1000, -2147483647 - 1, 2147483646};
  static const ULONG kCounts[] = {0, 1, 1, 2, 2, 3, 3, 5, 12};
  VARTYPE vt = elementType(random);
  UINT dims = 1 + (random.chance(30) ? 1 + random.below(2) : 0);
  SAFEARRAYBOUND bounds[3];
  ULONG total = 1;
  for (UINT d = 0; d < dims; ++d) {
    bounds[d].lLbound = random.pick(kBounds);
    bounds[d].cElements = random.pick(kCounts);
    // Bounds near the end of the range only with few elements, as a component would make them.
    if (bounds[d].lLbound > 1000 && bounds[d].cElements > 2) bounds[d].cElements = 1 + random.below(2);
    total *= bounds[d].cElements;
  }
  SAFEARRAY* array = SafeArrayCreate(vt, dims, bounds);
  if (!array) return;  // stays VT_EMPTY
  fw::UniqueSafeArray owner(array);
  LONG indices[3] = {0, 0, 0};
  for (ULONG k = 0; k < total; ++k) {
    // SafeArrayCreate's bounds are listed from the last dimension to the first; indices
    // are given from the first: index d runs over bounds[dims - 1 - d].
    ULONG rest = k;
    for (UINT d = 0; d < dims; ++d) {
      const SAFEARRAYBOUND& b = bounds[dims - 1 - d];
      indices[d] = b.lLbound + static_cast<LONG>(rest % b.cElements);
      rest /= b.cElements;
    }
    putElement(random, array, vt, indices, huge && k == 0, depth);
  }
  out->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  out->parray = owner.detach();
}

}  // namespace

IDispatch* newChaosPlainObject() { return new (std::nothrow) PlainObject(); }

HRESULT chaosResult(ChaosRandom& random) {
  uint32_t roll = random.below(100);
  if (roll < 70) return S_OK;
  if (roll < 78) return random.pick(kOddSuccesses);
  return random.pick(kFailures);
}

HRESULT chaosFailure(ChaosRandom& random) { return random.pick(kFailures); }

HRESULT chaosOddSuccess(ChaosRandom& random) { return random.pick(kOddSuccesses); }

void chaosEdgeList(ChaosRandom& random, VARIANT* out) {
  const VARTYPE vt = random.chance(70) ? VT_BSTR : VT_VARIANT;
  const ULONG count = random.chance(50) ? 0 : 1 + random.below(3);
  SAFEARRAYBOUND bound = {count, count ? static_cast<LONG>(LONG_MAX - static_cast<LONG>(count - 1)) : LONG_MIN};
  fw::UniqueSafeArray array(SafeArrayCreate(vt, 1, &bound));
  if (!array.get()) return;  // stays VT_EMPTY
  for (ULONG k = 0; k < count; ++k) {
    LONG index = bound.lLbound + static_cast<LONG>(k);
    putElement(random, array.get(), vt, &index, false, 1);
  }
  out->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  out->parray = array.detach();
}

HRESULT chaosReport(ChaosRandom& random, HRESULT code, REFIID iid) {
  if (SUCCEEDED(code) || random.chance(40)) return code;
  BSTR text = chaosText(random, random.chance(3));
  failWith(code, text ? text : L"", iid);
  SysFreeString(text);
  return code;
}

BSTR chaosText(ChaosRandom& random, bool huge) {
  uint32_t roll = random.below(100);
  if (roll < 8) return nullptr;
  if (huge && roll < 12) return hugeText(random);
  if (roll < 20) {
    // Embedded NULs and control characters.
    static const wchar_t kBytes[] = {L'a', L'\0', L'b', L'\0', L'\0', 0x0001, 0x001B, 0xFFFF, 0xFFFE, L'c'};
    return SysAllocStringLen(kBytes, 1 + random.below(10));
  }
  if (roll < 25) {
    UINT length = 2048 + random.below(3000);
    BSTR text = SysAllocStringLen(nullptr, length);
    for (UINT i = 0; text && i < length; ++i) text[i] = L'x';
    return text;
  }
  return SysAllocString(random.pick(kShortTexts));
}

void chaosVariant(ChaosRandom& random, VARIANT* out, bool huge, int depth) {
  VariantInit(out);
  uint32_t roll = random.below(100);
  if (roll < 50 && depth < 2) return chaosArray(random, out, huge, depth);
  if (roll < 58) return;  // VT_EMPTY
  if (roll < 63) {
    out->vt = VT_NULL;
  } else if (roll < 75) {
    out->vt = VT_BSTR;
    out->bstrVal = chaosText(random, huge);
  } else if (roll < 82) {
    out->vt = VT_I4;
    out->lVal = static_cast<LONG>(random.next());
  } else if (roll < 88) {
    out->vt = VT_R8;
    uint64_t bits = random.next();
    memcpy(&out->dblVal, &bits, sizeof bits);
  } else if (roll < 92) {
    out->vt = VT_BOOL;
    out->boolVal = random.chance(50) ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (roll < 97) {
    out->vt = VT_DISPATCH;
    out->pdispVal = random.chance(70) ? newChaosPlainObject() : nullptr;
  } else {
    out->vt = VT_ERROR;
    out->scode = chaosFailure(random);
  }
}

}  // namespace txs
