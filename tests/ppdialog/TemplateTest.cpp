// Dialog template 203 as the product's DLL carries it: every control's ID, kind, text,
// position and style.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "common/TestSupport.h"
#include "ppdialog/COTHConfigIds.h"

namespace {

struct Item {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  std::wstring className;
  std::wstring text;
};

struct Template {
  DWORD style = 0;
  short cx = 0, cy = 0;
  std::wstring caption;
  WORD pointSize = 0;
  std::wstring font;
  std::vector<Item> items;
};

// Reads a DLGTEMPLATEEX.
class Reader {
 public:
  Reader(const BYTE* data, size_t size) : p_(data), end_(data + size) {}
  template <class T>
  T read() {
    T value{};
    if (p_ + sizeof(T) <= end_) memcpy(&value, p_, sizeof(T));
    p_ += sizeof(T);
    return value;
  }
  // sz_Or_Ord; a standard control class ordinal gives its name.
  std::wstring nameOrOrdinal() {
    WORD first = read<WORD>();
    if (first == 0) return std::wstring();
    if (first == 0xFFFF) {
      static const wchar_t* const classes[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
      WORD ordinal = read<WORD>();
      if (ordinal >= 0x80 && ordinal <= 0x85) return classes[ordinal - 0x80];
      return L"#" + std::to_wstring(ordinal);
    }
    std::wstring text(1, static_cast<wchar_t>(first));
    for (WORD c; (c = read<WORD>()) != 0 && p_ <= end_;) text += static_cast<wchar_t>(c);
    return text;
  }
  void alignDword(const BYTE* base) {
    size_t offset = static_cast<size_t>(p_ - base);
    p_ = base + ((offset + 3) & ~size_t(3));
  }
  bool ok() const { return p_ <= end_; }

 private:
  const BYTE* p_;
  const BYTE* end_;
};

bool loadTemplate(Template& t) {
  HMODULE module = LoadLibraryExA(tx::productDll().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  bool ok = false;
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(203), reinterpret_cast<LPCSTR>(RT_DIALOG));
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const BYTE* base = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (base) {
    Reader r(base, SizeofResource(module, resource));
    WORD version = r.read<WORD>(), signature = r.read<WORD>();
    r.read<DWORD>();  // help ID
    r.read<DWORD>();  // extended style
    t.style = r.read<DWORD>();
    WORD count = r.read<WORD>();
    r.read<short>();
    r.read<short>();
    t.cx = r.read<short>();
    t.cy = r.read<short>();
    r.nameOrOrdinal();  // menu
    r.nameOrOrdinal();  // class
    t.caption = r.nameOrOrdinal();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
      t.pointSize = r.read<WORD>();
      r.read<WORD>();
      r.read<BYTE>();
      r.read<BYTE>();
      t.font = r.nameOrOrdinal();
    }
    for (WORD i = 0; i < count; ++i) {
      r.alignDword(base);
      Item item;
      r.read<DWORD>();
      r.read<DWORD>();
      item.style = r.read<DWORD>();
      item.x = r.read<short>();
      item.y = r.read<short>();
      item.cx = r.read<short>();
      item.cy = r.read<short>();
      item.id = r.read<DWORD>();
      item.className = r.nameOrOrdinal();
      item.text = r.nameOrOrdinal();
      WORD extra = r.read<WORD>();
      for (WORD b = 0; b < extra; ++b) r.read<BYTE>();
      t.items.push_back(item);
    }
    ok = version == 1 && signature == 0xFFFF && r.ok();
  }
  FreeLibrary(module);
  return ok;
}

enum Kind { kTab, kPush, kEdit, kStatic, kCheck, kGroup, kList };

struct Expected {
  int id;
  Kind kind;
  const wchar_t* text;  // null: not compared
  short x, y, cx, cy;
  DWORD required;   // style bits beyond those of the kind
  DWORD forbidden;  // style bits that must be absent
};

const DWORD kListStyle = WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_TABSTOP;

const Expected kControls[] = {
    {IDC_PP_TABS, kTab, nullptr, 7, 0, 505, 263, TCS_BOTTOM, WS_TABSTOP},
    {IDC_PP_OK, kPush, L"&OK", 451, 265, 61, 14, 0, 0},
    {IDC_IMPORT_REPORT, kEdit, nullptr, 23, 110, 482, 133,
     ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | ES_AUTOVSCROLL, WS_DISABLED},
    {IDC_SYSTEM_NAME, kEdit, nullptr, 88, 21, 418, 15, WS_DISABLED | WS_BORDER | ES_AUTOHSCROLL, ES_READONLY},
    {IDC_LABEL_SYSTEM, kStatic, L"Property System", 15, 22, 67, 13, 0, 0},
    {IDC_LABEL_PACKAGE, kStatic, L"Property Package", 15, 40, 67, 13, 0, 0},
    {IDC_PACKAGE_NAME, kEdit, nullptr, 88, 37, 418, 15, WS_DISABLED | WS_BORDER | ES_AUTOHSCROLL, ES_READONLY},
    {IDC_LABEL_REPORT, kStatic, L"Import Report", 22, 96, 62, 11, 0, 0},
    {IDC_BROWSE_STATIC, kPush, L"Browse Static Information", 21, 65, 108, 18, 0, 0},
    {IDC_CUSTOM_VIEW, kPush, L"Custom &View", 410, 66, 95, 17, 0, 0},
    {IDC_TREAT_AS_HYPOS, kCheck, L"Treat all components as Hypothetical (user defined)", 15, 224, 214, 10, 0, 0},
    {IDC_ALLOW_SUBSETS, kCheck, L"Allow subsets and sorting of the supported compounds (supported by most packages)",
     15, 205, 341, 12, BS_MULTILINE, 0},
    {IDC_FREE_COMPOUNDS, kCheck,
     L"Free compound selection. User must manually select the compounds to be used (be aware that most packages "
     L"will only support a particular list of compounds)",
     15, 178, 341, 20, BS_MULTILINE | WS_DISABLED, WS_VISIBLE},
    {IDC_COMPIDS, kList, nullptr, 15, 19, 128, 154, kListStyle, LBS_SORT},
    {IDC_CASNOS, kList, nullptr, 150, 19, 128, 154, kListStyle, LBS_SORT},
    {IDC_LABEL_COMPIDS, kStatic, L"CompIds (package names)", 15, 7, 125, 10, 0, 0},
    {IDC_LABEL_CASNOS, kStatic, L"CASNumbers (from package)", 150, 7, 116, 9, 0, 0},
    {IDC_PROPERTIES, kList, nullptr, 15, 19, 210, 225, kListStyle, LBS_SORT},
    {IDC_LABEL_PROPERTIES, kStatic, L"Supported Properties", 15, 7, 126, 8, 0, 0},
    {IDC_PHASES, kList, nullptr, 250, 19, 103, 225, kListStyle, LBS_SORT},
    {IDC_LABEL_PHASES, kStatic, L"Supported Phases", 250, 7, 116, 9, 0, 0},
    {IDC_LABEL_FLASH_TYPES, kStatic, L"Supported Flash types", 380, 7, 109, 9, 0, 0},
    {IDC_FLASH_TYPES, kList, nullptr, 380, 19, 120, 186, kListStyle | LBS_SORT, 0},
    {IDC_REQUEST_LIQUID2, kCheck, L"Request VLL flash to Brisk Properties", 369, 222, 135, 10, 0, 0},
    {IDC_ORDER_PHASES, kCheck, L"Perform Order Phases after flash", 369, 238, 134, 9, 0, 0},
    {IDC_VERSION_GROUP, kGroup, L"Version Info", 23, 73, 286, 51, 0, 0},
    {IDC_LABEL_SOCKET, kStatic, L"CAPE-OPEN Calorix Socket", 30, 90, 116, 14, 0, 0},
    {IDC_SOCKET_VERSION, kEdit, nullptr, 170, 87, 126, 12, ES_READONLY | WS_BORDER | ES_AUTOHSCROLL, WS_DISABLED},
    {IDC_LABEL_STANDARD, kStatic, L"CAPE-OPEN Standard", 30, 105, 116, 11, 0, 0},
    {IDC_STANDARD_VERSION, kStatic, L"1.0", 170, 102, 126, 11, SS_SUNKEN, 0},
    {IDC_SUPPORT_TEXT, kStatic, nullptr, 22, 140, 301, 24, 0, 0},
    {IDC_RECOV_GROUP, kGroup, L"Treatment for recoverable errors", 20, 175, 136, 67, 0, 0},
    {IDC_RECOV_TRACE, kCheck, L"Trace them in simulator", 30, 190, 99, 12, 0, 0},
    {IDC_RECOV_LOG, kCheck, L"Log them directly to a .trc file", 30, 205, 117, 12, 0, 0},
    {IDC_RECOV_POPUP, kCheck, L"Pop up an error message", 30, 220, 94, 12, 0, 0},
    {IDC_CRIT_GROUP, kGroup, L"Treatment for Critical Calculation errors", 170, 175, 136, 67, 0, 0},
    {IDC_CRIT_TRACE, kCheck, L"Trace them in simulator", 180, 190, 99, 12, 0, 0},
    {IDC_CRIT_LOG, kCheck, L"Log them to a COCalx.trc file", 180, 205, 117, 12, 0, WS_VISIBLE},
    {IDC_CRIT_POPUP, kCheck, L"Pop up an error message", 180, 220, 94, 12, 0, 0},
};

}  // namespace

