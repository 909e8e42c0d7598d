#include "cohost/Console.h"
#include <windows.h>
#include <algorithm>
#include <cstdarg>
#include "framework/WideText.h"

namespace {

// The console behind 'stream', or null when it goes to a pipe or a file.
HANDLE consoleOf(FILE* stream) {
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// UTF-16 to a console in pieces that old consoles take; a surrogate pair is never split.
void writeWide(HANDLE console, const std::wstring& wide) {
  const size_t kChunk = 8192;
  for (size_t at = 0; at < wide.size();) {
    size_t count = std::min(kChunk, wide.size() - at);
    if (count < wide.size() - at && IS_HIGH_SURROGATE(wide[at + count - 1])) --count;
    DWORD written = 0;
    if (!WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(count), &written, nullptr) || written == 0)
      return;
    at += written;
  }
}

size_t g_progressWidth = 0;  // characters of the progress line standing on the console, 0 when none

}  // namespace

void writeText(FILE* stream, const std::string& text) {
  if (text.empty()) return;
  HANDLE console = consoleOf(stream);
  if (!console) {
    fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  fflush(stream);  // what went through the C runtime comes first
  if (g_progressWidth) showProgress(std::string());  // a line of output never starts after the progress
  writeWide(console, wideFromNarrow(text));
}

void showProgress(const std::string& text) {
  HANDLE console = consoleOf(stderr);
  if (!console || (text.empty() && !g_progressWidth)) return;
  std::wstring line = wideFromNarrow(text);
  // '\r' takes back only the last row: a line longer than the console is cut to fit one.
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (GetConsoleScreenBufferInfo(console, &screen) && screen.dwSize.X > 1 &&
      line.size() >= static_cast<size_t>(screen.dwSize.X)) {
    line.resize(static_cast<size_t>(screen.dwSize.X) - 1);
    if (IS_HIGH_SURROGATE(line.back())) line.pop_back();
  }
  const size_t width = line.size();
  line.append(g_progressWidth > width ? g_progressWidth - width : 0, L' ');  // blanks over the longer line before
  fflush(stderr);
  writeWide(console, L"\r" + line + (text.empty() ? L"\r" : L""));
  g_progressWidth = width;
}

void printText(FILE* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int length = vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  if (length > 0) {
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(&text[0], text.size(), format, again);
    text.resize(static_cast<size_t>(length));
    writeText(stream, text);
  }
  va_end(again);
}
