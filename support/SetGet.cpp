#include "support/SetGet.h"
#include <cstring>
#include "framework/ListArray.h"
#include "support/MTUtils.h"

namespace {

const char kOrigin[] = "noCopyVariantGetV";

VARTYPE elementType(VARTYPE type) { return type > VT_ARRAY ? static_cast<VARTYPE>(type - VT_ARRAY) : type; }

// Whether 'index' names an element of the list that the data block holds: an array with
// an empty dimension holds none at all.
bool holds(const fw::ListShape& shape, long index) {
  long long offset = static_cast<long long>(index) - shape.lower;
  return offset >= 0 && static_cast<unsigned long long>(offset) < shape.count;
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
    MTUtils::reportError(MTUtils::kInternalError, "bad VT in noCopyItemGet", nullptr, nullptr, true);
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
  fw::ListShape shape;
  bool listed = fw::readListShape(array, &shape);
  if (shape.dimensions > 1)
    MTUtils::reportFailure("Only 1 dimension arrays are supported", kOrigin, nullptr, true);

  // An element type that the reader does not know is reported as such, before anything
  // is compared with the array.
  size_t size = elementSize(elementType(type));
  if (size == 0) return noCopyItemGet(type, array->pvData, index, out, shape.lower);

  // A known type must be the array's own, in elements of its size: reading the block as
  // another type would take pointers from numbers or run past the block's end.
  if (listed && ((shape.type != VT_EMPTY && shape.type != elementType(type)) || shape.elementBytes != size)) {
    MTUtils::reportFailure("element type does not match the array", kOrigin, nullptr, true);
    return false;
  }
  if (!listed || !holds(shape, index)) {
    MTUtils::reportFailure("index out of bounds", kOrigin, nullptr, true);
    return false;
  }
  return noCopyItemGet(type, array->pvData, index, out, shape.lower);
}

bool SetGet::nextItem(VARTYPE type, SAFEARRAY* array, long index, void* out) {
  fw::ListShape shape;
  if (!fw::readListShape(array, &shape)) return false;
  // Only the end stops the walk: an index below the list is the read's to report.
  if (static_cast<long long>(index) - shape.lower >= static_cast<long long>(shape.count)) return false;
  return noCopyVariantGetV(type, array, index, out);
}
