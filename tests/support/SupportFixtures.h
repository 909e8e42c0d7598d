// Helpers of the support and trace tests: a private copy of the DLL (the files read "beside the DLL" belong to
// one test), the compound list, the trace file's growth and environment values.
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
  ModuleFolder() { ready_ = CopyFileA(tx::productDll().c_str(), path().c_str(), FALSE); }
  ~ModuleFolder() {
    if (module_) FreeLibrary(module_), MTUtils::setModuleName("");
    tx::removeTree(folder_);
  }
  bool ready() const { return ready_; }
  std::string path(const std::string& name = "TxCOGUI.dll") const { return folder_ + "\\" + name; }
  bool write(const std::string& name, const std::string& content) { return tx::writeFile(path(name), content); }
  void remove(const std::string& name) { DeleteFileA(path(name).c_str()); }
  // Loads the copy and makes it the module that MTUtils knows.
  bool load() {
    module_ = LoadLibraryA(path().c_str());
    MTUtils::setModuleName("TxCOGUI.dll");
    return module_ && MTUtils::getDllDirectory() == folder_;
  }

 private:
  // A GUID in the name: a copy still loaded by an earlier test never stands in the way.
  std::string folder_ = tx::makeTempFolder("txsupport" + tx::newGuidText());
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

// Sets an environment value for its lifetime (null removes it), then gives the old one back.
struct EnvValue {
  EnvValue(const char* name, const char* value) : name(name) {
    char text[32768];
    DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    if ((had = length > 0 && length < sizeof text)) old = text;
    SetEnvironmentVariableA(name, value);
  }
  ~EnvValue() { SetEnvironmentVariableA(name, had ? old.c_str() : nullptr); }
  const char* name;
  std::string old;
  bool had;
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
