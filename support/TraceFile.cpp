#include "support/TraceFile.h"
#include <shlobj.h>
#include <cstring>
#include <ctime>
#include <string>
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "support/ModuleInfo.h"
#include "support/Reporter.h"

namespace {

// Set up once and kept for the process; touched only from the host's one user-interface
// thread, so unlocked. The busy flag stops a trace from re-entering itself through a box
// that runs a message loop while the trace is written.
std::string g_traceFolder;
bool g_informOnce = true;
bool g_traceBusy = false;

const size_t kFolderLimit = 260;
const char kTraceProblem[] = "problem writing trace file";
const char kCannotOpenTrace[] = "Could not open trace file";

// Creates every missing level of 'folder'; true when it exists afterwards.
bool makeFolders(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t cut = folder.find_last_of(L'\\');
  if (cut != std::wstring::npos && cut > 2 && !makeFolders(folder.substr(0, cut))) return false;
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// A failed set-up is tried again on the next trace.
bool prepareTraceFolder() {
  if (!g_traceFolder.empty()) return true;
  wchar_t appData[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
    Reporter::showMessage(kTraceProblem, "", 0, nullptr);
    return false;
  }
  std::wstring folder = std::wstring(appData) + L"\\Briskware\\Brisk Tarnix CAPE-OPEN";
  // A fresh profile has no "Briskware" folder yet: every missing level is made.
  if (folder.size() >= kFolderLimit || !makeFolders(folder)) {
    Reporter::showMessage(kTraceProblem, "", 0, nullptr);
    return false;
  }
  g_traceFolder = narrowFromWide(folder);
  return true;
}

bool fileExists(const std::string& path) {
  return GetFileAttributesW(wideFromNarrow(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Appending and reading; the line's bytes (UTF-8) are written as they are.
FILE* openForAppend(const std::string& path) { return _wfopen(wideFromNarrow(path).c_str(), L"a+"); }

// "MM/DD/YY HH:MM:SS: module: origin" of the local clock, then the message and the suffix,
// cut as a whole to the line's bound (the suffix is the first to go).
std::string traceLine(const char* text, const char* origin, const char* suffix) {
  _tzset();
  time_t now = time(nullptr);
  struct tm local = {};
  localtime_s(&local, &now);
  char date[16], clock[16];
  strftime(date, sizeof date, "%m/%d/%y", &local);
  strftime(clock, sizeof clock, "%H:%M:%S", &local);
  std::string line = std::string(date) + " " + clock + ": " + ModuleInfo::getModuleName() + ": " + origin + text;
  if (suffix) line += suffix;
  cutNarrow(line, TraceFile::kLineSize - 1);  // never inside a character
  return line;
}

}  // namespace

bool TraceFile::writeTrace(CTxBSTR message, const char* where, const char* suffix) {
  if (g_traceBusy) return false;
  g_traceBusy = true;
  bool ok = false;
  try {
    if (prepareTraceFolder()) {
      std::string path = g_traceFolder + "\\" + ModuleInfo::getModuleName() + ".trc";
      fw::UniqueFile file(openTraceFile(path.c_str()));
      if (!file) {
        // openTraceFile has said so already; the user sees it twice.
        Reporter::showMessage(kCannotOpenTrace, "", 0, nullptr);
      } else {
        const char* origin = where ? where : "";
        const char* text = static_cast<const char*>(message);
        fputs(traceLine(text ? text : "", origin, suffix).c_str(), file.get());
        file.close();
        size_t messageLength = text ? strlen(text) : 0;
        ok = messageLength + strlen(ModuleInfo::getModuleName()) + strlen(origin) + 10 < kLineSize;
      }
    }
  } catch (...) {
    Reporter::showMessage(kTraceProblem, "", 0, nullptr);
    ok = false;
  }
  g_traceBusy = false;
  return ok;
}

FILE* TraceFile::openTraceFile(const char* path) {
  if (!path) return nullptr;
  FILE* file = openForAppend(path);
  if (file) return file;

  const char* name = path;
  const char* lastSlash = strrchr(path, '\\');
  if (lastSlash && strlen(path) > 1) name = lastSlash + 1;
  std::string folder = ModuleInfo::getEnvironmentValue("TEMP");
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) folder = "c:\\temp";
  std::string fallback = folder + "\\" + name;

  if (g_informOnce && !fileExists(fallback)) {
    std::string text = std::string("Since trace file at installation directory (") + path +
                       ") could not be written, trace file will be written to '" + folder + "'.";
    Reporter::showMessage(text.c_str(), "Brisk Calorix CAPE-OPEN 1.0 Information message", MB_ICONINFORMATION,
                          nullptr);
    g_informOnce = false;
  }
  file = openForAppend(fallback);
  if (!file) Reporter::showMessage(kCannotOpenTrace, "", 0, nullptr);
  return file;
}
