// Answers every message box and drives every dialog that the thread opens, so that a
// chaos run never waits for a person: boxes get their default button; the Component
// Manager has every tree entry clicked, then is cancelled or accepted; the property
// package dialog has its pages shown and, now and then, its Custom View and Browse
// buttons pressed before it closes; any other dialog is cancelled.
#pragma once
#include <windows.h>
#include <cstdint>

class WindowDriver {
 public:
  WindowDriver();
  ~WindowDriver();
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  // The choices of the next dialogs come from this seed.
  void reseed(uint64_t seed);
  unsigned long boxes() const { return boxes_; }
  unsigned long dialogs() const { return dialogs_; }
  unsigned long entriesClicked() const { return entries_; }

 private:
  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK answerBox(HWND box, UINT, UINT_PTR id, DWORD);
  static void CALLBACK driveManager(HWND dialog, UINT, UINT_PTR id, DWORD);
  static void CALLBACK drivePackageDialog(HWND dialog, UINT, UINT_PTR id, DWORD);
  static void CALLBACK cancelDialog(HWND dialog, UINT, UINT_PTR id, DWORD);
  uint32_t draw(uint32_t n);

  HHOOK hook_;
  uint64_t state_ = 1;
  unsigned long boxes_ = 0;
  unsigned long dialogs_ = 0;
  unsigned long entries_ = 0;
};
