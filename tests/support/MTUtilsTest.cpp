// MTUtils: composed messages, reports (boxes, trace lines), module bookkeeping, environment, txshow.txt.
#include <gtest/gtest.h>
#include <ctime>
#include "SupportFixtures.h"

namespace {
using MTUtilsTest = SupportTest;

std::string composed(HRESULT code, const char* text, const char* where) {
  char buffer[MTUtils::kMessageSize];
  memset(buffer, 'z', sizeof buffer);
  MTUtils::composeMessage(buffer, code, text, where);
  return buffer;
}

// The system's text of a code as composeMessage asks for it; empty when there is none.
std::string systemText(DWORD code) {
  char text[2400] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
  return text;
}
// What follows the text of a failure code other than E_FAIL: system text and code part.
std::string codePart(DWORD code) {
  char part[16];
  snprintf(part, sizeof part, "(0x%lX)", static_cast<unsigned long>(code));
  return (systemText(code).empty() ? "" : "\n" + systemText(code)) + part;
}

void setErrorInfo(const wchar_t* description, const wchar_t* source) {
  fw::ComPtr<ICreateErrorInfo> create;
  ASSERT_EQ(S_OK, CreateErrorInfo(create.put()));
  if (description) create->SetDescription(const_cast<LPOLESTR>(description));
  if (source) create->SetSource(const_cast<LPOLESTR>(source));
  fw::ComPtr<IErrorInfo> info;
  ASSERT_EQ(S_OK, info.queryFrom(create.get(), IID_IErrorInfo));
  ASSERT_EQ(S_OK, SetErrorInfo(0, info.get()));
}

// The trace line that holds 'marker', from its date (17 characters before ": TxCOGUI: ": another program's
// unended line may stand in front) to its line end; "-" when there is none.
std::string tracedLine(const std::string& marker) {
  std::string content = tx::readTrace();
  size_t at = content.find(marker);
  size_t module = at == std::string::npos ? at : content.rfind(": TxCOGUI: ", at);
  if (module == std::string::npos || module < 17) return "-";
  std::string line = content.substr(module - 17, content.find('\n', at) - module + 17);
  return line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}
}  // namespace

TEST_F(MTUtilsTest, ComposedMessages) {
  for (HRESULT code : {2, 100, 101, 999}) EXPECT_EQ(E_FAIL, MTUtils::normalizeResult(code)) << code;
  for (HRESULT code : {0, 1, 1000, int(E_NOINTERFACE)}) EXPECT_EQ(code, MTUtils::normalizeResult(code));
  ASSERT_FALSE(systemText(0x80070002).empty()) << "the system has a text for a Win32 code";
  const std::string tail = codePart(0x80004002);
  const struct { HRESULT code; const char *text, *where; std::string expected; const wchar_t *description, *source; }
  rows[] = {
      {E_FAIL, "t", nullptr, " ERROR: t"},  // neither system text nor code part
      {E_NOINTERFACE, "t", nullptr, " ERROR: t" + tail}, {0, nullptr, nullptr, "??"},
      {HRESULT(0x80070002), "t", nullptr, " ERROR: t" + codePart(0x80070002)},
      {HRESULT(0x80000001), "t", nullptr, " ERROR: t" + codePart(0x80000001)},  // no leading zeros
      {E_FAIL, nullptr, nullptr, " ERROR: ??"}, {0, "t", "where", "where: t"}, {0, "t", "", ": t"},
      {E_FAIL, "t", "where", "where:  ERROR: t"},
      // Error information: set before, taken by the message; its order: text, information, system text, code.
      {0, "t", nullptr, "t\n(Desc: Src)", L"Desc", L"Src"}, {E_FAIL, "t", nullptr, " ERROR: t", nullptr, L"Src"},
      {E_NOINTERFACE, "t", nullptr, " ERROR: t\n(Desc: Src)" + tail, L"Desc", L"Src"},
      {E_FAIL, "t", nullptr, " ERROR: t\n(Desc: )", L"Desc"},
      {0, "t", nullptr, "t", L"", L"Src"}};  // without a description the information adds nothing
  for (const auto& row : rows) {
    if (row.description || row.source) setErrorInfo(row.description, row.source);
    EXPECT_EQ(row.expected, composed(row.code, row.text, row.where));
    IErrorInfo* left = nullptr;
    EXPECT_EQ(S_FALSE, GetErrorInfo(0, &left)) << "the information is taken: " << row.expected;
  }
  // The error information part is bounded; so is the whole, and a text cut to fit is reported once.
  setErrorInfo(std::wstring(3000, L'd').c_str(), L"Src");
  std::string message = composed(0, "t", nullptr);
  EXPECT_EQ(1u + 1998u, message.size()); EXPECT_EQ(0u, message.find("t\n(ddd"));
  BoxCapture boxes;
  std::string text(3000, 'm');
  EXPECT_EQ(std::string(2399, 'm'), composed(1, text.c_str(), nullptr));
  EXPECT_EQ(Texts{" ERROR: A generated message is too long. Contact support."}, boxes.texts());
  setErrorInfo(L"Desc", L"Src");
  message = composed(E_NOINTERFACE, text.c_str(), "origin");
  EXPECT_EQ(2399u, message.size()); EXPECT_EQ(0u, message.find("origin:  ERROR: mmm")); EXPECT_EQ(2u, boxes.count());
}

