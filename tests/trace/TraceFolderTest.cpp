// The trace folder and file as a user's profile can present them: no folder yet, a folder that cannot be
// made, a file that cannot be opened (fallback to TEMP), lines at the bound. The area runs alone; the
// user's "Briskware" folder is put aside and restored around every test.
#include <gtest/gtest.h>
#include "../support/SupportFixtures.h"

namespace {
const char kProblem[] = "problem writing trace file", kCannotOpen[] = "Could not open trace file";
const char kInformCaption[] = "Brisk Calorix CAPE-OPEN 1.0 Information message";
const size_t kHeader = 28;  // "MM/DD/YY HH:MM:SS: TxCOGUI: " in front of every message

bool trace(const std::string& text) { return MTUtils::writeTrace(CTxBSTR(text.c_str()), nullptr, "\n"); }
HRESULT report(HRESULT code, const std::string& text) {
  return MTUtils::reportError(code, text.c_str(), nullptr, nullptr, true);
}

class TraceFolderTest : public SupportTest {
 protected:
  void SetUp() override {
    SupportTest::SetUp();
    ASSERT_TRUE(tx::removeTree(briskware_ + ".tx-saved"));
    ASSERT_TRUE(!tx::fileExists(briskware_) || MoveFileA(briskware_.c_str(), (briskware_ + ".tx-saved").c_str()));
  }
  void TearDown() override {
    tx::removeTree(briskware_);
    if (tx::fileExists(briskware_ + ".tx-saved")) MoveFileA((briskware_ + ".tx-saved").c_str(), briskware_.c_str());
    tx::removeTree(temp_);
  }
  // The trace file cannot be opened where it belongs: a folder has its name.
  void blockTraceFile() {
    CreateDirectoryA(briskware_.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(tx::traceFilePath().c_str(), nullptr));
  }
  std::string informText(const std::string& fallbackFolder) const {
    return "Since trace file at installation directory (" + tx::traceFilePath() +
           ") could not be written, trace file will be written to '" + fallbackFolder + "'.";
  }
  std::string fallback() const { return tx::readFile(temp_ + "\\TxCOGUI.trc"); }
  std::string folder_ = tx::traceFolder(), briskware_ = folder_.substr(0, folder_.find_last_of('\\'));
  std::string temp_ = tx::makeTempFolder("tracetemp");
  EnvValue tempValue_{"TEMP", (temp_ + "\\").c_str()};
};
}  // namespace

TEST_F(TraceFolderTest, FreshProfileGetsEveryFolderLevelAndLinesAreCutAtTheBound) {
  ASSERT_FALSE(tx::fileExists(briskware_));
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, report(100, "first trace"));
  EXPECT_EQ(Texts{" ERROR: first trace"}, boxes.texts());
  EXPECT_EQ(": TxCOGUI:  ERROR: first trace\r\n", tx::readTrace().substr(17)); EXPECT_EQ("", fallback());
  // 3000 characters give a line of 2399 and no line end; the longest line that keeps its end, and one more.
  const struct { size_t length; bool written; const char* end; } lines[] = {
      {3000, false, ""}, {2398 - kHeader, true, "\r\n"}, {2399 - kHeader, true, ""}};
  for (const auto& line : lines) {
    ASSERT_TRUE(DeleteFileA(tx::traceFilePath().c_str()));
    EXPECT_EQ(line.written, trace(std::string(line.length, 'x')));
    EXPECT_EQ(std::string(std::min(line.length, 2399 - kHeader), 'x') + line.end, tx::readTrace().substr(kHeader));
  }
  // A report of an overlong message traces both reports.
  ASSERT_TRUE(DeleteFileA(tx::traceFilePath().c_str()));
  EXPECT_EQ(E_FAIL, report(E_FAIL, std::string(3000, 'q')));
  ASSERT_EQ(3u, boxes.count()); EXPECT_EQ(2399u, boxes.boxes()[2].text.size());
  std::string content = tx::readTrace();
  const std::string tooLong = ": TxCOGUI:  ERROR: A generated message is too long. Contact support.\r\n";
  EXPECT_EQ(tooLong, content.substr(17, tooLong.size()));
  std::string second = content.substr(content.find('\n') + 1);
  EXPECT_EQ(2399u, second.size()); EXPECT_EQ(0u, second.find_first_of("0123456789"));
}

TEST_F(TraceFolderTest, FolderThatCannotBeMadeIsReportedOnEveryTraceAndRetried) {
  ASSERT_TRUE(tx::writeFile(briskware_, "not a folder"));  // a file stands where the folder would go
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, report(E_FAIL, "one")); EXPECT_EQ(E_FAIL, report(7, "two")); EXPECT_FALSE(trace("three"));
  ASSERT_EQ((Texts{kProblem, " ERROR: one", kProblem, " ERROR: two", kProblem}), boxes.texts());
  EXPECT_EQ("", boxes.boxes()[0].caption); EXPECT_EQ(UINT(MB_SYSTEMMODAL), boxes.boxes()[0].type);
  EXPECT_EQ("not a folder", tx::readFile(briskware_)); EXPECT_FALSE(tx::fileExists(temp_ + "\\TxCOGUI.trc"));
  // Once the way is free the next trace sets the folder up.
  ASSERT_TRUE(tx::removeTree(briskware_));
  EXPECT_TRUE(trace("four"));
  EXPECT_EQ(5u, boxes.count()); EXPECT_EQ(": TxCOGUI: four\r\n", tx::readTrace().substr(17));
}

