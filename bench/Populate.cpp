#include "bench/Populate.h"
#include <windows.h>
#include "bench/BenchIds.h"
#include "framework/Raii.h"
#include "framework/RegistryTree.h"
#include "framework/WideText.h"
#include "manager/ComponentCatalogue.h"

namespace bench {
namespace {

const char kStateKey[] = "TxCatalogueBench.State";

const char* unitCatid() {
  for (const CategoryRow& row : CategoryTable::rows)
    if (row.flag == 32) return row.catid;
  return "";
}

bool fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

std::string describe(const char* what, LONG status) { return std::string(what) + " failed: " + std::to_string(status); }

LONG createKey(HKEY parent, const std::string& path, fw::UniqueHKey* key) {
  return RegCreateKeyExW(parent, wideFromNarrow(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key->put(),
                         nullptr);
}

LONG setText(HKEY key, const char* name, const std::string& value) {
  const std::wstring text = wideFromNarrow(value);
  return RegSetValueExW(key, name ? wideFromNarrow(name).c_str() : nullptr, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// 'path' (relative to 'parent') with its default value.
LONG writeDefault(HKEY parent, const std::string& path, const std::string& value) {
  fw::UniqueHKey key;
  LONG status = createKey(parent, path, &key);
  return status != ERROR_SUCCESS ? status : setText(key.get(), nullptr, value);
}

LONG writeDescription(HKEY parent, const std::string& path, const std::string& name) {
  fw::UniqueHKey key;
  LONG status = createKey(parent, path, &key);
  const char* const names[7] = {"Name", "Description", "About", "CapeVersion", "ComponentVersion", "VendorURL",
                                "HelpURL"};
  const std::string values[7] = {name,
                                 name + ": a synthetic component of the catalogue benchmark",
                                 "Registered by catalogue_bench",
                                 "1.0",
                                 "1.0.0.0",
                                 "http://bench.invalid/vendor",
                                 "http://bench.invalid/help"};
  for (int i = 0; i < 7 && status == ERROR_SUCCESS; ++i) status = setText(key.get(), names[i], values[i]);
  return status;
}

DWORD readNumber(HKEY state, const char* name) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegQueryValueExW(state, wideFromNarrow(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return 0;
  return value;
}

LONG writeNumber(HKEY state, const char* name, DWORD value) {
  return RegSetValueExW(state, wideFromNarrow(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value);
}

std::string readText(HKEY state, const char* name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(state, wideFromNarrow(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return std::string();
  return narrowFromWide(buffer);
}

LONG writeUnit(HKEY clsidRoot, unsigned long i) {
  std::string clsid = guidText(syntheticClsid(Kind::Unit, i));
  std::string progId = "TxBench.Unit." + std::to_string(i);
  std::string name = "Bench Unit " + std::to_string(i);
  LONG status = writeDefault(clsidRoot, clsid, name);
  if (status == ERROR_SUCCESS) status = writeDefault(clsidRoot, clsid + "\\ProgID", progId);
  if (status == ERROR_SUCCESS) status = writeDescription(clsidRoot, clsid + "\\CapeDescription", name);
  if (status == ERROR_SUCCESS) status = writeDefault(HKEY_CLASSES_ROOT, progId, name);
  if (status == ERROR_SUCCESS) status = writeDefault(HKEY_CLASSES_ROOT, progId + "\\CLSID", clsid);
  return status;
}

LONG writeSystem(HKEY clsidRoot, int i, const std::string& dllPath) {
  std::string clsid = guidText(syntheticClsid(Kind::System, static_cast<unsigned long>(i)));
  std::string progId = "TxBench.System." + std::to_string(i);
  std::string name = "Bench System " + std::to_string(i);
  LONG status = writeDefault(clsidRoot, clsid, name);
  if (status == ERROR_SUCCESS) status = writeDefault(clsidRoot, clsid + "\\ProgID", progId);
  fw::UniqueHKey server;
  if (status == ERROR_SUCCESS) status = createKey(clsidRoot, clsid + "\\InprocServer32", &server);
  if (status == ERROR_SUCCESS) status = setText(server.get(), nullptr, dllPath);
  if (status == ERROR_SUCCESS) status = setText(server.get(), "ThreadingModel", "Apartment");
  if (status == ERROR_SUCCESS)
    status = writeDefault(clsidRoot, clsid + "\\Implemented Categories\\" + kThermoSystemCatid, "");
  if (status == ERROR_SUCCESS) status = writeDescription(clsidRoot, clsid + "\\CapeDescription", name);
  for (int j = 0; j < kPackagesPerSystem && status == ERROR_SUCCESS; ++j)
    status = writeDescription(clsidRoot, clsid + "\\PropertyPackages\\" + packageName(j) + "\\CapeDescription",
                              packageName(j));
  if (status == ERROR_SUCCESS) status = writeDefault(HKEY_CLASSES_ROOT, progId, name);
  if (status == ERROR_SUCCESS) status = writeDefault(HKEY_CLASSES_ROOT, progId + "\\CLSID", clsid);
  return status;
}

LONG writeUnrelated(HKEY clsidRoot, unsigned long i) {
  std::string clsid = guidText(syntheticClsid(Kind::Unrelated, i));
  LONG status = writeDefault(clsidRoot, clsid + "\\ProgID", "TxBench.Other." + std::to_string(i));
  if (status == ERROR_SUCCESS) status = writeDefault(clsidRoot, clsid + "\\InprocServer32", "other.dll");
  return status;
}

}  // namespace

bool populate(unsigned long units, unsigned long unrelated, const std::string& dllPath, PopulateReport* report,
              std::string* error) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  fw::UniqueHKey state, clsidRoot;
  LONG status = createKey(HKEY_CLASSES_ROOT, kStateKey, &state);
  if (status != ERROR_SUCCESS) return fail(error, describe("Creating the state key", status));
  status = RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, nullptr, 0, KEY_WRITE | KEY_READ, nullptr, clsidRoot.put(),
                           nullptr);
  if (status != ERROR_SUCCESS) return fail(error, describe("Opening HKCR\\CLSID", status));

  // The state is written after each batch, so an interrupted run resumes where it stopped.
  for (DWORD have = readNumber(state.get(), "Units"); have < units; ++have) {
    status = writeUnit(clsidRoot.get(), have);
    if (status != ERROR_SUCCESS) return fail(error, describe("Writing a component", status));
    ++report->unitsWritten;
    if ((have + 1) % 500 == 0 || have + 1 == units) writeNumber(state.get(), "Units", have + 1);
  }
  if (readText(state.get(), "SystemsDll") != dllPath) {
    for (int i = 0; i < kSystemCount; ++i) {
      status = writeSystem(clsidRoot.get(), i, dllPath);
      if (status != ERROR_SUCCESS) return fail(error, describe("Writing a property system", status));
    }
    setText(state.get(), "SystemsDll", dllPath);
    report->systemsWritten = true;
  }
  for (DWORD have = readNumber(state.get(), "Unrelated"); have < unrelated; ++have) {
    status = writeUnrelated(clsidRoot.get(), have);
    if (status != ERROR_SUCCESS) return fail(error, describe("Writing an unrelated class", status));
    ++report->unrelatedWritten;
    if ((have + 1) % 1000 == 0 || have + 1 == unrelated) writeNumber(state.get(), "Unrelated", have + 1);
  }
  QueryPerformanceCounter(&end);
  report->seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
  return true;
}

bool setCategorized(unsigned long count, std::string* error) {
  fw::UniqueHKey state, clsidRoot;
  LONG status = createKey(HKEY_CLASSES_ROOT, kStateKey, &state);
  if (status != ERROR_SUCCESS) return fail(error, describe("Creating the state key", status));
  status = RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_WRITE | KEY_READ, clsidRoot.put());
  if (status != ERROR_SUCCESS) return fail(error, describe("Opening HKCR\\CLSID", status));
  if (readNumber(state.get(), "Units") < count) return fail(error, "Fewer components registered than asked");
  const std::string categories = "\\Implemented Categories";
  const std::string category = categories + "\\" + unitCatid();
  DWORD have = readNumber(state.get(), "Categorized");
  for (; have < count; ++have) {
    status = writeDefault(clsidRoot.get(), guidText(syntheticClsid(Kind::Unit, have)) + category, "");
    if (status != ERROR_SUCCESS) return fail(error, describe("Adding a category key", status));
  }
  for (; have > count; --have) {
    const std::string clsid = guidText(syntheticClsid(Kind::Unit, have - 1));
    fw::deleteRegistryTree(clsidRoot.get(), wideFromNarrow(clsid + categories));
  }
  status = writeNumber(state.get(), "Categorized", count);
  if (status != ERROR_SUCCESS) return fail(error, describe("Writing the state", status));
  return true;
}

}  // namespace bench
