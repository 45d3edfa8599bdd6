// The syntax check, through the validation run of a box that asks for nothing more (mode 0).
#include "filenamebox/NameText.h"
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

struct SyntaxCase {
    const char* label;
    std::u16string name;
    std::vector<Shown> boxes; // empty: the name passes
};

std::u16string Padded(std::u16string start, size_t length, char16_t fill = u'a') {
    start.resize(length, fill);
    return start;
}

void PrintTo(const SyntaxCase& c, std::ostream* os) {
    *os << c.label;
}

std::vector<SyntaxCase> SyntaxCases() {
    const Shown tooLong = Fault(expected::kTooLong, expected::kCaptionError, 16);
    return {
        {"IpdkProgram", u"C:\\IPDK\\PDWizLoc.exe", {}},
        {"LowerCaseDrive", u"c:\\x", {}},
        {"UncName", u"\\\\srv\\share\\x", {}},
        {"Exactly255", Padded(u"C:\\", 255), {}},
        {"TwoBackslashes", u"C:\\\\x", {}},
        {"ColonAfterManyLetters", u"ab:\\c", {}},
        {"SpaceStartsAComponent", u"C:\\ a\\x", {}},
        {"TrailingSpaceComponent", u"C:\\x\\ ", {}},
        {"TrailingSpace", u"C:\\x ", {}},
        {"RelativeWord", u"abc", {}},
        {"RelativePath", u"abc\\def", {}},
        {"Japanese", u"C:\\テスト\\ファイル.txt", {}},
        {"Length256", Padded(u"C:\\", 256), {tooLong}},
        {"RefusedCharacters", u"C:\\a*b?.txt", {IllegalCharacterBox()}},
        {"EachRefusedCharacter", u"C:\\a/b<c>d?e|f*g'h\"i", {IllegalCharacterBox()}},
        {"ThreeBackslashes", u"C:\\\\\\x", {Warning(expected::kBackslashRun)}},
        {"TwoColons", u"C:\\a:b", {Warning(expected::kColons)}},
        {"ColonWithoutBackslash", u"C:x", {Warning(expected::kNoBackslashAfterDrive)}},
        {"ColonWithoutBackslashThenFolder", u"C:x\\y", {Warning(expected::kNoBackslashAfterDrive)}},
        {"OneSpaceComponent", u"C:\\ \\x", {Warning(expected::kSpaceComponent)}},
        {"ThreeSpaceComponent", u"C:\\   \\x", {Warning(expected::kSpaceComponent)}},
        {"LeadingSpace", u" C:\\x", {Warning(expected::kDriveNotAlphabetical)}},
        {"DigitDrive", u"1:\\x", {Warning(expected::kDriveNotAlphabetical)}},
        {"NonAsciiLetterDrive", u"é:\\x", {Warning(expected::kDriveNotAlphabetical)}},
        {"FullWidthLetterDrive", u"Ｃ:\\x", {Warning(expected::kDriveNotAlphabetical)}},
        {"OneBackslash", u"\\x", {Warning(expected::kNoBackslashAfterDrive)}},
        {"BackslashPairAlone", u"\\\\", {Warning(expected::kNoBackslashAfterDrive)}},
        {"RootedColon",
         u"\\a:b",
         {Warning(expected::kNoBackslashAfterDrive), Warning(expected::kNoBackslashAfterDrive)}},
        {"UncWithDrive", u"\\\\srv\\c:\\x", {Warning(expected::kUncWithDrive)}},
        {"SixFaults",
         Padded(u"1*\\\\\\::\\ \\", 256),
         {tooLong, IllegalCharacterBox(), Warning(expected::kBackslashRun),
          Warning(expected::kColons), Warning(expected::kSpaceComponent),
          Warning(expected::kDriveNotAlphabetical)}},
    };
}

class SyntaxCheckTest : public FileNameBoxTest, public ::testing::WithParamInterface<SyntaxCase> {};

TEST_P(SyntaxCheckTest, ShowsEachFaultInOrderWithItsCaptionAndStyle) {
    const SyntaxCase& c = GetParam();
    Enter(c.name);
    EXPECT_EQ(box.ValidateValue(), c.boxes.empty());
    EXPECT_EQ(Boxes(), c.boxes);
}

TEST_P(SyntaxCheckTest, TheVerdictDoesNotDependOnMessageShow) {
    const SyntaxCase& c = GetParam();
    Enter(c.name);
    box.SetMessageShow(false);
    EXPECT_EQ(box.ValidateValue(), c.boxes.empty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(system.Calls(Op::MsgBox), 0);
}

INSTANTIATE_TEST_SUITE_P(Names, SyntaxCheckTest, ::testing::ValuesIn(SyntaxCases()),
                         [](const auto& nameInfo) { return std::string(nameInfo.param.label); });

TEST_F(FileNameBoxTest, AJapaneseHostSeesJapaneseBoxes) {
    host.localeId = 1041;
    Enter(u"C:\\a:b*");
    EXPECT_FALSE(box.ValidateValue());
    const std::u16string caption = expected::kCaptionWarning.japanese;
    const std::vector<Shown> japaneseBoxes = {
        {std::u16string(expected::kIllegalCharacter.japanese) + u"\r" +
             expected::kIllegalCharacterList.japanese + u"   /<>?|*'\"",
         caption, 16},
        {expected::kColons.japanese, caption, 16},
    };
    EXPECT_EQ(Boxes(), japaneseBoxes);
}

TEST_F(FileNameBoxTest, RefusedCharactersAreAcceptedUntilThePropertiesHaveBeenRead) {
    FakeTextBox freshInput;
    FileNameBox fresh(system, host, freshInput);
    fresh.InitProperties();
    fresh.SetText(u"C:\\a*b?.txt");
    EXPECT_TRUE(fresh.IllegalChars().empty());
    EXPECT_TRUE(fresh.ValidateValue());
    EXPECT_TRUE(Boxes().empty());
}

TEST(CollapseSpacesTest, EveryRunOfSpacesBecomesOne) {
    EXPECT_EQ(CollapseSpaces(u""), u"");
    EXPECT_EQ(CollapseSpaces(u"   "), u" ");
    EXPECT_EQ(CollapseSpaces(u"a  b   c "), u"a b c ");
    EXPECT_EQ(CollapseSpaces(u"C:\\   \\x"), u"C:\\ \\x");
    // Only U+0020 counts: tabs and ideographic spaces stay as they are.
    EXPECT_EQ(CollapseSpaces(u"a\t\t\u3000\u3000b"), u"a\t\t\u3000\u3000b");
}

} // namespace
} // namespace relingo::test
