// The installer packages as an administrator uses them, under Wine in a prefix made afresh for
// these tests: msiexec installs a package silently, the files, the Start-menu shortcuts and the
// entry in the installed programs are there, script hosts of both bitnesses make the controls, the
// registration is exactly what regsvr32 writes, a higher version replaces a lower one in place, a
// lower one is refused, and uninstalling leaves nothing behind.
#include "tests/com/ComTestSupport.h"
#include "tests/win32support/Win32TestSupport.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace relingo::test {
namespace {

#ifdef _WIN64
constexpr wchar_t kArch[] = L"x64";
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr wchar_t kArch[] = L"x86";
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
#endif

constexpr DWORD kInstallFailure = 1603; // ERROR_INSTALL_FAILURE

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The keys under HKLM\Software\Classes that the controls' registration writes.
const wchar_t* const kRegisteredKeys[] = {
    L"CLSID\\{07F6BF6D-B822-4943-A4DC-EAC4397DB0AD}",
    L"CLSID\\{7BB7A227-56FE-4EDA-AD8F-A955F6A0D2B5}",
    L"Relingo.FileNameBox",
    L"Relingo.FileNameBox.1",
    L"Relingo.FilOpDlg",
    L"Relingo.FilOpDlg.1",
    L"TypeLib\\{3DA8ADE9-0E3B-4D40-BA98-B25D361B3DFC}",
    L"Interface\\{4FFEC6C6-0DEC-447F-BF60-703803A9D532}",
    L"Interface\\{B3EDC894-E1C9-419A-B49C-4BE18E9C2645}",
    L"Interface\\{0B2BF4B9-C7C5-4478-927C-E2DF7213DCDD}",
};

std::wstring Environment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value != nullptr ? value : L"";
}

// A Wine that runs no 32-bit program says so (cmake/wine-run.sh).
#define SKIP_WITHOUT_32BIT_PROGRAMS()                                                              \
    do {                                                                                           \
        if (!Environment(L"RELINGO_WINE_NO_32BIT").empty())                                        \
            GTEST_SKIP() << "no 32-bit program runs here";                                         \
    } while (false)

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The processor a program or DLL is built for, from its PE header.
WORD MachineOf(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    IMAGE_DOS_HEADER dos = {};
    file.read(reinterpret_cast<char*>(&dos), sizeof dos);
    file.seekg(dos.e_lfanew + 4);
    WORD machine = 0;
    file.read(reinterpret_cast<char*>(&machine), sizeof machine);
    return machine;
}

std::wstring Package(const std::wstring& version, const std::wstring& arch = kArch) {
    return BesideTests(L"..\\installer-packages\\Relingo-" + version + L"-" + arch + L".msi");
}

DWORD Msiexec(const std::wstring& action, const std::wstring& package) {
    return RunProgram(Quoted(SystemProgram(L"msiexec.exe")) + L" " + action + L" " +
                          Quoted(package) + L" /qn",
                      {}, std::chrono::minutes(3))
        .exitCode;
}

// The registration of the controls in both registry views, as one list.
std::vector<std::wstring> Registration() {
    std::vector<std::wstring> lines;
    for (const auto& [view, name] :
         {std::pair{KEY_WOW64_64KEY, L"64|"}, std::pair{KEY_WOW64_32KEY, L"32|"}}) {
        for (const wchar_t* key : kRegisteredKeys) {
            for (const auto& line :
                 RegistryTree(HKEY_LOCAL_MACHINE, std::wstring(L"Software\\Classes\\") + key,
                              static_cast<REGSAM>(view))) {
                lines.push_back(name + line);
            }
        }
    }
    return lines;
}

// The lines of one list that the other lacks, each marked with the list it is in.
std::vector<std::wstring> Differences(const std::vector<std::wstring>& expected,
                                      const std::vector<std::wstring>& got) {
    std::vector<std::wstring> differences;
    for (const auto& line : expected) {
        if (std::find(got.begin(), got.end(), line) == got.end()) {
            differences.push_back(L"missing " + line);
        }
    }
    for (const auto& line : got) {
        if (std::find(expected.begin(), expected.end(), line) == expected.end()) {
            differences.push_back(L"extra " + line);
        }
    }
    return differences;
}

struct InstalledProduct {
    std::wstring code; // the product code, the entry's key name
    std::wstring name, publisher, version;
};

