#include "chaos/Watchdog.h"
#include <csignal>
#include <cstdio>
#include <exception>

namespace {

CRITICAL_SECTION g_lock;
std::string g_failuresFile;
// The step that runs, as plain text, readable from the handlers without allocating.
char g_step[128] = "";
volatile LONG g_running = 0;
volatile ULONGLONG g_started = 0;

class Locked {
 public:
  Locked() { EnterCriticalSection(&g_lock); }
  ~Locked() { LeaveCriticalSection(&g_lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

}  // namespace

Watchdog::Watchdog(DWORD limitMs, const std::string& failuresFile)
    : limitMs_(limitMs), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_(nullptr) {
  InitializeCriticalSection(&g_lock);
  g_failuresFile = failuresFile;
  SetUnhandledExceptionFilter(unhandled);
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
  if (FILE* file = fopen(g_failuresFile.c_str(), "a")) {
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
  char cls[64] = "", caption[128] = "";
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, caption, sizeof caption);
  std::string& text = *reinterpret_cast<std::string*>(list);
  text += std::string(text.empty() ? "" : ", ") + cls + " '" + caption + "'";
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

LONG WINAPI Watchdog::unhandled(EXCEPTION_POINTERS* info) {
  char detail[96];
  snprintf(detail, sizeof detail, "exception 0x%08lX at %p",
           info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0UL,
           info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr);
  fatal("CRASH", detail, kExitCrash);
  return EXCEPTION_EXECUTE_HANDLER;
}
