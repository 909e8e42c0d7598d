#include "cohost/BoxRelay.h"
#include <cstdio>
#include "cohost/Console.h"

BoxRelay::BoxRelay(bool batch) {
  if (!batch) return;
  hook_.reset(new (std::nothrow) fw::WindowHook([this](HWND window) {
    // A box is filled in after it is activated: it is read from its own message loop.
    fw::DriveOptions options;
    options.tickMs = 1;
    options.graceMs = 0;
    if (fw::isMessageBox(window)) fw::WindowHook::drive(window, {[this](HWND box) { relay(box); }}, options);
  }));
}

std::vector<RelayedBox> BoxRelay::take() {
  std::vector<RelayedBox> taken;
  taken.swap(boxes_);
  return taken;
}

void BoxRelay::relay(HWND box) {
  RelayedBox relayed;
  relayed.caption = fw::windowText(box);
  relayed.text = fw::messageBoxText(box);
  if (printed_) {
    printText(stderr, "[message box] %s: %s\n", relayed.caption.c_str(), relayed.text.c_str());
    fflush(stderr);
  }
  boxes_.push_back(relayed);
  fw::postClick(box, fw::defaultButton(box));
}
