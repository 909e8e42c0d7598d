#include "support/MTUtils.h"
#include <shlobj.h>
#include <ctime>
#include <cstring>
#include <cerrno>
#include <direct.h>
#include <sys/stat.h>
#include "framework/Raii.h"

const char* const MTUtils::kCaption = "Brisk Tarnix CAPE-OPEN";

namespace {

const size_t kNameSize = 260;
const size_t kErrorInfoSize = 1999;
const size_t kCodePartSize = 19;

// The process-wide state of the reports: touched only from the host's one user-interface
// thread (the DLL's class is apartment threaded), so none of it is locked.
char g_moduleName[kNameSize] = "";
char g_moduleBaseName[kNameSize] = "";
std::string g_moduleFolder;
bool g_moduleFolderKnown = false;
HWND g_ownerWindow = nullptr;
char g_traceFolder[kNameSize] = "";
bool g_traceFolderReady = false;
bool g_informOnce = true;
bool g_traceBusy = false;

const char kTraceProblem[] = "problem writing trace file";
const char kCannotOpenTrace[] = "Could not open trace file";

// Appends 'text' to the zero-terminated 'buffer' of 'size' bytes; cuts what does not fit.
void appendBounded(char* buffer, size_t size, const char* text) {
  size_t used = strnlen(buffer, size);
  if (!text || used + 1 >= size) return;
  size_t room = size - 1 - used;
  size_t length = strnlen(text, room);
  memcpy(buffer + used, text, length);
  buffer[used + length] = '\0';
}

// Creates every missing level of 'folder'; true when it exists afterwards.
bool makeFolders(const std::string& folder) {
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t cut = folder.find_last_of('\\');
  if (cut != std::string::npos && cut > 2 && !makeFolders(folder.substr(0, cut))) return false;
  return _mkdir(folder.c_str()) == 0 || errno == EEXIST;
}

bool prepareTraceFolder() {
  if (g_traceFolderReady) return true;
  char appData[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
    MTUtils::showMessage(kTraceProblem, "", 0, nullptr);
    return false;
  }
  std::string folder = std::string(appData) + "\\Briskware\\Brisk Tarnix CAPE-OPEN";
  // A fresh profile has no "Briskware" folder yet: every missing level is made.
  if (folder.size() >= kNameSize || !makeFolders(folder)) {
    MTUtils::showMessage(kTraceProblem, "", 0, nullptr);
    return false;
  }
  memcpy(g_traceFolder, folder.c_str(), folder.size() + 1);
  g_traceFolderReady = true;
  return true;
}

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

HRESULT MTUtils::normalizeResult(HRESULT code) {
  return (code >= 2 && code <= 999) ? E_FAIL : code;
}

void MTUtils::composeMessage(char* buffer, HRESULT code, const char* text, const char* where) {
  if (!buffer) return;
  buffer[0] = '\0';
  _bstr_t description, source;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    BSTR value = nullptr;
    if (SUCCEEDED(info->GetDescription(&value))) description.Attach(value);
    value = nullptr;
    if (SUCCEEDED(info->GetSource(&value))) source.Attach(value);
    info->Release();
  }

  // Origin, separator, error tag and text, measured before they are cut.
  std::string head;
  if (where) head.append(where).append(": ");
  if (code < 0) head.append(" ERROR: ");
  head.append(text ? text : "??");
  if (head.size() >= kMessageSize) {
    head.resize(kMessageSize - 1);
    reportFailure("A generated message is too long. Contact support.", nullptr, nullptr, true);
  }
  appendBounded(buffer, kMessageSize, head.c_str());

  const char* descriptionText = static_cast<const char*>(description);
  if (descriptionText && *descriptionText) {
    char part[kErrorInfoSize] = "";
    const char* sourceText = static_cast<const char*>(source);
    appendBounded(part, sizeof part, "\n(");
    appendBounded(part, sizeof part, descriptionText);
    appendBounded(part, sizeof part, ": ");
    appendBounded(part, sizeof part, sourceText ? sourceText : "");
    appendBounded(part, sizeof part, ")");
    appendBounded(buffer, kMessageSize, part);
  }

