// Utils: case-insensitive comparison of wide strings, the module's .ini file, registry
// values under HKEY_CLASSES_ROOT, interface names and COM object creation with its
// failure diagnostic.
#pragma once
#include <windows.h>
#include <string>
#include "support/CTxBSTR.h"

class Utils {
 public:
  // Equal ignoring the case of A to Z only; a null string equals null or empty.
  static bool equalNoCase(BSTR a, BSTR b);
  // Position of the first occurrence of 'part' ignoring case, or -1.
  static int findNoCase(BSTR text, BSTR part);
  static bool containsNoCase(BSTR text, BSTR part);
  // The text without trailing blanks when only blanks follow its first blank; else unchanged.
  static CTxBSTR trimTrailingBlanks(BSTR text);
  // A value of the module's .ini file (TxCOGUI.ini beside the DLL, section "general").
  static std::string readIniValue(const char* key, const char* section = "", const char* path = "");
  // The registered name of an interface ("Interface\{iid}"), empty when not registered.
  static HRESULT interfaceName(REFIID iid, BSTR* name);
  // Registry form of a GUID (framework/GuidText.h), for the callers that know it here.
  static std::string guidText(REFGUID guid);
  // Creates an object, on 'computer' when it is neither null nor empty. On failure writes
  // the diagnostic line to txshow.txt and shows the system's text of the code.
  static HRESULT createInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object,
                                const wchar_t* computer);

  // Class contexts of the creations: the catalogue, the probe and the web browser ask for
  // in-process server and handler, local and remote server (0x17); a chosen component is
  // created without the handler (21).
  static const DWORD kCreationContext =
      CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
  static const DWORD kComponentContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
};

// A string value under HKEY_CLASSES_ROOT ("" names the default value); empty when absent.
// At most 2047 bytes are read.
std::string GetRegPath(const char* keyPath, const char* valueName);
// The same from a key that the caller holds open, for several values of one key.
std::string GetRegValue(HKEY key, const char* valueName);