TEST_F(TraceFolderTest, UnopenableTraceFileFallsBackToTempAndInformsOnceWhenThereIsNoFallbackFileYet) {
  blockTraceFile();
  ASSERT_TRUE(tx::writeFile(temp_ + "\\TxCOGUI.trc", "earlier\r\n"));
  BoxCapture boxes;
  EXPECT_TRUE(trace("appended")); EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(0u, fallback().find("earlier\r\n")); EXPECT_EQ(9u + 17u, fallback().find(": TxCOGUI: appended\r\n"));
  // Not shown yet, so a fallback file that is gone again brings the information, once.
  ASSERT_TRUE(DeleteFileA((temp_ + "\\TxCOGUI.trc").c_str()));
  EXPECT_EQ(E_FAIL, report(E_FAIL, "first")); EXPECT_EQ(E_FAIL, report(E_FAIL, "second"));
  // TEMP ends with a backslash: one backslash between folder and file name.
  ASSERT_EQ((Texts{informText(temp_), " ERROR: first", " ERROR: second"}), boxes.texts());
  EXPECT_EQ(kInformCaption, boxes.boxes()[0].caption);
  EXPECT_EQ(UINT(MB_ICONINFORMATION | MB_SYSTEMMODAL), boxes.boxes()[0].type);
  std::string content = fallback();
  EXPECT_EQ(17u, content.find(": TxCOGUI:  ERROR: first\r\n"));
  EXPECT_EQ(content.find('\n') + 18, content.find(": TxCOGUI:  ERROR: second\r\n"));
}

TEST_F(TraceFolderTest, WithoutTempTheFallbackIsCTemp) {
  blockTraceFile();
  SetEnvironmentVariableA("TEMP", nullptr);
  CreateDirectoryA("c:\\temp", nullptr);
  const std::string cTemp = "c:\\temp\\TxCOGUI.trc", keep = cTemp + ".tx-saved";
  tx::removeTree(keep);
  ASSERT_TRUE(!tx::fileExists(cTemp) || MoveFileA(cTemp.c_str(), keep.c_str()));
  BoxCapture boxes;
  EXPECT_TRUE(trace("to c:\\temp"));
  std::string content = tx::readFile(cTemp);
  DeleteFileA(cTemp.c_str());
  if (tx::fileExists(keep)) MoveFileA(keep.c_str(), cTemp.c_str());
  EXPECT_EQ(Texts{informText("c:\\temp")}, boxes.texts()); EXPECT_EQ(": TxCOGUI: to c:\\temp\r\n", content.substr(17));
}

TEST_F(TraceFolderTest, NeitherPlaceOpensShowsCouldNotOpenTwice) {
  blockTraceFile();
  SetEnvironmentVariableA("TEMP", (temp_ + "\\missing").c_str());
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, report(E_FAIL, "nowhere"));
  ASSERT_EQ((Texts{informText(temp_ + "\\missing"), kCannotOpen, kCannotOpen, " ERROR: nowhere"}), boxes.texts());
  EXPECT_EQ("", boxes.boxes()[1].caption); EXPECT_FALSE(tx::fileExists(temp_ + "\\missing"));
}

TEST_F(TraceFolderTest, TraceAskedForWhileATraceIsWrittenIsDropped) {
  blockTraceFile();
  BoxCapture boxes;
  bool nested = true;
  // The information box runs a message loop in the middle of the first trace.
  boxes.onBox([&](const CapturedBox& box) { nested = box.caption == kInformCaption ? trace("nested") : nested; });
  EXPECT_TRUE(trace("outer"));
  EXPECT_FALSE(nested); EXPECT_EQ(1u, boxes.count()); EXPECT_EQ(": TxCOGUI: outer\r\n", fallback().substr(17));
  EXPECT_TRUE(trace("after")) << "the guard is given back";
  EXPECT_NE(std::string::npos, fallback().find(": TxCOGUI: after\r\n"));
}

TEST_F(TraceFolderTest, ProfileNamedInAnyScriptHoldsTheTraceAndLinesAreUtf8) {
  // The user's local application data moved to a folder named in Cyrillic, as the shell finds it.
  const std::string profile = temp_ + "\\Профиль Пользователя", text = "Überhitzer ポンプ Насос 𝄞";
  ASSERT_TRUE(CreateDirectoryW(wideFromNarrow(profile).c_str(), nullptr));
  const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  fw::UniqueHKey folders;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ | KEY_WRITE, folders.put()));
  wchar_t old[MAX_PATH] = L"";
  DWORD type = REG_EXPAND_SZ, size = sizeof old;
  bool had = RegQueryValueExW(folders.get(), L"Local AppData", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) ==
             ERROR_SUCCESS;
  std::wstring moved = wideFromNarrow(profile);
  RegSetValueExW(folders.get(), L"Local AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(moved.c_str()),
                 DWORD((moved.size() + 1) * 2));
  BoxCapture boxes;
  bool traced = trace(text);
  trace(std::string(2399 - kHeader - 1, 'x') + "ポ");
  std::string content = tx::readFile(profile + "\\Briskware\\Brisk Tarnix CAPE-OPEN\\TxCOGUI.trc");
  if (had) RegSetValueExW(folders.get(), L"Local AppData", 0, type, reinterpret_cast<const BYTE*>(old), size);
  else RegDeleteValueW(folders.get(), L"Local AppData");
  EXPECT_TRUE(traced); EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(": TxCOGUI: " + text + "\r\n", content.substr(17, text.size() + 13));
  // A line at the bound loses a whole character, never a part of one.
  EXPECT_EQ(std::string(2398 - kHeader, 'x'), content.substr(content.find('\n') + 1 + kHeader));
}
