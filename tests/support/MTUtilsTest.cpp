// MTUtils: normalisation, composed messages, reports with their boxes and trace lines,
// module bookkeeping, environment values and the diagnostic file. Tests that must own
// the trace folder (replace or rename it) live in tests/trace, which runs alone.
#include <gtest/gtest.h>
#include <ctime>
#include <string>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "framework/ComPtr.h"
#include "support/MTUtils.h"

namespace {

const char kCaption[] = "Brisk Tarnix CAPE-OPEN";

class MTUtilsTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    MTUtils::setModuleName("TxCOGUI");
    MTUtils::setOwnerWindow(nullptr);
    SetErrorInfo(0, nullptr);
  }
  void TearDown() override { MTUtils::setOwnerWindow(nullptr); }

  // A text no other test (or test program running beside this one) writes.
  static std::string unique(const char* what) {
    return std::string(what) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  }

  static std::string composed(HRESULT code, const char* text, const char* where) {
    char buffer[MTUtils::kMessageSize];
    memset(buffer, 'z', sizeof buffer);
    MTUtils::composeMessage(buffer, code, text, where);
    return buffer;
  }

  // The system's text of a code as composeMessage asks for it; empty when there is none.
  static std::string systemText(DWORD code) {
    char text[2400] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
    return text;
  }

  static void setErrorInfo(const wchar_t* description, const wchar_t* source) {
    fw::ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(S_OK, CreateErrorInfo(create.put()));
    if (description) create->SetDescription(const_cast<LPOLESTR>(description));
    if (source) create->SetSource(const_cast<LPOLESTR>(source));
    fw::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, info.queryFrom(create.get(), IID_IErrorInfo));
    ASSERT_EQ(S_OK, SetErrorInfo(0, info.get()));
  }

  // The trace line (without its line end) that holds 'marker'; empty when none does. The
  // line starts 17 characters (date and time) before its ": TxCOGUI: ": another program's
  // line without line end may stand in front of it.
  static std::string traceLineWith(const std::string& marker) {
    std::string content = tx::readTrace();
    size_t at = content.find(marker);
    if (at == std::string::npos) return std::string();
    size_t module = content.rfind(": TxCOGUI: ", at);
    if (module == std::string::npos || module < 17) return std::string();
    size_t start = module - 17;
    size_t end = content.find('\n', at);
    std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
};

// A hidden top-level window to own boxes.
struct OwnerWindow {
  OwnerWindow() : window(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                         nullptr, nullptr)) {}
  fw::UniqueWindow window;
  HWND get() const { return window.get(); }
};

}  // namespace

TEST_F(MTUtilsTest, OnlyCodesTwoToNineHundredNinetyNineBecomeEFail) {
  EXPECT_EQ(E_FAIL, MTUtils::normalizeResult(2));
  EXPECT_EQ(E_FAIL, MTUtils::normalizeResult(100));
  EXPECT_EQ(E_FAIL, MTUtils::normalizeResult(101));
  EXPECT_EQ(E_FAIL, MTUtils::normalizeResult(999));
  EXPECT_EQ(0, MTUtils::normalizeResult(0));
  EXPECT_EQ(1, MTUtils::normalizeResult(1));
  EXPECT_EQ(1000, MTUtils::normalizeResult(1000));
  EXPECT_EQ(E_NOINTERFACE, MTUtils::normalizeResult(E_NOINTERFACE));
}

TEST_F(MTUtilsTest, ReportOfCodeHundredIsAnErrorTracedAndShownSystemModal) {
  BoxCapture boxes;
  std::string text = unique("internal failure");
  EXPECT_EQ(E_FAIL, MTUtils::reportError(100, text.c_str(), nullptr, nullptr, true));
  ASSERT_EQ(1u, boxes.count());
  // E_FAIL has neither system text nor code part.
  EXPECT_EQ(" ERROR: " + text, boxes.boxes()[0].text);
  EXPECT_EQ(kCaption, boxes.boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_SYSTEMMODAL), boxes.boxes()[0].type);
  EXPECT_EQ(nullptr, boxes.boxes()[0].owner);
  std::string line = traceLineWith(text);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(": TxCOGUI:  ERROR: " + text, line.substr(17));
}

