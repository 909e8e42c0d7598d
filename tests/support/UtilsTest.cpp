// Utils: case-insensitive comparisons, trimming, the .ini file beside the DLL, registry
// values under HKEY_CLASSES_ROOT and interface names.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "SupportFixtures.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "support/MTUtils.h"
#include "support/Utils.h"

namespace {

class Text {
 public:
  explicit Text(const wchar_t* text) : value_(text ? SysAllocString(text) : nullptr) {}
  ~Text() { SysFreeString(value_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return value_; }  // NOLINT: reads like a BSTR argument
 private:
  BSTR value_;
};

TEST(UtilsTest, EqualNoCaseFoldsOnlyAsciiLetters) {
  Text azcx(L"azcx");
  for (const wchar_t* same : {L"Azcx", L"AZCX", L"azCx", L"azcx"})
    EXPECT_TRUE(Utils::equalNoCase(azcx, Text(same))) << tx::narrow(same);
  for (const wchar_t* other : {L"azcY", L"azcxY", L"azc", L""})
    EXPECT_FALSE(Utils::equalNoCase(azcx, Text(other))) << tx::narrow(other);
  EXPECT_TRUE(Utils::equalNoCase(nullptr, Text(L"")));
  EXPECT_TRUE(Utils::equalNoCase(Text(L""), nullptr));
  EXPECT_TRUE(Utils::equalNoCase(nullptr, nullptr));
  EXPECT_FALSE(Utils::equalNoCase(nullptr, Text(L"a")));
  EXPECT_FALSE(Utils::equalNoCase(Text(L"\u00C4"), Text(L"\u00E4"))) << "A with diaeresis is not folded";
  // Characters 0x20 apart that are not letters stay different.
  EXPECT_FALSE(Utils::equalNoCase(Text(L"@[\\]^"), Text(L"`{|}~")));
}

TEST(UtilsTest, FindNoCaseGivesFirstPosition) {
  Text text(L"Property Package Manager");
  EXPECT_EQ(9, Utils::findNoCase(text, Text(L"PACKAGE")));
  EXPECT_EQ(0, Utils::findNoCase(text, Text(L"property")));
  EXPECT_EQ(17, Utils::findNoCase(text, Text(L"manager")));
  EXPECT_EQ(2, Utils::findNoCase(Text(L"xxabAB"), Text(L"AB"))) << "the first occurrence";
  EXPECT_EQ(-1, Utils::findNoCase(text, Text(L"Managers")));
  EXPECT_EQ(-1, Utils::findNoCase(Text(L"ab"), Text(L"abc")));
  EXPECT_EQ(0, Utils::findNoCase(text, Text(L"")));
  EXPECT_EQ(0, Utils::findNoCase(nullptr, nullptr));
  EXPECT_EQ(-1, Utils::findNoCase(nullptr, Text(L"a")));
  EXPECT_TRUE(Utils::containsNoCase(text, Text(L"age man")));
  EXPECT_FALSE(Utils::containsNoCase(text, Text(L"agemanager")));
}

TEST(UtilsTest, TrimTrailingBlanksOnlyWhenNothingFollowsTheFirstBlank) {
  EXPECT_EQ("abc", tx::bstrText(Utils::trimTrailingBlanks(Text(L"abc   ")).GetBSTR()));
  EXPECT_EQ("a b  ", tx::bstrText(Utils::trimTrailingBlanks(Text(L"a b  ")).GetBSTR()));
  EXPECT_EQ("abc", tx::bstrText(Utils::trimTrailingBlanks(Text(L"abc")).GetBSTR()));
  EXPECT_EQ("", tx::bstrText(Utils::trimTrailingBlanks(Text(L"   ")).GetBSTR()));
  EXPECT_EQ("<null>", tx::bstrText(Utils::trimTrailingBlanks(nullptr).GetBSTR()));
  Text input(L"tab\t ");
  CTxBSTR same = Utils::trimTrailingBlanks(input);
  EXPECT_EQ("tab\t", tx::bstrText(same.GetBSTR())) << "only blanks count";
  EXPECT_NE(static_cast<BSTR>(input), same.GetBSTR()) << "a new string";
}

class IniTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_TRUE(folder_.ready());
    ASSERT_TRUE(folder_.load());
  }
  ModuleFolder folder_;
};

TEST_F(IniTest, ReadsTheModulesIniFileBesideTheDll) {
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", "[general]\r\nDERadid=on   \r\nquoted=\"yes   \"\r\nlong=" +
                                               std::string(400, 'L') + "\r\n[other]\r\nDERadid=off\r\n"));
  EXPECT_EQ("on", Utils::readIniValue("DERadid"));
  EXPECT_EQ("yes", Utils::readIniValue("quoted", "", ""));
  EXPECT_EQ("off", Utils::readIniValue("DERadid", "other"));
  EXPECT_EQ(std::string(259, 'L'), Utils::readIniValue("long"));
  EXPECT_EQ("", Utils::readIniValue("missing"));
  EXPECT_EQ("", Utils::readIniValue("DERadid", "nosection"));
  EXPECT_EQ("", Utils::readIniValue(nullptr));

  // Another file named by path.
  ASSERT_TRUE(folder_.write("other.ini", "[general]\r\nDERadid=elsewhere\r\n"));
  EXPECT_EQ("elsewhere", Utils::readIniValue("DERadid", nullptr, folder_.path("other.ini").c_str()));
  folder_.remove("TxCOGUI.ini");
  EXPECT_EQ("", Utils::readIniValue("DERadid"));
}

