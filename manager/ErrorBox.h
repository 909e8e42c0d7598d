// The Component Manager's own error box: the framework's message box with the stop icon;
// nothing is traced.
#pragma once
#include <windows.h>
#include <string>
#include "support/MTUtils.h"

// E_FAIL, which the callers that report a failure this way return.
inline HRESULT showManagerError(const std::string& text) {
  showAppMessage(text.c_str(), nullptr, MB_ICONSTOP | MB_OK, 0);
  return E_FAIL;
}