  if (code < 0 && code != E_FAIL) {
    fw::LocalMem<char> systemText;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(systemText.put()), 0, nullptr);
    if (length > 0 && systemText.get()) {
      appendBounded(buffer, kMessageSize, "\n");
      appendBounded(buffer, kMessageSize, systemText.get());
    }
    char codePart[kCodePartSize];
    snprintf(codePart, sizeof codePart, "(0x%lX)", static_cast<unsigned long>(code));
    appendBounded(buffer, kMessageSize, codePart);
  }
}

namespace {

// Composes the message and, when asked, traces it. A report must reach the user and give
// its code back whatever happens on the way (a string that cannot be allocated): the
// message then holds the text as given.
void composeAndTrace(char* message, HRESULT code, const char* text, const char* where, bool trace) {
  try {
    MTUtils::composeMessage(message, code, text, where);
  } catch (...) {
    snprintf(message, MTUtils::kMessageSize, "%s", text ? text : "??");
  }
  if (!trace) return;
  try {
    MTUtils::writeTrace(CTxBSTR(message), nullptr, "\n");
  } catch (...) {
    // The trace is lost; the report goes on.
  }
}

}  // namespace

HRESULT MTUtils::reportError(HRESULT code, const char* text, const char* where, HWND owner, bool trace) {
  HRESULT normalized = normalizeResult(code);
  char message[kMessageSize];
  composeAndTrace(message, normalized, text, where, trace);
  showMessage(message, kCaption, 0, owner);
  return normalized;
}

HRESULT MTUtils::reportFailure(const char* text, const char* where, HWND owner, bool trace) {
  return reportError(E_FAIL, text, where, owner, trace);
}

HRESULT MTUtils::traceError(HRESULT code, const char* text, const char* where) {
  HRESULT normalized = normalizeResult(code);
  char message[kMessageSize];
  composeAndTrace(message, normalized, text, where, true);
  return normalized;
}

bool MTUtils::writeTrace(CTxBSTR message, const char* where, const char* suffix) {
  if (g_traceBusy) return false;
  g_traceBusy = true;
  bool ok = false;
  try {
    if (prepareTraceFolder()) {
      std::string path = std::string(g_traceFolder) + "\\" + getModuleName() + ".trc";
      fw::UniqueFile file(openTraceFile(path.c_str()));
      if (!file) {
        // openTraceFile has said so already; the user sees it twice.
        showMessage(kCannotOpenTrace, "", 0, nullptr);
      } else {
        _tzset();
        time_t now = time(nullptr);
        struct tm local = {};
        localtime_s(&local, &now);
        char date[16], clock[16];
        strftime(date, sizeof date, "%m/%d/%y", &local);
        strftime(clock, sizeof clock, "%H:%M:%S", &local);
        const char* origin = where ? where : "";
        char line[kMessageSize];
        snprintf(line, sizeof line, "%s %s: %s: %s", date, clock, getModuleName(), origin);
        const char* text = static_cast<const char*>(message);
        appendBounded(line, sizeof line, text ? text : "");
        if (suffix) appendBounded(line, sizeof line, suffix);
        fputs(line, file.get());
        file.close();
        size_t messageLength = text ? strlen(text) : 0;
        ok = messageLength + strlen(getModuleName()) + strlen(origin) + 10 < kMessageSize;
      }
    }
  } catch (...) {
    showMessage(kTraceProblem, "", 0, nullptr);
    ok = false;
  }
  g_traceBusy = false;
  return ok;
}

FILE* MTUtils::openTraceFile(const char* path) {
  if (!path) return nullptr;
  FILE* file = fopen(path, "a+");
  if (file) return file;

  const char* name = path;
  const char* lastSlash = strrchr(path, '\\');
  if (lastSlash && strlen(path) > 1) name = lastSlash + 1;
  std::string folder = getEnvironmentValue("TEMP");
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) folder = "c:\\temp";
  std::string fallback = folder + "\\" + name;

  if (g_informOnce && !fileExists(fallback.c_str())) {
    std::string text = std::string("Since trace file at installation directory (") + path +
                       ") could not be written, trace file will be written to '" + folder + "'.";
    showMessage(text.c_str(), "Brisk Calorix CAPE-OPEN 1.0 Information message", MB_ICONINFORMATION, nullptr);
    g_informOnce = false;
  }
  file = fopen(fallback.c_str(), "a+");
  if (!file) showMessage(kCannotOpenTrace, "", 0, nullptr);
  return file;
}

