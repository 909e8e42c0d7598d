// The one conversion pair between narrow text (inside) and wide text (COM and the W
// functions). Every other file converts through these two, and through the few helpers
// below that decide how to read bytes of unknown encoding.
#pragma once
#include <windows.h>
#include <string>

// The code page of narrow text: UTF-8, so that no text depends on the machine's locale.
constexpr UINT kNarrowCodePage = CP_UTF8;

namespace widetext_detail {

inline bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Systems differ on what a lone surrogate becomes in UTF-8 (U+FFFD, three bytes of its
// own, nothing): each becomes U+FFFD here, before the system sees it.
inline bool repairSurrogates(const wchar_t* text, size_t length, std::wstring& repaired) {
  bool lone = false;
  for (size_t i = 0; i < length && !lone; ++i) {
    if (isHighSurrogate(text[i]) && i + 1 < length && isLowSurrogate(text[i + 1])) ++i;
    else lone = isHighSurrogate(text[i]) || isLowSurrogate(text[i]);
  }
  if (!lone) return false;
  repaired.assign(text, length);
  for (size_t i = 0; i < length; ++i) {
    if (isHighSurrogate(repaired[i]) && i + 1 < length && isLowSurrogate(repaired[i + 1])) ++i;
    else if (isHighSurrogate(repaired[i]) || isLowSurrogate(repaired[i])) repaired[i] = 0xFFFD;
  }
  return true;
}

inline std::wstring wideFromBytes(UINT codePage, DWORD flags, const char* text, size_t length, bool& valid) {
  valid = true;
  if (!text || length == 0) return std::wstring();
  int count = static_cast<int>(length);
  int characters = MultiByteToWideChar(codePage, flags, text, count, nullptr, 0);
  if (characters <= 0) {
    valid = false;
    return std::wstring();
  }
  std::wstring result(static_cast<size_t>(characters), L'\0');
  MultiByteToWideChar(codePage, flags, text, count, &result[0], characters);
  return result;
}

}  // namespace widetext_detail

// 'length' wide characters, or up to the terminating null when it is -1.
inline std::string narrowFromWide(const wchar_t* text, int length = -1) {
  if (!text || length == 0 || (length < 0 && !*text)) return std::string();
  size_t count = length < 0 ? wcslen(text) : static_cast<size_t>(length);
  std::wstring repaired;
  if (widetext_detail::repairSurrogates(text, count, repaired)) text = repaired.c_str();
  int units = static_cast<int>(count);
  int bytes = WideCharToMultiByte(kNarrowCodePage, 0, text, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(kNarrowCodePage, 0, text, units, &result[0], bytes, nullptr, nullptr);
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

// Bytes of a file: true and the wide text when they are valid UTF-8; false otherwise.
inline bool wideFromUtf8Strict(const std::string& bytes, std::wstring& wide) {
  bool valid = false;
  wide = widetext_detail::wideFromBytes(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), bytes.size(), valid);
  return valid;
}

// Bytes in the machine's ANSI code page; what the code page cannot read becomes its
// default character, so any bytes give text.
inline std::wstring wideFromAnsi(const std::string& bytes) {
  bool valid = false;
  return widetext_detail::wideFromBytes(CP_ACP, 0, bytes.data(), bytes.size(), valid);
}

// The longest head of narrow 'text' that fits 'limit' bytes and does not end inside a
// character.
inline size_t narrowCutLength(const char* text, size_t length, size_t limit) {
  if (length <= limit) return length;
  // Step back over the continuation bytes (10xxxxxx, at most three) of the cut character.
  auto continues = [text](size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
  size_t cut = limit;
  for (int step = 0; step < 3 && cut > 0 && continues(cut); ++step) --cut;
  return continues(cut) ? limit : cut;  // not UTF-8 there: a plain byte cut
}

inline void cutNarrow(std::string& text, size_t limit) {
  text.resize(narrowCutLength(text.data(), text.size(), limit));
}
