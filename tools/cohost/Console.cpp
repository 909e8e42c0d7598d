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

}  // namespace

void writeText(FILE* stream, const std::string& text) {
  if (text.empty()) return;
  HANDLE console = consoleOf(stream);
  if (!console) {
    fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  fflush(stream);  // what went through the C runtime comes first
  const std::wstring wide = wideFromNarrow(text);
  // Old consoles take a limited amount per call; a surrogate pair is never split.
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
