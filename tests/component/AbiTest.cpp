// The object's interface as hosts bind to it: the type library (registered and in the DLL), the
// table of functions called by slot number (a host compiled against another header), and late
// binding by ProgID through IDispatch over the type information.
#include <algorithm>
#include <set>
#include "common/ProductFixture.h"
#include "framework/DispatchImpl.h"

namespace {

// Slots: IUnknown and IDispatch (0-6), the type library's 45 functions, then setFilter.
namespace slot {
enum : int {
  ShowGUI = 7, GetItemCLSID, GetItemProgID, GetItemAlias, GetParentCLSID, GetParentProgID, GetParentAlias, GetCATID,
  setComponent, getPersistType, saveStorage, loadStorage, createComp, getLastError, setup, setProgIds,
  releaseComponents, put_enableWarnings, setAlias, get_serverName, put_serverName, get_compCOversion,
  put_compCOversion, ShowThermoGUI, getThis, getCompOptions, setPPInfo, simulateThermoGUI, getFullCOPPClassName,
  setCompOptions, traceReport, showStaticInfo, setRecovErrorsOptions, getRecovErrorsOptions, get_socketVersion,
  put_socketVersion, get_supportedPhaseTypes, put_supportedPhaseTypes, get_requestLiquid2, put_requestLiquid2,
  get_doOrderPhases, put_doOrderPhases, getCritErrorsOptions, setCritErrorsOptions, GetItemInfo, setFilter
};
}  // namespace slot
static_assert(slot::GetItemInfo == 7 + 44 && slot::setFilter == 52, "45 functions, then setFilter");

std::string docName(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr;
  info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  std::string result = narrowFromWide(name);
  SysFreeString(name);
  return result;
}

TYPEATTR attrOf(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  TYPEATTR copy = {};
  if (info && SUCCEEDED(info->GetTypeAttr(&attr))) {
    copy = *attr;
    info->ReleaseTypeAttr(attr);
  }
  return copy;
}

// A type as "INT_PTR=int64" for an alias, else by its VARTYPE.
std::string typeText(ITypeInfo* owner, const TYPEDESC& type) {
  if (type.vt == VT_PTR) return typeText(owner, *type.lptdesc) + "*";
  fw::ComPtr<ITypeInfo> alias;
  if (type.vt != VT_USERDEFINED) return type.vt == VT_I8 ? "int64" : "vt " + std::to_string(type.vt);
  if (FAILED(owner->GetRefTypeInfo(type.hreftype, alias.put()))) return "?";
  return docName(alias.get(), MEMBERID_NIL) + "=" + typeText(alias.get(), attrOf(alias.get()).tdescAlias);
}

class AbiTest : public tx::ProductTest {
 protected:
  // Calls slot 'n' of the object's table of functions.
  template <class... A>
  HRESULT call(int n, A... args) {
    using Fn = HRESULT(STDMETHODCALLTYPE*)(void*, A...);
    void** table = *reinterpret_cast<void***>(object.get());
    return reinterpret_cast<Fn>(table[n])(object.get(), args...);
  }
  std::string textAt(int n) {
    BSTR value = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(S_OK, call(n, &value)) << n;
    return value == reinterpret_cast<BSTR>(1) ? "<not written>" : take(value);
  }

  // Invoke through IDispatch with the arguments in call order (Invoke takes them last first).
  HRESULT invoke(IDispatch* dispatch, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
    std::reverse(args.begin(), args.end());
    DISPID putId = DISPID_PROPERTYPUT, id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, tx::dispIdOf(dispatch, name, &id)) << narrowFromWide(name);
    DISPPARAMS params = {args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) params = {args.data(), &putId, static_cast<UINT>(args.size()), 1};
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
  }
};

}  // namespace

