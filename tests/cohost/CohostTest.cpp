// cohost as users run it: each command on the sample components, the fault zoo and the
// planted registrations, in human form and as JSON read back, and bad command lines.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>
#include "cohost/Json.h"
#include "common/TestSupport.h"
#include "framework/ProcessLaunch.h"
#include "external/CapeOpenCategories.h"
#include "framework/RegistryTree.h"
#include "samples/common/SampleIds.h"
#include "TxVersion.h"

namespace {

struct CohostRun { int exitCode = -1; std::string out, err; };

void drain(HANDLE pipe, std::string* into) {  // on a thread of its own: a full pipe never blocks the tool
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into->append(buffer, read);
}

// Runs "cohost.exe <arguments>"; with a caption, meanwhile 'person' is called every 50 ms with the tool's
// visible window of that caption (or null) until it returns true.
CohostRun runCohost(const std::string& arguments, const char* caption, const std::function<bool(HWND)>& person) {
  CohostRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  fw::UniqueHandle outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(outRead.put(), outWrite.put(), &inherit, 0) ||
      !CreatePipe(errRead.put(), errWrite.put(), &inherit, 0))
    return run;
  for (HANDLE h : {outRead.get(), errRead.get()}) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);
  fw::LaunchOptions options;
  options.timeoutMs = 60000;
  options.input = GetStdHandle(STD_INPUT_HANDLE);
  options.output = outWrite.get();
  options.error = errWrite.get();
  if (*caption)
    options.whileRunning = [&](DWORD pid) {
      HWND window = FindWindowA(nullptr, caption);  // another program's window of that caption: the tool's comes later
      DWORD owner = 0;
      const bool tools = window && GetWindowThreadProcessId(window, &owner) && owner == pid;
      return person(tools && IsWindowVisible(window) ? window : nullptr);
    };
  std::thread outReader(drain, outRead.get(), &run.out), errReader(drain, errRead.get(), &run.err);
  fw::LaunchResult result = fw::launchAndWait(
      L"\"" + wideFromNarrow(tx::buildPath("tools/cohost.exe")) + L"\" " + wideFromNarrow(arguments), options);
  outWrite.reset(), errWrite.reset();  // the tool is gone: the readers reach the end
  outReader.join(), errReader.join();
  for (std::string* s : {&run.out, &run.err}) s->erase(std::remove(s->begin(), s->end(), '\r'), s->end());
  if (result.ran()) run.exitCode = static_cast<int>(result.exitCode);
  return run;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string text(const Json& value) { return value.kind() == Json::String ? value.asString() : value.dump(0); }

// The text at 'path' in the JSON of 'out': members by name, items by index, by "key=value" (every item whose
// member has that text) or by "*"; several results are joined by " | ", none is "<none>". '#' first: sizes.
std::string at(const std::string& out, const std::string& path) {
  Json root;
  if (std::string error; !Json::parse(out, &root, &error)) return "<not JSON>";
  const bool sizes = path[0] == '#';
  std::vector<const Json*> nodes = {&root};
  std::istringstream parts(path.substr(sizes ? 1 : 0));
  for (std::string part; std::getline(parts, part, '/');) {
    std::vector<const Json*> next;
    const size_t equals = part.find('=');
    for (const Json* node : nodes) {
      if (part == "*" || equals != std::string::npos) {
        for (const Json& item : node->items())
          if (part == "*" || text(item[part.substr(0, equals)]) == part.substr(equals + 1)) next.push_back(&item);
      } else {
        next.push_back(isdigit(static_cast<unsigned char>(part[0])) ? &(*node)[std::stoul(part)] : &(*node)[part]);
      }
    }
    nodes = next;
  }
  std::string result = nodes.empty() ? "<none>" : "";
  for (size_t i = 0; i < nodes.size(); ++i) {
    bool list = nodes[i]->kind() == Json::Array || nodes[i]->kind() == Json::Object;
    result += (i ? " | " : "") + (!sizes ? text(*nodes[i]) : list ? std::to_string(nodes[i]->size()) : "<no list>");
  }
  return result;
}

