// Self-registration as installers and regsvr32 use it. These tests unregister and
// re-register the product in the build's prefix: the area runs alone, and every test
// leaves the build tree's DLL registered.
#include <gtest/gtest.h>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"

namespace {

const std::string kClsid = "{B086B465-F0EA-11D2-9710-00A0C98C26CE}", kClassKey = "CLSID\\" + kClsid;
const std::string kProgId = "TxShowCOCATIDs.CCAPEGUI", kVersionedProgId = kProgId + ".1";
const std::string kLibId = "{F3E12363-E6AD-11D2-9702-00A0C98C26CE}", kTypeLibKey = "TypeLib\\" + kLibId;
using Lines = std::vector<std::string>;

// Every key the product writes (and the type library's), one comparable list.
Lines registration() {
  Lines all;
  for (const std::string& key : {kClassKey, kProgId, kVersionedProgId, kTypeLibKey}) {
    all.push_back("[" + key + "]" + (tx::keyExists(HKEY_CLASSES_ROOT, key) ? "" : " missing"));
    for (const std::string& line : tx::snapshotKey(HKEY_CLASSES_ROOT, key)) all.push_back(line);
  }
  return all;
}

std::string value(const std::string& key, const char* name = "") {
  std::string data;
  return tx::readRegString(HKEY_CLASSES_ROOT, key, name, &data) ? data : "<missing>";
}

int regsvr32(const std::string& options, const std::string& dll) {
  return tx::runProcess("regsvr32 /s " + options + "\"" + dll + "\"");
}

class RegistrationTest : public tx::ComTest {
 protected:
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    // Whatever a test did, the build tree's DLL is registered again for the others.
    EXPECT_EQ(0, regsvr32("", tx::productDll()));
    EXPECT_STRCASEEQ(tx::productDll().c_str(), value(kClassKey + "\\InprocServer32").c_str());
  }
  // DllRegisterServer or DllUnregisterServer of the build tree's DLL, loaded in this process.
  HRESULT call(const char* entry) {
    if (!module_) module_ = LoadLibraryA(tx::productDll().c_str());
    auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module_, entry));
    return function ? function() : E_NOTIMPL;
  }

  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(RegistrationTest, RegisteringWritesWhatHostsAndUsersReadAndIsRepeatable) {
  BoxCapture boxes;
  ASSERT_EQ(S_OK, call("DllRegisterServer"));
  EXPECT_EQ(0u, boxes.count());
  const std::string lib = kTypeLibKey + "\\1.0", dll = tx::productDll();
  const struct { std::string key; const char* name; std::string data; } values[] = {
      {kVersionedProgId, "", "CCAPEGUI Class"}, {kVersionedProgId + "\\CLSID", "", kClsid},
      {kProgId, "", "CCAPEGUI Class"}, {kProgId + "\\CLSID", "", kClsid}, {kProgId + "\\CurVer", "", kVersionedProgId},
      {kClassKey, "", "CCAPEGUI Class"}, {kClassKey + "\\ProgID", "", kVersionedProgId},
      {kClassKey + "\\VersionIndependentProgID", "", kProgId}, {kClassKey + "\\TypeLib", "", kLibId},
      {kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"}, {lib, "", "TxShowCOCATIDs 1.0 Type Library"}};
  for (const auto& v : values) EXPECT_EQ(v.data, value(v.key, v.name)) << v.key << " [" << v.name << "]";
  // The server and the type library from the DLL's own file, with its folder as help folder.
  EXPECT_STRCASEEQ(dll.c_str(), value(kClassKey + "\\InprocServer32").c_str());
  EXPECT_STRCASEEQ(dll.c_str(), value(lib + "\\409\\win64").c_str());
  EXPECT_STRCASEEQ(dll.substr(0, dll.find_last_of('\\')).c_str(), value(lib + "\\HELPDIR").c_str());
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable"));
  EXPECT_EQ(Lines{}, tx::snapshotKey(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable"));
  EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Implemented Categories"));  // no categories of its own

  // Registering again clears what was left below the class, and gives the same registry.
  Lines first = registration();
  for (const char* stale : {"\\Stale\\Deeper", "\\Programmable"})
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CLASSES_ROOT, (kClassKey + stale).c_str(), "Left", REG_SZ, "x", 2));
  ASSERT_EQ(S_OK, call("DllRegisterServer"));
  EXPECT_EQ(first, registration());
}

TEST_F(RegistrationTest, UnregisteringRemovesClassAndProgIdsButKeepsTheRest) {
  ASSERT_EQ(S_OK, call("DllRegisterServer"));
  const Lines typeLibrary = tx::snapshotKey(HKEY_CLASSES_ROOT, kTypeLibKey);
  const std::string shell = kProgId + "\\Shell";  // another program's key below the ProgID: it stays
  ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CLASSES_ROOT, shell.c_str(), nullptr, REG_SZ, "x", 2));
  ASSERT_EQ(0, regsvr32("/u ", tx::productDll()));
  Lines expected = {"[" + kClassKey + "] missing", "[" + kProgId + "]", kProgId + " [] = CCAPEGUI Class", shell,
                    shell + " [] = x", "[" + kVersionedProgId + "] missing", "[" + kTypeLibKey + "]"};
  expected.insert(expected.end(), typeLibrary.begin(), typeLibrary.end());  // the type library stays registered
  EXPECT_EQ(expected, registration());
  EXPECT_FALSE(typeLibrary.empty());
  tx::deleteKeyTree(HKEY_CLASSES_ROOT, kProgId);
  EXPECT_TRUE(tx::keyExists(HKEY_CLASSES_ROOT, "CLSID\\{00020424-0000-0000-C000-000000000046}"));  // other classes
  BoxCapture boxes;
  EXPECT_EQ(S_OK, call("DllUnregisterServer"));  // nothing left to remove is no failure
  EXPECT_EQ(0u, boxes.count());
  fw::ComPtr<IUnknown> object;
  EXPECT_EQ(REGDB_E_CLASSNOTREG,
            CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()));
}

TEST_F(RegistrationTest, CopyInAFolderWithAQuoteOrAJapaneseNameRegistersServesAndUnregisters) {
  for (const std::string name : {"O'Brien's copy", "ポンプ試験 コピー"}) {
    SCOPED_TRACE(name);
    const std::string folder = tx::makeTempFolder(name), copy = folder + "\\TxCOGUI.dll";
    ASSERT_TRUE(CopyFileW(wideFromNarrow(tx::productDll()).c_str(), wideFromNarrow(copy).c_str(), FALSE));
    ASSERT_EQ(0, regsvr32("", copy));
    EXPECT_STRCASEEQ(copy.c_str(), value(kClassKey + "\\InprocServer32").c_str());
    EXPECT_STRCASEEQ(folder.c_str(), value(kTypeLibKey + "\\1.0\\HELPDIR").c_str());
    fw::ComPtr<ICCAPEGUI> object;  // the copy serves objects from where it lies
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
    EXPECT_NE(nullptr, GetModuleHandleW(wideFromNarrow(copy).c_str()));
    BSTR catid = nullptr;
    EXPECT_EQ(S_OK, object->GetCATID(&catid)); EXPECT_EQ("", tx::bstrText(catid));
    SysFreeString(catid);
    object.reset();
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_EQ(0, regsvr32("/u ", copy));
    EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, kClassKey));
    ASSERT_EQ(0, regsvr32("", tx::productDll()));
    tx::removeTree(folder);
  }
}
