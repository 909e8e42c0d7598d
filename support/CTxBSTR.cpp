#include "support/CTxBSTR.h"
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

CTxBSTR& CTxBSTR::operator+=(const _bstr_t& other) {
  // Hold the argument's record: it may be this string's own.
  _bstr_t tail(other);
  unsigned int head = length();
  unsigned int added = tail.length();
  // A BSTR's length prefix counts its bytes in 32 bits. The limit is checked before any
  // allocation, and without wrapping round for a string that is at it already.
  const unsigned int maxLength = UINT_MAX / sizeof(wchar_t);
  if (head > maxLength || added > maxLength - head) _com_issue_error(E_OUTOFMEMORY);
  unsigned int total = head + added;
  BSTR joined = SysAllocStringLen(nullptr, total);
  if (!joined) _com_issue_error(E_OUTOFMEMORY);
  const wchar_t* first = static_cast<const wchar_t*>(*this);
  const wchar_t* second = static_cast<const wchar_t*>(tail);
  if (head) memcpy(joined, first, head * sizeof(wchar_t));
  if (added) memcpy(joined + head, second, added * sizeof(wchar_t));
  joined[total] = L'\0';
  try {
    _bstr_t::operator=(_bstr_t(joined, false));
  } catch (...) {
    SysFreeString(joined);
    _com_issue_error(E_OUTOFMEMORY);
  }
  return *this;
}

CTxBSTR CTxBSTR::operator+(const _bstr_t& other) const {
  CTxBSTR result(*this);
  result += other;
  return result;
}

void CTxBSTR::appendNarrow(const char* text) {
  *this += _bstr_t(text);
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
  CTxBSTR result;
  for (int i = 0; items && i < count; ++i) {
    if (static_cast<const wchar_t*>(items[i])) result += items[i];
  }
  if (!static_cast<const wchar_t*>(result)) return nullptr;
  return result.copy();
}
