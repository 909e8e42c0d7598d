// The object driven from Wine's own script host, late-bound by name, as a script or a
// host written in a scripting language does it. Wine's cscript swallows uncaught script
// errors and exits 0: every script catches its errors and quits with its own code.
#include <gtest/gtest.h>
#include <string>
#include "common/TestSupport.h"

namespace {

class ScriptHostTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = tx::makeTempFolder("scripthost"); }
  void TearDown() override { tx::removeTree(folder_); }

  // Runs 'source' as the file 'name' with cscript; its exit code.
  int run(const std::string& name, const std::string& source) {
    std::string path = folder_ + "\\" + name;
    EXPECT_TRUE(tx::writeFile(path, source));
    return tx::runProcess("cscript.exe //nologo \"" + path + "\"");
  }

  std::string folder_;
};

}  // namespace

TEST_F(ScriptHostTest, JScriptCreatesByProgIdAndUsesPropertiesAndMethods) {
  const char* script = R"JS(
var step = 0;
function expect(actual, wanted) {
  step++;
  if (actual !== wanted) {
    WScript.Echo("step " + step + ": got [" + actual + "], wanted [" + wanted + "]");
    WScript.Quit(10 + step);
  }
}
try {
  var o = new ActiveXObject("TxShowCOCATIDs.CCAPEGUI");
  expect(o.compCOversion, 0);
  o.compCOversion = 93;
  expect(o.compCOversion, 93);
  o.serverName = "\\\\far";
  expect(o.serverName, "\\\\far");
  o.setAlias("Package A", "System B");
  expect(o.GetItemAlias(), "Package A");
  expect(o.GetParentAlias(), "System B");
  expect(o.GetCATID(), "");
  o.enableWarnings = true;
  var refused = false;
  try { o.NoSuchMethod(); } catch (e) { refused = true; }
  expect(refused, true);
  var other = new ActiveXObject("TxShowCOCATIDs.CCAPEGUI.1");
  expect(other.compCOversion, 0);
  o = null;
  other = null;
} catch (e) {
  WScript.Echo("error: " + e.message + " (" + (e.number >>> 0).toString(16) + ")");
  WScript.Quit(1);
}
WScript.Quit(0);
)JS";
  EXPECT_EQ(0, run("object.js", script));
}

TEST_F(ScriptHostTest, VBScriptSeesTheSameObject) {
  const char* script =
      "On Error Resume Next\r\n"
      "Set o = CreateObject(\"TxShowCOCATIDs.CCAPEGUI\")\r\n"
      "If Err.Number <> 0 Then WScript.Quit 1\r\n"
      "o.compCOversion = 110\r\n"
      "If o.compCOversion <> 110 Then WScript.Quit 2\r\n"
      "o.setAlias \"Unit\", \"\"\r\n"
      "If o.GetItemAlias() <> \"Unit\" Then WScript.Quit 3\r\n"
      "If o.GetParentAlias() <> \"\" Then WScript.Quit 4\r\n"
      "If Err.Number <> 0 Then WScript.Quit 5\r\n"
      "WScript.Quit 0\r\n";
  EXPECT_EQ(0, run("object.vbs", script));
}

TEST_F(ScriptHostTest, FailuresInsideTheScriptReachTheTest) {
  // Guards the two tests above: a failing expectation gives a non-zero code.
  EXPECT_EQ(11, run("fails.js", "try { if (1 !== 2) WScript.Quit(11); } catch (e) { WScript.Quit(1); }\n"
                                "WScript.Quit(0);\n"));
}
