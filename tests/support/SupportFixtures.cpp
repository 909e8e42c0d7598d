#include "SupportFixtures.h"
#include <algorithm>
#include <cstdio>
#include "common/TestSupport.h"
#include "support/MTUtils.h"

ModuleFolder::ModuleFolder() {
  static int serial = 0;
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  char name[64];
  snprintf(name, sizeof name, "txsupport-%lu-%d", GetCurrentProcessId(), ++serial);
  folder_ = std::string(temp) + name;
  ready_ = CreateDirectoryA(folder_.c_str(), nullptr) && CopyFileA(tx::productDll().c_str(), dllPath().c_str(), FALSE);
}

ModuleFolder::~ModuleFolder() {
  if (module_) {
    FreeLibrary(module_);
    MTUtils::setModuleName("");
  }
  for (const std::string& file : files_) DeleteFileA(path(file).c_str());
  DeleteFileA(dllPath().c_str());
  RemoveDirectoryA(folder_.c_str());
}

bool ModuleFolder::write(const std::string& name, const std::string& content) {
  if (std::find(files_.begin(), files_.end(), name) == files_.end()) files_.push_back(name);
  return tx::writeFile(path(name), content);
}

void ModuleFolder::remove(const std::string& name) {
  DeleteFileA(path(name).c_str());
}

bool ModuleFolder::load() {
  module_ = LoadLibraryA(dllPath().c_str());
  if (!module_) return false;
  MTUtils::setModuleName("TxCOGUI.dll");
  return MTUtils::getDllDirectory() == folder_;
}

std::string compoundLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) {
    int identifier = i < 999 ? i + 1 : 3000 + (i - 999);
    char line[64];
    snprintf(line, sizeof line, "%d, C%d, %d-00-%d\n", identifier, identifier, identifier, i % 10);
    lines += line;
  }
  return lines;
}

TraceWatch::TraceWatch() : mark_(tx::readTrace().size()) {}

std::string TraceWatch::added() const {
  std::string trace = tx::readTrace();
  return trace.size() > mark_ ? trace.substr(mark_) : trace;
}
