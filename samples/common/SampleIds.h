// Identities and data of the sample CAPE-OPEN components, the fault zoo and the host
// container: what their DLLs register and answer, in one place, so that the samples and
// every test that uses them agree. Header only; needs no CAPE-OPEN declarations.
#pragma once
#include <windows.h>
#include <cstddef>

namespace txs {

// --- Modules -----------------------------------------------------------------------

inline constexpr char kThermoDll[] = "TxSampleThermo.dll";  // property system, standalone package
inline constexpr char kUnitsDll[] = "TxSampleUnits.dll";    // unit operations, persistence kinds
inline constexpr char kHostDll[] = "TxSampleHost.dll";      // host container
inline constexpr char kZooDll[] = "TxSampleZoo.dll";        // fault zoo
// 32-bit build of one unit (i686): only registered, never loaded by a 64-bit process.
inline constexpr char kUnits32Dll[] = "TxSampleUnits32.dll";
// Writes the planted registrations: both registry views, a .NET server, broken files.
inline constexpr char kPlantedDll[] = "TxSamplePlanted.dll";

// Test hooks every sample DLL exports (find them with GetModuleHandle + GetProcAddress;
// samples/common/SampleHooks.h has the types and small readers).
inline constexpr char kHookLiveObjects[] = "SampleLiveObjects";         // LONG WINAPI ()
inline constexpr char kHookCallLog[] = "SampleCallLog";                 // int WINAPI (char*, int)
inline constexpr char kHookClearCallLog[] = "SampleClearCallLog";       // void WINAPI ()
inline constexpr char kHookEditAutoClose[] = "SampleSetEditAutoClose";  // void WINAPI (DWORD ms)
// Host DLL only: HRESULT WINAPI (const wchar_t* file or null, DWORD failures, IDispatch**).
inline constexpr char kHookCreateHostContainer[] = "SampleCreateHostContainer";

// --- Categories (the bits of the product's categoryFilter) -------------------------

inline constexpr unsigned kCatComponent = 1;
inline constexpr unsigned kCatThermoRoutine = 2;
inline constexpr unsigned kCatThermoSystem = 4;
inline constexpr unsigned kCatPropertyPackage = 8;
inline constexpr unsigned kCatEquilibriumServer = 16;
inline constexpr unsigned kCatUnitOperation = 32;
inline constexpr unsigned kCatKineticReactionSystem = 128;
inline constexpr unsigned kCatKineticReaction = 256;

// --- Registered descriptions -------------------------------------------------------

// The "CapeDescription" values; a null field is not written.
struct CapeValues {
  const char* name;
  const char* description;
  const char* about;
  const char* capeVersion;
  const char* componentVersion;
  const char* vendorURL;
  const char* helpURL;
};

// The CapeDescription value names with their texts, in registration order.
struct CapeValueEntry {
  const char* name;
  const char* text;
};
struct CapeValueEntries {
  CapeValueEntry entries[7];
  const CapeValueEntry* begin() const { return entries; }
  const CapeValueEntry* end() const { return entries + 7; }
};
inline CapeValueEntries capeValueEntries(const CapeValues& values) {
  return {{{"Name", values.name},
           {"Description", values.description},
           {"About", values.about},
           {"CapeVersion", values.capeVersion},
           {"ComponentVersion", values.componentVersion},
           {"VendorURL", values.vendorURL},
           {"HelpURL", values.helpURL}}};
}

// Text of a given length for the registry limits (values longer than 2047 bytes).
template <size_t N>
struct FixedText {
  char text[N + 1];
};
template <size_t N>
constexpr FixedText<N> makeLongText(char first) {
  FixedText<N> result{};
  for (size_t i = 0; i < N; ++i) result.text[i] = static_cast<char>(first + i % 26);
  result.text[N] = '\0';
  return result;
}
inline constexpr FixedText<3000> kLongDescription = makeLongText<3000>('a');
inline constexpr FixedText<2048> kLongAbout = makeLongText<2048>('A');
inline constexpr FixedText<2047> kLongHelpURL = makeLongText<2047>('a');

// About text with characters that printf-like and message formatters would expand:
// backslash-n as two characters, %n, %% and %1.
inline constexpr char kEscapesAbout[] = "First line\\nsecond %n third %% fourth %1 end";

inline constexpr char kVendorURL[] = "https://example.com/txsamples/vendor";
inline constexpr char kHelpURL[] = "https://example.com/txsamples/help";

// --- Classes -----------------------------------------------------------------------

// One registered COM class. Registration writes: ProgID and version-independent ProgID
// (with CLSID and CurVer), CLSID with ProgID, VersionIndependentProgID and (when
// hasServer) InprocServer32 with ThreadingModel "Apartment"; "Implemented Categories"
// for each category bit; the CapeDescription values (when hasDescription).
struct ClassInfo {
  const char* key;     // short name; the object's name in the call log
  const char* progId;  // what ProgIDFromCLSID gives
  const wchar_t* progIdW;
  const char* viProgId;  // version-independent ProgID
  CLSID clsid;
  const char* dll;
  unsigned categories;  // kCat... bits
  bool hasDescription;
  CapeValues values;
  bool hasServer;
};

#define TXS_PROGID(text) text, L"" text

// Thermo DLL -------------------------------------------------------------------------

// Property system with the three packages of kSystemPackages.
inline constexpr ClassInfo kThermoSystem = {
    "ThermoSystem",
    TXS_PROGID("TxSamples.ThermoSystem.1"),
    "TxSamples.ThermoSystem",
    {0x48A5EE01, 0xC142, 0x4CD3, {0x8B, 0x24, 0x75, 0x34, 0x29, 0xCE, 0x91, 0x95}},
    kThermoDll,
    kCatThermoSystem,
    true,
    {"Sample Property System", "Property system of the samples with three property packages",
     "Sample property system, for demonstration and tests", "1.0", "1.2.3", kVendorURL, kHelpURL},
    true};

// Standalone property package (kStandalonePackage's data).
inline constexpr ClassInfo kPropertyPackage = {
    "PropertyPackage",
    TXS_PROGID("TxSamples.PropertyPackage.1"),
    "TxSamples.PropertyPackage",
    {0x108A8746, 0x1D62, 0x4D6D, {0xBE, 0xEA, 0xE5, 0x42, 0x69, 0x9A, 0x45, 0xD2}},
    kThermoDll,
    kCatPropertyPackage,
    true,
    {"Sample Refrigerants Package", "Standalone property package of three refrigerants",
     "Sample property package, for demonstration and tests", "1.0", "2.0", kVendorURL, kHelpURL},
    true};

// Units DLL --------------------------------------------------------------------------

// CAPE-OPEN 1.0 unit operation (ICapeUnit, ICapeUtilities, ICapeIdentification), no
// COM persistence; registered under Unit Operations and Components.
inline constexpr ClassInfo kMixer = {
    "Mixer",
    TXS_PROGID("TxSamples.Mixer.1"),
    "TxSamples.Mixer",
    {0x6269EB52, 0xC2DA, 0x47AC, {0xAC, 0x74, 0xE3, 0x4E, 0x68, 0x0C, 0x3E, 0xCF}},
    kUnitsDll,
    kCatUnitOperation | kCatComponent,
    true,
    {"Sample Mixer", "Mixes two streams", "Sample unit operation", "1.0", "1.0.0", kVendorURL, kHelpURL},
    true};

// IDispatch only, registered "0.93".
inline constexpr ClassInfo kUnit093 = {"Unit093",
                                       TXS_PROGID("TxSamples.Unit093.1"),
                                       "TxSamples.Unit093",
                                       {0xD9C0B5A7, 0x2C58, 0x4B81, {0xA6, 0xD5, 0x14, 0x82, 0xE0, 0xCD, 0xA6, 0x1E}},
                                       kUnitsDll,
                                       kCatUnitOperation,
                                       true,
                                       {"Sample 0.93 Unit", "Unit operation that offers IDispatch only",
                                        "Sample unit operation", "0.93", "0.9.3", kVendorURL, kHelpURL},
                                       true};

// Registered "1.0" but without the 1.0 unit interface (IDispatch and ICapeUtilities).
inline constexpr ClassInfo kUnitNo10 = {
    "UnitNo10",
    TXS_PROGID("TxSamples.UnitNo10.1"),
    "TxSamples.UnitNo10",
    {0x0CDDBA79, 0x0396, 0x44D2, {0x82, 0x61, 0x42, 0x1E, 0x7C, 0xE8, 0x86, 0x18}},
    kUnitsDll,
    kCatUnitOperation,
    true,
    {"Sample Unit Without 1.0 Interface", "Registered as 1.0, implements no ICapeUnit", "Sample unit operation", "1.0",
     "1.0.0", kVendorURL, kHelpURL},
    true};

// Registered "0.9", IDispatch only.
inline constexpr ClassInfo kUnit09 = {"Unit09",
                                      TXS_PROGID("TxSamples.Unit09.1"),
                                      "TxSamples.Unit09",
                                      {0x3F05CFEC, 0x4325, 0x4523, {0x9E, 0x8A, 0x89, 0x51, 0x34, 0xF8, 0xB5, 0x3A}},
                                      kUnitsDll,
                                      kCatUnitOperation,
                                      true,
                                      {"Sample 0.9 Unit", "Unit operation registered as CAPE-OPEN 0.9",
                                       "Sample unit operation", "0.9", "0.9.0", kVendorURL, kHelpURL},
                                      true};

// Registered "1.1", with the 1.0 unit interface.
inline constexpr ClassInfo kUnit11 = {"Unit11",
                                      TXS_PROGID("TxSamples.Unit11.1"),
                                      "TxSamples.Unit11",
                                      {0x6985B887, 0xC33F, 0x4B0A, {0xAA, 0x4A, 0x64, 0xA5, 0x74, 0x47, 0xF9, 0x1C}},
                                      kUnitsDll,
                                      kCatUnitOperation,
                                      true,
                                      {"Sample 1.1 Unit", "Unit operation registered as CAPE-OPEN 1.1",
                                       "Sample unit operation", "1.1", "1.1.0", kVendorURL, kHelpURL},
                                      true};

// Persistence kinds: 1.0 units (ICapeUnit, ICapeUtilities, ICapeIdentification) with
// ISampleData (SampleHooks.h) for the persisted text and number.
inline constexpr ClassInfo kStorageUnit = {  // IPersistStorage
    "StorageUnit",
    TXS_PROGID("TxSamples.StorageUnit.1"),
    "TxSamples.StorageUnit",
    {0x670DA41E, 0xFD25, 0x449F, {0xA2, 0xCD, 0x36, 0x77, 0x4E, 0x60, 0x47, 0x2A}},
    kUnitsDll,
    kCatUnitOperation,
    true,
    {"Sample Storage Unit", "Saves itself through IPersistStorage", "Sample unit operation", "1.0", "1.0.0", kVendorURL,
     kHelpURL},
    true};
inline constexpr ClassInfo kStreamUnit = {  // IPersistStream
    "StreamUnit",
    TXS_PROGID("TxSamples.StreamUnit.1"),
    "TxSamples.StreamUnit",
    {0x55AD10AC, 0xD9E4, 0x4166, {0xB6, 0x70, 0x9B, 0x7B, 0x7F, 0x69, 0x11, 0x3F}},
    kUnitsDll,
    kCatUnitOperation,
    true,
    {"Sample Stream Unit", "Saves itself through IPersistStream", "Sample unit operation", "1.0", "1.0.0", kVendorURL,
     kHelpURL},
    true};
inline constexpr ClassInfo kStreamInitUnit = {  // IPersistStreamInit
    "StreamInitUnit",
    TXS_PROGID("TxSamples.StreamInitUnit.1"),
    "TxSamples.StreamInitUnit",
    {0x60319149, 0xFB8C, 0x4D65, {0x8B, 0x2D, 0xD5, 0x5A, 0x40, 0x3A, 0x66, 0x8D}},
    kUnitsDll,
    kCatUnitOperation,
    true,
    {"Sample Stream Init Unit", "Saves itself through IPersistStreamInit", "Sample unit operation", "1.0", "1.0.0",
     kVendorURL, kHelpURL},
    true};
// The unit registered in several scripts (UTF-8): 'Überhitzer ポンプ Насос 𠮷' (Latin-1,
// Japanese, Cyrillic and a character beyond the Basic Multilingual Plane), and a
// description in the same scripts.
inline constexpr char kScriptsName[] = u8"\u00DCberhitzer \u30DD\u30F3\u30D7 \u041D\u0430\u0441\u043E\u0441 \U00020BB7";
inline constexpr char kScriptsDescription[] =
    u8"Offers IPersistStorage and IPersistStreamInit; \u00FCberhitzt \u2013 \u904E\u71B1\u30DD\u30F3\u30D7, "
    u8"\u043D\u0430\u0441\u043E\u0441";
inline constexpr ClassInfo kDualPersistUnit = {  // IPersistStorage and IPersistStreamInit
    "DualPersistUnit",
    TXS_PROGID("TxSamples.DualPersistUnit.1"),
    "TxSamples.DualPersistUnit",
    {0x647C448C, 0x41EB, 0x4320, {0xA0, 0x69, 0x83, 0xC8, 0xD4, 0x5B, 0x10, 0x43}},
    kUnitsDll,
    kCatUnitOperation,
    true,
    {kScriptsName, kScriptsDescription, "Sample unit operation", "1.0", "1.0.0", kVendorURL, kHelpURL},
    true};
// The unit without COM persistence is kMixer.

// Host DLL ---------------------------------------------------------------------------

// The host's container over a compound file (ISampleHostControl in SampleHooks.h).
// Not a CAPE-OPEN component: no categories, no CapeDescription.
inline constexpr ClassInfo kHostContainer = {
    "HostContainer",
    TXS_PROGID("TxSamples.HostContainer.1"),
    "TxSamples.HostContainer",
    {0x1009870B, 0x915B, 0x4012, {0xA7, 0xAE, 0x7D, 0xD3, 0xF7, 0xB0, 0x9D, 0xB3}},
    kHostDll,
    0,
    false,
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    true};

// Zoo DLL ----------------------------------------------------------------------------

#define TXS_ZOO_VALUES(name, description, version) \
  { name, description, "Fault zoo member", version, "0.0.1", kVendorURL, kHelpURL }

// QueryInterface answers E_FAIL to everything, IUnknown included; the class object hands
// the object out without asking it. Unit Operations and Thermo Property Systems.
inline constexpr ClassInfo kQIFails = {"QIFails",
                                       TXS_PROGID("TxSamples.Zoo.QIFails.1"),
                                       "TxSamples.Zoo.QIFails",
                                       {0x9A7AFC07, 0xFC9A, 0x4E33, {0x83, 0x1E, 0xD2, 0x88, 0x0C, 0x82, 0x95, 0x57}},
                                       kZooDll,
                                       kCatUnitOperation | kCatThermoSystem,
                                       true,
                                       TXS_ZOO_VALUES("Zoo QI Fails", "QueryInterface fails with E_FAIL", "1.0"),
                                       true};

// QueryInterface answers S_OK with a null pointer for every interface but IUnknown; its
// class object asks it like any other. Unit Operations and Property Packages.
inline constexpr ClassInfo kNullQI = {
    "NullQI",
    TXS_PROGID("TxSamples.Zoo.NullQI.1"),
    "TxSamples.Zoo.NullQI",
    {0x0B503622, 0x29F8, 0x4069, {0xA1, 0x37, 0x76, 0xEA, 0x59, 0xA0, 0x4F, 0xCF}},
    kZooDll,
    kCatUnitOperation | kCatPropertyPackage,
    true,
    TXS_ZOO_VALUES("Zoo Null QI", "QueryInterface succeeds without a pointer", "1.0"),
    true};

// 1.0 unit whose Terminate fails with COM error information (kTerminateError...).
inline constexpr ClassInfo kTerminateFails = {
    "TerminateFails",
    TXS_PROGID("TxSamples.Zoo.TerminateFails.1"),
    "TxSamples.Zoo.TerminateFails",
    {0x4C6BBD69, 0xF01F, 0x4271, {0xA7, 0x99, 0x14, 0x17, 0x69, 0x4A, 0x45, 0xD3}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Terminate Fails", "Terminate fails with error information", "1.0"),
    true};

// Property system whose Initialize fails with COM error information; packages kZooPackageName.
inline constexpr ClassInfo kInitializeFails = {
    "InitializeFails",
    TXS_PROGID("TxSamples.Zoo.InitializeFails.1"),
    "TxSamples.Zoo.InitializeFails",
    {0xAE4E66F0, 0x89A3, 0x411F, {0x8C, 0xB9, 0x4F, 0xB1, 0xE0, 0xEA, 0x64, 0x2D}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Initialize Fails", "Initialize fails with error information", "1.0"),
    true};

// Persistence faults: 1.0 units; failures carry COM error information (kPersistError...).
inline constexpr ClassInfo kInitNewFails = {  // IPersistStreamInit, InitNew fails
    "InitNewFails",
    TXS_PROGID("TxSamples.Zoo.InitNewFails.1"),
    "TxSamples.Zoo.InitNewFails",
    {0x41EE6F86, 0xEEE5, 0x477C, {0xA6, 0x54, 0x71, 0xF9, 0x53, 0x5E, 0xEA, 0x74}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo InitNew Fails", "IPersistStreamInit::InitNew fails", "1.0"),
    true};
inline constexpr ClassInfo kInitNewFailsStorage = {  // IPersistStorage, InitNew fails
    "InitNewFailsStorage",
    TXS_PROGID("TxSamples.Zoo.InitNewFailsStorage.1"),
    "TxSamples.Zoo.InitNewFailsStorage",
    {0xB1F75714, 0x5E68, 0x4A63, {0xAD, 0x5D, 0x98, 0x8E, 0x73, 0x10, 0xA0, 0xA5}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Storage InitNew Fails", "IPersistStorage::InitNew fails", "1.0"),
    true};
inline constexpr ClassInfo kLoadFails = {  // IPersistStreamInit, Load fails
    "LoadFails",
    TXS_PROGID("TxSamples.Zoo.LoadFails.1"),
    "TxSamples.Zoo.LoadFails",
    {0xB15C515B, 0x7DC0, 0x43D4, {0x9E, 0x42, 0x3C, 0x28, 0x34, 0x14, 0x94, 0x90}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Load Fails", "IPersistStreamInit::Load fails", "1.0"),
    true};
inline constexpr ClassInfo kLoadFailsStorage = {  // IPersistStorage, Load fails
    "LoadFailsStorage",
    TXS_PROGID("TxSamples.Zoo.LoadFailsStorage.1"),
    "TxSamples.Zoo.LoadFailsStorage",
    {0x3B17AA32, 0x79C8, 0x43A0, {0x91, 0x9B, 0xEA, 0xF6, 0xDF, 0x9E, 0x97, 0x73}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Storage Load Fails", "IPersistStorage::Load fails", "1.0"),
    true};
inline constexpr ClassInfo kLoadFailsStream = {  // IPersistStream, Load fails
    "LoadFailsStream",
    TXS_PROGID("TxSamples.Zoo.LoadFailsStream.1"),
    "TxSamples.Zoo.LoadFailsStream",
    {0xD3CD4892, 0x2F27, 0x43DB, {0xAA, 0x58, 0x1A, 0xA6, 0xE0, 0x7B, 0x56, 0x29}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Stream Load Fails", "IPersistStream::Load fails", "1.0"),
    true};
inline constexpr ClassInfo kSaveFails = {  // IPersistStreamInit, Save fails
    "SaveFails",
    TXS_PROGID("TxSamples.Zoo.SaveFails.1"),
    "TxSamples.Zoo.SaveFails",
    {0xFDD66576, 0xC7B5, 0x4BCA, {0x83, 0x59, 0xC1, 0x16, 0xDE, 0xB2, 0x7B, 0x1D}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Save Fails", "IPersistStreamInit::Save fails", "1.0"),
    true};
// Load and InitNew return 0x800A02E1 (kAutomationQuirk) after doing their work.
inline constexpr ClassInfo kQuirk800A02E1 = {  // IPersistStreamInit
    "Quirk800A02E1",
    TXS_PROGID("TxSamples.Zoo.Quirk800A02E1.1"),
    "TxSamples.Zoo.Quirk800A02E1",
    {0x87880E67, 0xAB4D, 0x4B7E, {0x8E, 0x80, 0x8E, 0xDF, 0x82, 0xD3, 0xFE, 0xE5}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo 800A02E1", "Load and InitNew return 0x800A02E1", "1.0"),
    true};
inline constexpr ClassInfo kQuirk800A02E1Storage = {  // IPersistStorage
    "Quirk800A02E1Storage",
    TXS_PROGID("TxSamples.Zoo.Quirk800A02E1Storage.1"),
    "TxSamples.Zoo.Quirk800A02E1Storage",
    {0xC019072D, 0x3EA9, 0x4E2C, {0xB6, 0xA7, 0xEB, 0x9E, 0xB3, 0x4A, 0xCA, 0x07}},
    kZooDll,
    kCatUnitOperation,
    true,
    TXS_ZOO_VALUES("Zoo Storage 800A02E1", "IPersistStorage Load and InitNew return 0x800A02E1", "1.0"),
    true};

// Property systems with odd package lists. Each resolves kZooPackageName to a sound package.
inline constexpr ClassInfo kEmptyPackageList = {  // an array without elements
    "EmptyPackageList",
    TXS_PROGID("TxSamples.Zoo.EmptyPackageList.1"),
    "TxSamples.Zoo.EmptyPackageList",
    {0xC4F1AC92, 0x08AB, 0x4B2C, {0x8B, 0x7F, 0x0B, 0xA5, 0x8F, 0x8F, 0x20, 0xED}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Empty Package List", "GetPropertyPackages gives an empty array", "1.0"),
    true};
inline constexpr ClassInfo kLowestEmptyPackageList = {  // no elements from the lowest LONG on
    "LowestEmptyPackageList",
    TXS_PROGID("TxSamples.Zoo.LowestEmptyPackageList.1"),
    "TxSamples.Zoo.LowestEmptyPackageList",
    {0x57054396, 0x1C83, 0x41F3, {0x94, 0x4F, 0xE2, 0x49, 0x8E, 0x98, 0xB9, 0xE1}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Lowest Empty Package List", "GetPropertyPackages gives an empty array at the lowest index",
                   "1.0"),
    true};
inline constexpr ClassInfo kNoPackageList = {  // S_OK and an empty VARIANT
    "NoPackageList",
    TXS_PROGID("TxSamples.Zoo.NoPackageList.1"),
    "TxSamples.Zoo.NoPackageList",
    {0xC11023E5, 0x9504, 0x4A39, {0x9F, 0x6A, 0x85, 0xFE, 0x5C, 0x30, 0x39, 0x44}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo No Package List", "GetPropertyPackages gives no array", "1.0"),
    true};
inline constexpr ClassInfo kVariantPackageList = {  // VT_ARRAY|VT_VARIANT of BSTRs; registered "0.93"
    "VariantPackageList",
    TXS_PROGID("TxSamples.Zoo.VariantPackageList.1"),
    "TxSamples.Zoo.VariantPackageList",
    {0x6FA8EE42, 0xCB17, 0x40A4, {0xA2, 0x79, 0x96, 0x47, 0xAA, 0xA5, 0xE2, 0x2D}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Variant Package List", "GetPropertyPackages gives VARIANTs holding strings", "0.93"),
    true};
inline constexpr ClassInfo kNumberPackageList = {  // VT_ARRAY|VT_I4 {1, 2, 3}
    "NumberPackageList",
    TXS_PROGID("TxSamples.Zoo.NumberPackageList.1"),
    "TxSamples.Zoo.NumberPackageList",
    {0x19CD39F0, 0xD3CB, 0x40F6, {0x87, 0xE7, 0x5B, 0xB5, 0x68, 0xEF, 0x3A, 0x26}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Number Package List", "GetPropertyPackages gives an array of VT_I4", "1.0"),
    true};
inline constexpr ClassInfo kTwoDimPackageList = {  // 2 x 2 BSTR array
    "TwoDimPackageList",
    TXS_PROGID("TxSamples.Zoo.TwoDimPackageList.1"),
    "TxSamples.Zoo.TwoDimPackageList",
    {0xAE4EF40E, 0x38F5, 0x4408, {0x92, 0x2D, 0x66, 0xDA, 0xDA, 0x3A, 0x29, 0x45}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Two-Dimensional Package List", "GetPropertyPackages gives a two-dimensional array", "1.0"),
    true};
inline constexpr ClassInfo kFailingPackageList = {  // fails with error information, VARIANT empty
    "FailingPackageList",
    TXS_PROGID("TxSamples.Zoo.FailingPackageList.1"),
    "TxSamples.Zoo.FailingPackageList",
    {0xF908F496, 0x3708, 0x427D, {0xBC, 0x4E, 0x0B, 0x35, 0xC7, 0xD8, 0x73, 0x30}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Failing Package List", "GetPropertyPackages fails", "1.0"),
    true};

// Property system whose packages misbehave, one way each (kFaultPackages).
inline constexpr ClassInfo kFaultySystem = {
    "FaultySystem",
    TXS_PROGID("TxSamples.Zoo.FaultySystem.1"),
    "TxSamples.Zoo.FaultySystem",
    {0xD7012B31, 0xD727, 0x4E41, {0xB0, 0x2B, 0x6A, 0x7A, 0x71, 0xD0, 0x15, 0xCB}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo Faulty Property System", "Its packages misbehave", "1.0"),
    true};

// Registered as a property package; offers IDispatch and ICapeUtilities only.
inline constexpr ClassInfo kPackageWithoutInterface = {
    "PackageWithoutInterface",
    TXS_PROGID("TxSamples.Zoo.PackageWithoutInterface.1"),
    "TxSamples.Zoo.PackageWithoutInterface",
    {0x7A3AFFB1, 0x20B4, 0x4F35, {0x9C, 0xE2, 0x9F, 0x17, 0x53, 0xAA, 0x0D, 0x96}},
    kZooDll,
    kCatPropertyPackage,
    true,
    TXS_ZOO_VALUES("Zoo Package Without Interface", "No ICapeThermoPropertyPackage", "1.0"),
    true};

// Registered as a property system; offers IDispatch only.
inline constexpr ClassInfo kNoThermoSystem = {
    "NoThermoSystem",
    TXS_PROGID("TxSamples.Zoo.NoThermoSystem.1"),
    "TxSamples.Zoo.NoThermoSystem",
    {0xBE47FA17, 0xFD16, 0x4248, {0x87, 0xA3, 0x90, 0x60, 0x73, 0xFB, 0xC9, 0x48}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Zoo No ICapeThermoSystem", "Registered as a property system, offers IDispatch only", "1.0"),
    true};

// Registered values longer than the registry reader's 2047 bytes: Description 3000,
// About 2048, HelpURL exactly 2047 characters. A sound 1.0 unit.
inline constexpr ClassInfo kLongValues = {
    "LongValues",
    TXS_PROGID("TxSamples.Zoo.LongValues.1"),
    "TxSamples.Zoo.LongValues",
    {0xB613D24E, 0xD058, 0x4876, {0x81, 0x4F, 0x98, 0x49, 0x19, 0x18, 0x71, 0x28}},
    kZooDll,
    kCatUnitOperation,
    true,
    {"Zoo Long Values", kLongDescription.text, kLongAbout.text, "1.0", "0.0.1", kVendorURL, kLongHelpURL.text},
    true};

// Property system whose Name holds brackets around another system's ProgID; its own
// package is kBracketPackageName.
inline constexpr ClassInfo kBracketName = {
    "BracketName",
    TXS_PROGID("TxSamples.Zoo.BracketName.1"),
    "TxSamples.Zoo.BracketName",
    {0x3560C2E2, 0xD9C0, 0x4C1B, {0xB2, 0x09, 0x94, 0x2B, 0xC8, 0x20, 0x00, 0x6F}},
    kZooDll,
    kCatThermoSystem,
    true,
    TXS_ZOO_VALUES("Bracket [TxSamples.ThermoSystem.1] System", "Name holds [ and ]", "1.0"),
    true};

// About holding kEscapesAbout. A sound 1.0 unit.
inline constexpr ClassInfo kAboutEscapes = {
    "AboutEscapes",
    TXS_PROGID("TxSamples.Zoo.AboutEscapes.1"),
    "TxSamples.Zoo.AboutEscapes",
    {0x62B36BB0, 0x2C07, 0x43B4, {0xBB, 0x5C, 0x31, 0x0A, 0xDE, 0x97, 0x18, 0xE7}},
    kZooDll,
    kCatUnitOperation,
    true,
    {"Zoo About Escapes", "About holds escape and format sequences", kEscapesAbout, "1.0", "0.0.1", kVendorURL,
     kHelpURL},
    true};

// No CapeDescription key at all. A sound 1.0 unit.
inline constexpr ClassInfo kNoDescription = {
    "NoDescription",
    TXS_PROGID("TxSamples.Zoo.NoDescription.1"),
    "TxSamples.Zoo.NoDescription",
    {0x82FCD8BE, 0x3C32, 0x460A, {0x9E, 0x2D, 0x82, 0xB0, 0xBF, 0x5E, 0x0B, 0x04}},
    kZooDll,
    kCatUnitOperation,
    false,
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    true};

// ProgID and CLSID registered, but no InprocServer32: creation fails (REGDB_E_CLASSNOTREG).
inline constexpr ClassInfo kNoServer = {"NoServer",
                                        TXS_PROGID("TxSamples.Zoo.NoServer.1"),
                                        "TxSamples.Zoo.NoServer",
                                        {0x79CB1672, 0x3673, 0x48DC, {0xA0, 0x70, 0x1F, 0x9D, 0xFF, 0x57, 0x1C, 0xE1}},
                                        kZooDll,
                                        kCatUnitOperation,
                                        true,
                                        TXS_ZOO_VALUES("Zoo No Server", "Its CLSID has no server", "1.0"),
                                        false};

#undef TXS_ZOO_VALUES

// Planted registrations -------------------------------------------------------------
// What users meet on real machines, written by TxSamplePlanted.dll into the registry view
// that each names (the 32-bit one is KEY_WOW64_32KEY), with the server file it names.

#define TXS_PLANTED_VALUES(name, description) \
  { name, description, "Planted registration, for tests", "1.0", "1.0", kVendorURL, kHelpURL }
// The planted classes' CLSIDs differ in their last byte only.
#define TXS_PLANTED(category, key, progId, last, dll, name, description)                                            \
  {key, TXS_PROGID(progId), progId, {0x5E1F0C3A, 0x7B21, 0x4C55, {0x9A, 0x10, 0x3D, 0x6E, 0x21, 0x84, 0xB7, last}}, \
   dll, category, true, TXS_PLANTED_VALUES(name, description), true}

// The mixer built for 32-bit hosts, registered in the 32-bit view only.
inline constexpr ClassInfo kX86Mixer = TXS_PLANTED(kCatUnitOperation, "X86Mixer", "TxSamples.X86Mixer.1", 0x01, kUnits32Dll,
                                                   "Sample Mixer (32-bit)", "The mixer, built for 32-bit hosts");
// A 64-bit registration whose server is the 32-bit DLL.
inline constexpr ClassInfo kX86Under64 = TXS_PLANTED(kCatUnitOperation, "X86Under64", "TxSamples.Zoo.X86Under64.1", 0x02,
                                                     kUnits32Dll, "Zoo x86 Server", "A 64-bit registration of an x86 DLL");
// A 32-bit registration whose server is a 64-bit DLL.
inline constexpr ClassInfo kX64Under32 = TXS_PLANTED(kCatUnitOperation, "X64Under32", "TxSamples.Zoo.X64Under32.1", 0x03,
                                                     kPlantedDll, "Zoo x64 Server", "A 32-bit registration of an x64 DLL");
// A .NET component (server mscoree.dll) whose assembly file is not there.
inline constexpr ClassInfo kDotNetMissing = TXS_PLANTED(kCatUnitOperation, "DotNetMissing",
                                                        "TxSamples.Zoo.DotNetMissing.1", 0x04, "mscoree.dll",
                                                        "Zoo .NET Unit", "Its assembly has moved");
inline constexpr char kDotNetClass[] = "TxSamples.Zoo.DotNetUnit";
inline constexpr char kDotNetAssembly[] = "TxSamples.Zoo.DotNet, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null";
inline constexpr char kDotNetAssemblyFile[] = "TxSamples.Zoo.DotNet.dll";  // beside the planter, never made
inline constexpr char kDotNetRuntime[] = "v4.0.30319";
// Bad server files, in the 32-bit view (where the product's catalogue does not look).
inline constexpr ClassInfo kMissingFile32 = TXS_PLANTED(kCatUnitOperation, "MissingFile32",
                                                        "TxSamples.Zoo.MissingFile32.1", 0x05, "TxSamples.Zoo.Missing.dll",
                                                        "Zoo Missing File", "No such file");
inline constexpr ClassInfo kNotPE32 = TXS_PLANTED(kCatUnitOperation, "NotPE32", "TxSamples.Zoo.NotPE32.1", 0x06,
                                                  "TxSamples.Zoo.NotPE.dll", "Zoo Text File", "A text file");
inline constexpr ClassInfo kTruncatedPE32 = TXS_PLANTED(kCatUnitOperation, "TruncatedPE32",
                                                        "TxSamples.Zoo.TruncatedPE32.1", 0x07, "TxSamples.Zoo.Truncated.dll",
                                                        "Zoo Truncated DLL", "The first bytes of a DLL");
inline constexpr ClassInfo kLongPath32 = TXS_PLANTED(kCatUnitOperation, "LongPath32", "TxSamples.Zoo.LongPath32.1", 0x08,
                                                     "", "Zoo Long Path", "A server path of 1 MB");
inline constexpr size_t kLongPathBytes = 1 << 20;
// An equilibrium server of the 32-bit build: its interface is in no registered library.
inline constexpr ClassInfo kEquilibriumServer32 =
    TXS_PLANTED(kCatEquilibriumServer, "EquilibriumServer32", "TxSamples.Zoo.EquilibriumServer32.1", 0x09,
                kUnits32Dll, "Zoo Equilibrium Server", "Its interface is not registered");
#undef TXS_PLANTED
#undef TXS_PLANTED_VALUES

// Every class of each DLL, in registration order.
inline constexpr const ClassInfo* kThermoClasses[] = {&kThermoSystem, &kPropertyPackage};
inline constexpr const ClassInfo* kUnitsClasses[] = {&kMixer,      &kUnit093,        &kUnitNo10,
                                                     &kUnit09,     &kUnit11,         &kStorageUnit,
                                                     &kStreamUnit, &kStreamInitUnit, &kDualPersistUnit};
inline constexpr const ClassInfo* kHostClasses[] = {&kHostContainer};
inline constexpr const ClassInfo* kZooClasses[] = {&kQIFails,
                                                   &kNullQI,
                                                   &kTerminateFails,
                                                   &kInitializeFails,
                                                   &kInitNewFails,
                                                   &kInitNewFailsStorage,
                                                   &kLoadFails,
                                                   &kLoadFailsStorage,
                                                   &kLoadFailsStream,
                                                   &kSaveFails,
                                                   &kQuirk800A02E1,
                                                   &kQuirk800A02E1Storage,
                                                   &kEmptyPackageList,
                                                   &kLowestEmptyPackageList,
                                                   &kNoPackageList,
                                                   &kVariantPackageList,
                                                   &kNumberPackageList,
                                                   &kTwoDimPackageList,
                                                   &kFailingPackageList,
                                                   &kFaultySystem,
                                                   &kPackageWithoutInterface,
                                                   &kNoThermoSystem,
                                                   &kLongValues,
                                                   &kBracketName,
                                                   &kAboutEscapes,
                                                   &kNoDescription,
                                                   &kNoServer};

// --- Package data ------------------------------------------------------------------

struct Compound {
  const char* id;       // compIds
  const char* formula;  // formulae
  const char* name;     // names
  double boilTemp;      // boilTemps, K
  double molWt;         // molWt, g/mol
  const char* casNo;    // casNo
};

struct PackageData {
  const char* name;  // the package name (ResolvePropertyPackage, PropertyPackages\<name>)
  const Compound* compounds;
  int compoundCount;
  const char* const* phases;
  int phaseCount;
  const char* const* properties;
  int propertyCount;
  CapeValues values;  // registered under the system's PropertyPackages\<name>\CapeDescription
};

inline constexpr Compound kWaterEthanol[] = {
    {"water", "H2O", "Water", 373.15, 18.015, "7732-18-5"},
    {"ethanol", "C2H6O", "Ethanol", 351.44, 46.069, "64-17-5"},
};
inline constexpr Compound kLightHydrocarbons[] = {
    {"methane", "CH4", "Methane", 111.66, 16.043, "74-82-8"},
    {"ethane", "C2H6", "Ethane", 184.55, 30.070, "74-84-0"},
    {"propane", "C3H8", "Propane", 231.11, 44.097, "74-98-6"},
    {"n-butane", "C4H10", "n-Butane", 272.65, 58.123, "106-97-8"},
};
inline constexpr Compound kAir[] = {
    {"nitrogen", "N2", "Nitrogen", 77.35, 28.014, "7727-37-9"},
    {"oxygen", "O2", "Oxygen", 90.19, 31.999, "7782-44-7"},
    {"argon", "Ar", "Argon", 87.30, 39.948, "7440-37-1"},
};
inline constexpr Compound kRefrigerants[] = {
    {"R134a", "C2H2F4", "1,1,1,2-Tetrafluoroethane", 247.08, 102.03, "811-97-2"},
    {"ammonia", "NH3", "Ammonia", 239.82, 17.031, "7664-41-7"},
    {"carbon dioxide", "CO2", "Carbon Dioxide", 194.67, 44.010, "124-38-9"},
};

inline constexpr const char* kVaporLiquid[] = {"Vapor", "Liquid"};
inline constexpr const char* kVaporOnly[] = {"Vapor"};
inline constexpr const char* kActivityProperties[] = {"activityCoefficient", "enthalpy",     "entropy", "density",
                                                      "fugacityCoefficient", "vaporPressure"};
inline constexpr const char* kEquationOfStateProperties[] = {
    "fugacityCoefficient", "enthalpy", "entropy", "density", "compressibilityFactor", "heatCapacity",
    "thermalConductivity", "viscosity"};
inline constexpr const char* kIdealGasProperties[] = {"enthalpy", "entropy", "heatCapacity", "density"};
inline constexpr const char* kRefrigerantProperties[] = {"enthalpy", "entropy", "density", "vaporPressure",
                                                         "heatCapacity"};

#define TXS_COUNT(array) static_cast<int>(sizeof(array) / sizeof((array)[0]))
#define TXS_PACKAGE(name, compounds, phases, properties, values) \
  { name, compounds, TXS_COUNT(compounds), phases, TXS_COUNT(phases), properties, TXS_COUNT(properties), values }

// The packages of kThermoSystem, in the order GetPropertyPackages lists them.
inline constexpr PackageData kSystemPackages[] = {
    TXS_PACKAGE("Water-Ethanol NRTL", kWaterEthanol, kVaporLiquid, kActivityProperties,
                (CapeValues{"Water-Ethanol NRTL", "Activity coefficient package for water and ethanol",
                            "NRTL liquid, ideal vapour", "1.0", "1.2.3", kVendorURL, kHelpURL})),
    TXS_PACKAGE("Light Hydrocarbons PR", kLightHydrocarbons, kVaporLiquid, kEquationOfStateProperties,
                (CapeValues{"Light Hydrocarbons PR", "Equation of state package for C1 to C4",
                            "Peng-Robinson equation of state", "1.0", "1.2.3", kVendorURL, kHelpURL})),
    TXS_PACKAGE(
        "Air Ideal Gas", kAir, kVaporOnly, kIdealGasProperties,
        (CapeValues{"Air Ideal Gas", "Ideal gas package for air", "Ideal gas", "1.0", "1.2.3", kVendorURL, kHelpURL})),
};
inline constexpr int kSystemPackageCount = TXS_COUNT(kSystemPackages);

// The data of the standalone package kPropertyPackage (its name is the registered Name).
inline constexpr PackageData kStandalonePackage = TXS_PACKAGE(
    "Sample Refrigerants Package", kRefrigerants, kVaporLiquid, kRefrigerantProperties,
    (CapeValues{"Sample Refrigerants Package", "Standalone property package of three refrigerants",
                "Sample property package, for demonstration and tests", "1.0", "2.0", kVendorURL, kHelpURL}));

// The one package that every zoo property system resolves (data of "Air Ideal Gas").
inline constexpr char kZooPackageName[] = "Zoo Package";
// The package of kBracketName.
inline constexpr char kBracketPackageName[] = "Bracket Package";
// What the zoo systems' odd lists hold: kVariantPackageList the first two as VARIANTs,
// kTwoDimPackageList all four as 2 x 2 (element k at indices {k % 2, k / 2}). Every zoo
// property system resolves each of these names to a sound package.
inline constexpr const char* kZooListedNames[] = {"Zoo Package", "Zoo Package 2", "Zoo Package 3", "Zoo Package 4"};
inline constexpr int kNumberPackageListValues[] = {1, 2, 3};

// Packages of kFaultySystem, in list order, each with its fault.
inline constexpr char kFaultNullPackage[] = "NullPackage";                // Resolve: S_OK, null object
inline constexpr char kFaultNotAPackage[] = "NotAPackage";                // object without ICapeThermoPropertyPackage
inline constexpr char kFaultComponentListFails[] = "ComponentListFails";  // GetComponentList fails
inline constexpr char kFaultPhaseListFails[] = "PhaseListFails";          // GetPhaseList fails
inline constexpr char kFaultPropListFails[] = "PropListFails";            // GetPropList fails
inline constexpr char kFaultLowerBoundOne[] = "LowerBoundOne";            // every list with lower bound 1
inline constexpr char kFaultNumberLists[] = "NumberLists";                // every list of VT_R8 numbers
inline constexpr char kFaultInitializeFails[] = "InitializeFails";        // package Initialize fails
inline constexpr char kFaultEditFails[] = "EditFails";                    // package Edit fails
inline constexpr const char* kFaultPackages[] = {kFaultNullPackage,    kFaultNotAPackage,     kFaultComponentListFails,
                                                 kFaultPhaseListFails, kFaultPropListFails,   kFaultLowerBoundOne,
                                                 kFaultNumberLists,    kFaultInitializeFails, kFaultEditFails};
inline constexpr int kFaultPackageCount = TXS_COUNT(kFaultPackages);
// The faulty packages answer with the data of "Air Ideal Gas" where they answer at all;
// NumberLists gives 1, 2, 3 ... (as doubles) of each list's length.

#undef TXS_PACKAGE

// --- Failures and persisted data ---------------------------------------------------

// Failing calls set COM error information (source kErrorSource) with these descriptions
// and return E_FAIL unless said otherwise.
inline constexpr wchar_t kErrorSource[] = L"TxSamples";
inline constexpr wchar_t kTerminateError[] = L"Terminate failed on purpose";
inline constexpr wchar_t kInitializeError[] = L"Initialize failed on purpose";
inline constexpr wchar_t kEditError[] = L"Edit failed on purpose";
inline constexpr wchar_t kListError[] = L"List request failed on purpose";
inline constexpr wchar_t kPersistError[] = L"Persistence failed on purpose";
inline constexpr wchar_t kUnknownPackageError[] = L"No property package of that name";
inline constexpr HRESULT kAutomationQuirk = static_cast<HRESULT>(0x800A02E1);

// Persistence units: a new object holds an empty text and 0; InitNew sets these.
inline constexpr wchar_t kInitNewText[] = L"initialised";
inline constexpr double kInitNewNumber = 1.5;
// IPersistStorage writes its record into this stream of the storage it is given.
inline constexpr wchar_t kStorageDataStream[] = L"SampleData";

// The Edit window's caption: the component's registered Name followed by this.
inline constexpr char kEditCaptionSuffix[] = " - Edit";

}  // namespace txs
