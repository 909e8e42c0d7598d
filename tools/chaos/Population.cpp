#include "chaos/Population.h"
#include <windows.h>
#include <objbase.h>
#include <algorithm>
#include "external/CapeOpenCategories.h"
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "framework/RegistryTree.h"
#include "framework/WideText.h"
#include "samples/zoo/ChaosIds.h"

namespace {

const unsigned kMaxClasses = 48;
const char kListValue[] = "Population";

std::string clsidOf(unsigned index) {
  char text[64];
  snprintf(text, sizeof text, "{7C4A0500-0000-4000-8000-0000000000%02X}", index);
  return text;
}

// The keys to remove, kept as a multi-string before they are written.
std::vector<std::string> listedKeys() {
  std::vector<std::string> keys;
  fw::UniqueHKey key;
  const std::wstring listValue = wideFromNarrow(kListValue);
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wideFromNarrow(txs::kChaosSeedKey).c_str(), 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS)
    return keys;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), listValue.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ)
    return keys;
  std::wstring data(size / sizeof(wchar_t) + 2, L'\0');
  if (RegQueryValueExW(key.get(), listValue.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS)
    return keys;
  for (size_t at = 0; at < size / sizeof(wchar_t) && data[at];) {
    std::wstring name(data.c_str() + at);
    keys.push_back(narrowFromWide(name));
    at += name.size() + 1;
  }
  return keys;
}

bool listKeys(const std::vector<std::string>& keys) {
  std::wstring data;
  for (const std::string& k : keys) data += wideFromNarrow(k) + L'\0';
  data += L'\0';
  fw::UniqueHKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wideFromNarrow(txs::kChaosSeedKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(key.get(), wideFromNarrow(kListValue).c_str(), 0, REG_MULTI_SZ,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

class Writer {
 public:
  Writer(uint64_t seed, const std::string& server) : random_(txs::chaosStream(seed, 0x9E61)), server_(server) {}

  void classEntry(unsigned index, Population& population, std::vector<std::string>& keys);

 private:
  HKEY create(const std::string& path, fw::UniqueHKey& key) {
    RegCreateKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                    nullptr);
    return key.get();
  }
  // A value of 'type' holding 'characters' UTF-16 units of the UTF-8 'value' (the whole
  // text and its terminator when -1); bytes that are not UTF-8 arrive as U+FFFD.
  void wide(HKEY key, const char* name, DWORD type, const std::string& value, int characters = -1) {
    if (!key) return;
    std::wstring data = wideFromNarrow(value);
    size_t count = characters < 0 ? data.size() + 1 : std::min(static_cast<size_t>(characters), data.size());
    data.resize(std::max(count, data.size()));
    RegSetValueExW(key, name ? wideFromNarrow(name).c_str() : nullptr, 0, type,
                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(count * sizeof(wchar_t)));
  }
  void text(HKEY key, const char* name, const std::string& value) { wide(key, name, REG_SZ, value); }
  void value(HKEY key, const char* name, const char* sound);
  std::string oddName();
  std::string catidSpelling(const GUID& catid);

  txs::ChaosRandom random_;
  std::string server_;
};

std::string Writer::oddName() {
  static const char* const kNames[] = {"[Bracket] Package", "%s%n%d %1 100%", "", " ", "a\\b",
                                       "Name (with) {braces}", "\xC3\x28\xFF\xFE invalid UTF-8",
                                       u8"\u00DCberhitzer \u30DD\u30F3\u30D7 \u041D\u0430\u0441\u043E\u0441 \U00020BB7", "Chaos Package", "tab\there"};
  if (random_.chance(10)) return std::string(200 + random_.below(55), 'n');
  return random_.pick(kNames);
}

std::string Writer::catidSpelling(const GUID& catid) {
  std::string text = guidText(catid);
  switch (random_.below(6)) {
    case 0: for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c))); break;
    case 1: text = text.substr(1, text.size() - 2); break;  // no braces
    case 2: text = " " + text; break;
    case 3: text[5] = text[5] == '0' ? '1' : '0'; break;  // another category altogether
    default: break;                                        // as the standard spells it
  }
  return text;
}

