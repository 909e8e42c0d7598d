// The trace folder and file under conditions the user's profile can present: no folder
// yet, a folder that cannot be made, a trace file that cannot be opened (fallback to
// TEMP), and lines at the length bound. Each test owns the trace folder: the area runs
// alone, and the user's "Briskware" folder is put aside and restored around every test.
#include <gtest/gtest.h>
#include <string>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "support/MTUtils.h"

namespace {

const char kProblem[] = "problem writing trace file";
const char kCannotOpen[] = "Could not open trace file";
const char kInformCaption[] = "Brisk Calorix CAPE-OPEN 1.0 Information message";
// "MM/DD/YY HH:MM:SS: TxCOGUI: " in front of every message.
const size_t kHeader = 28;

class TraceFolderTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    MTUtils::setModuleName("TxCOGUI");
    MTUtils::setOwnerWindow(nullptr);
    folder_ = tx::traceFolder();
    briskware_ = folder_.substr(0, folder_.find_last_of('\\'));
    saved_ = briskware_ + ".tx-saved";
    ASSERT_TRUE(tx::removeTree(saved_));
    if (tx::fileExists(briskware_)) {
      ASSERT_TRUE(MoveFileA(briskware_.c_str(), saved_.c_str()));
    }
    temp_ = tx::makeTempFolder("tracetemp");
    setTemp(temp_ + "\\");
  }

  void TearDown() override {
    tx::removeTree(briskware_);
    if (tx::fileExists(saved_)) MoveFileA(saved_.c_str(), briskware_.c_str());
    tx::removeTree(temp_);
  }

  static void setTemp(const std::string& value) {
    SetEnvironmentVariableA("TEMP", value.empty() ? nullptr : value.c_str());
  }

  void makeTraceFolder() {
    CreateDirectoryA(briskware_.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }

  // The trace file cannot be opened where it belongs: a folder has its name.
  void blockTraceFile() {
    makeTraceFolder();
    ASSERT_TRUE(CreateDirectoryA(tx::traceFilePath().c_str(), nullptr));
  }

  std::string informText(const std::string& fallbackFolder) const {
    return "Since trace file at installation directory (" + tx::traceFilePath() +
           ") could not be written, trace file will be written to '" + fallbackFolder + "'.";
  }

  std::string folder_, briskware_, saved_, temp_;
};

}  // namespace

TEST_F(TraceFolderTest, FreshProfileGetsEveryFolderLevel) {
  ASSERT_FALSE(tx::fileExists(briskware_));
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, MTUtils::reportError(100, "first trace", nullptr, nullptr, true));
  ASSERT_EQ(1u, boxes.count()) << boxes.boxes()[0].text;
  EXPECT_EQ(" ERROR: first trace", boxes.boxes()[0].text);
  std::string content = tx::readTrace();
  ASSERT_GE(content.size(), kHeader);
  EXPECT_EQ(": TxCOGUI:  ERROR: first trace\r\n", content.substr(17));
  EXPECT_EQ("", tx::readFile(temp_ + "\\TxCOGUI.trc"));
}

TEST_F(TraceFolderTest, FolderThatCannotBeMadeIsReportedOnEveryTraceAndRetried) {
  // A file stands where the "Briskware" folder would go.
  ASSERT_TRUE(tx::writeFile(briskware_, "not a folder"));
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, "one", nullptr, nullptr, true));
  EXPECT_EQ(E_FAIL, MTUtils::reportError(7, "two", nullptr, nullptr, true));
  ASSERT_EQ(4u, boxes.count());
  EXPECT_EQ(kProblem, boxes.boxes()[0].text);
  EXPECT_EQ("", boxes.boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL), boxes.boxes()[0].type);
  EXPECT_EQ(" ERROR: one", boxes.boxes()[1].text);
  EXPECT_EQ(kProblem, boxes.boxes()[2].text);
  EXPECT_EQ(" ERROR: two", boxes.boxes()[3].text);
  EXPECT_EQ("not a folder", tx::readFile(briskware_));
  EXPECT_FALSE(tx::fileExists(temp_ + "\\TxCOGUI.trc"));
  EXPECT_FALSE(MTUtils::writeTrace(CTxBSTR("three"), nullptr, "\n"));
  EXPECT_EQ(5u, boxes.count());

  // Once the way is free the next trace sets the folder up.
  ASSERT_TRUE(tx::removeTree(briskware_));
  boxes.clear();
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("four"), nullptr, "\n"));
  EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(": TxCOGUI: four\r\n", tx::readTrace().substr(17));
}

TEST_F(TraceFolderTest, UnopenableTraceFileFallsBackToTempAndInformsOnce) {
  blockTraceFile();
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, "first", nullptr, nullptr, true));
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, "second", nullptr, nullptr, true));
  ASSERT_EQ(3u, boxes.count());
  // TEMP ends with a backslash: one backslash between folder and file name.
  EXPECT_EQ(informText(temp_), boxes.boxes()[0].text);
  EXPECT_EQ(kInformCaption, boxes.boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_SYSTEMMODAL), boxes.boxes()[0].type);
  EXPECT_EQ(" ERROR: first", boxes.boxes()[1].text);
  EXPECT_EQ(" ERROR: second", boxes.boxes()[2].text);
  std::string content = tx::readFile(temp_ + "\\TxCOGUI.trc");
  size_t first = content.find(": TxCOGUI:  ERROR: first\r\n");
  size_t second = content.find(": TxCOGUI:  ERROR: second\r\n");
  EXPECT_EQ(17u, first);
  EXPECT_NE(std::string::npos, second);
  EXPECT_GT(second, first);
}

