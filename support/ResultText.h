// Text of COM result codes: the symbolic name, the block of codes, or severity and facility,
// always followed by the code in hexadecimal.
#pragma once
#include <windows.h>

// The text for 'code' in a static buffer that the next call overwrites.
const char* describeResult(HRESULT code);
// A message box with 'text', the system's text for 'code' and describeResult(code).
void showSystemError(const char* text, HRESULT code);
