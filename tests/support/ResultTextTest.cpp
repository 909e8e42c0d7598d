// Result-code text: names with the values the SDK header gives them, code blocks,
// severity and facility, the shared buffer, and the box that adds the system's text.
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "common/BoxCapture.h"
#include "SupportFixtures.h"
#include "support/ResultTables.h"
#include "support/ResultText.h"

namespace {

template <class... T>
std::vector<HRESULT> codes(T... value) {
  return {static_cast<HRESULT>(value)...};
}
// Every name of the product's table, in its order: its text and the compiler's own header value.
#define SDK_NAMES(...) const char kSdkNames[] = #__VA_ARGS__; const std::vector<HRESULT> kSdkCodes = codes(__VA_ARGS__);
SDK_NAMES(S_OK, S_FALSE, CACHE_S_FORMATETC_NOTSUPPORTED, CACHE_S_SAMECACHE, CACHE_S_SOMECACHES_NOTUPDATED,
    CONVERT10_S_NO_PRESENTATION, DATA_S_SAMEFORMATETC, DRAGDROP_S_CANCEL, DRAGDROP_S_DROP, DRAGDROP_S_USEDEFAULTCURSORS,
    INPLACE_S_TRUNCATED, MK_S_HIM, MK_S_ME, MK_S_MONIKERALREADYREGISTERED, MK_S_REDUCED_TO_SELF, MK_S_US,
    OLE_S_MAC_CLIPFORMAT, OLE_S_STATIC, OLE_S_USEREG, OLEOBJ_S_CANNOT_DOVERB_NOW, OLEOBJ_S_INVALIDHWND,
    OLEOBJ_S_INVALIDVERB, OLEOBJ_S_LAST, STG_S_CONVERTED, VIEW_S_ALREADY_FROZEN, E_UNEXPECTED, E_NOTIMPL, E_OUTOFMEMORY,
    E_INVALIDARG, E_NOINTERFACE, E_POINTER, E_HANDLE, E_ABORT, E_FAIL, E_ACCESSDENIED, CACHE_E_NOCACHE_UPDATED,
    CLASS_E_CLASSNOTAVAILABLE, CLASS_E_NOAGGREGATION, CLIPBRD_E_BAD_DATA, CLIPBRD_E_CANT_CLOSE, CLIPBRD_E_CANT_EMPTY,
    CLIPBRD_E_CANT_OPEN, CLIPBRD_E_CANT_SET, CO_E_ALREADYINITIALIZED, CO_E_APPDIDNTREG, CO_E_APPNOTFOUND,
    CO_E_APPSINGLEUSE, CO_E_BAD_PATH, CO_E_CANTDETERMINECLASS, CO_E_CLASS_CREATE_FAILED, CO_E_CLASSSTRING,
    CO_E_DLLNOTFOUND, CO_E_ERRORINAPP, CO_E_ERRORINDLL, CO_E_IIDSTRING, CO_E_NOTINITIALIZED, CO_E_OBJISREG,
    CO_E_OBJNOTCONNECTED, CO_E_OBJNOTREG, CO_E_OBJSRV_RPC_FAILURE, CO_E_SCM_ERROR, CO_E_SCM_RPC_FAILURE,
    CO_E_SERVER_EXEC_FAILURE, CO_E_SERVER_STOPPING, CO_E_WRONGOSFORAPP, CONVERT10_E_OLESTREAM_BITMAP_TO_DIB,
    CONVERT10_E_OLESTREAM_FMT, CONVERT10_E_OLESTREAM_GET, CONVERT10_E_OLESTREAM_PUT, CONVERT10_E_STG_DIB_TO_BITMAP,
    CONVERT10_E_STG_FMT, CONVERT10_E_STG_NO_STD_STREAM, DISP_E_ARRAYISLOCKED, DISP_E_BADCALLEE, DISP_E_BADINDEX,
    DISP_E_BADPARAMCOUNT, DISP_E_BADVARTYPE, DISP_E_EXCEPTION, DISP_E_MEMBERNOTFOUND, DISP_E_NONAMEDARGS,
    DISP_E_NOTACOLLECTION, DISP_E_OVERFLOW, DISP_E_PARAMNOTFOUND, DISP_E_PARAMNOTOPTIONAL, DISP_E_TYPEMISMATCH,
    DISP_E_UNKNOWNINTERFACE, DISP_E_UNKNOWNLCID, DISP_E_UNKNOWNNAME, DRAGDROP_E_ALREADYREGISTERED,
    DRAGDROP_E_INVALIDHWND, DRAGDROP_E_NOTREGISTERED, DV_E_CLIPFORMAT, DV_E_DVASPECT, DV_E_DVTARGETDEVICE,
    DV_E_DVTARGETDEVICE_SIZE, DV_E_FORMATETC, DV_E_LINDEX, DV_E_NOIVIEWOBJECT, DV_E_STATDATA, DV_E_STGMEDIUM,
    DV_E_TYMED, INPLACE_E_NOTOOLSPACE, INPLACE_E_NOTUNDOABLE, MEM_E_INVALID_LINK, MEM_E_INVALID_ROOT,
    MEM_E_INVALID_SIZE, MK_E_CANTOPENFILE, MK_E_CONNECTMANUALLY, MK_E_ENUMERATION_FAILED, MK_E_EXCEEDEDDEADLINE,
    MK_E_INTERMEDIATEINTERFACENOTSUPPORTED, MK_E_INVALIDEXTENSION, MK_E_MUSTBOTHERUSER, MK_E_NEEDGENERIC,
    MK_E_NO_NORMALIZED, MK_E_NOINVERSE, MK_E_NOOBJECT, MK_E_NOPREFIX, MK_E_NOSTORAGE, MK_E_NOTBINDABLE, MK_E_NOTBOUND,
    MK_E_SYNTAX, MK_E_UNAVAILABLE, OLE_E_ADVF, OLE_E_ADVISENOTSUPPORTED, OLE_E_BLANK, OLE_E_CANT_BINDTOSOURCE,
    OLE_E_CANT_GETMONIKER, OLE_E_CANTCONVERT, OLE_E_CLASSDIFF, OLE_E_ENUM_NOMORE, OLE_E_INVALIDHWND, OLE_E_INVALIDRECT,
    OLE_E_NOCACHE, OLE_E_NOCONNECTION, OLE_E_NOSTORAGE, OLE_E_NOT_INPLACEACTIVE, OLE_E_NOTRUNNING, OLE_E_OLEVERB,
    OLE_E_PROMPTSAVECANCELLED, OLE_E_STATIC, OLE_E_WRONGCOMPOBJ, OLEOBJ_E_INVALIDVERB, OLEOBJ_E_NOVERBS,
    REGDB_E_CLASSNOTREG, REGDB_E_IIDNOTREG, REGDB_E_INVALIDVALUE, REGDB_E_KEYMISSING, REGDB_E_READREGDB,
    REGDB_E_WRITEREGDB, RPC_E_ATTEMPTED_MULTITHREAD, RPC_E_CALL_CANCELED, RPC_E_CALL_REJECTED, RPC_E_CANTCALLOUT_AGAIN,
    RPC_E_CANTCALLOUT_INASYNCCALL, RPC_E_CANTCALLOUT_INEXTERNALCALL, RPC_E_CANTCALLOUT_ININPUTSYNCCALL,
    RPC_E_CANTPOST_INSENDCALL, RPC_E_CANTTRANSMIT_CALL, RPC_E_CHANGED_MODE, RPC_E_CLIENT_CANTMARSHAL_DATA,
    RPC_E_CLIENT_CANTUNMARSHAL_DATA, RPC_E_CLIENT_DIED, RPC_E_CONNECTION_TERMINATED, RPC_E_DISCONNECTED, RPC_E_FAULT,
    RPC_E_INVALID_CALLDATA, RPC_E_INVALID_DATA, RPC_E_INVALID_DATAPACKET, RPC_E_INVALID_PARAMETER, RPC_E_INVALIDMETHOD,
    RPC_E_NOT_REGISTERED, RPC_E_OUT_OF_RESOURCES, RPC_E_RETRY, RPC_E_SERVER_CANTMARSHAL_DATA,
    RPC_E_SERVER_CANTUNMARSHAL_DATA, RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, RPC_E_SERVERCALL_REJECTED,
    RPC_E_SERVERCALL_RETRYLATER, RPC_E_SERVERFAULT, RPC_E_SYS_CALL_FAILED, RPC_E_THREAD_NOT_INIT, RPC_E_UNEXPECTED,
    RPC_E_WRONG_THREAD, STG_E_ABNORMALAPIEXIT, STG_E_ACCESSDENIED, STG_E_CANTSAVE, STG_E_DISKISWRITEPROTECTED,
    STG_E_EXTANTMARSHALLINGS, STG_E_FILEALREADYEXISTS, STG_E_FILENOTFOUND, STG_E_INSUFFICIENTMEMORY, STG_E_INUSE,
    STG_E_INVALIDFLAG, STG_E_INVALIDFUNCTION, STG_E_INVALIDHANDLE, STG_E_INVALIDHEADER, STG_E_INVALIDNAME,
    STG_E_INVALIDPARAMETER, STG_E_INVALIDPOINTER, STG_E_LOCKVIOLATION, STG_E_MEDIUMFULL, STG_E_NOMOREFILES,
    STG_E_NOTCURRENT, STG_E_NOTFILEBASEDSTORAGE, STG_E_OLDDLL, STG_E_OLDFORMAT, STG_E_PATHNOTFOUND, STG_E_READFAULT,
    STG_E_REVERTED, STG_E_SEEKERROR, STG_E_SHAREREQUIRED, STG_E_SHAREVIOLATION, STG_E_TOOMANYOPENFILES,
    STG_E_UNIMPLEMENTEDFUNCTION, STG_E_UNKNOWN, STG_E_WRITEFAULT, TYPE_E_AMBIGUOUSNAME, TYPE_E_BADMODULEKIND,
    TYPE_E_BUFFERTOOSMALL, TYPE_E_CANTCREATETMPFILE, TYPE_E_CANTLOADLIBRARY, TYPE_E_CIRCULARTYPE,
    TYPE_E_DLLFUNCTIONNOTFOUND, TYPE_E_DUPLICATEID, TYPE_E_ELEMENTNOTFOUND, TYPE_E_INCONSISTENTPROPFUNCS,
    TYPE_E_INVALIDSTATE, TYPE_E_INVDATAREAD, TYPE_E_IOERROR, TYPE_E_LIBNOTREGISTERED, TYPE_E_NAMECONFLICT,
    TYPE_E_OUTOFBOUNDS, TYPE_E_QUALIFIEDNAMEDISALLOWED, TYPE_E_REGISTRYACCESS, TYPE_E_SIZETOOBIG, TYPE_E_TYPEMISMATCH,
    TYPE_E_UNDEFINEDTYPE, TYPE_E_UNKNOWNLCID, TYPE_E_UNSUPFORMAT, TYPE_E_WRONGTYPEKIND, VIEW_E_DRAW)

TEST(ResultTextTest, EveryNameCarriesTheSdkValue) {
  std::vector<std::string> names;
  std::istringstream list(kSdkNames);
  for (std::string name; std::getline(list >> std::ws, name, ',');) names.push_back(name);
  ASSERT_EQ(243u, kResultNameCount); ASSERT_EQ(kResultNameCount, names.size());
  ASSERT_EQ(kResultNameCount, kSdkCodes.size());
  std::set<HRESULT> seen;
  for (size_t i = 0; i < kResultNameCount; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(names[i], kResultNames[i].name); EXPECT_EQ(kSdkCodes[i], kResultNames[i].code);
    EXPECT_TRUE(seen.insert(kResultNames[i].code).second) << "code occurs twice";
  }
}

TEST(ResultTextTest, TextOfNamesBlocksAndOtherCodes) {
  const char kError[] = "severity: SEVERITY_ERROR, facility: ", kSuccess[] = "severity: SEVERITY_SUCCESS, facility: ";
  const std::pair<unsigned long, std::string> rows[] = {
      {0x80040154, "REGDB_E_CLASSNOTREG"}, {0, "S_OK"}, {0x80004005, "E_FAIL"}, {0x8000FFFF, "E_UNEXPECTED"},
      {0x80040140, "VIEW_E_DRAW"},  // a name wins over its block
      {0x80040175, "range: CACHE_E_FIRST...CACHE_E_LAST"}, {0x000401FF, "range: CO_S_FIRST...CO_S_LAST"},
      {0x8004011A, "range: CLASSFACTORY_E_FIRST...CLASSFACTORY_E_LAST"},
      {0x800400FF, "range: OLE_E_FIRST...OLE_E_LAST"}, {0x00040120, "range: MARSHAL_S_FIRST...MARSHAL_S_LAST"},
      {0x80070002, kError + std::string("FACILITY_WIN32")}, {0x80FF0001, kError + std::string("<Unknown Facility>")},
      {2, kSuccess + std::string("FACILITY_NULL")}, {0x80040200, kError + std::string("FACILITY_ITF")},
      // Thirteen facility bits: the customer bit above them does not change the facility.
      {0x20080001, kSuccess + std::string("FACILITY_WINDOWS")},
      {0xFFFF0001, kError + std::string("<Unknown Facility>")},
      {0x00091234, kSuccess + std::string("<Unknown Facility>")},
  };
  char code[16];
  for (const auto& row : rows) {
    snprintf(code, sizeof code, " ($%08lX)", row.first);
    EXPECT_EQ(row.second + code, describeResult(static_cast<HRESULT>(row.first)));
  }
  const char* facilities[] = {"NULL", "RPC", "DISPATCH", "STORAGE", "ITF", "0x05", "0x06", "WIN32", "WINDOWS"};
  for (unsigned facility = 0; facility < 9; ++facility) {
    std::string text = describeResult(static_cast<HRESULT>(0x80000000u | (facility << 16) | 0x1234u));
    EXPECT_NE(std::string::npos, text.find(std::string("facility: FACILITY_") + facilities[facility] + " (")) << text;
  }
  // Every block: its first and last code that carry no name of their own.
  ASSERT_EQ(32u, kResultRangeCount);
  for (size_t r = 0; r < kResultRangeCount; ++r) {
    for (HRESULT code : {kResultRanges[r].lowest, kResultRanges[r].highest}) {
      bool named = false;
      for (size_t i = 0; i < kResultNameCount; ++i) named = named || kResultNames[i].code == code;
      std::string text = describeResult(code);
      EXPECT_TRUE(named || text.find(std::string("range: ") + kResultRanges[r].name) == 0) << text;
    }
  }
  // One text for the whole module: the second call overwrites the first.
  const char* first = describeResult(static_cast<HRESULT>(0x80040154));
  std::string kept = first;
  EXPECT_EQ(first, describeResult(0)); EXPECT_STREQ("S_OK ($00000000)", first);
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
  ASSERT_GT(known.size(), 17 + tail.size()) << "the system's text stands between";
  EXPECT_EQ(tail, known.substr(known.size() - tail.size())) << known;
  EXPECT_EQ(std::string::npos, known.find("<No system message defined>"));
  EXPECT_EQ("Odd code\n<No system message defined> severity: SEVERITY_ERROR, facility: <Unknown Facility> ($80FF0001)",
            boxes.boxes()[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.boxes()[1].type & 0xF);
  EXPECT_EQ(std::string::npos, trace.added().find("Odd code")) << "the box is not traced";
}

}  // namespace
