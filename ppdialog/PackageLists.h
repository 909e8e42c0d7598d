// The lists that a property package hands over (compounds, CAS numbers, properties,
// phases, flash types) as texts for the dialog's list boxes. The VARIANTs come from
// outside components and are not trusted: only one-dimensional arrays are read, each
// element by the array's own element type.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <vector>

namespace ppdialog {

// The texts of a list VARIANT, in array order from its lower bound. Strings as they are
// (a null BSTR is empty), numbers as numbers, booleans as true/false, VARIANT elements by
// their content; an element with no text form gives an empty text, so that parallel lists
// stay row by row. An empty VARIANT, a value that is not an array, an array of more than
// one dimension or of an element type that cannot be read gives no texts.
std::vector<std::string> listTexts(const VARIANT& list);

// Text of one VARIANT value, as for the elements above; false when it has no text form.
bool variantText(const VARIANT& value, std::string& text);

// Narrow (UTF-8) text of a BSTR; a null BSTR is empty.
std::string narrowBstr(BSTR text);

// Appends the texts to a list box (LB_ADDSTRING), sorted lists included.
void fillListBox(HWND listBox, const std::vector<std::string>& texts);

}  // namespace ppdialog
