// The blocks a dialog request points at: their bytes, their owner, and the text helpers of the
// request.
#include "filopdlg/DialogBlock.h"

#include "platform/Error.h"
#include "tests/fakes/FakeDialogs.h"
#include "tests/fakes/FakeSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace relingo::test {
namespace {

using namespace std::string_literals;

class DialogBlockTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(dialogs.LiveBlocks(), 0u);
        EXPECT_EQ(dialogs.BadFrees(), 0u);
    }
    FakeSystem system;
    FakeDialogs dialogs;
};

TEST_F(DialogBlockTest, AnsiBlockHoldsTheTextAndANulWithAsMuchRoomAgain) {
    const DialogBlock block = ToAnsiBlock(dialogs, system, u"C:\\Data");
    ASSERT_TRUE(block);
    EXPECT_EQ(std::string(block.Data(), block.Size()), "C:\\Data\0\0\0\0\0\0\0\0\0"s);
    EXPECT_EQ(dialogs.LiveBlocks(), 1u);
}

TEST_F(DialogBlockTest, EmptyTextGivesTheNullAddressAndAllocatesNothing) {
    const DialogBlock block = ToAnsiBlock(dialogs, system, u"");
    EXPECT_FALSE(block);
    EXPECT_EQ(block.Data(), nullptr);
    EXPECT_EQ(dialogs.Allocations(), 0u);
    EXPECT_EQ(TextFromAnsiBlock(system, block), u"");
}

TEST_F(DialogBlockTest, OwnershipMovesAndTheLastOwnerFreesOnce) {
    DialogBlock first(dialogs, 4);
    char* const bytes = first.Data();
    DialogBlock second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Data(), bytes);
    DialogBlock third(dialogs, 8);
    third = std::move(second);
    EXPECT_EQ(third.Data(), bytes);
    EXPECT_EQ(dialogs.LiveBlocks(), 1u);
    third = DialogBlock();
    EXPECT_EQ(dialogs.LiveBlocks(), 0u);
}

TEST_F(DialogBlockTest, AFailedAllocationIsOutOfMemory) {
    dialogs.FailAllocation(1);
    try {
        ToAnsiBlock(dialogs, system, u"x");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), errnum::kOutOfMemory);
    }
}

TEST_F(DialogBlockTest, TextIsReadUpToItsNulAndNeverPastTheBlock) {
    DialogBlock block(dialogs, 6);
    std::string("ab\0cd\0", 6).copy(block.Data(), 6);
    EXPECT_EQ(TextFromAnsiBlock(system, block), u"ab");
    std::string("abcdef").copy(block.Data(), 6);
    EXPECT_EQ(TextFromAnsiBlock(system, block), u"abcdef");
}

TEST(DialogTextTest, ReplaceCharKeepsEveryPosition) {
    EXPECT_EQ(ReplaceChar(u"a|b||c|", u'|', u'\0'), u"a\0b\0\0c\0"s);
    EXPECT_EQ(ReplaceChar(u"", u'|', u'\0'), u"");
}

TEST(DialogTextTest, TextBeforeNulAndDoubleNul) {
    EXPECT_EQ(TextBeforeNul(u"C:\\A.TXT\0   "s), u"C:\\A.TXT");
    EXPECT_EQ(TextBeforeNul(u"no nul"), u"no nul");
    EXPECT_EQ(TextBeforeDoubleNul(u"C:\\D\0A\0B\0\0  "s), u"C:\\D\0A\0B"s);
    EXPECT_EQ(TextBeforeDoubleNul(u"a\0b"s), u"a\0b"s);
    EXPECT_EQ(TextBeforeDoubleNul(u"\0\0"s), u"");
}

} // namespace
} // namespace relingo::test
