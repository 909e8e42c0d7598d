#include "support/SetGet.h"
#include <cstdio>
#include <cstring>
#include "support/MTUtils.h"

namespace {

const char kOrigin[] = "noCopyVariantGetV";

VARTYPE elementType(VARTYPE type) { return type > VT_ARRAY ? static_cast<VARTYPE>(type - VT_ARRAY) : type; }

}  // namespace

size_t SetGet::elementSize(VARTYPE type) {
  switch (type) {
    case VT_I4: return sizeof(LONG);
    case VT_R8: return sizeof(DOUBLE);
    case VT_BSTR: return sizeof(BSTR);
    case VT_BOOL: return sizeof(VARIANT_BOOL);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

bool SetGet::noCopyItemGet(VARTYPE type, void* data, long& index, void* out, long lowerBound) {
  size_t size = elementSize(elementType(type));
  if (size == 0) {
    MTUtils::reportError(100, "bad VT in noCopyItemGet", nullptr, nullptr, true);
    return false;
  }
  if (!data || !out || index < lowerBound) {
    MTUtils::reportFailure("no element to read in noCopyItemGet", nullptr, nullptr, true);
    return false;
  }
  size_t slot = static_cast<size_t>(static_cast<long long>(index) - lowerBound);
  memcpy(out, static_cast<const char*>(data) + slot * size, size);
  return true;
}

bool SetGet::noCopyVariantGetV(VARTYPE type, SAFEARRAY* array, long& index, void* out) {
  if (!array) {
    MTUtils::reportFailure("no array given", kOrigin, nullptr, true);
    return false;
  }
  if (SafeArrayGetDim(array) != 1)
    MTUtils::reportFailure("Only 1 dimension arrays are supported", kOrigin, nullptr, true);

  // The caller's element type must be the array's: reading the block as another type
  // would take pointers from numbers or run past the block's end.
  VARTYPE wanted = elementType(type);
  VARTYPE held = VT_EMPTY;
  bool known = SUCCEEDED(SafeArrayGetVartype(array, &held));
  size_t size = elementSize(wanted);
  if (known ? held != wanted : (size != 0 && size != array->cbElements)) {
    char text[128];
    snprintf(text, sizeof text, "element type %d asked for an array of element type %d", static_cast<int>(wanted),
             known ? static_cast<int>(held) : -1);
    MTUtils::reportFailure(text, kOrigin, nullptr, true);
    return false;
  }

  const SAFEARRAYBOUND& bound = array->rgsabound[0];
  long long last = static_cast<long long>(bound.lLbound) + bound.cElements - 1;
  if (index < bound.lLbound || index > last) {
    char text[128];
    snprintf(text, sizeof text, "index %ld outside the array's bounds %ld to %lld", static_cast<long>(index),
             static_cast<long>(bound.lLbound), last);
    MTUtils::reportFailure(text, kOrigin, nullptr, true);
    return false;
  }
  return noCopyItemGet(type, array->pvData, index, out, bound.lLbound);
}

bool SetGet::nextItem(VARTYPE type, SAFEARRAY* array, long index, void* out) {
  if (!array) return false;
  long long last = static_cast<long long>(array->rgsabound[0].lLbound) + array->rgsabound[0].cElements - 1;
  if (index > last) return false;
  return noCopyVariantGetV(type, array, index, out);
}
