#include "support/Reporter.h"
#include <comdef.h>
#include <cstdio>
#include <cstring>
#include "framework/Raii.h"
#include "framework/WideText.h"
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

// Appends 'text' to the zero-terminated 'buffer' of 'size' bytes; cuts what does not fit,
// never inside a character.
void appendBounded(char* buffer, size_t size, const char* text) {
  size_t used = strnlen(buffer, size);
  if (!text || used + 1 >= size) return;
  size_t room = size - 1 - used;
  size_t length = narrowCutLength(text, strnlen(text, room + 1), room);
  memcpy(buffer + used, text, length);
  buffer[used + length] = '\0';
}

// Every box of the module is shown here, once its caller has settled owner and caption.
int present(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxW(owner, wideFromNarrow(text ? text : "").c_str(), wideFromNarrow(caption ? caption : "").c_str(),
                     type);
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

// The system's text of 'code' (from the system table) in 'language'; empty when it has none.
std::string systemTextOf(HRESULT code, DWORD language) {
  fw::LocalMem<wchar_t> text;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), language, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
  return length > 0 && text.get() ? narrowFromWide(text.get(), static_cast<int>(length)) : std::string();
}

// Composes the message and, when asked, traces it. A report must reach the user and give
// its code back whatever happens on the way (a string that cannot be allocated): the
// message then holds the text as given.
void composeAndTrace(char* message, HRESULT code, const char* text, const char* where, bool trace) {
  try {
    Reporter::composeMessage(message, code, text, where);
  } catch (...) {
    message[0] = '\0';
    appendBounded(message, Reporter::kMessageSize, text ? text : "??");
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
    cutNarrow(head, kMessageSize - 1);
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
    std::string systemText = systemTextOf(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    if (!systemText.empty()) {
      appendBounded(buffer, kMessageSize, "\n");
      appendBounded(buffer, kMessageSize, systemText.c_str());
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
  wchar_t text[kMessageSize] = L"";
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                static_cast<DWORD>(kMessageSize - 1), nullptr);
  std::string narrow = narrowFromWide(text, static_cast<int>(length));
  cutNarrow(narrow, kMessageSize - 1);
  return narrow;
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
  std::string message;
  try {
    std::string systemText = systemTextOf(code, 1033);
    message = text ? text : "";
    if (!systemText.empty()) {
      message.append("\n").append(systemText).append(" ").append(describeResult(code));
    } else {
      message.append("\n<No system message defined> ").append(describeResult(code));
    }
  } catch (...) {
    message.clear();  // out of memory: the box below still names the code
  }
  showAppMessage(message.empty() ? describeResult(code) : message.c_str(), "", MB_OK, 0);
}

int traceToTempFile(const char* text) {
  wchar_t folder[MAX_PATH] = L"";
  DWORD length = GetTempPathW(MAX_PATH, folder);
  std::string path = narrowFromWide(folder, length < MAX_PATH ? static_cast<int>(length) : 0) + "\\txshow.txt";
  char failure[Reporter::kMessageSize] = "";
  for (const char* part : {"error tracing '", text ? text : "", "' (arg='2147483647') to file '", path.c_str(),
                           "' in mode 'a'"})
    appendBounded(failure, sizeof failure, part);
  FILE* file = _wfopen(wideFromNarrow(path).c_str(), L"a");
  if (file) {
    fputs(text ? text : "", file);
    fputs("\n", file);
    if (fclose(file) == 0) return 0;
    appendBounded(failure, sizeof failure, "(closing file)");
  }
  return showAppMessage(failure, "", MB_OK, 0);
}
