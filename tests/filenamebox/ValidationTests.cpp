// The validation run: the syntax check, then the existence check as far as mode asks, and the
// classing of what was found as a file or a folder.
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

// Attribute bits that current Windows sets on ordinary cloud-synchronised entries.
constexpr uint32_t kPinned = 0x80000;
constexpr uint32_t kUnpinned = 0x100000;
constexpr uint32_t kRecallOnDataAccess = 0x400000;

class ValidationTest : public FileNameBoxTest {
protected:
    void SetUp() override {
        FileNameBoxTest::SetUp();
        system.AddFolder(u"C:\\Windows");
        system.AddFile(u"C:\\Windows\\notepad.exe");
        system.AddFolder(u"C:\\Archived", attr::kDirectory | attr::kArchive);
        system.AddFolder(u"C:\\Program Files", attr::kDirectory | attr::kReadOnly);
        system.AddFolder(u"C:\\Hidden", attr::kDirectory | attr::kHidden);
        system.AddFile(u"C:\\hidden.txt", attr::kArchive | attr::kHidden);
        system.AddFile(u"C:\\system.sys", attr::kArchive | attr::kSystem);
        system.AddFile(u"C:\\packed.txt", attr::kArchive | attr::kCompressed);
        system.AddFolder(u"C:\\Packed", attr::kDirectory | attr::kCompressed);
    }

    // The verdict of one run and the boxes it showed.
    struct Run {
        bool valid;
        std::vector<Shown> boxes;
    };
    Run Validate(const std::u16string& text, int32_t mode) {
        Enter(text, mode);
        const bool valid = box.ValidateValue();
        return {valid, Boxes()};
    }
};

TEST_F(ValidationTest, AnEmptyBoxIsValidInEveryModeWithoutALookup) {
    for (int32_t mode : {-7, 0, 1, 2, 3, 4, 1000}) {
        const Run run = Validate(u"", mode);
        EXPECT_TRUE(run.valid) << mode;
        EXPECT_TRUE(run.boxes.empty()) << mode;
        EXPECT_FALSE(box.Cancel()) << mode;
    }
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
    EXPECT_EQ(system.Calls(Op::GetAttributes), 0);
}

TEST_F(ValidationTest, ModeZeroOrNegativeChecksTheSyntaxOnly) {
    for (int32_t mode : {0, -1, -2147483647 - 1}) {
        const Run run = Validate(u"Z:\\no\\such\\file.txt", mode);
        EXPECT_TRUE(run.valid) << mode;
        EXPECT_TRUE(run.boxes.empty()) << mode;
    }
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
}

TEST_F(ValidationTest, ModeOneWantsAFile) {
    EXPECT_TRUE(Validate(u"C:\\Windows\\notepad.exe", 1).valid);
    EXPECT_TRUE(Validate(u"c:\\windows\\NOTEPAD.EXE", 1).valid);

    Run folder = Validate(u"C:\\Windows", 1);
    EXPECT_FALSE(folder.valid);
    EXPECT_EQ(folder.boxes, std::vector{Caution(expected::kSelectFile)});
    EXPECT_EQ(folder.boxes[0].caption, u"Caution!!");
    EXPECT_EQ(folder.boxes[0].style, 48);

    Run missing = Validate(u"C:\\Windows\\missing.exe", 1);
    EXPECT_FALSE(missing.valid);
    EXPECT_EQ(missing.boxes, std::vector{Warning(expected::kNotFound)});
}

TEST_F(ValidationTest, ModeTwoWantsAFolder) {
    EXPECT_TRUE(Validate(u"C:\\Windows", 2).valid);   // attributes 16
    EXPECT_TRUE(Validate(u"C:\\Archived", 2).valid);  // 48
    EXPECT_TRUE(Validate(u"C:\\Windows\\", 2).valid); // searched inside: "." is found

    Run file = Validate(u"C:\\Windows\\notepad.exe", 2);
    EXPECT_FALSE(file.valid);
    EXPECT_EQ(file.boxes, std::vector{Caution(expected::kSelectFolder)});

    Run hidden = Validate(u"C:\\Hidden", 2);
    EXPECT_FALSE(hidden.valid);
    EXPECT_EQ(hidden.boxes, std::vector{Warning(expected::kNotFound)});
}

TEST_F(ValidationTest, ModeThreeAndAboveWantEither) {
    for (int32_t mode : {3, 4, 99}) {
        EXPECT_TRUE(Validate(u"C:\\Windows\\notepad.exe", mode).valid);
        EXPECT_TRUE(Validate(u"C:\\Windows", mode).valid);
        Run missing = Validate(u"C:\\nothing", mode);
        EXPECT_FALSE(missing.valid);
        EXPECT_EQ(missing.boxes, std::vector{Warning(expected::kNotFound)});
    }
}

