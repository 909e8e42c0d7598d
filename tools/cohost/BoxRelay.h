// Message boxes that the DLL raises while the tool works. In batch mode they are caught
// on this thread, printed to stderr with their caption and answered with their default
// button, so that the tool never waits for a person; otherwise they are shown as a host
// shows them. Either way the tool can read what was said.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "framework/WindowHook.h"

struct RelayedBox {
  std::string caption;
  std::string text;
};

class BoxRelay {
 public:
  explicit BoxRelay(bool batch);
  BoxRelay(const BoxRelay&) = delete;
  BoxRelay& operator=(const BoxRelay&) = delete;

  bool batch() const { return hook_ && hook_->installed(); }
  // The boxes caught since the last take (batch mode only).
  std::vector<RelayedBox> take();
  // Whether a caught box is printed to stderr (the default); off when the caller prints
  // what it took itself, so that no box is said twice.
  void setPrinted(bool printed) { printed_ = printed; }

 private:
  void relay(HWND box);

  std::vector<RelayedBox> boxes_;
  bool printed_ = true;
  std::unique_ptr<fw::WindowHook> hook_;
};
