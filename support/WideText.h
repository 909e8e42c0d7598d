// Narrow (system code page) and wide text at the COM calls.
#pragma once
#include <windows.h>
#include <string>

inline std::string narrowFromWide(const wchar_t* text) {
  if (!text || !*text) return std::string();
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return std::string();
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], length, nullptr, nullptr);
  result.resize(static_cast<size_t>(length - 1));
  return result;
}

inline std::wstring wideFromNarrow(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 1) return std::wstring();
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &result[0], length);
  result.resize(static_cast<size_t>(length - 1));
  return result;
}
