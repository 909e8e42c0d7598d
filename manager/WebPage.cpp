#include "manager/WebPage.h"
#include <exdisp.h>
#include "framework/ComPtr.h"
#include "manager/ErrorBox.h"
#include "support/CTxBSTR.h"
#include "support/Utils.h"

namespace {

// The web browser application and the two interfaces used on it.
const CLSID kClsidInternetExplorer = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidWebBrowser = {0xEAB22AC1, 0x30C1, 0x11CF, {0xA7, 0xEB, 0x00, 0x00, 0xC0, 0x5B, 0xAE, 0x0B}};
const IID kIidWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

HRESULT NavigateToURL(const std::string& url) {
  if (url.empty()) return showManagerError("Component does not provide any URL for that field");
  // A page is a matter of this computer, whichever computer the components come from.
  fw::ComPtr<IWebBrowser> browser;
  HRESULT hr = Utils::createInstance(kClsidInternetExplorer, nullptr, Utils::kCreationContext, kIidWebBrowser,
                                     browser.put_void(), nullptr);
  if (FAILED(hr)) return hr;
  if (!browser) return E_POINTER;
  try {
    CTxBSTR address(url.c_str());
    fw::ComPtr<IWebBrowserApp> application;
    hr = application.queryFrom(browser.get(), kIidWebBrowserApp);
    if (hr == E_NOINTERFACE) {
      showManagerError("Error access interface IWebBrowserApp from InternetExplorer class");
      return hr;
    }
    if (FAILED(hr)) {
      showManagerError("Unexpected Error navigating to url '" + url + "'");
      return hr;
    }
    // A browser that cannot show itself may still open the page: Navigate decides.
    application->put_Visible(VARIANT_TRUE);
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    hr = browser->Navigate(address.GetBSTR(), &missing, &missing, &missing, &missing);
    if (FAILED(hr)) showManagerError("Error navigating to url '" + url + "'");
    return hr;
  } catch (...) {
    return showManagerError("Unexpected Error navigating to url '" + url + "'");
  }
}
