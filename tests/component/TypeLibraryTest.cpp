// The type library as automation clients read it: from its registration (locale 0x409)
// and from the DLL's own TYPELIB resource. Its contents fix the DISPIDs, the order of the
// table of functions, the parameter directions and the help strings hosts rely on.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TxCOGUI.h"
#include "common/TestSupport.h"

namespace {

const LCID kEnglish = 0x409;

struct Param {
  const char* name;  // empty: the type library names none
  USHORT flags;      // PARAMFLAG_ bits
  const char* type;
};

struct Function {
  const char* name;
  DISPID id;
  INVOKEKIND kind;
  const char* help;
  std::vector<Param> params;
};

const USHORT kIn = PARAMFLAG_FIN, kOut = PARAMFLAG_FOUT, kRet = PARAMFLAG_FRETVAL, kNone = 0;
const INVOKEKIND M = INVOKE_FUNC, GET = INVOKE_PROPERTYGET, PUT = INVOKE_PROPERTYPUT;

// ICCAPEGUI in table order.
const std::vector<Function>& expectedFunctions() {
  static const std::vector<Function> functions = {
      {"ShowGUI", 1, M, "method ShowGUI", {{"szComponent", kIn | kOut, "BSTR*"}, {"szCATIDs", kIn | kOut, "BSTR*"}}},
      {"GetItemCLSID", 2, M, "method GetItemCLSID", {{"itemclsid", kOut | kRet, "BSTR*"}}},
      {"GetItemProgID", 3, M, "method GetItemProgID", {{"itemprogid", kOut | kRet, "BSTR*"}}},
      {"GetItemAlias", 4, M, "method GetItemAlias", {{"itemAlias", kOut | kRet, "BSTR*"}}},
      {"GetParentCLSID", 5, M, "method GetParentCLSID", {{"Parentclsid", kOut | kRet, "BSTR*"}}},
      {"GetParentProgID", 6, M, "method GetParentProgID", {{"Parentprogid", kOut | kRet, "BSTR*"}}},
      {"GetParentAlias", 7, M, "method GetParentAlias", {{"ParentAlias", kOut | kRet, "BSTR*"}}},
      {"GetCATID", 8, M, "method GetCATID", {{"catid", kOut | kRet, "BSTR*"}}},
      {"setComponent", 10, M, "method setComponent", {{"comp", kNone, "IDispatch*"}}},
      {"getPersistType", 11, M, "method getPersistType", {{"pt", kNone, "long*"}}},
      {"saveStorage", 12, M, "method saveStorage", {}},
      {"loadStorage", 13, M, "method loadStorage", {{"isRecalling", kNone, "VARIANT_BOOL"}}},
      {"createComp", 14, M, "method createComp", {{"component", kNone, "IDispatch**"}, {"parent", kNone, "IDispatch**"}}},
      {"getLastError", 15, M, "method getLastError", {{"msg", kNone, "BSTR*"}}},
      {"setup", 16, M, "method setContext",
       {{"HWND", kIn, "INT_PTR"}, {"container", kNone, "IDispatch*"}, {"filter", kIn, "long"}}},
      {"setProgIds", 17, M, "method setProgIds",
       {{"szComponentProgId", kIn, "BSTR"}, {"szParentProgId", kIn, "BSTR"}}},
      {"releaseComponents", 18, M, "method releaseComponents", {}},
      {"enableWarnings", 19, PUT, "property enableWarnings", {{"", kIn, "VARIANT_BOOL"}}},
      {"setAlias", 20, M, "method setAlias", {{"szComponentAlias", kIn, "BSTR"}, {"szParentAlias", kIn, "BSTR"}}},
      {"serverName", 21, GET, "property serverName", {{"pVal", kOut | kRet, "BSTR*"}}},
      {"serverName", 21, PUT, "property serverName", {{"", kIn, "BSTR"}}},
      {"compCOversion", 22, GET, "CAPE-OPEN version of comp: 90, 93, 100", {{"pVal", kOut | kRet, "long*"}}},
      {"compCOversion", 22, PUT, "CAPE-OPEN version of comp: 90, 93, 100", {{"", kIn, "long"}}},
      {"ShowThermoGUI", 23, M, "method ShowThermoGUI", {{"allowModifications", kNone, "VARIANT_BOOL"}}},
      {"getThis", 24, M, "method getThis", {{"rawPointer", kOut, "INT_PTR*"}}},
      {"getCompOptions", 25, M, "method getCompOptions",
       {{"allowSubsets", kNone, "VARIANT_BOOL*"}, {"freeCompounds", kNone, "VARIANT_BOOL*"},
        {"treatAsHypos", kNone, "VARIANT_BOOL*"}}},
      {"setPPInfo", 26, M, "method setPPInfo",
       {{"txNames", kNone, "VARIANT*"}, {"matchedBy", kNone, "VARIANT*"}, {"mapping", kNone, "VARIANT*"}}},
      {"simulateThermoGUI", 27, M, "method simulateThermoGUI",
       {{"freeCompounds", kNone, "VARIANT_BOOL"}, {"allowSubsets", kNone, "VARIANT_BOOL"},
        {"treatAsHypos", kNone, "VARIANT_BOOL"}}},
      {"getFullCOPPClassName", 28, M, "method getFullCOPPClassName", {{"name", kOut | kRet, "BSTR*"}}},
      {"setCompOptions", 29, M, "method setCompOptions",
       {{"allowSubsets", kNone, "VARIANT_BOOL"}, {"freeCompounds", kNone, "VARIANT_BOOL"},
        {"treatAsHypos", kNone, "VARIANT_BOOL"}}},
      {"traceReport", 30, M, "method traceReport", {{"msg", kNone, "BSTR"}, {"appendNewLine", kNone, "VARIANT_BOOL"}}},
      {"showStaticInfo", 31, M, "method showStaticInfo", {}},
      {"setRecovErrorsOptions", 32, M, "method setRecovErrorsOptions",
       {{"trace", kNone, "VARIANT_BOOL"}, {"log", kNone, "VARIANT_BOOL"}, {"popUp", kNone, "VARIANT_BOOL"}}},
      {"getRecovErrorsOptions", 33, M, "method getRecovErrorsOptions",
       {{"trace", kNone, "VARIANT_BOOL*"}, {"log", kNone, "VARIANT_BOOL*"}, {"popUp", kNone, "VARIANT_BOOL*"}}},
      {"socketVersion", 34, GET, "property socketVersion", {{"pVal", kOut | kRet, "BSTR*"}}},
      {"socketVersion", 34, PUT, "property socketVersion", {{"", kIn, "BSTR"}}},
      {"supportedPhaseTypes", 35, GET, "property supportedPhaseTypes", {{"pVal", kOut | kRet, "VARIANT*"}}},
      {"supportedPhaseTypes", 35, PUT, "property supportedPhaseTypes", {{"", kIn, "VARIANT"}}},
      {"requestLiquid2", 36, GET, "property requestLiquid2", {{"pVal", kOut | kRet, "VARIANT_BOOL*"}}},
      {"requestLiquid2", 36, PUT, "property requestLiquid2", {{"", kIn, "VARIANT_BOOL"}}},
      {"doOrderPhases", 37, GET, "property doOrderPhases", {{"pVal", kOut | kRet, "VARIANT_BOOL*"}}},
      {"doOrderPhases", 37, PUT, "property doOrderPhases", {{"", kIn, "VARIANT_BOOL"}}},
      {"getCritErrorsOptions", 38, M, "method getCritErrorsOptions",
       {{"trace", kNone, "VARIANT_BOOL*"}, {"log", kNone, "VARIANT_BOOL*"}, {"popUp", kNone, "VARIANT_BOOL*"}}},
      {"setCritErrorsOptions", 39, M, "method setCritErrorsOptions",
       {{"trace", kNone, "VARIANT_BOOL"}, {"log", kNone, "VARIANT_BOOL"}, {"popUp", kNone, "VARIANT_BOOL"}}},
      {"GetItemInfo", 40, M, "Component Info from registry",
       {{"description", kNone, "BSTR*"}, {"componentVersion", kNone, "BSTR*"}, {"vendorURL", kNone, "BSTR*"},
        {"helpURL", kNone, "BSTR*"}, {"about", kNone, "BSTR*"}}},
  };
  return functions;
}

std::string documentationName(ITypeInfo* info, MEMBERID id, std::string* help = nullptr) {
  BSTR name = nullptr, doc = nullptr;
  info->GetDocumentation(id, &name, &doc, nullptr, nullptr);
  std::string result = tx::narrow(name);
  if (help) *help = tx::narrow(doc);
  SysFreeString(name);
  SysFreeString(doc);
  return result;
}

// A parameter or alias type as the IDL writes it.
std::string typeText(ITypeInfo* owner, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_PTR: return typeText(owner, *type.lptdesc) + "*";
    case VT_BSTR: return "BSTR";
    case VT_I4: return "long";
    case VT_I8: return "__int64";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_VARIANT: return "VARIANT";
    case VT_DISPATCH: return "IDispatch*";
    case VT_USERDEFINED: {
      fw::ComPtr<ITypeInfo> referenced;
      if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put()))) return "<bad reference>";
      return documentationName(referenced.get(), MEMBERID_NIL);
    }
    default: return "vt " + std::to_string(type.vt);
  }
}

