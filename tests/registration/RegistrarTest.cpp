// The registrar on scripts of its language, under a key of the test's own: keys and
// values, quoting, replacements, NoRemove and ForceRemove, and scripts that fail.
#include <gtest/gtest.h>
#include <algorithm>
#include "common/TestSupport.h"
#include "framework/Registrar.h"

namespace {

using Lines = std::vector<std::string>;

class RegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override { tx::deleteKeyTree(HKEY_CURRENT_USER, root_); }
  void TearDown() override { tx::deleteKeyTree(HKEY_CURRENT_USER, root_); }

  // A script whose keys lie below the test's own key.
  std::string script(const std::string& body) const {
    return "HKCU { NoRemove Software { NoRemove '" + root_.substr(9) + "' { " + body + " } } }";
  }
  Lines snapshot() const {
    Lines lines = tx::snapshotKey(HKEY_CURRENT_USER, root_);
    for (std::string& line : lines) line.erase(0, root_.size());
    return lines;
  }
  void addForeign(const std::string& key, const char* value) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, (root_ + "\\" + key).c_str(), value, REG_SZ, "x", 2));
  }

  const std::string root_ = "Software\\TxRegistrarTest-" + std::to_string(GetCurrentProcessId());
  fw::Registrar registrar_;
};

const char kBody[] =
    "App.Thing = s 'Thing Class' { CLSID = s '{1234}' CurVer = s 'App.Thing.1' } "
    "NoRemove Shared { ForceRemove {ABCD} = s 'It''s mine' { "
    "  ForceRemove 'Programmable' "
    "  InprocServer32 = s '%MODULE%' { val ThreadingModel = s 'Apartment' val Count = d '42' } "
    "  'TypeLib' = s '{5678}' } }";

}  // namespace

TEST_F(RegistrarTest, RegisterWritesEveryKeyAndValue) {
  registrar_.addReplacement("Module", "C:\\dir\\x.dll");
  ASSERT_EQ(S_OK, registrar_.registerScript(script(kBody)));
  const Lines expected = {
      "\\App.Thing", "\\App.Thing [] = Thing Class", "\\App.Thing\\CLSID", "\\App.Thing\\CLSID [] = {1234}",
      "\\App.Thing\\CurVer", "\\App.Thing\\CurVer [] = App.Thing.1", "\\Shared", "\\Shared\\{ABCD}",
      "\\Shared\\{ABCD} [] = It's mine", "\\Shared\\{ABCD}\\InprocServer32",
      "\\Shared\\{ABCD}\\InprocServer32 [Count] = <type 4, 4 bytes>",
      "\\Shared\\{ABCD}\\InprocServer32 [ThreadingModel] = Apartment",
      "\\Shared\\{ABCD}\\InprocServer32 [] = C:\\dir\\x.dll", "\\Shared\\{ABCD}\\Programmable",
      "\\Shared\\{ABCD}\\TypeLib", "\\Shared\\{ABCD}\\TypeLib [] = {5678}"};
  EXPECT_EQ(expected, snapshot());
  DWORD count = 0, size = sizeof count;
  RegGetValueA(HKEY_CURRENT_USER, (root_ + "\\Shared\\{ABCD}\\InprocServer32").c_str(), "Count", RRF_RT_DWORD, nullptr,
               &count, &size);
  EXPECT_EQ(42u, count);
}

TEST_F(RegistrarTest, ForceRemoveClearsTheKeyBeforeWritingItAndUnregisterSparesNoRemove) {
  registrar_.addReplacement("Module", "x.dll");
  ASSERT_EQ(S_OK, registrar_.registerScript(script(kBody)));
  Lines clean = snapshot();
  addForeign("Shared\\{ABCD}\\Old\\Older", "v");
  addForeign("Shared\\{ABCD}\\Programmable", "stale");
  addForeign("App.Thing", "extra");
  ASSERT_EQ(S_OK, registrar_.registerScript(script(kBody)));
  // Below ForceRemove keys nothing foreign is left; elsewhere values are only added to.
  clean.insert(std::upper_bound(clean.begin(), clean.end(), "\\App.Thing [] = Thing Class"), "\\App.Thing [extra] = x");
  EXPECT_EQ(clean, snapshot());

  addForeign("Shared\\Neighbour", nullptr);
  ASSERT_EQ(S_OK, registrar_.unregisterScript(script(kBody)));
  EXPECT_EQ((Lines{"\\Shared", "\\Shared\\Neighbour", "\\Shared\\Neighbour [] = x"}), snapshot());
  EXPECT_EQ(S_OK, registrar_.unregisterScript(script(kBody)));  // what is not there is no failure
}

TEST_F(RegistrarTest, ReplacementsAreLiteralAndCaseBlind) {
  registrar_.addReplacement("Module", "C:\\it''s\\50%\\x.dll");
  registrar_.addReplacement("Module_Raw", "C:\\raw\\50%\\x.dll");
  registrar_.addReplacement("APPID", "");
  ASSERT_EQ(S_OK, registrar_.registerScript(
                      script("K = s '%MODULE%' { R = s '%module_raw%' A = s '[%AppID%]' P = s '100%%' }")));
  EXPECT_EQ((Lines{"\\K", "\\K [] = C:\\it's\\50%\\x.dll", "\\K\\A", "\\K\\A [] = []", "\\K\\P", "\\K\\P [] = 100%",
                   "\\K\\R", "\\K\\R [] = C:\\raw\\50%\\x.dll"}),
            snapshot());
}

TEST_F(RegistrarTest, BadScriptsFailAndWriteNothing) {
  registrar_.addReplacement("Module", "x.dll");
  const std::string bad[] = {
      script("First = s 'written?' Second = s 'unterminated"),  // string without its end
      script("First = s 'written?' Open { Inner = s 'x' "),      // body without its brace
      script("First = s 'written?' Bad = q 'type'"),             // unknown value type
      script("First = s 'written?' Missing = s '%NOSUCH%'"),     // unknown replacement
      script("Key = s 'x'") + " %",                              // '%' without its end
      "HKNOWHERE { Key = s 'x' }",                               // unknown root
  };
  for (const std::string& text : bad) {
    EXPECT_TRUE(FAILED(registrar_.registerScript(text))) << text;
    EXPECT_FALSE(tx::keyExists(HKEY_CURRENT_USER, root_)) << text;
  }
}