TEST_F(MTUtilsTest, ReportsShowTraceAndGiveTheirCode) {
  BoxCapture boxes;
  std::string t[6];
  for (int i = 0; i < 6; ++i) t[i] = "report" + tx::newGuidText();
  EXPECT_EQ(E_FAIL, MTUtils::reportError(100, t[0].c_str(), nullptr, nullptr, true));
  EXPECT_EQ(1, MTUtils::reportError(1, t[1].c_str(), nullptr, nullptr, false));  // no error
  EXPECT_EQ(E_NOINTERFACE, MTUtils::reportError(E_NOINTERFACE, t[2].c_str(), nullptr, nullptr, false));
  EXPECT_EQ(E_FAIL, MTUtils::reportFailure(t[3].c_str(), nullptr, nullptr, false));
  EXPECT_EQ(E_FAIL, MTUtils::traceError(5, t[4].c_str(), "origin"));  // traced, never shown
  setErrorInfo(L"component said no", L"Sample.Component");
  EXPECT_EQ(E_FAIL, MTUtils::reportError(E_FAIL, t[5].c_str(), nullptr, nullptr, true));
  EXPECT_EQ((Texts{" ERROR: " + t[0], t[1], " ERROR: " + t[2] + codePart(0x80004002), " ERROR: " + t[3],
                   " ERROR: " + t[5] + "\n(component said no: Sample.Component)"}), boxes.texts());
  for (const CapturedBox& box : boxes.boxes())
    EXPECT_EQ(std::make_tuple("Brisk Tarnix CAPE-OPEN", UINT(MB_OK | MB_SYSTEMMODAL), HWND()),
              std::tie(box.caption, box.type, box.owner));
  EXPECT_EQ(": TxCOGUI:  ERROR: " + t[0], tracedLine(t[0]).substr(17));
  EXPECT_EQ(": TxCOGUI: origin:  ERROR: " + t[4], tracedLine(t[4]).substr(17));
  for (int i : {1, 2, 3}) EXPECT_EQ("-", tracedLine(t[i])) << "not traced when the switch is off";
  // The error information goes into the trace with Windows line ends.
  EXPECT_NE(std::string::npos, tx::readTrace().find(t[5] + "\r\n(component said no: Sample.Component)\r\n"));
}

