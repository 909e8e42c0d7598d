// Utils::createInstance: local and named-computer creation, the retry without the remote
// context, and the diagnostic (txshow.txt line and message box) of every failure. The
// creation functions are watched by redirecting this program's own import of them.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "support/ResultText.h"
#include "support/Utils.h"

namespace {

// Replaces this program's import of 'function' from 'dll' for its lifetime.
class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* function, void* replacement) {
    auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress && import->Name; ++import) {
      if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0) continue;
      auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
      auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        slot_ = reinterpret_cast<void**>(&slots->u1.Function);
        original_ = *slot_;
        write(replacement);
        return;
      }
    }
  }
  ~ImportPatch() {
    if (slot_) write(original_);
  }
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  bool active() const { return slot_ != nullptr; }
  void* original() const { return original_; }

 private:
  void write(void* value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), old, &old);
  }
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

// What the watched creation functions saw.
struct CreationCall {
  bool ex;
  DWORD context;
  std::string server;
  HRESULT answer;
};
std::vector<CreationCall> g_calls;
decltype(&CoCreateInstance) g_realCreate = nullptr;
decltype(&CoCreateInstanceEx) g_realCreateEx = nullptr;
HRESULT g_forcedAnswer = S_OK;    // a failure the local creation gives instead of trying
bool g_refuseRemoteOnly = false;  // E_INVALIDARG whenever the remote context is asked for
HRESULT g_forcedInterfaceAnswer = S_OK;

HRESULT WINAPI watchedCreate(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  HRESULT hr;
  if (g_refuseRemoteOnly && (context & CLSCTX_REMOTE_SERVER))
    hr = E_INVALIDARG;
  else if (FAILED(g_forcedAnswer))
    hr = g_forcedAnswer;
  else
    hr = g_realCreate(clsid, outer, context, iid, object);
  g_calls.push_back({false, context, std::string(), hr});
  return hr;
}

HRESULT WINAPI watchedCreateEx(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO* server, DWORD count,
                               MULTI_QI* results) {
  HRESULT hr = g_realCreateEx(clsid, outer, context, server, count, results);
  if (SUCCEEDED(hr) && FAILED(g_forcedInterfaceAnswer)) {
    // The server created the object but could not give the interface.
    for (DWORD i = 0; i < count; ++i) {
      if (results[i].pItf) results[i].pItf->Release();
      results[i].pItf = nullptr;
      results[i].hr = g_forcedInterfaceAnswer;
    }
  }
  g_calls.push_back({true, context, server && server->pwszName ? tx::narrow(server->pwszName) : "<none>", hr});
  return hr;
}

class CreateInstanceTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    g_calls.clear();
    g_forcedAnswer = S_OK;
    g_refuseRemoteOnly = false;
    g_forcedInterfaceAnswer = S_OK;
    g_realCreate = reinterpret_cast<decltype(&CoCreateInstance)>(create_.original());
    g_realCreateEx = reinterpret_cast<decltype(&CoCreateInstanceEx)>(createEx_.original());
    ASSERT_TRUE(create_.active());
    ASSERT_TRUE(createEx_.active());
  }

  static std::string guidText(REFGUID guid) {
    wchar_t text[64] = L"";
    StringFromGUID2(guid, text, 64);
    return tx::narrow(text);
  }

  static std::string txshowPath() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "\\txshow.txt";
  }

  ImportPatch create_{"ole32.dll", "CoCreateInstance", reinterpret_cast<void*>(&watchedCreate)};
  ImportPatch createEx_{"ole32.dll", "CoCreateInstanceEx", reinterpret_cast<void*>(&watchedCreateEx)};
};

TEST_F(CreateInstanceTest, UnregisteredClassWritesTheLineAndShowsTheName) {
  CLSID clsid;
  ASSERT_EQ(S_OK, CoCreateGuid(&clsid));
  BoxCapture boxes;
  void* object = reinterpret_cast<void*>(1);
  HRESULT hr = Utils::createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, &object, nullptr);
  EXPECT_EQ(REGDB_E_CLASSNOTREG, hr);
  EXPECT_EQ(nullptr, object);

  std::string line = "Error creating interface 'IPersistStream' for class '" + guidText(clsid) + "' context 1";
  std::string txshow = tx::readFile(txshowPath());
  size_t at = txshow.find(line);
  ASSERT_NE(std::string::npos, at) << line;
  EXPECT_TRUE(txshow.compare(at + line.size(), 2, "\r\n") == 0 || txshow.compare(at + line.size(), 1, "\n") == 0)
      << "one line of its own";
  ASSERT_EQ(1u, boxes.count());
  const std::string& text = boxes.boxes()[0].text;
  EXPECT_EQ(0u, text.find(line + "\n")) << text;
  EXPECT_NE(std::string::npos, text.find("REGDB_E_CLASSNOTREG ($80040154)")) << text;
  ASSERT_EQ(1u, g_calls.size());
  EXPECT_FALSE(g_calls[0].ex);
}

