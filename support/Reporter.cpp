#include "support/Reporter.h"
#include <comdef.h>
#include <cstdio>
#include <cstring>
#include "framework/Raii.h"
#include "support/CTxBSTR.h"
#include "support/ModuleInfo.h"
#include "support/ResultText.h"
#include "support/TraceFile.h"

const char* const Reporter::kCaption = "Brisk Tarnix CAPE-OPEN";

namespace {

const size_t kErrorInfoSize = 1999;
const size_t kCodePartSize = 19;

// The default owner of the module's boxes: set by the component object on entry to its
// window-frame methods, from the host's one user-interface thread, so unlocked.
HWND g_ownerWindow = nullptr;

// Appends 'text' to the zero-terminated 'buffer' of 'size' bytes; cuts what does not fit.
void appendBounded(char* buffer, size_t size, const char* text) {
  size_t used = strnlen(buffer, size);
  if (!text || used + 1 >= size) return;
  size_t room = size - 1 - used;
  size_t length = strnlen(text, room);
  memcpy(buffer + used, text, length);
  buffer[used + length] = '\0';
}

// Every box of the module is shown here, once its caller has settled owner and caption.
int present(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text ? text : "", caption ? caption : "", type);
}

// The framework's boxes belong to the window the user works in, as a whole.
HWND activeTopWindow() {
  HWND owner = GetActiveWindow();
  if (owner) {
    HWND top = GetAncestor(owner, GA_ROOT);
    if (top) owner = top;
  }
  return owner;
}

// The system's text of 'code' (FormatMessageA from the system table) in 'language'.
void systemTextOf(HRESULT code, DWORD language, fw::LocalMem<char>& text, DWORD& length) {
  length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                          nullptr, static_cast<DWORD>(code), language, reinterpret_cast<char*>(text.put()), 0,
                          nullptr);
}

// Composes the message and, when asked, traces it. A report must reach the user and give
// its code back whatever happens on the way (a string that cannot be allocated): the
// message then holds the text as given.
void composeAndTrace(char* message, HRESULT code, const char* text, const char* where, bool trace) {
  try {
    Reporter::composeMessage(message, code, text, where);
  } catch (...) {
    snprintf(message, Reporter::kMessageSize, "%s", text ? text : "??");
  }
  if (!trace) return;
  try {
    TraceFile::writeTrace(CTxBSTR(message), nullptr, "\n");
  } catch (...) {
    // The trace is lost; the report goes on.
  }
}

}  // namespace

HRESULT Reporter::normalizeResult(HRESULT code) {
  return (code >= 2 && code <= 999) ? E_FAIL : code;
}

void Reporter::composeMessage(char* buffer, HRESULT code, const char* text, const char* where) {
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
    DWORD length = 0;
    systemTextOf(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), systemText, length);
    if (length > 0 && systemText.get()) {
      appendBounded(buffer, kMessageSize, "\n");
      appendBounded(buffer, kMessageSize, systemText.get());
    }
    char codePart[kCodePartSize];
    snprintf(codePart, sizeof codePart, "(0x%lX)", static_cast<unsigned long>(code));
    appendBounded(buffer, kMessageSize, codePart);
  }
}

HRESULT Reporter::reportError(HRESULT code, const char* text, const char* where, HWND owner, bool trace) {
  HRESULT normalized = normalizeResult(code);
  char message[kMessageSize];
  composeAndTrace(message, normalized, text, where, trace);
  showMessage(message, kCaption, 0, owner);
  return normalized;
}

HRESULT Reporter::reportFailure(const char* text, const char* where, HWND owner, bool trace) {
  return reportError(E_FAIL, text, where, owner, trace);
}

HRESULT Reporter::traceError(HRESULT code, const char* text, const char* where) {
  HRESULT normalized = normalizeResult(code);
  char message[kMessageSize];
  composeAndTrace(message, normalized, text, where, true);
  return normalized;
}

void Reporter::showMessage(const char* text, const char* caption, UINT type, HWND owner) {
  HWND box = owner ? owner : g_ownerWindow;
  if (!box) type |= MB_SYSTEMMODAL;
  present(box, text, caption, type);
}

void Reporter::setOwnerWindow(HWND owner) { g_ownerWindow = owner; }
HWND Reporter::ownerWindow() { return g_ownerWindow; }

std::string Reporter::lastErrorText() {
  DWORD error = GetLastError();
  char text[kMessageSize] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
  return text;
}

HRESULT Reporter::checkWinResult(HANDLE* out, HANDLE handle, const char* description, bool zeroIsFailure) {
  if (out) *out = handle;
  bool failed = zeroIsFailure ? handle == nullptr : handle != nullptr;
  if (!failed) return 0;
  // The system's text first, before anything else can change the last error.
  std::string systemText = lastErrorText();
  std::string text = std::string(description ? description : "") + ": " + systemText;
  showMessage(text.c_str(), ModuleInfo::getModuleName(), 0, nullptr);
  return E_FAIL;
}

const char* applicationTitle() {
  return ModuleInfo::getModuleName()[0] ? ModuleInfo::getModuleName() : "TxCOGUI";
}

int showAppMessage(const char* text, const char* caption, UINT type, UINT /*helpContext*/) {
  (void)caption;  // the framework's box carries the application's title
  return present(activeTopWindow(), text, applicationTitle(), type);
}

int showAppMessageTo(HWND owner, const char* text, UINT type) {
  return present(owner, text, applicationTitle(), type);
}

void showSystemError(const char* text, HRESULT code) {
  fw::LocalMem<char> systemText;
  DWORD length = 0;
  systemTextOf(code, 1033, systemText, length);
  std::string message;
  try {
    message = text ? text : "";
    if (length > 0 && systemText.get()) {
      message.append("\n").append(systemText.get()).append(" ").append(describeResult(code));
    } else {
      message.append("\n<No system message defined> ").append(describeResult(code));
    }
  } catch (...) {
    message.clear();  // out of memory: the box below still names the code
  }
  showAppMessage(message.empty() ? describeResult(code) : message.c_str(), "", MB_OK, 0);
}

int traceToTempFile(const char* text) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  char path[MAX_PATH + 16];
  snprintf(path, sizeof path, "%s\\txshow.txt", folder);
  char failure[Reporter::kMessageSize];
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
