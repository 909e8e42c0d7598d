// The DLL as a file that hosts load: what it exports, what it needs at run time (nothing
// beyond Windows' own libraries), and the resources it carries.
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>
#include "common/TestSupport.h"

namespace {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(tx::productDll().c_str());
    ASSERT_NE(nullptr, module_);
    base_ = reinterpret_cast<const BYTE*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base_);
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    nt_ = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base_ + dos->e_lfanew);
    ASSERT_EQ(IMAGE_NT_SIGNATURE, nt_->Signature);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  const IMAGE_DATA_DIRECTORY& directory(int index) const { return nt_->OptionalHeader.DataDirectory[index]; }
  template <class T>
  const T* at(DWORD rva) const {
    return reinterpret_cast<const T*>(base_ + rva);
  }

  HMODULE module_ = nullptr;
  const BYTE* base_ = nullptr;
  const IMAGE_NT_HEADERS64* nt_ = nullptr;
};

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

TEST_F(ModuleTest, SixtyFourBitDllExportingTheFourEntryPointsByName) {
  EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, nt_->FileHeader.Machine);
  EXPECT_TRUE(nt_->FileHeader.Characteristics & IMAGE_FILE_DLL);
  const IMAGE_DATA_DIRECTORY& exports = directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
  ASSERT_NE(0u, exports.VirtualAddress);
  const auto* table = at<IMAGE_EXPORT_DIRECTORY>(exports.VirtualAddress);
  std::vector<std::string> names;
  const DWORD* nameRvas = at<DWORD>(table->AddressOfNames);
  for (DWORD i = 0; i < table->NumberOfNames; ++i) names.push_back(at<char>(nameRvas[i]));
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                      "DllUnregisterServer"}),
            names);
}

TEST_F(ModuleTest, NeedsNoRuntimeLibraryOfTheCompiler) {
  const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "GDI32.DLL",
                                        "KERNEL32.DLL", "MSVCRT.DLL",   "OLE32.DLL",    "OLEAUT32.DLL",
                                        "SHELL32.DLL",  "SHLWAPI.DLL",  "USER32.DLL",   "VERSION.DLL"};
  const IMAGE_DATA_DIRECTORY& imports = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
  ASSERT_NE(0u, imports.VirtualAddress);
  int count = 0;
  for (const auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(imports.VirtualAddress); entry->Name; ++entry, ++count) {
    std::string name = upper(at<char>(entry->Name));
    EXPECT_TRUE(system.count(name)) << name << " is not a library of Windows itself";
  }
  EXPECT_GT(count, 0);
}

TEST_F(ModuleTest, CarriesTypeLibraryRegistryScriptIconAndVersion) {
  EXPECT_NE(nullptr, FindResourceA(module_, MAKEINTRESOURCEA(1), "TYPELIB"));
  HRSRC script = FindResourceA(module_, MAKEINTRESOURCEA(103), "REGISTRY");
  ASSERT_NE(nullptr, script);
  std::string text(static_cast<const char*>(LockResource(LoadResource(module_, script))),
                   SizeofResource(module_, script));
  EXPECT_NE(std::string::npos, text.find("%MODULE%"));
  EXPECT_NE(std::string::npos, text.find("TxShowCOCATIDs.CCAPEGUI"));
  EXPECT_NE(nullptr, LoadIconA(module_, MAKEINTRESOURCEA(217)));

  std::string path = tx::productDll();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\OriginalFilename",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ("TxCOGUI.dll", value);
  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}