template <class Attr>
struct Released {
  Released(ITypeInfo* i, Attr* a) : info(i), attr(a) {}
  ~Released();
  ITypeInfo* info;
  Attr* attr;
};
template <> Released<TYPEATTR>::~Released() { if (attr) info->ReleaseTypeAttr(attr); }
template <> Released<FUNCDESC>::~Released() { if (attr) info->ReleaseFuncDesc(attr); }
template <> Released<VARDESC>::~Released() { if (attr) info->ReleaseVarDesc(attr); }

// Both ways a client finds the library: its registration and the DLL's resource.
class TypeLibraryTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_TXSHOWCOCATIDSLib, 1, 0, kEnglish, registered_.put()));
    std::wstring path = tx::widen(tx::productDll());
    ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, fromFile_.put()));
  }

  // Runs 'check' on each of the two libraries.
  template <class Check>
  void forEachLibrary(Check check) {
    {
      SCOPED_TRACE("registered library");
      library_ = registered_;
      check();
    }
    {
      SCOPED_TRACE("library of the DLL file");
      library_ = fromFile_;
      check();
    }
  }

  fw::ComPtr<ITypeInfo> infoOf(REFGUID guid) {
    fw::ComPtr<ITypeInfo> info;
    EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(guid, info.put()));
    return info;
  }

  fw::ComPtr<ITypeLib> registered_, fromFile_, library_;
};

}  // namespace

