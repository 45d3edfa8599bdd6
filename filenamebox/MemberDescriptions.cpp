#include "filenamebox/MemberDescriptions.h"

namespace relingo {

namespace {

// The members named like the inner box's own properties, Cls and Refresh carry the texts users
// know for those members from the design environment.
constexpr MemberDescription kMembers[] = {
    {u"Cls", u"Clears graphics and text generated at run time from a Form, Image, or PictureBox."},
    {u"Refresh", u"Forces a complete repaint of a form or control."},
    {u"Restore", u"Storeメソッドで保存した値を元に戻します。"},
    {u"RestoreDefault", u"コントロールの値をデフォルトに戻します。"},
    {u"Store", u"現在の値を一時的に保存します。"},
    {u"Cancel", u"ValidateイベントにおけるCancelの値を返します。"},
    {u"ValidateValue", u"文字列がWindowsファイル名として有効であるかを返します。"},
    {u"BackColor", u"Returns/sets the background color used to display text and graphics in an "
                   u"object."},
    {u"DefaultValue", u"コントロールのデフォルトの値です。"},
    {u"Enabled", u"Returns/sets a value that determines whether an object can respond to "
                 u"user-generated events."},
    {u"FileBody", u"ファイル名（パスなし）から拡張子を除いた文字列を返します。"},
    {u"FileDrive", u"指定のフルパスファイル名よりドライブ名を取得します。"},
    {u"FileExtension", u"ファイルの拡張子を返します。"},
    {u"FileName", u"ファイル名（フルパス）を返します。"},
    {u"FilePath", u"フルパスファイル名より、ファイル名を除去したパスの文字列を返します。"},
    {u"FilePathBody", u"フルパスファイル名より、拡張子を除いた文字列を返します。"},
    {u"FileTitle", u"フルパスファイル名より、パスを除去してファイル名のみを返します。"},
    {u"Font", u"Returns a Font object."},
    {u"ForeColor", u"Returns/sets the foreground color used to display text and graphics in an "
                   u"object."},
    {u"IMEMode", u"Returns/sets the Input Method Editor (IME) mode of an object."},
    {u"IsFile", u""},
    {u"IsFolder", u""},
    {u"KeyName", u"レジストリやIniファイル用のキー名称を記述します。"},
    {u"MaxLength", u"Returns/sets the maximum number of characters that can be entered in a "
                   u"control."},
    {u"MessageShow", u"不正なファイル名前の入力や存在しないファイルの指定などの警告をダイアログで"
                     u"表示するかを指定します。"},
    {u"mode", u"ファイル、またはフォルダの存在を確認するかを指定します。"},
    {u"SectionName", u"レジストリやIniファイル用のセクション名称を記述します。"},
    {u"SelLength", u"Returns/sets the number of characters selected."},
    {u"SelStart", u"Returns/sets the starting point of text selected."},
    {u"SelText", u"Returns/sets the string containing the currently selected text."},
    {u"Text", u"Returns/sets the text contained in the control."},
    {u"ValidateAtLostFocus", u"値のチェックをLostFocusイベントで行うかを指定します。"},
    {u"Value", u""},
    {u"ShortFileName", u"短い形式のファイル名を返します。"},
    {u"LongFileName", u"長い形式のファイル名を返します。"},
};

} // namespace

std::span<const MemberDescription> FileNameBoxMembers() {
    return kMembers;
}

std::u16string_view FileNameBoxMemberDescription(std::u16string_view memberName) {
    for (const auto& member : kMembers) {
        if (member.name == memberName) {
            return member.description;
        }
    }
    return {};
}

} // namespace relingo
