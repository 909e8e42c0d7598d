#include "samples/common/EditWindow.h"
#include <vector>
#include "framework/Module.h"
#include "samples/common/ComHelpers.h"
#include "samples/common/SampleModule.h"

namespace txs {

namespace {

const UINT_PTR kAutoCloseTimer = 1;

// A dialog template in memory: DLGTEMPLATE, then each DLGITEMTEMPLATE on a DWORD boundary.
class TemplateBuilder {
 public:
  void header(DWORD style, WORD items, short cx, short cy, const std::wstring& title) {
    DLGTEMPLATE t = {};
    t.style = style;
    t.cdit = items;
    t.cx = cx;
    t.cy = cy;
    append(&t, sizeof t);
    word(0);  // no menu
    word(0);  // standard dialog class
    text(title);
  }
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& title) {
    align();
    DLGITEMTEMPLATE t = {};
    t.style = style | WS_CHILD | WS_VISIBLE;
    t.x = x;
    t.y = y;
    t.cx = cx;
    t.cy = cy;
    t.id = id;
    append(&t, sizeof t);
    word(0xFFFF);
    word(atom);
    text(title);
    word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void append(const void* data, size_t size) {
    const WORD* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + size / sizeof(WORD));
  }
  void word(WORD w) { words_.push_back(w); }
  void text(const std::wstring& s) {
    for (wchar_t c : s) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  void align() {
    if (words_.size() % 2) words_.push_back(0);
  }
  std::vector<WORD> words_;  // WORD-aligned storage; DWORD alignment of the start is the allocator's
};

INT_PTR CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      windowOpened();
      if (editAutoClose()) SetTimer(window, kAutoCloseTimer, editAutoClose(), nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam == kAutoCloseTimer) {
        KillTimer(window, kAutoCloseTimer);
        EndDialog(window, IDOK);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(window, LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      windowClosed();
      return FALSE;
  }
  return FALSE;
}

}  // namespace

HRESULT showEditWindow(const std::string& caption, const std::string& text) {
  TemplateBuilder dialog;
  dialog.header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 2, 220, 90, wideFromNarrow(caption));
  dialog.item(SS_LEFT, 10, 10, 200, 50, kEditTextId, 0x0082, wideFromNarrow(text));
  dialog.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 160, 68, 50, 14, IDOK, 0x0080, L"OK");
  INT_PTR result = DialogBoxIndirectParamW(fw::Module::instance(), dialog.get(), GetActiveWindow(), editProc, 0);
  if (result == -1) {
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  return S_OK;
}

}  // namespace txs