TEST_F(MTUtilsTest, ReportOfCodeOneIsNoError) {
  BoxCapture boxes;
  std::string text = unique("only a note");
  EXPECT_EQ(1, MTUtils::reportError(1, text.c_str(), nullptr, nullptr, false));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(text, boxes.boxes()[0].text);
  // Not traced when the switch is off.
  EXPECT_EQ("", traceLineWith(text));
}

TEST_F(MTUtilsTest, NegativeCodesOtherThanEFailCarrySystemTextAndCode) {
  EXPECT_EQ(" ERROR: t", composed(E_FAIL, "t", nullptr));

  std::string noInterface = composed(E_NOINTERFACE, "t", nullptr);
  std::string system = systemText(E_NOINTERFACE);
  EXPECT_EQ(" ERROR: t" + (system.empty() ? "" : "\n" + system) + "(0x80004002)", noInterface);

  HRESULT notFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  system = systemText(notFound);
  ASSERT_FALSE(system.empty()) << "the system has a text for a Win32 code";
  EXPECT_EQ(" ERROR: t\n" + system + "(0x80070002)", composed(notFound, "t", nullptr));

  // The code part has no leading zeros.
  EXPECT_EQ(" ERROR: t" + (systemText(0x80000001).empty() ? std::string()
                               : "\n" + systemText(0x80000001)) + "(0x80000001)",
            composed(static_cast<HRESULT>(0x80000001), "t", nullptr));
}

TEST_F(MTUtilsTest, ReportReturnsTheCodeAndShowsTheComposedMessage) {
  BoxCapture boxes;
  EXPECT_EQ(E_NOINTERFACE, MTUtils::reportError(E_NOINTERFACE, "Unexpected error ", nullptr, nullptr, false));
  ASSERT_EQ(1u, boxes.count());
  const std::string& shown = boxes.boxes()[0].text;
  EXPECT_EQ(0u, shown.find(" ERROR: Unexpected error "));
  EXPECT_NE(std::string::npos, shown.find("80004002"));
  EXPECT_EQ(E_FAIL, MTUtils::reportFailure("x", nullptr, nullptr, false));
  EXPECT_EQ(" ERROR: x", boxes.boxes()[1].text);
}

TEST_F(MTUtilsTest, NullTextAndOrigin) {
  EXPECT_EQ("??", composed(0, nullptr, nullptr));
  EXPECT_EQ(" ERROR: ??", composed(E_FAIL, nullptr, nullptr));
  EXPECT_EQ("where: t", composed(0, "t", "where"));
  EXPECT_EQ("where:  ERROR: t", composed(E_FAIL, "t", "where"));
  EXPECT_EQ(": t", composed(0, "t", ""));
}

TEST_F(MTUtilsTest, ComErrorInformationIsAddedAndTaken) {
  setErrorInfo(L"Desc", L"Src");
  EXPECT_EQ("t\n(Desc: Src)", composed(0, "t", nullptr));
  // Taken: the next message has none.
  IErrorInfo* left = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &left));
  EXPECT_EQ("t", composed(0, "t", nullptr));

  setErrorInfo(L"Desc", nullptr);
  EXPECT_EQ(" ERROR: t\n(Desc: )", composed(E_FAIL, "t", nullptr));

  // Order: text, error information, system text, code part.
  setErrorInfo(L"Desc", L"Src");
  std::string system = systemText(E_NOINTERFACE);
  EXPECT_EQ(" ERROR: t\n(Desc: Src)" + (system.empty() ? "" : "\n" + system) + "(0x80004002)",
            composed(E_NOINTERFACE, "t", nullptr));
}

TEST_F(MTUtilsTest, ComErrorInformationWithoutDescriptionAddsNothing) {
  setErrorInfo(L"", L"Src");
  EXPECT_EQ("t", composed(0, "t", nullptr));
  setErrorInfo(nullptr, L"Src");
  EXPECT_EQ(" ERROR: t", composed(E_FAIL, "t", nullptr));
  IErrorInfo* left = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &left));
}

