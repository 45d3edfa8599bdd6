#include "platform/Text.h"
#include "tests/main_window/FrmMainFixture.h"

namespace relingo::test {
namespace {

constexpr char kWrongIpdk[] = "-|48|Specify correct IPDK program name, PDWizloc.exe";
constexpr char kNoProgram[] = "-|48|Enter a VB program file name to be re-packed.";
constexpr char kQuestion[] =
    "-|308|The specified program is not in the \\Support folder.\r\nDo you continue ?";

class RepackCommandTest : public FrmMainTest {
protected:
    RepackCommandTest() {
        system.AddDrive(u'D');
        system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
        system.AddFile(u"D:\\Build\\Package\\Support\\Sample.exe");
        system.AddFile(u"D:\\Build\\Package\\Sample.exe");
        system.AddFile(u"C:\\Sample.exe");
        ipdkBox.SetText(u"C:\\IPDK\\PDWizLoc.exe");
        programBox.SetText(u"D:\\Build\\Package\\Support\\Sample.exe");
        cmbFirst.SetListIndex(5);  // Japanese
        cmbSecond.SetListIndex(1); // (None)
    }
    std::vector<std::u16string> StartedLines() const {
        std::vector<std::u16string> lines;
        for (const auto& start : system.Starts()) {
            lines.push_back(start.commandLine);
        }
        return lines;
    }
};

TEST_F(RepackCommandTest, TheWorkedExampleStartsTheIpdkProgramInItsFolder) {
    form.cmdOK_Click();
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(system.Starts().size(), 1u);
    EXPECT_EQ(system.Starts()[0].commandLine,
              u"PDWIZLOC \"D:\\Build\\Package\\Support\\Sample.exe\" Japanese ~");
    EXPECT_EQ(system.Starts()[0].windowStyle, 1);
    EXPECT_EQ(system.Starts()[0].currentDirectory, u"C:\\IPDK");

    cmbSecond.SetListIndex(0);
    form.cmdOK_Click();
    ASSERT_EQ(system.Starts().size(), 2u);
    EXPECT_EQ(system.Starts()[1].commandLine,
              u"PDWIZLOC \"D:\\Build\\Package\\Support\\Sample.exe\" Japanese *");
}

TEST_F(RepackCommandTest, TheIpdkTitleIsComparedWithoutRegardToCase) {
    ipdkBox.SetText(u"c:\\ipdk\\pdwizloc.exe");
    form.cmdOK_Click();
    EXPECT_EQ(StartedLines().size(), 1u);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RepackCommandTest, AWrongIpdkNameShowsOneMessageAndStartsNothing) {
    system.AddFile(u"C:\\IPDK\\PDWizLoc2.exe");
    system.ChangeDirectory(u"C:\\IPDK");
    for (const char16_t* name : {u"C:\\IPDK\\PDWizLoc2.exe", u"PDWizloc.exe", u""}) {
        system.ClearMsgBoxes();
        ipdkBox.SetText(name);
        form.cmdOK_Click();
        EXPECT_EQ(Boxes(), std::vector<std::string>{kWrongIpdk}) << ToUtf8(name);
    }
    EXPECT_TRUE(system.Starts().empty());
}

TEST_F(RepackCommandTest, AMissingIpdkProgramGetsTheBoxsMessageFirst) {
    ipdkBox.SetText(u"C:\\Nowhere\\PDWizLoc.exe");
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Warning!!|16|File or folder not found.", kWrongIpdk}));
    EXPECT_TRUE(system.Starts().empty());
}

TEST_F(RepackCommandTest, AnEmptyFolderOrMissingProgramEndsWithTheWindowsMessage) {
    programBox.SetText(u"");
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{kNoProgram});

    system.ClearMsgBoxes();
    programBox.SetText(u"D:\\Build\\Package\\Support");
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Caution!!|48|Select a file.", kNoProgram}));

    system.ClearMsgBoxes();
    programBox.SetText(u"D:\\Build\\Missing.exe");
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Warning!!|16|File or folder not found.", kNoProgram}));
    EXPECT_TRUE(system.Starts().empty());
}

TEST_F(RepackCommandTest, OutsideASupportFolderTheUserIsAsked) {
    programBox.SetText(u"D:\\Build\\Package\\Sample.exe");
    system.ScriptAnswers({mb::kAnswerNo});
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{kQuestion});
    EXPECT_TRUE(system.Starts().empty());

    system.ScriptAnswers({mb::kAnswerYes});
    form.cmdOK_Click();
    EXPECT_EQ(StartedLines(), std::vector<std::u16string>{
                                  u"PDWIZLOC \"D:\\Build\\Package\\Sample.exe\" Japanese ~"});
}

TEST_F(RepackCommandTest, AProgramInADriveRootIsAlwaysAskedAbout) {
    programBox.SetText(u"C:\\Sample.exe");
    system.ScriptAnswers({mb::kAnswerYes});
    form.cmdOK_Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{kQuestion});
    EXPECT_EQ(StartedLines().size(), 1u);
}

