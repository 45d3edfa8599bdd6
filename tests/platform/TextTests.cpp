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
