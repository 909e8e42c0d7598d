// The compound list "TxpCASnos.txt" beside the DLL, read into slots by identifier.
#include "support/TxUtils.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"

namespace {

// Filled by the first host detection and kept, from the host's one user-interface thread
// only, so unlocked.
CTxBSTR g_names[TxUtils::kSlotCount + 1];
CTxBSTR g_casNumbers[TxUtils::kSlotCount + 1];
int g_casCount = 0;

const size_t kNameLimit = 15;
const size_t kCasLimit = 11;

// The blanks that scanf skips.
bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A run of non-blank characters: its first bytes and its full length in characters, so
// that a token of any length is judged without being copied.
struct Token {
  static const size_t kKept = 64;  // bytes: more than the longest name or CAS number allowed
  std::string text;
  size_t length = 0;
  void add(char c) {
    if (text.size() < kKept) text.push_back(c);
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++length;  // a UTF-8 continuation byte is no character
  }
};

// The list's text as UTF-8: the file is UTF-8 when its bytes are valid UTF-8, else it is in
// the machine's ANSI code page (older lists were written so); bytes that are neither still
// give text, line by line.
std::string listText(FILE* file) {
  std::string bytes;
  char chunk[4096];
  size_t read = 0;
  while ((read = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, read);
  std::wstring wide;
  if (!wideFromUtf8Strict(bytes, wide)) wide = wideFromAnsi(bytes);
  if (!wide.empty() && wide[0] == 0xFEFF) wide.erase(0, 1);  // the mark that editors put before UTF-8
  return narrowFromWide(wide);
}

// Reads one line from 'pos' on and keeps its first three tokens. False at the end.
bool readTokens(const std::string& text, size_t& pos, Token tokens[3], int& count) {
  for (int i = 0; i < 3; ++i) tokens[i] = Token();
  count = 0;
  bool any = false, inToken = false;
  while (pos < text.size()) {
    char c = text[pos++];
    any = true;
    if (c == '\n') break;
    if (isBlank(c)) {
      inToken = false;
      continue;
    }
    if (!inToken) {
      inToken = true;
      ++count;
    }
    if (count <= 3) tokens[count - 1].add(c);
  }
  if (count > 3) count = 3;
  return any;
}

// The fields of one line read as "%d, %s %s": how many were read (0 to 3).
int scanLine(const Token tokens[3], int count, long& identifier, Token& name, Token& cas) {
  if (count == 0) return 0;
  const std::string& first = tokens[0].text;
  char* end = nullptr;
  identifier = strtol(first.c_str(), &end, 10);
  size_t pos = static_cast<size_t>(end - first.c_str());
  if (pos == 0) return 0;
  if (pos >= first.size() || first[pos] != ',') return 1;
  ++pos;
  int next = 1;
  if (pos < tokens[0].length) {
    // "12,WATER": the name starts right behind the comma.
    name.text = first.substr(pos);
    name.length = tokens[0].length - pos;
  } else {
    if (count < 2) return 1;
    name = tokens[1];
    next = 2;
  }
  if (count <= next) return 2;
  cas = tokens[next];
  return 3;
}

void clearTables() {
  for (int i = 0; i <= TxUtils::kSlotCount; ++i) {
    g_names[i] = CTxBSTR();
    g_casNumbers[i] = CTxBSTR();
  }
  g_casCount = 0;
}

void store(long identifier, const std::string& name, const std::string& cas) {
  int slot = TxUtils::slotOf(static_cast<int>(identifier));
  if (slot == 0) return;
  g_names[slot] = name.c_str();
  bool hadCas = static_cast<BSTR>(g_casNumbers[slot]) != nullptr;
  if (cas.empty() || cas == "NULL") {
    g_casNumbers[slot] = CTxBSTR();
    if (hadCas) --g_casCount;
  } else {
    g_casNumbers[slot] = cas.c_str();
    if (!hadCas) ++g_casCount;
  }
}

}  // namespace

int TxUtils::slotOf(int identifier) {
  if (identifier >= 1 && identifier <= 999) return identifier;
  if (identifier >= 3000 && identifier <= 3768) return identifier - 2000;
  return 0;
}

BSTR TxUtils::compoundName(int slot) {
  return slot >= 0 && slot <= kSlotCount ? static_cast<BSTR>(g_names[slot]) : nullptr;
}

BSTR TxUtils::casNumber(int slot) {
  return slot >= 0 && slot <= kSlotCount ? static_cast<BSTR>(g_casNumbers[slot]) : nullptr;
}

int TxUtils::casCount() {
  return g_casCount;
}

void TxUtils::readCompoundList() {
  try {
    clearTables();
    std::string folder = MTUtils::getDllDirectory();
    // Binary mode: a stray end-of-file byte must not end the list early, and "\r" is a blank.
    // Without a module folder the path would name a file at the root of the current drive.
    std::wstring path = wideFromNarrow(folder + "\\TxpCASnos.txt");
    fw::UniqueFile file(folder.empty() ? nullptr : _wfopen(path.c_str(), L"rb"));
    if (!file) {
      MTUtils::reportFailure("Cannot open TxpCASnos.txt", nullptr, nullptr, true);
      return;
    }
    std::string content = listText(file.get());
    file.close();
    int counter = 1;
    Token tokens[3];
    int count = 0;
    size_t pos = 0;
    while (readTokens(content, pos, tokens, count)) {
      if (count == 0) continue;  // scanf skips empty lines
      long identifier = 0;
      Token name, cas;
      int fields = scanLine(tokens, count, identifier, name, cas);
      if (fields == 0) break;
      if (fields < 3) {
        MTUtils::reportFailure("could not read 3 fields of one line", nullptr, nullptr, true);
        return;
      }
      if (name.length > kNameLimit) {
        MTUtils::reportFailure("component name too long", nullptr, nullptr, true);
        return;
      }
      if (cas.length > kCasLimit) {
        MTUtils::reportFailure("casno name too long", nullptr, nullptr, true);
        return;
      }
      if (!name.text.empty() && name.text.back() == ',') name.text.pop_back();
      store(identifier, name.text, cas.text);
      ++counter;
    }
    if (counter < kExpectedCompounds) {
      char text[160];
      snprintf(text, sizeof text, "WARNING: only %d compounds (%d were expected) were read from file TxpCASnos.txt. ",
               counter, kExpectedCompounds);
      MTUtils::showMessage(text, "", 0, nullptr);
    }
  } catch (...) {
    MTUtils::reportFailure("problem reading component list", nullptr, nullptr, true);
  }
}
