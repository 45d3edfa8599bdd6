// The test backend stands in for Windows in every logic test, so it must behave like it where
// the logic depends on it.
#include "tests/fakes/FakeSystem.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

class FakeSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs.AddFolder(u"C:\\Data");
        fs.AddFile(u"C:\\Data\\Visible.txt");
        fs.AddFile(u"C:\\Data\\Hidden.txt", attr::kHidden | attr::kArchive);
        fs.AddFile(u"C:\\Data\\System.sys", attr::kSystem);
    }
    FakeSystem fs;
};

TEST_F(FakeSystemTest, SearchSkipsHiddenAndSystemEntriesUnlessTheMaskHoldsThem) {
    EXPECT_EQ(fs.FindFirstEntry(u"c:\\data\\hidden.txt", search::kFolders), u"");
    EXPECT_EQ(fs.FindFirstEntry(u"c:\\data\\hidden.txt", search::kFoldersHiddenSystem),
              u"Hidden.txt");
    EXPECT_EQ(fs.FindFirstEntry(u"C:\\Data\\System.sys", search::kFolders), u"");
    EXPECT_EQ(fs.FindFirstEntry(u"C:\\DATA", search::kFolders), u"Data");
}

TEST_F(FakeSystemTest, SearchInsideAFolderFindsDotFirstButARootHasNoDots) {
    EXPECT_EQ(fs.FindFirstEntry(u"C:\\Data\\", search::kFolders), u".");
    EXPECT_EQ(fs.FindFirstEntry(u"C:\\", search::kFolders), u"Data");
    EXPECT_EQ(fs.FindFirstEntry(u"C:\\Data\\V*.t?t", search::kFolders), u"Visible.txt");
}

TEST_F(FakeSystemTest, DrivesAndFoldersChangeLikeWin32) {
    EXPECT_THROW(fs.ChangeDrive(u"Q"), Error);
    fs.ChangeDrive(u"");
    fs.ChangeDirectory(u"c:\\data");
    EXPECT_EQ(fs.CurrentDirectory(), u"C:\\Data");
    EXPECT_EQ(fs.FindFirstEntry(u"visible.txt", search::kFolders), u"Visible.txt");
    try {
        fs.ChangeDirectory(u"C:\\Data\\Visible.txt");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kPathNotFound);
    }
    EXPECT_EQ(fs.CurrentDirectory(), u"C:\\Data");
}

TEST_F(FakeSystemTest, InjectedFaultsFireOnceOrAlways) {
    fs.FailNext(Op::GetAttributes, Error(errnum::kDiskNotReady));
    EXPECT_THROW(fs.GetAttributes(u"C:\\Data"), Error);
    EXPECT_EQ(fs.GetAttributes(u"C:\\Data"), attr::kDirectory);
    fs.FailAlways(Op::SaveSetting, Error(errnum::kPathFileAccess));
    EXPECT_THROW(fs.SaveSetting(u"A", u"B", u"C", u"x"), Error);
    EXPECT_THROW(fs.SaveSetting(u"A", u"B", u"C", u"x"), Error);
    EXPECT_EQ(fs.Calls(Op::SaveSetting), 2);
}

TEST_F(FakeSystemTest, StartLooksTheProgramUpInTheCurrentFolder) {
    fs.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_THROW(fs.StartProgram(u"PDWIZLOC \"x\"", kNormalFocus), Error);
    fs.ChangeDirectory(u"C:\\IPDK");
    fs.StartProgram(u"PDWIZLOC \"x\"", kNormalFocus);
    ASSERT_EQ(fs.Starts().size(), 1u);
    EXPECT_EQ(fs.Starts()[0].currentDirectory, u"C:\\IPDK");
}

} // namespace
} // namespace relingo::test
