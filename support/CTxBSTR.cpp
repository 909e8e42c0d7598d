#include "support/CTxBSTR.h"
#include <cstdio>
#include <vector>

void CTxBSTR::appendNarrow(const char* text) {
  _bstr_t::operator+=(_bstr_t(text));
}

CTxBSTR::CTxBSTR(int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  appendNarrow(text);
}

CTxBSTR::CTxBSTR(unsigned int value) : CTxBSTR(static_cast<int>(value)) {}
CTxBSTR::CTxBSTR(long value) : CTxBSTR(static_cast<int>(value)) {}
CTxBSTR::CTxBSTR(unsigned long value) : CTxBSTR(static_cast<int>(value)) {}

CTxBSTR::CTxBSTR(long long value) {
  char text[32];
  snprintf(text, sizeof text, "%lld", value);
  appendNarrow(text);
}

CTxBSTR::CTxBSTR(double value) {
  // "%f" of a value near the top of the double range has more than 300 digits.
  int needed = snprintf(nullptr, 0, "%f", value);
  if (needed < 0) _com_issue_error(E_FAIL);
  std::vector<char> text(static_cast<size_t>(needed) + 1);
  snprintf(text.data(), text.size(), "%f", value);
  appendNarrow(text.data());
}

BSTR CTxBSTR::join(const CTxBSTR* items, int count) {
  // Appending a null string still makes an empty record, so nulls are passed over:
  // only a result built from something is non-null.
  _bstr_t result;
  for (int i = 0; items && i < count; ++i) {
    if (static_cast<const wchar_t*>(items[i])) result += items[i];
  }
  if (!static_cast<const wchar_t*>(result)) return nullptr;
  return result.copy();
}
