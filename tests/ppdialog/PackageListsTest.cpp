// The lists of a property package as the dialog shows them: every shape of VARIANT that a
// component may hand over, sound or not.
#include "framework/Raii.h"
#include "ppdialog/PackageDialog.h"
#include "ppdialog/PackageLists.h"

using namespace ppt;
using ppdialog::listTexts;

TEST(PackageLists, EveryShapeAndElementTypeAsTexts) {
  fw::UniqueVariant owner;  // the array that the list by reference points to
  makeStrings(owner.get(), {L"enthalpy", L"entropy"});
  const struct Row {
    const char* name;
    std::function<void(VARIANT*)> make;
    Texts texts;
    const char* box;          // the one report for the list, or none
    std::function<void(VARIANT*)> restore;  // makes a row that lies about its array fit to be freed
  } rows[] = {
      {"from 0", [](VARIANT* v) { makeStrings(v, {L"water", L"ethanol", L"methane"}); },
       {"water", "ethanol", "methane"}, nullptr},
      {"from 1", [](VARIANT* v) { makeStrings(v, {L"Vapor", L"Liquid", L"Liquid2", L"Solid"}, 1); },
       {"Vapor", "Liquid", "Liquid2", "Solid"}, nullptr},
      {"from -7", [](VARIANT* v) { makeStrings(v, {L"a", L"b"}, -7); }, {"a", "b"}, nullptr},
      {"empty and null strings keep their rows",
       [](VARIANT* v) { makeStrings(v, {L"7732-18-5", nullptr, L"", L"64-17-5"}); }, {"7732-18-5", "", "", "64-17-5"},
       nullptr},
      {"empty", [](VARIANT*) {}, {}, nullptr},
      {"scalar", [](VARIANT* v) { v->vt = VT_BSTR; v->bstrVal = SysAllocString(L"not a list"); }, {}, nullptr},
      {"no array", [](VARIANT* v) { v->vt = VT_ARRAY | VT_BSTR; v->parray = nullptr; }, {}, nullptr},
      {"no elements", [](VARIANT* v) { makeArray(v, VT_BSTR, 0); }, {}, nullptr},
      {"integers",
       [](VARIANT* v) {
         LONG* i4 = makeArray<LONG>(v, VT_I4, 3);
         i4[0] = 1, i4[1] = -42, i4[2] = 2147483647;
       },
       {"1", "-42", "2147483647"}, nullptr},
      {"doubles",
       [](VARIANT* v) {
         double* r8 = makeArray<double>(v, VT_R8, 4, 1);
         r8[0] = 18.015, r8[1] = 0.1, r8[2] = 373.15, r8[3] = 1e300;
       },
       {"18.015", "0.1", "373.15", "1e+300"}, nullptr},
      {"booleans",
       [](VARIANT* v) {
         VARIANT_BOOL* b = makeArray<VARIANT_BOOL>(v, VT_BOOL, 3);
         b[0] = VARIANT_TRUE, b[1] = VARIANT_FALSE, b[2] = 1;
       },
       {"true", "false", "true"}, nullptr},
      {"variants by their content",
       [](VARIANT* v) {
         VARIANT* items = makeArray<VARIANT>(v, VT_VARIANT, 10);
         items[0].vt = VT_BSTR, items[0].bstrVal = SysAllocString(L"Vapor");
         items[1].vt = VT_I4, items[1].lVal = 7;
         items[2].vt = VT_R8, items[2].dblVal = 2.5;
         items[3].vt = VT_BOOL, items[3].boolVal = VARIANT_FALSE;
         items[4].vt = VT_I2, items[4].iVal = -3;
         items[6].vt = VT_DISPATCH;                  // null; [5] is empty
         items[7].vt = VT_BSTR;                      // null
         makeStrings(&items[8], {L"nested"});        // a nested list is no text
         items[9].vt = VT_UI8, items[9].ullVal = 18446744073709551615ull;
       },
       {"Vapor", "7", "2.5", "false", "-3", "", "", "", "", "18446744073709551615"}, nullptr},
      // The array's own element type decides, not a type word that claims otherwise.
      {"numbers called strings",
       [](VARIANT* v) {
         LONG* i4 = makeArray<LONG>(v, VT_I4, 2);
         i4[0] = 0x1234, i4[1] = 5;
         v->vt = VT_ARRAY | VT_BSTR;
       },
       {"4660", "5"}, nullptr, [](VARIANT* v) { v->vt = VT_ARRAY | VT_I4; }},
      {"strings called numbers",
       [](VARIANT* v) {
         makeStrings(v, {L"x", L"y"});
         v->vt = VT_ARRAY | VT_R8;
       },
       {"x", "y"}, nullptr, [](VARIANT* v) { v->vt = VT_ARRAY | VT_BSTR; }},
      {"strings 4 bytes apart",
       [](VARIANT* v) {
         makeArray<LONG>(v, VT_I4, 4);
         v->parray->fFeatures = static_cast<USHORT>((v->parray->fFeatures & ~FADF_HAVEVARTYPE) | FADF_BSTR);
         v->vt = VT_ARRAY | VT_BSTR;
       },
       {}, nullptr,
       [](VARIANT* v) {
         v->parray->fFeatures = static_cast<USHORT>((v->parray->fFeatures & ~FADF_BSTR) | FADF_HAVEVARTYPE);
         v->vt = VT_ARRAY | VT_I4;
       }},
      {"by reference",
       [&](VARIANT* v) {
         v->vt = VT_BYREF | VT_ARRAY | VT_BSTR;
         v->pparray = &owner.get()->parray;
       },
       {"enthalpy", "entropy"}, nullptr, [](VARIANT* v) { VariantInit(v); }},
      {"shorts: one report, not one per element", [](VARIANT* v) { makeArray<SHORT>(v, VT_I2, 500); }, {},
       "bad VT in noCopyItemGet"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    BoxCapture boxes;
    fw::UniqueVariant list;
    row.make(list.get());
    EXPECT_EQ(row.texts, listTexts(*list.get()));
    ASSERT_EQ(row.box ? 1u : 0u, boxes.count());
    EXPECT_TRUE(!row.box || boxes.anyContains(row.box));
    if (row.restore) row.restore(list.get());
  }
}

TEST(PackageLists, HugeListIsReadWhole) {
  BoxCapture boxes;
  const ULONG count = 200000;
  fw::UniqueVariant list;
  BSTR* data = makeArray(list.get(), VT_BSTR, count, 1);
  for (ULONG i = 0; i < count; ++i) data[i] = SysAllocString(std::to_wstring(i + 1).c_str());
  SysFreeString(data[7]);
  data[7] = SysAllocString(std::wstring(100000, L'x').c_str());  // one very long string among them
  Texts texts = listTexts(*list.get());
  ASSERT_EQ(count, texts.size());
  EXPECT_EQ("1", texts.front());
  EXPECT_EQ(std::to_string(count), texts.back());
  EXPECT_EQ(100000u, texts[7].size());
  EXPECT_EQ(0u, boxes.count());
}

TEST(PackageLists, ListBoxesGetEveryTextSortedOrNot) {
  Texts texts;
  for (int i = 20000; i > 0; --i) texts.push_back("T" + std::to_string(i % 977) + "-" + std::to_string(i));
  texts.push_back("");
  for (DWORD sort : {0L, LBS_SORT}) {
    fw::UniqueWindow box(CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | sort, 0, 0, 100, 100, nullptr,
                                       nullptr, nullptr, nullptr));
    ASSERT_TRUE(box.get());
    ppdialog::fillListBox(box.get(), texts);
    ASSERT_EQ(static_cast<LRESULT>(texts.size()), SendMessageA(box.get(), LB_GETCOUNT, 0, 0));
    char text[64] = "";
    SendMessageA(box.get(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_TRUE(sort || texts.front() == text);
    for (int i = 1; sort && i < static_cast<int>(texts.size()); ++i) {
      std::string previous = text;
      SendMessageA(box.get(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      ASSERT_LE(lstrcmpiA(previous.c_str(), text), 0) << "at " << i;
    }
  }
}