// A value of the CapeDescription key: the sound text mostly, else any registry type and
// any bytes.
void Writer::value(HKEY key, const char* name, const char* sound) {
  if (!key) return;
  uint32_t roll = random_.below(100);
  if (roll < 10) return;  // missing
  if (roll < 55) return text(key, name, sound);
  if (roll < 60) return text(key, name, "");
  if (roll < 63) {
    // Huge: up to a megabyte.
    std::string big(random_.chance(30) ? 1024 * 1024 : 3000 + random_.below(100000), 'h');
    return text(key, name, big);
  }
  if (roll < 70) {
    // Embedded NULs, with or without a terminating one.
    static const char kBytes[] = "before\0after\0\0tail";
    return wide(key, name, REG_SZ, std::string(kBytes, sizeof kBytes),
                static_cast<int>(6 + random_.below(sizeof kBytes - 6)));
  }
  if (roll < 76) return text(key, name, oddName());
  if (roll < 80) {
    static const wchar_t kWide[] = L"\xD800\xDC00\xD800 \x4E2D\x6587 \xFFFF";
    RegSetValueExW(key, random_.chance(50) ? std::wstring(name, name + strlen(name)).c_str() : L"Name", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(kWide), sizeof kWide);
    return;
  }
  static const DWORD kTypes[] = {REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD, REG_QWORD, REG_NONE, REG_LINK,
                                 REG_DWORD_BIG_ENDIAN};
  DWORD type = random_.pick(kTypes);
  std::string bytes = type == REG_EXPAND_SZ ? std::string("%TEMP%\\%UNDEFINED%\\x") + '\0'
                      : type == REG_MULTI_SZ ? std::string("one\0two\0\0", 9)
                                             : std::string(random_.below(9), '\x7F');
  if (type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    return wide(key, name, type, bytes, static_cast<int>(bytes.size()));
  RegSetValueExW(key, wideFromNarrow(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}

void Writer::classEntry(unsigned index, Population& population, std::vector<std::string>& keys) {
  static const GUID* const kCategories[] = {&CATID_CapeThermoSystem, &CATID_CapeThermoPropertyPackage,
                                            &CATID_CapeUnitOperation, &CATID_CapeUnitOperation,
                                            &CATID_CapeThermoSystem, &CATID_CapeComponent};
  std::string clsid = clsidOf(index);
  std::string root = "CLSID\\" + clsid;
  const GUID* category = random_.pick(kCategories);
  bool system = category == &CATID_CapeThermoSystem;
  fw::UniqueHKey classKey;
  create(root, classKey);
  ++population.classes;
  for (unsigned c = 0, n = 1 + (random_.chance(20) ? random_.below(3) : 0); c < n; ++c) {
    fw::UniqueHKey catKey;
    create(root + "\\Implemented Categories\\" + catidSpelling(c ? *random_.pick(kCategories) : *category), catKey);
  }
  // The ProgID: none, ours, another class's, or an odd name.
  uint32_t progRoll = random_.below(100);
  std::string progId;
  if (progRoll >= 15) {
    progId = progRoll < 70 ? "TxSamples.ChaosReg." + std::to_string(index) : "TxSamples.ChaosReg.Odd " + oddName();
    fw::UniqueHKey progKey;
    text(create(root + "\\ProgID", progKey), nullptr, progId);
    keys.push_back(progId.substr(0, progId.find('\\')));  // a backslash makes a subkey
    listKeys(keys);
    fw::UniqueHKey idKey, clsidKey;
    text(create(progId, idKey), nullptr, "Chaos registration");
    std::string target = clsid;
    uint32_t targetRoll = random_.below(100);
    if (targetRoll < 15) target = clsidOf(random_.below(kMaxClasses));
    else if (targetRoll < 20) target = guidText(txs::kChaosUnit.clsid);
    else if (targetRoll < 25) target = "not a GUID";
    if (targetRoll < 95) text(create(progId + "\\CLSID", clsidKey), nullptr, target);
    population.progIds.push_back(progId);
  }
  // The server: the chaos DLL (which does not serve these classes), a missing file, nothing.
  uint32_t serverRoll = random_.below(100);
  if (serverRoll < 80) {
    fw::UniqueHKey serverKey;
    create(root + "\\InprocServer32", serverKey);
    text(serverKey.get(), nullptr,
         serverRoll < 50 ? server_ : serverRoll < 70 ? "C:\\nowhere\\missing.dll" : std::string(300, 'p'));
    text(serverKey.get(), "ThreadingModel", "Apartment");
  }
  if (random_.chance(90)) {
    fw::UniqueHKey description;
    HKEY d = create(root + "\\CapeDescription", description);
    static const char* const kVersions[] = {"1.0", "1.0", "0.93", "0.9", "1.1", "", "abc", "99999999999999999999",
                                            "1.0.0.0.0", "-1"};
    value(d, "Name", ("Chaos registration " + std::to_string(index)).c_str());
    value(d, "Description", "Registered by the chaos driver");
    value(d, "About", "About [this] %s");
    value(d, "CapeVersion", random_.pick(kVersions));
    value(d, "ComponentVersion", "1.2.3");
    value(d, "VendorURL", "https://example.com/vendor");
    value(d, "HelpURL", "https://example.com/help");
  }
  if (system && random_.chance(80)) {
    for (unsigned p = 0, n = random_.below(5); p < n; ++p) {
      std::string name = oddName();
      fw::UniqueHKey packageKey;
      HKEY d = create(root + "\\PropertyPackages\\" + (name.empty() ? "x" : name) + "\\CapeDescription", packageKey);
      value(d, "Name", name.c_str());
      value(d, "Description", "Package of a chaos registration");
      value(d, "CapeVersion", "1.0");
    }
  }
}

}  // namespace

void removePopulation() {
  for (unsigned i = 0; i < kMaxClasses; ++i)
    fw::deleteRegistryTree(HKEY_CLASSES_ROOT, wideFromNarrow("CLSID\\" + clsidOf(i)));
  for (const std::string& progId : listedKeys()) {
    if (!progId.empty()) fw::deleteRegistryTree(HKEY_CLASSES_ROOT, wideFromNarrow(progId));
  }
  listKeys({});
}

bool writePopulation(uint64_t seed, const std::string& serverPath, Population* population, std::string* error) {
  removePopulation();
  Writer writer(seed, serverPath);
  txs::ChaosRandom random(txs::chaosStream(seed, 0x9E62));
  unsigned count = 3 + random.below(kMaxClasses - 3);
  std::vector<std::string> keys;
  for (unsigned i = 0; i < count; ++i) writer.classEntry(i, *population, keys);
  if (!listKeys(keys)) {
    *error = "cannot list the population's keys";
    return false;
  }
  return true;
}
