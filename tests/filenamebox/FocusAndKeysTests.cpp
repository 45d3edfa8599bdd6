// Leaving the box runs the validation and keeps the focus on a bad name; the key filter keeps
// refused characters and Enter out of the text as they are typed.
#include "tests/CaseName.h"
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

TEST_F(FileNameBoxTest, LeavingAnInvalidBoxShowsItsFaultsAndTakesTheFocusBack) {
    Enter(u"C:\\a:b");
    txtInput.GainFocus();
    txtInput.LoseFocus();
    EXPECT_EQ(Boxes(), std::vector{Warning(expected::kColons)});
    EXPECT_EQ(txtInput.setFocusCalls, 1);
    EXPECT_TRUE(txtInput.focused);
    EXPECT_EQ(box.Text(), u"C:\\a:b");
}

TEST_F(FileNameBoxTest, LeavingAValidBoxLetsTheFocusGo) {
    Enter(u"C:\\ok.txt");
    txtInput.GainFocus();
    txtInput.LoseFocus();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(txtInput.setFocusCalls, 0);
}

TEST_F(FileNameBoxTest, WithoutValidateAtLostFocusLeavingDoesNothing) {
    box.SetValidateAtLostFocus(false);
    Enter(u"C:\\a:b", fnbmode::kFile);
    txtInput.LoseFocus();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(txtInput.setFocusCalls, 0);
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
}

TEST_F(FileNameBoxTest, TheSelectionIsKeptWhenTheFocusComesBack) {
    Enter(u"C:\\a:b");
    box.SetSelStart(3);
    box.SetSelLength(2);
    txtInput.LoseFocus();
    EXPECT_EQ(box.SelStart(), 3);
    EXPECT_EQ(box.SelLength(), 2);
}

// A real message box takes the focus from the text box while it is up and gives it back when
// it closes. Each box of a run thus makes the text box lose the focus, while that run goes on.
class FocusTakingSystem : public FakeSystem {
public:
    FakeTextBox* input = nullptr;
    int32_t MsgBox(const std::u16string& text, int32_t style,
                   const std::optional<std::u16string>& caption, const std::u16string& helpFile,
                   int32_t helpContext) override {
        const bool hadFocus = input != nullptr && input->focused;
        if (hadFocus) {
            input->LoseFocus();
        }
        const int32_t answer = FakeSystem::MsgBox(text, style, caption, helpFile, helpContext);
        if (hadFocus) {
            input->GainFocus();
        }
        return answer;
    }
};

class FocusTakingTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.ReadProperties(PropertyBag{});
        system.input = &input;
        box.SetText(u"1:\\\\\\a:b\\c::d*"); // four faults, so four boxes in one run
    }
    FocusTakingSystem system;
    FakeHost host;
    FakeTextBox input;
    FileNameBox box{system, host, input};
};

TEST_F(FocusTakingTest, ItsOwnFaultBoxesDoNotStartAnotherRun) {
    input.GainFocus();
    EXPECT_FALSE(box.ValidateValue());
    EXPECT_EQ(system.MsgBoxes().size(), 4u);
    EXPECT_EQ(input.setFocusCalls, 0);
}

TEST_F(FocusTakingTest, EachDepartureRunsOnceAndKeepsTheFocus) {
    input.GainFocus();
    input.LoseFocus();
    EXPECT_EQ(system.MsgBoxes().size(), 4u);
    EXPECT_EQ(input.setFocusCalls, 1);
    EXPECT_TRUE(input.focused);

    input.LoseFocus();
    EXPECT_EQ(system.MsgBoxes().size(), 8u);
    EXPECT_EQ(input.setFocusCalls, 2);
}

TEST_F(FocusTakingTest, AHostsRunWhileTheBoxHasTheFocusShowsItsBoxOnce) {
    box.SetMode(fnbmode::kFile);
    box.SetText(u"C:\\missing.txt");
    input.GainFocus();
    EXPECT_EQ(box.FileName(), u"");
    EXPECT_EQ(system.MsgBoxes().size(), 1u);
    EXPECT_EQ(input.setFocusCalls, 0);
}

// Between leaving the box and the end of the action that left it, the host may read the box
// itself (OK reads FileName): the box's faults are then shown by that read only, and the loss of
// focus acts on its verdict.
struct LeavingCase {
    const char* name;
    const char16_t* text;
    // What the host does between the move of the focus and the end of the user's action.
    void (*meanwhile)(FileNameBox& box);
    size_t boxes;     // fault boxes shown in all
    int focusReturns; // times the focus was given back to the box
    const char16_t* finalText;
};

