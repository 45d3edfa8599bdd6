// The Win32 backend against the real API: registry, drives and folders, directory search,
// attributes, code page conversion and short names.
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

namespace relingo::win32 {
namespace {

using test::TempFolder;

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

std::u16string U(const std::wstring& text) {
    return FromWide(text);
}

// Each test keeps its settings under a program name of its own: CTest runs them side by side,
// and one test's clean-up would otherwise delete what another has just written.
class Win32SettingsTest : public ::testing::Test {
protected:
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER,
                         (std::wstring(kSettingsRoot) + L"\\" + program).c_str());
    }
    const std::wstring program =
        L"RelingoTest " +
        ToWide(FromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    Win32System system;
};

TEST_F(Win32SettingsTest, RoundTripThroughTheRegistry) {
    const std::u16string app = U(program);
    EXPECT_EQ(system.GetSetting(app, u"Language", u"First", u"0"), u"0");
    system.SaveSetting(app, u"Language", u"First", u"5");
    system.SaveSetting(app, u"VB", u"RePacked Program", u"C:\\テスト\\a b.exe");
    EXPECT_EQ(system.GetSetting(app, u"Language", u"First", u"0"), u"5");
    EXPECT_EQ(system.GetSetting(app, u"vb", u"repacked program", u""), u"C:\\テスト\\a b.exe");

    // Stored where programs of this kind keep their settings, as a plain string.
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_CURRENT_USER,
                        (std::wstring(kSettingsRoot) + L"\\" + program + L"\\Language").c_str(), 0,
                        KEY_QUERY_VALUE, &key),
        ERROR_SUCCESS);
    DWORD type = 0;
    wchar_t data[16] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(
        ::RegQueryValueExW(key, L"First", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
        ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, L"5");
}

TEST_F(Win32SettingsTest, ReadsAValueWrittenByTheRegTool) {
    const std::wstring command = L"reg.exe add \"HKCU\\" + std::wstring(kSettingsRoot) + L"\\" +
                                 program +
                                 L"\\IPDK\" /v Program /t REG_SZ /d \"D:\\IPDK\\x.exe\" /f";
    ASSERT_EQ(test::RunAndWait(command), 0u);
    EXPECT_EQ(system.GetSetting(U(program), u"IPDK", u"Program", u""), u"D:\\IPDK\\x.exe");
}

TEST_F(Win32SettingsTest, AValueOfAnotherTypeReadsAsAbsent) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                                (std::wstring(kSettingsRoot) + L"\\" + program + L"\\S").c_str(), 0,
                                nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ::RegSetValueExW(key, L"K", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
    ::RegCloseKey(key);
    EXPECT_EQ(system.GetSetting(U(program), u"S", u"K", u"default"), u"default");
}

TEST_F(Win32SettingsTest, EmptyOrNulNamesAreRefused) {
    EXPECT_EQ(ErrorNumberOf([&] { system.SaveSetting(U(program), u"", u"K", u"v"); }),
              errnum::kInvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf(
                  [&] { system.SaveSetting(U(program), u"S", std::u16string(u"K\0x", 3), u"v"); }),
              errnum::kInvalidProcedureCall);
}

class Win32FolderTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = system.CurrentDirectory(); }
    void TearDown() override { ::SetCurrentDirectoryW(ToWide(saved_).c_str()); }
    Win32System system;
    TempFolder temp;
    std::u16string saved_;
};

TEST_F(Win32FolderTest, ChangeDirectoryAndDrive) {
    system.ChangeDirectory(U(temp.Path()));
    EXPECT_EQ(system.CurrentDirectory(), U(temp.Path()));
    system.ChangeDrive(u"");
    EXPECT_EQ(system.CurrentDirectory(), U(temp.Path()));
    system.ChangeDrive(u"c"); // the folder last current on C: stays current
    EXPECT_EQ(AsciiUpper(system.CurrentDirectory().substr(0, 2)), u"C:");
}

TEST_F(Win32FolderTest, AMissingDriveOrFolderFailsAndChangesNothing) {
    system.ChangeDirectory(U(temp.Path()));
    // Find a letter that names no drive.
    const DWORD drives = ::GetLogicalDrives();
    char16_t missing = 0;
    for (char16_t letter = u'Q'; letter <= u'Y'; ++letter) {
        if (!(drives & (1u << (letter - u'A')))) {
            missing = letter;
            break;
        }
    }
    ASSERT_NE(missing, 0);
    EXPECT_EQ(ErrorNumberOf([&] { system.ChangeDrive(std::u16string(1, missing)); }),
              errnum::kDeviceUnavailable);
    EXPECT_EQ(ErrorNumberOf([&] { system.ChangeDrive(u"1"); }), errnum::kDeviceUnavailable);
    EXPECT_EQ(ErrorNumberOf([&] { system.ChangeDirectory(U(temp / L"no such folder")); }),
              errnum::kPathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { system.ChangeDirectory(u""); }), errnum::kPathNotFound);
    EXPECT_EQ(system.CurrentDirectory(), U(temp.Path()));
}

