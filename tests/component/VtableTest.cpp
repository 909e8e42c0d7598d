// The table of functions as a host in the same process reaches it: a plain declaration
// of the slots, independent of the generated header, called by slot number. A base class
// or a virtual function declared in the wrong place moves every slot after it.
#include <gtest/gtest.h>
#include <cstddef>
#include <string>
#include "TxCOGUI.h"
#include "common/TestSupport.h"

namespace {

using Bstr = BSTR;
using Flag = VARIANT_BOOL;

// Slot by slot: IUnknown (0-2), IDispatch (3-6), ICCAPEGUI (7-51), setFilter (52).
struct Table {
  void* unknownAndDispatch[7];
  HRESULT(STDMETHODCALLTYPE* ShowGUI)(void*, Bstr*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetItemCLSID)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetItemProgID)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetItemAlias)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetParentCLSID)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetParentProgID)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetParentAlias)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* GetCATID)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* setComponent)(void*, IDispatch*);
  HRESULT(STDMETHODCALLTYPE* getPersistType)(void*, LONG*);
  HRESULT(STDMETHODCALLTYPE* saveStorage)(void*);
  HRESULT(STDMETHODCALLTYPE* loadStorage)(void*, Flag);
  HRESULT(STDMETHODCALLTYPE* createComp)(void*, IDispatch**, IDispatch**);
  HRESULT(STDMETHODCALLTYPE* getLastError)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* setup)(void*, INT_PTR, IDispatch*, LONG);
  HRESULT(STDMETHODCALLTYPE* setProgIds)(void*, Bstr, Bstr);
  HRESULT(STDMETHODCALLTYPE* releaseComponents)(void*);
  HRESULT(STDMETHODCALLTYPE* put_enableWarnings)(void*, Flag);
  HRESULT(STDMETHODCALLTYPE* setAlias)(void*, Bstr, Bstr);
  HRESULT(STDMETHODCALLTYPE* get_serverName)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* put_serverName)(void*, Bstr);
  HRESULT(STDMETHODCALLTYPE* get_compCOversion)(void*, LONG*);
  HRESULT(STDMETHODCALLTYPE* put_compCOversion)(void*, LONG);
  HRESULT(STDMETHODCALLTYPE* ShowThermoGUI)(void*, Flag);
  HRESULT(STDMETHODCALLTYPE* getThis)(void*, INT_PTR*);
  HRESULT(STDMETHODCALLTYPE* getCompOptions)(void*, Flag*, Flag*, Flag*);
  HRESULT(STDMETHODCALLTYPE* setPPInfo)(void*, VARIANT*, VARIANT*, VARIANT*);
  HRESULT(STDMETHODCALLTYPE* simulateThermoGUI)(void*, Flag, Flag, Flag);
  HRESULT(STDMETHODCALLTYPE* getFullCOPPClassName)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* setCompOptions)(void*, Flag, Flag, Flag);
  HRESULT(STDMETHODCALLTYPE* traceReport)(void*, Bstr, Flag);
  HRESULT(STDMETHODCALLTYPE* showStaticInfo)(void*);
  HRESULT(STDMETHODCALLTYPE* setRecovErrorsOptions)(void*, Flag, Flag, Flag);
  HRESULT(STDMETHODCALLTYPE* getRecovErrorsOptions)(void*, Flag*, Flag*, Flag*);
  HRESULT(STDMETHODCALLTYPE* get_socketVersion)(void*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* put_socketVersion)(void*, Bstr);
  HRESULT(STDMETHODCALLTYPE* get_supportedPhaseTypes)(void*, VARIANT*);
  HRESULT(STDMETHODCALLTYPE* put_supportedPhaseTypes)(void*, VARIANT);
  HRESULT(STDMETHODCALLTYPE* get_requestLiquid2)(void*, Flag*);
  HRESULT(STDMETHODCALLTYPE* put_requestLiquid2)(void*, Flag);
  HRESULT(STDMETHODCALLTYPE* get_doOrderPhases)(void*, Flag*);
  HRESULT(STDMETHODCALLTYPE* put_doOrderPhases)(void*, Flag);
  HRESULT(STDMETHODCALLTYPE* getCritErrorsOptions)(void*, Flag*, Flag*, Flag*);
  HRESULT(STDMETHODCALLTYPE* setCritErrorsOptions)(void*, Flag, Flag, Flag);
  HRESULT(STDMETHODCALLTYPE* GetItemInfo)(void*, Bstr*, Bstr*, Bstr*, Bstr*, Bstr*);
  HRESULT(STDMETHODCALLTYPE* setFilter)(void*, LONG);
};