// A run ("%CASE%": a fresh case file) and what it must show. 'where': "out" or "err" (holds 'want'), "out="
// (is 'want'), "out!" or "err!" (does not hold it), "out^" (starts with it), "file=" (the case file's content, "<none>"), else
// a JSON path of 'at' whose text is 'want' ('~' first: holds it). A person answers the tool's window of 'caption'.
using Expect = std::pair<std::string, std::string>;
struct Command {
  std::string args;
  int exit;
  std::vector<Expect> expect;
  const char* caption = "";
  std::function<bool(HWND)> person;
  const char* before = nullptr;  // the case file's content before the run
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  bool scripts = false;  // with kScriptsRegistration present; the case file in a Cyrillic folder
};

// A unit as an installer writes it in UTF-16: a Cyrillic ProgID, a name with brackets in Japanese, Cyrillic and
// beyond the BMP, a description holding a lone surrogate, a server path in Cyrillic. Removed on destruction.
// Each test process has its own (rows run beside each other, and one's removal must not hit another).
const std::string kScriptsProgId =
    u8"\u041D\u0430\u0441\u043E\u0441.\u0422\u0435\u0441\u0442." + std::to_string(GetCurrentProcessId());
const std::string kScriptsClsid = [] {
  char text[40];
  snprintf(text, sizeof text, "{5E1F0B2C-7A41-4C3D-9E58-2B6A%08lX}", static_cast<unsigned long>(GetCurrentProcessId()));
  return std::string(text);
}();
const wchar_t kScriptsKeyName[] = L"\u30DD\u30F3\u30D7 [\u041D\u0430\u0441\u043E\u0441] \U00020BB7";
const std::string kScriptsServer = u8"C:\\\u043D\u0435\u0442\\\u043D\u0430\u0441\u043E\u0441.dll";
class ScriptsRegistration {
 public:
  ScriptsRegistration() {
    const std::wstring clsid = L"CLSID\\" + wideFromNarrow(kScriptsClsid);
    value(wideFromNarrow(kScriptsProgId) + L"\\CLSID", nullptr, wideFromNarrow(kScriptsClsid));
    value(clsid + L"\\ProgID", nullptr, wideFromNarrow(kScriptsProgId));
    value(clsid + L"\\InprocServer32", nullptr, wideFromNarrow(kScriptsServer));
    value(clsid + L"\\Implemented Categories\\" + guidWideText(CATID_CapeUnitOperation), nullptr, L"");
    value(clsid + L"\\CapeDescription", L"Name", kScriptsKeyName);
    value(clsid + L"\\CapeDescription", L"Description", std::wstring(L"half \xD800 pair"));
    value(clsid + L"\\CapeDescription", L"CapeVersion", L"1.0");
  }
  ~ScriptsRegistration() {
    fw::deleteRegistryTree(HKEY_CLASSES_ROOT, wideFromNarrow(kScriptsProgId));
    fw::deleteRegistryTree(HKEY_CLASSES_ROOT, L"CLSID\\" + wideFromNarrow(kScriptsClsid));
  }
  ScriptsRegistration(const ScriptsRegistration&) = delete;
  ScriptsRegistration& operator=(const ScriptsRegistration&) = delete;

 private:
  static void value(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    fw::UniqueHKey handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             handle.put(), nullptr));
    RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
};

