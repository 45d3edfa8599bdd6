#include "platform/Error.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace relingo {
namespace {

TEST(TextTest, Utf8RoundTripKeepsPairsAndReplacesLoneSurrogates) {
    const std::u16string text = u"C:\\\u30C6\u30B9\u30C8\\\U0001F600.exe";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"a\xD800"
                     "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\xFFFD"); // overlong slash
    EXPECT_EQ(FromUtf8("\xE3\x81"), u"\xFFFD"); // cut short
}

TEST(TextTest, AsciiUpperTouchesOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpper(u"c:\\ipdk\\pdwizloc.exe"), u"C:\\IPDK\\PDWIZLOC.EXE");
    EXPECT_EQ(AsciiUpper(u"\u0131\u00E9\uFF53"), u"\u0131\u00E9\uFF53");
}

// Beside the letters: the characters next to their ranges, a digit, an accented letter, the
// full-width C, and the dotless i that some locales upper-case to I.
TEST(TextTest, OnlyTheAsciiLettersAreDriveLetters) {
    const struct {
        std::u16string_view text;
        bool letter;
        bool drive;
    } cases[] = {
        {u"A:", true, true},        {u"Z:", true, true},        {u"a:\\x", true, true},
        {u"z:", true, true},        {u"@:", false, false},      {u"[:", false, false},
        {u"`:", false, false},      {u"{:", false, false},      {u"1:", false, false},
        {u"\u00E9:", false, false}, {u"\uFF23:", false, false}, {u"\u0131:", false, false},
        {u"C", true, false},        {u"C\\:", true, false},     {u":C", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAsciiLetter(c.text.front()), c.letter) << ToUtf8(c.text);
        EXPECT_EQ(HasDriveLetter(c.text), c.drive) << ToUtf8(c.text);
    }
    EXPECT_FALSE(HasDriveLetter(u""));
}

TEST(TextTest, TextBeforeFirstColonIsTheDriveOfAPath) {
    const struct {
        std::u16string_view text;
        std::u16string_view expected;
    } cases[] = {
        {u"C:\\WINDOWS\\SYSTEM", u"C"}, {u"", u""},        {u"\\\\srv\\share", u""}, {u":\\x", u""},
        {u"ab:\\c:d", u"ab"},           {u" c :", u" c "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextBeforeFirstColon(c.text), c.expected) << ToUtf8(c.text);
    }
}

TEST(TextTest, TrimSpacesRemovesOnlySpaces) {
    EXPECT_EQ(TrimSpaces(u"  (none)  "), u"(none)");
    EXPECT_EQ(TrimSpaces(u"\t(none)\t"), u"\t(none)\t");
    EXPECT_EQ(TrimSpaces(u"   "), u"");
}

TEST(TextTest, ParseWholeNumberAcceptsOnlyWholeNumbersThatFit) {
    EXPECT_EQ(ParseWholeNumber(u" 8 "), 8);
    EXPECT_EQ(ParseWholeNumber(u"-1"), -1);
    EXPECT_EQ(ParseWholeNumber(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseWholeNumber(u"2147483648"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(u"1.5"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(u"abc"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(u""), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(u"-"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(u"99999999999"), std::nullopt);
}

TEST(ErrorTest, StandardErrorsCarryTheirTextAndTheProgramAsSource) {
    const Error e(errnum::kFileNotFound);
    EXPECT_EQ(e.Number(), 53);
    EXPECT_EQ(e.Description(), u"File not found");
    EXPECT_EQ(e.Source(), u"Relingo");
    EXPECT_STREQ(e.what(), "Error 53: File not found");
    EXPECT_EQ(Error(errnum::kSetNotSupportedAtRunTime).Description(),
              u"Set not supported at run time");
    EXPECT_EQ(Error(errnum::kInvalidPropertyValue).Description(), u"Invalid property value");
}

} // namespace
} // namespace relingo
