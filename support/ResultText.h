// Text of COM result codes: the symbolic name, the block of codes, or severity and facility,
// always followed by the code in hexadecimal. (The box that shows it is the reporter's
// showSystemError.)
#pragma once
#include <windows.h>

// The text for 'code' in a static buffer that the next call overwrites.
const char* describeResult(HRESULT code);
