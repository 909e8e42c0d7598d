// The registrar on scripts of its language, under a key of the test's own: keys and
// values, quoting, replacements, NoRemove and ForceRemove, and scripts that fail.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "common/TestSupport.h"
#include "framework/Registrar.h"

namespace {

class RegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = "Software\\TxRegistrarTest-" + std::to_string(GetCurrentProcessId());
    tx::deleteKeyTree(HKEY_CURRENT_USER, root_);
  }
  void TearDown() override { tx::deleteKeyTree(HKEY_CURRENT_USER, root_); }

  // A script whose keys lie below the test's own key.
  std::string script(const std::string& body) const {
    std::string path = root_;
    std::string opening, closing;
    size_t start = 0;
    while (start <= path.size()) {
      size_t end = path.find('\\', start);
      if (end == std::string::npos) end = path.size();
      opening += "NoRemove '" + path.substr(start, end - start) + "' { ";
      closing += "} ";
      start = end + 1;
    }
    return "HKCU { " + opening + body + " " + closing + "}";
  }

  std::vector<std::string> snapshot() const {
    std::vector<std::string> lines = tx::snapshotKey(HKEY_CURRENT_USER, root_);
    for (std::string& line : lines) line.erase(0, root_.size());
    return lines;
  }

  void addForeign(const std::string& key, const char* valueName) {
    fw::UniqueHKey handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (root_ + "\\" + key).c_str(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, handle.put(), nullptr));
    if (valueName) {
      const char data[] = "foreign";
      ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(handle.get(), valueName, 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(data), sizeof data));
    }
  }

  std::string root_;
};

const char kBody[] =
    "App.Thing = s 'Thing Class' { CLSID = s '{1234}' CurVer = s 'App.Thing.1' } "
    "NoRemove Shared { ForceRemove {ABCD} = s 'It''s mine' { "
    "  ForceRemove 'Programmable' "
    "  InprocServer32 = s '%MODULE%' { val ThreadingModel = s 'Apartment' val Count = d '42' } "
    "  'TypeLib' = s '{5678}' } }";

}  // namespace

TEST_F(RegistrarTest, RegisterWritesEveryKeyAndValue) {
  fw::Registrar registrar;
  registrar.addReplacement("Module", "C:\\dir\\x.dll");
  ASSERT_EQ(S_OK, registrar.registerScript(script(kBody)));
  std::vector<std::string> expected = {
      "\\App.Thing",
      "\\App.Thing [] = Thing Class",
      "\\App.Thing\\CLSID",
      "\\App.Thing\\CLSID [] = {1234}",
      "\\App.Thing\\CurVer",
      "\\App.Thing\\CurVer [] = App.Thing.1",
      "\\Shared",
      "\\Shared\\{ABCD}",
      "\\Shared\\{ABCD} [] = It's mine",
      "\\Shared\\{ABCD}\\InprocServer32",
      "\\Shared\\{ABCD}\\InprocServer32 [] = C:\\dir\\x.dll",
      "\\Shared\\{ABCD}\\InprocServer32 [Count] = <type 4, 4 bytes>",
      "\\Shared\\{ABCD}\\InprocServer32 [ThreadingModel] = Apartment",
      "\\Shared\\{ABCD}\\Programmable",
      "\\Shared\\{ABCD}\\TypeLib",
      "\\Shared\\{ABCD}\\TypeLib [] = {5678}",
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, snapshot());
  DWORD count = 0, size = sizeof count;
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, (root_ + "\\Shared\\{ABCD}\\InprocServer32").c_str(),
                                        "Count", RRF_RT_REG_DWORD, nullptr, &count, &size));
  EXPECT_EQ(42u, count);
}

TEST_F(RegistrarTest, ForceRemoveClearsTheKeyBeforeWritingIt) {
  fw::Registrar registrar;
  registrar.addReplacement("Module", "x.dll");
  ASSERT_EQ(S_OK, registrar.registerScript(script(kBody)));
  std::vector<std::string> clean = snapshot();
  addForeign("Shared\\{ABCD}\\Old\\Older", "v");
  addForeign("Shared\\{ABCD}\\Programmable", "stale");
  addForeign("App.Thing", "extra");
  ASSERT_EQ(S_OK, registrar.registerScript(script(kBody)));
  std::vector<std::string> again = snapshot();
  // Below ForceRemove keys nothing foreign is left; elsewhere values are only added to.
  EXPECT_EQ(std::count(again.begin(), again.end(), "\\Shared\\{ABCD}\\Old"), 0);
  EXPECT_EQ(std::count(again.begin(), again.end(), "\\App.Thing [extra] = foreign"), 1);
  again.erase(std::remove(again.begin(), again.end(), "\\App.Thing [extra] = foreign"), again.end());
  EXPECT_EQ(clean, again);
}

TEST_F(RegistrarTest, UnregisterRemovesWhatTheScriptNamesExceptNoRemove) {
  fw::Registrar registrar;
  registrar.addReplacement("Module", "x.dll");
  ASSERT_EQ(S_OK, registrar.registerScript(script(kBody)));
  addForeign("Shared\\Neighbour", nullptr);
  ASSERT_EQ(S_OK, registrar.unregisterScript(script(kBody)));
  EXPECT_EQ((std::vector<std::string>{"\\Shared", "\\Shared\\Neighbour"}), snapshot());
  // Unregistering what is not there succeeds.
  EXPECT_EQ(S_OK, registrar.unregisterScript(script(kBody)));
}

TEST_F(RegistrarTest, ReplacementsAreLiteralAndCaseBlind) {
  fw::Registrar registrar;
  registrar.addReplacement("Module", "C:\\it''s\\50%\\x.dll");
  registrar.addReplacement("Module_Raw", "C:\\raw\\50%\\x.dll");
  registrar.addReplacement("APPID", "");
  ASSERT_EQ(S_OK, registrar.registerScript(
                      script("K = s '%MODULE%' { R = s '%module_raw%' A = s '[%AppID%]' P = s '100%%' }")));
  std::vector<std::string> expected = {"\\K", "\\K [] = C:\\it's\\50%\\x.dll", "\\K\\A", "\\K\\A [] = []",
                                       "\\K\\P", "\\K\\P [] = 100%", "\\K\\R", "\\K\\R [] = C:\\raw\\50%\\x.dll"};
  EXPECT_EQ(expected, snapshot());
}

TEST_F(RegistrarTest, BadScriptsFailAndWriteNothing) {
  fw::Registrar registrar;
  registrar.addReplacement("Module", "x.dll");
  const char* bad[] = {
      "First = s 'written?' Second = s 'unterminated",  // string without its end
      "First = s 'written?' Open { Inner = s 'x' ",      // body without its brace
      "First = s 'written?' Bad = q 'type'",             // unknown value type
      "First = s 'written?' Missing = s '%NOSUCH%'",     // unknown replacement
  };
  for (const char* body : bad) {
    EXPECT_TRUE(FAILED(registrar.registerScript(script(body)))) << body;
    EXPECT_FALSE(tx::keyExists(HKEY_CURRENT_USER, root_)) << body;
  }
  EXPECT_TRUE(FAILED(registrar.registerScript("HKNOWHERE { Key = s 'x' }")));
  EXPECT_TRUE(FAILED(registrar.registerScript(script("Key = s 'x'") + " %")));
  EXPECT_FALSE(tx::keyExists(HKEY_CURRENT_USER, root_));
}
