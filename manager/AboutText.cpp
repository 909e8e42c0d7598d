#include "manager/AboutText.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include <windows.h>
#include <memory>
#include <stdexcept>

namespace {


// Doubles the percent sign of each numbered insert (and of a percent sign that ends the
// text), so that the formatter finds nothing that would read an argument.
std::string escapeInserts(const std::string& text) {
  std::string result;
  result.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '%') {
      result += c;
      continue;
    }
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (next == '%') {
      result += "%%";
      ++i;
    } else if ((next >= '1' && next <= '9') || next == '\0') {
      result += "%%";
    } else {
      result += '%';
    }
  }
  return result;
}

// Lone LF or CR become CR LF, so that a multi-line edit shows the break.
std::string crlf(const std::string& text) {
  std::string result;
  result.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      result += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      result += "\r\n";
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

std::string formatAboutText(const std::string& about) {
  std::string text;
  text.reserve(about.size());
  for (size_t i = 0; i < about.size(); ++i) {
    if (about[i] == '\\' && i + 1 < about.size() && about[i + 1] == 'n') {
      text += '\n';
      ++i;
    } else {
      text += about[i];
    }
  }
  if (text.empty()) return text;
  // Wide, so that the formatter sees every script as it is.
  std::wstring format = wideFromNarrow(escapeInserts(text));
  fw::LocalMem<wchar_t> buffer;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING, format.c_str(), 0, 0,
                                reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
  if (length == 0 && !buffer.get()) throw std::runtime_error("FormatMessage failed");
  return crlf(buffer.get() ? narrowFromWide(buffer.get(), static_cast<int>(length)) : std::string());
}