TEST_F(MTUtilsTest, ReportCarriesErrorInformationIntoBoxAndTrace) {
  BoxCapture boxes;
  std::string text = unique("with info");
  setErrorInfo(L"component said no", L"Sample.Component");
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, text.c_str(), nullptr, nullptr, true));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(" ERROR: " + text + "\n(component said no: Sample.Component)", boxes.boxes()[0].text);
  std::string content = tx::readTrace();
  EXPECT_NE(std::string::npos, content.find(text + "\r\n(component said no: Sample.Component)\r\n"));
}

TEST_F(MTUtilsTest, ErrorInformationPartIsBounded) {
  std::wstring description(3000, L'd');
  setErrorInfo(description.c_str(), L"Src");
  std::string message = composed(0, "t", nullptr);
  EXPECT_EQ(1u + 1998u, message.size());
  EXPECT_EQ(0u, message.find("t\n(ddd"));
}

TEST_F(MTUtilsTest, OverlongMessageIsCutAndReportedOnce) {
  BoxCapture boxes;
  std::string text(3000, 'm');
  std::string message = composed(1, text.c_str(), nullptr);
  EXPECT_EQ(2399u, message.size());
  EXPECT_EQ(std::string(2399, 'm'), message);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(" ERROR: A generated message is too long. Contact support.", boxes.boxes()[0].text);

  // Whatever follows the cut text (system text, code part) stays within the bound.
  boxes.clear();
  setErrorInfo(L"Desc", L"Src");
  message = composed(E_NOINTERFACE, text.c_str(), "origin");
  EXPECT_EQ(2399u, message.size());
  EXPECT_EQ(0u, message.find("origin:  ERROR: mmm"));
  EXPECT_EQ(1u, boxes.count());
}

TEST_F(MTUtilsTest, OwnerIsTheGivenWindowElseTheDefaultOwner) {
  OwnerWindow given, fallback;
  ASSERT_NE(nullptr, given.get());
  BoxCapture boxes;
  MTUtils::reportError(E_FAIL, "a", nullptr, given.get(), false);
  MTUtils::setOwnerWindow(fallback.get());
  EXPECT_EQ(fallback.get(), MTUtils::ownerWindow());
  MTUtils::reportError(E_FAIL, "b", nullptr, nullptr, false);
  MTUtils::reportError(E_FAIL, "c", nullptr, given.get(), false);
  ASSERT_EQ(3u, boxes.count());
  EXPECT_EQ(given.get(), boxes.boxes()[0].owner);
  EXPECT_EQ(fallback.get(), boxes.boxes()[1].owner);
  EXPECT_EQ(given.get(), boxes.boxes()[2].owner);
  for (const CapturedBox& box : boxes.boxes()) EXPECT_EQ(0u, box.type & MB_SYSTEMMODAL) << box.text;
}

TEST_F(MTUtilsTest, ShowMessageWithoutOwnerIsSystemModal) {
  BoxCapture boxes;
  MTUtils::showMessage("info", "cap", MB_ICONINFORMATION, nullptr);
  OwnerWindow owner;
  MTUtils::showMessage("owned", "cap2", MB_ICONINFORMATION, owner.get());
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ("info", boxes.boxes()[0].text);
  EXPECT_EQ("cap", boxes.boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_SYSTEMMODAL), boxes.boxes()[0].type);
  EXPECT_EQ(nullptr, boxes.boxes()[0].owner);
  EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.boxes()[1].type);
  EXPECT_EQ(owner.get(), boxes.boxes()[1].owner);
}

TEST_F(MTUtilsTest, TraceErrorTracesButShowsNothing) {
  BoxCapture boxes;
  std::string text = unique("quiet");
  EXPECT_EQ(E_FAIL, MTUtils::traceError(5, text.c_str(), "origin"));
  EXPECT_EQ(0u, boxes.count());
  std::string line = traceLineWith(text);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(": TxCOGUI: origin:  ERROR: " + text, line.substr(17));
}

