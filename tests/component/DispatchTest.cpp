// Late binding: IDispatch over the type information, as script hosts and automation
// clients use the object (names to DISPIDs, Invoke of properties and methods).
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TxCOGUI.h"
#include "common/TestSupport.h"

namespace {

class DispatchTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IDispatch, dispatch.put_void()));
  }

  DISPID idOf(const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, tx::dispIdOf(dispatch.get(), name, &id)) << tx::narrow(name);
    return id;
  }

  // Invoke with the arguments in call order (Invoke takes them last first).
  HRESULT invoke(const wchar_t* name, WORD flags, std::initializer_list<VARIANT> args, VARIANT* result) {
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &putId;
      params.cNamedArgs = 1;
    }
    EXCEPINFO exception = {};
    UINT argError = 0;
    HRESULT hr = dispatch->Invoke(idOf(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
  }

  static VARIANT text(BSTR value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
  }
  static VARIANT number(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
  }

  fw::ComPtr<ICCAPEGUI> object;
  fw::ComPtr<IDispatch> dispatch;
};

}  // namespace

TEST_F(DispatchTest, OneTypeInformationAtIndexZeroKeptForTheProcess) {
  UINT count = 0;
  ASSERT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  EXPECT_EQ(E_POINTER, dispatch->GetTypeInfoCount(nullptr));

  fw::ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()));
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(IID_ICCAPEGUI, attr->guid));
  info->ReleaseTypeAttr(attr);

  ITypeInfo* none = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, LOCALE_USER_DEFAULT, &none));
  EXPECT_EQ(nullptr, none);
  EXPECT_EQ(E_POINTER, dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr));

  // Loaded once: a second object hands out the same type information.
  fw::ComPtr<ICCAPEGUI> other;
  ASSERT_EQ(S_OK, tx::createProduct(other.put()));
  fw::ComPtr<ITypeInfo> otherInfo;
  ASSERT_EQ(S_OK, other->GetTypeInfo(0, 0x409, otherInfo.put()));
  EXPECT_EQ(info.get(), otherInfo.get());
}

TEST_F(DispatchTest, NamesGiveTheirDispids) {
  EXPECT_EQ(1, idOf(L"ShowGUI"));
  EXPECT_EQ(40, idOf(L"GetItemInfo"));
  EXPECT_EQ(19, idOf(L"enableWarnings"));
  EXPECT_EQ(16, idOf(L"setup"));
  EXPECT_EQ(21, idOf(L"serverName"));
  EXPECT_EQ(22, idOf(L"compCOversion"));
  EXPECT_EQ(1, idOf(L"showgui"));  // automation names ignore case

  DISPID id = 0;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, tx::dispIdOf(dispatch.get(), L"setFilter", &id));
  EXPECT_EQ(DISP_E_UNKNOWNNAME, tx::dispIdOf(dispatch.get(), L"NoSuchMember", &id));

  // A method and the names of its parameters.
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"setAlias"), const_cast<LPOLESTR>(L"szParentAlias"),
                      const_cast<LPOLESTR>(L"szComponentAlias")};
  DISPID ids[3] = {};
  ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 3, LOCALE_USER_DEFAULT, ids));
  EXPECT_EQ(20, ids[0]);
  EXPECT_EQ(1, ids[1]);
  EXPECT_EQ(0, ids[2]);
}