TEST_F(IniTest, IniFileThatIsNotTextGivesEmptyValues) {
  std::string binary;
  unsigned value = 7;
  for (int i = 0; i < 100000; ++i) {
    value = value * 1103515245u + 12345u;
    char c = static_cast<char>(value >> 16);
    binary.push_back(c == '=' || c == '[' ? '\0' : c);
  }
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", binary));
  EXPECT_EQ("", Utils::readIniValue("DERadid"));
  ASSERT_TRUE(folder_.write("TxCOGUI.ini", std::string("[general]\r\nDERadid=a\0b\r\n", 24)));
  std::string read = Utils::readIniValue("DERadid");
  EXPECT_LE(read.size(), 259u);
}

TEST(IniWithoutModuleTest, UnknownModuleFolderGivesEmptyValue) {
  MTUtils::setModuleName("txnotloaded.dll");
  BoxCapture boxes;
  EXPECT_EQ("", Utils::readIniValue("DERadid"));
  EXPECT_TRUE(boxes.anyContains("Error getting the dll path for txnotloaded.dll"));
  MTUtils::setModuleName("");
}

// A key of its own under HKEY_CLASSES_ROOT, removed afterwards.
class RegistryTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    char name[64];
    snprintf(name, sizeof name, "TxSupportTest.%lu", GetCurrentProcessId());
    key_ = name;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             handle_.put(), nullptr));
  }
  void TearDown() override {
    handle_.reset();
    tx::deleteKeyTree(HKEY_CLASSES_ROOT, key_);
  }
  void set(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(handle_.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
  }
  std::string key_;
  fw::UniqueHKey handle_;
};

TEST_F(RegistryTest, ReadsDefaultAndNamedValues) {
  set(nullptr, REG_SZ, std::string("Default text", 13));
  set("CapeDescription", REG_SZ, std::string("A description", 14));
  set("Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x", 9));
  EXPECT_EQ("Default text", GetRegPath(key_.c_str(), ""));
  EXPECT_EQ("A description", GetRegPath(key_.c_str(), "CapeDescription"));
  EXPECT_EQ("%TEMP%\\x", GetRegPath(key_.c_str(), "Expand"));
  EXPECT_EQ("", GetRegPath(key_.c_str(), "NoSuchValue"));
  EXPECT_EQ("", GetRegPath((key_ + "\\NoSuchKey").c_str(), ""));
  EXPECT_EQ("", GetRegPath(nullptr, ""));
  DWORD number = 0x41414141;
  set("Number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
  EXPECT_EQ("", GetRegPath(key_.c_str(), "Number")) << "a number is not text";
}

TEST_F(RegistryTest, LongAndUnterminatedValuesAreCutAndTerminated) {
  set("Long", REG_SZ, std::string(3000, 'x') + '\0');
  EXPECT_EQ(std::string(2047, 'x'), GetRegPath(key_.c_str(), "Long"));
  set("Exact", REG_SZ, std::string(2047, 'y') + '\0');
  EXPECT_EQ(std::string(2047, 'y'), GetRegPath(key_.c_str(), "Exact"));
  set("NoZero", REG_SZ, "abc");
  EXPECT_EQ("abc", GetRegPath(key_.c_str(), "NoZero"));
  set("NoZeroLong", REG_SZ, std::string(2048, 'z'));
  EXPECT_EQ(std::string(2047, 'z'), GetRegPath(key_.c_str(), "NoZeroLong"));
  set("Multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
  EXPECT_EQ("first", GetRegPath(key_.c_str(), "Multi"));
  set("Empty", REG_SZ, std::string());
  EXPECT_EQ("", GetRegPath(key_.c_str(), "Empty"));
}

TEST_F(RegistryTest, InterfaceNameComesFromTheInterfaceKey) {
  GUID iid;
  ASSERT_EQ(S_OK, CoCreateGuid(&iid));
  wchar_t text[64];
  ASSERT_GT(StringFromGUID2(iid, text, 64), 0);
  std::string interfaceKey = "Interface\\" + tx::narrow(text);
  BSTR name = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, Utils::interfaceName(iid, &name));
  ASSERT_NE(nullptr, name);
  EXPECT_EQ(0u, SysStringLen(name)) << "not registered";
  SysFreeString(name);

  fw::UniqueHKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, interfaceKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, key.put(), nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("ITxProbe"), 9));
  key.reset();
  name = nullptr;
  EXPECT_EQ(S_OK, Utils::interfaceName(iid, &name));
  EXPECT_EQ("ITxProbe", tx::bstrText(name));
  SysFreeString(name);
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, interfaceKey);
  EXPECT_EQ(E_POINTER, Utils::interfaceName(iid, nullptr));
}

}  // namespace