TEST_F(MTUtilsTest, BoxOwnerIsTheGivenWindowElseTheDefaultOwnerElseSystemModal) {
  fw::UniqueWindow given(CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, 0, 0, 0, 0));
  fw::UniqueWindow fallback(CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, 0, 0, 0, 0));
  ASSERT_NE(nullptr, given.get());
  BoxCapture boxes;
  MTUtils::reportError(E_FAIL, "a", nullptr, given.get(), false);
  MTUtils::setOwnerWindow(fallback.get());
  EXPECT_EQ(fallback.get(), MTUtils::ownerWindow());
  MTUtils::reportError(E_FAIL, "b", nullptr, nullptr, false);
  MTUtils::reportError(E_FAIL, "c", nullptr, given.get(), false);
  MTUtils::setOwnerWindow(nullptr);
  MTUtils::showMessage("owned", "cap2", MB_ICONINFORMATION, given.get());
  MTUtils::showMessage("info", "cap", MB_ICONINFORMATION, nullptr);
  ASSERT_EQ(5u, boxes.count());
  const HWND owners[] = {given.get(), fallback.get(), given.get(), given.get(), nullptr};
  const UINT types[] = {0, 0, 0, MB_ICONINFORMATION, MB_ICONINFORMATION | MB_SYSTEMMODAL};
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(std::tie(owners[i], types[i]), std::tie(boxes.boxes()[i].owner, boxes.boxes()[i].type)) << i;
  EXPECT_EQ("info", boxes.boxes()[4].text); EXPECT_EQ("cap", boxes.boxes()[4].caption);
  // The application's box: its answer, its type, the module as caption.
  boxes.clear(), boxes.queueAnswers({IDNO});
  EXPECT_EQ(IDNO, showAppMessage("question?", "not shown", MB_YESNO | MB_ICONQUESTION, 0));
  ASSERT_EQ(Texts{"question?"}, boxes.texts()); EXPECT_EQ("TxCOGUI", boxes.boxes()[0].caption);
  EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.boxes()[0].type & ~MB_SYSTEMMODAL);
}

TEST_F(MTUtilsTest, TraceLineHasDateTimeModuleOriginAndMessage) {
  BoxCapture boxes;
  std::string text = "trace format %s %d %n" + tx::newGuidText();  // written character for character
  time_t before = time(nullptr);
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(text.c_str()), "origin", "|suffix\n"));
  time_t after = time(nullptr);
  EXPECT_EQ(0u, boxes.count());
  std::string line = tracedLine(text);
  EXPECT_EQ(": TxCOGUI: origin" + text + "|suffix", line.substr(17));
  // "%m/%d/%y %H:%M:%S" of the local clock, taken while the line was written.
  struct tm written = {};
  char tail = 0;
  ASSERT_EQ(7, sscanf(line.c_str(), "%2d/%2d/%2d %2d:%2d:%2d%c", &written.tm_mon, &written.tm_mday, &written.tm_year,
                      &written.tm_hour, &written.tm_min, &written.tm_sec, &tail));
  EXPECT_EQ("// :", line.substr(2, 1) + line.substr(5, 1) + line.substr(8, 1) + tail);
  written.tm_year += 100, written.tm_mon -= 1, written.tm_isdst = -1;
  EXPECT_GE(mktime(&written), before - 1); EXPECT_LE(mktime(&written), after + 1);
  // A null message and no suffix.
  std::string origin = "null message" + tx::newGuidText();
  EXPECT_TRUE(MTUtils::writeTrace(CTxBSTR(), origin.c_str(), "\n"));
  EXPECT_EQ(": TxCOGUI: " + origin, tracedLine(origin).substr(17));
}

TEST_F(MTUtilsTest, ModuleNameAndDllPath) {
  const std::pair<std::string, std::string> names[] = {{"TxCOGUI", "TxCOGUI"}, {"TxCOGUI.dll", "TxCOGUI"},
      {"a.b.c", "a"}, {std::string(300, 'n'), std::string(259, 'n')}};
  for (const auto& name : names)
    EXPECT_EQ(name.second, MTUtils::setModuleName(name.first.c_str()) ? MTUtils::getModuleName() : "refused");
  HMODULE module = LoadLibraryA(tx::productDll().c_str());
  ASSERT_NE(nullptr, module);
  char dll[MAX_PATH] = "", self[MAX_PATH] = "";
  GetModuleFileNameA(module, dll, MAX_PATH), GetModuleFileNameA(nullptr, self, MAX_PATH);
  BoxCapture boxes;
  MTUtils::setModuleName("TxCOGUI.dll");
  EXPECT_EQ(dll, MTUtils::getDllPath(nullptr)); EXPECT_EQ(dll, MTUtils::getDllPath("TxCOGUI"));
  EXPECT_EQ(std::string(dll, strrchr(dll, '\\')), MTUtils::getDllDirectory());
  MTUtils::setModuleName(strrchr(self, '\\') + 1);  // another module: the folder kept for the first one goes
  EXPECT_EQ(std::string(self, strrchr(self, '\\')), MTUtils::getDllDirectory());
  FreeLibrary(module);
  MTUtils::setModuleName("");
  EXPECT_EQ("", MTUtils::getDllPath(nullptr));
  MTUtils::setModuleName("NoSuchModule");
  EXPECT_EQ("", MTUtils::getDllPath(nullptr)); EXPECT_EQ("", MTUtils::getDllDirectory());
  SetLastError(ERROR_MOD_NOT_FOUND);
  std::string notFound = "Error getting the dll path for NoSuchModule: " + MTUtils::lastErrorText();
  ASSERT_EQ((Texts{"MTUtils must be initialized with setModuleName(<dllName>)", notFound, notFound}), boxes.texts());
  EXPECT_EQ("", boxes.boxes()[0].caption); EXPECT_EQ("NoSuchModule", boxes.boxes()[1].caption);
}

