// The re-pack command's start of the IPDK program, for real: the stand-in program records what
// it received.
#include "main_window/frmMain.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"
#include "tests/CaseName.h"
#include "tests/win32support/Win32TestSupport.h"

#include <shellapi.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace relingo {
namespace {

using test::TempFolder;
using test::WaitForStandInRecord;
using win32::FromWide;
using win32::ToWide;

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, n);
    return full.substr(0, full.rfind(L'\\'));
}

std::wstring StandInPath() {
    return OwnFolder() + L"\\IpdkStandIn.exe";
}

// What the stand-in received, as the window's text.
struct Received {
    std::u16string commandLine;
    std::u16string folder;
};

std::optional<Received> WaitForRecord(const std::wstring& folder) {
    const auto record = WaitForStandInRecord(folder);
    if (!record) {
        return std::nullopt;
    }
    return Received{FromUtf8(record->commandLine), FromUtf8(record->folder)};
}

class Win32RepackStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableW(L"RELINGO_STANDIN_SILENT", L"1");
        saved_ = system.CurrentDirectory();
        ipdk = temp.AddFolder(L"IPDK");
        ASSERT_TRUE(::CopyFileW(StandInPath().c_str(), (ipdk + L"\\PDWizLoc.exe").c_str(), FALSE));
    }
    void TearDown() override { ::SetCurrentDirectoryW(ToWide(saved_).c_str()); }

    win32::Win32System system;
    TempFolder temp;
    std::wstring ipdk;
    std::u16string saved_;
};

TEST_F(Win32RepackStartTest, TheStandInReceivesTheComposedLineInTheIpdkFolder) {
    for (const std::u16string program :
         {u"D:\\Build\\Package\\Support\\Sample.exe", u"C:\\My Programs\\Support\\A B.exe",
          u"C:\\パッケージ\\Support\\日本語.exe"}) {
        ::DeleteFileW((ipdk + L"\\PDWizLoc received.txt").c_str());
        const std::u16string line =
            frmMain::CommandLine(program, u"Japanese", frmMain::SecondLanguageArgument(u"(None)"));
        system.ChangeDrive(FromWide(ipdk.substr(0, 1)));
        system.ChangeDirectory(FromWide(ipdk));
        system.StartProgram(line, kNormalFocus);

        const auto received = WaitForRecord(ipdk);
        ASSERT_TRUE(received) << ToUtf8(program);
        EXPECT_EQ(received->commandLine, line);
        EXPECT_EQ(AsciiUpper(received->folder), AsciiUpper(FromWide(ipdk)));
    }
}

TEST(Win32CommandLineTest, EveryComposedLineSplitsIntoFourArguments) {
    const std::u16string programs[] = {u"C:\\a.exe", u"C:\\With Spaces\\x y.exe",
                                       u"\\\\srv\\share\\Support\\p.exe", u"C:\\日本\\テスト.exe",
                                       u"C:\\R&D (v2)\\p;q.exe"};
    const std::u16string firsts[] = {u"English", u"SimpChin", u"TradChin"};
    const std::u16string seconds[] = {u"(Default)", u"(None)", u" (none) "};
    for (const auto& program : programs) {
        for (const auto& first : firsts) {
            for (const auto& second : seconds) {
                const std::u16string line =
                    frmMain::CommandLine(program, first, frmMain::SecondLanguageArgument(second));
                int count = 0;
                LPWSTR* args = ::CommandLineToArgvW(ToWide(line).c_str(), &count);
                ASSERT_NE(args, nullptr);
                EXPECT_EQ(count, 4) << ToUtf8(line);
                if (count == 4) {
                    EXPECT_EQ(std::wstring(args[0]), L"PDWIZLOC");
                    EXPECT_EQ(FromWide(args[1]), program) << ToUtf8(line);
                    EXPECT_EQ(FromWide(args[2]), first);
                }
                ::LocalFree(args);
            }
        }
    }
}

