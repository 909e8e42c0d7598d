// CTxBSTR: null versus empty, shared records, number formatting and join.
#include <gtest/gtest.h>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>
#include "support/CTxBSTR.h"

namespace {

// What "%f" (or another format) writes for a value, as the independent expectation.
template <class T>
std::string printed(const char* format, T value) {
  int needed = snprintf(nullptr, 0, format, value);
  std::vector<char> text(static_cast<size_t>(needed) + 1);
  snprintf(text.data(), text.size(), format, value);
  return text.data();
}

std::string narrowOf(const CTxBSTR& text) {
  const char* narrow = static_cast<const char*>(text);
  return narrow ? narrow : "<null>";
}

// Frees a BSTR that join handed out.
struct OwnedBstr {
  explicit OwnedBstr(BSTR value) : b(value) {}
  ~OwnedBstr() { SysFreeString(b); }
  BSTR b;
};

}  // namespace

TEST(CTxBSTRTest, DefaultStringIsNullAndEmptyTextIsNot) {
  CTxBSTR none;
  EXPECT_EQ(0u, none.length());
  EXPECT_EQ(nullptr, static_cast<const char*>(none));
  EXPECT_EQ(nullptr, static_cast<const wchar_t*>(none));
  EXPECT_EQ(nullptr, none.copy());
  OwnedBstr joined(CTxBSTR::join(&none, 1));
  EXPECT_EQ(nullptr, joined.b);

  CTxBSTR empty("");
  EXPECT_EQ(0u, empty.length());
  ASSERT_NE(nullptr, static_cast<const wchar_t*>(empty));
  ASSERT_NE(nullptr, static_cast<const char*>(empty));
  EXPECT_STREQ("", static_cast<const char*>(empty));
  OwnedBstr copied(empty.copy());
  ASSERT_NE(nullptr, copied.b);
  EXPECT_EQ(0u, SysStringLen(copied.b));

  CTxBSTR nullNarrow(static_cast<const char*>(nullptr));
  CTxBSTR nullWide(static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(nullptr, static_cast<const wchar_t*>(nullNarrow));
  EXPECT_EQ(nullptr, static_cast<const wchar_t*>(nullWide));
}

TEST(CTxBSTRTest, WideConstructionCopiesAndNeverAdopts) {
  BSTR mine = SysAllocString(L"caller's own");
  CTxBSTR text(static_cast<const wchar_t*>(mine));
  EXPECT_NE(static_cast<const wchar_t*>(text), static_cast<const wchar_t*>(mine));
  SysFreeString(mine);  // the string must not depend on the caller's BSTR
  EXPECT_EQ("caller's own", narrowOf(text));
}

TEST(CTxBSTRTest, AppendingToACopyLeavesTheOriginalAlone) {
  CTxBSTR first("abc");
  const wchar_t* before = static_cast<const wchar_t*>(first);
  CTxBSTR second(first);
  EXPECT_EQ(before, static_cast<const wchar_t*>(second));  // copies share the record
  second += CTxBSTR("def");
  EXPECT_EQ("abc", narrowOf(first));
  EXPECT_EQ(before, static_cast<const wchar_t*>(first));
  EXPECT_EQ("abcdef", narrowOf(second));

  CTxBSTR assigned;
  assigned = first;
  assigned += CTxBSTR(L"!");
  EXPECT_EQ("abc", narrowOf(first));
  EXPECT_EQ("abc!", narrowOf(assigned));

  CTxBSTR sum = first + CTxBSTR("x");
  EXPECT_EQ("abcx", narrowOf(sum));
  EXPECT_EQ("abc", narrowOf(first));
}

TEST(CTxBSTRTest, AppendingPastTheLargestStringRaisesOutOfMemoryAndKeepsTheString) {
  // A string that claims the largest length a BSTR can have: two bytes short of 4 GB.
  struct {
    DWORD bytes;
    wchar_t text[4];
  } fake = {0xFFFFFFFEu, {L'a', L'b', 0, 0}};
  CTxBSTR huge;
  huge.Attach(fake.text);
  ASSERT_EQ(0x7FFFFFFFu, huge.length());
  HRESULT raised = S_OK;
  try {
    huge += CTxBSTR(L"xy");
  } catch (const _com_error& error) {
    raised = error.Error();
  }
  EXPECT_EQ(E_OUTOFMEMORY, raised);
  EXPECT_EQ(fake.text, static_cast<const wchar_t*>(huge));
  EXPECT_EQ(fake.text, huge.Detach());
}

TEST(CTxBSTRTest, NarrowViewIsCachedAndFollowsAppending) {
  CTxBSTR text("one");
  const char* narrow = static_cast<const char*>(text);
  EXPECT_EQ(narrow, static_cast<const char*>(text));
  text += CTxBSTR("two");
  EXPECT_EQ("onetwo", narrowOf(text));
  EXPECT_EQ(6u, text.length());
}

TEST(CTxBSTRTest, ThirtyTwoBitIntegersPrintSigned) {
  EXPECT_EQ("-1", narrowOf(CTxBSTR(static_cast<unsigned int>(0xFFFFFFFFu))));
  EXPECT_EQ("-1", narrowOf(CTxBSTR(static_cast<unsigned long>(0xFFFFFFFFul))));
  EXPECT_EQ("-1", narrowOf(CTxBSTR(-1)));
  EXPECT_EQ("-1", narrowOf(CTxBSTR(-1L)));
  EXPECT_EQ(printed("%d", INT_MIN), narrowOf(CTxBSTR(INT_MIN)));
  EXPECT_EQ(printed("%d", INT_MAX), narrowOf(CTxBSTR(static_cast<unsigned int>(INT_MAX))));
  EXPECT_EQ("0", narrowOf(CTxBSTR(0)));
}

TEST(CTxBSTRTest, LongLongKeepsEveryDigit) {
  const long long big = (1LL << 53) + 1;
  CTxBSTR text(big);
  EXPECT_EQ(printed("%lld", big), narrowOf(text));
  EXPECT_EQ(16u, text.length());
  EXPECT_EQ(printed("%lld", LLONG_MIN), narrowOf(CTxBSTR(LLONG_MIN)));
}

TEST(CTxBSTRTest, DoublePrintsFixedNotationInFull) {
  EXPECT_EQ("0.500000", narrowOf(CTxBSTR(0.5)));
  EXPECT_EQ("-2.250000", narrowOf(CTxBSTR(-2.25)));

  CTxBSTR huge(1e300);
  std::string text = narrowOf(huge);
  EXPECT_EQ(printed("%f", 1e300), text);
  size_t point = text.find('.');
  ASSERT_NE(std::string::npos, point);
  EXPECT_EQ(301u, point);
  EXPECT_EQ(".000000", text.substr(point));

  std::string largest = narrowOf(CTxBSTR(DBL_MAX));
  EXPECT_EQ(printed("%f", DBL_MAX), largest);
  EXPECT_EQ(309u + 7u, largest.size());
}

TEST(CTxBSTRTest, JoinAppendsInOrderPassingOverNulls) {
  CTxBSTR items[] = {CTxBSTR("a"), CTxBSTR(), CTxBSTR("b")};
  OwnedBstr joined(CTxBSTR::join(items, 3));
  ASSERT_NE(nullptr, joined.b);
  EXPECT_STREQ(L"ab", joined.b);
  EXPECT_EQ(2u, SysStringLen(joined.b));
  // The result is the caller's own: the items are untouched.
  EXPECT_NE(static_cast<const wchar_t*>(items[0]), joined.b);
  EXPECT_EQ("a", narrowOf(items[0]));

  OwnedBstr none(CTxBSTR::join(items, 0));
  EXPECT_EQ(nullptr, none.b);
  OwnedBstr nullList(CTxBSTR::join(nullptr, 2));
  EXPECT_EQ(nullptr, nullList.b);
  CTxBSTR nulls[] = {CTxBSTR(), CTxBSTR()};
  OwnedBstr allNull(CTxBSTR::join(nulls, 2));
  EXPECT_EQ(nullptr, allNull.b);

  CTxBSTR empties[] = {CTxBSTR(), CTxBSTR("")};
  OwnedBstr empty(CTxBSTR::join(empties, 2));
  ASSERT_NE(nullptr, empty.b);
  EXPECT_EQ(0u, SysStringLen(empty.b));
}

TEST(CTxBSTRTest, NarrowTextUsesTheAnsiCodePage) {
  // A character of the ANSI code page beyond ASCII survives the round trip.
  const char ansi[] = {'c', 'a', 'f', static_cast<char>(0xE9), '\0'};
  wchar_t expected[8] = L"";
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, expected, 8);
  CTxBSTR text(ansi);
  EXPECT_STREQ(expected, static_cast<const wchar_t*>(text));
  CTxBSTR back(static_cast<const wchar_t*>(expected));
  EXPECT_STREQ(ansi, static_cast<const char*>(back));
}

TEST(CTxBSTRTest, EmbeddedZeroKeepsTheLength) {
  BSTR withZero = SysAllocStringLen(L"a\0b", 3);
  _bstr_t wrapped(withZero, true);
  CTxBSTR text(wrapped);
  EXPECT_EQ(3u, text.length());
  SysFreeString(withZero);
  CTxBSTR items[] = {text, CTxBSTR("c")};
  OwnedBstr joined(CTxBSTR::join(items, 2));
  ASSERT_NE(nullptr, joined.b);
  EXPECT_EQ(4u, SysStringLen(joined.b));
  EXPECT_EQ(L'c', joined.b[3]);
}
