// cohost as users run it: each command on the sample components and the fault zoo, in
// human form and as JSON read back, and what it does with bad input.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include "cohost/CohostRun.h"
#include "common/TestSupport.h"
#include "samples/common/SampleIds.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const Json* findEntry(const Json& entries, const std::string& label) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i]["label"].asString() == label) return &entries[i];
  return nullptr;
}

std::wstring tempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + name;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
  return path;
}

}  // namespace

TEST(CohostListTest, CatalogueAsJsonFollowsTheCategoriesAndSystems) {
  CohostRun run = runCohost("list --filter 12 --json --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json result = run.json();
  ASSERT_EQ(Json::Object, result.kind()) << run.out;
  const Json& categories = result["categories"];
  ASSERT_EQ(2u, categories.size());
  EXPECT_EQ("Thermo Property Systems", categories[0]["label"].asString());
  EXPECT_EQ("{678c09a3-7d66-11d2-a67d-00105a42887f}", categories[0]["catid"].asString());
  EXPECT_EQ("Thermo Property Packages", categories[1]["label"].asString());

  const Json* system = findEntry(categories[0]["children"], "Sample Property System [TxSamples.ThermoSystem.1]");
  ASSERT_NE(nullptr, system);
  EXPECT_EQ("1.0", (*system)["record"]["capeVersion"].asString());
  const Json& packages = (*system)["children"];
  ASSERT_EQ(static_cast<size_t>(txs::kSystemPackageCount), packages.size());
  for (int i = 0; i < txs::kSystemPackageCount; ++i) {
    EXPECT_EQ(txs::kSystemPackages[i].name, packages[i]["label"].asString());
    EXPECT_EQ((*system)["record"]["clsid"].asString(), packages[i]["record"]["clsid"].asString());
  }
  // Lines without a record: the empty list's message.
  const Json* empty = findEntry(categories[0]["children"], "Zoo Empty Package List [TxSamples.Zoo.EmptyPackageList.1]");
  ASSERT_NE(nullptr, empty);
  ASSERT_EQ(1u, (*empty)["children"].size());
  EXPECT_EQ("No CAPE-OPEN Property Packages currently available", (*empty)["children"][0]["label"].asString());
  EXPECT_EQ(Json::Null, (*empty)["children"][0]["record"].kind());
  EXPECT_NE(nullptr, findEntry(categories[1]["children"], "Sample Refrigerants Package [TxSamples.PropertyPackage.1]"));
}

TEST(CohostListTest, HumanListAndTheEmptyFilter) {
  CohostRun run = runCohost("list --filter 32 --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  EXPECT_EQ(0u, run.out.find("Unit Operations  {678c09a5-7d66-11D2-a67d-00105a42887f}\n"));
  EXPECT_TRUE(contains(run.out, "  Sample Mixer [TxSamples.Mixer.1]\n"));
  EXPECT_TRUE(contains(run.out, "ProgID TxSamples.Mixer.1  CLSID {6269EB52-C2DA-47AC-AC74-E34E680C3ECF}  CAPE-OPEN 1.0"));
  EXPECT_FALSE(contains(run.out, "Thermo Property Systems"));

  run = runCohost("list --filter 0 --batch");
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ("No category of filter 0 is shown.\n", run.out);
}

TEST(CohostListTest, ViewsAndSearch) {
  // A 32-bit host lists the 32-bit mixer; a 64-bit host (the default) does not.
  for (const char* view : {"32", "64"}) {
    CohostRun run = runCohost(std::string("list --filter 32 --batch --view ") + view);
    ASSERT_EQ(0, run.exitCode) << run.err;
    bool x86 = view[0] == '3';
    EXPECT_EQ(x86, contains(run.out, "  Sample Mixer (32-bit) [TxSamples.X86Mixer.1]\n")) << view << run.out;
    EXPECT_EQ(!x86, contains(run.out, "  Sample Mixer [TxSamples.Mixer.1]\n")) << view;
  }
  // --match: literal and case-insensitive on name, ProgID, description and CLSID.
  struct Case { const char* text; int filter; const char* label; const char* category; const char* system; };
  const Case cases[] = {
      {"sample MIXER", 32, "Sample Mixer [TxSamples.Mixer.1]", "Unit Operations", ""},
      {"TXSAMPLES.mixer.1", 32, "Sample Mixer [TxSamples.Mixer.1]", "Unit Operations", ""},
      {"mixes TWO", 1, "Sample Mixer [TxSamples.Mixer.1]", "Components", ""},
      {"6269eb52-c2da", 32, "Sample Mixer [TxSamples.Mixer.1]", "Unit Operations", ""},
      {"c1 to c4", 4, "Light Hydrocarbons PR", "Thermo Property Systems",
       "Sample Property System [TxSamples.ThermoSystem.1]"},
      {"[TxSamples.ThermoSystem.1]", 4, "Bracket [TxSamples.ThermoSystem.1] System [TxSamples.Zoo.BracketName.1]",
       "Thermo Property Systems", ""},
      {"", 8, "Sample Refrigerants Package [TxSamples.PropertyPackage.1]", "Thermo Property Packages", ""},
      {".*", 32, nullptr, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    CohostRun run = runCohost("list --json --batch --filter " + std::to_string(c.filter) + " --match \"" + c.text + "\"");
    ASSERT_EQ(0, run.exitCode) << c.text << run.err;
    const Json result = run.json();
    const Json& matches = result["matches"];
    bool found = false;
    for (size_t i = 0; i < matches.size(); ++i)
      found |= matches[i]["label"].asString() == c.label && matches[i]["category"].asString() == c.category &&
               matches[i]["propertySystem"].asString() == c.system;
    EXPECT_EQ(c.label != nullptr, found) << c.text << run.out;
    EXPECT_TRUE(c.label || matches.size() == 0) << c.text;
  }
  CohostRun run = runCohost("list --match mixes --filter 32 --batch");
  EXPECT_EQ("Unit Operations: Sample Mixer [TxSamples.Mixer.1]\n    ProgID TxSamples.Mixer.1  CLSID "
            "{6269EB52-C2DA-47AC-AC74-E34E680C3ECF}  CAPE-OPEN 1.0  version 1.0.0\n", run.out);
}

TEST(CohostInfoTest, RegistryInformationOfAComponentAndOfAPackage) {
  CohostRun run = runCohost("info TxSamples.Mixer.1 --json --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json info = run.json();
  EXPECT_EQ("Sample Mixer", info["name"].asString());
  EXPECT_EQ("{6269EB52-C2DA-47AC-AC74-E34E680C3ECF}", info["clsid"].asString());
  EXPECT_EQ(100, info["capeVersion"].asNumber());
  EXPECT_EQ("Mixes two streams", info["description"].asString());
  EXPECT_EQ(txs::kVendorURL, info["vendorURL"].asString());

  run = runCohost("info \"Light Hydrocarbons PR\" --parent TxSamples.ThermoSystem.1 --json --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  info = run.json();
  EXPECT_EQ("Light Hydrocarbons PR", info["progid"].asString());
  EXPECT_EQ("TxSamples.ThermoSystem.1", info["parentProgid"].asString());
  EXPECT_EQ("Sample Property System", info["parentName"].asString());
  EXPECT_EQ("Equation of state package for C1 to C4", info["description"].asString());
  // A package has no class of its own: the system's CLSID stands for it.
  EXPECT_EQ("{48A5EE01-C142-4CD3-8B24-753429CE9195}", info["clsid"].asString());

  run = runCohost("info Nobody.Knows.This.1 --batch");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_TRUE(contains(run.err, "'Nobody.Knows.This.1' is not registered as a CAPE-OPEN component")) << run.err;
}

TEST(CohostCreateTest, ComplianceMessagesAndPersistenceKind) {
  CohostRun run = runCohost("create TxSamples.StreamInitUnit.1 --filter 32 --json --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json result = run.json();
  EXPECT_TRUE(result["created"].asBool());
  EXPECT_EQ("IPersistStreamInit", result["persistence"].asString());
  EXPECT_EQ(0u, result["messages"].size());

  run = runCohost("create \"Air Ideal Gas\" --parent TxSamples.ThermoSystem.1 --filter 8 --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  EXPECT_TRUE(contains(run.out, "created     yes\n"));
  EXPECT_TRUE(contains(run.out, "persistence none\n"));

  run = runCohost("create TxSamples.UnitNo10.1 --filter 32 --json --batch");
  EXPECT_EQ(1, run.exitCode);
  result = run.json();
  EXPECT_FALSE(result["created"].asBool());
  EXPECT_EQ("0x80004002", result["result"].asString());
  ASSERT_EQ(1u, result["messages"].size());
  EXPECT_TRUE(contains(result["messages"][0]["text"].asString(),
                       "registered as being compliant to CAPE-OPEN version '1.0', but it implements instead version "
                       "'0.93' of the interface 'ICapeUnit'"));
  // The box went to stderr with its caption, answered without waiting.
  EXPECT_TRUE(contains(run.err, "[message box] Brisk Tarnix CAPE-OPEN: The CAPE-OPEN component 'TxSamples.UnitNo10.1'"));

  run = runCohost("create TxSamples.Unit09.1 --filter 32 --batch");
  EXPECT_EQ(0, run.exitCode);
  EXPECT_TRUE(contains(run.out, "message     The component 'TxSamples.Unit09.1' implements version '0.9'"));
}

TEST(CohostProbeTest, TwentyInterfacesInTableOrder) {
  CohostRun run = runCohost("probe TxSamples.ThermoSystem.1 --json --batch");
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json result = run.json();
  const Json& interfaces = result["interfaces"];
  ASSERT_EQ(20u, interfaces.size());
  EXPECT_EQ("IUnknown", interfaces[0]["interface"].asString());
  EXPECT_EQ("ICapeUnitReport", interfaces[19]["interface"].asString());
  for (size_t i = 0; i < interfaces.size(); ++i) {
    std::string name = interfaces[i]["interface"].asString();
    bool expected = name == "IUnknown" || name == "IDispatch" || name == "ICapeThermoSystem" ||
                    name == "ICapeIdentification";
    if (name == "ICapeIdentification") continue;  // the sample's choice
    EXPECT_EQ(expected, interfaces[i]["answered"].asBool()) << name;
  }

  run = runCohost("probe TxSamples.Zoo.QIFails.1 --batch");
  EXPECT_EQ(0, run.exitCode);
  EXPECT_EQ(20, std::count(run.out.begin(), run.out.end(), '\n'));
  EXPECT_EQ(20u, static_cast<size_t>([&] {
              size_t n = 0, at = 0;
              while ((at = run.out.find(") succeeded", at)) != std::string::npos) ++n, ++at;
              return n;
            }()));

  run = runCohost("probe No.Such.Component.1 --batch");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_TRUE(run.out.empty());
}

TEST(CohostRoundtripTest, EachKindRoundTripsThroughACompoundFile) {
  for (const txs::ClassInfo* unit : {&txs::kStorageUnit, &txs::kStreamUnit, &txs::kStreamInitUnit}) {
    std::wstring file = tempPath(L"cohost-case.stg");
    CohostRun run = runCohost(std::string("roundtrip ") + unit->progId + " --file \"" + tx::narrow(file.c_str()) +
                              "\" --json --batch");
    ASSERT_EQ(0, run.exitCode) << unit->progId << run.err << run.out;
    Json result = run.json();
    EXPECT_TRUE(result["ok"].asBool());
    ASSERT_EQ(7u, result["steps"].size());
    EXPECT_EQ("loadStorage(true)", result["steps"][6]["step"].asString());
    // The file is a real compound file with the component's storage.
    fw::ComPtr<IStorage> root, component;
    ASSERT_EQ(S_OK, StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.put()));
    EXPECT_EQ(S_OK, root->OpenStorage(L"Component", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                      component.put()));
    std::string expectedStream = unit == &txs::kStorageUnit ? "SampleData" : "CAPEOPEN";
    ASSERT_EQ(1u, result["saved"].size());
    EXPECT_EQ(expectedStream, result["saved"][0]["name"].asString());
    component.reset();
    root.reset();
    DeleteFileW(file.c_str());
  }
}

TEST(CohostRoundtripTest, FailuresLeaveTheCaseFileAsItWas) {
  // Not a compound file: refused and untouched.
  std::wstring text = tempPath(L"cohost-not-a-case.txt");
  ASSERT_TRUE(tx::writeFile(tx::narrow(text.c_str()), "plain text\n"));
  CohostRun run = runCohost("roundtrip TxSamples.StreamUnit.1 --file \"" + tx::narrow(text.c_str()) + "\" --batch");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_TRUE(contains(run.err, "not a compound file")) << run.err;
  EXPECT_EQ("plain text\n", tx::readFile(tx::narrow(text.c_str())));
  DeleteFileW(text.c_str());

  // Read-only: refused.
  std::wstring readOnly = tempPath(L"cohost-readonly.stg");
  {
    fw::ComPtr<IStorage> root;
    ASSERT_EQ(S_OK, StgCreateDocfile(readOnly.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                     root.put()));
  }
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  run = runCohost("roundtrip TxSamples.StreamUnit.1 --file \"" + tx::narrow(readOnly.c_str()) + "\" --batch");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_TRUE(contains(run.err, "read-only")) << run.err;
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(readOnly.c_str());

  // A component whose save fails: no case file at all, not a half-written one.
  std::wstring failing = tempPath(L"cohost-savefails.stg");
  run = runCohost("roundtrip TxSamples.Zoo.SaveFails.1 --file \"" + tx::narrow(failing.c_str()) + "\" --batch");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_TRUE(contains(run.out, "not saved; the case file is unchanged")) << run.out;
  EXPECT_FALSE(tx::fileExists(tx::narrow(failing.c_str())));
  EXPECT_FALSE(tx::fileExists(tx::narrow(failing.c_str()) + ".cohost-tmp"));
}

TEST(CohostCheckTest, FindsThePlantedFaultsAndPassesTheCleanSamples) {
  CohostRun run = runCohost("check --json");
  EXPECT_EQ(1, run.exitCode);  // the zoo has errors
  Json result = run.json();
  ASSERT_EQ(Json::Object, result.kind()) << run.out;
  auto findingsOf = [&](const char* progId) {
    std::vector<std::string> texts;
    const Json& components = result["components"];
    for (size_t i = 0; i < components.size(); ++i)
      if (components[i]["progid"].asString() == progId)
        for (size_t j = 0; j < components[i]["findings"].size(); ++j)
          texts.push_back(components[i]["findings"][j]["severity"].asString() + ": " +
                          components[i]["findings"][j]["text"].asString());
    return texts;
  };
  auto has = [&](const char* progId, const std::string& part) {
    for (const std::string& text : findingsOf(progId))
      if (contains(text, part)) return true;
    return false;
  };
  for (const txs::ClassInfo* clean : {&txs::kThermoSystem, &txs::kPropertyPackage, &txs::kMixer, &txs::kUnit093,
                                      &txs::kStorageUnit, &txs::kStreamUnit, &txs::kStreamInitUnit})
    EXPECT_TRUE(findingsOf(clean->progId).empty()) << clean->progId << ": " << findingsOf(clean->progId)[0];

  auto planted = [](const txs::ClassInfo& info) { return tx::buildPath(std::string("samples/planted/") + info.dll); };
  const std::string dotNet = std::string(".NET component: class '") + txs::kDotNetClass + "' of assembly '" +
                             txs::kDotNetAssembly + "', for the .NET runtime " + txs::kDotNetRuntime;
  const struct { const char* progId; std::string part; } cases[] = {
      {txs::kNoServer.progId, "error: no server is registered"},
      {txs::kNoDescription.progId, "error: the component has no CapeDescription key"},
      {txs::kLongValues.progId, "warning: the component: \"Description\" holds 3000 bytes"},
      {txs::kBracketName.progId, "holds brackets"},
      {txs::kUnitNo10.progId, "error: creation: The CAPE-OPEN component 'TxSamples.UnitNo10.1' has been registered as "
                              "being compliant to CAPE-OPEN version '1.0', but it implements instead version '0.93' "
                              "of the interface 'ICapeUnit'"},
      {txs::kUnit09.progId, "warning: creation: The component 'TxSamples.Unit09.1' implements version '0.9'"},
      {txs::kUnit11.progId, "warning: creation:"},
      {txs::kQIFails.progId, "error: creation:"},
      {txs::kNoThermoSystem.progId, "error: registered as a property system but does not offer"},
      {txs::kPackageWithoutInterface.progId, "error: creation:"},
      {txs::kEmptyPackageList.progId, "warning: the property system lists no property packages"},
      {txs::kNoPackageList.progId, "error: GetPropertyPackages gives no array"},
      {txs::kNumberPackageList.progId, "error: GetPropertyPackages gives an array of VARTYPE 3"},
      {txs::kTwoDimPackageList.progId, "error: GetPropertyPackages gives a 2-dimensional array"},
      {txs::kFailingPackageList.progId, "error: GetPropertyPackages fails"},
      {txs::kFaultySystem.progId, "error: package 'NullPackage':"},
      {txs::kFaultySystem.progId, "error: package 'NotAPackage':"},
      {txs::kTerminateFails.progId, "(release)"},
      // What users meet on real machines: the planted registrations.
      {txs::kX86Mixer.progId, "warning: 32-bit hosts only: a 64-bit simulator will not list it"},
      {txs::kEquilibriumServer32.progId, "warning: its CAPE-OPEN interface ICapeThermoEquilibriumServer "
                                         "{678C0997-7D66-11D2-A67D-00105A42887F} is not registered for 32-bit hosts"},
      {txs::kX86Under64.progId,
       "error: the server '" + planted(txs::kX86Under64) + "' is a 32-bit (x86) DLL: a 64-bit host cannot load it"},
      {txs::kX64Under32.progId,
       "error: the server '" + planted(txs::kX64Under32) + "' is a 64-bit (x64) DLL: a 32-bit host cannot load it"},
      {txs::kDotNetMissing.progId, "info: " + dotNet},
      {txs::kDotNetMissing.progId, "error: the .NET assembly '" + tx::buildPath("samples/planted/") +
                                       txs::kDotNetAssemblyFile + "' (CodeBase) does not exist"},
      {txs::kMissingFile32.progId, "error: the server file '" + planted(txs::kMissingFile32) + "' does not exist"},
      {txs::kNotPE32.progId, "error: the server file '" + planted(txs::kNotPE32) + "' is not a Windows DLL"},
      {txs::kTruncatedPE32.progId,
       "error: the server file '" + planted(txs::kTruncatedPE32) + "' is cut short: its PE header is incomplete"},
      {txs::kLongPath32.progId, "error: the server path 'C:\\a-folder-of-a-very-long-path\\"},
      {txs::kLongPath32.progId, " characters)' is longer than any Windows path"},
  };
  for (const auto& c : cases) EXPECT_TRUE(has(c.progId, c.part)) << c.progId << ": " << c.part;
  auto hostsOf = [&](const char* progId) {
    for (size_t i = 0; i < result["components"].size(); ++i)
      if (result["components"][i]["progid"].asString() == progId) return result["components"][i]["hosts"].asString();
    return std::string("<not checked>");
  };
  EXPECT_EQ("64-bit hosts", hostsOf(txs::kMixer.progId));
  EXPECT_EQ("32-bit hosts only", hostsOf(txs::kX86Mixer.progId));
  EXPECT_GT(result["errors"].asNumber(), 0);

  // The same findings for people, one line each.
  run = runCohost("check");
  EXPECT_TRUE(contains(run.out, "OK       TxSamples.Mixer.1  (64-bit hosts)\n")) << run.out;
  EXPECT_TRUE(contains(run.out, "WARNING  TxSamples.X86Mixer.1  32-bit hosts only: a 64-bit simulator will not list it\n"));
  EXPECT_TRUE(contains(run.out, "INFO     TxSamples.Zoo.DotNetMissing.1  " + dotNet + "\n"));
  EXPECT_TRUE(contains(run.out, "ERROR    TxSamples.Zoo.X64Under32.1  the server '")) << run.out;
}

TEST(CohostUsageTest, BadCommandLinesAreRefusedWithAReason) {
  struct Case { const char* args; const char* said; };
  const Case cases[] = {
      {"", "usage: cohost"},
      {"frobnicate", "unknown command 'frobnicate'"},
      {"info", "info takes one ProgID"},
      {"create TxSamples.Mixer.1", "create takes one ProgID and --filter N"},
      {"list --filter twelve", "--filter takes a whole number, not 'twelve'"},
      {"list --colour blue", "unknown option --colour"},
      {"probe TxSamples.Mixer.1 --file x", "'probe' does not take --file"},
      {"roundtrip TxSamples.Mixer.1", "roundtrip takes one ProgID and --file CASE"},
      {"list --filter", "option --filter needs a value"},
      {"list --view 16", "--view takes 32 or 64"},
  };
  for (const Case& c : cases) {
    CohostRun run = runCohost(c.args);
    EXPECT_EQ(2, run.exitCode) << c.args;
    EXPECT_TRUE(contains(run.err, c.said)) << c.args << " said: " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.args;
  }
}

TEST(CohostDialogTest, PickReturnsWhatThePersonChose) {
  // The person: selects the first unit operation in the tree and accepts.
  bool accepted = false;
  CohostRun run = runCohost("pick --filter 32 --json --batch", [&](DWORD pid) {
    HWND dialog = findProcessWindow(pid, "Brisk Tarnix CAPE-OPEN 1.0 Property Component Manager");
    if (!dialog || accepted) return accepted;
    HWND tree = GetDlgItem(dialog, 1018);
    HTREEITEM category = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                               reinterpret_cast<LPARAM>(category)));
    if (!first) return false;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    accepted = true;
    return true;
  });
  ASSERT_TRUE(accepted);
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json choice = run.json();
  EXPECT_EQ("{678c09a5-7d66-11D2-a67d-00105a42887f}", choice["catid"].asString());
  EXPECT_FALSE(choice["progid"].asString().empty());
  EXPECT_EQ("", choice["parentProgid"].asString());
}

TEST(CohostDialogTest, ThermoShowsThePackageAndPrintsTheOptions) {
  bool closed = false;
  CohostRun run = runCohost("thermo \"Water-Ethanol NRTL\" --parent TxSamples.ThermoSystem.1 --json --batch",
                            [&](DWORD pid) {
                              HWND dialog = findProcessWindow(pid, "CAPE-OPEN Property Package Detailed Information");
                              if (!dialog) return false;
                              // Ticks "Allow subsets", then OK.
                              SendMessageA(GetDlgItem(dialog, 207), BM_SETCHECK, BST_CHECKED, 0);
                              PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(247, BN_CLICKED), 0);
                              closed = true;
                              return true;
                            });
  ASSERT_TRUE(closed);
  ASSERT_EQ(0, run.exitCode) << run.err;
  Json options = run.json();
  EXPECT_TRUE(options["allowSubsets"].asBool());
  EXPECT_FALSE(options["treatAsHypos"].asBool());
  EXPECT_EQ("Water-Ethanol NRTL(from 'TxSamples.ThermoSystem.1')", options["package"].asString());
}
