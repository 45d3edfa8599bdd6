// The window at the keyboard and the mouse: key strokes and clicks sent with SendInput reach it
// through the system, its focus and its dialog manager, as a person's do.
#include "tests/CaseName.h"
#include "tests/e2e/EndToEndFixture.h"
#include "tests/win32support/UserInput.h"

#include <functional>

namespace relingo::test {
namespace {

constexpr wchar_t kNotFound[] = L"File or folder not found.";
constexpr wchar_t kNoProgram[] = L"Enter a VB program file name to be re-packed.";

class KeyboardTest : public RelingoEndToEndTest {
protected:
    std::unique_ptr<RelingoDriver> StartInFront() {
        auto relingo = Start();
        EXPECT_TRUE(relingo->BringToFront());
        EXPECT_TRUE(relingo->WaitForFocus(IDC_TXTIPDK));
        // The window activates itself when shown, perhaps after BringToFront looked.
        relingo->SettleFocus();
        return relingo;
    }

    // The texts of the next count boxes the program shows, each closed with Enter as a person
    // would; fewer when they do not come.
    static std::vector<std::wstring> AnswerBoxes(RelingoDriver& relingo, size_t count) {
        std::vector<std::wstring> texts;
        while (texts.size() < count) {
            const auto box = relingo.WaitForBox();
            if (!box || !WaitUntil([&] { return ::GetForegroundWindow() == box->window; })) {
                break;
            }
            texts.push_back(box->text);
            PressKey(VK_RETURN);
            WaitUntil([&] { return !::IsWindow(box->window) || !::IsWindowVisible(box->window); });
        }
        return texts;
    }

