// Utils::createInstance, watched through this program's own imports of the creation functions: the retry
// without the remote context, and the diagnostic (txshow.txt line and box) of every failure.
#include <gtest/gtest.h>
#include "SupportFixtures.h"
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
  ImportPatch(const char* name, void* by) : slot(importSlot(name)), original(slot ? *slot : nullptr) { set(by); }
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
decltype(&CoCreateInstance) g_realCreate = nullptr;
decltype(&CoCreateInstanceEx) g_realCreateEx = nullptr;
struct Fault {
  HRESULT local = S_OK;       // a failure the local creation gives instead of trying
  bool refuseRemote = false;  // E_INVALIDARG whenever the remote context is asked for
  HRESULT refused = S_OK;     // the named computer makes the object but refuses the interface
} g_fault;

HRESULT WINAPI watchedCreate(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  g_calls.push_back("Co " + std::to_string(context));
  return g_fault.refuseRemote && (context & CLSCTX_REMOTE_SERVER) ? E_INVALIDARG
         : FAILED(g_fault.local) ? g_fault.local : g_realCreate(clsid, outer, context, iid, object);
}

HRESULT WINAPI watchedCreateEx(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO* server, DWORD count,
                               MULTI_QI* results) {
  g_calls.push_back("Ex " + std::to_string(context) + " " + (server ? narrowFromWide(server->pwszName) : "<none>"));
  HRESULT hr = g_realCreateEx(clsid, outer, context, server, count, results);
  for (DWORD i = 0; SUCCEEDED(hr) && FAILED(g_fault.refused) && i < count; ++i) {
    if (results[i].pItf) results[i].pItf->Release();
    results[i] = {results[i].pIID, nullptr, g_fault.refused};
  }
  return hr;
}

class CreateInstanceTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    g_realCreate = reinterpret_cast<decltype(&CoCreateInstance)>(create_.original);
    g_realCreateEx = reinterpret_cast<decltype(&CoCreateInstanceEx)>(createEx_.original);
    ASSERT_TRUE(g_realCreate && g_realCreateEx); ASSERT_EQ(S_OK, CoCreateGuid(&unknown_));
  }
  CLSID unknown_;
  ImportPatch create_{"CoCreateInstance", reinterpret_cast<void*>(&watchedCreate)};
  ImportPatch createEx_{"CoCreateInstanceEx", reinterpret_cast<void*>(&watchedCreateEx)};
};

TEST_F(CreateInstanceTest, CallsCodeAndDiagnosticOfEachCreation) {
  std::string progId, all = std::to_string(CLSCTX_ALL);
  ASSERT_TRUE(tx::readRegString(HKEY_CLASSES_ROOT, "CLSID\\" + guidText(CLSID_CCAPEGUI) + "\\ProgID", "", &progId));
  const DWORD kInproc = CLSCTX_INPROC_SERVER, kBoth = CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER;
  const struct {
    Fault fault; const CLSID* clsid; DWORD context; const IID* iid; const wchar_t* computer; HRESULT hr; Texts calls;
    std::string code, line;  // the code's text in the box, and the diagnostic line when it is asserted whole
  } rows[] = {
      // A registered class is named by its ProgID, an unregistered interface by the empty name; an empty
      // computer name means this computer.
      {{}, &unknown_, kInproc, &IID_IPersistStream, nullptr, REGDB_E_CLASSNOTREG, {"Co 1"},
       "REGDB_E_CLASSNOTREG ($80040154)",
       "Error creating interface 'IPersistStream' for class '" + guidText(unknown_) + "' context 1"},
      {{}, &CLSID_CCAPEGUI, CLSCTX_ALL, &unknown_, L"", E_NOINTERFACE, {"Co " + all}, "E_NOINTERFACE ($80004002)",
       "Error creating interface '' for class '" + progId + "' context " + all},
      // Only a refused remote context is retried without it.
      {{}, &CLSID_CCAPEGUI, kInproc, &IID_ICCAPEGUI, nullptr, S_OK, {"Co 1"}},
      {{S_OK, true}, &CLSID_CCAPEGUI, kBoth, &IID_ICCAPEGUI, nullptr, S_OK, {"Co 17", "Co 1"}},
      {{E_INVALIDARG}, &CLSID_CCAPEGUI, kInproc, &IID_ICCAPEGUI, nullptr, E_INVALIDARG, {"Co 1"},
       "E_INVALIDARG ($80070057)"},
      {{CLASS_E_NOAGGREGATION}, &CLSID_CCAPEGUI, kBoth, &IID_ICCAPEGUI, nullptr, CLASS_E_NOAGGREGATION, {"Co 17"},
       "CLASS_E_NOAGGREGATION ($80040110)"},
      // A named computer: Wine ignores the name when a local context is included and creates the object here;
      // for a remote-only creation of an unknown class its code comes back, and so does a refused interface.
      {{}, &CLSID_CCAPEGUI, kBoth, &IID_ICCAPEGUI, L"txfarhost", S_OK, {"Ex 17 txfarhost"}},
      {{}, &unknown_, CLSCTX_REMOTE_SERVER, &IID_IUnknown, L"txfarhost", REGDB_E_CLASSNOTREG, {"Ex 16 txfarhost"},
       "REGDB_E_CLASSNOTREG ($80040154)"},
      {{S_OK, false, E_NOINTERFACE}, &CLSID_CCAPEGUI, CLSCTX_ALL, &IID_ICCAPEGUI, L"txfarhost", E_NOINTERFACE,
       {"Ex " + all + " txfarhost"}, "E_NOINTERFACE ($80004002)"}};
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.calls.back() + " " + row.code);
    g_calls.clear(), g_fault = row.fault;
    BoxCapture boxes;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(row.hr, Utils::createInstance(*row.clsid, nullptr, row.context, *row.iid, &object, row.computer));
    EXPECT_EQ(row.calls, g_calls);
    if (SUCCEEDED(row.hr)) {
      fw::ComPtr<ICCAPEGUI> product;
      product.attach(static_cast<ICCAPEGUI*>(object));
      LONG version = -1;
      EXPECT_EQ(S_OK, product ? product->get_compCOversion(&version) : E_POINTER) << "the object answers";
      EXPECT_EQ(0u, boxes.count()) << "success is silent";
      continue;
    }
    EXPECT_EQ(nullptr, object);
    ASSERT_EQ(1u, boxes.count());
    const std::string& box = boxes.boxes()[0].text;
    EXPECT_NE(std::string::npos, box.find(row.code)) << box;
    EXPECT_NE(std::string::npos, box.find("' context " + std::to_string(row.context) + "\n")) << box;
    if (row.line.empty()) continue;
    // The diagnostic: its own last line of txshow.txt, and the first line of the box.
    std::string txshow = tx::readFile(std::string(temp) + "\\txshow.txt");
    size_t at = txshow.rfind(row.line);
    ASSERT_NE(std::string::npos, at) << row.line;
    EXPECT_TRUE(txshow.substr(at + row.line.size()) == "\r\n" || txshow.substr(at + row.line.size()) == "\n");
    EXPECT_EQ(0u, box.find(row.line + "\n")) << box;
  }
  g_calls.clear();
  EXPECT_EQ(E_POINTER, Utils::createInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr, nullptr));
  EXPECT_EQ(Texts{}, g_calls);
}
}  // namespace