TEST_F(CreateInstanceTest, RegisteredClassIsNamedByProgIdAndUnregisteredInterfaceByTheEmptyName) {
  IID unknownIid;
  ASSERT_EQ(S_OK, CoCreateGuid(&unknownIid));
  std::string progId;
  ASSERT_TRUE(tx::readRegString(HKEY_CLASSES_ROOT, "CLSID\\" + guidText(CLSID_CCAPEGUI) + "\\ProgID", "", &progId));
  BoxCapture boxes;
  void* object = nullptr;
  HRESULT hr = Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_ALL, unknownIid, &object, L"");
  EXPECT_EQ(E_NOINTERFACE, hr);
  EXPECT_EQ(nullptr, object);
  ASSERT_EQ(1u, boxes.count());
  char context[16];
  snprintf(context, sizeof context, "%d", static_cast<int>(CLSCTX_ALL));
  std::string line = "Error creating interface '' for class '" + progId + "' context " + context;
  EXPECT_EQ(0u, boxes.boxes()[0].text.find(line + "\n")) << boxes.boxes()[0].text;
  std::string txshow = tx::readFile(txshowPath());
  size_t last = txshow.rfind(line);
  ASSERT_NE(std::string::npos, last);
  EXPECT_LE(txshow.size() - last - line.size(), 2u) << "the diagnostic is the file's last line";
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("E_NOINTERFACE ($80004002)"));
  ASSERT_EQ(1u, g_calls.size()) << "an empty computer name means this computer";
  EXPECT_FALSE(g_calls[0].ex);
}

TEST_F(CreateInstanceTest, LocalCreationSucceedsSilently) {
  BoxCapture boxes;
  fw::ComPtr<ICCAPEGUI> object;
  EXPECT_EQ(S_OK, Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, object.put_void(),
                                        nullptr));
  ASSERT_TRUE(object);
  LONG version = -1;
  EXPECT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreateInstanceTest, RemoteContextRefusedWithInvalidArgIsRetriedWithoutIt) {
  g_refuseRemoteOnly = true;
  BoxCapture boxes;
  fw::ComPtr<ICCAPEGUI> object;
  DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER;
  EXPECT_EQ(S_OK, Utils::createInstance(CLSID_CCAPEGUI, nullptr, context, IID_ICCAPEGUI, object.put_void(), nullptr));
  EXPECT_TRUE(object);
  ASSERT_EQ(2u, g_calls.size());
  EXPECT_EQ(context, g_calls[0].context);
  EXPECT_EQ(static_cast<DWORD>(CLSCTX_INPROC_SERVER), g_calls[1].context);
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreateInstanceTest, NoRetryForOtherFailuresOrWithoutTheRemoteContext) {
  g_forcedAnswer = E_INVALIDARG;
  BoxCapture boxes;
  void* object = nullptr;
  EXPECT_EQ(E_INVALIDARG,
            Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, &object, nullptr));
  EXPECT_EQ(1u, g_calls.size());
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("E_INVALIDARG ($80070057)"));

  g_calls.clear();
  g_forcedAnswer = CLASS_E_NOAGGREGATION;
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER, IID_ICCAPEGUI,
                                  &object, nullptr));
  EXPECT_EQ(1u, g_calls.size());
  EXPECT_EQ(2u, boxes.count());
  EXPECT_EQ(nullptr, object);
}

TEST_F(CreateInstanceTest, NamedComputerGoesThroughCreateInstanceEx) {
  BoxCapture boxes;
  fw::ComPtr<ICCAPEGUI> object;
  DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER;
  HRESULT hr = Utils::createInstance(CLSID_CCAPEGUI, nullptr, context, IID_ICCAPEGUI, object.put_void(), L"txfarhost");
  ASSERT_EQ(1u, g_calls.size());
  EXPECT_TRUE(g_calls[0].ex);
  EXPECT_EQ("txfarhost", g_calls[0].server);
  EXPECT_EQ(context, g_calls[0].context);
  // Wine ignores the name when a local context is included and creates the object here.
  EXPECT_EQ(S_OK, hr);
  ASSERT_TRUE(object);
  LONG version = -1;
  EXPECT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(CreateInstanceTest, NamedComputerFailureIsPassedBackAndReported) {
  CLSID clsid;
  ASSERT_EQ(S_OK, CoCreateGuid(&clsid));
  BoxCapture boxes;
  void* object = reinterpret_cast<void*>(1);
  HRESULT hr = Utils::createInstance(clsid, nullptr, CLSCTX_REMOTE_SERVER, IID_IUnknown, &object, L"txfarhost");
  ASSERT_EQ(1u, g_calls.size());
  EXPECT_TRUE(g_calls[0].ex);
  EXPECT_EQ(g_calls[0].answer, hr) << "the code of the creation comes back";
  // What Wine answers for a remote-only creation of an unknown class.
  EXPECT_EQ(REGDB_E_CLASSNOTREG, hr);
  EXPECT_EQ(nullptr, object);
  ASSERT_EQ(1u, boxes.count());
  std::string expected = describeResult(hr);
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(expected)) << boxes.boxes()[0].text;
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("' context 16\n")) << boxes.boxes()[0].text;

  // The object is made but the interface is refused: that code, not success, comes back.
  g_calls.clear();
  boxes.clear();
  g_forcedInterfaceAnswer = E_NOINTERFACE;
  hr = Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_ALL, IID_ICCAPEGUI, &object, L"txfarhost");
  EXPECT_EQ(E_NOINTERFACE, hr);
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(1u, boxes.count());
}

TEST_F(CreateInstanceTest, NullOutPointerIsRefused) {
  BoxCapture boxes;
  EXPECT_EQ(E_POINTER, Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr, nullptr));
  EXPECT_TRUE(g_calls.empty());
}

}  // namespace