TEST_F(MTUtilsTest, TraceLineHasDateTimeModuleOriginAndMessage) {
  BoxCapture boxes;
  std::string text = unique("trace format");
  time_t before = time(nullptr);
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(text.c_str()), "origin", "|suffix\n"));
  time_t after = time(nullptr);
  EXPECT_EQ(0u, boxes.count());
  std::string line = traceLineWith(text);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(": TxCOGUI: origin" + text + "|suffix", line.substr(17));

  // "%m/%d/%y %H:%M:%S" of the local clock, taken while the line was written.
  int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  ASSERT_EQ(7, sscanf(line.c_str(), "%2d/%2d/%2d %2d:%2d:%2d%c", &month, &day, &year, &hour, &minute, &second, &tail));
  EXPECT_EQ(':', tail);
  EXPECT_EQ('/', line[2]);
  EXPECT_EQ('/', line[5]);
  EXPECT_EQ(' ', line[8]);
  struct tm written = {};
  written.tm_year = 100 + year;
  written.tm_mon = month - 1;
  written.tm_mday = day;
  written.tm_hour = hour;
  written.tm_min = minute;
  written.tm_sec = second;
  written.tm_isdst = -1;
  time_t stamp = mktime(&written);
  EXPECT_GE(stamp, before - 1);
  EXPECT_LE(stamp, after + 1);
}

TEST_F(MTUtilsTest, TraceOfNullMessageAndNoSuffix) {
  std::string origin = unique("null message");
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(), origin.c_str(), "\n"));
  std::string line = traceLineWith(origin);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(": TxCOGUI: " + origin, line.substr(17));
}

TEST_F(MTUtilsTest, TraceLineIsWrittenCharacterForCharacter) {
  std::string text = unique("percent %s %d %n");
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(text.c_str()), nullptr, "\n"));
  EXPECT_FALSE(traceLineWith(text).empty());
}

TEST_F(MTUtilsTest, ModuleNameIsCutAtTheFirstDotAndBounded) {
  EXPECT_TRUE(MTUtils::setModuleName("TxCOGUI"));
  EXPECT_STREQ("TxCOGUI", MTUtils::getModuleName());
  EXPECT_TRUE(MTUtils::setModuleName("TxCOGUI.dll"));
  EXPECT_STREQ("TxCOGUI", MTUtils::getModuleName());
  EXPECT_TRUE(MTUtils::setModuleName("a.b.c"));
  EXPECT_STREQ("a", MTUtils::getModuleName());
  std::string longName(300, 'n');
  EXPECT_TRUE(MTUtils::setModuleName(longName.c_str()));
  EXPECT_EQ(std::string(259, 'n'), MTUtils::getModuleName());
}

TEST_F(MTUtilsTest, DllPathOfTheLoadedModule) {
  HMODULE module = LoadLibraryA(tx::productDll().c_str());
  ASSERT_NE(nullptr, module);
  char expected[MAX_PATH] = "";
  GetModuleFileNameA(module, expected, MAX_PATH);
  BoxCapture boxes;
  MTUtils::setModuleName("TxCOGUI.dll");
  EXPECT_EQ(expected, MTUtils::getDllPath(nullptr));
  EXPECT_EQ(expected, MTUtils::getDllPath("TxCOGUI"));
  std::string folder(expected);
  folder.resize(folder.find_last_of('\\'));
  EXPECT_EQ(folder, MTUtils::getDllDirectory());

  // Naming another module drops the folder kept for the first one.
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string selfName = strrchr(self, '\\') + 1;
  MTUtils::setModuleName(selfName.c_str());
  std::string selfFolder(self);
  selfFolder.resize(selfFolder.find_last_of('\\'));
  EXPECT_EQ(selfFolder, MTUtils::getDllDirectory());
  EXPECT_EQ(0u, boxes.count());
  FreeLibrary(module);
}

TEST_F(MTUtilsTest, DllPathWithoutModuleNameOrModule) {
  BoxCapture boxes;
  MTUtils::setModuleName("");
  EXPECT_EQ("", MTUtils::getDllPath(nullptr));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("MTUtils must be initialized with setModuleName(<dllName>)", boxes.boxes()[0].text);
  EXPECT_EQ("", boxes.boxes()[0].caption);

  MTUtils::setModuleName("NoSuchModule");
  EXPECT_EQ("", MTUtils::getDllPath(nullptr));
  EXPECT_EQ("", MTUtils::getDllDirectory());
  ASSERT_EQ(3u, boxes.count());
  const CapturedBox& box = boxes.boxes()[1];
  SetLastError(ERROR_MOD_NOT_FOUND);
  EXPECT_EQ("Error getting the dll path for NoSuchModule: " + MTUtils::lastErrorText(), box.text);
  EXPECT_EQ("NoSuchModule", box.caption);
}

