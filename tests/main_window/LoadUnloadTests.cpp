#include "tests/main_window/FrmMainFixture.h"

namespace relingo::test {
namespace {

class LoadUnloadTest : public FrmMainTest {
protected:
    std::u16string Setting(const std::u16string& name) const {
        const auto it = system.Settings().find(u"Relingo\\" + name);
        return it == system.Settings().end() ? u"<absent>" : it->second;
    }
};

TEST_F(LoadUnloadTest, FirstStartSelectsTheFirstItemsAndTheDefaultIpdkPath) {
    form.Form_Load();
    EXPECT_EQ(cmbFirst.Text(), u"English");
    EXPECT_EQ(cmbSecond.Text(), u"(Default)");
    EXPECT_EQ(programBox.Text(), u"");
    EXPECT_EQ(ipdkBox.Text(), u"C:\\IPDK\\PDWizLoc.exe");
    // The default is set without a check, so nothing is shown about it.
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LoadUnloadTest, TheDefaultIpdkPathTakesTheSystemFoldersDrive) {
    system.SetSystemFolder(u"D:\\WINNT\\SYSTEM32");
    form.Form_Load();
    EXPECT_EQ(ipdkBox.Text(), u"D:\\IPDK\\PDWizLoc.exe");

    system.SetSystemFolder(u"\\\\server\\windows");
    form.Form_Load();
    EXPECT_EQ(ipdkBox.Text(), u":\\IPDK\\PDWizLoc.exe");
}

TEST_F(LoadUnloadTest, StoredChoicesComeBack) {
    system.AddFile(u"C:\\Tools\\IPDK\\PDWizLoc.exe");
    system.AddFile(u"C:\\Pkg\\Support\\App.exe");
    system.PutSetting(u"Relingo", u"Language", u"First", u"7");
    system.PutSetting(u"Relingo", u"Language", u"Second", u"-1");
    system.PutSetting(u"Relingo", u"IPDK", u"Program", u"C:\\Tools\\IPDK\\PDWizLoc.exe");
    system.PutSetting(u"Relingo", u"VB", u"RePacked Program", u"C:\\Pkg\\Support\\App.exe");
    form.Form_Load();
    EXPECT_EQ(cmbFirst.Text(), u"SimpChin");
    EXPECT_EQ(cmbSecond.ListIndex(), -1);
    EXPECT_EQ(ipdkBox.Text(), u"C:\\Tools\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(programBox.Text(), u"C:\\Pkg\\Support\\App.exe");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LoadUnloadTest, AStoredIpdkNameThatIsGoneIsReportedAndReplaced) {
    system.PutSetting(u"Relingo", u"IPDK", u"Program", u"C:\\Old\\PDWizLoc.exe");
    form.Form_Load();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning!!|16|File or folder not found."});
    EXPECT_EQ(ipdkBox.Text(), u"C:\\IPDK\\PDWizLoc.exe");
}

class StoredIndexTest : public LoadUnloadTest,
                        public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(StoredIndexTest, AnythingButAListIndexFallsBackToTheFirstItem) {
    system.PutSetting(u"Relingo", u"Language", u"First", GetParam());
    system.PutSetting(u"Relingo", u"Language", u"Second", GetParam());
    form.Form_Load();
    EXPECT_EQ(cmbFirst.ListIndex(), 0);
    EXPECT_EQ(cmbSecond.ListIndex(), 0);
    EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredIndexTest,
                         ::testing::Values(u"abc", u"9", u"-2", u"1.5", u"", u"99999999999", u"0x1",
                                           u"32768"));

TEST_F(LoadUnloadTest, UnloadSavesTheListIndexesAndTheAcceptedNames) {
    system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
    form.Form_Load();
    cmbFirst.SetListIndex(8);
    cmbSecond.SetListIndex(-1);
    programBox.SetText(u"C:\\Gone\\App.exe");
    form.Form_Unload();
    EXPECT_EQ(Setting(u"Language\\First"), u"8");
    EXPECT_EQ(Setting(u"Language\\Second"), u"-1");
    EXPECT_EQ(Setting(u"IPDK\\Program"), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(Setting(u"VB\\RePacked Program"), u"");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning!!|16|File or folder not found."});
}

TEST_F(LoadUnloadTest, TheApplicationNameIsReadAtEverySetting) {
    system.SetProductName(u"Relingo Beta");
    form.Form_Unload();
    EXPECT_EQ(system.Settings().count(u"Relingo Beta\\Language\\First"), 1u);
    EXPECT_EQ(system.Calls(Op::ProductName), 4);
}

TEST_F(LoadUnloadTest, ClearEmptiesOnlyTheProgramBox) {
    form.Form_Load();
    cmbFirst.SetListIndex(3);
    programBox.SetText(u"C:\\x.exe");
    form.cmdClear_Click();
    EXPECT_EQ(programBox.Text(), u"");
    EXPECT_EQ(ipdkBox.Text(), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(cmbFirst.ListIndex(), 3);
    EXPECT_EQ(cmbSecond.ListIndex(), 0);
}

} // namespace
} // namespace relingo::test
