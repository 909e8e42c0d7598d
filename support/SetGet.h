// SetGet: reads the elements of one-dimensional SAFEARRAYs in place, the form in which
// CAPE-OPEN components hand over their lists. Known element types: VT_I4, VT_R8, VT_BSTR,
// VT_BOOL and VT_VARIANT. A BSTR or VARIANT read in place stays owned by the array.
#pragma once
#include <windows.h>
#include <oleauto.h>

class SetGet {
 public:
  // Reads the element at 'index' into 'out'. The element type (with or without VT_ARRAY)
  // must be the array's own and the index within its bounds; otherwise the mismatch is
  // reported, nothing is read and the result is false.
  static bool noCopyVariantGetV(VARTYPE type, SAFEARRAY* array, long& index, void* out);
  // False when 'index' lies beyond the array's last element (or the element cannot be
  // read); else reads it and returns true. The walk: index = lower bound, then nextItem
  // with index, index + 1, ... until it answers false.
  static bool nextItem(VARTYPE type, SAFEARRAY* array, long index, void* out);
  // Copies the element at index - lowerBound of the data block into 'out'; an unknown
  // element type is reported and nothing is copied.
  static bool noCopyItemGet(VARTYPE type, void* data, long& index, void* out, long lowerBound);
  // Bytes of one element of a known type in an array's data block; 0 for the others.
  static size_t elementSize(VARTYPE type);
};
