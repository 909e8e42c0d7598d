// Result-code text: names with the values the SDK header gives them, code blocks,
// severity and facility, the shared buffer, and the box that adds the system's text.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "SupportFixtures.h"
#include "support/ResultTables.h"
#include "support/ResultText.h"

namespace {

// Every name of the product's table, in its order, with the compiler's own header value.
#define TX_SDK_RESULT_NAMES(X) \
    X(S_OK) X(S_FALSE) X(CACHE_S_FORMATETC_NOTSUPPORTED) X(CACHE_S_SAMECACHE) X(CACHE_S_SOMECACHES_NOTUPDATED) \
    X(CONVERT10_S_NO_PRESENTATION) X(DATA_S_SAMEFORMATETC) X(DRAGDROP_S_CANCEL) X(DRAGDROP_S_DROP) \
    X(DRAGDROP_S_USEDEFAULTCURSORS) X(INPLACE_S_TRUNCATED) X(MK_S_HIM) X(MK_S_ME) \
    X(MK_S_MONIKERALREADYREGISTERED) X(MK_S_REDUCED_TO_SELF) X(MK_S_US) X(OLE_S_MAC_CLIPFORMAT) \
    X(OLE_S_STATIC) X(OLE_S_USEREG) X(OLEOBJ_S_CANNOT_DOVERB_NOW) X(OLEOBJ_S_INVALIDHWND) \
    X(OLEOBJ_S_INVALIDVERB) X(OLEOBJ_S_LAST) X(STG_S_CONVERTED) X(VIEW_S_ALREADY_FROZEN) X(E_UNEXPECTED) \
    X(E_NOTIMPL) X(E_OUTOFMEMORY) X(E_INVALIDARG) X(E_NOINTERFACE) X(E_POINTER) X(E_HANDLE) X(E_ABORT) \
    X(E_FAIL) X(E_ACCESSDENIED) X(CACHE_E_NOCACHE_UPDATED) X(CLASS_E_CLASSNOTAVAILABLE) \
    X(CLASS_E_NOAGGREGATION) X(CLIPBRD_E_BAD_DATA) X(CLIPBRD_E_CANT_CLOSE) X(CLIPBRD_E_CANT_EMPTY) \
    X(CLIPBRD_E_CANT_OPEN) X(CLIPBRD_E_CANT_SET) X(CO_E_ALREADYINITIALIZED) X(CO_E_APPDIDNTREG) \
    X(CO_E_APPNOTFOUND) X(CO_E_APPSINGLEUSE) X(CO_E_BAD_PATH) X(CO_E_CANTDETERMINECLASS) \
    X(CO_E_CLASS_CREATE_FAILED) X(CO_E_CLASSSTRING) X(CO_E_DLLNOTFOUND) X(CO_E_ERRORINAPP) X(CO_E_ERRORINDLL) \
    X(CO_E_IIDSTRING) X(CO_E_NOTINITIALIZED) X(CO_E_OBJISREG) X(CO_E_OBJNOTCONNECTED) X(CO_E_OBJNOTREG) \
    X(CO_E_OBJSRV_RPC_FAILURE) X(CO_E_SCM_ERROR) X(CO_E_SCM_RPC_FAILURE) X(CO_E_SERVER_EXEC_FAILURE) \
    X(CO_E_SERVER_STOPPING) X(CO_E_WRONGOSFORAPP) X(CONVERT10_E_OLESTREAM_BITMAP_TO_DIB) \
    X(CONVERT10_E_OLESTREAM_FMT) X(CONVERT10_E_OLESTREAM_GET) X(CONVERT10_E_OLESTREAM_PUT) \
    X(CONVERT10_E_STG_DIB_TO_BITMAP) X(CONVERT10_E_STG_FMT) X(CONVERT10_E_STG_NO_STD_STREAM) \
    X(DISP_E_ARRAYISLOCKED) X(DISP_E_BADCALLEE) X(DISP_E_BADINDEX) X(DISP_E_BADPARAMCOUNT) \
    X(DISP_E_BADVARTYPE) X(DISP_E_EXCEPTION) X(DISP_E_MEMBERNOTFOUND) X(DISP_E_NONAMEDARGS) \
    X(DISP_E_NOTACOLLECTION) X(DISP_E_OVERFLOW) X(DISP_E_PARAMNOTFOUND) X(DISP_E_PARAMNOTOPTIONAL) \
    X(DISP_E_TYPEMISMATCH) X(DISP_E_UNKNOWNINTERFACE) X(DISP_E_UNKNOWNLCID) X(DISP_E_UNKNOWNNAME) \
    X(DRAGDROP_E_ALREADYREGISTERED) X(DRAGDROP_E_INVALIDHWND) X(DRAGDROP_E_NOTREGISTERED) X(DV_E_CLIPFORMAT) \
    X(DV_E_DVASPECT) X(DV_E_DVTARGETDEVICE) X(DV_E_DVTARGETDEVICE_SIZE) X(DV_E_FORMATETC) X(DV_E_LINDEX) \
    X(DV_E_NOIVIEWOBJECT) X(DV_E_STATDATA) X(DV_E_STGMEDIUM) X(DV_E_TYMED) X(INPLACE_E_NOTOOLSPACE) \
    X(INPLACE_E_NOTUNDOABLE) X(MEM_E_INVALID_LINK) X(MEM_E_INVALID_ROOT) X(MEM_E_INVALID_SIZE) \
    X(MK_E_CANTOPENFILE) X(MK_E_CONNECTMANUALLY) X(MK_E_ENUMERATION_FAILED) X(MK_E_EXCEEDEDDEADLINE) \
    X(MK_E_INTERMEDIATEINTERFACENOTSUPPORTED) X(MK_E_INVALIDEXTENSION) X(MK_E_MUSTBOTHERUSER) \
    X(MK_E_NEEDGENERIC) X(MK_E_NO_NORMALIZED) X(MK_E_NOINVERSE) X(MK_E_NOOBJECT) X(MK_E_NOPREFIX) \
    X(MK_E_NOSTORAGE) X(MK_E_NOTBINDABLE) X(MK_E_NOTBOUND) X(MK_E_SYNTAX) X(MK_E_UNAVAILABLE) X(OLE_E_ADVF) \
    X(OLE_E_ADVISENOTSUPPORTED) X(OLE_E_BLANK) X(OLE_E_CANT_BINDTOSOURCE) X(OLE_E_CANT_GETMONIKER) \
    X(OLE_E_CANTCONVERT) X(OLE_E_CLASSDIFF) X(OLE_E_ENUM_NOMORE) X(OLE_E_INVALIDHWND) X(OLE_E_INVALIDRECT) \
    X(OLE_E_NOCACHE) X(OLE_E_NOCONNECTION) X(OLE_E_NOSTORAGE) X(OLE_E_NOT_INPLACEACTIVE) X(OLE_E_NOTRUNNING) \
    X(OLE_E_OLEVERB) X(OLE_E_PROMPTSAVECANCELLED) X(OLE_E_STATIC) X(OLE_E_WRONGCOMPOBJ) \
    X(OLEOBJ_E_INVALIDVERB) X(OLEOBJ_E_NOVERBS) X(REGDB_E_CLASSNOTREG) X(REGDB_E_IIDNOTREG) \
    X(REGDB_E_INVALIDVALUE) X(REGDB_E_KEYMISSING) X(REGDB_E_READREGDB) X(REGDB_E_WRITEREGDB) \
    X(RPC_E_ATTEMPTED_MULTITHREAD) X(RPC_E_CALL_CANCELED) X(RPC_E_CALL_REJECTED) X(RPC_E_CANTCALLOUT_AGAIN) \
    X(RPC_E_CANTCALLOUT_INASYNCCALL) X(RPC_E_CANTCALLOUT_INEXTERNALCALL) X(RPC_E_CANTCALLOUT_ININPUTSYNCCALL) \
    X(RPC_E_CANTPOST_INSENDCALL) X(RPC_E_CANTTRANSMIT_CALL) X(RPC_E_CHANGED_MODE) \
    X(RPC_E_CLIENT_CANTMARSHAL_DATA) X(RPC_E_CLIENT_CANTUNMARSHAL_DATA) X(RPC_E_CLIENT_DIED) \
    X(RPC_E_CONNECTION_TERMINATED) X(RPC_E_DISCONNECTED) X(RPC_E_FAULT) X(RPC_E_INVALID_CALLDATA) \
    X(RPC_E_INVALID_DATA) X(RPC_E_INVALID_DATAPACKET) X(RPC_E_INVALID_PARAMETER) X(RPC_E_INVALIDMETHOD) \
    X(RPC_E_NOT_REGISTERED) X(RPC_E_OUT_OF_RESOURCES) X(RPC_E_RETRY) X(RPC_E_SERVER_CANTMARSHAL_DATA) \
    X(RPC_E_SERVER_CANTUNMARSHAL_DATA) X(RPC_E_SERVER_DIED) X(RPC_E_SERVER_DIED_DNE) \
    X(RPC_E_SERVERCALL_REJECTED) X(RPC_E_SERVERCALL_RETRYLATER) X(RPC_E_SERVERFAULT) X(RPC_E_SYS_CALL_FAILED) \
    X(RPC_E_THREAD_NOT_INIT) X(RPC_E_UNEXPECTED) X(RPC_E_WRONG_THREAD) X(STG_E_ABNORMALAPIEXIT) \
    X(STG_E_ACCESSDENIED) X(STG_E_CANTSAVE) X(STG_E_DISKISWRITEPROTECTED) X(STG_E_EXTANTMARSHALLINGS) \
    X(STG_E_FILEALREADYEXISTS) X(STG_E_FILENOTFOUND) X(STG_E_INSUFFICIENTMEMORY) X(STG_E_INUSE) \
    X(STG_E_INVALIDFLAG) X(STG_E_INVALIDFUNCTION) X(STG_E_INVALIDHANDLE) X(STG_E_INVALIDHEADER) \
    X(STG_E_INVALIDNAME) X(STG_E_INVALIDPARAMETER) X(STG_E_INVALIDPOINTER) X(STG_E_LOCKVIOLATION) \
    X(STG_E_MEDIUMFULL) X(STG_E_NOMOREFILES) X(STG_E_NOTCURRENT) X(STG_E_NOTFILEBASEDSTORAGE) X(STG_E_OLDDLL) \
    X(STG_E_OLDFORMAT) X(STG_E_PATHNOTFOUND) X(STG_E_READFAULT) X(STG_E_REVERTED) X(STG_E_SEEKERROR) \
    X(STG_E_SHAREREQUIRED) X(STG_E_SHAREVIOLATION) X(STG_E_TOOMANYOPENFILES) X(STG_E_UNIMPLEMENTEDFUNCTION) \
    X(STG_E_UNKNOWN) X(STG_E_WRITEFAULT) X(TYPE_E_AMBIGUOUSNAME) X(TYPE_E_BADMODULEKIND) \
    X(TYPE_E_BUFFERTOOSMALL) X(TYPE_E_CANTCREATETMPFILE) X(TYPE_E_CANTLOADLIBRARY) X(TYPE_E_CIRCULARTYPE) \
    X(TYPE_E_DLLFUNCTIONNOTFOUND) X(TYPE_E_DUPLICATEID) X(TYPE_E_ELEMENTNOTFOUND) \
    X(TYPE_E_INCONSISTENTPROPFUNCS) X(TYPE_E_INVALIDSTATE) X(TYPE_E_INVDATAREAD) X(TYPE_E_IOERROR) \
    X(TYPE_E_LIBNOTREGISTERED) X(TYPE_E_NAMECONFLICT) X(TYPE_E_OUTOFBOUNDS) X(TYPE_E_QUALIFIEDNAMEDISALLOWED) \
    X(TYPE_E_REGISTRYACCESS) X(TYPE_E_SIZETOOBIG) X(TYPE_E_TYPEMISMATCH) X(TYPE_E_UNDEFINEDTYPE) \
    X(TYPE_E_UNKNOWNLCID) X(TYPE_E_UNSUPFORMAT) X(TYPE_E_WRONGTYPEKIND) X(VIEW_E_DRAW)

struct SdkName {
  const char* name;
  HRESULT code;
};
#define TX_SDK_ROW(n) {#n, static_cast<HRESULT>(n)},
const SdkName kSdkNames[] = {TX_SDK_RESULT_NAMES(TX_SDK_ROW)};
#undef TX_SDK_ROW

TEST(ResultTextTest, EveryNameCarriesTheSdkValue) {
  ASSERT_EQ(243u, kResultNameCount);
  ASSERT_EQ(sizeof kSdkNames / sizeof kSdkNames[0], kResultNameCount);
  std::set<HRESULT> codes;
  for (size_t i = 0; i < kResultNameCount; ++i) {
    SCOPED_TRACE(kSdkNames[i].name);
    EXPECT_STREQ(kSdkNames[i].name, kResultNames[i].name);
    EXPECT_EQ(kSdkNames[i].code, kResultNames[i].code);
    EXPECT_TRUE(codes.insert(kResultNames[i].code).second) << "code occurs twice";
  }
}

TEST(ResultTextTest, NamedCodesShowNameAndCode) {
  EXPECT_STREQ("REGDB_E_CLASSNOTREG ($80040154)", describeResult(static_cast<HRESULT>(0x80040154)));
  EXPECT_STREQ("S_OK ($00000000)", describeResult(0));
  EXPECT_STREQ("E_FAIL ($80004005)", describeResult(E_FAIL));
  EXPECT_STREQ("VIEW_E_DRAW ($80040140)", describeResult(VIEW_E_DRAW)) << "a name wins over its block";
  EXPECT_STREQ("E_UNEXPECTED ($8000FFFF)", describeResult(E_UNEXPECTED));
}

TEST(ResultTextTest, UnnamedCodesInABlockShowTheBlock) {
  EXPECT_STREQ("range: CACHE_E_FIRST...CACHE_E_LAST ($80040175)", describeResult(static_cast<HRESULT>(0x80040175)));
  EXPECT_STREQ("range: CLASSFACTORY_E_FIRST...CLASSFACTORY_E_LAST ($8004011A)",
               describeResult(static_cast<HRESULT>(0x8004011A)));
  EXPECT_STREQ("range: CO_S_FIRST...CO_S_LAST ($000401FF)", describeResult(0x000401FF));
  EXPECT_STREQ("range: OLE_E_FIRST...OLE_E_LAST ($800400FF)", describeResult(static_cast<HRESULT>(0x800400FF)));
  EXPECT_STREQ("range: MARSHAL_S_FIRST...MARSHAL_S_LAST ($00040120)", describeResult(0x00040120));
  // Every block: its first and last code that carry no name of their own.
  ASSERT_EQ(32u, kResultRangeCount);
  for (size_t r = 0; r < kResultRangeCount; ++r) {
    for (HRESULT code : {kResultRanges[r].lowest, kResultRanges[r].highest}) {
      bool named = false;
      for (size_t i = 0; i < kResultNameCount; ++i) named = named || kResultNames[i].code == code;
      if (named) continue;
      std::string text = describeResult(code);
      EXPECT_EQ(0u, text.find(std::string("range: ") + kResultRanges[r].name)) << text;
    }
  }
}

TEST(ResultTextTest, OtherCodesShowSeverityAndFacility) {
  EXPECT_STREQ("severity: SEVERITY_ERROR, facility: FACILITY_WIN32 ($80070002)",
               describeResult(static_cast<HRESULT>(0x80070002)));
  EXPECT_STREQ("severity: SEVERITY_ERROR, facility: <Unknown Facility> ($80FF0001)",
               describeResult(static_cast<HRESULT>(0x80FF0001)));
  EXPECT_STREQ("severity: SEVERITY_SUCCESS, facility: FACILITY_NULL ($00000002)", describeResult(2));
  EXPECT_STREQ("severity: SEVERITY_ERROR, facility: FACILITY_ITF ($80040200)",
               describeResult(static_cast<HRESULT>(0x80040200)));
  // Thirteen facility bits: the customer bit above them does not change the facility.
  EXPECT_STREQ("severity: SEVERITY_SUCCESS, facility: FACILITY_WINDOWS ($20080001)", describeResult(0x20080001));
  EXPECT_STREQ("severity: SEVERITY_ERROR, facility: <Unknown Facility> ($FFFF0001)",
               describeResult(static_cast<HRESULT>(0xFFFF0001)));
  const char* facilities[] = {"FACILITY_NULL", "FACILITY_RPC",   "FACILITY_DISPATCH", "FACILITY_STORAGE",
                              "FACILITY_ITF",  "FACILITY_0x05", "FACILITY_0x06",     "FACILITY_WIN32",
                              "FACILITY_WINDOWS"};
  for (unsigned facility = 0; facility < 9; ++facility) {
    HRESULT code = static_cast<HRESULT>(0x80000000u | (facility << 16) | 0x1234u);
    std::string text = describeResult(code);
    EXPECT_NE(std::string::npos, text.find(std::string("facility: ") + facilities[facility] + " (")) << text;
  }
  EXPECT_NE(std::string::npos, std::string(describeResult(0x00091234)).find("facility: <Unknown Facility>"));
}

TEST(ResultTextTest, SecondCallOverwritesTheFirstText) {
  const char* first = describeResult(static_cast<HRESULT>(0x80040154));
  std::string kept = first;
  const char* second = describeResult(0);
  EXPECT_EQ(first, second);
  EXPECT_STREQ("S_OK ($00000000)", first);
  EXPECT_EQ("REGDB_E_CLASSNOTREG ($80040154)", kept);
}

TEST(ResultTextTest, SystemErrorBoxAddsSystemTextAndResultText) {
  TraceWatch trace;
  BoxCapture boxes;
  showSystemError("Opening the case", static_cast<HRESULT>(0x80070002));
  showSystemError("Odd code", static_cast<HRESULT>(0x80FF0001));
  ASSERT_EQ(2u, boxes.count());

  const std::string& known = boxes.boxes()[0].text;
  const std::string tail = " severity: SEVERITY_ERROR, facility: FACILITY_WIN32 ($80070002)";
  ASSERT_EQ(0u, known.find("Opening the case\n")) << known;
  ASSERT_GT(known.size(), tail.size());
  EXPECT_EQ(tail, known.substr(known.size() - tail.size())) << known;
  std::string systemText = known.substr(17, known.size() - 17 - tail.size());
  EXPECT_FALSE(systemText.empty());
  EXPECT_EQ(std::string::npos, known.find("<No system message defined>"));

  EXPECT_EQ("Odd code\n<No system message defined> severity: SEVERITY_ERROR, facility: <Unknown Facility> ($80FF0001)",
            boxes.boxes()[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.boxes()[1].type & 0xF);
  EXPECT_EQ(std::string::npos, trace.added().find("Odd code")) << "the box is not traced";
}

}  // namespace