Expect match(std::string label, std::string category) { return {"matches/label=" + label + "/category", category}; }
Expect clean(const char* key) { return {std::string("#components/progid=TxSamples.") + key + ".1/findings", "0"}; }
Expect finding(const txs::ClassInfo& info, const char* severity, const std::string& part) {
  return {std::string("~components/progid=") + info.progId + "/findings/severity=" + severity + "/text", part};
}
Expect planted(const txs::ClassInfo& info, const char* what, const char* rest) {
  return finding(info, "error", std::string("the ") + what + " '" + tx::buildPath("samples/planted/") + info.dll +
                                     "' " + rest);
}
const std::string kSystemLabel = "Sample Property System [TxSamples.ThermoSystem.1]";
const std::string kSystem = "categories/0/children/label=" + kSystemLabel + "/";
const std::string kEmpty = "categories/0/children/label=Zoo Empty Package List [TxSamples.Zoo.EmptyPackageList.1]/";
const std::string kSystemClsid = "{48A5EE01-C142-4CD3-8B24-753429CE9195}";
const std::string kMixer = "Sample Mixer [TxSamples.Mixer.1]", kMixerMatch = "matches/label=" + kMixer + "/";
const std::string kMixerClsid = "{6269EB52-C2DA-47AC-AC74-E34E680C3ECF}";
const std::string kMixerRecord = "ProgID TxSamples.Mixer.1  CLSID " + kMixerClsid + "  CAPE-OPEN 1.0";
const std::string kUnits = "Unit Operations", kSystems = "Thermo Property Systems";
const std::string kPackages = "Thermo Property Packages";
const std::string kBracket = "Bracket [TxSamples.ThermoSystem.1] System [TxSamples.Zoo.BracketName.1]";
const std::string kMatch = "list --json --batch --match ";
const char kNo10[] = "The CAPE-OPEN component 'TxSamples.UnitNo10.1' has been registered as being compliant to "
                     "CAPE-OPEN version '1.0', but it implements instead version '0.93' of the interface 'ICapeUnit'";
const std::string kUnit09 = "The component 'TxSamples.Unit09.1' implements version '0.9'";
const std::string kDotNet = std::string(".NET component: class '") + txs::kDotNetClass + "' of assembly '" +
                            txs::kDotNetAssembly + "', for the .NET runtime " + txs::kDotNetRuntime;

