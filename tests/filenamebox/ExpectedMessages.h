// The name box's message texts as users must see them, written out here once, so that a wrong
// text in the product's catalogue fails the tests instead of setting their expectations.
#pragma once

#include <cstdint>

namespace relingo::test::expected {

struct Message {
    int16_t code;
    const char16_t* english;
    const char16_t* japanese;
};

inline constexpr Message kCaptionCaution{101, u"Caution!!", u"注意!!"};
inline constexpr Message kCaptionWarning{102, u"Warning!!", u"警告!!"};
inline constexpr Message kCaptionErrorNumber{201, u"Error Number", u"エラー番号"};
inline constexpr Message kCaptionError{202, u"Error", u"エラー"};
inline constexpr Message kTooLong{1001, u"Number of characters more than 255.",
                                  u"文字数が255を越えています"};
inline constexpr Message kIllegalCharacter{1002, u"Irregal character included in file name.",
                                           u"ファイル名として不正な文字が含まれています"};
inline constexpr Message kIllegalCharacterList{1003, u"Not allowed characters for Windows",
                                               u"Windowsで使用できない文字"};
inline constexpr Message kBackslashRun{1004, u"More than two '\\' connect.",
                                       u"\\ が3つ以上連続しています"};
inline constexpr Message kColons{1005, u"Included more than one ':'.", u":が2つ以上含まれています"};
// The Japanese text has an ideographic space right after the backslash.
inline constexpr Message kNoBackslashAfterDrive{1006,
                                                u"Tha character just after drive name is not '\\'.",
                                                u"ドライブ名の直後が\\\u3000でありません"};
inline constexpr Message kSpaceComponent{1007, u"Irregal spaces included in file name.",
                                         u"ファイル名に不正な空白が含まれています"};
inline constexpr Message kSelectFolder{1008, u"Select a folder.", u"フォルダを選択して下さい"};
inline constexpr Message kSelectFile{1009, u"Select a file.", u"ファイルを選択して下さい"};
inline constexpr Message kNotFound{1010, u"File or folder not found.",
                                   u"ファイルまたはフォルダが存在しません"};
inline constexpr Message kInvalidName{1011, u"Enter valid file or folder name.",
                                      u"有効なファイルまたはフォルダ名を指定して下さい"};
inline constexpr Message kUncWithDrive{1012, u"UNC name is given.Not give drive name.",
                                       u"UNC名が指定されています。ドライブ名は含めないで下さい"};
inline constexpr Message kDriveNotAlphabetical{1013, u"Drive name is not alphabetical.",
                                               u"ドライブ名がアルファベットでありません"};

// Every row of the catalogue, in its order.
inline constexpr Message kCatalogue[] = {
    kCaptionCaution,
    kCaptionWarning,
    kCaptionErrorNumber,
    kCaptionError,
    kTooLong,
    kIllegalCharacter,
    kIllegalCharacterList,
    kBackslashRun,
    kColons,
    kNoBackslashAfterDrive,
    kSpaceComponent,
    kSelectFolder,
    kSelectFile,
    kNotFound,
    kInvalidName,
    kUncWithDrive,
    kDriveNotAlphabetical,
};

// What a code without a row gives.
inline constexpr Message kUndefined{0, u"Undefined.", u"未定義"};

} // namespace relingo::test::expected
