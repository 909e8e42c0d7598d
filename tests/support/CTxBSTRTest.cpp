// CTxBSTR: null versus empty, shared records, appending, number formatting and join.
#include <gtest/gtest.h>
#include <cfloat>
#include <climits>
#include "SupportFixtures.h"

// What "%f" (or another format) writes for a value, as the independent expectation.
template <class T> static std::string printed(const char* format, T value) {
  char text[512];
  return snprintf(text, sizeof text, format, value) < int(sizeof text) ? text : "<too long>";
}
static std::string narrowOf(const CTxBSTR& text) { const char* narrow = text; return narrow ? narrow : "<null>"; }
static const wchar_t* wide(const CTxBSTR& text) { return static_cast<const wchar_t*>(text); }

TEST(CTxBSTRTest, NullEmptyCopiesAndAppending) {
  CTxBSTR none, empty("");
  EXPECT_EQ(0u, none.length()); EXPECT_EQ(nullptr, static_cast<const char*>(none)); EXPECT_EQ(nullptr, none.copy());
  EXPECT_EQ(nullptr, wide(CTxBSTR(static_cast<const char*>(nullptr))));
  EXPECT_EQ(nullptr, wide(CTxBSTR(static_cast<const wchar_t*>(nullptr))));
  EXPECT_EQ(0u, empty.length()); ASSERT_NE(nullptr, wide(empty)); EXPECT_STREQ("", static_cast<const char*>(empty));
  _bstr_t copied(empty.copy(), false);
  ASSERT_NE(nullptr, copied.GetBSTR()); EXPECT_EQ(0u, SysStringLen(copied));
  // Narrow text is UTF-8: every script survives the round trip, and a lone surrogate becomes U+FFFD.
  const char narrowText[] = "café ポンプ Насос 𝄞";
  const wchar_t wideText[] = L"caf\u00E9 \u30DD\u30F3\u30D7 \u041D\u0430\u0441\u043E\u0441 \U0001D11E";
  EXPECT_STREQ(wideText, wide(CTxBSTR(narrowText)));
  EXPECT_STREQ(narrowText, static_cast<const char*>(CTxBSTR(wideText)));
  EXPECT_STREQ("a\xEF\xBF\xBD" "b", static_cast<const char*>(CTxBSTR(L"a\xDC00" L"b")));
  // A wide text is copied, never adopted.
  BSTR mine = SysAllocString(L"caller's own");
  CTxBSTR adopted(static_cast<const wchar_t*>(mine));
  EXPECT_NE(wide(adopted), mine);
  SysFreeString(mine);
  EXPECT_EQ("caller's own", narrowOf(adopted));
  // Copies share the record; appending makes a new one, and the narrow view follows.
  CTxBSTR first("abc"), second(first), assigned;
  const wchar_t* before = wide(first);
  const char* narrow = static_cast<const char*>(second);
  EXPECT_EQ(before, wide(second)); EXPECT_EQ(narrow, static_cast<const char*>(second));
  second += CTxBSTR("def");
  assigned = first;
  assigned += CTxBSTR(L"!");
  EXPECT_EQ("abc", narrowOf(first)); EXPECT_EQ(before, wide(first)); EXPECT_EQ("abcdef", narrowOf(second));
  EXPECT_EQ(6u, second.length()); EXPECT_EQ("abc!", narrowOf(assigned));
  EXPECT_EQ("abcx", narrowOf(first + CTxBSTR("x")));
  // A string that claims the largest length a BSTR can have, two bytes short of 4 GB: appending one
  // character more raises E_OUTOFMEMORY and keeps the string.
  struct { DWORD bytes; wchar_t text[4]; } fake = {0xFFFFFFFEu, {L'a', L'b', 0, 0}};
  CTxBSTR huge;
  huge.Attach(fake.text);
  ASSERT_EQ(0x7FFFFFFFu, huge.length());
  HRESULT raised = S_OK;
  try { huge += CTxBSTR(L"x"); } catch (const _com_error& error) { raised = error.Error(); }
  EXPECT_EQ(E_OUTOFMEMORY, raised); EXPECT_EQ(fake.text, wide(huge)); EXPECT_EQ(fake.text, huge.Detach());
}

TEST(CTxBSTRTest, NumbersPrintAsTheFormatsWould) {
  const std::pair<CTxBSTR, std::string> rows[] = {
      {CTxBSTR(0xFFFFFFFFu), "-1"}, {CTxBSTR(0xFFFFFFFFul), "-1"}, {CTxBSTR(-1), "-1"},  // 32 bits print signed
      {CTxBSTR(-1L), "-1"}, {CTxBSTR(0), "0"}, {CTxBSTR(INT_MIN), printed("%d", INT_MIN)},
      {CTxBSTR(static_cast<unsigned int>(INT_MAX)), printed("%d", INT_MAX)},
      {CTxBSTR((1LL << 53) + 1), printed("%lld", (1LL << 53) + 1)}, {CTxBSTR(LLONG_MIN), printed("%lld", LLONG_MIN)},
      {CTxBSTR(0.5), "0.500000"}, {CTxBSTR(-2.25), "-2.250000"}, {CTxBSTR(1e300), printed("%f", 1e300)},
      {CTxBSTR(DBL_MAX), printed("%f", DBL_MAX)}};  // fixed notation in full
  for (const auto& row : rows) EXPECT_EQ(row.second, narrowOf(row.first));
  EXPECT_EQ(16u, rows[7].first.length()); EXPECT_EQ(309u + 7u, rows[12].first.length());
}

TEST(CTxBSTRTest, JoinAppendsInOrderPassingOverNulls) {
  CTxBSTR items[] = {CTxBSTR("a"), CTxBSTR(), CTxBSTR("b")}, nulls[] = {CTxBSTR(), CTxBSTR()};
  _bstr_t joined(CTxBSTR::join(items, 3), false);
  ASSERT_NE(nullptr, joined.GetBSTR()); EXPECT_STREQ(L"ab", joined.GetBSTR()); EXPECT_EQ(2u, SysStringLen(joined));
  EXPECT_NE(wide(items[0]), joined.GetBSTR()); EXPECT_EQ("a", narrowOf(items[0]));
  for (BSTR none : {CTxBSTR::join(items, 0), CTxBSTR::join(nullptr, 2), CTxBSTR::join(nulls, 2),
                    CTxBSTR::join(nulls, 1)})
    EXPECT_EQ(nullptr, _bstr_t(none, false).GetBSTR());
  CTxBSTR empties[] = {CTxBSTR(), CTxBSTR("")};
  _bstr_t empty(CTxBSTR::join(empties, 2), false);
  ASSERT_NE(nullptr, empty.GetBSTR()); EXPECT_EQ(0u, SysStringLen(empty));
  // An embedded zero keeps the length.
  CTxBSTR pair[] = {CTxBSTR(_bstr_t(SysAllocStringLen(L"a\0b", 3), false)), CTxBSTR("c")};
  _bstr_t zeroJoined(CTxBSTR::join(pair, 2), false);
  ASSERT_EQ(3u, pair[0].length()); ASSERT_EQ(4u, SysStringLen(zeroJoined)); EXPECT_EQ(L'c', zeroJoined.GetBSTR()[3]);
}