TEST_F(Win32FolderTest, SearchFiltersHiddenAndSystemEntriesByTheMask) {
    temp.AddFile(L"plain.txt");
    temp.AddFile(L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    temp.AddFile(L"system.txt", "x", FILE_ATTRIBUTE_SYSTEM);
    temp.AddFolder(L"Sub Folder");

    EXPECT_EQ(system.FindFirstEntry(U(temp / L"PLAIN.TXT"), search::kFolders), u"plain.txt");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"hidden.txt"), search::kFolders), u"");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"hidden.txt"), search::kFoldersHiddenSystem),
              u"hidden.txt");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"system.txt"), search::kFolders), u"");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"system.txt"), search::kFoldersHiddenSystem),
              u"system.txt");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"sub folder"), search::kFolders), u"Sub Folder");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"missing.txt"), search::kFolders), u"");
    EXPECT_EQ(system.FindFirstEntry(U(temp / L"missing\\x.txt"), search::kFolders), u"");
    // A trailing backslash searches inside the folder, where "." comes first.
    EXPECT_EQ(system.FindFirstEntry(U(temp.Path() + L"\\"), search::kFolders), u".");
}

TEST_F(Win32FolderTest, SearchAndAttributesRefuseEmbeddedNul) {
    const std::u16string name = U(temp.AddFile(L"a.txt")) + std::u16string(1, u'\0') + u"x";
    EXPECT_EQ(ErrorNumberOf([&] { system.FindFirstEntry(name, search::kFolders); }),
              errnum::kBadFileName);
    EXPECT_EQ(ErrorNumberOf([&] { system.GetAttributes(name); }), errnum::kBadFileName);
}

TEST_F(Win32FolderTest, AttributesAreTheFull32Bits) {
    const std::wstring file = temp.AddFile(L"attrs.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(system.GetAttributes(U(file)) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(system.GetAttributes(U(temp.Path())) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(ErrorNumberOf([&] { system.GetAttributes(U(temp / L"nothing")); }),
              errnum::kFileNotFound);
}

TEST_F(Win32FolderTest, ShortNamesOfRealEntries) {
    const std::wstring file = temp.AddFile(L"A Rather Long Folder Name\\Long File Name.text");
    const std::u16string shortName = system.ShortPathName(U(file));
    ASSERT_FALSE(shortName.empty());
    EXPECT_NE(shortName.find(u'~'), std::u16string::npos) << ToUtf8(shortName);
    EXPECT_EQ(system.FindFirstEntry(shortName, search::kFolders), u"Long File Name.text");
    EXPECT_EQ(system.ShortPathName(U(temp / L"missing")), u"");
}

TEST(Win32TextTest, AnsiConversionUsesTheSystemCodePage) {
    Win32System system;
    ASSERT_EQ(::GetACP(), 1252u) << "the tests run under the default locale";
    EXPECT_EQ(system.ToAnsi(u"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(system.FromAnsi("caf\xE9"), u"caf\u00E9");
    EXPECT_EQ(system.ToAnsi(u"\u30C6"), "?");
    EXPECT_EQ(system.ToAnsi(u""), "");
}

TEST(Win32LookupTest, SystemAndDesktopFolders) {
    Win32System system;
    const std::u16string systemFolder = system.SystemFolder();
    ASSERT_GE(systemFolder.size(), 3u);
    EXPECT_EQ(systemFolder.substr(1, 2), u":\\");
    const std::u16string desktop = system.DesktopFolder(0);
    ASSERT_FALSE(desktop.empty());
    EXPECT_TRUE(system.GetAttributes(desktop) & FILE_ATTRIBUTE_DIRECTORY);
}

// Read through the system folder's version.dll, in the language the version data names first
// (here Japanese, not the usual English).
TEST(Win32LookupTest, TheProductNameComesFromTheProgramsVersionData) {
    Win32System system;
    EXPECT_EQ(system.ProductName(), u"Platform Tests");
}

} // namespace
} // namespace relingo::win32