// The entries of the installed programs that name Relingo, in either registry view.
std::vector<InstalledProduct> InstalledRelingos() {
    std::vector<InstalledProduct> found;
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY entries = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | view, &entries) !=
            ERROR_SUCCESS) {
            continue;
        }
        for (DWORD i = 0;; ++i) {
            wchar_t code[256] = {};
            DWORD length = 256;
            if (::RegEnumKeyExW(entries, i, code, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            HKEY entry = nullptr;
            if (::RegOpenKeyExW(entries, code, 0, KEY_READ | view, &entry) != ERROR_SUCCESS) {
                continue;
            }
            const auto value = [&](const wchar_t* name) {
                wchar_t data[256] = {};
                DWORD size = sizeof data;
                ::RegGetValueW(entry, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size);
                return std::wstring(data);
            };
            InstalledProduct product{code, value(L"DisplayName"), value(L"Publisher"),
                                     value(L"DisplayVersion")};
            if (product.name == L"Relingo" &&
                std::none_of(found.begin(), found.end(),
                             [&](const auto& seen) { return seen.code == product.code; })) {
                found.push_back(product);
            }
            ::RegCloseKey(entry);
        }
        ::RegCloseKey(entries);
    }
    return found;
}

// Where a shortcut of the Start menu (the machine's or the user's programs) points.
std::wstring ShortcutTarget(const std::wstring& name, std::wstring* arguments = nullptr) {
    for (const int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::wstring path = Folder(csidl) + L"\\" + name + L".lnk";
        if (!Exists(path)) {
            continue;
        }
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&link))) ||
            FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ))) {
            return L"<unreadable>";
        }
        wchar_t target[MAX_PATH] = {};
        link->GetPath(target, MAX_PATH, nullptr, 0);
        if (arguments != nullptr) {
            wchar_t given[MAX_PATH] = {};
            link->GetArguments(given, MAX_PATH);
            *arguments = given;
        }
        return target;
    }
    return L"<absent>";
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// What the package puts where: the folder and the files in it, with the processor of the
// programs and DLLs among them.
struct Placed {
    std::wstring folder;
    std::vector<std::wstring> files;
    WORD machine;
};

std::vector<Placed> WhatThePackagePlaces() {
    std::vector<Placed> placed = {
        {Folder(CSIDL_PROGRAM_FILES) + L"\\Relingo",
         {L"Relingo.exe", L"RelingoControls.ocx", L"RelingoControls.manifest", L"USING.md",
          L"LICENSE", L"docs\\CONTROLS.md"},
         kMachine}};
#ifdef _WIN64
    placed.push_back({Folder(CSIDL_PROGRAM_FILESX86) + L"\\Relingo",
                      {L"RelingoControls.ocx", L"RelingoControls.manifest"},
                      IMAGE_FILE_MACHINE_I386});
#endif
    return placed;
}

// What a script host makes of both controls: one line per ProgID, with the error number of
// making it, 0 when it was made.
std::vector<std::string> ControlsMadeBy(const std::wstring& runScriptHost) {
    const ProgramRun run =
        RunProgram(Quoted(runScriptHost) + L" " + Quoted(BesideTests(L"com-scripts\\Create.vbs")));
    return Lines(run.output);
}

const std::vector<std::string> kBothMade = {"Relingo.FileNameBox 0", "Relingo.FilOpDlg 0",
                                            "Relingo.FileNameBox.1 0"};

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(Package(version_))) << Utf8(Package(version_));
        ASSERT_TRUE(InstalledRelingos().empty()) << "a test before left Relingo installed";
    }
    void TearDown() override {
        for (const auto& product : InstalledRelingos()) {
            RunProgram(Quoted(SystemProgram(L"msiexec.exe")) + L" /x " + product.code + L" /qn");
        }
    }

    OleApartment apartment_; // for the shell's links
    std::wstring version_ = Environment(L"RELINGO_VERSION");
    std::wstring higher_ = Environment(L"RELINGO_HIGHER_VERSION");
};

TEST_F(InstallerTest, InstallsForTheMachineAndUninstallsLeavingNothingBehind) {
    ASSERT_EQ(Msiexec(L"/i", Package(version_)), 0u);

    for (const auto& place : WhatThePackagePlaces()) {
        for (const auto& file : place.files) {
            const std::wstring path = place.folder + L"\\" + file;
            SCOPED_TRACE(Utf8(path));
            EXPECT_TRUE(Exists(path));
            if (file.ends_with(L".exe") || file.ends_with(L".ocx")) {
                EXPECT_EQ(MachineOf(path), place.machine);
            }
        }
    }
    const std::wstring folder = WhatThePackagePlaces().front().folder;
    EXPECT_TRUE(SamePath(ShortcutTarget(L"Relingo"), folder + L"\\Relingo.exe"));
    std::wstring arguments;
    ShortcutTarget(L"Using Relingo", &arguments);
    EXPECT_EQ(arguments, Quoted(folder + L"\\USING.md"));

    const auto products = InstalledRelingos();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].publisher, L"Relingo");
    EXPECT_EQ(products[0].version, version_);
    // The installer keeps the product's icon for the entry.
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(
        Exists(std::wstring(windows) + L"\\Installer\\" + products[0].code + L"\\Relingo.ico"));

    ASSERT_EQ(Msiexec(L"/x", Package(version_)), 0u);
    for (const auto& place : WhatThePackagePlaces()) {
        EXPECT_FALSE(Exists(place.folder)) << Utf8(place.folder);
    }
    EXPECT_EQ(ShortcutTarget(L"Relingo"), L"<absent>");
    EXPECT_EQ(ShortcutTarget(L"Using Relingo"), L"<absent>");
    EXPECT_TRUE(InstalledRelingos().empty());
    EXPECT_EQ(Registration(), std::vector<std::wstring>());
    EXPECT_EQ(RegistryTree(HKEY_LOCAL_MACHINE, L"Software\\Relingo", KEY_WOW64_64KEY),
              std::vector<std::wstring>());
}

