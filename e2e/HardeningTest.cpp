// What a portable program downloaded into any folder must not do: import DLLs that can
// be planted beside it, load a planted DLL at run time, or leave files and registry keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"
#include "window/win32/base/Compat.h"

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
  const auto imports = ImportedDlls(ReadFile(TinteloExe()));
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

// The colour dialog's library is loaded on first use; a copy planted beside the
// program must never be the one loaded, even when Wine is told to prefer native DLLs.
TEST(Hardening, PlantedDllBesideTheProgramIsNeverLoaded) {
  if (!UnderWine()) {
    GTEST_SKIP() << "the planted copy is made a threat through Wine's DllOverrides; on Windows comdlg32 is a "
                    "KnownDLL, always loaded from System32, so this test could not fail there";
  }
  const std::wstring planted = BesideTintelo(L"comdlg32.dll");
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"planted_comdlg32.dll").c_str(), planted.c_str(), FALSE));
  {
    const WineDllOverride preferPlanted(L"Tintelo.exe", L"comdlg32", L"native,builtin");
    Tintelo app;
    ASSERT_NE(app.Window(), nullptr);
    HWND dialog = OpenColourDialog(app);
    HANDLE marker = OpenEventW(SYNCHRONIZE, FALSE, L"Local\\TinteloPlantedDllLoaded");
    EXPECT_EQ(marker, nullptr) << "the planted DLL was loaded";
    if (marker != nullptr) CloseHandle(marker);
    EXPECT_NE(dialog, nullptr) << "the system colour dialog did not open";
    if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; });
  }
  DeleteFileW(planted.c_str());
}

// Both ways the program loads a system library take System32's copy, even with a copy
// planted beside the program and Wine told to prefer it: the search flag of Windows 8 and
// later, and the full path left to Windows 7 without KB2533623, which Wine, knowing the
// flag, never makes the program take. Loaded here, in this test program, beside which
// the planted copy lies too.
struct SystemLoad {
  const char* name;
  HMODULE (*load)(const wchar_t*) noexcept;
};

void PrintTo(const SystemLoad& s, std::ostream* out) { *out << s.name; }

class SystemLibraries : public testing::TestWithParam<SystemLoad> {};

TEST_P(SystemLibraries, AreLoadedFromSystem32NeverFromBesideTheProgram) {
  const std::wstring planted = BesideThisProgram(L"comdlg32.dll");
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"planted_comdlg32.dll").c_str(), planted.c_str(), FALSE));
  {
    const WineDllOverride preferPlanted(L"tintelo_e2e.exe", L"comdlg32", L"native,builtin");
    HMODULE library = GetParam().load(L"comdlg32.dll");
    ASSERT_NE(library, nullptr);
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(library, path.data(), MAX_PATH));
    std::wstring system(MAX_PATH, L'\0');
    system.resize(GetSystemDirectoryW(system.data(), MAX_PATH));
    EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, (system + L"\\comdlg32.dll").c_str(), -1, TRUE), CSTR_EQUAL)
        << Narrow(path);
    FreeLibrary(library);
  }
  EXPECT_TRUE(DeleteFileW(planted.c_str())) << "the planted copy is still loaded";
}

INSTANTIATE_TEST_SUITE_P(Loads, SystemLibraries,
                         testing::Values(SystemLoad{"SearchFlag", win::LoadSystemLibrary},
                                         SystemLoad{"FullPath", win::LoadSystemLibraryByPath}),
                         testing_support::CaseName<SystemLoad>);

