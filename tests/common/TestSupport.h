// Helpers shared by the test programs: COM set-up, registry reads, files, processes,
// and the trace file of the product.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/ComPtr.h"
#include "framework/GuidText.h"
#include "framework/Raii.h"
#include "framework/WideText.h"
#include "TxCOGUI.h"

namespace tx {

// A test with COM initialised on its thread (apartment threaded, as the host).
class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(com_.result())); }
 private:
  fw::ComInit com_;
};

// Windows path of a file of the build tree (TX_BUILD_DIR/relative).
std::string buildPath(const std::string& relative);
// Windows path of a file of the source tree.
std::string sourcePath(const std::string& relative);
// Windows path of the product DLL.
std::string productDll();

// Registry: the default value (empty name) or a named value of a key; nullopt-like flag.
bool readRegString(HKEY root, const std::string& key, const std::string& name, std::string* value);
bool keyExists(HKEY root, const std::string& key);
void deleteKeyTree(HKEY root, const std::string& key);
// Every key and value below 'key', one line each, sorted: a comparable snapshot.
std::vector<std::string> snapshotKey(HKEY root, const std::string& key);

// Runs a command line, waits for it (at most 'timeoutMs'), returns its exit code (-1 on failure).
int runProcess(const std::string& commandLine, DWORD timeoutMs = 60000);

std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// Deletes a file, or a folder with everything in it; true when nothing is left.
bool removeTree(const std::string& path);
// A new empty folder in the TEMP folder, named after 'what' and this process.
std::string makeTempFolder(const std::string& what);

// The trace file of the product: <local app data>\Briskware\Brisk Tarnix CAPE-OPEN\TxCOGUI.trc.
std::string traceFolder();
std::string traceFilePath();
std::string readTrace();

// Text of a BSTR, with "<null>" for a null one (so null and empty differ).
std::string bstrText(BSTR value);
// A fresh GUID in registry form (upper case, in braces).
std::string newGuidText();

// Creates the product's object (CLSID_CCAPEGUI) and asks for ICCAPEGUI.
HRESULT createProduct(ICCAPEGUI** object);

// DISPID of a name through the object's IDispatch.
HRESULT dispIdOf(IDispatch* object, const wchar_t* name, DISPID* id);

}  // namespace tx
