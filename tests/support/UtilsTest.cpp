// Utils: case-insensitive comparisons, trimming, the .ini file beside the DLL, registry values, interface names.
#include <gtest/gtest.h>
#include "SupportFixtures.h"
#include "support/Utils.h"

TEST(UtilsTest, CaseFoldingComparisonsAndTrimming) {
  const struct { const wchar_t *a, *b; bool equal; } pairs[] = {
      {L"azcx", L"Azcx", true}, {L"azcx", L"AZCX", true}, {L"azcx", L"azCx", true}, {L"azcx", L"azcx", true},
      {L"azcx", L"azcY", false}, {L"azcx", L"azcxY", false}, {L"azcx", L"azc", false}, {L"azcx", L"", false},
      {nullptr, L"", true}, {L"", nullptr, true}, {nullptr, nullptr, true}, {nullptr, L"a", false},
      {L"\u00C4", L"\u00E4", false},  // only ASCII letters fold
      {L"@[\\]^", L"`{|}~", false}};  // characters 0x20 apart that are not letters
  for (const auto& p : pairs) EXPECT_EQ(p.equal, Utils::equalNoCase(_bstr_t(p.a), _bstr_t(p.b))) << narrowFromWide(p.b);
  const wchar_t kText[] = L"Property Package Manager";
  const struct { const wchar_t *text, *part; int at; } finds[] = {
      {kText, L"PACKAGE", 9}, {kText, L"property", 0}, {kText, L"manager", 17}, {L"xxabAB", L"AB", 2},
      {kText, L"Managers", -1}, {L"ab", L"abc", -1}, {kText, L"", 0}, {nullptr, nullptr, 0}, {nullptr, L"a", -1}};
  for (const auto& f : finds)
    EXPECT_EQ(f.at, Utils::findNoCase(_bstr_t(f.text), _bstr_t(f.part))) << narrowFromWide(f.part);
  EXPECT_TRUE(Utils::containsNoCase(_bstr_t(kText), _bstr_t(L"age man")));
  EXPECT_FALSE(Utils::containsNoCase(_bstr_t(kText), _bstr_t(L"agemanager")));
  // Trailing blanks go only when nothing follows the first blank; tabs are no blanks; the result is new.
  const std::pair<const wchar_t*, const char*> trims[] = {
      {L"abc   ", "abc"}, {L"a b  ", "a b  "}, {L"abc", "abc"}, {L"   ", ""}, {nullptr, "<null>"},
      {L"tab\t ", "tab\t"}};
  for (const auto& t : trims) EXPECT_EQ(t.second, tx::bstrText(Utils::trimTrailingBlanks(_bstr_t(t.first)).GetBSTR()));
  _bstr_t input(L"tab\t ");
  EXPECT_NE(input.GetBSTR(), Utils::trimTrailingBlanks(input).GetBSTR());
}

using IniTest = ModuleTest;

