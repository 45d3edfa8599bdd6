// Relingo.exe as its users meet it: started, typed into, clicked and closed from outside, with
// real settings, files, dialogs and the stand-in IPDK program.
#include "tests/e2e/EndToEndFixture.h"
#include "tests/main_window/DesignedLayout.h"

#include <thread>

namespace relingo::test {
namespace {

TEST_F(RelingoEndToEndTest, FirstStartShowsTheDefaults) {
    auto relingo = Start();
    EXPECT_EQ(relingo->ListText(IDC_CMBFIRST), L"English");
    EXPECT_EQ(relingo->ListText(IDC_CMBSECOND), L"(Default)");
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), L"");
    EXPECT_EQ(relingo->BoxText(IDC_TXTIPDK), SystemDrive() + L":\\IPDK\\PDWizLoc.exe");
    wchar_t caption[64] = {};
    ::GetWindowTextW(relingo->Window(), caption, 64);
    EXPECT_STREQ(caption, L"Relingo");
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, ControlsSitAtTheirDesignedPlacesInTabOrder) {
    auto relingo = Start();
    const HWND window = relingo->Window();
    ExpectDesignedPlaces(window, win32::DpiFunctions::OfSystem().ForWindow(window));

    const DesignedControl* previous = nullptr;
    for (const DesignedControl& designed : kDesigned) {
        SCOPED_TRACE(designed.id);
        const HWND control = ::GetDlgItem(window, designed.id);
        if (designed.caption != nullptr) {
            wchar_t caption[64] = {};
            ::GetWindowTextW(control, caption, 64);
            EXPECT_STREQ(caption, designed.caption);
        }
        // Children in creation order are the tab order of the dialog manager.
        if (previous != nullptr) {
            EXPECT_EQ(::GetWindow(control, GW_HWNDPREV), ::GetDlgItem(window, previous->id));
        }
        previous = &designed;
    }
    // Lists hold exactly their items; Enter and Esc find no default or cancel button.
    EXPECT_EQ(::SendMessageW(::GetDlgItem(window, IDC_CMBFIRST), CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(window, IDC_CMBSECOND), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(::GetDlgItem(window, IDOK), nullptr);
    EXPECT_EQ(::GetDlgItem(window, IDCANCEL), nullptr);
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, OkStartsTheIpdkProgramWithTheComposedLine) {
    auto relingo = Start();
    relingo->SetBoxText(IDC_TXTFILENAME, program);
    relingo->SelectItem(IDC_CMBFIRST, 5);
    relingo->SelectItem(IDC_CMBSECOND, 1);
    relingo->Press(IDC_CMDOK);
    ASSERT_TRUE(relingo->Finished());
    const auto record = WaitForStandInRecord(ipdkFolder);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->commandLine, "PDWIZLOC \"" + Utf8(program) + "\" Japanese ~");
    EXPECT_EQ(record->folder, Utf8(ipdkFolder));
    EXPECT_TRUE(relingo->Exit());
}

// As a user drags files from Explorer: each box takes the first of them, and OK re-packs the
// program dropped.
TEST_F(RelingoEndToEndTest, FilesDraggedFromAnotherProgramLandInTheBoxesAndAreRepacked) {
    const std::wstring other = temp.AddFile(L"Other.exe");
    auto relingo = Start();
    for (const auto& [id, first] :
         {std::pair{IDC_TXTIPDK, ipdkProgram}, {IDC_TXTFILENAME, program}}) {
        SCOPED_TRACE(id);
        relingo->SetBoxText(id, L"");
        ASSERT_TRUE(WaitForDropTarget(relingo->EditOf(id)));
        const DragOutcome outcome =
            DragOnto(relingo->EditOf(id), L"\"" + first + L"\" \"" + other + L"\"");
        EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_COPY));
        EXPECT_EQ(relingo->BoxText(id), first);
    }
    relingo->Press(IDC_CMDOK);
    ASSERT_TRUE(relingo->Finished());
    const auto record = WaitForStandInRecord(ipdkFolder);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->commandLine, "PDWIZLOC \"" + Utf8(program) + "\" English *");
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, TheSupportQuestionDecidesWhetherTheProgramStarts) {
    const std::wstring outside = temp.AddFile(L"Package\\Sample.exe");
    auto relingo = Start();
    relingo->SetBoxText(IDC_TXTFILENAME, outside);

    relingo->Press(IDC_CMDOK);
    ExpectBox(*relingo, L"Relingo",
              L"The specified program is not in the \\Support folder.\r\nDo you continue ?", IDNO);
    ASSERT_TRUE(relingo->Finished());
    EXPECT_EQ(::GetFileAttributesW((ipdkFolder + kRecord).c_str()), INVALID_FILE_ATTRIBUTES);

    relingo->Press(IDC_CMDOK);
    ExpectBox(*relingo, L"Relingo",
              L"The specified program is not in the \\Support folder.\r\nDo you continue ?", IDYES);
    ASSERT_TRUE(relingo->Finished());
    const auto record = WaitForStandInRecord(ipdkFolder);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->commandLine, "PDWIZLOC \"" + Utf8(outside) + "\" English *");
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, WrongOrMissingNamesAreRefusedWithTheirMessages) {
    const std::wstring other = temp.AddFile(L"Other.exe");
    auto relingo = Start();
    relingo->SetBoxText(IDC_TXTIPDK, other);
    relingo->SetBoxText(IDC_TXTFILENAME, program);
    relingo->Press(IDC_CMDOK);
    ExpectBox(*relingo, L"Relingo", L"Specify correct IPDK program name, PDWizloc.exe");
    ASSERT_TRUE(relingo->Finished());

    relingo->SetBoxText(IDC_TXTIPDK, ipdkProgram);
    relingo->SetBoxText(IDC_TXTFILENAME, temp / L"Missing.exe");
    relingo->Press(IDC_CMDOK);
    ExpectBox(*relingo, L"Warning!!", L"File or folder not found.");
    ExpectBox(*relingo, L"Relingo", L"Enter a VB program file name to be re-packed.");
    ASSERT_TRUE(relingo->Finished());
    EXPECT_EQ(::GetFileAttributesW((ipdkFolder + kRecord).c_str()), INVALID_FILE_ATTRIBUTES);

    relingo->SetBoxText(IDC_TXTFILENAME, L"");
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, ChoicesAreSavedAtExitAndRestoredAtTheNextStart) {
    {
        auto relingo = Start();
        relingo->SelectItem(IDC_CMBFIRST, 6);
        relingo->SelectItem(IDC_CMBSECOND, 1);
        relingo->SetBoxText(IDC_TXTFILENAME, program);
        ASSERT_TRUE(relingo->Exit());
    }
    EXPECT_EQ(ReadSetting(L"Language", L"First"), L"6");
    EXPECT_EQ(ReadSetting(L"Language", L"Second"), L"1");
    EXPECT_EQ(ReadSetting(L"IPDK", L"Program"), ipdkProgram);
    EXPECT_EQ(ReadSetting(L"VB", L"RePacked Program"), program);

    auto relingo = Start();
    EXPECT_EQ(relingo->ListText(IDC_CMBFIRST), L"Korean");
    EXPECT_EQ(relingo->ListText(IDC_CMBSECOND), L"(None)");
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), program);
    EXPECT_EQ(relingo->BoxText(IDC_TXTIPDK), ipdkProgram);
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, TheCloseCommandSavesLikeExitAndAMissingProgramIsSavedEmpty) {
    WriteSetting(L"VB", L"RePacked Program", L"C:\\Earlier.exe");
    auto relingo = Start();
    relingo->SelectItem(IDC_CMBSECOND, -1);
    relingo->SetBoxText(IDC_TXTFILENAME, temp / L"Missing.exe");
    const HWND window = relingo->Window();
    std::thread closer([&] { ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); });
    ExpectBox(*relingo, L"Warning!!", L"File or folder not found.");
    closer.join();
    EXPECT_TRUE(WaitUntil([&] { return relingo->HasExited(); }));
    EXPECT_EQ(ReadSetting(L"Language", L"Second"), L"-1");
    EXPECT_EQ(ReadSetting(L"VB", L"RePacked Program"), L"");
}

