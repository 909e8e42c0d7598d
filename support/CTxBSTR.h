// CTxBSTR: the wide string of every COM boundary and object field. A reference-counted
// BSTR (the compiler's _bstr_t) that can also be built from numbers and joined.
#pragma once
#include <windows.h>
#include <comdef.h>

class CTxBSTR : public _bstr_t {
 public:
  CTxBSTR() {}
  CTxBSTR(const char* text) : _bstr_t(text) {}        // NOLINT: implicit by design
  CTxBSTR(const wchar_t* text) : _bstr_t(text) {}     // NOLINT: copies, never adopts
  CTxBSTR(const _bstr_t& other) : _bstr_t(other) {}   // NOLINT: shares the record
  CTxBSTR(const CTxBSTR& other) : _bstr_t(other) {}
  CTxBSTR(int value);
  CTxBSTR(unsigned int value);
  CTxBSTR(long value);
  CTxBSTR(unsigned long value);
  CTxBSTR(long long value);
  CTxBSTR(double value);
  virtual ~CTxBSTR() {}

  CTxBSTR& operator=(const CTxBSTR& other) { _bstr_t::operator=(other); return *this; }
  CTxBSTR& operator=(const _bstr_t& other) { _bstr_t::operator=(other); return *this; }
  CTxBSTR& operator=(const char* text) { _bstr_t::operator=(text); return *this; }
  CTxBSTR& operator=(const wchar_t* text) { _bstr_t::operator=(text); return *this; }

  // Appending checks the added lengths before it allocates (the compiler's own append
  // multiplies in 32 bits unchecked); an overflow or a failed allocation raises the COM
  // error E_OUTOFMEMORY and leaves this string as it was.
  CTxBSTR& operator+=(const _bstr_t& other);
  CTxBSTR operator+(const _bstr_t& other) const;

  // A new BSTR (owned by the caller) with the items one after the other; null when the
  // result is the null string.
  static BSTR join(const CTxBSTR* items, int count);

 private:
  void appendNarrow(const char* text);
};