    // No box comes within a while: the check of a left box waits for the queue to be idle and
    // then looks every 50 ms, so a box that is going to come comes well within that.
    static bool NoBoxComes(RelingoDriver& relingo) {
        return !WaitUntil([&] { return relingo.BoxShown(); }, std::chrono::milliseconds(750));
    }

    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
};

TEST_F(KeyboardTest, TheFirstTabStopHasTheFocusAtStartAndTakesTypedText) {
    auto relingo = StartInFront();
    PressKey(VK_END);
    TypeText(L"x");
    EXPECT_TRUE(WaitUntil([&] { return relingo->BoxText(IDC_TXTIPDK) == ipdkProgram + L"x"; }));
    relingo->SetBoxText(IDC_TXTIPDK, ipdkProgram);
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(KeyboardTest, TabAndShiftTabFollowTheTabOrder) {
    auto relingo = StartInFront();
    const int order[] = {IDC_CMDBROWSE0, IDC_TXTFILENAME, IDC_CMDBROWSE1,
                         IDC_CMDCLEAR,   IDC_CMBFIRST,    IDC_CMBSECOND,
                         IDC_CMDOK,      IDC_CMDEXIT,     IDC_TXTIPDK};
    for (int id : order) {
        PressKey(VK_TAB);
        EXPECT_TRUE(relingo->WaitForFocus(id)) << "Tab to " << id;
    }
    for (auto it = std::rbegin(order) + 1; it != std::rend(order); ++it) {
        PressKey(VK_TAB, {VK_SHIFT});
        EXPECT_TRUE(relingo->WaitForFocus(*it)) << "Shift+Tab to " << *it;
    }
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(relingo->WaitForFocus(IDC_TXTIPDK));
    EXPECT_FALSE(relingo->BoxShown());
    EXPECT_TRUE(relingo->Exit());
}

// A label's key moves the focus to the control after the label, from wherever it is.
struct AccessKeyCase {
    wchar_t key;
    int target;
};

class AccessKeyTest : public KeyboardTest, public ::testing::WithParamInterface<AccessKeyCase> {};

TEST_P(AccessKeyTest, ALabelsKeyReachesTheControlAfterIt) {
    auto relingo = StartInFront();
    PressAltKey(GetParam().key);
    EXPECT_TRUE(relingo->WaitForFocus(GetParam().target));
    // Once more from the other end of the tab order.
    PressKey(VK_TAB, {VK_SHIFT});
    PressKey(VK_TAB, {VK_SHIFT});
    PressAltKey(GetParam().key);
    EXPECT_TRUE(relingo->WaitForFocus(GetParam().target));
    EXPECT_FALSE(relingo->BoxShown());
    EXPECT_TRUE(relingo->Exit());
}

std::string AccessKeyName(const ::testing::TestParamInfo<AccessKeyCase>& param) {
    return std::string("Alt") + static_cast<char>(param.param.key);
}

INSTANTIATE_TEST_SUITE_P(KeyboardTest, AccessKeyTest,
                         ::testing::Values(AccessKeyCase{L'I', IDC_TXTIPDK},
                                           AccessKeyCase{L'F', IDC_TXTFILENAME},
                                           AccessKeyCase{L'1', IDC_CMBFIRST},
                                           AccessKeyCase{L'2', IDC_CMBSECOND}),
                         AccessKeyName);

// The whole job with the keyboard alone, each button pressed by its access key.
TEST_F(KeyboardTest, TheWholeJobWithTheKeyboardAlone) {
    const std::wstring otherKit = temp.AddFolder(L"Other Kit");
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\IpdkStandIn.exe").c_str(),
                            (otherKit + L"\\PDWizLoc.exe").c_str(), FALSE));
    auto relingo = StartInFront();
    PressAltKey(L'I');
    TypeText(otherKit + L"\\PDWizLoc.exe");
    PressAltKey(L'F');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_TXTFILENAME));
    TypeText(program);
    PressAltKey(L'1');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_CMBFIRST));
    for (int i = 0; i < 5; ++i) {
        PressKey(VK_DOWN);
    }
    PressAltKey(L'2');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_CMBSECOND));
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return relingo->ListText(IDC_CMBSECOND) == L"(None)"; }));
    EXPECT_EQ(relingo->ListText(IDC_CMBFIRST), L"Japanese");
    EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), program);

    PressAltKey(L'O');
    const auto record = WaitForStandInRecord(otherKit);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->commandLine, "PDWIZLOC \"" + Utf8(program) + "\" Japanese ~");
    EXPECT_EQ(record->folder, Utf8(otherKit));

    PressAltKey(L'C');
    EXPECT_TRUE(WaitUntil([&] { return relingo->BoxText(IDC_TXTFILENAME).empty(); }));
    EXPECT_EQ(relingo->BoxText(IDC_TXTIPDK), otherKit + L"\\PDWizLoc.exe");

    PressAltKey(L'X');
    EXPECT_TRUE(WaitUntil([&] { return relingo->HasExited(); }));
    EXPECT_EQ(ReadSetting(L"Language", L"First"), L"5");
    EXPECT_EQ(ReadSetting(L"Language", L"Second"), L"1");
    EXPECT_EQ(ReadSetting(L"IPDK", L"Program"), otherKit + L"\\PDWizLoc.exe");
}

TEST_F(KeyboardTest, TypedRefusedCharactersAndEnterNeverReachTheText) {
    auto relingo = StartInFront();
    PressAltKey(L'F');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_TXTFILENAME));
    TypeText(L"C:\\a*b?c<d>e|f'g\"h/i\r.exe");
    EXPECT_TRUE(
        WaitUntil([&] { return relingo->BoxText(IDC_TXTFILENAME) == L"C:\\abcdefghi.exe"; }));
    relingo->SetBoxText(IDC_TXTFILENAME, L"");
    EXPECT_TRUE(relingo->Exit());
}

