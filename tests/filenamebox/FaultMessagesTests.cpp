#include "filenamebox/FaultMessages.h"

#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/filenamebox/ExpectedMessages.h"

#include <gtest/gtest.h>

namespace relingo {
namespace {

using test::expected::kCaptionWarning;
using test::expected::kCatalogue;
using test::expected::kColons;
using test::expected::kUndefined;

TEST(MessageTextTest, EveryRowInBothLanguages) {
    for (const auto& row : kCatalogue) {
        EXPECT_EQ(MessageText(row.code, 1041), row.japanese) << row.code;
        EXPECT_EQ(MessageText(row.code, 1033), row.english) << row.code;
    }
}

TEST(MessageTextTest, TheIdeographicAndOrdinarySpacesAreWhereTheyBelong) {
    EXPECT_EQ(MessageText(1006, 1041)[10], u'\u3000');
    EXPECT_EQ(MessageText(1004, 1041).substr(0, 2), u"\\ ");
}

TEST(MessageTextTest, CodesWithoutARowGiveTheFallback) {
    for (int16_t code : {int16_t{0}, int16_t{1014}, int16_t{-1}, int16_t{1000}, int16_t{32767}}) {
        EXPECT_EQ(MessageText(code, 1041), kUndefined.japanese) << code;
        EXPECT_EQ(MessageText(code, 1033), kUndefined.english) << code;
    }
}

TEST(MessageTextTest, OnlyLocale1041IsJapanese) {
    for (int32_t locale : {0, 1033, 2052, 1042, 1028, 2065, 0x10411, -1041}) {
        EXPECT_EQ(MessageText(1005, locale), kColons.english) << locale;
    }
}

TEST(ShowFaultTest, CaptionFollowsTheHostLocaleAtEveryCall) {
    test::FakeSystem system;
    test::FakeHost host;
    host.localeId = 1041;
    ShowFault(system, host, true, MessageText(1005, host), msg::kCaptionWarning, 16);
    host.localeId = 2052;
    ShowFault(system, host, true, MessageText(1005, host), msg::kCaptionWarning, 16);

    ASSERT_EQ(system.MsgBoxes().size(), 2u);
    EXPECT_EQ(system.MsgBoxes()[0].text, kColons.japanese);
    EXPECT_EQ(system.MsgBoxes()[0].caption, kCaptionWarning.japanese);
    EXPECT_EQ(system.MsgBoxes()[0].style, 16);
    EXPECT_EQ(system.MsgBoxes()[1].text, kColons.english);
    EXPECT_EQ(system.MsgBoxes()[1].caption, kCaptionWarning.english);
}

TEST(ShowFaultTest, NothingIsShownWhenMessageShowIsFalse) {
    test::FakeSystem system;
    test::FakeHost host;
    ShowFault(system, host, false, u"anything", msg::kCaptionCaution, 48);
    EXPECT_TRUE(system.MsgBoxes().empty());
    EXPECT_EQ(system.Calls(test::Op::MsgBox), 0);
}

} // namespace
} // namespace relingo
