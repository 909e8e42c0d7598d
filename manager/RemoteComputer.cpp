#include "manager/RemoteComputer.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <cstdio>
#include <vector>
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "manager/ErrorBox.h"
#include "resources/resource.h"

namespace {

// Major and minor version of the shell library, 0 and 0 when it cannot say.
void shellVersion(int& major, int& minor) {
  major = minor = 0;
  fw::UniqueModule shell(LoadLibraryW(L"shell32.dll"));
  if (!shell) return;
  typedef HRESULT(CALLBACK * GetVersionFn)(DLLVERSIONINFO*);
  GetVersionFn getVersion = reinterpret_cast<GetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(shell.get(), "DllGetVersion")));
  if (!getVersion) return;
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof info;
  if (FAILED(getVersion(&info))) return;
  major = static_cast<int>(info.dwMajorVersion);
  minor = static_cast<int>(info.dwMinorVersion);
}

}  // namespace

CInputBox::CInputBox(HWND parent) : fw::Dialog(IDD_INPUTBOX, parent) {}

std::string RequestRemoteMachine(HWND dialog, HWND owner, const char* title) {
  int major = 0;
  int minor = 0;
  shellVersion(major, minor);
  char version[64];
  snprintf(version, sizeof version, "Shell32 version %d,%d", major, minor);
  showManagerError(version);

  // What is typed into the prompt is not used: the shell's browser names the computer.
  CInputBox prompt(dialog);
  INT_PTR shown = prompt.DoModal();
  if (shown == -1 || shown == IDABORT) {
    showManagerError("could not display window to request remote machine");
    return std::string();
  }
  fw::CoTaskMem<ITEMIDLIST> network;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_NETWORK, network.put())) || !network.get()) return std::string();
  std::vector<wchar_t> display(MAX_PATH + 1, L'\0');
  std::wstring wideTitle = wideFromNarrow(title);
  BROWSEINFOW browse = {};
  browse.hwndOwner = owner;
  browse.pidlRoot = network.get();
  browse.pszDisplayName = display.data();
  browse.lpszTitle = title ? wideTitle.c_str() : nullptr;
  browse.ulFlags = BIF_BROWSEFORCOMPUTER;
  fw::CoTaskMem<ITEMIDLIST> picked;
  *picked.put() = SHBrowseForFolderW(&browse);
  if (!picked.get()) return std::string();
  display[MAX_PATH] = L'\0';
  return "\\\\" + narrowFromWide(display.data());
}