void MTUtils::showMessage(const char* text, const char* caption, UINT type, HWND owner) {
  HWND box = owner ? owner : g_ownerWindow;
  if (!box) type |= MB_SYSTEMMODAL;
  MessageBoxA(box, text ? text : "", caption ? caption : "", type);
}

void MTUtils::setOwnerWindow(HWND owner) { g_ownerWindow = owner; }
HWND MTUtils::ownerWindow() { return g_ownerWindow; }

bool MTUtils::setModuleName(const char* name) {
  const char* source = name ? name : "";
  size_t length = strnlen(source, kNameSize - 1);
  memcpy(g_moduleName, source, length);
  g_moduleName[length] = '\0';
  g_moduleFolder.clear();
  g_moduleFolderKnown = false;
  return true;
}

const char* MTUtils::getModuleName() {
  memcpy(g_moduleBaseName, g_moduleName, sizeof g_moduleName);
  char* dot = strchr(g_moduleBaseName, '.');
  if (dot) *dot = '\0';
  return g_moduleBaseName;
}

std::string MTUtils::getDllPath(const char* name) {
  const char* module = name ? name : g_moduleName;
  if (!*module) {
    showMessage("MTUtils must be initialized with setModuleName(<dllName>)", "", 0, nullptr);
    return std::string();
  }
  HANDLE handle = nullptr;
  std::string description = std::string("Error getting the dll path for ") + module;
  if (checkWinResult(&handle, reinterpret_cast<HANDLE>(GetModuleHandleA(module)), description.c_str(), true) != 0)
    return std::string();
  char path[kNameSize];
  DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), path, sizeof path);
  if (length == 0 || length >= kNameSize - 1) return std::string();
  return std::string(path, length);
}

std::string MTUtils::getDllDirectory() {
  if (!g_moduleFolderKnown) {
    std::string path = getDllPath(nullptr);
    size_t cut = path.find_last_of('\\');
    g_moduleFolder = cut == std::string::npos ? path : path.substr(0, cut);
    g_moduleFolderKnown = !path.empty();
  }
  return g_moduleFolder;
}

std::string MTUtils::lastErrorText() {
  DWORD error = GetLastError();
  char text[kMessageSize] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
  return text;
}

HRESULT MTUtils::checkWinResult(HANDLE* out, HANDLE handle, const char* description, bool zeroIsFailure) {
  if (out) *out = handle;
  bool failed = zeroIsFailure ? handle == nullptr : handle != nullptr;
  if (!failed) return 0;
  // The system's text first, before anything else can change the last error.
  std::string systemText = lastErrorText();
  std::string text = std::string(description ? description : "") + ": " + systemText;
  showMessage(text.c_str(), getModuleName(), 0, nullptr);
  return E_FAIL;
}

std::string MTUtils::getEnvironmentValue(const char* name) {
  char value[kNameSize];
  SetLastError(0);
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  if (length >= sizeof value) {
    showMessage("Value of Environment Variable is too long", name, 0, nullptr);
    return std::string();
  }
  if (length == 0) return std::string();
  return std::string(value, length);
}

int traceToTempFile(const char* text) {
  char folder[kNameSize] = "";
  GetTempPathA(sizeof folder, folder);
  char path[kNameSize + 16];
  snprintf(path, sizeof path, "%s\\txshow.txt", folder);
  char failure[MTUtils::kMessageSize];
  snprintf(failure, sizeof failure, "error tracing '%s' (arg='%d') to file '%s' in mode '%s'",
           text ? text : "", 2147483647, path, "a");
  FILE* file = fopen(path, "a");
  if (file) {
    fputs(text ? text : "", file);
    fputs("\n", file);
    if (fclose(file) == 0) return 0;
    appendBounded(failure, sizeof failure, "(closing file)");
  }
  return showAppMessage(failure, "", MB_OK, 0);
}

const char* applicationTitle() { return MTUtils::getModuleName()[0] ? MTUtils::getModuleName() : "TxCOGUI"; }

int showAppMessage(const char* text, const char* caption, UINT type, UINT /*helpContext*/) {
  (void)caption;  // the framework's box carries the application's title
  HWND owner = GetActiveWindow();
  if (owner) {
    HWND top = GetAncestor(owner, GA_ROOT);
    if (top) owner = top;
  }
  return MessageBoxA(owner, text ? text : "", applicationTitle(), type);
}
