#include "chaos/Watchdog.h"
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <string>
#include "framework/WideText.h"

namespace {

CRITICAL_SECTION g_lock;
std::wstring g_failuresFile;  // wide once, so that a crash report only opens it
// The step that runs, as plain text, readable from the handlers without allocating.
char g_step[128] = "";
volatile LONG g_running = 0;
volatile ULONGLONG g_started = 0;
volatile LONG g_foreignFaults = 0;

class Locked {
 public:
  Locked() { EnterCriticalSection(&g_lock); }
  ~Locked() { LeaveCriticalSection(&g_lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

}  // namespace

Watchdog::Watchdog(DWORD limitMs, const std::string& failuresFile)
    : limitMs_(limitMs), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_(nullptr) {
  InitializeCriticalSection(&g_lock);
  g_failuresFile = wideFromNarrow(failuresFile);
  SetUnhandledExceptionFilter(unhandled);
  AddVectoredExceptionHandler(1, firstChance);
  std::set_terminate([] { fatal("CRASH", "std::terminate (an exception escaped)", kExitCrash); });
  signal(SIGABRT, [](int) { fatal("CRASH", "abort", kExitCrash); });
  if (stop_) thread_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

Watchdog::~Watchdog() {
  if (stop_) SetEvent(stop_);
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (stop_) CloseHandle(stop_);
}

void Watchdog::begin(const std::string& what) {
  {
    Locked lock;
    snprintf(g_step, sizeof g_step, "%s", what.c_str());
  }
  g_started = GetTickCount64();
  InterlockedExchange(&g_running, 1);
}

void Watchdog::end() { InterlockedExchange(&g_running, 0); }

void Watchdog::record(const std::string& line) {
  Locked lock;
  printf("%s\n", line.c_str());
  fflush(stdout);
  if (g_failuresFile.empty()) return;
  if (FILE* file = _wfopen(g_failuresFile.c_str(), L"a")) {
    fprintf(file, "%s\n", line.c_str());
    fclose(file);
  }
}

void Watchdog::fatal(const char* kind, const std::string& detail, int exitCode) {
  char step[sizeof g_step];
  memcpy(step, g_step, sizeof step);
  record(std::string(kind) + " " + step + (detail.empty() ? "" : " (" + detail + ")"));
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
}

namespace {

// The process's visible windows, "class 'caption'", to say what a hang waits on.
BOOL CALLBACK listWindow(HWND window, LPARAM list) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t cls[64] = L"", caption[128] = L"";
  GetClassNameW(window, cls, static_cast<int>(std::size(cls)));
  GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
  std::string& text = *reinterpret_cast<std::string*>(list);
  text += std::string(text.empty() ? "" : ", ") + narrowFromWide(cls) + " '" + narrowFromWide(caption) + "'";
  return TRUE;
}

}  // namespace

DWORD WINAPI Watchdog::watch(void* self) {
  Watchdog* dog = static_cast<Watchdog*>(self);
  // Polls twice a second: a hang is minutes, not milliseconds.
  while (WaitForSingleObject(dog->stop_, 500) == WAIT_TIMEOUT) {
    if (g_running && GetTickCount64() - g_started > dog->limitMs_) {
      std::string windows;
      EnumWindows(listWindow, reinterpret_cast<LPARAM>(&windows));
      fatal("HANG", "no end after " + std::to_string(dog->limitMs_ / 1000) + " s; windows: " + windows, kExitHang);
    }
  }
  return 0;
}

namespace {

bool isFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_IN_PAGE_ERROR:
    case 0xC0000374:  // heap corruption
    case 0xC0000409:  // stack buffer overrun
      return true;
    default:
      return false;
  }
}

// The file name of the module that holds 'address', or "?".
void moduleOf(const void* address, char* name, DWORD size) {
  HMODULE module = nullptr;
  wchar_t wide[MAX_PATH] = L"?";
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<const wchar_t*>(address), &module))
    GetModuleFileNameW(module, wide, MAX_PATH);
  const std::string path = narrowFromWide(wide);
  const size_t slash = path.find_last_of('\\');
  snprintf(name, size, "%s", slash == std::string::npos ? path.c_str() : path.c_str() + slash + 1);
}

bool ours(const char* module) {
  return _stricmp(module, "TxCOGUI.dll") == 0 || _stricmp(module, "chaos.exe") == 0 ||
         _strnicmp(module, "TxSample", 8) == 0;
}

}  // namespace

// Window procedures and timer callbacks run under handlers of the system that swallow a
// fault, so the unhandled filter alone would miss a crash in a dialog. Every fault is seen
// here first: in our modules it ends the run; in another module (which may catch it on
// purpose) it is recorded and counted.
LONG WINAPI Watchdog::firstChance(EXCEPTION_POINTERS* info) {
  if (!info || !info->ExceptionRecord || !isFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  char module[MAX_PATH], detail[MAX_PATH + 96];
  moduleOf(info->ExceptionRecord->ExceptionAddress, module, sizeof module);
  snprintf(detail, sizeof detail, "first-chance exception 0x%08lX at %p in %s", info->ExceptionRecord->ExceptionCode,
           info->ExceptionRecord->ExceptionAddress, module);
  if (ours(module)) fatal("CRASH", detail, kExitCrash);
  InterlockedIncrement(&g_foreignFaults);
  char step[sizeof g_step];
  memcpy(step, g_step, sizeof step);
  record(std::string("FAULT ") + step + " (" + detail + ")");
  return EXCEPTION_CONTINUE_SEARCH;
}

unsigned long Watchdog::foreignFaults() { return static_cast<unsigned long>(g_foreignFaults); }

LONG WINAPI Watchdog::unhandled(EXCEPTION_POINTERS* info) {
  char detail[96];
  snprintf(detail, sizeof detail, "exception 0x%08lX at %p",
           info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0UL,
           info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr);
  fatal("CRASH", detail, kExitCrash);
  return EXCEPTION_EXECUTE_HANDLER;
}