TEST_F(KeyboardTest, TheFocusComesBackAfterABoxADialogAndAnotherWindow) {
    auto relingo = StartInFront();
    // OK pressed by its key holds the focus; its box takes it away and gives it back.
    PressAltKey(L'O');
    EXPECT_EQ(AnswerBoxes(*relingo, 1), std::vector<std::wstring>{kNoProgram});
    EXPECT_TRUE(relingo->WaitForFocus(IDC_CMDOK));

    relingo->Click(IDC_CMDBROWSE1);
    ASSERT_TRUE(WaitUntil([&] { return relingo->BoxShown(); }));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(relingo->WaitForFocus(IDC_CMDBROWSE1));
    relingo->SettleFocus(); // the window is active again

    PressAltKey(L'2');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_CMBSECOND));
    {
        // Another program's window takes the foreground, then the user comes back.
        const HWND other =
            ::CreateWindowExW(0, L"STATIC", L"Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                              0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        EXPECT_TRUE(WaitUntil([&] { return relingo->FocusedControl() == 0; }));
        EXPECT_TRUE(relingo->BringToFront());
        EXPECT_TRUE(relingo->WaitForFocus(IDC_CMBSECOND));
        ::DestroyWindow(other);
    }

    ::PostMessageW(relingo->Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(relingo->Window()) != FALSE; }));
    ::PostMessageW(relingo->Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(relingo->Window()); }));
    EXPECT_TRUE(relingo->BringToFront());
    EXPECT_TRUE(relingo->WaitForFocus(IDC_CMBSECOND));
    EXPECT_TRUE(relingo->Exit());
}

// Leaving the program box while it names a missing file, each way a person can.
struct LeavingCase {
    const char* name;
    std::function<void(RelingoDriver&)> act;
    std::vector<std::wstring> boxes;
    bool closes;
    int focusAfter; // when the window stays open
    bool textStays;
};

class LeavingAnInvalidBoxTest : public KeyboardTest,
                                public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(LeavingAnInvalidBoxTest, EachFaultIsShownOnceAndTheFocusReturns) {
    const LeavingCase& c = GetParam();
    const std::wstring missing = temp / L"Missing.exe";
    auto relingo = StartInFront();
    relingo->SetBoxText(IDC_TXTFILENAME, missing);
    PressAltKey(L'F');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_TXTFILENAME));
    const HWND edit = relingo->EditOf(IDC_TXTFILENAME);
    ::SendMessageW(edit, EM_SETSEL, 3, 7);

    c.act(*relingo);
    EXPECT_EQ(AnswerBoxes(*relingo, c.boxes.size()), c.boxes);
    if (c.closes) {
        EXPECT_TRUE(WaitUntil([&] { return relingo->HasExited() || relingo->BoxShown(); }));
        EXPECT_TRUE(relingo->HasExited()) << "another box came";
        EXPECT_EQ(ReadSetting(L"VB", L"RePacked Program"), L"");
        EXPECT_EQ(ReadSetting(L"IPDK", L"Program"), ipdkProgram);
        return;
    }
    EXPECT_TRUE(relingo->WaitForFocus(c.focusAfter));
    EXPECT_TRUE(NoBoxComes(*relingo));
    EXPECT_EQ(relingo->FocusedControl(), c.focusAfter);
    if (c.textStays) {
        EXPECT_EQ(relingo->BoxText(IDC_TXTFILENAME), missing);
        EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{3, 7}));
    }
    EXPECT_FALSE(WaitForStandInRecord(ipdkFolder, std::chrono::milliseconds(0)));
    relingo->SetBoxText(IDC_TXTFILENAME, L"");
    EXPECT_TRUE(relingo->Exit());
}

const LeavingCase kLeavingCases[] = {
    {"Tab", [](RelingoDriver&) { PressKey(VK_TAB); }, {kNotFound}, false, IDC_TXTFILENAME, true},
    {"AltOne",
     [](RelingoDriver&) { PressAltKey(L'1'); },
     {kNotFound},
     false,
     IDC_TXTFILENAME,
     true},
    {"ClickAList",
     [](RelingoDriver& r) { r.Click(IDC_CMBFIRST); },
     {kNotFound},
     false,
     IDC_TXTFILENAME,
     true},
    {"ClickOk",
     [](RelingoDriver& r) { r.Click(IDC_CMDOK); },
     {kNotFound, kNoProgram},
     false,
     IDC_TXTFILENAME,
     true},
    {"AltO",
     [](RelingoDriver&) { PressAltKey(L'O'); },
     {kNotFound, kNoProgram},
     false,
     IDC_TXTFILENAME,
     true},
    {"ClickExit", [](RelingoDriver& r) { r.Click(IDC_CMDEXIT); }, {kNotFound}, true, 0, false},
    {"AltX", [](RelingoDriver&) { PressAltKey(L'X'); }, {kNotFound}, true, 0, false},
    // The close box sends the same close command; on a display without a window manager Wine
    // draws no frame to click, so the command comes from its keyboard shortcut.
    {"AltF4", [](RelingoDriver&) { PressKey(VK_F4, {VK_MENU}); }, {kNotFound}, true, 0, false},
    // Clear mends the name: nothing is left to complain of.
    {"ClickClear", [](RelingoDriver& r) { r.Click(IDC_CMDCLEAR); }, {}, false, IDC_CMDCLEAR, false},
};

