// Registration of the sample DLLs: what the fixtures' regsvr32 left in the registry, what
// the component-category manager finds, and that unregistering removes all of it.
#include <windows.h>
#include <comcat.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include "SampleClient.h"
#include "common/TestSupport.h"
#include "external/CapeOpenCategories.h"

namespace {

struct CategoryBit {
  unsigned bit;
  const GUID* catid;
};
const CategoryBit kCategories[] = {
    {txs::kCatComponent, &CATID_CapeComponent},
    {txs::kCatThermoRoutine, &CATID_CapeThermoRoutine},
    {txs::kCatThermoSystem, &CATID_CapeThermoSystem},
    {txs::kCatPropertyPackage, &CATID_CapeThermoPropertyPackage},
    {txs::kCatEquilibriumServer, &CATID_CapeThermoEquilibriumServer},
    {txs::kCatUnitOperation, &CATID_CapeUnitOperation},
    {txs::kCatKineticReactionSystem, &CATID_CapeKineticReactionSystem},
    {txs::kCatKineticReaction, &CATID_CapeKineticReaction},
};

struct SampleDll {
  const char* file;
  const char* folder;
  const txs::ClassInfo* const* classes;
  size_t count;
};
const SampleDll kDlls[] = {
    {txs::kThermoDll, "thermo", txs::kThermoClasses, std::size(txs::kThermoClasses)},
    {txs::kUnitsDll, "units", txs::kUnitsClasses, std::size(txs::kUnitsClasses)},
    {txs::kHostDll, "host", txs::kHostClasses, std::size(txs::kHostClasses)},
    {txs::kZooDll, "zoo", txs::kZooClasses, std::size(txs::kZooClasses)},
};

std::vector<const txs::ClassInfo*> allClasses() {
  std::vector<const txs::ClassInfo*> classes;
  for (const SampleDll& dll : kDlls) classes.insert(classes.end(), dll.classes, dll.classes + dll.count);
  return classes;
}

std::string guidText(REFGUID guid) {
  wchar_t wide[40];
  StringFromGUID2(guid, wide, 40);
  return tx::narrow(wide);
}

std::string regValue(const std::string& key, const std::string& name) {
  std::string value = "<missing>";
  tx::readRegString(HKEY_CLASSES_ROOT, key, name, &value);
  return value;
}

void expectDescription(const std::string& key, const txs::CapeValues& values) {
  for (const txs::CapeValueEntry& entry : txs::capeValueEntries(values)) {
    ASSERT_NE(nullptr, entry.text);
    EXPECT_EQ(entry.text, regValue(key, entry.name)) << key << " " << entry.name;
  }
}

// HKEY_CLASSES_ROOT of this process redirected to a scratch key for the life of the object.
class ScratchClassesRoot {
 public:
  // One scratch key per process: the test cases of this program run side by side.
  ScratchClassesRoot() : path_("Software\\TxSamplesRegistrationTest" + std::to_string(GetCurrentProcessId())) {
    tx::deleteKeyTree(HKEY_CURRENT_USER, path_);
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    overridden_ = key_ && RegOverridePredefKey(HKEY_CLASSES_ROOT, key_.get()) == ERROR_SUCCESS;
  }
  ~ScratchClassesRoot() {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    key_.reset();
    tx::deleteKeyTree(HKEY_CURRENT_USER, path_);
  }
  bool active() const { return overridden_; }
  HKEY key() const { return key_.get(); }
  // Every key and value below the scratch root, except the keys that every
  // HKEY_CLASSES_ROOT has and that no server owns.
  std::vector<std::string> everything() const {
    std::vector<std::string> lines = tx::snapshotKey(HKEY_CURRENT_USER, path_);
    for (const char* shared : {"\\CLSID", "\\Interface", "\\TypeLib"})
      lines.erase(std::remove_if(lines.begin(), lines.end(),
                                 [&](const std::string& line) { return _stricmp(line.c_str(), (path_ + shared).c_str()) == 0; }),
                  lines.end());
    return lines;
  }