static_assert(offsetof(Table, ShowGUI) == 7 * sizeof(void*), "ICCAPEGUI starts after IDispatch");
static_assert(offsetof(Table, GetItemInfo) == (7 + 44) * sizeof(void*), "45 methods");
static_assert(offsetof(Table, setFilter) == 52 * sizeof(void*), "setFilter follows the 45");

class VtableTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
    self = object.get();
    table = *reinterpret_cast<Table**>(self);
  }

  std::string takeText(Bstr value) {
    std::string text = tx::bstrText(value);
    SysFreeString(value);
    return text;
  }

  fw::ComPtr<ICCAPEGUI> object;
  void* self = nullptr;
  const Table* table = nullptr;
};

}  // namespace

TEST_F(VtableTest, SelectionFieldsThroughTheirSlots) {
  Bstr a = SysAllocString(L"alias of component");
  Bstr b = SysAllocString(L"alias of parent");
  ASSERT_EQ(S_OK, table->setAlias(self, a, b));
  SysFreeString(a);
  SysFreeString(b);
  Bstr out = nullptr;
  ASSERT_EQ(S_OK, table->GetItemAlias(self, &out));
  EXPECT_EQ("alias of component", takeText(out));
  ASSERT_EQ(S_OK, table->GetParentAlias(self, &out));
  EXPECT_EQ("alias of parent", takeText(out));
  out = reinterpret_cast<Bstr>(1);
  ASSERT_EQ(S_OK, table->GetItemProgID(self, &out));
  EXPECT_EQ(nullptr, out);
  out = reinterpret_cast<Bstr>(1);
  ASSERT_EQ(S_OK, table->GetParentProgID(self, &out));
  EXPECT_EQ(nullptr, out);
  ASSERT_EQ(S_OK, table->GetCATID(self, &out));
  EXPECT_EQ("", takeText(out));

  Bstr info[5] = {};
  ASSERT_EQ(S_OK, table->GetItemInfo(self, &info[0], &info[1], &info[2], &info[3], &info[4]));
  for (Bstr field : info) EXPECT_EQ("", takeText(field));

  Bstr kept = SysAllocString(L"kept");
  Bstr message = kept;
  EXPECT_EQ(S_OK, table->getLastError(self, &message));
  EXPECT_EQ(kept, message);
  SysFreeString(kept);
}

