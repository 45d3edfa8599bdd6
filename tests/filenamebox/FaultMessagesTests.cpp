#include "filenamebox/FaultMessages.h"

#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"

#include <gtest/gtest.h>

namespace relingo {
namespace {

struct Row {
    int16_t code;
    const char16_t* japanese;
    const char16_t* english;
};

const Row kRows[] = {
    {101, u"注意!!", u"Caution!!"},
    {102, u"警告!!", u"Warning!!"},
    {201, u"エラー番号", u"Error Number"},
    {202, u"エラー", u"Error"},
    {1001, u"文字数が255を越えています", u"Number of characters more than 255."},
    {1002, u"ファイル名として不正な文字が含まれています",
     u"Irregal character included in file name."},
    {1003, u"Windowsで使用できない文字", u"Not allowed characters for Windows"},
    {1004, u"\\ が3つ以上連続しています", u"More than two '\\' connect."},
    {1005, u":が2つ以上含まれています", u"Included more than one ':'."},
    {1006, u"ドライブ名の直後が\\　でありません",
     u"Tha character just after drive name is not '\\'."},
    {1007, u"ファイル名に不正な空白が含まれています", u"Irregal spaces included in file name."},
    {1008, u"フォルダを選択して下さい", u"Select a folder."},
    {1009, u"ファイルを選択して下さい", u"Select a file."},
    {1010, u"ファイルまたはフォルダが存在しません", u"File or folder not found."},
    {1011, u"有効なファイルまたはフォルダ名を指定して下さい", u"Enter valid file or folder name."},
    {1012, u"UNC名が指定されています。ドライブ名は含めないで下さい",
     u"UNC name is given.Not give drive name."},
    {1013, u"ドライブ名がアルファベットでありません", u"Drive name is not alphabetical."},
};

TEST(MessageTextTest, EveryRowInBothLanguages) {
    for (const auto& row : kRows) {
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
        EXPECT_EQ(MessageText(code, 1041), u"未定義");
        EXPECT_EQ(MessageText(code, 1033), u"Undefined.");
    }
}

TEST(MessageTextTest, OnlyLocale1041IsJapanese) {
    for (int32_t locale : {0, 1033, 2052, 1042, 1028, 2065, 0x10411, -1041}) {
        EXPECT_EQ(MessageText(1005, locale), u"Included more than one ':'.") << locale;
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
    EXPECT_EQ(system.MsgBoxes()[0].text, u":が2つ以上含まれています");
    EXPECT_EQ(system.MsgBoxes()[0].caption, u"警告!!");
    EXPECT_EQ(system.MsgBoxes()[0].style, 16);
    EXPECT_EQ(system.MsgBoxes()[1].text, u"Included more than one ':'.");
    EXPECT_EQ(system.MsgBoxes()[1].caption, u"Warning!!");
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