TEST_F(MTUtilsTest, LastErrorTextWinResultCheckAndEnvironmentValues) {
  std::string denied = systemText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  SetLastError(ERROR_ACCESS_DENIED); EXPECT_EQ(denied, MTUtils::lastErrorText());
  BoxCapture boxes;
  HANDLE out = reinterpret_cast<HANDLE>(7), five = reinterpret_cast<HANDLE>(5);
  EXPECT_EQ(0, MTUtils::checkWinResult(&out, five, "fine", true)); EXPECT_EQ(five, out);
  EXPECT_EQ(0, MTUtils::checkWinResult(&out, nullptr, "fine", false)); EXPECT_EQ(nullptr, out);
  SetLastError(ERROR_ACCESS_DENIED); EXPECT_EQ(E_FAIL, MTUtils::checkWinResult(&out, nullptr, "opening", true));
  SetLastError(ERROR_ACCESS_DENIED); EXPECT_EQ(E_FAIL, MTUtils::checkWinResult(&out, five, "closing", false));
  // Environment values up to 259 characters.
  std::string fits(259, 'v'), tooLong(260, 'v');
  EXPECT_EQ(fits, (EnvValue("TX_TEST_VALUE", fits.c_str()), MTUtils::getEnvironmentValue("TX_TEST_VALUE")));
  EXPECT_EQ("", (EnvValue("TX_TEST_VALUE", tooLong.c_str()), MTUtils::getEnvironmentValue("TX_TEST_VALUE")));
  EXPECT_EQ("", MTUtils::getEnvironmentValue("TX_TEST_VALUE"));
  ASSERT_EQ((Texts{"opening: " + denied, "closing: " + denied, "Value of Environment Variable is too long"}),
            boxes.texts());
  EXPECT_EQ("TxCOGUI", boxes.boxes()[0].caption); EXPECT_EQ("TX_TEST_VALUE", boxes.boxes()[2].caption);
}

TEST_F(MTUtilsTest, DiagnosticFileInTemp) {
  std::string folder = tx::makeTempFolder("txshow");
  BoxCapture boxes;
  {
    EnvValue tmp("TMP", (folder + "\\").c_str()), temp("TEMP", (folder + "\\").c_str());
    EXPECT_EQ(0, traceToTempFile("first line")); EXPECT_EQ(0, traceToTempFile("second %s line"));
    EXPECT_EQ("first line\r\nsecond %s line\r\n", tx::readFile(folder + "\\txshow.txt"));
  }
  // A TEMP folder that does not exist: the failure is shown, with the text and the path.
  EnvValue tmp("TMP", (folder + "\\missing\\").c_str()), temp("TEMP", (folder + "\\missing\\").c_str());
  char shown[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, shown);
  EXPECT_EQ(IDOK, traceToTempFile("lost"));
  tx::removeTree(folder);
  const std::string lost = "error tracing 'lost' (arg='2147483647') to file '" + std::string(shown) + "\\txshow.txt'";
  EXPECT_EQ(Texts{lost + " in mode 'a'"}, boxes.texts());
}
