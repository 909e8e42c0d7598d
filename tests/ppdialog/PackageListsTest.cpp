// The lists of a property package as the dialog shows them: every shape of VARIANT that a
// component may hand over, sound or not.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "framework/Raii.h"
#include "ppdialog/PackageLists.h"

using ppdialog::listTexts;
using Texts = std::vector<std::string>;

namespace {

// A VARIANT owning a one-dimensional array of 'type' with the given lower bound.
void makeArray(VARIANT* v, VARTYPE type, long lower, ULONG count) {
  SAFEARRAYBOUND bound = {count, lower};
  v->vt = static_cast<VARTYPE>(VT_ARRAY | type);
  v->parray = SafeArrayCreate(type, 1, &bound);
  ASSERT_NE(nullptr, v->parray);
}

void makeStrings(VARIANT* v, const std::vector<const wchar_t*>& items, long lower = 0) {
  makeArray(v, VT_BSTR, lower, static_cast<ULONG>(items.size()));
  BSTR* data = static_cast<BSTR*>(v->parray->pvData);
  for (size_t i = 0; i < items.size(); ++i) data[i] = items[i] ? SysAllocString(items[i]) : nullptr;
}

}  // namespace

TEST(PackageLists, StringsInArrayOrderFromAnyLowerBound) {
  BoxCapture boxes;
  fw::UniqueVariant zeroBased, oneBased, negative;
  makeStrings(zeroBased.get(), {L"water", L"ethanol", L"methane"});
  makeStrings(oneBased.get(), {L"Vapor", L"Liquid", L"Liquid2", L"Solid"}, 1);
  makeStrings(negative.get(), {L"a", L"b"}, -7);
  EXPECT_EQ((Texts{"water", "ethanol", "methane"}), listTexts(*zeroBased.get()));
  EXPECT_EQ((Texts{"Vapor", "Liquid", "Liquid2", "Solid"}), listTexts(*oneBased.get()));
  EXPECT_EQ((Texts{"a", "b"}), listTexts(*negative.get()));
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, EmptyAndNullStringsKeepTheirRows) {
  BoxCapture boxes;
  fw::UniqueVariant list;
  makeStrings(list.get(), {L"7732-18-5", nullptr, L"", L"64-17-5"});
  EXPECT_EQ((Texts{"7732-18-5", "", "", "64-17-5"}), listTexts(*list.get()));
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, NothingToShowGivesNoTextsAndNoMessage) {
  BoxCapture boxes;
  fw::UniqueVariant empty, scalar, noArray, zeroLength;
  scalar.get()->vt = VT_BSTR;
  scalar.get()->bstrVal = SysAllocString(L"not a list");
  noArray.get()->vt = VT_ARRAY | VT_BSTR;
  noArray.get()->parray = nullptr;
  makeArray(zeroLength.get(), VT_BSTR, 0, 0);
  EXPECT_TRUE(listTexts(*empty.get()).empty());
  EXPECT_TRUE(listTexts(*scalar.get()).empty());
  EXPECT_TRUE(listTexts(*noArray.get()).empty());
  EXPECT_TRUE(listTexts(*zeroLength.get()).empty());
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, NumbersAndBooleansAsTheirText) {
  BoxCapture boxes;
  fw::UniqueVariant integers, doubles, booleans;
  makeArray(integers.get(), VT_I4, 0, 3);
  LONG* i4 = static_cast<LONG*>(integers.get()->parray->pvData);
  i4[0] = 1; i4[1] = -42; i4[2] = 2147483647;
  makeArray(doubles.get(), VT_R8, 1, 4);
  double* r8 = static_cast<double*>(doubles.get()->parray->pvData);
  r8[0] = 18.015; r8[1] = 0.1; r8[2] = 373.15; r8[3] = 1e300;
  makeArray(booleans.get(), VT_BOOL, 0, 3);
  VARIANT_BOOL* b = static_cast<VARIANT_BOOL*>(booleans.get()->parray->pvData);
  b[0] = VARIANT_TRUE; b[1] = VARIANT_FALSE; b[2] = 1;
  EXPECT_EQ((Texts{"1", "-42", "2147483647"}), listTexts(*integers.get()));
  EXPECT_EQ((Texts{"18.015", "0.1", "373.15", "1e+300"}), listTexts(*doubles.get()));
  EXPECT_EQ((Texts{"true", "false", "true"}), listTexts(*booleans.get()));
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, VariantElementsByTheirContent) {
  BoxCapture boxes;
  fw::UniqueVariant list;
  makeArray(list.get(), VT_VARIANT, 0, 10);
  VARIANT* items = static_cast<VARIANT*>(list.get()->parray->pvData);
  items[0].vt = VT_BSTR; items[0].bstrVal = SysAllocString(L"Vapor");
  items[1].vt = VT_I4; items[1].lVal = 7;
  items[2].vt = VT_R8; items[2].dblVal = 2.5;
  items[3].vt = VT_BOOL; items[3].boolVal = VARIANT_FALSE;
  items[4].vt = VT_I2; items[4].iVal = -3;
  items[5].vt = VT_EMPTY;
  items[6].vt = VT_DISPATCH; items[6].pdispVal = nullptr;
  items[7].vt = VT_BSTR; items[7].bstrVal = nullptr;
  items[8].vt = VT_ARRAY | VT_BSTR;  // a nested list is no text
  SAFEARRAYBOUND bound = {1, 0};
  items[8].parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  items[9].vt = VT_UI8; items[9].ullVal = 18446744073709551615ull;
  EXPECT_EQ((Texts{"Vapor", "7", "2.5", "false", "-3", "", "", "", "", "18446744073709551615"}),
            listTexts(*list.get()));
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, TheArraysOwnElementTypeDecides) {
  // A type word that claims strings over an array of numbers must not turn the numbers
  // into string pointers, nor the reverse.
  BoxCapture boxes;
  fw::UniqueVariant numbersCalledStrings, stringsCalledNumbers;
  makeArray(numbersCalledStrings.get(), VT_I4, 0, 2);
  static_cast<LONG*>(numbersCalledStrings.get()->parray->pvData)[0] = 0x1234;
  static_cast<LONG*>(numbersCalledStrings.get()->parray->pvData)[1] = 5;
  numbersCalledStrings.get()->vt = VT_ARRAY | VT_BSTR;
  makeStrings(stringsCalledNumbers.get(), {L"x", L"y"});
  stringsCalledNumbers.get()->vt = VT_ARRAY | VT_R8;
  EXPECT_EQ((Texts{"4660", "5"}), listTexts(*numbersCalledStrings.get()));
  EXPECT_EQ((Texts{"x", "y"}), listTexts(*stringsCalledNumbers.get()));
  EXPECT_EQ(0u, boxes.count());
  numbersCalledStrings.get()->vt = VT_ARRAY | VT_I4;  // so that it is freed as what it is
  stringsCalledNumbers.get()->vt = VT_ARRAY | VT_BSTR;
}