 private:
  std::string path_;
  fw::UniqueHKey key_;
  bool overridden_ = false;
};

class RegistrationTest : public tx::ComTest {};

}  // namespace

TEST_F(RegistrationTest, EveryClassIsRegisteredAsItsIdentitySays) {
  for (const txs::ClassInfo* info : allClasses()) {
    SCOPED_TRACE(info->key);
    const std::string clsid = guidText(info->clsid);
    const std::string key = "CLSID\\" + clsid;
    EXPECT_EQ(clsid, regValue(std::string(info->progId) + "\\CLSID", ""));
    EXPECT_EQ(clsid, regValue(std::string(info->viProgId) + "\\CLSID", ""));
    EXPECT_EQ(info->progId, regValue(std::string(info->viProgId) + "\\CurVer", ""));
    EXPECT_EQ(info->progId, regValue(key + "\\ProgID", ""));
    EXPECT_EQ(info->viProgId, regValue(key + "\\VersionIndependentProgID", ""));

    if (info->hasServer) {
      std::string server = regValue(key + "\\InprocServer32", "");
      std::string tail = std::string("\\") + info->dll;
      ASSERT_GT(server.size(), tail.size());
      EXPECT_EQ(0, _stricmp(tail.c_str(), server.c_str() + server.size() - tail.size())) << server;
      EXPECT_EQ("Apartment", regValue(key + "\\InprocServer32", "ThreadingModel"));
    } else {
      EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, key + "\\InprocServer32"));
    }

    for (const CategoryBit& category : kCategories) {
      bool registered =
          tx::keyExists(HKEY_CLASSES_ROOT, key + "\\Implemented Categories\\" + guidText(*category.catid));
      EXPECT_EQ((info->categories & category.bit) != 0, registered) << guidText(*category.catid);
    }

    if (info->hasDescription)
      expectDescription(key + "\\CapeDescription", info->values);
    else
      EXPECT_FALSE(tx::keyExists(HKEY_CLASSES_ROOT, key + "\\CapeDescription"));
  }
}

TEST_F(RegistrationTest, CategoryManagerFindsEachClassUnderEachOfItsCategories) {
  fw::ComPtr<ICatInformation> categories;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                                   categories.put_void()));
  for (const CategoryBit& category : kCategories) {
    SCOPED_TRACE(guidText(*category.catid));
    CATID wanted = *category.catid;
    fw::ComPtr<IEnumCLSID> classes;
    ASSERT_EQ(S_OK, categories->EnumClassesOfCategories(1, &wanted, static_cast<ULONG>(-1), nullptr, classes.put()));
    std::set<std::string> found;
    CLSID clsid;
    while (classes->Next(1, &clsid, nullptr) == S_OK) found.insert(guidText(clsid));
    for (const txs::ClassInfo* info : allClasses())
      EXPECT_EQ((info->categories & category.bit) != 0, found.count(guidText(info->clsid)) == 1) << info->key;
  }
}

TEST_F(RegistrationTest, PropertyPackagesAreRegisteredUnderTheirSystem) {
  const std::string system = "CLSID\\" + guidText(txs::kThermoSystem.clsid) + "\\PropertyPackages\\";
  for (const txs::PackageData& package : txs::kSystemPackages) {
    SCOPED_TRACE(package.name);
    expectDescription(system + package.name + "\\CapeDescription", package.values);
  }
  const std::string faulty = "CLSID\\" + guidText(txs::kFaultySystem.clsid) + "\\PropertyPackages\\";
  for (const char* name : txs::kFaultPackages) EXPECT_EQ(name, regValue(faulty + name + "\\CapeDescription", "Name"));
  const std::string bracket = "CLSID\\" + guidText(txs::kBracketName.clsid) + "\\PropertyPackages\\";
  EXPECT_EQ(txs::kBracketPackageName, regValue(bracket + txs::kBracketPackageName + "\\CapeDescription", "Name"));
}

