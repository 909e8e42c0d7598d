// Starting a program and waiting for it, inside a job object that dies with the caller:
// a child that is still running when its time is up, or when the caller is ended, is
// ended too and never left spinning.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "framework/Raii.h"

namespace fw {

struct LaunchOptions {
  DWORD timeoutMs = INFINITE;
  // Standard handles for the child (inheritable); null gives it none of its own.
  HANDLE input = nullptr;
  HANDLE output = nullptr;
  HANDLE error = nullptr;
  const wchar_t* directory = nullptr;
  // Called every pollMs while the child runs, with its process id; true stops the calls.
  std::function<bool(DWORD)> whileRunning;
  DWORD pollMs = 50;
};

struct LaunchResult {
  DWORD launchError = 0;  // GetLastError of a step that failed before the child ran
  bool timedOut = false;  // ended when its time was up
  DWORD exitCode = 0;
  bool ran() const { return launchError == 0 && !timedOut; }
};

inline LaunchResult launchAndWait(const std::wstring& commandLine, const LaunchOptions& options = LaunchOptions()) {
  LaunchResult result;
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    result.launchError = GetLastError();
    return result;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  const bool handles = options.input || options.output || options.error;
  if (handles) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = options.input;
    startup.hStdOutput = options.output;
    startup.hStdError = options.error;
  }
  std::wstring line = commandLine;  // CreateProcessW may write into it
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, handles ? TRUE : FALSE, CREATE_SUSPENDED, nullptr,
                      options.directory, &startup, &process)) {
    result.launchError = GetLastError();
    return result;
  }
  UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
  if (!AssignProcessToJobObject(job.get(), process.hProcess) || ResumeThread(process.hThread) == static_cast<DWORD>(-1)) {
    result.launchError = GetLastError();
    if (result.launchError == 0) result.launchError = ERROR_GEN_FAILURE;
    TerminateProcess(process.hProcess, 3);
    return result;
  }
  const ULONGLONG start = GetTickCount64();
  auto remaining = [&]() -> DWORD {
    if (options.timeoutMs == INFINITE) return INFINITE;
    ULONGLONG spent = GetTickCount64() - start;
    return spent >= options.timeoutMs ? 0 : static_cast<DWORD>(options.timeoutMs - spent);
  };
  bool polling = static_cast<bool>(options.whileRunning);
  DWORD wait = WAIT_TIMEOUT;
  while (polling) {
    DWORD left = remaining();
    wait = WaitForSingleObject(process.hProcess, left < options.pollMs ? left : options.pollMs);
    if (wait != WAIT_TIMEOUT || remaining() == 0) break;
    polling = !options.whileRunning(process.dwProcessId);
  }
  if (wait == WAIT_TIMEOUT) wait = WaitForSingleObject(process.hProcess, remaining());
  if (wait != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 3);
    WaitForSingleObject(process.hProcess, INFINITE);
    result.timedOut = true;
    result.exitCode = STILL_ACTIVE;
    return result;
  }
  if (!GetExitCodeProcess(process.hProcess, &result.exitCode)) result.launchError = GetLastError();
  return result;
}

}  // namespace fw