const std::vector<Command> kRuns = {
    {"list --filter 12 --json --batch", 0,
     {{"#categories", "2"}, {"categories/0/label", "Thermo Property Systems"}, {kSystem + "record/capeVersion", "1.0"},
      {"categories/0/catid", "{678c09a3-7d66-11d2-a67d-00105a42887f}"}, {"categories/1/label", kPackages},
      {kSystem + "children/*/label", "Water-Ethanol NRTL | Light Hydrocarbons PR | Air Ideal Gas"},
      {kSystem + "children/*/record/clsid", kSystemClsid + " | " + kSystemClsid + " | " + kSystemClsid},
      {kEmpty + "children/*/label", "No CAPE-OPEN Property Packages currently available"},
      {kEmpty + "children/*/record", "null"},
      {"categories/1/children/label=Sample Refrigerants Package [TxSamples.PropertyPackage.1]/record/clsid",
       "{108A8746-1D62-4D6D-BEEA-E542699A45D2}"}}},
    {"list --filter 32 --batch", 0,
     {{"out^", "Unit Operations  {678c09a5-7d66-11D2-a67d-00105a42887f}\n"}, {"out", "  " + kMixer + "\n"},
      {"out", kMixerRecord}, {"out!", "Thermo Property Systems"}, {"out!", "X86Mixer"}}},
    {"list --filter 0 --batch", 0, {{"out=", "No category of filter 0 is shown.\n"}}},
    // A 32-bit host lists the 32-bit mixer; a 64-bit host does not.
    {"list --filter 32 --batch --view 32", 0, {{"out", "  Sample Mixer (32-bit) [TxSamples.X86Mixer.1]\n"},
                                               {"out!", "  " + kMixer + "\n"}}},
    {"list --filter 32 --batch --view 64", 0, {{"out!", "X86Mixer"}, {"out", "  " + kMixer + "\n"}}},
    // --match: literal and case-blind on name, ProgID, description and CLSID.
    {kMatch + "\"sample MIXER\" --filter 32", 0, {match(kMixer, kUnits), {kMixerMatch + "propertySystem", "null"}}},
    {kMatch + "\"TXSAMPLES.mixer.1\" --filter 32", 0, {match(kMixer, kUnits)}},
    {kMatch + "\"mixes TWO\" --filter 1", 0, {match(kMixer, "Components")}},
    {kMatch + "\"6269eb52-c2da\" --filter 32", 0, {match(kMixer, kUnits)}},
    {kMatch + "\"c1 to c4\" --filter 4", 0,  // the bracket system lists the same packages
     {{"matches/label=Light Hydrocarbons PR/propertySystem", kBracket + " | " + kSystemLabel},
      {"matches/label=Light Hydrocarbons PR/category", kSystems + (" | " + kSystems)}}},
    {kMatch + "\"[TxSamples.ThermoSystem.1]\" --filter 4", 0,
     {match(kBracket, kSystems)}},
    {kMatch + "\"\" --filter 8", 0, {match("Sample Refrigerants Package [TxSamples.PropertyPackage.1]", kPackages)}},
    {kMatch + "\".*\" --filter 32", 0, {{"#matches", "0"}}},
    // Registered as a component and as a unit operation: found once, in the first category.
    {kMatch + "\"sample mixer\"", 0, {{"matches/*/label", kMixer}, {"matches/*/category", "Components"}}},
    {"list --match mixes --filter 32 --batch", 0,
     {{"out=", "Unit Operations: " + kMixer + "\n    " + kMixerRecord + "  version 1.0.0\n"}}},
    {"info TxSamples.Mixer.1 --json --batch", 0,
     {{"name", "Sample Mixer"}, {"clsid", kMixerClsid}, {"capeVersion", "100"},
      {"description", "Mixes two streams"}, {"vendorURL", txs::kVendorURL}}},
    // A package has no class of its own: the system's CLSID stands for it.
    {"info \"Light Hydrocarbons PR\" --parent TxSamples.ThermoSystem.1 --json --batch", 0,
     {{"progid", "Light Hydrocarbons PR"}, {"parentProgid", "TxSamples.ThermoSystem.1"}, {"clsid", kSystemClsid},
      {"parentName", "Sample Property System"}, {"description", "Equation of state package for C1 to C4"}}},
    // Not registered: said, and no table of empty fields.
    {"info No.Such.1 --batch", 1, {{"err", "'No.Such.1' is not registered as a CAPE-OPEN component"}, {"out=", ""}}},
    {"info No.Such.1 --json --batch", 1,
     {{"registered", "false"}, {"error", "'No.Such.1' is not registered as a CAPE-OPEN component"}}},
    {"create TxSamples.StreamInitUnit.1 --filter 32 --json --batch", 0,
     {{"created", "true"}, {"persistence", "IPersistStreamInit"}, {"#messages", "0"}}},
    {"create \"Air Ideal Gas\" --parent TxSamples.ThermoSystem.1 --filter 8 --batch", 0,
     {{"out", "created     yes\n"}, {"out", "persistence none\n"}}},
    // The box goes to stderr with its caption, answered without waiting.
    {"create TxSamples.UnitNo10.1 --filter 32 --json --batch", 1,
     {{"created", "false"}, {"result", "0x80004002"}, {"#messages", "1"}, {"~messages/0/text", kNo10},
      {"err", "[message box] Brisk Tarnix CAPE-OPEN: The CAPE-OPEN component 'TxSamples.UnitNo10.1'"}}},
    {"create TxSamples.Unit09.1 --filter 32 --batch", 0, {{"out", "message     " + kUnit09}}},
    {"probe TxSamples.ThermoSystem.1 --json --batch", 0,
     {{"#interfaces", "20"}, {"interfaces/0/interface", "IUnknown"}, {"interfaces/19/interface", "ICapeUnitReport"},
      {"interfaces/answered=true/interface", "IUnknown | IDispatch | ICapeIdentification | ICapeThermoSystem"}}},
    // Only E_NOINTERFACE is a refusal: a QueryInterface that fails otherwise counts as answered.
    {"probe TxSamples.Zoo.QIFails.1 --batch", 0,
     {{"out^", "QI( IUnknown ) succeeded\n"}, {"out", "QI( ICapeUnitReport ) succeeded\n"}, {"out!", "failed"}}},
    {"probe No.Such.Component.1 --batch", 1, {{"out=", ""}}},
    {"roundtrip TxSamples.StorageUnit.1 --file \"%CASE%\" --json --batch", 0, {{"saved/*/name", "SampleData"}}},
    {"roundtrip TxSamples.StreamUnit.1 --file \"%CASE%\" --json --batch", 0, {{"saved/*/name", "CAPEOPEN"}}},
    {"roundtrip TxSamples.StreamInitUnit.1 --file \"%CASE%\" --json --batch", 0, {{"saved/*/name", "CAPEOPEN"}}},
    // Failures leave the case file as it was: not a compound file, read-only, a save that fails (nor half-written).
    {"roundtrip TxSamples.StreamUnit.1 --file \"%CASE%\" --batch", 1,
     {{"err", "the case file exists and is not a compound file"}, {"file=", "text\n"}}, "", nullptr, "text\n"},
    {"roundtrip TxSamples.StreamUnit.1 --batch --file \"%CASE%\"", 1,
     {{"err", "the case file is read-only"}, {"file=", "text\n"}}, "", nullptr, "text\n", FILE_ATTRIBUTE_READONLY},
    {"roundtrip TxSamples.Zoo.SaveFails.1 --file \"%CASE%\" --batch", 1,
     {{"out", "not saved; the case file is unchanged"}, {"file=", "<none>"}}},
    {"check --json", 1,  // the zoo has errors
     {clean("ThermoSystem"), clean("PropertyPackage"), clean("Mixer"), clean("Unit093"), clean("StorageUnit"),
      clean("StreamUnit"), clean("StreamInitUnit"), {"components/progid=TxSamples.Mixer.1/hosts", "64-bit hosts"},
      {"components/progid=TxSamples.X86Mixer.1/hosts", "32-bit hosts only"},
      finding(txs::kNoServer, "error", "no server is registered"), finding(txs::kQIFails, "error", "creation:"),
      finding(txs::kNoDescription, "error", "the component has no CapeDescription key"),
      finding(txs::kLongValues, "warning", "the component: \"Description\" holds 3000 bytes"),
      finding(txs::kBracketName, "warning", "holds brackets"), finding(txs::kUnitNo10, "error", kNo10),
      finding(txs::kUnit09, "warning", "creation: " + kUnit09), finding(txs::kUnit11, "warning", "creation:"),
      finding(txs::kPackageWithoutInterface, "error", "creation:"),
      finding(txs::kNoThermoSystem, "error", "registered as a property system but does not offer"),
      finding(txs::kEmptyPackageList, "warning", "the property system lists no property packages"),
      finding(txs::kNoPackageList, "error", "GetPropertyPackages gives no array"),
      finding(txs::kNumberPackageList, "error", "GetPropertyPackages gives an array of VARTYPE 3"),
      finding(txs::kTwoDimPackageList, "error", "GetPropertyPackages gives a 2-dimensional array"),
      finding(txs::kFailingPackageList, "error", "GetPropertyPackages fails"),
      finding(txs::kFaultySystem, "error", "package 'NullPackage':"),
      finding(txs::kFaultySystem, "error", "package 'NotAPackage':"),
      {"~components/progid=TxSamples.Zoo.TerminateFails.1/findings/*/text", "(release)"},
      // What users meet on real machines: the planted registrations.
      finding(txs::kX86Mixer, "warning", "32-bit hosts only: a 64-bit simulator will not list it"),
      finding(txs::kEquilibriumServer32, "warning",
              "its CAPE-OPEN interface ICapeThermoEquilibriumServer {678C0997-7D66-11D2-A67D-00105A42887F} is not "
              "registered for 32-bit hosts"),
      planted(txs::kX86Under64, "server", "is a 32-bit (x86) DLL: a 64-bit host cannot load it"),
      planted(txs::kX64Under32, "server", "is a 64-bit (x64) DLL: a 32-bit host cannot load it"),
      finding(txs::kDotNetMissing, "info", kDotNet),
      finding(txs::kDotNetMissing, "error", "the .NET assembly '" + tx::buildPath("samples/planted/") +
                                                txs::kDotNetAssemblyFile + "' (CodeBase) does not exist"),
      planted(txs::kMissingFile32, "server file", "does not exist"),
      planted(txs::kNotPE32, "server file", "is not a Windows DLL"),
      planted(txs::kTruncatedPE32, "server file", "is cut short: its PE header is incomplete"),
      finding(txs::kLongPath32, "error", "the server path 'C:\\a-folder-of-a-very-long-path\\"),
      finding(txs::kLongPath32, "error", " characters)' is longer than any Windows path")}},
    // The same findings for people, one line each.
    {"check", 1, {{"out", "OK       TxSamples.Mixer.1  (64-bit hosts)\n"}, {"err!", "[message box]"},
                  {"out", "WARNING  TxSamples.X86Mixer.1  32-bit hosts only: a 64-bit simulator will not list it\n"},
                  {"out", "INFO     TxSamples.Zoo.DotNetMissing.1  " + kDotNet + "\n"},
                  {"out", "ERROR    TxSamples.Zoo.X64Under32.1  the server '"}}},
    // A person picks the first unit operation of the tree, or ticks "Allow subsets" of the package's dialog.
    {"pick --filter 32 --json --batch", 0,
     {{"catid", "{678c09a5-7d66-11D2-a67d-00105a42887f}"}, {"~progid", "TxSamples."}, {"parentProgid", ""}},
     "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager",
     [](HWND dialog) {
       HWND tree = GetDlgItem(dialog, 1018);
       auto item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
       return item && TreeView_SelectItem(tree, item) && PostMessageA(dialog, WM_COMMAND, IDOK, 0);
     }},
    {"thermo \"Water-Ethanol NRTL\" --parent TxSamples.ThermoSystem.1 --json --batch", 0,
     {{"allowSubsets", "true"}, {"treatAsHypos", "false"},
      {"package", "Water-Ethanol NRTL(from 'TxSamples.ThermoSystem.1')"}},
     "CAPE-OPEN Property Package Detailed Information",
     [](HWND d) {
       return !SendDlgItemMessageA(d, 207, BM_SETCHECK, BST_CHECKED, 0) && PostMessageA(d, WM_COMMAND, 247, 0);
     }},
    // Without --parent a package name is unknown: said at once, no box left waiting for a person.
    {"thermo \"Water-Ethanol NRTL\"", 1, {{"err", "not registered as a CAPE-OPEN component (a package of a"}}},
};

