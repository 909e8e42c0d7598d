// A private folder with a copy of the product DLL, so that the files the support library
// reads "beside the DLL" (TxpCASnos.txt, TxCOGUI.ini) belong to one test only and never
// land in the build tree, which other tests read at the same time.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class ModuleFolder {
 public:
  ModuleFolder();
  ~ModuleFolder();
  ModuleFolder(const ModuleFolder&) = delete;
  ModuleFolder& operator=(const ModuleFolder&) = delete;

  bool ready() const { return ready_; }
  const std::string& folder() const { return folder_; }
  std::string dllPath() const { return path("TxCOGUI.dll"); }
  std::string path(const std::string& name) const { return folder_ + "\\" + name; }
  // Writes a file into the folder; it is removed with the folder.
  bool write(const std::string& name, const std::string& content);
  void remove(const std::string& name);
  // Loads the copy into this process and makes it the module that MTUtils knows.
  bool load();

 private:
  std::string folder_;
  std::vector<std::string> files_;
  HMODULE module_ = nullptr;
  bool ready_ = false;
};

// Lines "id, name cas" for 'count' compounds with identifiers 1.. and 3000.. in turn.
std::string compoundLines(int count);

// What the trace file gained since construction. Other tests append to the same file at
// the same time, so it is never deleted, only read behind the mark.
class TraceWatch {
 public:
  TraceWatch();
  std::string added() const;

 private:
  size_t mark_;
};