TEST_F(ValidationTest, TheCompressedBitDoesNotChangeTheKind) {
    EXPECT_TRUE(Validate(u"C:\\packed.txt", 1).valid); // 2080
    EXPECT_TRUE(Validate(u"C:\\Packed", 2).valid);     // 2064
    EXPECT_EQ(Validate(u"C:\\Packed", 1).boxes, std::vector{Caution(expected::kSelectFile)});
}

// A folder is a folder whatever other bits it carries, read-only included.
TEST_F(ValidationTest, AReadOnlyFolderIsAFolder) {
    EXPECT_TRUE(Validate(u"C:\\Program Files", 2).valid);
    Run asFile = Validate(u"C:\\Program Files", 1);
    EXPECT_FALSE(asFile.valid);
    EXPECT_EQ(asFile.boxes, std::vector{Caution(expected::kSelectFile)});
    Enter(u"C:\\Program Files");
    EXPECT_TRUE(box.IsFolder());
    EXPECT_FALSE(box.IsFile());
}

// Attribute values above 32767 are ordinary on current Windows; they are no error.
TEST_F(ValidationTest, HighAttributeBitsAreNoError) {
    system.AddFile(u"C:\\cloud.docx", attr::kArchive | kPinned);
    system.AddFile(u"C:\\offline.docx", attr::kArchive | kRecallOnDataAccess);
    system.AddFolder(u"C:\\OneDrive", attr::kDirectory | attr::kReadOnly | kUnpinned);
    system.AddFolder(u"C:\\Pictures", attr::kDirectory | kRecallOnDataAccess | kPinned);

    EXPECT_TRUE(Validate(u"C:\\cloud.docx", 1).valid);
    EXPECT_TRUE(Validate(u"C:\\offline.docx", 3).valid);
    EXPECT_TRUE(Validate(u"C:\\OneDrive", 2).valid);
    EXPECT_TRUE(Validate(u"C:\\Pictures", 2).valid);
    EXPECT_EQ(Validate(u"C:\\offline.docx", 2).boxes,
              std::vector{Caution(expected::kSelectFolder)});
    EXPECT_EQ(Validate(u"C:\\Pictures", 1).boxes, std::vector{Caution(expected::kSelectFile)});
}

TEST_F(ValidationTest, HiddenAndSystemEntriesAreNotFound) {
    for (int32_t mode : {1, 2, 3}) {
        for (const char16_t* name : {u"C:\\hidden.txt", u"C:\\system.sys", u"C:\\Hidden"}) {
            Run run = Validate(name, mode);
            EXPECT_FALSE(run.valid);
            EXPECT_EQ(run.boxes, std::vector{Warning(expected::kNotFound)});
        }
    }
}

TEST_F(ValidationTest, AFailedSearchCountsAsNotFound) {
    system.FailNext(Op::FindFirstEntry, Error(errnum::kDiskNotReady));
    Run run = Validate(u"C:\\Windows", 3);
    EXPECT_FALSE(run.valid);
    EXPECT_EQ(run.boxes, std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(system.Calls(Op::GetAttributes), 0);
}

TEST_F(ValidationTest, AFailedAttributeReadShowsInvalidName) {
    system.FailNext(Op::GetAttributes, Error(errnum::kPathFileAccess));
    Run run = Validate(u"C:\\Windows", 3);
    EXPECT_FALSE(run.valid);
    EXPECT_EQ(run.boxes, std::vector{Warning(expected::kInvalidName)});
}

TEST_F(ValidationTest, ANameWithASyntaxFaultIsNeverLookedUp) {
    Run run = Validate(u"C:\\missing:file", 1);
    EXPECT_FALSE(run.valid);
    EXPECT_EQ(run.boxes, std::vector{Warning(expected::kColons)});
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
}

TEST_F(ValidationTest, MessageShowOffHidesTheExistenceBoxesButNotTheVerdict) {
    box.SetMessageShow(false);
    EXPECT_FALSE(Validate(u"C:\\nothing", 1).valid);
    EXPECT_FALSE(Validate(u"C:\\Windows", 1).valid);
    EXPECT_FALSE(Validate(u"C:\\Windows\\notepad.exe", 2).valid);
    system.FailNext(Op::GetAttributes, Error(errnum::kPathFileAccess));
    EXPECT_FALSE(Validate(u"C:\\Windows", 3).valid);
    EXPECT_EQ(system.Calls(Op::MsgBox), 0);
}

TEST_F(ValidationTest, CancelIsTheNegationAndRunsTheValidationEachTime) {
    Enter(u"C:\\nothing", 1);
    EXPECT_TRUE(box.Cancel());
    EXPECT_TRUE(box.Cancel());
    EXPECT_EQ(Boxes().size(), 2u);
    Enter(u"C:\\Windows", 2);
    EXPECT_FALSE(box.Cancel());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ValidationTest, AnErrorShowingABoxReachesTheCaller) {
    Enter(u"C:\\nothing", 1);
    system.FailNext(Op::MsgBox, Error(errnum::kOutOfMemory));
    EXPECT_THROW(box.ValidateValue(), Error);
}

} // namespace
} // namespace relingo::test
