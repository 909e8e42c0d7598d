// Self-registration as installers and regsvr32 use it. These tests unregister and
// re-register the product in the build's prefix: the area runs alone, and every test
// leaves the build tree's DLL registered.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"

namespace {

const char kClassKey[] = "CLSID\\{B086B465-F0EA-11D2-9710-00A0C98C26CE}";
const char kProgId[] = "TxShowCOCATIDs.CCAPEGUI";
const char kVersionedProgId[] = "TxShowCOCATIDs.CCAPEGUI.1";
const char kTypeLibKey[] = "TypeLib\\{F3E12363-E6AD-11D2-9702-00A0C98C26CE}";

using ServerFn = HRESULT(STDAPICALLTYPE*)();

// Every key the product writes (and the type library's), one comparable list.
std::vector<std::string> registration() {
  std::vector<std::string> all;
  for (const char* key : {kClassKey, kProgId, kVersionedProgId, kTypeLibKey}) {
    std::vector<std::string> lines = tx::snapshotKey(HKEY_CLASSES_ROOT, key);
    all.push_back(std::string("[") + key + "]");
    all.insert(all.end(), lines.begin(), lines.end());
  }
  return all;
}

std::string value(const std::string& key, const std::string& name = "") {
  std::string data;
  if (!tx::readRegString(HKEY_CLASSES_ROOT, key, name, &data)) return "<missing>";
  return data;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string inQuotes(const std::string& path) { return "\"" + path + "\""; }

class RegistrationTest : public tx::ComTest {
 protected:
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    // Whatever a test did, the build tree's DLL is registered again for the others.
    EXPECT_EQ(0, tx::runProcess("regsvr32 /s " + inQuotes(tx::productDll())));
    std::string server = value(std::string(kClassKey) + "\\InprocServer32");
    EXPECT_EQ(lower(tx::productDll()), lower(server));
  }

  void loadProduct() {
    module_ = LoadLibraryA(tx::productDll().c_str());
    ASSERT_NE(nullptr, module_);
    registerServer = reinterpret_cast<ServerFn>(GetProcAddress(module_, "DllRegisterServer"));
    unregisterServer = reinterpret_cast<ServerFn>(GetProcAddress(module_, "DllUnregisterServer"));
    ASSERT_NE(nullptr, registerServer);
    ASSERT_NE(nullptr, unregisterServer);
  }

  ServerFn registerServer = nullptr;
  ServerFn unregisterServer = nullptr;

 private:
  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(RegistrationTest, ClassProgIdsAndTypeLibraryAreWritten) {
  loadProduct();
  BoxCapture boxes;
  ASSERT_EQ(S_OK, registerServer());
  EXPECT_EQ(0u, boxes.count());

  const std::string cls = kClassKey;
  EXPECT_EQ("CCAPEGUI Class", value(kVersionedProgId));
  EXPECT_EQ("{B086B465-F0EA-11D2-9710-00A0C98C26CE}", value(std::string(kVersionedProgId) + "\\CLSID"));
  EXPECT_EQ("CCAPEGUI Class", value(kProgId));
  EXPECT_EQ("{B086B465-F0EA-11D2-9710-00A0C98C26CE}", value(std::string(kProgId) + "\\CLSID"));
  EXPECT_EQ(kVersionedProgId, value(std::string(kProgId) + "\\CurVer"));
  EXPECT_EQ("CCAPEGUI Class", value(cls));
  EXPECT_EQ(kVersionedProgId, value(cls + "\\ProgID"));
  EXPECT_EQ(kProgId, value(cls + "\\VersionIndependentProgID"));
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, cls + "\\Programmable"));
  EXPECT_EQ(std::vector<std::string>{}, tx::snapshotKey(HKEY_CLASSES_ROOT, cls + "\\Programmable"));
  EXPECT_EQ(lower(tx::productDll()), lower(value(cls + "\\InprocServer32")));
  EXPECT_EQ("Apartment", value(cls + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ("{F3E12363-E6AD-11D2-9702-00A0C98C26CE}", value(cls + "\\TypeLib"));
  // No component categories of its own.
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, cls + "\\Implemented Categories"));

  // The type library, from the DLL's own file, with its folder as help folder.
  const std::string lib = std::string(kTypeLibKey) + "\\1.0";
  EXPECT_EQ("TxShowCOCATIDs 1.0 Type Library", value(lib));
  std::string dll = tx::productDll();
  EXPECT_EQ(lower(dll), lower(value(lib + "\\409\\win64")));
  EXPECT_EQ(lower(dll.substr(0, dll.find_last_of('\\'))), lower(value(lib + "\\HELPDIR")));
}

