#include "filenamebox/FaultMessages.h"

#include "platform/HostServices.h"
#include "platform/LocalizedText.h"
#include "platform/SystemServices.h"

#include <utility>

namespace relingo {

namespace {

// The texts stand exactly as they are to be shown, misspellings included.
constexpr LocalizedText kCatalogue[] = {
    {msg::kCaptionCaution, u"Caution!!", u"注意!!"},
    {msg::kCaptionWarning, u"Warning!!", u"警告!!"},
    {msg::kCaptionErrorNumber, u"Error Number", u"エラー番号"},
    {msg::kCaptionError, u"Error", u"エラー"},
    {msg::kTooLong, u"Number of characters more than 255.", u"文字数が255を越えています"},
    {msg::kIllegalCharacter, u"Irregal character included in file name.",
     u"ファイル名として不正な文字が含まれています"},
    {msg::kIllegalCharacterList, u"Not allowed characters for Windows",
     u"Windowsで使用できない文字"},
    {msg::kBackslashRun, u"More than two '\\' connect.", u"\\ が3つ以上連続しています"},
    {msg::kColons, u"Included more than one ':'.", u":が2つ以上含まれています"},
    {msg::kNoBackslashAfterDrive, u"Tha character just after drive name is not '\\'.",
     u"ドライブ名の直後が\\\u3000でありません"},
    {msg::kSpaceComponent, u"Irregal spaces included in file name.",
     u"ファイル名に不正な空白が含まれています"},
    {msg::kSelectFolder, u"Select a folder.", u"フォルダを選択して下さい"},
    {msg::kSelectFile, u"Select a file.", u"ファイルを選択して下さい"},
    {msg::kNotFound, u"File or folder not found.", u"ファイルまたはフォルダが存在しません"},
    {msg::kInvalidName, u"Enter valid file or folder name.",
     u"有効なファイルまたはフォルダ名を指定して下さい"},
    {msg::kUncWithDrive, u"UNC name is given.Not give drive name.",
     u"UNC名が指定されています。ドライブ名は含めないで下さい"},
    {msg::kDriveNotAlphabetical, u"Drive name is not alphabetical.",
     u"ドライブ名がアルファベットでありません"},
};

constexpr LocalizedText kUndefined = {0, u"Undefined.", u"未定義"};

} // namespace

std::u16string MessageText(int16_t code, int32_t localeId) {
    if (auto text = LookUpText(kCatalogue, code, localeId)) {
        return *std::move(text);
    }
    return InLanguage(kUndefined, localeId);
}

std::u16string MessageText(int16_t code, ControlHost& host) {
    return MessageText(code, host.AmbientLocaleID());
}

void ShowFault(SystemServices& system, ControlHost& host, bool messageShow,
               const std::u16string& text, int16_t captionCode, int32_t style) {
    if (!messageShow) {
        return;
    }
    system.MsgBox(text, style, MessageText(captionCode, host));
}

} // namespace relingo