class CohostRuns : public ::testing::TestWithParam<Command> {};
void PrintTo(const Command& command, std::ostream* out) {  // names the test after the command line
  *out << "cohost";
  for (char c : command.args) *out << (isalnum(static_cast<unsigned char>(c)) ? c : '_');
}

TEST_P(CohostRuns, ExitCodeAndOutput) {
  const Command& row = GetParam();
  std::string args = row.args, folder = tx::makeTempFolder("cohost"), file = folder + "\\case.stg";
  std::unique_ptr<ScriptsRegistration> scripts(row.scripts ? new ScriptsRegistration : nullptr);
  const std::string cyrillic = folder + u8"\\\u0414\u0435\u043B\u043E";  // "Дело"
  if (row.scripts && CreateDirectoryW(wideFromNarrow(cyrillic).c_str(), nullptr)) file = cyrillic + u8"\\\u0441.stg";
  std::vector<Expect> expect = row.expect;
  size_t mark = args.find("%CASE%");
  if (mark != std::string::npos) args.replace(mark, 6, file);
  if (mark != std::string::npos && row.exit == 0)
    expect.insert(expect.end(), {{"ok", "true"}, {"#steps", "7"}, {"steps/6/step", "loadStorage(true)"}});
  ASSERT_TRUE(!row.before || (tx::writeFile(file, row.before) && SetFileAttributesA(file.c_str(), row.attributes)));
  SCOPED_TRACE("cohost " + args);
  bool answered = false;
  CohostRun run = runCohost(args, row.caption, [&](HWND window) { return answered = window && row.person(window); });
  EXPECT_EQ(!!row.person, answered);
  EXPECT_EQ(row.exit, run.exitCode) << run.err;
  if (row.exit == 2) expect.push_back({"out=", ""});
  for (const auto& [where, want] : expect) {
    const bool err = where == "err" || where == "err!";
    const bool json = where.compare(0, 3, "out") && !err && where != "file=";
    const std::string seen = err                ? run.err
                             : where == "file=" ? (tx::fileExists(file) ? tx::readFile(file) : "<none>")
                             : json             ? at(run.out, where.substr(where[0] == '~'))
                                                : run.out;
    const bool ok = where == "out" || where == "err" || where[0] == '~' ? contains(seen, want)
                    : where.back() == '!' ? !contains(seen, want)
                    : where == "out^" ? seen.compare(0, want.size(), want) == 0 : seen == want;
    EXPECT_TRUE(ok) << where << ": " << want << "\nseen: " << seen;
  }
  EXPECT_FALSE(tx::fileExists(file + ".cohost-tmp"));
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (row.scripts && mark != std::string::npos) {  // the case file is where it was named
    EXPECT_TRUE(DeleteFileW(wideFromNarrow(file).c_str()));
    RemoveDirectoryW(wideFromNarrow(cyrillic).c_str());
  }
  tx::removeTree(folder);
}
INSTANTIATE_TEST_SUITE_P(Commands, CohostRuns, ::testing::ValuesIn(kRuns));