TEST_F(DispatchTest, PropertiesByName) {
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(S_OK, invoke(L"compCOversion", DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_EQ(VT_I4, result.vt);
  EXPECT_EQ(0, result.lVal);

  ASSERT_EQ(S_OK, invoke(L"compCOversion", DISPATCH_PROPERTYPUT, {number(93)}, nullptr));
  LONG version = 0;
  ASSERT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(93, version);
  ASSERT_EQ(S_OK, invoke(L"compCOversion", DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_EQ(93, result.lVal);

  BSTR server = SysAllocString(L"\\\\far");
  ASSERT_EQ(S_OK, invoke(L"serverName", DISPATCH_PROPERTYPUT, {text(server)}, nullptr));
  SysFreeString(server);
  ASSERT_EQ(S_OK, invoke(L"serverName", DISPATCH_PROPERTYGET, {}, &result));
  ASSERT_EQ(VT_BSTR, result.vt);
  EXPECT_EQ("\\\\far", tx::narrow(result.bstrVal));
  VariantClear(&result);

  // Converted by the type information: a text for a number.
  BSTR digits = SysAllocString(L"100");
  ASSERT_EQ(S_OK, invoke(L"compCOversion", DISPATCH_PROPERTYPUT, {text(digits)}, nullptr));
  SysFreeString(digits);
  ASSERT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(100, version);

  VARIANT flag;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_TRUE;
  EXPECT_EQ(S_OK, invoke(L"enableWarnings", DISPATCH_PROPERTYPUT, {flag}, nullptr));
}

TEST_F(DispatchTest, MethodsByName) {
  BSTR component = SysAllocString(L"Package A");
  BSTR parent = SysAllocString(L"System B");
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(S_OK, invoke(L"setAlias", DISPATCH_METHOD, {text(component), text(parent)}, &result));
  SysFreeString(component);
  SysFreeString(parent);
  VariantClear(&result);

  ASSERT_EQ(S_OK, invoke(L"GetItemAlias", DISPATCH_METHOD, {}, &result));
  ASSERT_EQ(VT_BSTR, result.vt);
  EXPECT_EQ("Package A", tx::narrow(result.bstrVal));
  VariantClear(&result);
  ASSERT_EQ(S_OK, invoke(L"GetParentAlias", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_EQ("System B", tx::narrow(result.bstrVal));
  VariantClear(&result);
  ASSERT_EQ(S_OK, invoke(L"GetCATID", DISPATCH_METHOD, {}, &result));
  ASSERT_EQ(VT_BSTR, result.vt);
  ASSERT_NE(nullptr, result.bstrVal);
  EXPECT_EQ(0u, SysStringLen(result.bstrVal));
  VariantClear(&result);

  // Out parameters without a direction, passed by reference.
  BSTR fields[5] = {};
  VARIANT refs[5];
  for (int i = 0; i < 5; ++i) {
    VariantInit(&refs[i]);
    refs[i].vt = VT_BYREF | VT_BSTR;
    refs[i].pbstrVal = &fields[i];
  }
  ASSERT_EQ(S_OK, invoke(L"GetItemInfo", DISPATCH_METHOD, {refs[0], refs[1], refs[2], refs[3], refs[4]}, nullptr));
  for (BSTR field : fields) {
    EXPECT_NE(nullptr, field);
    EXPECT_EQ(0u, SysStringLen(field));
    SysFreeString(field);
  }
}

TEST_F(DispatchTest, WrongCallsAreRefusedByTheTypeInformation) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXCEPINFO exception = {};
  UINT argError = 0;
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            dispatch->Invoke(9, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, &exception, &argError));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, invoke(L"setAlias", DISPATCH_METHOD, {}, &result));
  // enableWarnings has no get method.
  EXPECT_NE(S_OK, invoke(L"enableWarnings", DISPATCH_PROPERTYGET, {}, &result));
  EXPECT_EQ(VT_EMPTY, result.vt);
}

TEST_F(DispatchTest, NullArgumentsAreRefusedNotFollowed) {
  DISPID id = 0;
  EXPECT_EQ(E_POINTER, dispatch->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetCATID")};
  EXPECT_EQ(E_POINTER, dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, nullptr));
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(E_POINTER, dispatch->Invoke(8, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, &result,
                                        nullptr, nullptr));
  EXPECT_EQ(VT_EMPTY, result.vt);
  // A call that needs neither exception nor argument information goes through without them.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  ASSERT_EQ(S_OK, dispatch->Invoke(8, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
  EXPECT_EQ(VT_BSTR, result.vt);
  VariantClear(&result);
}