TEST_F(AbiTest, TypeLibraryRegisteredAndInTheDll) {
  fw::ComPtr<ITypeLib> registered, inDll;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_TXSHOWCOCATIDSLib, 1, 0, 0x409, registered.put()));
  ASSERT_EQ(S_OK, LoadTypeLibEx(wideFromNarrow(tx::productDll()).c_str(), REGKIND_NONE, inDll.put()));
  for (ITypeLib* library : {registered.get(), inDll.get()}) {
    SCOPED_TRACE(library == registered.get() ? "registered" : "DLL");
    TLIBATTR* lib = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&lib));
    EXPECT_TRUE(IsEqualGUID(LIBID_TXSHOWCOCATIDSLib, lib->guid) && lib->wMajorVerNum == 1 && lib->wMinorVerNum == 0 &&
                lib->lcid == 0x409 && lib->syskind == SYS_WIN64);
    library->ReleaseTLibAttr(lib);
    // The filter bits that hosts pass to setup.
    std::string bits;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
      fw::ComPtr<ITypeInfo> info;
      ASSERT_EQ(S_OK, library->GetTypeInfo(i, info.put()));
      TYPEATTR attr = attrOf(info.get());
      for (UINT v = 0; attr.typekind == TKIND_ENUM && v < attr.cVars; ++v) {
        VARDESC* var = nullptr;
        ASSERT_EQ(S_OK, info->GetVarDesc(v, &var));
        bits += " " + docName(info.get(), var->memid) + "=" + std::to_string(var->lpvarValue->lVal);
        info->ReleaseVarDesc(var);
      }
    }
    for (const char* bit :
         {" catf_ThermoSystem=4 catf_PropertyPackage=8 ", " catf_UnitOperation=32 ", " catf_All=65536"})
      EXPECT_NE(std::string::npos, bits.find(bit)) << bits;
    EXPECT_EQ(11, std::count(bits.begin(), bits.end(), '='));

    // The class's default interface is ICCAPEGUI, dual: IDispatch's view and the table's (on IDispatch's slots).
    fw::ComPtr<ITypeInfo> cls, dispatch, table;
    HREFTYPE ref = 0;
    INT implFlags = 0;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_CCAPEGUI, cls.put()));
    ASSERT_EQ(S_OK, cls->GetImplTypeFlags(0, &implFlags));
    EXPECT_TRUE(implFlags & IMPLTYPEFLAG_FDEFAULT);
    ASSERT_EQ(S_OK, cls->GetRefTypeOfImplType(0, &ref));
    ASSERT_EQ(S_OK, cls->GetRefTypeInfo(ref, dispatch.put()));
    EXPECT_TRUE(IsEqualIID(IID_ICCAPEGUI, attrOf(dispatch.get()).guid));
    EXPECT_TRUE(attrOf(dispatch.get()).wTypeFlags & TYPEFLAG_FDUAL);
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, table.put()));

    ASSERT_EQ(45, attrOf(table.get()).cFuncs);
    std::set<DISPID> ids;
    DISPID previous = 0;
    int gets = 0, puts = 0;
    for (UINT i = 0; i < 45; ++i) {
      FUNCDESC* f = nullptr;
      ASSERT_EQ(S_OK, table->GetFuncDesc(i, &f));
      EXPECT_EQ((7 + i) * sizeof(void*), static_cast<size_t>(f->oVft)) << i;
      EXPECT_EQ(VT_HRESULT, f->elemdescFunc.tdesc.vt) << i;
      EXPECT_LE(previous, f->memid) << i;  // DISPIDs rise in table order
      ids.insert(previous = f->memid);
      gets += f->invkind == INVOKE_PROPERTYGET;
      puts += f->invkind == INVOKE_PROPERTYPUT;
      // A window and a pointer, 64-bit integers.
      const char* want = i + 7 == slot::setup ? "INT_PTR=int64" : i + 7 == slot::getThis ? "INT_PTR=int64*" : nullptr;
      if (want) { EXPECT_EQ(want, typeText(table.get(), f->lprgelemdescParam[0].tdesc)) << i; }
      table->ReleaseFuncDesc(f);
    }
    // DISPIDs 1 to 40 but 9; the six properties with get and put share theirs, enableWarnings has put only.
    EXPECT_TRUE(ids.size() == 39 && *ids.begin() == 1 && *ids.rbegin() == 40 && !ids.count(9))
        << testing::PrintToString(ids);
    EXPECT_EQ(std::make_pair(6, 7), std::make_pair(gets, puts));
  }
}