INSTANTIATE_TEST_SUITE_P(KeyboardTest, LeavingAnInvalidBoxTest, ::testing::ValuesIn(kLeavingCases),
                         CaseName<LeavingCase>);

// The IPDK program in a folder whose name holds ";", and a same-named program planted in the
// Windows folder: the one the user named starts.
TEST_F(KeyboardTest, TheIpdkProgramNamedIsTheOneThatStarts) {
    const std::wstring kit = temp.AddFolder(L"Kits;2001\\IPDK");
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\IpdkStandIn.exe").c_str(),
                            (kit + L"\\PDWizLoc.exe").c_str(), FALSE));
    wchar_t windows[MAX_PATH] = {};
    const struct Planted {
        std::wstring path;
        ~Planted() { ::DeleteFileW(path.c_str()); }
    } planted{std::wstring(windows, ::GetWindowsDirectoryW(windows, MAX_PATH)) + L"\\PDWizLoc.exe"};
    ASSERT_TRUE(
        ::CopyFileW((ProgramFolder() + L"\\IpdkStandIn.exe").c_str(), planted.path.c_str(), FALSE));
    auto relingo = StartInFront();
    PressAltKey(L'I'); // selects the default name, which the typing replaces
    TypeText(kit + L"\\PDWizLoc.exe");
    ASSERT_TRUE(WaitUntil([&] { return relingo->BoxText(IDC_TXTIPDK) == kit + L"\\PDWizLoc.exe"; }))
        << relingo->Describe();
    PressAltKey(L'F');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_TXTFILENAME));
    TypeText(program);
    ASSERT_TRUE(WaitUntil([&] { return relingo->BoxText(IDC_TXTFILENAME) == program; }))
        << relingo->Describe();
    PressAltKey(L'O');
    const auto record = WaitForStandInRecord(kit);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->folder, Utf8(kit));
    EXPECT_FALSE(WaitForStandInRecord(windows, std::chrono::milliseconds(0)));
    EXPECT_TRUE(relingo->Exit());
}

// CTest runs this once more under a Japanese user locale (see CMakeLists.txt).
TEST_F(KeyboardTest, UnderAJapaneseLocaleJapaneseTypedAsUnicodeReachesTheBox) {
    if (::GetUserDefaultLCID() != 1041) {
        GTEST_SKIP() << "runs under a Japanese user locale only";
    }
    const std::wstring japanese = temp.AddFile(L"パッケージ\\Support\\サンプル 表示.exe");
    auto relingo = StartInFront();
    PressAltKey(L'F');
    ASSERT_TRUE(relingo->WaitForFocus(IDC_TXTFILENAME));
    TypeText(japanese);
    EXPECT_TRUE(WaitUntil([&] { return relingo->BoxText(IDC_TXTFILENAME) == japanese; }));
    PressAltKey(L'O');
    const auto record = WaitForStandInRecord(ipdkFolder);
    ASSERT_TRUE(record) << relingo->Describe();
    EXPECT_EQ(record->commandLine, "PDWIZLOC \"" + Utf8(japanese) + "\" English *");
    EXPECT_TRUE(relingo->Exit());
}

} // namespace
} // namespace relingo::test
