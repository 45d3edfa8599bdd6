#include "filenamebox/FaultMessages.h"

#include "platform/HostServices.h"
#include "platform/SystemServices.h"

namespace relingo {

namespace {

struct CatalogueRow {
    int16_t code;
    const char16_t* japanese;
    const char16_t* english;
};

// Texts exactly as users have always seen them, spelling included.
constexpr CatalogueRow kCatalogue[] = {
    {msg::kCaptionCaution, u"注意!!", u"Caution!!"},
    {msg::kCaptionWarning, u"警告!!", u"Warning!!"},
    {msg::kCaptionErrorNumber, u"エラー番号", u"Error Number"},
    {msg::kCaptionError, u"エラー", u"Error"},
    {msg::kTooLong, u"文字数が255を越えています", u"Number of characters more than 255."},
    {msg::kIllegalCharacter, u"ファイル名として不正な文字が含まれています",
     u"Irregal character included in file name."},
    {msg::kIllegalCharacterList, u"Windowsで使用できない文字",
     u"Not allowed characters for Windows"},
    {msg::kBackslashRun, u"\\ が3つ以上連続しています", u"More than two '\\' connect."},
    {msg::kColons, u":が2つ以上含まれています", u"Included more than one ':'."},
    {msg::kNoBackslashAfterDrive, u"ドライブ名の直後が\\\u3000でありません",
     u"Tha character just after drive name is not '\\'."},
    {msg::kSpaceComponent, u"ファイル名に不正な空白が含まれています",
     u"Irregal spaces included in file name."},
    {msg::kSelectFolder, u"フォルダを選択して下さい", u"Select a folder."},
    {msg::kSelectFile, u"ファイルを選択して下さい", u"Select a file."},
    {msg::kNotFound, u"ファイルまたはフォルダが存在しません", u"File or folder not found."},
    {msg::kInvalidName, u"有効なファイルまたはフォルダ名を指定して下さい",
     u"Enter valid file or folder name."},
    {msg::kUncWithDrive, u"UNC名が指定されています。ドライブ名は含めないで下さい",
     u"UNC name is given.Not give drive name."},
    {msg::kDriveNotAlphabetical, u"ドライブ名がアルファベットでありません",
     u"Drive name is not alphabetical."},
};

constexpr CatalogueRow kUndefined = {0, u"未定義", u"Undefined."};

} // namespace

std::u16string MessageText(int16_t code, int32_t localeId) {
    const CatalogueRow* row = &kUndefined;
    for (const auto& candidate : kCatalogue) {
        if (candidate.code == code) {
            row = &candidate;
            break;
        }
    }
    return localeId == kLocaleJapanese ? row->japanese : row->english;
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