TEST_F(AbiTest, GettersGiveTheirDefaultsAndWhatTheSettersGaveThroughTheirSlots) {
  using namespace slot;
  const std::pair<int, const char*> texts[] = {{GetItemProgID, "<null>"}, {GetItemAlias, "<null>"},
      {GetParentProgID, "<null>"}, {GetParentAlias, "<null>"}, {GetCATID, ""}, {get_serverName, "<null>"},
      {get_socketVersion, ""}, {getFullCOPPClassName, "<no Property Package name available>(Standalone)"}};
  for (const auto& t : texts) EXPECT_EQ(t.second, textAt(t.first)) << t.first;
  for (int n : {get_compCOversion, getPersistType}) {
    LONG number = -1;
    EXPECT_EQ(S_OK, call(n, &number));
    EXPECT_EQ(0, number) << n;
  }
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, call(GetItemInfo, &info[0], &info[1], &info[2], &info[3], &info[4]));
  for (BSTR field : info) EXPECT_EQ("", take(field));  // empty, never null
  VARIANT phases;
  phases.vt = VT_ERROR;
  EXPECT_EQ(S_OK, call(get_supportedPhaseTypes, &phases));
  EXPECT_EQ(VT_EMPTY, phases.vt);
  INT_PTR raw = 0;
  EXPECT_EQ(S_OK, call(getThis, &raw));
  EXPECT_NE(0, raw);
  BSTR mine = SysAllocString(L"host's text"), message = mine;  // getLastError keeps no text of its own
  EXPECT_EQ(S_OK, call(getLastError, &message));
  EXPECT_EQ(mine, message);
  EXPECT_STREQ(L"host's text", message);
  SysFreeString(mine);
  EXPECT_EQ(S_OK, call(getLastError, static_cast<BSTR*>(nullptr)));
  for (VARIANT_BOOL flag : {VARIANT_TRUE, VARIANT_BOOL(1), VARIANT_FALSE})
    EXPECT_EQ(S_OK, call(put_enableWarnings, flag));
  EXPECT_EQ(S_OK, call(releaseComponents));

  for (const auto& t : {std::make_pair(put_serverName, get_serverName),
                        std::make_pair(put_socketVersion, get_socketVersion)}) {
    SCOPED_TRACE(t.second);
    BSTR given = SysAllocString(L"\\\\computer 2.1"), first = nullptr, second = nullptr;
    ASSERT_EQ(S_OK, call(t.first, given));
    ASSERT_EQ(S_OK, call(t.second, &first));
    ASSERT_EQ(S_OK, call(t.second, &second));
    EXPECT_TRUE(first != given && first != second);  // the object keeps its own copy, hands out fresh ones
    SysFreeString(given);
    EXPECT_EQ("\\\\computer 2.1|\\\\computer 2.1", take(first) + "|" + take(second));
    ASSERT_EQ(S_OK, call(t.first, static_cast<BSTR>(CTxBSTR(L""))));
    EXPECT_EQ("", textAt(t.second));
    ASSERT_EQ(S_OK, call(t.first, static_cast<BSTR>(nullptr)));
    EXPECT_EQ(t.second == get_serverName ? "<null>" : "", textAt(t.second));
  }
  ASSERT_EQ(S_OK, call(setAlias, static_cast<BSTR>(CTxBSTR(L"My package")), static_cast<BSTR>(CTxBSTR(L"My system"))));
  // The ProgIDs are other fields.
  EXPECT_EQ("My package | My system | <null> | My package(Standalone)", textAt(GetItemAlias) + " | " +
            textAt(GetParentAlias) + " | " + textAt(GetItemProgID) + " | " + textAt(getFullCOPPClassName));
  ASSERT_EQ(S_OK, call(setAlias, static_cast<BSTR>(nullptr), static_cast<BSTR>(nullptr)));
  EXPECT_EQ("<null> <null>", textAt(GetItemAlias) + " " + textAt(GetParentAlias));
  for (LONG version : {93L, 1000L, -5L, 110L, 0L}) {  // stored as given
    LONG read = 12345;
    ASSERT_EQ(S_OK, call(put_compCOversion, version));
    ASSERT_EQ(S_OK, call(get_compCOversion, &read));
    EXPECT_EQ(version, read);
  }
  ASSERT_EQ(S_OK, call(put_supportedPhaseTypes, static_cast<VARIANT>(_variant_t(7L))));
  ASSERT_EQ(S_OK, call(get_supportedPhaseTypes, &phases));
  EXPECT_TRUE(phases.vt == VT_I4 && phases.lVal == 7);

  // The flags: off at first; any non-zero value is on; each is apart from the others.
  const std::pair<int, int> getters[] = {{get_requestLiquid2, 1}, {get_doOrderPhases, 1}, {getCompOptions, 3},
      {getRecovErrorsOptions, 3}, {getCritErrorsOptions, 3}};
  const VARIANT_BOOL T = VARIANT_TRUE, F = VARIANT_FALSE, one = 1;
  const VARIANT_BOOL settings[3][11] = {{F, F, F, F, F, F, F, F, F, F, F}, {one, F, T, F, one, F, T, F, T, one, F},
                                        {F, T, F, one, F, T, F, T, F, F, one}};
  for (const auto& s : settings) {
    if (&s != &settings[0]) {
      ASSERT_EQ(S_OK, call(put_requestLiquid2, s[0]));
      ASSERT_EQ(S_OK, call(put_doOrderPhases, s[1]));
      ASSERT_EQ(S_OK, call(setCompOptions, s[2], s[3], s[4]));
      ASSERT_EQ(S_OK, call(setRecovErrorsOptions, s[5], s[6], s[7]));
      ASSERT_EQ(S_OK, call(setCritErrorsOptions, s[8], s[9], s[10]));
    }
    std::vector<int> want, read;
    for (VARIANT_BOOL v : s) want.push_back(v ? T : F);
    for (const auto& g : getters) {
      VARIANT_BOOL f[3] = {2, 2, 2};
      EXPECT_EQ(S_OK, g.second == 1 ? call(g.first, &f[0]) : call(g.first, &f[0], &f[1], &f[2])) << g.first;
      read.insert(read.end(), f, f + g.second);
    }
    EXPECT_EQ(want, read);
  }
  EXPECT_EQ(0u, boxes.count());
  // setFilter follows the library's functions, in the slot that hosts reach; the object is whole afterwards
  // (a destructor in that slot would not leave it so).
  EXPECT_EQ(S_OK, call(setFilter, LONG(catf_UnitOperation)));
  EXPECT_EQ(S_OK, call(setFilter, LONG(catf_All)));
  EXPECT_EQ("", textAt(GetCATID));
  EXPECT_EQ(2u, object->AddRef());
  EXPECT_EQ(1u, object->Release());
}