TEST_F(TypeLibraryTest, LibraryIdentity) {
  forEachLibrary([&] {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(LIBID_TXSHOWCOCATIDSLib, attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(kEnglish, attr->lcid);
    EXPECT_EQ(SYS_WIN64, attr->syskind);
    library_->ReleaseTLibAttr(attr);

    BSTR name = nullptr, doc = nullptr;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, &name, &doc, nullptr, nullptr));
    EXPECT_EQ("TXSHOWCOCATIDSLib", tx::narrow(name));
    EXPECT_EQ("TxShowCOCATIDs 1.0 Type Library", tx::narrow(doc));
    SysFreeString(name);
    SysFreeString(doc);

    // The enum, the alias, the interface and the class; nothing else.
    std::vector<std::string> names;
    for (UINT i = 0; i < library_->GetTypeInfoCount(); ++i) {
      BSTR entry = nullptr;
      library_->GetDocumentation(static_cast<INT>(i), &entry, nullptr, nullptr, nullptr);
      names.push_back(tx::narrow(entry));
      SysFreeString(entry);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"CCAPEGUI", "ICCAPEGUI", "INT_PTR", "categoryFilterTag"}), names);
  });
}

TEST_F(TypeLibraryTest, CategoryFilterEnum) {
  forEachLibrary([&] {
    const GUID enumGuid = {0xAF216A10, 0xD523, 0x11D5, {0x8C, 0xED, 0x00, 0x00, 0x86, 0x5F, 0x48, 0x38}};
    fw::ComPtr<ITypeInfo> info = infoOf(enumGuid);
    ASSERT_TRUE(info);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    Released<TYPEATTR> attrOwner(info.get(), attr);
    EXPECT_EQ(TKIND_ENUM, attr->typekind);
    EXPECT_EQ("categoryFilterTag", documentationName(info.get(), MEMBERID_NIL));

    const std::vector<std::pair<std::string, LONG>> expected = {
        {"catf_None", 0}, {"catf_Component", 1}, {"catf_ThermoRoutine", 2}, {"catf_ThermoSystem", 4},
        {"catf_PropertyPackage", 8}, {"catf_EquilibriumServer", 16}, {"catf_UnitOperation", 32},
        {"catf_PetroUnit", 64}, {"catf_KineticReactionSystem", 128}, {"catf_KineticReaction", 256},
        {"catf_All", 65536}};
    ASSERT_EQ(expected.size(), attr->cVars);
    for (UINT i = 0; i < attr->cVars; ++i) {
      VARDESC* var = nullptr;
      ASSERT_EQ(S_OK, info->GetVarDesc(i, &var));
      Released<VARDESC> varOwner(info.get(), var);
      ASSERT_EQ(VAR_CONST, var->varkind);
      EXPECT_EQ(expected[i].first, documentationName(info.get(), var->memid));
      VARIANT value;
      VariantInit(&value);
      ASSERT_EQ(S_OK, VariantChangeType(&value, var->lpvarValue, 0, VT_I4));
      EXPECT_EQ(expected[i].second, value.lVal) << expected[i].first;
    }
    // The C++ names of the header agree.
    EXPECT_EQ(65536, catf_All);
    EXPECT_EQ(32, catf_UnitOperation);
    categoryFilter all = catf_All;
    EXPECT_EQ(65536, static_cast<int>(all));
  });
}