TEST_F(MTUtilsTest, LastErrorTextAndWinResultCheck) {
  SetLastError(ERROR_ACCESS_DENIED);
  std::string expected = systemText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(expected.empty());
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(expected, MTUtils::lastErrorText());

  BoxCapture boxes;
  HANDLE out = reinterpret_cast<HANDLE>(7);
  EXPECT_EQ(0, MTUtils::checkWinResult(&out, reinterpret_cast<HANDLE>(5), "fine", true));
  EXPECT_EQ(reinterpret_cast<HANDLE>(5), out);
  EXPECT_EQ(0, MTUtils::checkWinResult(&out, nullptr, "fine", false));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(0u, boxes.count());

  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(E_FAIL, MTUtils::checkWinResult(&out, nullptr, "opening", true));
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(E_FAIL, MTUtils::checkWinResult(&out, reinterpret_cast<HANDLE>(3), "closing", false));
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ("opening: " + expected, boxes.boxes()[0].text);
  EXPECT_EQ("TxCOGUI", boxes.boxes()[0].caption);
  EXPECT_EQ("closing: " + expected, boxes.boxes()[1].text);
}

TEST_F(MTUtilsTest, EnvironmentValuesUpToTwoHundredFiftyNineCharacters) {
  BoxCapture boxes;
  std::string fits(259, 'v');
  ASSERT_TRUE(SetEnvironmentVariableA("TX_TEST_VALUE", fits.c_str()));
  EXPECT_EQ(fits, MTUtils::getEnvironmentValue("TX_TEST_VALUE"));
  EXPECT_EQ(0u, boxes.count());

  std::string tooLong(260, 'v');
  ASSERT_TRUE(SetEnvironmentVariableA("TX_TEST_VALUE", tooLong.c_str()));
  EXPECT_EQ("", MTUtils::getEnvironmentValue("TX_TEST_VALUE"));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("Value of Environment Variable is too long", boxes.boxes()[0].text);
  EXPECT_EQ("TX_TEST_VALUE", boxes.boxes()[0].caption);

  SetEnvironmentVariableA("TX_TEST_VALUE", nullptr);
  EXPECT_EQ("", MTUtils::getEnvironmentValue("TX_TEST_VALUE"));
  EXPECT_EQ(1u, boxes.count());
}

TEST_F(MTUtilsTest, DiagnosticFileInTemp) {
  char base[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + unique("txshow");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  SetEnvironmentVariableA("TMP", (folder + "\\").c_str());
  SetEnvironmentVariableA("TEMP", (folder + "\\").c_str());
  BoxCapture boxes;
  std::string file = folder + "\\txshow.txt";
  EXPECT_EQ(0, traceToTempFile("first line"));
  EXPECT_EQ(0, traceToTempFile("second %s line"));
  EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ("first line\r\nsecond %s line\r\n", tx::readFile(file));
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());

  // A TEMP folder that does not exist: the failure is shown, with the text and the path.
  std::string missing = folder + "\\missing";
  SetEnvironmentVariableA("TMP", (missing + "\\").c_str());
  SetEnvironmentVariableA("TEMP", (missing + "\\").c_str());
  char shownFolder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, shownFolder);
  EXPECT_EQ(IDOK, traceToTempFile("lost"));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("error tracing 'lost' (arg='2147483647') to file '" + std::string(shownFolder) +
                "\\txshow.txt' in mode 'a'",
            boxes.boxes()[0].text);
}

TEST_F(MTUtilsTest, AppMessageGivesTheAnswer) {
  BoxCapture boxes;
  boxes.queueAnswers({IDNO});
  EXPECT_EQ(IDNO, showAppMessage("question?", "not shown", MB_YESNO | MB_ICONQUESTION, 0));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ("question?", boxes.boxes()[0].text);
  EXPECT_NE("not shown", boxes.boxes()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.boxes()[0].type & ~MB_SYSTEMMODAL);
}
