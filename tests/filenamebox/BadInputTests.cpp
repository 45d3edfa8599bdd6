// Hostile texts get the verdict the rules give, without a crash or a hang.
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

std::u16string Repeated(char16_t c, size_t count) {
    return std::u16string(count, c);
}

class BadInputTest : public FileNameBoxTest {
protected:
    // Runs the validation with boxes on and off: the verdict must be the same.
    std::vector<Shown> Judge(const std::u16string& text, int32_t mode, bool expectedValid) {
        Enter(text, mode);
        box.SetMessageShow(false);
        EXPECT_EQ(box.ValidateValue(), expectedValid);
        box.SetMessageShow(true);
        EXPECT_EQ(box.ValidateValue(), expectedValid);
        return Boxes();
    }
};

TEST_F(BadInputTest, AHundredThousandCharacters) {
    const std::u16string name = u"C:\\" + Repeated(u'a', 100'000);
    EXPECT_EQ(Judge(name, fnbmode::kFile, false),
              std::vector{Fault(expected::kTooLong, expected::kCaptionError, 16)});
    EXPECT_EQ(system.Calls(Op::FindFirstEntry), 0);
    EXPECT_EQ(box.FileTitle(), u"");
    EXPECT_EQ(box.FileDrive(), u"C");
}

TEST_F(BadInputTest, AHundredThousandBackslashesOrColons) {
    EXPECT_EQ(Judge(Repeated(u'\\', 100'000), 0, false),
              (std::vector{Fault(expected::kTooLong, expected::kCaptionError, 16),
                           Warning(expected::kBackslashRun)}));
    EXPECT_EQ(Judge(Repeated(u':', 100'000), 0, false),
              (std::vector{Fault(expected::kTooLong, expected::kCaptionError, 16),
                           Warning(expected::kColons), Warning(expected::kDriveNotAlphabetical)}));
    EXPECT_EQ(Judge(Repeated(u' ', 100'000), 0, false),
              (std::vector{Fault(expected::kTooLong, expected::kCaptionError, 16),
                           Warning(expected::kDriveNotAlphabetical)}));
}

TEST_F(BadInputTest, OnlyBackslashes) {
    EXPECT_EQ(Judge(u"\\", 0, false), std::vector{Warning(expected::kNoBackslashAfterDrive)});
    EXPECT_EQ(Judge(u"\\\\", 0, false), std::vector{Warning(expected::kNoBackslashAfterDrive)});
    EXPECT_EQ(Judge(u"\\\\\\", 0, false), std::vector{Warning(expected::kBackslashRun)});
    EXPECT_EQ(Judge(u"\\\\\\\\\\", 3, false), std::vector{Warning(expected::kBackslashRun)});
}

TEST_F(BadInputTest, OnlyColons) {
    EXPECT_EQ(Judge(u":", 0, false), (std::vector{Warning(expected::kNoBackslashAfterDrive),
                                                  Warning(expected::kDriveNotAlphabetical)}));
    EXPECT_EQ(Judge(u":::", 0, false),
              (std::vector{Warning(expected::kColons), Warning(expected::kDriveNotAlphabetical)}));
}

// The rules say nothing of NUL, control characters or broken UTF-16: the syntax lets them pass,
// and no such name can be found.
TEST_F(BadInputTest, EmbeddedNulCharacters) {
    const std::u16string name(u"C:\\a\0b.txt", 10);
    system.AddFile(u"C:\\a");
    EXPECT_TRUE(Judge(name, 0, true).empty());
    EXPECT_EQ(box.FileName(), name);
    EXPECT_EQ(box.FileExtension(), u"txt");
    EXPECT_EQ(Judge(name, 3, false), std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(Judge(std::u16string(u"\0", 1), 0, false),
              std::vector{Warning(expected::kDriveNotAlphabetical)});
}

TEST_F(BadInputTest, UnpairedSurrogates) {
    const std::u16string name = u"C:\\a\xD800"
                                u"b\\\xDC00.txt";
    EXPECT_TRUE(Judge(name, 0, true).empty());
    EXPECT_EQ(box.FileTitle(), u"\\\xDC00.txt");
    EXPECT_EQ(Judge(name, 1, false), std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(Judge(u"\xD800:\\x", 0, false),
              std::vector{Warning(expected::kDriveNotAlphabetical)});
}

TEST_F(BadInputTest, ControlCharacters) {
    const std::u16string name = u"C:\\a\tb\x01\x1F\x7F.txt";
    EXPECT_TRUE(Judge(name, 0, true).empty());
    EXPECT_EQ(Judge(name, 2, false), std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(Judge(u"\r\n", 0, false), std::vector{Warning(expected::kDriveNotAlphabetical)});
}

// Each of these texts fails the validation, so every validated part is empty and no lookup
// finds anything; reading them all must simply come back.
TEST_F(BadInputTest, HostileTextsThroughEveryPart) {
    const std::u16string texts[] = {
        Repeated(u'\\', 100'000),     Repeated(u':', 5), Repeated(u'.', 300),
        std::u16string(u"\0\0\0", 3), u"\xDBFF",         u"C:\\" + Repeated(u'.', 100'000),
    };
    for (const auto& text : texts) {
        for (int32_t mode : {0, 3}) {
            Enter(text, mode);
            box.SetMessageShow(false);
            EXPECT_EQ(box.FileName(), u"");
            EXPECT_EQ(box.FilePath(), u"");
            EXPECT_EQ(box.FileTitle(), u"");
            EXPECT_EQ(box.FileBody(), u"");
            EXPECT_EQ(box.FilePathBody(), u"");
            EXPECT_EQ(box.FileExtension(), u"");
            EXPECT_EQ(box.ShortFileName(), u"");
            EXPECT_EQ(box.LongFileName(), u"");
            EXPECT_FALSE(box.IsFile());
            EXPECT_FALSE(box.IsFolder());
            const size_t colon = text.find(u':');
            EXPECT_TRUE(box.FileDrive() ==
                        (colon == std::u16string::npos ? u"" : text.substr(0, colon)));
        }
    }
}

} // namespace
} // namespace relingo::test
