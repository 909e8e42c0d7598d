#include "cohost/CohostRun.h"
#include <algorithm>
#include <thread>
#include "common/TestSupport.h"
#include "framework/Raii.h"

namespace {

// Reads a pipe to its end on a thread of its own, so that a full pipe never blocks the tool.
void drain(HANDLE pipe, std::string* into) {
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into->append(buffer, read);
}

struct FindData {
  DWORD pid;
  const char* caption;
  HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM lParam) {
  FindData* data = reinterpret_cast<FindData*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  if (pid == data->pid && strcmp(text, data->caption) == 0 && IsWindowVisible(window)) {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

Json CohostRun::json() const {
  Json value;
  std::string error;
  if (!Json::parse(out, &value, &error)) return Json();
  return value;
}

HWND findProcessWindow(DWORD pid, const char* caption) {
  FindData data = {pid, caption, nullptr};
  EnumWindows(findWindow, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

CohostRun runCohost(const std::string& arguments, std::function<bool(DWORD)> whileRunning) {
  CohostRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  fw::UniqueHandle outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(outRead.put(), outWrite.put(), &inherit, 0) || !CreatePipe(errRead.put(), errWrite.put(), &inherit, 0))
    return run;
  SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errWrite.get();
  std::string line = "\"" + tx::buildPath("tools/cohost.exe") + "\" " + arguments;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) return run;
  fw::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
  outWrite.reset();
  errWrite.reset();
  std::thread outReader(drain, outRead.get(), &run.out);
  std::thread errReader(drain, errRead.get(), &run.err);
  if (whileRunning) {
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT)
      if (whileRunning(process.dwProcessId)) break;
  }
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
  outReader.join();
  errReader.join();
  // The tool writes text with the console's line ends.
  for (std::string* text : {&run.out, &run.err}) text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  run.exitCode = static_cast<int>(code);
  return run;
}
