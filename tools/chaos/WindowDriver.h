// Answers every message box and drives every dialog that the thread opens, so that a
// chaos run never waits for a person: boxes get their default button; the Component
// Manager has every tree entry clicked, then is cancelled or accepted; the property
// package dialog has its pages shown and, now and then, its Custom View and Browse
// buttons pressed before it closes; any other dialog is cancelled.
#pragma once
#include <windows.h>
#include <cstdint>
#include "framework/WindowHook.h"

class WindowDriver {
 public:
  WindowDriver();
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  // The choices of the next dialogs come from this seed.
  void reseed(uint64_t seed);
  unsigned long boxes() const { return boxes_; }
  unsigned long dialogs() const { return dialogs_; }
  unsigned long entriesClicked() const { return entries_; }

 private:
  void opened(HWND window);
  void driveManager(HWND dialog);
  void drivePackageDialog(HWND dialog);
  uint32_t draw(uint32_t n);

  uint64_t state_ = 1;
  unsigned long boxes_ = 0;
  unsigned long dialogs_ = 0;
  unsigned long entries_ = 0;
  fw::WindowHook hook_;
};
