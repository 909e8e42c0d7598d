#include "support/TxUtils.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "framework/Raii.h"
#include "support/CTxBSTR.h"
#include "support/MTUtils.h"
#include "support/ModuleVersionInfo.h"

namespace {

bool g_loaded = false;
int g_tarnixVersion = 0;
int g_sketchVersion = 0;
CTxBSTR g_names[TxUtils::kSlotCount + 1];
CTxBSTR g_casNumbers[TxUtils::kSlotCount + 1];
int g_casCount = 0;

const size_t kNameLimit = 15;
const size_t kCasLimit = 11;
// Longer lines are cut here: a valid line is far shorter, and an overlong token is still
// seen as too long.
const size_t kLineLimit = 512;

// The blanks that scanf skips.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads one line (without its end) of at most kLineLimit bytes; the rest of a longer line
// is skipped. False at the end of the file when nothing was read.
bool readLine(FILE* file, std::string& line) {
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < kLineLimit) line.push_back(static_cast<char>(c));
  }
  return any;
}

// The next token of blank-free characters from 'pos' (after blanks); empty when none.
std::string nextToken(const std::string& line, size_t& pos) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  size_t start = pos;
  while (pos < line.size() && !isBlank(line[pos])) ++pos;
  return line.substr(start, pos - start);
}

// Fields of one line read as "%d, %s %s": the count of fields read (0 to 3).
int scanLine(const std::string& line, long& identifier, std::string& name, std::string& cas) {
  const char* begin = line.c_str();
  char* end = nullptr;
  identifier = strtol(begin, &end, 10);
  if (end == begin) return 0;
  size_t pos = static_cast<size_t>(end - begin);
  if (pos >= line.size() || line[pos] != ',') return 1;
  ++pos;
  name = nextToken(line, pos);
  if (name.empty()) return 1;
  cas = nextToken(line, pos);
  return cas.empty() ? 2 : 3;
}

bool blankLine(const std::string& line) {
  for (char c : line)
    if (!isBlank(c)) return false;
  return true;
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

int hostVersion(const char* module) {
  if (!GetModuleHandleA(module)) return 0;
  int major = 0, minor = 0, release = 0, build = 0;
  if (!getDLLversions(&major, &minor, &release, &build, module)) return 0;
  return major * 100 + minor * 10;
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

int TxUtils::casCount() { return g_casCount; }
int TxUtils::tarnixVersion() {
  initialize();
  return g_tarnixVersion;
}
int TxUtils::sketchVersion() {
  initialize();
  return g_sketchVersion;
}

bool TxUtils::isTarnixHost() {
  initialize();
  return g_tarnixVersion != 0;
}

void TxUtils::initialize() {
  if (g_loaded) return;
  readCompoundList();
  try {
    g_tarnixVersion = hostVersion("tarnix.exe");
    g_sketchVersion = 0;
    g_sketchVersion = hostVersion("sketchr.exe");
  } catch (...) {
    // getDLLversions has reported what it could; the host stays unknown.
  }
  g_loaded = true;
}

void TxUtils::readCompoundList() {
  try {
    clearTables();
    std::string path = MTUtils::getDllDirectory() + "\\TxpCASnos.txt";
    // Binary mode: a stray end-of-file byte must not end the list early, and "\r" is a blank.
    fw::UniqueFile file(fopen(path.c_str(), "rb"));
    if (!file) {
      MTUtils::reportFailure("Cannot open TxpCASnos.txt", nullptr, nullptr, true);
      return;
    }
    int counter = 1;
    std::string line, name, cas;
    while (readLine(file.get(), line)) {
      if (blankLine(line)) continue;  // scanf skips empty lines
      long identifier = 0;
      int fields = scanLine(line, identifier, name, cas);
      if (fields == 0) break;
      if (fields < 3) {
        MTUtils::reportFailure("could not read 3 fields of one line", nullptr, nullptr, true);
        return;
      }
      if (name.size() > kNameLimit) {
        MTUtils::reportFailure("component name too long", nullptr, nullptr, true);
        return;
      }
      if (cas.size() > kCasLimit) {
        MTUtils::reportFailure("casno name too long", nullptr, nullptr, true);
        return;
      }
      if (name.back() == ',') name.pop_back();
      store(identifier, name, cas);
      ++counter;
    }
    if (counter < kExpectedCompounds) {
      char text[160];
      snprintf(text, sizeof text,
               "WARNING: only %d compounds (%d were expected) were read from file TxpCASnos.txt. ", counter,
               kExpectedCompounds);
      MTUtils::showMessage(text, "", 0, nullptr);
    }
  } catch (...) {
    MTUtils::reportFailure("problem reading component list", nullptr, nullptr, true);
  }
}
