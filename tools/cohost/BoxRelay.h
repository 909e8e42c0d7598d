// Message boxes that the DLL raises while the tool works. In batch mode they are caught
// on this thread, printed to stderr with their caption and answered with their default
// button, so that the tool never waits for a person; otherwise they are shown as a host
// shows them. Either way the tool can read what was said.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct RelayedBox {
  std::string caption;
  std::string text;
};

// The button that Enter would press in a message box: its default one, else the first
// shown of OK, Yes, Retry, Abort, No, Cancel, Ignore.
int defaultButton(HWND box);

class BoxRelay {
 public:
  explicit BoxRelay(bool batch);
  ~BoxRelay();
  BoxRelay(const BoxRelay&) = delete;
  BoxRelay& operator=(const BoxRelay&) = delete;

  bool batch() const { return hook_ != nullptr; }
  // The boxes caught since the last take (batch mode only).
  std::vector<RelayedBox> take();

 private:
  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK answer(HWND box, UINT, UINT_PTR id, DWORD);

  HHOOK hook_;
  std::vector<RelayedBox> boxes_;
};