TEST_F(TypeLibraryTest, IntPtrIsASixtyFourBitAlias) {
  forEachLibrary([&] {
    fw::ComPtr<ITypeInfo> info;
    MEMBERID id = 0;
    USHORT found = 1;
    wchar_t name[] = L"INT_PTR";
    ITypeInfo* raw = nullptr;
    ASSERT_EQ(S_OK, library_->FindName(name, 0, &raw, &id, &found));
    ASSERT_EQ(1, found);
    info.attach(raw);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    Released<TYPEATTR> attrOwner(info.get(), attr);
    EXPECT_EQ(TKIND_ALIAS, attr->typekind);
    EXPECT_EQ(VT_I8, attr->tdescAlias.vt);
  });
}

TEST_F(TypeLibraryTest, InterfaceIsDualWithItsFunctionsInTableOrder) {
  forEachLibrary([&] {
    fw::ComPtr<ITypeInfo> dispatch = infoOf(IID_ICCAPEGUI);
    ASSERT_TRUE(dispatch);
    std::string help;
    EXPECT_EQ("ICCAPEGUI", documentationName(dispatch.get(), MEMBERID_NIL, &help));
    EXPECT_EQ("ICCAPEGUI Interface", help);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, dispatch->GetTypeAttr(&attr));
    {
      Released<TYPEATTR> owner(dispatch.get(), attr);
      EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
      EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    }

    // The virtual-table side of the dual interface.
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef));
    fw::ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(vtableRef, info.put()));
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    Released<TYPEATTR> attrOwner(info.get(), attr);
    EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
    EXPECT_TRUE(IsEqualGUID(IID_ICCAPEGUI, attr->guid));
    ASSERT_EQ(1, attr->cImplTypes);
    HREFTYPE baseRef = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(0, &baseRef));
    fw::ComPtr<ITypeInfo> base;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(baseRef, base.put()));
    EXPECT_EQ("IDispatch", documentationName(base.get(), MEMBERID_NIL));

    const std::vector<Function>& expected = expectedFunctions();
    ASSERT_EQ(expected.size(), attr->cFuncs);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
      const Function& want = expected[i];
      SCOPED_TRACE(std::to_string(i) + " " + want.name);
      FUNCDESC* func = nullptr;
      ASSERT_EQ(S_OK, info->GetFuncDesc(i, &func));
      Released<FUNCDESC> funcOwner(info.get(), func);
      EXPECT_EQ(want.id, func->memid);
      EXPECT_EQ(want.kind, func->invkind);
      // Slot 7 + i: after IUnknown's three and IDispatch's four.
      EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), func->oVft);
      EXPECT_EQ(VT_HRESULT, func->elemdescFunc.tdesc.vt);
      std::string funcHelp;
      EXPECT_EQ(want.name, documentationName(info.get(), func->memid, &funcHelp));
      EXPECT_EQ(want.help, funcHelp);
      ASSERT_EQ(want.params.size(), static_cast<size_t>(func->cParams));

      BSTR names[8] = {};
      UINT nameCount = 0;
      ASSERT_EQ(S_OK, info->GetNames(func->memid, names, 8, &nameCount));
      std::vector<std::string> paramNames;
      for (UINT n = 0; n < nameCount; ++n) {
        if (n > 0) paramNames.push_back(tx::narrow(names[n]));
        SysFreeString(names[n]);
      }
      for (size_t p = 0; p < want.params.size(); ++p) {
        const ELEMDESC& param = func->lprgelemdescParam[p];
        EXPECT_EQ(want.params[p].flags, param.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL))
            << "parameter " << p;
        EXPECT_EQ(want.params[p].type, typeText(info.get(), param.tdesc)) << "parameter " << p;
        // GetNames answers for the first function of a DISPID: a put method that follows
        // its get method cannot be asked. A property's put value has no name.
        bool sharesItsId = i > 0 && expected[i - 1].id == want.id;
        if (sharesItsId) continue;
        if (*want.params[p].name) {
          ASSERT_LT(p, paramNames.size());
          EXPECT_EQ(want.params[p].name, paramNames[p]);
        } else {
          EXPECT_EQ(p, paramNames.size());
        }
      }
    }
  });
}