TEST_F(InstallerTest, ScriptHostsOfEveryBitnessThePackageServesMakeBothControls) {
    SKIP_WITHOUT_32BIT_PROGRAMS();
    ASSERT_EQ(Msiexec(L"/i", Package(version_)), 0u);
    std::vector<std::wstring> hosts = {BesideTests(L"RunScriptHost.exe")};
#ifdef _WIN64
    // The 32-bit build's, handed over as a Linux path, which Wine shows on drive Z:.
    std::wstring x86 = Environment(L"RELINGO_X86_BIN");
    std::replace(x86.begin(), x86.end(), L'/', L'\\');
    hosts.push_back(L"Z:" + x86 + L"\\RunScriptHost.exe");
#endif
    for (const auto& host : hosts) {
        SCOPED_TRACE(Utf8(host));
        EXPECT_EQ(ControlsMadeBy(host), kBothMade);
    }
}

// The package's registry table and DllRegisterServer are two writings of one registration: the
// servers registered where the package puts them write what the package writes, key for key.
TEST_F(InstallerTest, ThePackageRegistersExactlyWhatRegsvr32Writes) {
    SKIP_WITHOUT_32BIT_PROGRAMS();
    ASSERT_EQ(Msiexec(L"/i", Package(version_)), 0u);
    const auto installed = Registration();
    ASSERT_FALSE(installed.empty());
    std::vector<std::wstring> servers;
    const std::wstring saved = BesideTests(L"..\\installer-packages\\saved");
    ::CreateDirectoryW(saved.c_str(), nullptr);
    for (const auto& place : WhatThePackagePlaces()) {
        const std::wstring kept = saved + L"\\" + std::to_wstring(servers.size()) + L".ocx";
        ASSERT_TRUE(
            ::CopyFileW((place.folder + L"\\RelingoControls.ocx").c_str(), kept.c_str(), FALSE));
        servers.push_back(kept);
    }
    ASSERT_EQ(Msiexec(L"/x", Package(version_)), 0u);
    ASSERT_EQ(Registration(), std::vector<std::wstring>());

    const auto places = WhatThePackagePlaces();
    std::vector<std::wstring> registered;
    for (size_t i = 0; i < places.size(); ++i) {
        ::CreateDirectoryW(places[i].folder.c_str(), nullptr);
        registered.push_back(places[i].folder + L"\\RelingoControls.ocx");
        ASSERT_TRUE(::CopyFileW(servers[i].c_str(), registered.back().c_str(), FALSE));
        // Each server is registered by the regsvr32 of its own bitness.
        const std::wstring regsvr32 = places[i].machine == kMachine
                                          ? SystemProgram(L"regsvr32.exe")
                                          : Folder(CSIDL_SYSTEMX86) + L"\\regsvr32.exe";
        ASSERT_EQ(RunProgram(Quoted(regsvr32) + L" /s " + Quoted(registered.back())).exitCode, 0u);
    }
    EXPECT_EQ(Differences(installed, Registration()), std::vector<std::wstring>());

    for (size_t i = places.size(); i-- > 0;) {
        const std::wstring regsvr32 = places[i].machine == kMachine
                                          ? SystemProgram(L"regsvr32.exe")
                                          : Folder(CSIDL_SYSTEMX86) + L"\\regsvr32.exe";
        RunProgram(Quoted(regsvr32) + L" /s /u " + Quoted(registered[i]));
        ::DeleteFileW(registered[i].c_str());
        ::RemoveDirectoryW(places[i].folder.c_str());
    }
    EXPECT_EQ(Registration(), std::vector<std::wstring>());
}

TEST_F(InstallerTest, AHigherVersionReplacesALowerOneAndALowerOneIsRefused) {
    ASSERT_EQ(Msiexec(L"/i", Package(version_)), 0u);
    ASSERT_EQ(Msiexec(L"/i", Package(higher_)), 0u);
    auto products = InstalledRelingos();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].version, higher_);
    const std::wstring folder = WhatThePackagePlaces().front().folder;
    EXPECT_TRUE(Exists(folder + L"\\Relingo.exe"));
    EXPECT_EQ(ControlsMadeBy(BesideTests(L"RunScriptHost.exe")), kBothMade);

    EXPECT_EQ(Msiexec(L"/i", Package(version_)), kInstallFailure);
    products = InstalledRelingos();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].version, higher_);
    EXPECT_TRUE(Exists(folder + L"\\Relingo.exe"));
}

} // namespace
} // namespace relingo::test
