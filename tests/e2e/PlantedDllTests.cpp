// Relingo and the DLL search. Users start Relingo.exe wherever they unpacked it, often the
// Downloads folder, where a web page can drop a file named like a DLL; and after a re-pack the
// current folder is the IPDK program's. A DLL that leaves a mark when loaded is planted in those
// places under the names of Relingo's DLLs, and no mark may appear.
//
// Wine takes its own copy of a system DLL wherever a file of that name lies, unless a DLL
// override of "native,builtin" asks it to search for the DLL as Windows searches for a DLL it
// does not know (the program's folder first, and, where safe search is off, the current folder
// next). A program started by another takes WINEDLLOVERRIDES from the Unix environment only, so
// the overrides are written where Wine keeps them for one program: its AppDefaults key.
#include "tests/e2e/EndToEndFixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>

namespace relingo::test {
namespace {

using ::testing::IsEmpty;

// The DLLs Windows always takes from its system folder (KnownDlls.txt), without ".dll".
bool IsKnownDll(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) {
        name.resize(name.size() - 4);
    }
    std::istringstream known(RELINGO_KNOWN_DLLS);
    return std::find(std::istream_iterator<std::string>(known),
                     std::istream_iterator<std::string>(),
                     name) != std::istream_iterator<std::string>();
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

void Plant(const std::wstring& folder, const std::wstring& name) {
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\PlantedDll.dll").c_str(),
                            (folder + L"\\" + name).c_str(), FALSE))
        << Utf8(name);
}

// What the planted DLLs in the folder left: "<DLL> loaded by <program>" for each mark.
std::vector<std::string> MarksIn(const std::wstring& folder) {
    std::vector<std::string> marks;
    WIN32_FIND_DATAW found = {};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*.loaded").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return marks;
    }
    do {
        std::wstring program(MAX_PATH, L'\0');
        const HANDLE file =
            ::CreateFileW((folder + L"\\" + found.cFileName).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ::ReadFile(file, program.data(), MAX_PATH * sizeof(wchar_t), &read, nullptr);
            ::CloseHandle(file);
        }
        program.resize(read / sizeof(wchar_t));
        marks.push_back(Utf8(found.cFileName) + " by " + Utf8(program));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return marks;
}

// Has Wine search for the named DLLs ("version.dll") when Relingo.exe loads them, as Windows
// searches for a DLL that is not a known DLL.
class SearchedFor {
public:
    explicit SearchedFor(const std::vector<std::wstring>& names) {
        for (const std::wstring& name : names) {
            const std::wstring base = name.substr(0, name.rfind(L'.'));
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, base.c_str(), REG_SZ, kNativeFirst,
                              sizeof kNativeFirst);
        }
    }
    ~SearchedFor() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    SearchedFor(const SearchedFor&) = delete;
    SearchedFor& operator=(const SearchedFor&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Relingo.exe\\DllOverrides";
    static constexpr wchar_t kNativeFirst[] = L"native,builtin";
};

// Safe search off puts the current folder right after the program's own, before the system
// folder, as some Windows installations have it. Wine reads the setting when a process starts.
class UnsafeDllSearch {
public:
    UnsafeDllSearch() {
        DWORD size = sizeof earlier_;
        hadValue_ = ::RegGetValueW(HKEY_LOCAL_MACHINE, kKey, kValue, RRF_RT_REG_DWORD, nullptr,
                                   &earlier_, &size) == ERROR_SUCCESS;
        Set(0);
    }
    ~UnsafeDllSearch() {
        if (hadValue_) {
            Set(earlier_);
        } else {
            ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue);
        }
    }
    UnsafeDllSearch(const UnsafeDllSearch&) = delete;
    UnsafeDllSearch& operator=(const UnsafeDllSearch&) = delete;

private:
    static constexpr wchar_t kKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
    static constexpr wchar_t kValue[] = L"SafeDllSearchMode";

    void Set(DWORD mode) {
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, REG_DWORD, &mode, sizeof mode);
    }

    DWORD earlier_ = 0;
    bool hadValue_ = false;
};

using PlantedDllTest = RelingoEndToEndTest;

// Without this, the tests below would pass for a DLL that never marks anything.
TEST_F(PlantedDllTest, ThePlantedDllLeavesItsMarkWhenLoaded) {
    const std::wstring folder = temp.AddFolder(L"Control");
    Plant(folder, L"control.dll");
    const HMODULE loaded = ::LoadLibraryW((folder + L"\\control.dll").c_str());
    ASSERT_NE(loaded, nullptr);
    ::FreeLibrary(loaded);
    EXPECT_THAT(MarksIn(folder),
                ::testing::ElementsAre("control.dll.loaded by " + Utf8(ProgramFolder()) +
                                       "\\relingo_e2e_tests.exe"));
}

