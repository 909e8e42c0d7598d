// The one conversion pair between narrow text (inside) and wide text (COM and the W
// functions). Every other file converts through these two.
#pragma once
#include <windows.h>
#include <string>

// The code page of narrow text.
constexpr UINT kNarrowCodePage = CP_UTF8;

// 'length' wide characters, or up to the terminating null when it is -1.
inline std::string narrowFromWide(const wchar_t* text, int length = -1) {
  if (!text || length == 0 || (length < 0 && !*text)) return std::string();
  int bytes = WideCharToMultiByte(kNarrowCodePage, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(kNarrowCodePage, 0, text, length, &result[0], bytes, nullptr, nullptr);
  if (length < 0) result.resize(static_cast<size_t>(bytes - 1));  // the converted terminator
  return result;
}

inline std::string narrowFromWide(const std::wstring& text) {
  return narrowFromWide(text.c_str(), static_cast<int>(text.size()));
}

inline std::wstring wideFromNarrow(const char* text, int length = -1) {
  if (!text || length == 0 || (length < 0 && !*text)) return std::wstring();
  int characters = MultiByteToWideChar(kNarrowCodePage, 0, text, length, nullptr, 0);
  if (characters <= 0) return std::wstring();
  std::wstring result(static_cast<size_t>(characters), L'\0');
  MultiByteToWideChar(kNarrowCodePage, 0, text, length, &result[0], characters);
  if (length < 0) result.resize(static_cast<size_t>(characters - 1));
  return result;
}

inline std::wstring wideFromNarrow(const std::string& text) {
  return wideFromNarrow(text.c_str(), static_cast<int>(text.size()));
}