// Everything a program could leave behind: registry values (with their data) under the
// current user and the machine's software key, and files (with size and time) where
// programs keep settings (AppData, ProgramData) and beside the program itself.
std::set<std::wstring> Traces() {
  std::set<std::wstring> traces;
  const auto walkKey = [&](auto&& self, HKEY root, const std::wstring& path) -> void {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    traces.insert(L"key " + path);
    for (DWORD i = 0;; ++i) {
      wchar_t name[16384];
      DWORD nameLength = 16384;
      BYTE data[4096];
      DWORD dataLength = sizeof(data);
      DWORD type = 0;
      const LONG status = RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) continue;
      std::wstring entry = L"value " + path + L"\\" + name + L"=";
      if (status == ERROR_SUCCESS) {
        for (DWORD b = 0; b < dataLength; ++b) entry += static_cast<wchar_t>(L'a' + (data[b] & 15));
      }
      traces.insert(entry);
    }
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameLength = 256;
      if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      // File associations, the 32-bit view and the system's own machine-wide tree are
      // thousands of keys that Wine reads slowly; a program's settings live elsewhere.
      if (root == HKEY_LOCAL_MACHINE && (lstrcmpiW(name, L"Classes") == 0 || lstrcmpiW(name, L"Wow6432Node") == 0 ||
                                         (path == L"Software" && lstrcmpiW(name, L"Microsoft") == 0))) {
        continue;
      }
      // Wine's volatile copy of the session's system parameters, filled on behalf of
      // whichever program first reads one of them; it is gone with the session.
      if (root == HKEY_CURRENT_USER && path == L"Software\\Wine" &&
          lstrcmpiW(name, L"Temporary System Parameters") == 0) {
        continue;
      }
      self(self, root, path.empty() ? name : path + L"\\" + name);
    }
    RegCloseKey(key);
  };
  walkKey(walkKey, HKEY_CURRENT_USER, L"");
  walkKey(walkKey, HKEY_LOCAL_MACHINE, L"Software");

  // Linked folders (Wine points some profile folders at the Unix home) are not followed.
  const auto walkFiles = [&](auto&& self, const std::wstring& folder, bool deep) -> void {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        traces.insert(L"folder " + path);
        if (deep && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) self(self, path, deep);
      } else {
        traces.insert(L"file " + path + L" " + std::to_wstring(found.nFileSizeLow) + L" " +
                      std::to_wstring(found.ftLastWriteTime.dwLowDateTime));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  };
  wchar_t profile[MAX_PATH] = {};
  GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  walkFiles(walkFiles, std::wstring(profile) + L"\\AppData", true);
  walkFiles(walkFiles, L"C:\\ProgramData", true);
  std::wstring here = BesideTintelo(L"");
  here.pop_back();
  walkFiles(walkFiles, here, false);
  return traces;
}

std::set<std::wstring> Changes(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
  std::set<std::wstring> changed;
  std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                std::inserter(changed, changed.end()));
  return changed;
}

void RunFloorWindow() {
  HANDLE process = StartProgram(L"FloorWindow.exe");
  ASSERT_NE(process, nullptr);
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowW(L"FloorWindow", nullptr)) != nullptr && IsWindowVisible(window); });
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

// Wine itself writes a little for any program that opens a window; that is the baseline.
// Beyond it, a run that samples, copies and opens the colour dialog leaves nothing.
TEST(Hardening, WritesNoFileAndNoRegistryKeyOfItsOwn) {
  if (!UnderWine()) {
    GTEST_SKIP() << "the scan and its filters are made for a private Wine prefix; in a Windows session, Windows "
                    "records each program started and other programs write to the registry and the profile all "
                    "the time";
  }
  const auto start = Traces();
  RunFloorWindow();
  const auto afterFloor = Traces();
  const auto byWine = Changes(start, afterFloor);
  {
    Tintelo app;
    ASSERT_NE(app.Window(), nullptr);
    MovePointer(CentreOnScreen(app.Control(ids::kPicture1)));
    PressButton(MOUSEEVENTF_LEFTDOWN);
    MovePointer(POINT{3, 4});
    WaitUntil([&] { return app.Text(ids::kText1) == "3.4"; });
    ReleaseButton(MOUSEEVENTF_LEFTUP);
    if (HWND dialog = OpenColourDialog(app); dialog != nullptr) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; });
    Click(CentreOnScreen(app.Control(ids::kText1 + 5)));
    WaitUntil([&] { return IsIconic(app.Window()) != FALSE; });
  }
  const auto byTintelo = Changes(afterFloor, Traces());
  for (const auto& change : byTintelo) {
    EXPECT_TRUE(byWine.count(change)) << "left behind: " << Narrow(change);
  }
}

}  // namespace
}  // namespace tintelo::e2e
