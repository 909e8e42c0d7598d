// Utils::createInstance: local and named-computer creation, the retry without the remote context, and the
// diagnostic (txshow.txt line and message box) of every failure. The creation functions are watched by
// redirecting this program's own import of them.
#include <gtest/gtest.h>
#include "SupportFixtures.h"
#include "support/ResultText.h"
#include "support/Utils.h"

namespace {

// This program's import slot of 'function' from ole32.dll.
void** importSlot(const char* function) {
  auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && dll->Name; ++dll) {
    if (_stricmp(reinterpret_cast<const char*>(base + dll->Name), "ole32.dll") != 0) continue;
    auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots)
      if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
          strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, function) == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
  }
  return nullptr;
}

// Replaces the import for its lifetime.
struct ImportPatch {
  ImportPatch(const char* function, void* replacement) : slot(importSlot(function)), original(slot ? *slot : nullptr) {
    set(replacement);
  }
  ~ImportPatch() { set(original); }
  void set(void* value) {
    DWORD old = 0;
    if (!slot || !VirtualProtect(slot, sizeof value, PAGE_READWRITE, &old)) return;
    *slot = value;
    VirtualProtect(slot, sizeof value, old, &old);
  }
  void** slot;
  void* original;
};

// What the watched creation functions saw ("Co <context>" or "Ex <context> <server>"), and their faults on demand.
Texts g_calls;
HRESULT g_answer = S_OK;
decltype(&CoCreateInstance) g_realCreate = nullptr;
decltype(&CoCreateInstanceEx) g_realCreateEx = nullptr;
struct {
  HRESULT local = S_OK;       // a failure the local creation gives instead of trying
  bool refuseRemote = false;  // E_INVALIDARG whenever the remote context is asked for
  HRESULT refused = S_OK;     // the named computer makes the object but refuses the interface
} g_fault;

HRESULT WINAPI watchedCreate(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  g_calls.push_back("Co " + std::to_string(context));
  return g_answer = g_fault.refuseRemote && (context & CLSCTX_REMOTE_SERVER) ? E_INVALIDARG
                    : FAILED(g_fault.local) ? g_fault.local : g_realCreate(clsid, outer, context, iid, object);
}

HRESULT WINAPI watchedCreateEx(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO* server, DWORD count,
                               MULTI_QI* results) {
  g_calls.push_back("Ex " + std::to_string(context) + " " + (server ? tx::narrow(server->pwszName) : "<none>"));
  g_answer = g_realCreateEx(clsid, outer, context, server, count, results);
  for (DWORD i = 0; SUCCEEDED(g_answer) && FAILED(g_fault.refused) && i < count; ++i) {
    if (results[i].pItf) results[i].pItf->Release();
    results[i] = {results[i].pIID, nullptr, g_fault.refused};
  }
  return g_answer;
}

const DWORD kInproc = CLSCTX_INPROC_SERVER, kBoth = CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER;

class CreateInstanceTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    g_calls.clear();
    g_fault = {};
    g_realCreate = reinterpret_cast<decltype(&CoCreateInstance)>(create_.original);
    g_realCreateEx = reinterpret_cast<decltype(&CoCreateInstanceEx)>(createEx_.original);
    ASSERT_TRUE(g_realCreate && g_realCreateEx); ASSERT_EQ(S_OK, CoCreateGuid(&unknown_));
  }
  HRESULT create(REFCLSID clsid, DWORD context, REFIID iid, const wchar_t* computer) {
    object_ = reinterpret_cast<void*>(1);
    HRESULT hr = Utils::createInstance(clsid, nullptr, context, iid, &object_, computer);
    if (SUCCEEDED(hr)) {
      fw::ComPtr<ICCAPEGUI> product;
      product.attach(static_cast<ICCAPEGUI*>(object_));
      LONG version = -1;
      EXPECT_EQ(S_OK, product->get_compCOversion(&version)) << "the object answers";
    } else {
      EXPECT_EQ(nullptr, object_);
    }
    return hr;
  }
  // The diagnostic: its own last line of txshow.txt, and the first line of the one box that names the code.
  void expectDiagnostic(const BoxCapture& boxes, const std::string& line, const char* code) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string txshow = tx::readFile(std::string(temp) + "\\txshow.txt");
    size_t at = txshow.rfind(line);
    ASSERT_NE(std::string::npos, at) << line;
    EXPECT_TRUE(txshow.substr(at + line.size()) == "\r\n" || txshow.substr(at + line.size()) == "\n") << "last line";
    ASSERT_EQ(1u, boxes.count()); EXPECT_EQ(0u, boxes.boxes()[0].text.find(line + "\n")) << boxes.boxes()[0].text;
    EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(code)) << boxes.boxes()[0].text;
  }
  CLSID unknown_;
  void* object_ = nullptr;
  ImportPatch create_{"CoCreateInstance", reinterpret_cast<void*>(&watchedCreate)};
  ImportPatch createEx_{"CoCreateInstanceEx", reinterpret_cast<void*>(&watchedCreateEx)};
};