TEST(Template203, DialogFrame) {
  Template t;
  ASSERT_TRUE(loadTemplate(t));
  EXPECT_EQ(L"CAPE-OPEN Property Package Detailed Information", t.caption);
  EXPECT_EQ(519, t.cx);
  EXPECT_EQ(285, t.cy);
  EXPECT_EQ(8, t.pointSize);
  EXPECT_EQ(L"MS Sans Serif", t.font);
  const DWORD frame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  EXPECT_EQ(frame, t.style & frame);
  EXPECT_EQ(0u, t.style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST(Template203, EveryControlAsLaidOut) {
  Template t;
  ASSERT_TRUE(loadTemplate(t));
  ASSERT_EQ(sizeof kControls / sizeof kControls[0], t.items.size());
  for (size_t i = 0; i < t.items.size(); ++i) {
    const Item& item = t.items[i];
    const Expected& want = kControls[i];
    SCOPED_TRACE("control " + std::to_string(want.id));
    EXPECT_EQ(static_cast<DWORD>(want.id), item.id);
    EXPECT_EQ(want.x, item.x);
    EXPECT_EQ(want.y, item.y);
    EXPECT_EQ(want.cx, item.cx);
    EXPECT_EQ(want.cy, item.cy);
    if (want.text) EXPECT_EQ(std::wstring(want.text), item.text);

    DWORD style = item.style;
    bool visible = !(want.forbidden & WS_VISIBLE);
    EXPECT_EQ(visible, (style & WS_VISIBLE) != 0);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_EQ(want.required, style & want.required);
    EXPECT_EQ(0u, style & want.forbidden & ~WS_VISIBLE);
    switch (want.kind) {
      case kTab: EXPECT_EQ(0, _wcsicmp(L"SysTabControl32", item.className.c_str())); break;  // a class name has no case
      case kPush:
        EXPECT_EQ(L"Button", item.className);
        EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), style & BS_TYPEMASK);
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
      case kCheck:
        EXPECT_EQ(L"Button", item.className);
        EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), style & BS_TYPEMASK);
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
      case kGroup:
        EXPECT_EQ(L"Button", item.className);
        EXPECT_EQ(static_cast<DWORD>(BS_GROUPBOX), style & BS_TYPEMASK);
        EXPECT_FALSE(style & WS_TABSTOP);
        break;
      case kEdit:
        EXPECT_EQ(L"Edit", item.className);
        EXPECT_TRUE(style & WS_TABSTOP);
        break;
      case kStatic:
        EXPECT_EQ(L"Static", item.className);
        EXPECT_FALSE(style & WS_TABSTOP);
        break;
      case kList: EXPECT_EQ(L"ListBox", item.className); break;
    }
  }
}

TEST(Template203, SupportLabelGivesMailThenWebAddress) {
  Template t;
  ASSERT_TRUE(loadTemplate(t));
  std::wstring text;
  for (const Item& item : t.items)
    if (item.id == IDC_SUPPORT_TEXT) text = item.text;
  size_t gap = text.find(L"\n\n");
  ASSERT_NE(std::wstring::npos, gap) << "mail address, blank line, web address";
  std::wstring mail = text.substr(0, gap), web = text.substr(gap + 2);
  EXPECT_NE(std::wstring::npos, mail.find(L'@'));
  EXPECT_EQ(std::wstring::npos, mail.find(L' '));
  EXPECT_NE(std::wstring::npos, web.find(L"www."));
  EXPECT_EQ(std::wstring::npos, web.find(L'\n'));
}
