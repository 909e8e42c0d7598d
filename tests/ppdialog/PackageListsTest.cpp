// The lists of a property package as the dialog shows them: every shape of VARIANT that a
// component may hand over, sound or not.
#include <climits>
#include "framework/Raii.h"
#include "ppdialog/PackageDialog.h"
#include "ppdialog/PackageLists.h"

using namespace ppt;
using ppdialog::listTexts;
using Make = std::function<void(VARIANT*)>;

namespace {

template <class T>
Make values(VARTYPE type, std::vector<T> items, long lower = 0) {
  return [=](VARIANT* v) { std::copy(items.begin(), items.end(), makeArray<T>(v, type, items.size(), lower)); };
}

Make strings(std::vector<const wchar_t*> items, long lower = 0) {
  return [=](VARIANT* v) { makeStrings(v, items, lower); };
}

// 'make' with the type word 'vt' instead of the array's own.
Make calledAs(Make make, VARTYPE vt) {
  return [=](VARIANT* v) { make(v), v->vt = vt; };
}

}  // namespace

TEST(PackageLists, EveryShapeAndElementTypeAsTexts) {
  fw::UniqueVariant owner;  // the array that the list by reference points to
  makeStrings(owner.get(), {L"enthalpy", L"entropy"});
  auto variants = [](VARIANT* v) {
    VARIANT* items = makeArray<VARIANT>(v, VT_VARIANT, 10);
    items[0].vt = VT_BSTR, items[0].bstrVal = SysAllocString(L"Vapor");
    items[1].vt = VT_I4, items[1].lVal = 7;
    items[2].vt = VT_R8, items[2].dblVal = 2.5;
    items[3].vt = VT_BOOL, items[3].boolVal = VARIANT_FALSE;
    items[4].vt = VT_I2, items[4].iVal = -3;
    items[6].vt = VT_DISPATCH;            // null; [5] is empty
    items[7].vt = VT_BSTR;                // null
    makeStrings(&items[8], {L"nested"});  // a nested list is no text
    items[9].vt = VT_UI8, items[9].ullVal = 18446744073709551615ull;
  };
  auto misaligned = [](VARIANT* v) {  // said to hold strings, 4 bytes apart
    makeArray<LONG>(v, VT_I4, 4);
    v->parray->fFeatures = static_cast<USHORT>((v->parray->fFeatures & ~FADF_HAVEVARTYPE) | FADF_BSTR);
    v->vt = VT_ARRAY | VT_BSTR;
  };
  auto i4 = [](VARIANT* v) {  // the array as what it is, to be freed
    v->parray->fFeatures = static_cast<USHORT>((v->parray->fFeatures & ~FADF_BSTR) | FADF_HAVEVARTYPE);
    v->vt = VT_ARRAY | VT_I4;
  };
  const struct {
    const char* name;
    Make make;
    Texts texts;
    const char* box;  // the one report for the whole list, or none
    Make restore;     // makes a row that lies about its array fit to be freed
  } rows[] = {
      {"from 0", strings({L"water", L"ethanol", L"methane"}), {"water", "ethanol", "methane"}},
      {"from 1", strings({L"Vapor", L"Liquid", L"Liquid2", L"Solid"}, 1), {"Vapor", "Liquid", "Liquid2", "Solid"}},
      {"from -7", strings({L"a", L"b"}, -7), {"a", "b"}},
      // Both ends of the index range: only what a LONG index can reach is read.
      {"none from LONG_MIN", strings({}, LONG_MIN), {}}, {"from LONG_MIN", strings({L"a", L"b"}, LONG_MIN), {"a", "b"}},
      {"to LONG_MAX", strings({L"x", L"y", L"z"}, LONG_MAX - 2), {"x", "y", "z"}},
      {"past LONG_MAX", strings({L"x", L"y", L"z"}, LONG_MAX - 1), {"x", "y"}},
      {"empty and null rows", strings({L"7732-18-5", nullptr, L"", L"64-17-5"}), {"7732-18-5", "", "", "64-17-5"}},
      {"empty", [](VARIANT*) {}, {}},
      {"scalar", [](VARIANT* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocString(L"not a list"); }, {}},
      {"no array", [](VARIANT* v) { v->vt = VT_ARRAY | VT_BSTR, v->parray = nullptr; }, {}},
      {"no elements", strings({}), {}},
      {"integers", values<LONG>(VT_I4, {1, -42, 2147483647}), {"1", "-42", "2147483647"}},
      {"doubles", values<double>(VT_R8, {18.015, 0.1, 373.15, 1e300}, 1), {"18.015", "0.1", "373.15", "1e+300"}},
      {"booleans", values<VARIANT_BOOL>(VT_BOOL, {VARIANT_TRUE, VARIANT_FALSE, 1}), {"true", "false", "true"}},
      {"variants", variants, {"Vapor", "7", "2.5", "false", "-3", "", "", "", "", "18446744073709551615"}},
      {"shorts: one report, not one per element", values<SHORT>(VT_I2, std::vector<SHORT>(500)), {},
       "bad VT in noCopyItemGet"},
      // The array's own element type decides, not a type word that claims otherwise.
      {"numbers called strings", calledAs(values<LONG>(VT_I4, {0x1234, 5}), VT_ARRAY | VT_BSTR), {"4660", "5"},
       nullptr, i4},
      {"strings called numbers", calledAs(strings({L"x", L"y"}), VT_ARRAY | VT_R8), {"x", "y"}, nullptr,
       [](VARIANT* v) { v->vt = VT_ARRAY | VT_BSTR; }},
      {"strings of the wrong size", misaligned, {}, nullptr, i4},
      {"by reference", [&](VARIANT* v) { v->vt = VT_BYREF | VT_ARRAY | VT_BSTR, v->pparray = &owner.get()->parray; },
       {"enthalpy", "entropy"}, nullptr, [](VARIANT* v) { VariantInit(v); }},
  };
  for (const auto& row : rows) {
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
  for (ULONG i = 0; i < count; ++i)
    data[i] = SysAllocString((i == 7 ? std::wstring(100000, L'x') : std::to_wstring(i + 1)).c_str());
  Texts texts = listTexts(*list.get());
  ASSERT_EQ(count, texts.size());
  EXPECT_EQ("1", texts.front());
  EXPECT_EQ(std::to_string(count), texts.back());
  EXPECT_EQ(100000u, texts[7].size());  // one very long string among them
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