TEST_F(TypeLibraryTest, DispatchViewHasEveryDispidOnce) {
  forEachLibrary([&] {
    fw::ComPtr<ITypeInfo> dispatch = infoOf(IID_ICCAPEGUI);
    ASSERT_TRUE(dispatch);
    for (const Function& want : expectedFunctions()) {
      MEMBERID id = DISPID_UNKNOWN;
      std::wstring name = tx::widen(want.name);
      LPOLESTR names[] = {&name[0]};
      EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(names, 1, &id)) << want.name;
      EXPECT_EQ(want.id, id) << want.name;
    }
    // No member answers to DISPID 9; setFilter is not in the library.
    BSTR name = nullptr;
    EXPECT_NE(S_OK, dispatch->GetDocumentation(9, &name, nullptr, nullptr, nullptr));
    SysFreeString(name);
    std::wstring setFilter = L"setFilter";
    LPOLESTR names[] = {&setFilter[0]};
    MEMBERID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(names, 1, &id));
  });
}

TEST_F(TypeLibraryTest, ClassImplementsTheInterfaceAsDefault) {
  forEachLibrary([&] {
    fw::ComPtr<ITypeInfo> info = infoOf(CLSID_CCAPEGUI);
    ASSERT_TRUE(info);
    std::string help;
    EXPECT_EQ("CCAPEGUI", documentationName(info.get(), MEMBERID_NIL, &help));
    EXPECT_EQ("CCAPEGUI Class", help);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    Released<TYPEATTR> attrOwner(info.get(), attr);
    EXPECT_EQ(TKIND_COCLASS, attr->typekind);
    ASSERT_EQ(1, attr->cImplTypes);
    INT flags = 0;
    ASSERT_EQ(S_OK, info->GetImplTypeFlags(0, &flags));
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE ref = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(0, &ref));
    fw::ComPtr<ITypeInfo> implemented;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(ref, implemented.put()));
    TYPEATTR* implAttr = nullptr;
    ASSERT_EQ(S_OK, implemented->GetTypeAttr(&implAttr));
    Released<TYPEATTR> implOwner(implemented.get(), implAttr);
    EXPECT_TRUE(IsEqualGUID(IID_ICCAPEGUI, implAttr->guid));
  });
}
