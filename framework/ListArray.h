// The shape of a list SAFEARRAY as CAPE-OPEN components hand lists over: read from the
// array's own descriptor, never from the type word of the VARIANT that carried it.
// Indices are counted in 64 bits from the element count, so a list that starts at the
// lowest LONG or ends at the highest is walked to its end and no further. What a caller
// skips or reports is its own policy.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <climits>

namespace fw {

struct ListShape {
  UINT dimensions = 0;
  LONG lower = 0;                  // lower bound of the list's dimension
  unsigned long long count = 0;    // elements that the data block holds along it
  VARTYPE type = VT_EMPTY;         // element type; VT_EMPTY when the array records none
  ULONG elementBytes = 0;

  bool empty() const { return count == 0; }
  // The k-th index (0 <= k < indices()) as the SAFEARRAY functions take it.
  LONG index(unsigned long long k) const { return static_cast<LONG>(static_cast<long long>(lower) + static_cast<long long>(k)); }
  // Elements that can be addressed with a LONG index.
  unsigned long long indices() const {
    unsigned long long room = static_cast<unsigned long long>(static_cast<long long>(LONG_MAX) - lower) + 1;
    return count < room ? count : room;
  }
};

// False for a null array or one without a dimension. An array of more dimensions is read
// along its descriptor's first bound, capped by the elements that the whole block holds.
inline bool readListShape(SAFEARRAY* array, ListShape* shape) {
  *shape = ListShape();
  if (!array || array->cDims == 0) return false;
  shape->dimensions = array->cDims;
  const SAFEARRAYBOUND& bound = array->rgsabound[0];
  unsigned long long total = 1;
  for (USHORT d = 0; d < array->cDims; ++d) total *= array->rgsabound[d].cElements;
  shape->lower = bound.lLbound;
  shape->count = total < bound.cElements ? total : bound.cElements;
  shape->elementBytes = array->cbElements;
  VARTYPE held = VT_EMPTY;
  if (SUCCEEDED(SafeArrayGetVartype(array, &held))) shape->type = held;
  else if (array->fFeatures & FADF_BSTR) shape->type = VT_BSTR;
  else if (array->fFeatures & FADF_VARIANT) shape->type = VT_VARIANT;
  else if (array->fFeatures & FADF_UNKNOWN) shape->type = VT_UNKNOWN;
  else if (array->fFeatures & FADF_DISPATCH) shape->type = VT_DISPATCH;
  return true;
}

// The array of a VARIANT that holds one by value; null for anything else.
inline SAFEARRAY* listArrayOf(const VARIANT& value) {
  if ((value.vt & VT_ARRAY) == 0 || (value.vt & VT_BYREF) != 0) return nullptr;
  return value.parray;
}

}  // namespace fw
