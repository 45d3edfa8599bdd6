// The box's existence check and name forms over the real directory search, attribute read and
// short-name lookup, on real files and folders.
#include "filenamebox/FileNameBox.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeTextBox.h"
#include "tests/filenamebox/ExpectedMessages.h"
#include "tests/win32support/Win32TestSupport.h"

#include <gtest/gtest.h>

namespace relingo::win32 {
namespace {

using test::TempFolder;

// The real system, except that fault boxes are only recorded, so that these tests are about the
// file system alone.
class RealFilesRecordedBoxes : public SystemServices {
public:
    std::vector<std::u16string> shown;

    int32_t MsgBox(const std::u16string& text, int32_t, const std::optional<std::u16string>&,
                   const std::u16string&, int32_t) override {
        shown.push_back(text);
        return mb::kAnswerOk;
    }
    std::u16string GetSetting(const std::u16string& a, const std::u16string& s,
                              const std::u16string& k, const std::u16string& d) override {
        return real_.GetSetting(a, s, k, d);
    }
    void SaveSetting(const std::u16string& a, const std::u16string& s, const std::u16string& k,
                     const std::u16string& v) override {
        real_.SaveSetting(a, s, k, v);
    }
    void ChangeDrive(const std::u16string& drive) override { real_.ChangeDrive(drive); }
    void ChangeDirectory(const std::u16string& path) override { real_.ChangeDirectory(path); }
    std::u16string CurrentDirectory() override { return real_.CurrentDirectory(); }
    std::u16string FindFirstEntry(const std::u16string& name, uint32_t mask) override {
        return real_.FindFirstEntry(name, mask);
    }
    uint32_t GetAttributes(const std::u16string& name) override {
        return real_.GetAttributes(name);
    }
    std::u16string ShortPathName(const std::u16string& name) override {
        return real_.ShortPathName(name);
    }
    uint32_t StartProgram(const std::u16string& line, int32_t style) override {
        return real_.StartProgram(line, style);
    }
    std::string ToAnsi(std::u16string_view text) override { return real_.ToAnsi(text); }
    std::u16string FromAnsi(std::string_view bytes) override { return real_.FromAnsi(bytes); }
    std::u16string SystemFolder() override { return real_.SystemFolder(); }
    std::u16string DesktopFolder(intptr_t owner) override { return real_.DesktopFolder(owner); }
    std::u16string ProductName() override { return real_.ProductName(); }

private:
    Win32System real_;
};

std::u16string U(const std::wstring& text) {
    return FromWide(text);
}
std::u16string English(const test::expected::Message& message) {
    return message.english;
}

class Win32ExistenceTest : public ::testing::Test {
protected:
    void SetUp() override { box.ReadProperties(PropertyBag{}); }

    // The verdict of one validation run on the text in the given mode.
    bool Valid(const std::wstring& text, int32_t mode) {
        box.SetMode(mode);
        box.SetText(U(text));
        system.shown.clear();
        return box.ValidateValue();
    }

    TempFolder temp;
    RealFilesRecordedBoxes system;
    test::FakeHost host;
    test::FakeTextBox input;
    FileNameBox box{system, host, input};
};

TEST_F(Win32ExistenceTest, FilesAndFoldersForEachMode) {
    const std::wstring file = temp.AddFile(L"tool.exe");
    const std::wstring folder = temp.AddFolder(L"Sub Folder");

    EXPECT_TRUE(Valid(file, 1));
    EXPECT_TRUE(Valid(file, 3));
    EXPECT_FALSE(Valid(file, 2));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kSelectFolder)});

    EXPECT_TRUE(Valid(folder, 2));
    EXPECT_TRUE(Valid(folder, 3));
    EXPECT_FALSE(Valid(folder, 1));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kSelectFile)});

    for (int32_t mode : {1, 2, 3}) {
        EXPECT_FALSE(Valid(temp / L"missing.exe", mode));
        EXPECT_EQ(system.shown, std::vector{English(test::expected::kNotFound)});
    }
    EXPECT_TRUE(Valid(temp / L"missing.exe", 0));
}