// Every DLL Relingo.exe imports, planted beside it. Windows takes a known DLL from its system
// folder whatever lies beside the program, and Wine, asked to search for one, would not: so the
// known DLLs are left to Wine's own copies, and every other import is searched for. Relingo
// imports one such, comctl32, which its manifest has Windows take from the side-by-side store.
TEST_F(PlantedDllTest, NoDllPlantedBesideTheProgramIsLoaded) {
    const std::wstring folder = temp.AddFolder(L"Downloads");
    const std::wstring copy = folder + L"\\Relingo.exe";
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\Relingo.exe").c_str(), copy.c_str(), FALSE));
    const std::vector<std::string> imports = ImportedDlls(copy);
    ASSERT_FALSE(imports.empty());
    std::vector<std::wstring> searched;
    for (const std::string& name : imports) {
        Plant(folder, Wide(name));
        if (!IsKnownDll(name)) {
            searched.push_back(Wide(name));
        }
    }
    ASSERT_FALSE(searched.empty()) << "no import to search for: the test would prove nothing";
    const SearchedFor search(searched);

    RelingoDriver relingo(copy);
    // A planted DLL lacks the functions of the one it stands for: once loaded, Relingo may end
    // before it shows its window.
    if (relingo.WaitForWindow()) {
        EXPECT_TRUE(relingo.Exit());
    } else {
        ADD_FAILURE() << "no window: " << relingo.Describe();
    }
    EXPECT_THAT(MarksIn(folder), IsEmpty());
}

// Each DLL Relingo loads when first needed, planted in the IPDK folder, which a re-pack makes
// the current folder, and searched for as though Windows did not know it.
TEST_F(PlantedDllTest, NoDllPlantedInTheIpdkFolderIsLoadedAfterARepack) {
    static constexpr const wchar_t* kLoadedWhenNeeded[] = {
        L"shell32.dll",  // drops, the desktop folder
        L"shlwapi.dll",  // completion
        L"ole32.dll",    // COM
        L"oleaut32.dll", // a screen reader's request
        L"oleacc.dll",   // a screen reader's request
        L"comdlg32.dll", // the file dialogs
        L"version.dll",  // the product name
    };
    const std::wstring ipdk = temp.AddFolder(L"IPDK");
    const std::wstring standIn = ipdk + L"\\PDWizLoc.exe";
    ASSERT_TRUE(::CopyFileW(ipdkProgram.c_str(), standIn.c_str(), FALSE));
    std::vector<std::wstring> searched;
    for (const wchar_t* name : kLoadedWhenNeeded) {
        Plant(ipdk, name);
        searched.push_back(name);
    }
    const std::wstring missing = temp / L"Missing.exe";
    const SearchedFor search(searched);
    const UnsafeDllSearch unsafe;

    RelingoDriver relingo;
    ASSERT_TRUE(relingo.WaitForWindow()) << relingo.Describe();
    relingo.SetBoxText(IDC_TXTIPDK, standIn);
    relingo.SetBoxText(IDC_TXTFILENAME, program);
    relingo.Press(IDC_CMDOK);
    ASSERT_TRUE(relingo.Finished());
    ASSERT_TRUE(WaitForStandInRecord(ipdk)) << relingo.Describe();
    ::DeleteFileW((ipdk + kRecord).c_str());

    relingo.Press(IDC_CMDBROWSE1);
    ASSERT_TRUE(relingo.ChooseInOpenDialog(program))
        << relingo.Describe() << "; marks: " << ::testing::PrintToString(MarksIn(ipdk));
    ASSERT_TRUE(relingo.Finished());

    relingo.SetBoxText(IDC_TXTFILENAME, missing);
    relingo.Press(IDC_CMDOK);
    ExpectBox(relingo, L"Warning!!", L"File or folder not found.");
    ExpectBox(relingo, L"Relingo", L"Enter a VB program file name to be re-packed.");
    ASSERT_TRUE(relingo.Finished());

    relingo.SetBoxText(IDC_TXTFILENAME, program);
    relingo.Press(IDC_CMDOK);
    ASSERT_TRUE(relingo.Finished());
    ASSERT_TRUE(WaitForStandInRecord(ipdk)) << relingo.Describe();
    EXPECT_TRUE(relingo.Exit());
    EXPECT_THAT(MarksIn(ipdk), IsEmpty());
}

} // namespace
} // namespace relingo::test