TEST(PackageLists, BlockOfTheWrongElementSizeIsNotRead) {
  // An array that says it holds strings but whose elements are 4 bytes apart.
  BoxCapture boxes;
  fw::UniqueVariant list;
  makeArray(list.get(), VT_I4, 0, 4);
  SAFEARRAY* array = list.get()->parray;
  USHORT features = array->fFeatures;
  array->fFeatures = static_cast<USHORT>((features & ~FADF_HAVEVARTYPE) | FADF_BSTR);
  list.get()->vt = VT_ARRAY | VT_BSTR;
  EXPECT_TRUE(listTexts(*list.get()).empty());
  array->fFeatures = features;
  list.get()->vt = VT_ARRAY | VT_I4;
}

TEST(PackageLists, ListByReferenceIsRead) {
  BoxCapture boxes;
  fw::UniqueVariant owner;
  makeStrings(owner.get(), {L"enthalpy", L"entropy"});
  VARIANT reference;
  reference.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
  reference.pparray = &owner.get()->parray;
  EXPECT_EQ((Texts{"enthalpy", "entropy"}), listTexts(reference));
}

TEST(PackageLists, OddShapesAndTypesAreReportedOnce) {
  BoxCapture boxes;
  fw::UniqueVariant twoDim, shorts;
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  twoDim.get()->vt = VT_ARRAY | VT_BSTR;
  twoDim.get()->parray = SafeArrayCreate(VT_BSTR, 2, bounds);
  ASSERT_NE(nullptr, twoDim.get()->parray);
  BSTR* cells = static_cast<BSTR*>(twoDim.get()->parray->pvData);
  for (int i = 0; i < 4; ++i) cells[i] = SysAllocString((L"cell" + std::to_wstring(i)).c_str());
  // Read along the first dimension, with one report for the whole list.
  EXPECT_EQ((Texts{"cell0", "cell1"}), listTexts(*twoDim.get()));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("Only 1 dimension arrays are supported"));

  boxes.clear();
  makeArray(shorts.get(), VT_I2, 0, 500);
  EXPECT_TRUE(listTexts(*shorts.get()).empty());
  ASSERT_EQ(1u, boxes.count());  // one report for the list, not one per element
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("bad VT in noCopyItemGet"));
}

TEST(PackageLists, HugeListIsReadWhole) {
  BoxCapture boxes;
  const ULONG count = 200000;
  fw::UniqueVariant list;
  makeArray(list.get(), VT_BSTR, 1, count);
  BSTR* data = static_cast<BSTR*>(list.get()->parray->pvData);
  for (ULONG i = 0; i < count; ++i) data[i] = SysAllocString(std::to_wstring(i + 1).c_str());
  // One very long string among them.
  SysFreeString(data[7]);
  data[7] = SysAllocStringLen(nullptr, 100000);
  for (int i = 0; i < 100000; ++i) data[7][i] = L'x';
  Texts texts = listTexts(*list.get());
  ASSERT_EQ(count, texts.size());
  EXPECT_EQ("1", texts.front());
  EXPECT_EQ(std::to_string(count), texts.back());
  EXPECT_EQ(100000u, texts[7].size());
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, ListBoxesGetEveryTextSortedOrNot) {
  fw::UniqueWindow plain(CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr,
                                       nullptr, nullptr));
  fw::UniqueWindow sorted(CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_SORT, 0, 0, 100, 100, nullptr,
                                        nullptr, nullptr, nullptr));
  ASSERT_TRUE(plain.get() && sorted.get());
  Texts texts;
  for (int i = 20000; i > 0; --i) texts.push_back("T" + std::to_string(i % 977) + "-" + std::to_string(i));
  texts.push_back("");
  ppdialog::fillListBox(plain.get(), texts);
  ppdialog::fillListBox(sorted.get(), texts);
  ASSERT_EQ(static_cast<LRESULT>(texts.size()), SendMessageA(plain.get(), LB_GETCOUNT, 0, 0));
  ASSERT_EQ(static_cast<LRESULT>(texts.size()), SendMessageA(sorted.get(), LB_GETCOUNT, 0, 0));
  char first[64] = "", last[64] = "";
  SendMessageA(plain.get(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(texts.front(), first);
  std::string previous;
  for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
    SendMessageA(sorted.get(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(last));
    ASSERT_LE(lstrcmpiA(previous.c_str(), last), 0) << "at " << i;
    previous = last;
  }
}
