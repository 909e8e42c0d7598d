#include "cohost/Session.h"
#include <cstdio>
#include "framework/WideText.h"
#include "support/CTxBSTR.h"

Session::Session(const Options& options) : options_(options), boxes_(options.batch) {}

fw::ComPtr<ICCAPEGUI> Session::createProduct() {
  fw::ComPtr<ICCAPEGUI> object;
  HRESULT hr = CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, object.put_void());
  if (FAILED(hr)) {
    error("cannot create TxShowCOCATIDs.CCAPEGUI (" + hexCode(hr) +
          "): register TxCOGUI.dll first (regsvr32 TxCOGUI.dll)");
    object.reset();
  }
  return object;
}

HWND Session::hostWindow() const { return GetConsoleWindow(); }

void Session::printJson(const Json& value) const {
  writeText(stdout, value.dump(2) + "\n");
  fflush(stdout);
}

void Session::error(const std::string& text) const {
  printText(stderr, "cohost: %s\n", text.c_str());
  fflush(stderr);
}

void Session::beginStep(const std::string& what) {
  step_ = what;
  stepStart_ = std::chrono::steady_clock::now();
}

void Session::endStep() {
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - stepStart_).count();
  if (seconds >= 1.0) {
    printText(stderr, "cohost: %s took %.1f s\n", step_.c_str(), seconds);
    fflush(stderr);
  }
}

std::string takeText(BSTR text) {
  CTxBSTR owner;
  owner.Attach(text);
  return narrowFromWide(text);
}

std::string hexCode(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}
