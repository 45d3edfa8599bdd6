#include "filopdlg/DialogErrors.h"

#include "platform/HostServices.h"
#include "platform/LocalizedText.h"
#include "platform/Text.h"

#include <utility>

namespace relingo {

namespace {

// The rows for the print and font dialogs are kept although the control never shows those
// dialogs: hosts share the numbering with other dialog controls.
constexpr LocalizedText kDialogErrorTexts[] = {
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

constexpr LocalizedText kGeneralPrefix = {
    0, u"CommonDialog API error.(CommDlgExtendedError()=",
    u"コモンダイアログAPIでエラーが起きました。(CommDlgExtendedError()="};
constexpr char16_t kClosing[] = u")";

} // namespace

std::u16string DialogErrorMessage(int32_t number, int32_t localeId) {
    if (auto text = LookUpText(kDialogErrorTexts, number, localeId)) {
        return *std::move(text);
    }
    return InLanguage(kGeneralPrefix, localeId) + ToDecimal(number) + kClosing;
}

std::u16string DialogErrorMessage(int32_t number, ControlHost& host) {
    return DialogErrorMessage(number, host.AmbientLocaleID());
}

} // namespace relingo
