// The texts of the dialog errors, exactly as hosts show them.
#include "filopdlg/DialogErrors.h"

#include "platform/Text.h"
#include "tests/fakes/FakeHost.h"

#include <gtest/gtest.h>

namespace relingo::test {
namespace {

constexpr int32_t kEnglish = 1033;
constexpr int32_t kJapanese = 1041;

// Every row of the table, as users must see it.
constexpr struct {
    int32_t number;
    const char16_t* english;
    const char16_t* japanese;
} kTable[] = {
    {20476, u"The buffer at which the member lpstrFile points is too small",
     u"メンバ LpstrFile が指しているバッファは小さすぎます。"},
    {20477, u"Filename is invalid", u"ファイル名が不正です。"},
    {20478, u"An attempt to subclass a list box failed due to insufficient memory",
     u"メモリ不足のため、リスト ボックスのサブクラス化ができませんでした。"},
    {24574, u"No fonts exist", u"フォントがありません｡"},
    {28660, u"The [devices] section of Win.ini doesn't contain an entry for the requested printer",
     u"プリンタが指定されていません｡"},
    {28661, u"The PrintDlg function failed when it attempted to create an information context ",
     u"PrintDlg 関数が情報内容の作成に失敗しました。"},
    {28662, u"Data in the DevMode and DevNames data structures describe two different printers",
     u"DevMode と DevNames データ構造で 2 つの異なるプリンタが記述されています。"},
    {28663, u"A default printer doesn't exist", u"通常使うプリンタがありません｡"},
    {28664, u"No printer device drivers were found",
     u"プリンタのデバイス ドライバが見つかりません。"},
    {28665, u"The PrintDlg function failed during initialization",
     u" 初期化中に、PrintDlg 関数の実行に失敗しました。"},
    {28666, u"The printer device driver failed to initialize a DevMode data structure",
     u"プリンタのデバイス ドライバは DEVMODE データ構造の初期化に失敗しました。"},
    {28667, u"The PrintDlg function failed to load the specified printer's device driver",
     u"PrintDlg 関数は指定されたプリンタのデバイス ドライバの読み込みに失敗しました。"},
    {28668,
     u"The PDReturnDefault flag was set, but either the hDevMode or hDevNames field was nonzero",
     u"PDReturnDefault フラグが設定されていますが、hDevMode または hDevNames フィールドが 0 "
     u"ではありません。"},
    {28669,
     u"The CommonDialog function failed to parse the strings in the [devices] section of registry",
     u"CommonDialog 関数がレジストリ内の文字列の解析に失敗しました。"},
    {32751, u"Call to Windows Help failed", u"Windows ヘルプの呼び出しに失敗しました。"},
    {32752, u"Couldn't allocate memory for FileName or Filter property",
     u"FileName または Filter にメモリを割り当てることができませんでした。"},
    {32755, u"Cancel was selected ", u"[キャンセル] ボタンが選択されました。"},
    {32757, u"The function was unable to lock the memory associated with a handle",
     u"関数は､ハンドルに関連付けられたメモリをロックできませんでした｡"},
    {32758, u"The function was unable to allocate memory for internal data structures",
     u"関数は､内部データ構造にメモリを割り当てることができませんでした｡"},
    {32759, u"The function failed to lock a specified resource",
     u"関数は､指定したリソースを見つけられませんでした｡"},
    {32760, u"The function failed to load a specified string",
     u"関数が､指定したリソースのロードに失敗しました｡"},
    {32761, u"The function failed to load a specified resource",
     u"関数が､指定したリソースのロードに失敗しました｡"},
    {32762, u"The function failed to load a specified string. ",
     u"関数が、指定した文字列のロードに失敗しました。"},
    {32765, u"The function failed during initialization", u"関数が初期化に失敗しました｡"},
    {-32768, u"The function failed to load the dialog box",
     u"コモン ダイアログの表示に失敗しました。"},
};

TEST(DialogErrorMessageTest, EveryRowInBothLanguages) {
    for (const auto& row : kTable) {
        EXPECT_EQ(DialogErrorMessage(row.number, kEnglish), row.english) << row.number;
        EXPECT_EQ(DialogErrorMessage(row.number, kJapanese), row.japanese) << row.number;
    }
}

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
    EXPECT_EQ(DialogErrorMessage(32760, kJapanese),
              u"関数が\uFF64指定したリソースのロードに失敗しました\uFF61");
    EXPECT_EQ(DialogErrorMessage(32761, kJapanese),
              u"関数が\uFF64指定したリソースのロードに失敗しました\uFF61");
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
