// A component's web pages (its vendor's and its help page), opened in the web browser.
#pragma once
#include <windows.h>
#include <string>

// Opens 'url' in a browser window, always one of this computer. An empty URL, a browser
// without its application interface and a failing navigation are shown in the Component
// Manager's error box; a browser that cannot be made was shown by the shared creation
// diagnostic. Returns the outcome.
HRESULT NavigateToURL(const std::string& url);