class LeavingTest : public FileNameBoxTest, public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(LeavingTest, ShowsEachFaultOnceAndKeepsTheFocusOnABadName) {
    const LeavingCase& c = GetParam();
    Enter(c.text);
    txtInput.GainFocus();
    txtInput.Leave();
    c.meanwhile(box);
    txtInput.FinishLeaving();
    EXPECT_EQ(Boxes().size(), c.boxes);
    EXPECT_EQ(txtInput.setFocusCalls, c.focusReturns);
    EXPECT_EQ(box.Text(), c.finalText);
}

const LeavingCase kLeavingCases[] = {
    {"NothingMeanwhileABadName", u"C:\\a:b", [](FileNameBox&) {}, 1, 1, u"C:\\a:b"},
    {"NothingMeanwhileAGoodName", u"C:\\ok", [](FileNameBox&) {}, 0, 0, u"C:\\ok"},
    {"AHostReadOfABadName", u"C:\\a:b", [](FileNameBox& b) { EXPECT_EQ(b.FileName(), u""); }, 1, 1,
     u"C:\\a:b"},
    {"TwoHostReadsShowTwiceButNeverAThird", u"C:\\a:b",
     [](FileNameBox& b) {
         b.ValidateValue();
         b.ValidateValue();
     },
     2, 1, u"C:\\a:b"},
    {"AHostReadOfAGoodName", u"C:\\ok", [](FileNameBox& b) { EXPECT_TRUE(b.ValidateValue()); }, 0,
     0, u"C:\\ok"},
    {"TheHostClearsTheBox", u"C:\\a:b", [](FileNameBox& b) { b.SetText(u""); }, 0, 0, u""},
    {"TheHostMendsTheNameAfterItsRead", u"C:\\a:b",
     [](FileNameBox& b) {
         b.ValidateValue();
         b.SetText(u"C:\\ok");
     },
     // The mended name is judged anew, and passes.
     1, 0, u"C:\\ok"},
    {"TheHostPutsInAnotherBadName", u"C:\\a:b",
     [](FileNameBox& b) {
         b.ValidateValue();
         b.SetText(u"C:\\c:d");
     },
     2, 1, u"C:\\c:d"},
};

INSTANTIATE_TEST_SUITE_P(FileNameBox, LeavingTest, ::testing::ValuesIn(kLeavingCases),
                         CaseName<LeavingCase>);

TEST_F(FileNameBoxTest, AVerdictFromOneDepartureIsNotUsedForTheNext) {
    Enter(u"C:\\a:b");
    txtInput.Leave();
    box.ValidateValue();
    txtInput.FinishLeaving();
    box.SetText(u"C:\\also:bad");
    system.ClearMsgBoxes();
    txtInput.LoseFocus();
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(txtInput.setFocusCalls, 2);
}

TEST_F(FileNameBoxTest, RefusedCharactersAndEnterReachTheHostAsZero) {
    Enter(u"C:\\x");
    txtInput.SetSelStart(4);
    const std::u16string refused = u"/<>?|*'\"\r";
    txtInput.Type(refused);
    EXPECT_EQ(box.Text(), u"C:\\x");
    EXPECT_EQ(events.keyPresses, std::vector<int16_t>(refused.size(), 0));
    EXPECT_TRUE(events.log.empty()); // no Change
    EXPECT_TRUE(Boxes().empty());    // no box either
}

TEST_F(FileNameBoxTest, ColonBackslashSpaceAndOtherCharactersPass) {
    Enter(u"");
    txtInput.Type(u"C:\\a b\\テ.txt");
    EXPECT_EQ(box.Text(), u"C:\\a b\\テ.txt");
    EXPECT_EQ(events.keyPresses.size(), 12u);
    EXPECT_EQ(events.keyPresses[1], u':');
    EXPECT_EQ(events.keyPresses[2], u'\\');
    EXPECT_EQ(events.keyPresses[4], u' ');
    EXPECT_EQ(static_cast<char16_t>(events.keyPresses[7]), u'テ');
}

TEST_F(FileNameBoxTest, TheHostsKeyPressHandlerHasTheLastWord) {
    Enter(u"");
    events.replaceKeyAscii = 0;
    txtInput.Type(u"abc");
    EXPECT_EQ(box.Text(), u"");
    events.replaceKeyAscii = u'Z';
    txtInput.Type(u"a");
    EXPECT_EQ(box.Text(), u"Z");
}

TEST_F(FileNameBoxTest, BeforeThePropertiesAreReadOnlyEnterIsRefused) {
    FakeTextBox freshInput;
    RecordingEvents freshEvents;
    FileNameBox fresh(system, host, freshInput, &freshEvents);
    fresh.InitProperties();
    freshInput.Type(u"*?\r");
    EXPECT_EQ(fresh.Text(), u"*?");
    EXPECT_EQ(freshEvents.keyPresses, (std::vector<int16_t>{u'*', u'?', 0}));
}

} // namespace
} // namespace relingo::test
