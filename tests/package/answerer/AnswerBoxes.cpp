// answerboxes PROGRAM [ARGUMENTS...]: runs a program that may report in message boxes (the
// example host, whose DLL shows a box for each failure) and answers each box of it with its
// default button, after printing "box: <text>" on stderr. Exits with the program's exit
// code; 3 when it could not be started or did not end within a minute.
#include <windows.h>
#include <cstdio>
#include <set>
#include <string>
#include "framework/ProcessLaunch.h"
#include "framework/WindowHook.h"

namespace {

struct Answering {
  DWORD pid;
  std::set<HWND> answered;
};

BOOL CALLBACK answer(HWND window, LPARAM data) {
  Answering& state = *reinterpret_cast<Answering*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  // A box may be shown before its text is set: it is answered once it has one.
  if (owner != state.pid || !IsWindowVisible(window) || !fw::isMessageBox(window)) return TRUE;
  const std::string text = fw::messageBoxText(window);
  if (text.empty() || !state.answered.insert(window).second) return TRUE;
  std::fprintf(stderr, "box: %s\n", text.c_str());
  std::fflush(stderr);
  fw::postClick(window, fw::defaultButton(window));
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 3;
  std::wstring line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  Answering state = {0, {}};
  fw::LaunchOptions options;
  options.timeoutMs = 60000;
  options.input = GetStdHandle(STD_INPUT_HANDLE);
  options.output = GetStdHandle(STD_OUTPUT_HANDLE);
  options.error = GetStdHandle(STD_ERROR_HANDLE);
  options.whileRunning = [&state](DWORD pid) {
    state.pid = pid;
    EnumWindows(answer, reinterpret_cast<LPARAM>(&state));
    return false;
  };
  const fw::LaunchResult result = fw::launchAndWait(line, options);
  return result.ran() ? static_cast<int>(result.exitCode) : 3;
}