// The command line itself: help, versions and what is refused.
const std::vector<Command> kUsageRuns = {
    // Help on stdout wherever it is asked for, even beside a fault; both versions, the DLL's as registered.
    {"--help", 0, {{"out^", "usage: cohost <command>"}, {"out", "\n  thermo PACKAGE [--parent SYSTEM] "}}},
    {"help", 0, {{"out^", "usage: cohost"}}}, {"list --colour -h", 0, {{"out^", "usage: cohost"}}},
    {"--version", 0,
     {{"out^", "cohost " TX_VERSION_DOTTED "\nTxCOGUI.dll " TX_VERSION_DOTTED " ("},
      {"out", " (" + tx::buildPath("TxCOGUI.dll") + ")\n"}}},
    // Numbers are decimal: 010 is ten (thermo routines and packages), not octal eight (packages alone).
    {"list --filter 010 --batch", 0, {{"out^", "Thermo Routines  {678c09a2-"}}},
    // Bad command lines (exit code 2): refused with a reason, nothing on stdout.
    {"", 2, {{"err", "usage: cohost"}}},
    {"frobnicate", 2, {{"err", "unknown command 'frobnicate'; run 'cohost --help'"}}},
    {"info", 2, {{"err", "info takes one ProgID"}}}, {"list --colour blue", 2, {{"err", "unknown option --colour"}}},
    {"list -v", 2, {{"err", "unknown option -v"}}},
    {"info TxSamples.Mixer.1 extra", 2, {{"err", "info takes one ProgID"}}},
    {"create TxSamples.Mixer.1", 2, {{"err", "create takes one ProgID and --filter N"}}},
    {"list --filter twelve", 2, {{"err", "--filter takes a whole number, not 'twelve'"}}},
    {"list --filter -4", 2, {{"err", "--filter takes no negative number, not '-4'"}}},
    {"list --filter 8 --filter 32", 2, {{"err", "option --filter is given twice"}}},
    {"probe TxSamples.Mixer.1 --file x", 2, {{"err", "'probe' does not take --file"}}},
    {"roundtrip TxSamples.Mixer.1", 2, {{"err", "roundtrip takes one ProgID and --file CASE"}}},
    {"list --filter", 2, {{"err", "option --filter needs a value"}}},
    {"list --view 040", 2, {{"err", "--view takes 32 or 64"}}}, {"--version list", 2, {{"err", "--version takes no"}}},
};
INSTANTIATE_TEST_SUITE_P(Usage, CohostRuns, ::testing::ValuesIn(kUsageRuns));

}  // namespace

