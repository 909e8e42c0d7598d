// Helpers of the support tests: a private copy of the DLL (the files read "beside the DLL" belong to one
// test), the compound list, the trace file's growth, owned BSTRs and environment values.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "support/MTUtils.h"

using Texts = std::vector<std::string>;

class ModuleFolder {
 public:
  ModuleFolder() : folder_(tx::makeTempFolder("txsupport" + std::to_string(++serial()))) {
    ready_ = CopyFileA(tx::productDll().c_str(), dllPath().c_str(), FALSE);
  }
  ~ModuleFolder() {
    if (module_) FreeLibrary(module_), MTUtils::setModuleName("");
    tx::removeTree(folder_);
  }
  bool ready() const { return ready_; }
  std::string dllPath() const { return path("TxCOGUI.dll"); }
  std::string path(const std::string& name) const { return folder_ + "\\" + name; }
  bool write(const std::string& name, const std::string& content) { return tx::writeFile(path(name), content); }
  void remove(const std::string& name) { DeleteFileA(path(name).c_str()); }
  // Loads the copy and makes it the module that MTUtils knows.
  bool load() {
    module_ = LoadLibraryA(dllPath().c_str());
    MTUtils::setModuleName("TxCOGUI.dll");
    return module_ && MTUtils::getDllDirectory() == folder_;
  }

 private:
  static int& serial() { static int value = 0; return value; }
  std::string folder_;
  HMODULE module_ = nullptr;
  bool ready_ = false;
};

// Lines "id, name cas" for 'count' compounds with identifiers 1.. and 3000.. in turn.
inline std::string compoundLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) {
    std::string id = std::to_string(i < 999 ? i + 1 : 3000 + (i - 999));
    lines += id + ", C" + id + ", " + id + "-00-" + std::to_string(i % 10) + "\n";
  }
  return lines;
}

// What the trace file gained since construction (other programs append to it meanwhile).
struct TraceWatch {
  size_t mark = tx::readTrace().size();
  std::string added() const { std::string all = tx::readTrace(); return all.size() > mark ? all.substr(mark) : all; }
};

// A BSTR owned by the test; null stays null.
struct Bstr {
  explicit Bstr(const wchar_t* text) : b(text ? SysAllocString(text) : nullptr) {}
  Bstr(BSTR adopted, bool) : b(adopted) {}
  ~Bstr() { SysFreeString(b); }
  operator BSTR() const { return b; }  // NOLINT: reads like a BSTR argument
  BSTR b;
};

// The registry form of a GUID, written by the system.
inline std::string guidText(REFGUID guid) {
  wchar_t text[64] = L"";
  StringFromGUID2(guid, text, 64);
  return tx::narrow(text);
}

// A text no other test (or program running beside this one) writes.
inline std::string unique(const char* what) {
  return std::string(what) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
}

// Sets an environment value for its lifetime (null removes it), then gives the old one back.
class EnvValue {
 public:
  EnvValue(const char* name, const char* value) : name_(name) {
    char old[32768];
    DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
    if ((had_ = length > 0 && length < sizeof old)) old_ = old;
    SetEnvironmentVariableA(name, value);
  }
  ~EnvValue() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const char* name_;
  std::string old_;
  bool had_;
};

// COM, the product's module name, no default owner and no error information left over.
class SupportTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    MTUtils::setModuleName("TxCOGUI");
    MTUtils::setOwnerWindow(nullptr);
    SetErrorInfo(0, nullptr);
  }
};

// A test with its own loaded copy of the DLL.
class ModuleTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_TRUE(folder_.ready() && folder_.load());
  }
  ModuleFolder folder_;
};
