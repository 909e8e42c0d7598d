// The choice of the computer whose components the Component Manager lists: the prompt
// (template 220), then the shell's computer browser.
#pragma once
#include <windows.h>
#include <string>
#include "framework/Dialog.h"

// The computer-name prompt: OK and Cancel close it; what is typed is not read.
class CInputBox : public fw::Dialog {
 public:
  explicit CInputBox(HWND parent);
};

// Shows the shell library's version, runs the prompt (owned by 'dialog') and then the
// shell's computer browser (owned by 'owner', titled 'title'). "\\" + the computer picked,
// or empty.
std::string RequestRemoteMachine(HWND dialog, HWND owner, const char* title);
