// Registers the fake browser as the in-process server of the web browser's class for the
// life of the object (in-process servers come first for the class context the dialog uses).
#pragma once
#include <windows.h>
#include <string>
#include "browser/FakeBrowser.h"

class BrowserDouble {
 public:
  explicit BrowserDouble(int mode = fakeBrowserNormal);
  ~BrowserDouble();
  BrowserDouble(const BrowserDouble&) = delete;
  BrowserDouble& operator=(const BrowserDouble&) = delete;

  bool ready() const { return reset_ && calls_ && registered_; }
  void reset(int mode) { if (reset_) reset_(mode); }
  // The Navigate calls, one line each.
  std::string calls(int* count = nullptr) const;

 private:
  HMODULE module_;
  FakeBrowserResetFn reset_;
  FakeBrowserCallsFn calls_;
  bool registered_;
};
