#include "ppdialog/PackageLists.h"
#include <algorithm>
#include <cstdio>
#include "framework/ListArray.h"
#include "framework/WideText.h"
#include "support/SetGet.h"

namespace ppdialog {

namespace {

std::string numberText(double value, int digits) {
  char text[64];
  snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::string boolText(bool value) { return value ? "true" : "false"; }

// An element read in place by SetGet; large and aligned enough for any of its types.
union ElementSlot {
  LONG i4;
  DOUBLE r8;
  BSTR bstr;
  VARIANT_BOOL boolean;
  VARIANT variant;
};

std::string elementText(VARTYPE type, const ElementSlot& element) {
  std::string text;
  switch (type) {
    case VT_BSTR: return narrowBstr(element.bstr);
    case VT_I4: return std::to_string(element.i4);
    case VT_R8: return numberText(element.r8, 15);
    case VT_BOOL: return boolText(element.boolean != VARIANT_FALSE);
    case VT_VARIANT: variantText(element.variant, text); return text;
    default: return text;
  }
}

SAFEARRAY* arrayOf(const VARIANT& list) {
  if (!(list.vt & VT_ARRAY)) return nullptr;
  if (list.vt & VT_BYREF) return list.pparray ? *list.pparray : nullptr;
  return list.parray;
}

}  // namespace

std::string narrowBstr(BSTR text) {
  return text ? narrowFromWide(text, static_cast<int>(SysStringLen(text))) : std::string();
}

bool variantText(const VARIANT& value, std::string& text) {
  switch (value.vt) {
    case VT_BSTR: text = narrowBstr(value.bstrVal); return true;
    case VT_I1: text = std::to_string(static_cast<int>(value.cVal)); return true;
    case VT_UI1: text = std::to_string(static_cast<unsigned>(value.bVal)); return true;
    case VT_I2: text = std::to_string(value.iVal); return true;
    case VT_UI2: text = std::to_string(value.uiVal); return true;
    case VT_I4: text = std::to_string(value.lVal); return true;
    case VT_UI4: text = std::to_string(value.ulVal); return true;
    case VT_INT: text = std::to_string(value.intVal); return true;
    case VT_UINT: text = std::to_string(value.uintVal); return true;
    case VT_I8: text = std::to_string(value.llVal); return true;
    case VT_UI8: text = std::to_string(value.ullVal); return true;
    case VT_R4: text = numberText(value.fltVal, 7); return true;
    case VT_R8: text = numberText(value.dblVal, 15); return true;
    case VT_BOOL: text = boolText(value.boolVal != VARIANT_FALSE); return true;
    default: return false;  // empty, null, objects, arrays, references
  }
}

std::vector<std::string> listTexts(const VARIANT& list) {
  std::vector<std::string> texts;
  fw::ListShape shape;
  SAFEARRAY* array = arrayOf(list);
  if (!fw::readListShape(array, &shape)) return texts;

  // The array's own element type decides how its block is read; the type word that the
  // component put on the VARIANT only stands in for an array that records none.
  VARTYPE type = shape.type != VT_EMPTY ? shape.type : static_cast<VARTYPE>(list.vt & VT_TYPEMASK);
  size_t size = SetGet::elementSize(type);
  if (size == 0) {
    // SetGet reports the element type it cannot read (and the shape, when it is not a
    // list); bytes of an unknown layout are not shown.
    ElementSlot scratch;
    long lower = shape.lower;
    SetGet::noCopyVariantGetV(type, array, lower, &scratch);
    return texts;
  }
  // A block laid out for other elements, or none at all: nothing can be read safely.
  if (shape.elementBytes != size || !array->pvData) return texts;

  // An array of more dimensions is read along its first one, with its shape reported once
  // by the first read rather than once per element.
  for (unsigned long long k = 0; k < shape.indices(); ++k) {
    ElementSlot element;
    long at = shape.index(k);
    bool read;
    if (k == 0)
      read = SetGet::noCopyVariantGetV(type, array, at, &element);
    else if (shape.dimensions == 1)
      read = SetGet::nextItem(type, array, at, &element);
    else
      read = SetGet::noCopyItemGet(type, array->pvData, at, &element, shape.lower);
    if (!read) break;
    texts.push_back(elementText(type, element));
  }
  return texts;
}

void fillListBox(HWND listBox, const std::vector<std::string>& texts) {
  if (!listBox || texts.empty()) return;
  std::vector<std::wstring> wide;
  wide.reserve(texts.size());
  size_t bytes = 0;
  for (const std::string& text : texts) {
    wide.push_back(wideFromNarrow(text));
    bytes += (wide.back().size() + 1) * sizeof(wchar_t);
  }
  SendMessageW(listBox, LB_INITSTORAGE, wide.size(), static_cast<LPARAM>(bytes));

  // A sorted list box inserts each string at its place; handing them over in order
  // keeps every insertion at the end instead of moving the whole list each time.
  std::vector<const std::wstring*> order;
  order.reserve(wide.size());
  for (const std::wstring& text : wide) order.push_back(&text);
  if (GetWindowLongW(listBox, GWL_STYLE) & LBS_SORT) {
    std::stable_sort(order.begin(), order.end(), [](const std::wstring* a, const std::wstring* b) {
      return lstrcmpiW(a->c_str(), b->c_str()) < 0;
    });
  }
  for (const std::wstring* text : order) {
    LRESULT added = SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text->c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE) break;
  }
}

}  // namespace ppdialog