TEST_F(CreateInstanceTest, FailuresAreReportedWithClassInterfaceAndContext) {
  BoxCapture boxes;
  EXPECT_EQ(REGDB_E_CLASSNOTREG, create(unknown_, kInproc, IID_IPersistStream, nullptr));
  expectDiagnostic(boxes, "Error creating interface 'IPersistStream' for class '" + guidText(unknown_) + "' context 1",
                   "REGDB_E_CLASSNOTREG ($80040154)");
  // A registered class is named by its ProgID, an unregistered interface by the empty name; an empty computer
  // name means this computer.
  std::string progId;
  ASSERT_TRUE(tx::readRegString(HKEY_CLASSES_ROOT, "CLSID\\" + guidText(CLSID_CCAPEGUI) + "\\ProgID", "", &progId));
  boxes.clear();
  EXPECT_EQ(E_NOINTERFACE, create(CLSID_CCAPEGUI, CLSCTX_ALL, unknown_, L""));
  std::string all = std::to_string(CLSCTX_ALL);
  expectDiagnostic(boxes, "Error creating interface '' for class '" + progId + "' context " + all,
                   "E_NOINTERFACE ($80004002)");
  EXPECT_EQ(E_POINTER, Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr, nullptr));
  EXPECT_EQ((Texts{"Co 1", "Co " + all}), g_calls);
}

TEST_F(CreateInstanceTest, OnlyARefusedRemoteContextIsRetriedWithoutIt) {
  BoxCapture boxes;
  EXPECT_EQ(S_OK, create(CLSID_CCAPEGUI, kInproc, IID_ICCAPEGUI, nullptr));
  g_fault.refuseRemote = true;
  EXPECT_EQ(S_OK, create(CLSID_CCAPEGUI, kBoth, IID_ICCAPEGUI, nullptr));
  EXPECT_EQ(0u, boxes.count()) << "success is silent";
  g_fault = {E_INVALIDARG, false, S_OK};
  EXPECT_EQ(E_INVALIDARG, create(CLSID_CCAPEGUI, kInproc, IID_ICCAPEGUI, nullptr));
  g_fault.local = CLASS_E_NOAGGREGATION;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, create(CLSID_CCAPEGUI, kBoth, IID_ICCAPEGUI, nullptr));
  EXPECT_EQ((Texts{"Co 1", "Co 17", "Co 1", "Co 1", "Co 17"}), g_calls);
  ASSERT_EQ(2u, boxes.count()); EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("E_INVALIDARG ($80070057)"));
}

TEST_F(CreateInstanceTest, NamedComputerGoesThroughCreateInstanceExAndItsFailuresComeBack) {
  BoxCapture boxes;
  // Wine ignores the name when a local context is included and creates the object here.
  EXPECT_EQ(S_OK, create(CLSID_CCAPEGUI, kBoth, IID_ICCAPEGUI, L"txfarhost"));
  EXPECT_EQ(0u, boxes.count());
  HRESULT hr = create(unknown_, CLSCTX_REMOTE_SERVER, IID_IUnknown, L"txfarhost");
  EXPECT_EQ(g_answer, hr) << "the code of the creation comes back";
  EXPECT_EQ(REGDB_E_CLASSNOTREG, hr) << "what Wine answers for a remote-only creation of an unknown class";
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(describeResult(hr))) << boxes.boxes()[0].text;
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("' context 16\n")) << boxes.boxes()[0].text;
  // The object is made but the interface is refused: that code, not success, comes back.
  g_fault.refused = E_NOINTERFACE;
  EXPECT_EQ(E_NOINTERFACE, create(CLSID_CCAPEGUI, CLSCTX_ALL, IID_ICCAPEGUI, L"txfarhost"));
  EXPECT_EQ(2u, boxes.count());
  EXPECT_EQ((Texts{"Ex 17 txfarhost", "Ex 16 txfarhost", "Ex " + std::to_string(CLSCTX_ALL) + " txfarhost"}), g_calls);
}

}  // namespace
