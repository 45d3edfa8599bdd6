#include "platform/Error.h"

#include "platform/LocalizedText.h"
#include "platform/Text.h"

#include <utility>

namespace relingo {

Error::Error(int32_t number) : Error(number, StandardDescription(number)) {}

Error::Error(int32_t number, std::u16string description, std::u16string source,
             std::u16string helpFile, int32_t helpContext)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      helpFile_(std::move(helpFile)), helpContext_(helpContext),
      what_("Error " + std::to_string(number) + ": " + ToUtf8(description_)) {}

namespace {

// The run-time errors the program raises itself or passes on, with the texts users of such
// tools know in both languages.
constexpr LocalizedText kStandardDescriptions[] = {
    {errnum::kInvalidProcedureCall, u"Invalid procedure call or argument",
     u"プロシージャの呼び出し、または引数が不正です。"},
    {errnum::kOverflow, u"Overflow", u"オーバーフローしました。"},
    {errnum::kOutOfMemory, u"Out of memory", u"メモリが不足しています。"},
    {errnum::kTypeMismatch, u"Type mismatch", u"型が一致しません。"},
    {errnum::kInternalError, u"Internal error", u"内部エラーです。"},
    {errnum::kBadFileName, u"Bad file name or number", u"ファイル名または番号が不正です。"},
    {errnum::kFileNotFound, u"File not found", u"ファイルが見つかりません。"},
    {errnum::kDeviceUnavailable, u"Device unavailable", u"デバイスが準備されていません。"},
    {errnum::kDiskNotReady, u"Disk not ready", u"ディスクが準備されていません。"},
    {errnum::kPathFileAccess, u"Path/File access error", u"パス名が無効です。"},
    {errnum::kPathNotFound, u"Path not found", u"パスが見つかりません。"},
    {errnum::kInvalidFileFormat, u"Invalid file format", u"ファイル形式が不正です。"},
    {errnum::kInvalidPropertyValue, u"Invalid property value", u"プロパティの値が不正です。"},
    {errnum::kSetNotSupportedAtRunTime, u"Set not supported at run time",
     u"実行時にはこのプロパティを設定できません。"},
    {errnum::kCannotCreateObject, u"ActiveX component can't create object",
     u"ActiveX コンポーネントはオブジェクトを作成できません。"},
};

constexpr LocalizedText kUndefinedError = {
    0, u"Application-defined or object-defined error",
    u"アプリケーション定義またはオブジェクト定義のエラーです。"};

} // namespace

std::u16string StandardDescription(int32_t number) {
    return StandardDescription(number, 0);
}

std::u16string StandardDescription(int32_t number, int32_t localeId) {
    if (auto text = LookUpText(kStandardDescriptions, number, localeId)) {
        return *std::move(text);
    }
    return InLanguage(kUndefinedError, localeId);
}

} // namespace relingo