TEST_F(RelingoEndToEndTest, AStoredIpdkNameThatIsGoneIsReportedAtStart) {
    WriteSetting(L"IPDK", L"Program", temp / L"Gone\\PDWizLoc.exe");
    WriteSetting(L"Language", L"First", L"not a number");
    RelingoDriver relingo;
    ExpectBox(relingo, L"Warning!!", L"File or folder not found.");
    ASSERT_TRUE(relingo.WaitForWindow());
    EXPECT_EQ(relingo.BoxText(IDC_TXTIPDK), ipdkProgram);
    EXPECT_EQ(relingo.ListText(IDC_CMBFIRST), L"English");
    EXPECT_TRUE(relingo.Exit());
}

TEST_F(RelingoEndToEndTest, ClearEmptiesOnlyTheProgramBox) {
    auto relingo = Start();
    relingo->SetBoxText(IDC_TXTFILENAME, program);
    relingo->Press(IDC_CMDCLEAR);
    ASSERT_TRUE(relingo->Finished());
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), L"");
    EXPECT_EQ(relingo->BoxText(IDC_TXTIPDK), ipdkProgram);
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(RelingoEndToEndTest, BrowsePutsTheChosenFileIntoItsBoxAndCancelChangesNothing) {
    auto relingo = Start();
    relingo->Press(IDC_CMDBROWSE1);
    ASSERT_TRUE(relingo->ChooseInOpenDialog(program));
    ASSERT_TRUE(relingo->Finished());
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), program);

    relingo->Press(IDC_CMDBROWSE1);
    ASSERT_TRUE(relingo->CancelOpenDialog());
    ASSERT_TRUE(relingo->Finished());
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), program);
    EXPECT_EQ(relingo->BoxText(IDC_TXTIPDK), ipdkProgram);
    EXPECT_TRUE(relingo->Exit());
}

// Wine takes a process's user locale from its Unix locale, which a started program inherits;
// CTest runs this test once more with LANG=ja_JP.UTF-8 (see CMakeLists.txt).
TEST_F(RelingoEndToEndTest, UnderAJapaneseLocaleTheBoxesSpeakJapanese) {
    if (::GetUserDefaultLCID() != 1041) {
        GTEST_SKIP() << "runs under a Japanese user locale only";
    }
    auto relingo = Start();
    relingo->SetBoxText(IDC_TXTFILENAME, temp / L"Missing.exe");
    relingo->Press(IDC_CMDOK);
    ExpectBox(*relingo, L"警告!!", L"ファイルまたはフォルダが存在しません");
    // The window's own messages exist in English only.
    ExpectBox(*relingo, L"Relingo", L"Enter a VB program file name to be re-packed.");
    ASSERT_TRUE(relingo->Finished());
    relingo->SetBoxText(IDC_TXTFILENAME, L"");
    EXPECT_TRUE(relingo->Exit());
}

} // namespace
} // namespace relingo::test
