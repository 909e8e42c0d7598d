// Captures every message box and dialog that the test's own thread opens, records what
// it showed and answers it, so that no test ever waits for a person. Install one
// BoxCapture for the scope of a test; the boxes are answered from their own modal loops.
#pragma once
#include <windows.h>
#include <functional>
#include <deque>
#include <string>
#include <vector>
#include "framework/WindowHook.h"

struct CapturedBox {
  std::string text;      // UTF-8, as the box shows it
  std::string caption;
  UINT type = 0;         // MB_ bits as the box shows them: buttons, icon, MB_SYSTEMMODAL
  HWND owner = nullptr;
  int answer = 0;        // the button the capture pressed
};

class BoxCapture {
 public:
  BoxCapture();
  BoxCapture(const BoxCapture&) = delete;
  BoxCapture& operator=(const BoxCapture&) = delete;

  // Answers for the next boxes, in order (IDOK, IDYES, IDNO ...); then the default button.
  void queueAnswers(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  // Called for each dialog that is not a message box, once it is active. The handler
  // drives it (typically with fw::WindowHook::drive) and must close it.
  void onDialog(std::function<void(HWND)> handler) { dialogHandler_ = std::move(handler); }
  // Called for each message box once it is recorded and before it is answered, from the
  // box's own message loop (outside the hook, so boxes that the handler opens are
  // captured too) while the code that opened it waits.
  void onBox(std::function<void(const CapturedBox&)> handler) { boxHandler_ = std::move(handler); }

  const std::vector<CapturedBox>& boxes() const { return boxes_; }
  size_t count() const { return boxes_.size(); }
  // The texts of all boxes, one per element.
  std::vector<std::string> texts() const;
  // True when some box's text contains 'part'.
  bool anyContains(const std::string& part) const;
  void clear() { boxes_.clear(); }

 private:
  void activated(HWND window);
  // Reads a box that has been set up, records it, runs the box handler and answers it.
  void answerBox(HWND window);

  std::vector<CapturedBox> boxes_;
  std::deque<int> answers_;
  std::function<void(HWND)> dialogHandler_;
  std::function<void(const CapturedBox&)> boxHandler_;
  fw::WindowHook hook_;
};
