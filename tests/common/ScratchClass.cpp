#include "common/ScratchClass.h"
#include <gtest/gtest.h>
#include "common/TestSupport.h"
#include "framework/Raii.h"

namespace tx {

namespace {

bool makeKey(const std::string& key) {
  fw::UniqueHKey handle;
  return RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) ==
         ERROR_SUCCESS;
}

void writeValues(const std::string& key, const std::map<std::string, std::string>& values) {
  for (const auto& value : values) EXPECT_TRUE(writeClassesString(key, value.first.c_str(), value.second)) << key;
}

}  // namespace

bool writeClassesString(const std::string& key, const char* name, const std::string& value) {
  fw::UniqueHKey handle;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

RegisteredClass::RegisteredClass(const std::string& progId, const std::vector<std::string>& catids,
                                 const std::map<std::string, std::string>& values, bool registerProgId)
    : clsid_(newGuidText()), progId_(progId) {
  std::string key = "CLSID\\" + clsid_;
  EXPECT_TRUE(makeKey(key));
  if (!progId.empty()) {
    EXPECT_TRUE(writeClassesString(key + "\\ProgID", nullptr, progId));
    if (registerProgId) {
      EXPECT_TRUE(writeClassesString(progId + "\\CLSID", nullptr, clsid_));
    }
  }
  for (const std::string& catid : catids) EXPECT_TRUE(makeKey(key + "\\Implemented Categories\\" + catid));
  writeValues(key + "\\CapeDescription", values);
}

RegisteredClass::~RegisteredClass() {
  deleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + clsid_);
  std::string registered;
  if (!progId_.empty() && readRegString(HKEY_CLASSES_ROOT, progId_ + "\\CLSID", "", &registered) &&
      registered == clsid_)
    deleteKeyTree(HKEY_CLASSES_ROOT, progId_);
}

CLSID RegisteredClass::guid() const {
  CLSID result = GUID_NULL;
  std::wstring text = widen(clsid_);
  CLSIDFromString(const_cast<wchar_t*>(text.c_str()), &result);
  return result;
}

void RegisteredClass::setInprocServer(const std::string& path) {
  std::string key = "CLSID\\" + clsid_ + "\\InprocServer32";
  EXPECT_TRUE(writeClassesString(key, nullptr, path));
  EXPECT_TRUE(writeClassesString(key, "ThreadingModel", "Apartment"));
}

void RegisteredClass::addPackage(const std::string& name, const std::map<std::string, std::string>& values) {
  writeValues("CLSID\\" + clsid_ + "\\PropertyPackages\\" + name + "\\CapeDescription", values);
}

}  // namespace tx