TEST_F(RegistrationTest, RegisteringTwiceGivesTheSameRegistry) {
  loadProduct();
  ASSERT_EQ(S_OK, registerServer());
  std::vector<std::string> first = registration();
  // What registration removes with ForceRemove: keys and values below the class key.
  const std::string cls = kClassKey;
  fw::UniqueHKey extra;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, (cls + "\\Stale\\Deeper").c_str(), 0, nullptr, 0,
                                           KEY_WRITE, nullptr, extra.put(), nullptr));
  extra.reset();
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, (cls + "\\Programmable").c_str(), 0, nullptr, 0,
                                           KEY_WRITE, nullptr, extra.put(), nullptr));
  const char stale[] = "stale";
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(extra.get(), "Left", 0, REG_SZ, reinterpret_cast<const BYTE*>(stale),
                                          sizeof stale));
  extra.reset();

  ASSERT_EQ(S_OK, registerServer());
  EXPECT_EQ(first, registration());
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, cls + "\\Stale"));
}

TEST_F(RegistrationTest, UnregisteringRemovesClassAndProgIdsButKeepsTheRest) {
  loadProduct();
  ASSERT_EQ(S_OK, registerServer());
  std::vector<std::string> typeLibrary = tx::snapshotKey(HKEY_CLASSES_ROOT, kTypeLibKey);
  BoxCapture boxes;
  ASSERT_EQ(S_OK, unregisterServer());
  EXPECT_EQ(0u, boxes.count());
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kProgId));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kVersionedProgId));
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, "CLSID"));
  // Other classes stay, and so does the type library's registration.
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, "CLSID\\{00020424-0000-0000-C000-000000000046}"));
  EXPECT_EQ(typeLibrary, tx::snapshotKey(HKEY_CLASSES_ROOT, kTypeLibKey));
  EXPECT_FALSE(typeLibrary.empty());

  // Nothing left to remove is no failure.
  EXPECT_EQ(S_OK, unregisterServer());
  fw::ComPtr<IUnknown> object;
  EXPECT_EQ(REGDB_E_CLASSNOTREG,
            CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()));
}

TEST_F(RegistrationTest, ProgIdKeysWithForeignSubkeysStay) {
  loadProduct();
  ASSERT_EQ(S_OK, registerServer());
  fw::UniqueHKey foreign;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(kProgId) + "\\Shell").c_str(), 0, nullptr,
                                           0, KEY_WRITE, nullptr, foreign.put(), nullptr));
  foreign.reset();
  ASSERT_EQ(S_OK, unregisterServer());
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\Shell"));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CLSID"));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CurVer"));
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, kProgId);
}

TEST_F(RegistrationTest, Regsvr32RegistersAndUnregisters) {
  std::string dll = inQuotes(tx::productDll());
  ASSERT_EQ(0, tx::runProcess("regsvr32 /s /u " + dll));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kProgId));
  ASSERT_EQ(0, tx::runProcess("regsvr32 /s " + dll));
  EXPECT_EQ("CCAPEGUI Class", value(kClassKey));

  // Created by ProgID, as hosts and scripts do.
  CLSID clsid = {};
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"TxShowCOCATIDs.CCAPEGUI", &clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_CCAPEGUI, clsid));
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"TxShowCOCATIDs.CCAPEGUI.1", &clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_CCAPEGUI, clsid));
  fw::ComPtr<IDispatch> object;
  EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void()));
}

TEST_F(RegistrationTest, PathWithASingleQuoteIsWrittenUnchanged) {
  std::string folder = tx::makeTempFolder("O'Brien's copy");
  ASSERT_TRUE(tx::fileExists(folder));
  std::string copy = folder + "\\TxCOGUI.dll";
  ASSERT_TRUE(CopyFileA(tx::productDll().c_str(), copy.c_str(), FALSE));
  ASSERT_EQ(0, tx::runProcess("regsvr32 /s " + inQuotes(copy)));
  std::string server = value(std::string(kClassKey) + "\\InprocServer32");
  EXPECT_EQ(lower(copy), lower(server));
  EXPECT_NE(std::string::npos, server.find("O'Brien's copy"));
  EXPECT_EQ(lower(folder), lower(value(std::string(kTypeLibKey) + "\\1.0\\HELPDIR")));

  // The copy serves objects from where it lies.
  fw::ComPtr<ICCAPEGUI> object;
  ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  char loaded[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA(copy.c_str()), loaded, MAX_PATH);
  EXPECT_EQ(lower(copy), lower(loaded));
  object.reset();
  CoFreeUnusedLibrariesEx(0, 0);

  ASSERT_EQ(0, tx::runProcess("regsvr32 /s " + inQuotes(tx::productDll())));
  tx::removeTree(folder);
}