TEST_F(TraceFolderTest, NoInformationWhileTheFallbackFileExists) {
  blockTraceFile();
  ASSERT_TRUE(tx::writeFile(temp_ + "\\TxCOGUI.trc", "earlier\r\n"));
  BoxCapture boxes;
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("appended"), nullptr, "\n"));
  EXPECT_EQ(0u, boxes.count());
  std::string content = tx::readFile(temp_ + "\\TxCOGUI.trc");
  EXPECT_EQ(0u, content.find("earlier\r\n"));
  EXPECT_NE(std::string::npos, content.find(": TxCOGUI: appended\r\n"));

  // Not shown yet, so a fallback file that is gone again brings the information.
  ASSERT_TRUE(DeleteFileA((temp_ + "\\TxCOGUI.trc").c_str()));
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("again"), nullptr, "\n"));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(informText(temp_), boxes.boxes()[0].text);
}

TEST_F(TraceFolderTest, WithoutTempTheFallbackIsCTemp) {
  blockTraceFile();
  setTemp("");
  CreateDirectoryA("c:\\temp", nullptr);
  const std::string fallback = "c:\\temp\\TxCOGUI.trc";
  const std::string keep = "c:\\temp\\TxCOGUI.trc.tx-saved";
  tx::removeTree(keep);
  if (tx::fileExists(fallback)) {
    ASSERT_TRUE(MoveFileA(fallback.c_str(), keep.c_str()));
  }

  BoxCapture boxes;
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("to c:\\temp"), nullptr, "\n"));
  std::string content = tx::readFile(fallback);
  DeleteFileA(fallback.c_str());
  if (tx::fileExists(keep)) MoveFileA(keep.c_str(), fallback.c_str());
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(informText("c:\\temp"), boxes.boxes()[0].text);
  EXPECT_EQ(": TxCOGUI: to c:\\temp\r\n", content.substr(17));
}

TEST_F(TraceFolderTest, NeitherPlaceOpensShowsCouldNotOpenTwice) {
  blockTraceFile();
  std::string missing = temp_ + "\\missing";
  setTemp(missing);
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, "nowhere", nullptr, nullptr, true));
  ASSERT_EQ(4u, boxes.count());
  EXPECT_EQ(informText(missing), boxes.boxes()[0].text);
  EXPECT_EQ(kCannotOpen, boxes.boxes()[1].text);
  EXPECT_EQ("", boxes.boxes()[1].caption);
  EXPECT_EQ(kCannotOpen, boxes.boxes()[2].text);
  EXPECT_EQ(" ERROR: nowhere", boxes.boxes()[3].text);
  EXPECT_FALSE(tx::fileExists(missing));
}

TEST_F(TraceFolderTest, TraceAskedForWhileATraceIsWrittenIsDropped) {
  blockTraceFile();
  BoxCapture boxes;
  bool nested = true;
  // The information box runs a message loop in the middle of the first trace.
  boxes.onBox([&](const CapturedBox& box) {
    if (box.caption == kInformCaption) nested = MTUtils::writeTrace(CTxBSTR("nested"), nullptr, "\n");
  });
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("outer"), nullptr, "\n"));
  EXPECT_FALSE(nested);
  ASSERT_EQ(1u, boxes.count());
  std::string content = tx::readFile(temp_ + "\\TxCOGUI.trc");
  EXPECT_EQ(": TxCOGUI: outer\r\n", content.substr(17));
  EXPECT_EQ(std::string::npos, content.find("nested"));
  // The guard is given back: the next trace is written.
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR("after"), nullptr, "\n"));
  EXPECT_NE(std::string::npos, tx::readFile(temp_ + "\\TxCOGUI.trc").find(": TxCOGUI: after\r\n"));
}

TEST_F(TraceFolderTest, LongMessagesAreCutAtTheLineBound) {
  BoxCapture boxes;
  // A message of 3000 characters: a line of 2399 characters and no line end.
  EXPECT_FALSE(MTUtils::writeTrace(CTxBSTR(std::string(3000, 'x').c_str()), nullptr, "\n"));
  std::string content = tx::readTrace();
  EXPECT_EQ(2399u, content.size());
  EXPECT_EQ(std::string(2399 - kHeader, 'x'), content.substr(kHeader));
  ASSERT_TRUE(DeleteFileA(tx::traceFilePath().c_str()));

  // The longest line that keeps its line end, and one character more.
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(std::string(2398 - kHeader, 'y').c_str()), nullptr, "\n"));
  EXPECT_EQ(2398u + 2u, tx::readTrace().size());
  ASSERT_TRUE(DeleteFileA(tx::traceFilePath().c_str()));
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(std::string(2399 - kHeader, 'z').c_str()), nullptr, "\n"));
  EXPECT_EQ(2399u, tx::readTrace().size());
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(TraceFolderTest, ReportOfAnOverlongMessageTracesBothReports) {
  BoxCapture boxes;
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, std::string(3000, 'q').c_str(), nullptr, nullptr, true));
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ(" ERROR: A generated message is too long. Contact support.", boxes.boxes()[0].text);
  EXPECT_EQ(2399u, boxes.boxes()[1].text.size());
  std::string content = tx::readTrace();
  const std::string tooLong = ": TxCOGUI:  ERROR: A generated message is too long. Contact support.\r\n";
  EXPECT_EQ(tooLong, content.substr(17, tooLong.size()));
  std::string second = content.substr(content.find('\n') + 1);
  EXPECT_EQ(2399u, second.size());
  EXPECT_EQ(0u, second.find_first_of("0123456789"));
}