namespace {

// An empty package list from the lowest LONG on: its upper bound wraps round to the highest, so a walker that
// trusts it never ends.
const std::vector<Command> kListShapes = {
    {"check --json", 1,
     {finding(txs::kLowestEmptyPackageList, "warning", "the property system lists no property packages"),
      {"#components/progid=TxSamples.Zoo.LowestEmptyPackageList.1/findings", "1"}}},
};
INSTANTIATE_TEST_SUITE_P(ListShapes, CohostRuns, ::testing::ValuesIn(kListShapes));

// Text in any script, in and out: the sample unit named in Latin-1, Japanese, Cyrillic and beyond the BMP, and the
// UTF-16 registration above; a lone surrogate shows as U+FFFD and the JSON stays UTF-8.
const std::string kScripts = std::string(txs::kScriptsName) + " [TxSamples.DualPersistUnit.1]";
const std::string kScratch = narrowFromWide(kScriptsKeyName) + " [" + kScriptsProgId + "]";
const std::string kScratchRecord = "categories/0/children/label=" + kScratch + "/record/";
Command scripts(const std::string& args, int exit, std::vector<Expect> expect) {
  Command row{args, exit, std::move(expect)};
  row.scripts = true;
  return row;
}
const std::vector<Command> kScriptRuns = {
    scripts("list --filter 32 --json --batch", 0,
            {{"categories/0/children/label=" + kScripts + "/record/name", txs::kScriptsName},
             {"categories/0/children/label=" + kScripts + "/record/description", txs::kScriptsDescription},
             {kScratchRecord + "progid", kScriptsProgId}, {kScratchRecord + "description", u8"half \uFFFD pair"}}),
    scripts("list --filter 32 --batch", 0, {{"out", "\n  " + kScripts + "\n"}, {"out", "\n  " + kScratch + "\n"}}),
    scripts("info TxSamples.DualPersistUnit.1 --json --batch", 0,
            {{"name", txs::kScriptsName}, {"description", txs::kScriptsDescription}}),
    scripts("info TxSamples.DualPersistUnit.1 --batch", 0,
            {{"out", std::string("\nname              ") + txs::kScriptsName + "\n"}}),
    scripts("info " + kScriptsProgId + " --json --batch", 0,
            {{"progid", kScriptsProgId}, {"clsid", kScriptsClsid}, {"description", u8"half \uFFFD pair"}}),
    // Case is ignored in every script: Japanese has none, Cyrillic and Latin-1 do; a beetle matches nothing.
    scripts(kMatch + u8"\u30DD\u30F3\u30D7 --filter 32", 0, {match(kScripts, kUnits), match(kScratch, kUnits)}),
    scripts(kMatch + u8"\u043D\u0410\u0421\u043E\u0421 --filter 32", 0, {match(kScripts, kUnits)}),
    scripts(kMatch + u8"\u00FCBERHITZER --filter 32", 0, {{"matches/*/label", kScripts}}),
    scripts(kMatch + u8"\u0416\u0443\u043A --filter 32", 0, {{"#matches", "0"}}),
    scripts(u8"list --match \u0416\u0443\u043A --filter 32 --batch", 0,
            {{"out=", u8"No component matches '\u0416\u0443\u043A'.\n"}}),
    scripts("check --json", 1,
            {{"~components/progid=" + kScriptsProgId + "/findings/*/text",
              "the Name \"" + narrowFromWide(kScriptsKeyName) + "\" holds brackets"},
             {"~components/progid=" + kScriptsProgId + "/findings/*/text",
              "the server file '" + kScriptsServer + "' does not exist"}}),
    scripts("check", 1,
            {{"out", "\nERROR    " + kScriptsProgId + "  the server file '" + kScriptsServer + "' does not exist\n"}}),
    scripts("roundtrip TxSamples.DualPersistUnit.1 --file \"%CASE%\" --json --batch", 0, {}),
};
INSTANTIATE_TEST_SUITE_P(Scripts, CohostRuns, ::testing::ValuesIn(kScriptRuns));

}  // namespace