TEST_F(Win32RepackStartTest, AProgramPlantedBesideOurOwnExeIsNotTheOneStarted) {
    const std::wstring planted = OwnFolder() + L"\\PDWIZLOC.EXE";
    ASSERT_TRUE(::CopyFileW(StandInPath().c_str(), planted.c_str(), FALSE));
    ::DeleteFileW((OwnFolder() + L"\\PDWizLoc received.txt").c_str());

    system.ChangeDirectory(FromWide(ipdk));
    system.StartProgram(u"PDWIZLOC \"C:\\x.exe\" English *", kNormalFocus);
    const auto received = WaitForRecord(ipdk);
    ::DeleteFileW(planted.c_str());
    ASSERT_TRUE(received);
    EXPECT_EQ(::GetFileAttributesW((OwnFolder() + L"\\PDWizLoc received.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

std::wstring WindowsFolder() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, ::GetWindowsDirectoryW(path, MAX_PATH));
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, ::GetSystemDirectoryW(path, MAX_PATH));
}

// A same-named program in a place a search would look: it never runs instead of the one in the
// current folder, even where that folder's name holds ";", and not when that one is missing.
struct PlantedCase {
    const char* name;
    std::wstring (*plantFolder)(TempFolder& temp);
    bool ipdkThere;
};

class PlantedProgramTest : public Win32RepackStartTest,
                           public ::testing::WithParamInterface<PlantedCase> {};

TEST_P(PlantedProgramTest, OnlyTheProgramInTheCurrentFolderStarts) {
    const PlantedCase& c = GetParam();
    const std::wstring kit = temp.AddFolder(L"Kits;2001\\IPDK");
    if (c.ipdkThere) {
        ASSERT_TRUE(::CopyFileW(StandInPath().c_str(), (kit + L"\\PDWizLoc.exe").c_str(), FALSE));
    }
    const std::wstring planted = c.plantFolder(temp);
    const std::wstring plantedProgram = planted + L"\\PDWizLoc.exe";
    ASSERT_TRUE(::CopyFileW(StandInPath().c_str(), plantedProgram.c_str(), FALSE));
    ::DeleteFileW((planted + L"\\PDWizLoc received.txt").c_str());
    wchar_t savedPath[32767] = {};
    ::GetEnvironmentVariableW(L"PATH", savedPath, 32767);
    ::SetEnvironmentVariableW(L"PATH", (planted + L";" + savedPath).c_str());

    system.ChangeDirectory(FromWide(kit));
    bool started = true;
    try {
        system.StartProgram(u"PDWIZLOC \"C:\\x.exe\" English *", kNormalFocus);
    } catch (const Error& e) {
        started = false;
        EXPECT_EQ(e.Number(), 53);
    }
    const auto received = c.ipdkThere ? WaitForRecord(kit) : std::nullopt;
    ::SetEnvironmentVariableW(L"PATH", savedPath);
    ::DeleteFileW(plantedProgram.c_str());
    EXPECT_EQ(started, c.ipdkThere);
    if (c.ipdkThere) {
        ASSERT_TRUE(received);
        EXPECT_EQ(received->folder, FromWide(kit));
    }
    EXPECT_EQ(::GetFileAttributesW((planted + L"\\PDWizLoc received.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

const PlantedCase kPlantedCases[] = {
    {"InTheWindowsFolder", [](TempFolder&) { return WindowsFolder(); }, true},
    {"InTheSystemFolder", [](TempFolder&) { return SystemFolder(); }, true},
    {"OnThePath", [](TempFolder& t) { return t.AddFolder(L"On Path"); }, true},
    {"InTheWindowsFolderWithTheIpdkProgramGone", [](TempFolder&) { return WindowsFolder(); },
     false},
};

INSTANTIATE_TEST_SUITE_P(Win32RepackStart, PlantedProgramTest, ::testing::ValuesIn(kPlantedCases),
                         test::CaseName<PlantedCase>);

TEST_F(Win32RepackStartTest, AFailedStartIsFileNotFoundAndTheFolderStays) {
    const std::wstring empty = temp.AddFolder(L"Empty IPDK");
    system.ChangeDirectory(FromWide(empty));
    try {
        system.StartProgram(u"PDWIZLOC \"C:\\x.exe\" English *", kNormalFocus);
        FAIL() << "started";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 53);
        EXPECT_EQ(e.Description(), u"File not found");
        EXPECT_EQ(e.Source(), u"Relingo");
    }
    EXPECT_EQ(system.CurrentDirectory(), FromWide(empty));

    // A file of that name that is no program fails the same way.
    temp.AddFile(L"Empty IPDK\\PDWizLoc.exe", "not a program");
    EXPECT_THROW(system.StartProgram(u"PDWIZLOC \"C:\\x.exe\" English *", kNormalFocus), Error);
}

} // namespace
} // namespace relingo
