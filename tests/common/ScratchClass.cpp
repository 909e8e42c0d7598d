#include "common/ScratchClass.h"
#include <cstring>
#include <gtest/gtest.h>
#include "common/TestSupport.h"
#include "framework/Raii.h"

namespace tx {

namespace {

// HKEY_CLASSES_ROOT\key made, and its value 'name' (null: the default) set unless 'value' is null.
bool write(const std::string& key, const char* name = nullptr, const char* value = nullptr) {
  fw::UniqueHKey handle;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, wideFromNarrow(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring wideName = wideFromNarrow(name), data = wideFromNarrow(value);  // UTF-8 in, as the product's texts
  return !value || RegSetValueExW(handle.get(), name ? wideName.c_str() : nullptr, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void writeValues(const std::string& key, const std::map<std::string, std::string>& values) {
  for (const auto& value : values) EXPECT_TRUE(write(key, value.first.c_str(), value.second.c_str())) << key;
}

}  // namespace

RegisteredClass::RegisteredClass(const std::string& progId, const std::vector<std::string>& catids,
                                 const std::map<std::string, std::string>& values, bool registerProgId)
    : clsid_(newGuidText()), progId_(progId) {
  std::string key = "CLSID\\" + clsid_;
  EXPECT_TRUE(write(key));
  EXPECT_TRUE(progId.empty() || write(key + "\\ProgID", nullptr, progId.c_str()));
  EXPECT_TRUE(progId.empty() || !registerProgId || write(progId + "\\CLSID", nullptr, clsid_.c_str()));
  for (const std::string& catid : catids) EXPECT_TRUE(write(key + "\\Implemented Categories\\" + catid));
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
  CLSIDFromString(wideFromNarrow(clsid_).c_str(), &result);
  return result;
}

void RegisteredClass::setInprocServer(const std::string& path) {
  std::string key = "CLSID\\" + clsid_ + "\\InprocServer32";
  EXPECT_TRUE(write(key, nullptr, path.c_str()));
  EXPECT_TRUE(write(key, "ThreadingModel", "Apartment"));
}

void RegisteredClass::addPackage(const std::string& name, const std::map<std::string, std::string>& values) {
  writeValues("CLSID\\" + clsid_ + "\\PropertyPackages\\" + name + "\\CapeDescription", values);
}

}  // namespace tx