TEST(SupportFolderTest, OnlyTheEndOfAFolderOfTenOrMoreCharactersCounts) {
    EXPECT_TRUE(frmMain::IsSupportFolder(u"D:\\Pkg\\Support"));
    EXPECT_TRUE(frmMain::IsSupportFolder(u"D:\\Pkg\\MySupport"));
    EXPECT_TRUE(frmMain::IsSupportFolder(u"C:\\Support"));
    EXPECT_TRUE(frmMain::IsSupportFolder(u"c:\\support"));
    EXPECT_FALSE(frmMain::IsSupportFolder(u"C:SUPPORT")); // nine characters
    EXPECT_FALSE(frmMain::IsSupportFolder(u"C:\\Suppo"));
    EXPECT_FALSE(frmMain::IsSupportFolder(u"C:"));
    EXPECT_FALSE(frmMain::IsSupportFolder(u""));
    EXPECT_FALSE(frmMain::IsSupportFolder(u"D:\\Support\\Sub"));
}

TEST(SecondLanguageTest, DefaultAndNoneMapAndEverythingElsePassesUnchanged) {
    EXPECT_EQ(frmMain::SecondLanguageArgument(u"(Default)"), u"*");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u"(None)"), u"~");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u" (none) "), u"~");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u"  (DEFAULT)"), u"*");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u" Korean "), u" Korean ");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u"(None"), u"(None");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u"\t(None)"), u"\t(None)");
    EXPECT_EQ(frmMain::SecondLanguageArgument(u""), u"");
}

TEST_F(RepackCommandTest, NoFirstLanguageLeavesTwoSpacesInARow) {
    cmbFirst.SetListIndex(-1);
    form.cmdOK_Click();
    EXPECT_EQ(StartedLines(), std::vector<std::u16string>{
                                  u"PDWIZLOC \"D:\\Build\\Package\\Support\\Sample.exe\"  ~"});
}

TEST_F(RepackCommandTest, AnIpdkProgramInADriveRootRunsFromThatRoot) {
    system.AddFolder(u"C:\\Elsewhere");
    system.AddFile(u"C:\\PDWizLoc.exe");
    system.ChangeDirectory(u"C:\\Elsewhere");
    ipdkBox.SetText(u"C:\\PDWizLoc.exe");
    form.cmdOK_Click();
    ASSERT_EQ(system.Starts().size(), 1u);
    EXPECT_EQ(system.Starts()[0].currentDirectory, u"C:\\");
}

class RepackFailureTest : public RepackCommandTest,
                          public ::testing::WithParamInterface<std::pair<Op, int32_t>> {};

TEST_P(RepackFailureTest, AFailingStepIsReportedOnceAndTheWindowStaysUsable) {
    const auto [op, number] = GetParam();
    system.FailNext(op, Error(number));
    form.cmdOK_Click();
    const std::string expected = "Error|16|Error No. : " + std::to_string(number) +
                                 "\rSource : Relingo\r" + ToUtf8(StandardDescription(number));
    EXPECT_EQ(Boxes(), std::vector<std::string>{expected});
    EXPECT_TRUE(system.Starts().empty());

    system.ClearMsgBoxes();
    form.cmdOK_Click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(system.Starts().size(), 1u);
}

std::string StepName(const ::testing::TestParamInfo<std::pair<Op, int32_t>>& tried) {
    return "Error" + std::to_string(tried.param.second);
}

INSTANTIATE_TEST_SUITE_P(Steps, RepackFailureTest,
                         ::testing::Values(std::pair{Op::ChangeDrive, errnum::kDeviceUnavailable},
                                           std::pair{Op::ChangeDirectory, errnum::kPathNotFound},
                                           std::pair{Op::StartProgram, errnum::kFileNotFound}),
                         StepName);

TEST_F(RepackCommandTest, TheMoveToTheIpdkFolderStaysWhenTheStartFails) {
    system.AddFolder(u"D:\\Work");
    system.ChangeDirectory(u"D:\\Work");
    system.FailNext(Op::StartProgram, Error(errnum::kFileNotFound));
    form.cmdOK_Click();
    EXPECT_EQ(system.CurrentDirectory(), u"C:\\IPDK");
}

TEST_F(RepackCommandTest, ReportErrorIsSilentForNoErrorAndForACancelledDialog) {
    dlgFileOpen.outcome = [](FakeOpenDialog&) { throw Error(errnum::kDialogCancelled); };
    form.cmdBrowse_Click(0);
    dlgFileOpen.outcome = [](FakeOpenDialog&) { throw Error(0, u""); };
    form.cmdBrowse_Click(0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(dlgFileOpen.seeds.size(), 2u);
}

} // namespace
} // namespace relingo::test