TEST_F(IniTest, ReadsTheModulesIniFileBesideTheDll) {
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", "[general]\r\nDERadid=on   \r\nquoted=\"yes   \"\r\nlong=" +
                                               std::string(400, 'L') + "\r\n[other]\r\nDERadid=off\r\n"));
  ASSERT_TRUE(folder_.write("other.ini", "[general]\r\nDERadid=elsewhere\r\n"));
  const std::string other = folder_.path("other.ini"), unicode = folder_.path("unicode.ini");
  // A settings file with text outside the ANSI code page is saved as Unicode (UTF-16 with its mark).
  std::wstring wide = L"\xFEFF[general]\r\nName=" + wideFromNarrow("Überhitzer ポンプ Насос 𝄞  ") + L"\r\n";
  ASSERT_TRUE(tx::writeFile(unicode, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)));
  const struct { const char *key, *section, *path; std::string value; } rows[] = {
      {"DERadid", "", "", "on"}, {"quoted", "", "", "yes"}, {"DERadid", "other", "", "off"},
      {"long", "", "", std::string(259, 'L')}, {"missing", "", "", ""}, {"DERadid", "nosection", "", ""},
      {nullptr, "", "", ""}, {"DERadid", nullptr, other.c_str(), "elsewhere"},
      {"Name", "", unicode.c_str(), "Überhitzer ポンプ Насос 𝄞"}};
  for (const auto& row : rows) EXPECT_EQ(row.value, Utils::readIniValue(row.key, row.section, row.path)) << row.key;
  // Files that are not text give empty values.
  std::string binary;
  for (unsigned i = 0, value = 7; i < 100000; ++i)
    binary.push_back(static_cast<char>((value = value * 1103515245u + 12345u) >> 16));
  for (char& c : binary) c = c == '=' || c == '[' ? '\0' : c;
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", binary)); EXPECT_EQ("", Utils::readIniValue("DERadid"));
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", std::string("[general]\r\nDERadid=a\0b\r\n", 24)));
  EXPECT_LE(Utils::readIniValue("DERadid").size(), 259u);
  folder_.remove("TxCOGUI.ini");
  EXPECT_EQ("", Utils::readIniValue("DERadid"));
}

// Values of an interface key of its own, read as text (cut and terminated) and as the interface's name.
using RegistryTest = tx::ComTest;

TEST_F(RegistryTest, ValuesAreReadAsTextAndNameTheInterface) {
  GUID iid, unknown;
  ASSERT_EQ(S_OK, CoCreateGuid(&iid)); ASSERT_EQ(S_OK, CoCreateGuid(&unknown));
  std::string key = "Interface\\" + guidText(iid);
  struct Gone { std::string key; ~Gone() { tx::deleteKeyTree(HKEY_CLASSES_ROOT, key); } } gone{key};
  fw::UniqueHKey handle;  // closed before the key goes
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           handle.put(), nullptr));
  DWORD number = 0x41414141;
  const struct { const char* name; DWORD type; std::string bytes, read; } rows[] = {
      {nullptr, REG_SZ, std::string("ITxProbe", 9), "ITxProbe"},
      {"CapeDescription", REG_SZ, std::string("A description", 14), "A description"},
      {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x", 9), "%TEMP%\\x"},
      {"Number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4), ""},  // a number is no text
      {"Long", REG_SZ, std::string(3000, 'x') + '\0', std::string(2047, 'x')},
      {"Exact", REG_SZ, std::string(2047, 'y') + '\0', std::string(2047, 'y')},
      {"NoZero", REG_SZ, "abc", "abc"}, {"NoZeroLong", REG_SZ, std::string(2048, 'z'), std::string(2047, 'z')},
      {"Multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14), "first"}, {"Empty", REG_SZ, "", ""}};
  for (const auto& row : rows) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(handle.get(), row.name, 0, row.type,
                                            reinterpret_cast<const BYTE*>(row.bytes.data()), DWORD(row.bytes.size())));
    EXPECT_EQ(row.read, GetRegPath(key.c_str(), row.name ? row.name : "")) << (row.name ? row.name : "default");
  }
  EXPECT_EQ("", GetRegPath(key.c_str(), "NoSuchValue")); EXPECT_EQ("", GetRegPath((key + "\\NoSuchKey").c_str(), ""));
  EXPECT_EQ("", GetRegPath(nullptr, ""));
  BSTR name = reinterpret_cast<BSTR>(1), none = name;
  EXPECT_EQ(S_OK, Utils::interfaceName(iid, &name)); EXPECT_EQ("ITxProbe", tx::bstrText(_bstr_t(name, false)));
  ASSERT_EQ(S_OK, Utils::interfaceName(unknown, &none)); ASSERT_NE(nullptr, none);
  EXPECT_EQ(0u, SysStringLen(_bstr_t(none, false))) << "not registered";
  EXPECT_EQ(E_POINTER, Utils::interfaceName(iid, nullptr));
}
