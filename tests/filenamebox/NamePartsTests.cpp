// The name cut into parts, and its short and long forms.
#include "filenamebox/NameText.h"
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

struct PartsRow {
    std::u16string text;
    std::u16string path, title, body, pathBody, extension, drive;
};

void PrintTo(const PartsRow& row, std::ostream* os) {
    *os << ToUtf8(row.text);
}

class NamePartsTableTest : public FileNameBoxTest,
                           public ::testing::WithParamInterface<PartsRow> {};

TEST_P(NamePartsTableTest, EveryPartOfAValidName) {
    const PartsRow& row = GetParam();
    Enter(row.text);
    EXPECT_EQ(box.FileName(), row.text);
    EXPECT_EQ(box.FilePath(), row.path);
    EXPECT_EQ(box.FileTitle(), row.title);
    EXPECT_EQ(box.FileBody(), row.body);
    EXPECT_EQ(box.FilePathBody(), row.pathBody);
    EXPECT_EQ(box.FileExtension(), row.extension);
    EXPECT_EQ(box.FileDrive(), row.drive);
    EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Samples, NamePartsTableTest,
    ::testing::Values(
        PartsRow{u"C:\\IPDK\\PDWizLoc.exe", u"C:\\IPDK", u"\\PDWizLoc.exe", u"\\PDWizLoc",
                 u"C:\\IPDK\\PDWizLoc", u"exe", u"C"},
        PartsRow{u"D:\\data.old\\archive.tar.gz", u"D:\\data.old", u"\\archive.tar.gz",
                 u"\\archive.tar", u"D:\\data.old\\archive.tar", u"gz", u"D"},
        PartsRow{u"C:\\my.dir\\README", u"C:\\my.dir", u"\\README", u"\\README", u"C:\\my",
                 u"dir\\README", u"C"},
        PartsRow{u"C:\\dir\\file.", u"C:\\dir", u"\\file.", u"\\file", u"C:\\dir\\file", u"", u"C"},
        PartsRow{u"C:\\", u"C:", u"", u"", u"C:\\", u"", u"C"},
        PartsRow{u"\\\\srv\\share\\docs\\", u"\\\\srv\\share\\docs", u"", u"",
                 u"\\\\srv\\share\\docs\\", u"", u""},
        PartsRow{u"report.txt", u"", u"", u"", u"report", u"txt", u""},
        PartsRow{u"C:\\IPDK\\PDWIZLOC.EXE", u"C:\\IPDK", u"\\PDWIZLOC.EXE", u"\\PDWIZLOC",
                 u"C:\\IPDK\\PDWIZLOC", u"EXE", u"C"},
        PartsRow{u"abcd:\\x", u"abcd:", u"\\x", u"\\x", u"abcd:\\x", u"", u"abcd"},
        PartsRow{u"C:\\.profile", u"C:", u"\\.profile", u"\\", u"C:\\", u"profile", u"C"},
        PartsRow{u"C:\\テスト\\名前.テキスト", u"C:\\テスト", u"\\名前.テキスト", u"\\名前",
                 u"C:\\テスト\\名前", u"テキスト", u"C"}));

TEST_F(FileNameBoxTest, AnEmptyBoxHasNoParts) {
    Enter(u"", fnbmode::kFile);
    EXPECT_EQ(box.FileName(), u"");
    EXPECT_EQ(box.FilePath(), u"");
    EXPECT_EQ(box.FileTitle(), u"");
    EXPECT_EQ(box.FileBody(), u"");
    EXPECT_EQ(box.FilePathBody(), u"");
    EXPECT_EQ(box.FileExtension(), u"");
    EXPECT_EQ(box.FileDrive(), u"");
    EXPECT_EQ(box.ShortFileName(), u"");
    EXPECT_EQ(box.LongFileName(), u"");
    EXPECT_FALSE(box.IsFile());
    EXPECT_FALSE(box.IsFolder());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(FileNameBoxTest, EveryValidatedPartOfAMissingFileShowsOneBoxAndIsEmpty) {
    using Part = std::u16string (FileNameBox::*)();
    const std::pair<const char*, Part> parts[] = {
        {"FileName", &FileNameBox::FileName},
        {"FilePath", &FileNameBox::FilePath},
        {"FileTitle", &FileNameBox::FileTitle},
        {"FileExtension", &FileNameBox::FileExtension},
        {"FilePathBody", &FileNameBox::FilePathBody},
        {"FileBody", &FileNameBox::FileBody},
        {"ShortFileName", &FileNameBox::ShortFileName},
        {"LongFileName", &FileNameBox::LongFileName},
    };
    for (const auto& [name, part] : parts) {
        Enter(u"C:\\IPDK\\PDWizLoc.exe", fnbmode::kFile);
        EXPECT_EQ((box.*part)(), u"") << name;
        EXPECT_EQ(Boxes(), std::vector{Warning(expected::kNotFound)}) << name;
    }
}

TEST_F(FileNameBoxTest, TheDriveIsCutFromAnyTextWithoutValidation) {
    Enter(u"1:\\a*b", fnbmode::kFile);
    EXPECT_EQ(box.FileDrive(), u"1");
    Enter(u"no colon at all", fnbmode::kFile);
    EXPECT_EQ(box.FileDrive(), u"");
    Enter(u":", fnbmode::kFile);
    EXPECT_EQ(box.FileDrive(), u"");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
}

TEST_F(FileNameBoxTest, IsFileAndIsFolderLookUpWithoutTheSyntaxCheck) {
    system.AddFile(u"C:\\it's.txt");
    system.AddFolder(u"C:\\Tools");
    Enter(u"C:\\it's.txt");
    EXPECT_TRUE(box.IsFile());
    EXPECT_FALSE(box.IsFolder());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(box.FileName(), u""); // the apostrophe is refused by the syntax check
    Enter(u"C:\\Tools");
    EXPECT_TRUE(box.IsFolder());
    EXPECT_FALSE(box.IsFile());

    Enter(u"C:\\nothing");
    EXPECT_FALSE(box.IsFile());
    EXPECT_FALSE(box.IsFolder());
    EXPECT_EQ(Boxes(), (std::vector{Warning(expected::kNotFound), Warning(expected::kNotFound)}));
}

TEST_F(FileNameBoxTest, FileBodyValidatesTwiceThroughFileTitle) {
    system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
    Enter(u"C:\\IPDK\\PDWizLoc.exe", fnbmode::kFile);
    EXPECT_EQ(box.FileBody(), u"\\PDWizLoc");
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 2);
}