TEST_F(Win32ExistenceTest, AReadOnlyArchivedFileIsAFile) {
    const std::wstring file =
        temp.AddFile(L"setup.ini", "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(Valid(file, 1));
    EXPECT_TRUE(box.IsFile());
    EXPECT_FALSE(box.IsFolder());
}

TEST_F(Win32ExistenceTest, HiddenAndSystemFilesAreNotFound) {
    const std::wstring hidden = temp.AddFile(L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    const std::wstring systemFile = temp.AddFile(L"boot.sys", "x", FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(::GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(::GetFileAttributesW(systemFile.c_str()) & FILE_ATTRIBUTE_SYSTEM);
    for (const auto& name : {hidden, systemFile}) {
        for (int32_t mode : {1, 2, 3}) {
            EXPECT_FALSE(Valid(name, mode));
            EXPECT_EQ(system.shown, std::vector{English(test::expected::kNotFound)});
        }
        box.SetText(U(name));
        EXPECT_FALSE(box.IsFile());
    }
}

TEST_F(Win32ExistenceTest, JapaneseNames) {
    const std::wstring folder = temp.AddFolder(L"資料フォルダ");
    const std::wstring file = temp.AddFile(L"資料フォルダ\\設定ファイル.txt");
    EXPECT_TRUE(Valid(file, 1));
    EXPECT_TRUE(Valid(folder, 2));
    EXPECT_EQ(box.FileTitle(), u"\\資料フォルダ");
    EXPECT_FALSE(Valid(temp / L"資料フォルダ\\無い.txt", 3));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kNotFound)});
}

TEST_F(Win32ExistenceTest, ANameEndingInABackslashSearchesInsideTheFolder) {
    const std::wstring folder = temp.AddFolder(L"empty");
    EXPECT_TRUE(Valid(folder + L"\\", 2));
    EXPECT_FALSE(Valid(folder + L"\\", 1));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kSelectFile)});
    const std::wstring file = temp.AddFile(L"plain.txt");
    EXPECT_FALSE(Valid(file + L"\\", 3));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kNotFound)});
}

TEST_F(Win32ExistenceTest, AUncNameOfNoServerIsNotFound) {
    EXPECT_TRUE(Valid(L"\\\\relingo-no-such-server\\share\\x.txt", 0));
    EXPECT_FALSE(Valid(L"\\\\relingo-no-such-server\\share\\x.txt", 3));
    EXPECT_EQ(system.shown, std::vector{English(test::expected::kNotFound)});
    EXPECT_EQ(box.LongFileName(), u""); // the walk starts at the bare server name
}

TEST_F(Win32ExistenceTest, ShortNamesOfRealEntries) {
    const std::wstring file = temp.AddFile(L"A Rather Long Folder Name\\Another Long File.text");
    box.SetMode(fnbmode::kFile);
    box.SetText(U(file));
    const std::u16string shortName = box.ShortFileName();
    ASSERT_FALSE(shortName.empty());
    EXPECT_NE(shortName, U(file));
    // Each of the last two components has the 8.3 form, and the short name leads back to the
    // same file.
    const std::u16string title = shortName.substr(shortName.rfind(u'\\') + 1);
    EXPECT_LE(title.size(), 12u);
    EXPECT_NE(title.find(u'~'), std::u16string::npos);
    wchar_t longName[MAX_PATH] = {};
    ASSERT_GT(::GetLongPathNameW(ToWide(shortName).c_str(), longName, MAX_PATH), 0u);
    EXPECT_EQ(AsciiUpper(U(longName)), AsciiUpper(U(file)));

    // The short form Wine gives a standard folder.
    box.SetMode(fnbmode::kFolder);
    box.SetText(u"C:\\Program Files\\Common Files");
    EXPECT_EQ(box.ShortFileName(), u"C:\\PROG~FBU\\COMM~CP1");
}

TEST_F(Win32ExistenceTest, LongNamesRebuildTheStoredSpelling) {
    const std::wstring file = temp.AddFile(L"Mixed Case Folder\\ReadMe.Text");
    const std::u16string typed = AsciiUpper(U(file));
    box.SetText(typed);
    const std::u16string expected = typed.substr(0, 2) + U(file).substr(2);
    EXPECT_EQ(box.LongFileName(), expected);

    // From the short form back to the long one.
    box.SetText(box.ShortFileName());
    EXPECT_EQ(box.LongFileName(), U(file));

    // A trailing backslash stays, and is not replaced by the folder's first entry.
    box.SetText(AsciiUpper(U(temp / L"Mixed Case Folder\\")));
    EXPECT_EQ(box.LongFileName(), U(temp / L"Mixed Case Folder\\"));

    box.SetText(U(temp / L"Mixed Case Folder\\missing\\ReadMe.Text"));
    EXPECT_EQ(box.LongFileName(), u"");
}

TEST_F(Win32ExistenceTest, LongNamesFindHiddenComponents) {
    const std::wstring file = temp.AddFile(L"secret.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    box.SetText(AsciiUpper(U(file)));
    EXPECT_EQ(box.LongFileName().substr(2), U(file).substr(2));
}

// The whole road with real boxes: one box per fault, closed by the watcher.
TEST(Win32FaultBoxTest, AMissingFileShowsARealBox) {
    TempFolder temp;
    Win32System system;
    test::FakeHost host;
    test::FakeTextBox input;
    FileNameBox box(system, host, input);
    box.ReadProperties(PropertyBag{});
    box.SetMode(fnbmode::kFile);
    box.SetText(U(temp / L"nothing.exe"));
    test::DialogWatcher watcher(IDOK);
    EXPECT_EQ(box.FileName(), u"");
    const auto seen = watcher.WaitFor(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Warning!!");
    EXPECT_EQ(seen[0].text, L"File or folder not found.");
}

} // namespace
} // namespace relingo::win32