TEST_F(RegistrationTest, ZooRegistrationOddities) {
  const std::string longKey = "CLSID\\" + guidText(txs::kLongValues.clsid) + "\\CapeDescription";
  EXPECT_EQ(3000u, regValue(longKey, "Description").size());
  EXPECT_EQ(2048u, regValue(longKey, "About").size());
  EXPECT_EQ(2047u, regValue(longKey, "HelpURL").size());

  std::string bracketName = regValue("CLSID\\" + guidText(txs::kBracketName.clsid) + "\\CapeDescription", "Name");
  EXPECT_NE(std::string::npos, bracketName.find('['));
  EXPECT_NE(std::string::npos, bracketName.find(']'));

  EXPECT_EQ("First line\\nsecond %n third %% fourth %1 end",
            regValue("CLSID\\" + guidText(txs::kAboutEscapes.clsid) + "\\CapeDescription", "About"));

  fw::ComPtr<IUnknown> object;
  EXPECT_EQ(S_OK, txt::create(txs::kNoDescription, IID_IUnknown, object));

  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(txs::kNoServer.progIdW, &clsid));
  EXPECT_TRUE(IsEqualCLSID(txs::kNoServer.clsid, clsid));
  EXPECT_EQ(REGDB_E_CLASSNOTREG, txt::create(txs::kNoServer, IID_IUnknown, object));
}

TEST_F(RegistrationTest, RegisteringIsRepeatableAndUnregisteringLeavesNothing) {
  for (const SampleDll& dll : kDlls) {
    SCOPED_TRACE(dll.file);
    HMODULE module = LoadLibraryA(tx::buildPath(std::string("samples/") + dll.folder + "/" + dll.file).c_str());
    ASSERT_NE(nullptr, module);
    auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllRegisterServer"));
    auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllUnregisterServer"));
    ASSERT_TRUE(registerServer && unregisterServer);
    std::vector<std::vector<std::string>> real;
    for (size_t i = 0; i < dll.count; ++i)
      real.push_back(txt::registrationSnapshot(HKEY_CLASSES_ROOT, *dll.classes[i]));
    {
      ScratchClassesRoot scratch;
      ASSERT_TRUE(scratch.active());
      ASSERT_EQ(S_OK, registerServer());
      std::vector<std::string> first = scratch.everything();
      // The same keys and values as regsvr32's registration of the test prefix.
      for (size_t i = 0; i < dll.count; ++i) {
        std::vector<std::string> lines = txt::registrationSnapshot(scratch.key(), *dll.classes[i]);
        EXPECT_FALSE(lines.empty()) << dll.classes[i]->key;
        EXPECT_EQ(real[i], lines) << dll.classes[i]->key;
      }
      ASSERT_EQ(S_OK, registerServer());
      EXPECT_EQ(first, scratch.everything());
      ASSERT_EQ(S_OK, unregisterServer());
      EXPECT_EQ(std::vector<std::string>(), scratch.everything());
    }
    FreeLibrary(module);
  }
}

TEST_F(RegistrationTest, UnregisteringKeepsAProgIdThatNowNamesAnotherClass) {
  HMODULE module = LoadLibraryA(tx::buildPath(std::string("samples/units/") + txs::kUnitsDll).c_str());
  ASSERT_NE(nullptr, module);
  auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllRegisterServer"));
  auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllUnregisterServer"));
  {
    ScratchClassesRoot scratch;
    ASSERT_TRUE(scratch.active());
    ASSERT_EQ(S_OK, registerServer());
    const char* foreign = "{00000000-1111-2222-3333-444444444444}";
    fw::UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch.key(), "TxSamples.Mixer.1\\CLSID", 0, KEY_WRITE, key.put()));
    RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign), 39);
    key.reset();
    ASSERT_EQ(S_OK, unregisterServer());
    std::vector<std::string> left = scratch.everything();
    ASSERT_FALSE(left.empty());
    for (const std::string& line : left) EXPECT_NE(std::string::npos, line.find("TxSamples.Mixer.1")) << line;
  }
  FreeLibrary(module);
}