TEST_F(FileNameBoxTest, ShortFileNameOfAnExistingName) {
    system.AddFile(u"C:\\Program Files\\Common Files\\setup.exe");
    system.SetShortName(u"C:\\Program Files", u"PROGRA~1");
    system.SetShortName(u"C:\\Program Files\\Common Files", u"COMMON~1");
    Enter(u"C:\\Program Files\\Common Files\\setup.exe", fnbmode::kFile);
    EXPECT_EQ(box.ShortFileName(), u"C:\\PROGRA~1\\COMMON~1\\setup.exe");

    Enter(u"C:\\Program Files\\none.exe"); // syntax only, but no such entry to shorten
    EXPECT_EQ(box.ShortFileName(), u"");

    Enter(u"C:\\a:b"); // invalid: never looked up
    const int lookups = system.Calls(Op::ShortPathName);
    EXPECT_EQ(box.ShortFileName(), u"");
    EXPECT_EQ(system.Calls(Op::ShortPathName), lookups);
}

class LongFileNameTest : public FileNameBoxTest {
protected:
    void SetUp() override {
        FileNameBoxTest::SetUp();
        system.AddFile(u"C:\\Program Files\\IPDK\\PDWizLoc.exe");
        system.AddFolder(u"C:\\Secret", attr::kDirectory | attr::kHidden);
        system.AddFile(u"C:\\Secret\\Boot.ini", attr::kSystem);
    }
};

TEST_F(LongFileNameTest, EachComponentTakesItsStoredSpelling) {
    Enter(u"c:\\program files\\ipdk\\pdwizloc.exe");
    EXPECT_EQ(box.LongFileName(), u"c:\\Program Files\\IPDK\\PDWizLoc.exe");
    Enter(u"c:\\PROGRAM FILES\\ipdk");
    EXPECT_EQ(box.LongFileName(), u"c:\\Program Files\\IPDK");
}

TEST_F(LongFileNameTest, HiddenAndSystemComponentsAreFound) {
    Enter(u"C:\\secret\\boot.ini");
    EXPECT_EQ(box.LongFileName(), u"C:\\Secret\\Boot.ini");
}

TEST_F(LongFileNameTest, AMissingComponentGivesNothingAtAll) {
    Enter(u"c:\\program files\\nothing\\pdwizloc.exe");
    EXPECT_EQ(box.LongFileName(), u"");
    Enter(u"c:\\program files\\ipdk\\nothing.exe");
    EXPECT_EQ(box.LongFileName(), u"");
}

// A trailing backslash, or two in a row, is an empty component: it names no entry of its own and
// is kept as it stands rather than replaced by whatever the folder holds first.
TEST_F(LongFileNameTest, EmptyComponentsAreKeptAsTheyStand) {
    Enter(u"c:\\program files\\");
    EXPECT_EQ(box.LongFileName(), u"c:\\Program Files\\");
    Enter(u"C:\\");
    EXPECT_EQ(box.LongFileName(), u"C:\\");
    Enter(u"c:\\program files\\\\ipdk");
    EXPECT_EQ(box.LongFileName(), u"c:\\Program Files\\\\IPDK");
}

TEST_F(LongFileNameTest, ASearchErrorReachesTheCaller) {
    Enter(u"c:\\program files\\ipdk");
    system.FailNext(Op::FindFirstEntry, Error(errnum::kDiskNotReady));
    try {
        box.LongFileName();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kDiskNotReady);
    }
}

TEST_F(LongFileNameTest, AnInvalidTextIsNeverWalked) {
    Enter(u"c:\\program files\\ipdk\\nothing.exe", fnbmode::kFile);
    EXPECT_EQ(box.LongFileName(), u"");
    EXPECT_EQ(Boxes(), std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 1); // the existence check alone
}

TEST(StripExtensionTest, CutsAtTheLastDotAnywhere) {
    EXPECT_EQ(StripExtension(u"a.b.c"), u"a.b");
    EXPECT_EQ(StripExtension(u"C:\\my.dir\\README"), u"C:\\my");
    EXPECT_EQ(StripExtension(u"plain"), u"plain");
    EXPECT_EQ(StripExtension(u"."), u"");
    EXPECT_EQ(StripExtension(u""), u"");
}

} // namespace
} // namespace relingo::test
