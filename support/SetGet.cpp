#include "support/SetGet.h"
#include <cstdio>
#include <cstring>
#include "support/MTUtils.h"

namespace {

const char kOrigin[] = "noCopyVariantGetV";

VARTYPE elementType(VARTYPE type) { return type > VT_ARRAY ? static_cast<VARTYPE>(type - VT_ARRAY) : type; }

// Whether 'index' names an element of the first dimension that the data block holds: an
// array with an empty dimension holds none at all.
bool withinFirstDimension(SAFEARRAY* array, long index) {
  if (array->cDims == 0) return false;
  unsigned long long total = 1;
  for (USHORT d = 0; d < array->cDims; ++d) total *= array->rgsabound[d].cElements;
  const SAFEARRAYBOUND& bound = array->rgsabound[0];
  long long first = bound.lLbound;
  long long count = total < bound.cElements ? static_cast<long long>(total) : bound.cElements;
  return index >= first && index < first + count;
}

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
  if (SafeArrayGetDim(array) > 1)
    MTUtils::reportFailure("Only 1 dimension arrays are supported", kOrigin, nullptr, true);

  // An element type that the reader does not know is reported as such, before anything
  // is compared with the array.
  VARTYPE wanted = elementType(type);
  size_t size = elementSize(wanted);
  if (size == 0) return noCopyItemGet(type, array->pvData, index, out, array->rgsabound[0].lLbound);

  // A known type must be the array's own: reading the block as another type would take
  // pointers from numbers or run past the block's end.
  VARTYPE held = VT_EMPTY;
  bool known = SUCCEEDED(SafeArrayGetVartype(array, &held));
  if (known ? held != wanted : size != array->cbElements) {
    MTUtils::reportFailure("element type does not match the array", kOrigin, nullptr, true);
    return false;
  }

  const SAFEARRAYBOUND& bound = array->rgsabound[0];
  if (!withinFirstDimension(array, index)) {
    MTUtils::reportFailure("index out of bounds", kOrigin, nullptr, true);
    return false;
  }
  return noCopyItemGet(type, array->pvData, index, out, bound.lLbound);
}

bool SetGet::nextItem(VARTYPE type, SAFEARRAY* array, long index, void* out) {
  if (!array || array->cDims == 0) return false;
  long long last = static_cast<long long>(array->rgsabound[0].lLbound) + array->rgsabound[0].cElements - 1;
  if (index > last) return false;
  return noCopyVariantGetV(type, array, index, out);
}
