// The texts of the dialog errors, exactly as hosts show them.
#include "filopdlg/DialogErrors.h"

#include "platform/Text.h"
#include "tests/fakes/FakeHost.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

constexpr int32_t kEnglish = 1033;
constexpr int32_t kJapanese = 1041;

TEST(DialogErrorMessageTest, CancelTextKeepsItsTrailingBlankInEnglish) {
    EXPECT_EQ(DialogErrorMessage(32755, kEnglish), u"Cancel was selected ");
    EXPECT_EQ(DialogErrorMessage(32755, kJapanese), u"[キャンセル] ボタンが選択されました。");
}

TEST(DialogErrorMessageTest, TextsKeepTheirBlanksAndHalfWidthPunctuation) {
    EXPECT_EQ(DialogErrorMessage(28661, kEnglish),
              u"The PrintDlg function failed when it attempted to create an information context ");
    EXPECT_EQ(DialogErrorMessage(32762, kEnglish),
              u"The function failed to load a specified string. ");
    EXPECT_EQ(DialogErrorMessage(28665, kJapanese),
              u" 初期化中に、PrintDlg 関数の実行に失敗しました。");
    EXPECT_EQ(DialogErrorMessage(24574, kJapanese), u"フォントがありません\uFF61");
    EXPECT_EQ(DialogErrorMessage(32757, kJapanese),
              u"関数は\uFF64ハンドルに関連付けられたメモリをロックできませんでした\uFF61");
    EXPECT_EQ(DialogErrorMessage(28668, kJapanese),
              u"PDReturnDefault フラグが設定されていますが、hDevMode または hDevNames "
              u"フィールドが 0 ではありません。");
}

TEST(DialogErrorMessageTest, NeighbouringNumbersKeepTheirOwnTexts) {
    EXPECT_EQ(DialogErrorMessage(32760, kEnglish),
              u"The function failed to load a specified string");
    EXPECT_EQ(DialogErrorMessage(32761, kEnglish),
              u"The function failed to load a specified resource");
    EXPECT_EQ(DialogErrorMessage(32760, kJapanese), DialogErrorMessage(32761, kJapanese));
    EXPECT_EQ(DialogErrorMessage(20476, kEnglish),
              u"The buffer at which the member lpstrFile points is too small");
    EXPECT_EQ(DialogErrorMessage(32765, kJapanese), u"関数が初期化に失敗しました\uFF61");
}

TEST(DialogErrorMessageTest, NumbersWithoutATextGetTheGeneralTextWithTheNumber) {
    EXPECT_EQ(DialogErrorMessage(12291, kEnglish),
              u"CommonDialog API error.(CommDlgExtendedError()=12291)");
    EXPECT_EQ(DialogErrorMessage(65535, kJapanese),
              u"コモンダイアログAPIでエラーが起きました。(CommDlgExtendedError()=65535)");
    EXPECT_EQ(DialogErrorMessage(0, kEnglish),
              u"CommonDialog API error.(CommDlgExtendedError()=0)");
    for (int32_t gap : {32753, 32754, 32756, 32763, 32764}) {
        EXPECT_EQ(DialogErrorMessage(gap, kEnglish),
                  u"CommonDialog API error.(CommDlgExtendedError()=" + ToDecimal(gap) + u")");
    }
    EXPECT_EQ(DialogErrorMessage(-5, kEnglish),
              u"CommonDialog API error.(CommDlgExtendedError()=-5)");
}

TEST(DialogErrorMessageTest, TheNegativeNumberIsNotConfusedWithItsLow16Bits) {
    EXPECT_EQ(DialogErrorMessage(-32768, kEnglish), u"The function failed to load the dialog box");
    EXPECT_EQ(DialogErrorMessage(-32768, kJapanese), u"コモン ダイアログの表示に失敗しました。");
    EXPECT_EQ(DialogErrorMessage(32768, kEnglish),
              u"CommonDialog API error.(CommDlgExtendedError()=32768)");
}

TEST(DialogErrorMessageTest, OnlyLocale1041IsJapanese) {
    for (int32_t locale : {2052, 1042, 1028, 0, -1041, 1041 + 0x10000}) {
        EXPECT_EQ(DialogErrorMessage(32755, locale), u"Cancel was selected ") << locale;
    }
}

TEST(DialogErrorMessageTest, FollowsTheHostsLocaleAtEveryCall) {
    FakeHost host;
    host.localeId = kJapanese;
    EXPECT_EQ(DialogErrorMessage(20477, host), u"ファイル名が不正です。");
    host.localeId = kEnglish;
    EXPECT_EQ(DialogErrorMessage(20477, host), u"Filename is invalid");
}

} // namespace
} // namespace relingo::test
