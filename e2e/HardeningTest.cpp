// What a portable program downloaded into any folder must not do: import DLLs that can
// be planted beside it, load a planted DLL at run time, or leave files and registry keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "Driver.h"

namespace tintelo::e2e {
namespace {

std::vector<unsigned char> ReadFile(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename T>
bool ReadAt(const std::vector<unsigned char>& file, std::size_t offset, T& value) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return true;
}

// The DLL names in a PE file's import directory, lower case.
std::set<std::string> ImportedDlls(const std::vector<unsigned char>& file) {
  std::set<std::string> names;
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  if (!ReadAt(file, 0, dos) || !ReadAt(file, static_cast<std::size_t>(dos.e_lfanew), nt)) return names;
  const auto sectionsAt = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!ReadAt(file, sectionsAt + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return names;
  }
  const auto toOffset = [&](DWORD rva) -> std::size_t {
    for (const auto& s : sections) {
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData)) {
        return rva - s.VirtualAddress + s.PointerToRawData;
      }
    }
    return file.size();
  };
  const DWORD importRva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t at = toOffset(importRva);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR entry{};
    if (!ReadAt(file, at, entry) || entry.Name == 0) break;
    std::string name;
    for (std::size_t p = toOffset(entry.Name); p < file.size() && file[p] != 0; ++p) {
      name.push_back(static_cast<char>(std::tolower(file[p])));
    }
    names.insert(name);
  }
  return names;
}

TEST(Hardening, ImportsOnlyKnownOrManifestLoadedDlls) {
  const auto imports = ImportedDlls(ReadFile(BesideThisProgram(L"Tintelo.exe")));
  ASSERT_FALSE(imports.empty()) << "no import table found";
  // KnownDLLs always come from System32; comctl32 comes through the manifest's
  // side-by-side Common Controls 6 dependency.
  const std::set<std::string> allowed{"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "comctl32.dll"};
  for (const auto& dll : imports) EXPECT_TRUE(allowed.count(dll)) << dll << " can be planted beside the program";
}

TEST(Hardening, ImportTableReaderSeesTheTestProgramsOwnImports) {
  // The reader above must find real imports, or the check it serves proves nothing.
  const auto imports = ImportedDlls(ReadFile(BesideThisProgram(L"tintelo_e2e.exe")));
  EXPECT_TRUE(imports.count("kernel32.dll"));
  EXPECT_TRUE(imports.count("user32.dll"));
}

HWND FindDialogOf(DWORD processId) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w = FindWindowW(L"#32770", nullptr); w != nullptr; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == processId && IsWindowVisible(w)) {
        found = w;
        return true;
      }
    }
    return false;
  });
  return found;
}

// Makes Wine prefer a native DLL of that name for Tintelo.exe (beside the program
// first, in the default search order) instead of its own; removed on scope exit.
class PreferNativeDll {
 public:
  explicit PreferNativeDll(const wchar_t* name) : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
    static constexpr wchar_t kNativeFirst[] = L"native,builtin";
    RegSetValueExW(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst), sizeof(kNativeFirst));
  }
  ~PreferNativeDll() {
    RegDeleteValueW(key_, name_);
    RegCloseKey(key_);
  }
  PreferNativeDll(const PreferNativeDll&) = delete;
  PreferNativeDll& operator=(const PreferNativeDll&) = delete;

 private:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Tintelo.exe\\DllOverrides";
  const wchar_t* name_;
  HKEY key_ = nullptr;
};

// The colour dialog's library is loaded on first use; a copy planted beside the
// program must never be the one loaded, even when Wine is told to prefer native DLLs.
TEST(Hardening, PlantedDllBesideTheProgramIsNeverLoaded) {
  const std::wstring planted = BesideThisProgram(L"comdlg32.dll");
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"planted_comdlg32.dll").c_str(), planted.c_str(), FALSE));
  {
    const PreferNativeDll preferPlanted(L"comdlg32");
    Tintelo app;
    ASSERT_NE(app.Window(), nullptr);
    Click(CentreOnScreen(app.Control(ids::kImage1)));
    HWND dialog = FindDialogOf(app.ProcessId());
    HANDLE marker = OpenEventW(SYNCHRONIZE, FALSE, L"Local\\TinteloPlantedDllLoaded");
    EXPECT_EQ(marker, nullptr) << "the planted DLL was loaded";
    if (marker != nullptr) CloseHandle(marker);
    EXPECT_NE(dialog, nullptr) << "the system colour dialog did not open";
    if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; });
  }
  DeleteFileW(planted.c_str());
}

}  // namespace
}  // namespace tintelo::e2e