TEST_F(VtableTest, PropertiesThroughTheirSlots) {
  Bstr server = SysAllocString(L"\\\\node");
  ASSERT_EQ(S_OK, table->put_serverName(self, server));
  SysFreeString(server);
  Bstr out = nullptr;
  ASSERT_EQ(S_OK, table->get_serverName(self, &out));
  EXPECT_EQ("\\\\node", takeText(out));

  ASSERT_EQ(S_OK, table->put_compCOversion(self, 110));
  LONG version = 0;
  ASSERT_EQ(S_OK, table->get_compCOversion(self, &version));
  EXPECT_EQ(110, version);

  EXPECT_EQ(S_OK, table->put_enableWarnings(self, VARIANT_FALSE));

  Bstr socket = SysAllocString(L"socket 2.1");
  ASSERT_EQ(S_OK, table->put_socketVersion(self, socket));
  SysFreeString(socket);
  ASSERT_EQ(S_OK, table->get_socketVersion(self, &out));
  EXPECT_EQ("socket 2.1", takeText(out));

  VARIANT phases;
  VariantInit(&phases);
  phases.vt = VT_I4;
  phases.lVal = 7;
  ASSERT_EQ(S_OK, table->put_supportedPhaseTypes(self, phases));
  VARIANT read;
  VariantInit(&read);
  ASSERT_EQ(S_OK, table->get_supportedPhaseTypes(self, &read));
  EXPECT_EQ(VT_I4, read.vt);
  EXPECT_EQ(7, read.lVal);
  VariantClear(&read);

  Flag flag = VARIANT_FALSE;
  ASSERT_EQ(S_OK, table->put_requestLiquid2(self, VARIANT_TRUE));
  ASSERT_EQ(S_OK, table->put_doOrderPhases(self, VARIANT_FALSE));
  ASSERT_EQ(S_OK, table->get_requestLiquid2(self, &flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  ASSERT_EQ(S_OK, table->get_doOrderPhases(self, &flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
}

TEST_F(VtableTest, OptionTriplesThroughTheirSlots) {
  Flag x = 0, y = 0, z = 0;
  ASSERT_EQ(S_OK, table->setCompOptions(self, VARIANT_TRUE, VARIANT_FALSE, VARIANT_TRUE));
  ASSERT_EQ(S_OK, table->getCompOptions(self, &x, &y, &z));
  EXPECT_EQ(VARIANT_TRUE, x);
  EXPECT_EQ(VARIANT_FALSE, y);
  EXPECT_EQ(VARIANT_TRUE, z);

  ASSERT_EQ(S_OK, table->setRecovErrorsOptions(self, VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE));
  ASSERT_EQ(S_OK, table->getRecovErrorsOptions(self, &x, &y, &z));
  EXPECT_EQ(VARIANT_FALSE, x);
  EXPECT_EQ(VARIANT_TRUE, y);
  EXPECT_EQ(VARIANT_FALSE, z);

  ASSERT_EQ(S_OK, table->setCritErrorsOptions(self, VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE));
  ASSERT_EQ(S_OK, table->getCritErrorsOptions(self, &x, &y, &z));
  EXPECT_EQ(VARIANT_TRUE, x);
  EXPECT_EQ(VARIANT_TRUE, y);
  EXPECT_EQ(VARIANT_FALSE, z);

  // The other getters answer through their slots without touching anything.
  LONG kind = -1;
  EXPECT_EQ(S_OK, table->getPersistType(self, &kind));
  EXPECT_EQ(0, kind);
  INT_PTR raw = 0;
  EXPECT_EQ(S_OK, table->getThis(self, &raw));
  EXPECT_NE(0, raw);
  EXPECT_EQ(S_OK, table->releaseComponents(self));
}

TEST_F(VtableTest, SetFilterFollowsTheInterfaceMethods) {
  EXPECT_EQ(S_OK, table->setFilter(self, catf_UnitOperation));
  EXPECT_EQ(S_OK, table->setFilter(self, catf_All));
  // The object is alive and whole afterwards (a destructor in that slot would not be).
  Bstr out = nullptr;
  ASSERT_EQ(S_OK, table->GetCATID(self, &out));
  EXPECT_EQ("", takeText(out));
  EXPECT_EQ(2u, object->AddRef());
  EXPECT_EQ(1u, object->Release());
}

TEST_F(VtableTest, EverySlotUpToSetFilterHoldsCodeOfTheDll) {
  void* const* slots = *reinterpret_cast<void* const* const*>(self);
  HMODULE dll = GetModuleHandleA("TxCOGUI.dll");
  ASSERT_NE(nullptr, dll);
  for (int i = 0; i <= 52; ++i) {
    HMODULE owner = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   static_cast<LPCSTR>(slots[i]), &owner))
        << "slot " << i;
    EXPECT_EQ(dll, owner) << "slot " << i;
  }
}