TEST_F(AbiTest, NullOutPointersAreRefusedThroughEverySlotAndNothingIsWritten) {
  using namespace slot;
  const std::pair<int, int> nullAt[] = {{ShowGUI, 0}, {ShowGUI, 1}, {GetItemCLSID, 0}, {GetItemProgID, 0},
      {GetItemAlias, 0}, {GetParentCLSID, 0}, {GetParentProgID, 0}, {GetParentAlias, 0}, {GetCATID, 0},
      {getPersistType, 0}, {createComp, 0}, {get_serverName, 0}, {get_compCOversion, 0}, {getThis, 0},
      {getCompOptions, 2}, {getFullCOPPClassName, 0}, {getRecovErrorsOptions, 0}, {get_socketVersion, 0},
      {get_supportedPhaseTypes, 0}, {get_requestLiquid2, 0}, {get_doOrderPhases, 0}, {getCritErrorsOptions, 1},
      {GetItemInfo, 0}, {GetItemInfo, 4}};
  for (const auto& row : nullAt) {
    void* out[5] = {};
    void* args[5];
    for (int k = 0; k < 5; ++k) args[k] = k == row.second ? nullptr : &out[k];
    EXPECT_EQ(E_POINTER, call(row.first, args[0], args[1], args[2], args[3], args[4])) << row.first;
    for (void* written : out) EXPECT_EQ(nullptr, written) << row.first;
  }
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(AbiTest, LateBindingByProgIdThroughTheTypeInformation) {
  CLSID clsid = {};
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"TxShowCOCATIDs.CCAPEGUI", &clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_CCAPEGUI, clsid));
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"TxShowCOCATIDs.CCAPEGUI.1", &clsid));
  fw::ComPtr<IDispatch> d;
  ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()));

  // One type information, loaded once for the process.
  UINT count = 0;
  ASSERT_EQ(S_OK, d->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  EXPECT_EQ(E_POINTER, d->GetTypeInfoCount(nullptr));
  fw::ComPtr<ITypeInfo> info, again;
  ASSERT_EQ(S_OK, d->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()));
  EXPECT_TRUE(IsEqualIID(IID_ICCAPEGUI, attrOf(info.get()).guid));
  ITypeInfo* beyond = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(DISP_E_BADINDEX, d->GetTypeInfo(1, LOCALE_USER_DEFAULT, &beyond));
  EXPECT_EQ(nullptr, beyond);
  EXPECT_EQ(E_POINTER, d->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr));
  ASSERT_EQ(S_OK, object->GetTypeInfo(0, 0x409, again.put()));
  EXPECT_EQ(info.get(), again.get());

  // A library that is not registered (no version 9.9) is read from the module's own resource;
  // this program carries the product's resources.
  fw::ComPtr<ITypeLib> unregistered;
  ASSERT_NE(S_OK, LoadRegTypeLib(LIBID_TXSHOWCOCATIDSLib, 9, 9, 0x409, unregistered.put()));
  ASSERT_EQ(S_OK, fw::loadTypeInfo(LIBID_TXSHOWCOCATIDSLib, 9, 9, IID_ICCAPEGUI, again.put()));
  EXPECT_TRUE(IsEqualIID(IID_ICCAPEGUI, attrOf(again.get()).guid));
  again.reset();
  fw::releaseTypeInfoCache();

  // Names by the type information (setFilter is not in it); the arrays must be there.
  const std::pair<const wchar_t*, DISPID> names[] = {{L"ShowGUI", 1}, {L"showgui", 1}, {L"GetItemInfo", 40},
                                                     {L"setFilter", DISPID_UNKNOWN}, {L"NoSuchMember", DISPID_UNKNOWN}};
  for (const auto& n : names) {
    DISPID id = 0;
    EXPECT_EQ(n.second == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK, tx::dispIdOf(d.get(), n.first, &id));
    if (n.second != DISPID_UNKNOWN) { EXPECT_EQ(n.second, id) << narrowFromWide(n.first); }
  }
  LPOLESTR name = const_cast<LPOLESTR>(L"setAlias");
  DISPID id = 0;
  EXPECT_EQ(E_POINTER, d->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(E_POINTER, d->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, nullptr));

  // Properties and methods by name, reaching this object; a text converted to a number.
  _variant_t result;
  ASSERT_EQ(S_OK, invoke(d.get(), L"compCOversion", DISPATCH_PROPERTYPUT, {_variant_t(L"100")}, nullptr));
  ASSERT_EQ(S_OK, invoke(d.get(), L"compCOversion", DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_TRUE(result.vt == VT_I4 && result.lVal == 100);
  ASSERT_EQ(S_OK, invoke(d.get(), L"setAlias", DISPATCH_METHOD, {_variant_t(L"Package A"), _variant_t(L"System B")},
                         nullptr));
  ASSERT_EQ(S_OK, invoke(d.get(), L"GetParentAlias", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_EQ("System B", tx::bstrText(result.vt == VT_BSTR ? result.bstrVal : nullptr));
  // Out parameters without a direction, passed by reference.
  BSTR fields[5] = {};
  std::vector<VARIANT> refs(5);
  for (int i = 0; i < 5; ++i) refs[i].vt = VT_BYREF | VT_BSTR, refs[i].pbstrVal = &fields[i];
  ASSERT_EQ(S_OK, invoke(d.get(), L"GetItemInfo", DISPATCH_METHOD, refs, nullptr));
  for (BSTR field : fields) EXPECT_EQ("", take(field));

  // A call without parameters is refused; one by DISPID goes through.
  result.Clear();
  EXPECT_EQ(E_POINTER, d->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr));
  EXPECT_EQ(VT_EMPTY, result.vt);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  ASSERT_EQ(S_OK, d->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
  EXPECT_TRUE(result.vt == VT_BSTR && result.bstrVal && SysStringLen(result.bstrVal) == 0);
}
