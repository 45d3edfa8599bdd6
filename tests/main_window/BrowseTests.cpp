#include "tests/main_window/FrmMainFixture.h"

namespace relingo::test {
namespace {

class BrowseTest : public FrmMainTest {
protected:
    BrowseTest() {
        system.AddFolder(u"C:\\Users\\user\\Desktop");
        system.AddFolder(u"C:\\Work");
        system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
        system.AddFile(u"C:\\Pkg\\Support\\App.exe");
        system.ChangeDirectory(u"C:\\Work");
        dlgFileOpen.outcome = [](FakeOpenDialog& d) { d.fileName = u"C:\\Pkg\\Support\\App.exe"; };
    }
};

TEST_F(BrowseTest, AnEmptyBoxStartsTheDialogOnTheDesktop) {
    form.cmdBrowse_Click(1);
    EXPECT_TRUE(dlgFileOpen.cancelError);
    EXPECT_EQ(dlgFileOpen.seeds, std::vector<std::u16string>{u""});
    EXPECT_EQ(system.CurrentDirectory(), u"C:\\Users\\user\\Desktop");
    EXPECT_EQ(programBox.Text(), u"C:\\Pkg\\Support\\App.exe");
    EXPECT_EQ(ipdkBox.Text(), u"");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BrowseTest, AnExistingNameSeedsTheDialogAndKeepsTheFolder) {
    ipdkBox.SetText(u"C:\\IPDK\\PDWizLoc.exe");
    dlgFileOpen.outcome = [](FakeOpenDialog&) {}; // chooses what it was seeded with
    form.cmdBrowse_Click(0);
    EXPECT_EQ(dlgFileOpen.seeds, std::vector<std::u16string>{u"C:\\IPDK\\PDWizLoc.exe"});
    EXPECT_EQ(system.CurrentDirectory(), u"C:\\Work");
    EXPECT_EQ(ipdkBox.Text(), u"C:\\IPDK\\PDWizLoc.exe");
}

TEST_F(BrowseTest, AMissingNameIsReportedTwiceThenTheDesktopIsUsed) {
    programBox.SetText(u"C:\\Gone.exe");
    form.cmdBrowse_Click(1);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Warning!!|16|File or folder not found.",
                                                 "Warning!!|16|File or folder not found."}));
    EXPECT_EQ(dlgFileOpen.seeds, std::vector<std::u16string>{u""});
    EXPECT_EQ(system.CurrentDirectory(), u"C:\\Users\\user\\Desktop");
}

TEST_F(BrowseTest, ACancelShowsNothingAndLeavesTheBoxAlone) {
    programBox.SetText(u"C:\\Pkg\\Support\\App.exe");
    dlgFileOpen.outcome = [](FakeOpenDialog&) { throw Error(errnum::kDialogCancelled); };
    form.cmdBrowse_Click(1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(programBox.Text(), u"C:\\Pkg\\Support\\App.exe");
}

TEST_F(BrowseTest, ADialogFailureIsReported) {
    dlgFileOpen.outcome = [](FakeOpenDialog&) {
        throw Error(12291, u"CommonDialog API error.(CommDlgExtendedError()=12291)", u"Relingo");
    };
    form.cmdBrowse_Click(1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Error|16|Error No. : 12291\rSource : Relingo\rCommonDialog API "
                           "error.(CommDlgExtendedError()=12291)"});
    EXPECT_EQ(programBox.Text(), u"");
}

// COM starts only when the dialog first needs it; if it cannot, that browse is reported and the
// next one works.
TEST_F(BrowseTest, ComFailingAtTheFirstBrowseIsReportedAndTheNextBrowseWorks) {
    int shown = 0;
    dlgFileOpen.outcome = [&shown](FakeOpenDialog& d) {
        if (shown++ == 0) {
            throw Error(429, u"The file dialog needs COM, which Windows could not start.",
                        u"Relingo");
        }
        d.fileName = u"C:\\Pkg\\Support\\App.exe";
    };
    form.cmdBrowse_Click(1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Error|16|Error No. : 429\rSource : Relingo\rThe file dialog needs "
                           "COM, which Windows could not start."});
    EXPECT_EQ(programBox.Text(), u"");
    form.cmdBrowse_Click(1);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(programBox.Text(), u"C:\\Pkg\\Support\\App.exe");
}

TEST_F(BrowseTest, AnUnknownDesktopIsAClearErrorAndNoDialog) {
    system.SetDesktopFolder(u"");
    form.cmdBrowse_Click(1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].rfind("Error|16|Error No. : 76\rSource : Relingo\rPath not found", 0), 0u);
    EXPECT_TRUE(dlgFileOpen.seeds.empty());
    EXPECT_EQ(system.CurrentDirectory(), u"C:\\Work");
}

TEST_F(BrowseTest, EachButtonFillsOnlyItsOwnBox) {
    form.cmdBrowse_Click(1);
    dlgFileOpen.outcome = [](FakeOpenDialog& d) { d.fileName = u"C:\\IPDK\\PDWizLoc.exe"; };
    form.cmdBrowse_Click(0);
    EXPECT_EQ(programBox.Text(), u"C:\\Pkg\\Support\\App.exe");
    EXPECT_EQ(ipdkBox.Text(), u"C:\\IPDK\\PDWizLoc.exe");
}

} // namespace
} // namespace relingo::test
