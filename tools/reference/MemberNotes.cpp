#include "tools/reference/MemberNotes.h"

namespace relingo::reference {

namespace {

constexpr char kBox[] = "FileNameBox";
constexpr char kDialog[] = "FilOpDlg";

constexpr char kYes[] = "yes";
constexpr char kValidates[] = "Runs the name check first (its fault boxes, when `MessageShow` is "
                              "True); empty when the name is refused. ";
constexpr char kFileSystem[] =
    "an error of the file system while a folder is read passes on (71 Disk not ready, say)";
constexpr char kNotNegative[] = "380 Invalid property value: a negative number";
constexpr char kDialogRun[] =
    "32755 Cancel was selected (the user cancelled and `CancelError` is True); the dialog's own "
    "failure code with the text \"CommonDialog API error.(CommDlgExtendedError()=code)\" (12291 "
    "when `MaxFileSize` is too small for the choice); 5 Invalid procedure call when `FileName` "
    "is longer than twice `MaxFileSize`; 6 Overflow when twice `MaxFileSize` is beyond a Long; "
    "429 when Windows cannot start COM for the dialog";

constexpr MemberNote kNotes[] = {
    // ---- FileNameBox ----
    {kBox, "Cls", "Empties the box (a `Change` follows)."},
    {kBox, "Refresh", "Draws the control again."},
    {kBox, "Restore", "Puts back the text kept by the last `Store`; empty before any."},
    {kBox, "RestoreDefault", "Puts back `DefaultValue` as the text."},
    {kBox, "Store", "Keeps the text, for `Restore`; one text at a time."},
    {kBox, "Cancel",
     "Checks the name and returns True when it is refused: the value for a container's "
     "validation event's Cancel."},
    {kBox, "ValidateValue",
     "Checks the name (syntax, then existence as `mode` asks) and returns True when it is "
     "accepted; each fault shows a box when `MessageShow` is True."},
    {kBox, "BackColor", "The colour behind the text.", "&H80000005& (window background)",
     "BackColor", kYes, "380 Invalid property value: not an RGB colour or a system colour"},
    {kBox, "DefaultValue",
     "The text the box starts with when the form is loaded, and that `RestoreDefault` puts back. "
     "Setting it at design time shows it in the box.",
     "empty", "DefaultValue", "no: 382 Set not supported at run time"},
    {kBox, "Enabled", "Whether the box takes input.", "True", "Enabled", kYes},
    {kBox, "FileBody",
     "The title without its extension, with the backslash before it (`\\PDWizLoc`).", "empty"},
    {kBox, "FileDrive",
     "What comes before the first colon (`C`); no check is made, and no box is shown.", "empty"},
    {kBox, "FileExtension", "What follows the last dot (`exe`).", "empty"},
    {kBox, "FileName", "The whole name, once it is accepted.", "empty"},
    {kBox, "FilePath", "The folder before the last backslash (`C:\\IPDK`).", "empty"},
    {kBox, "FilePathBody", "The whole name without its extension (`C:\\IPDK\\PDWizLoc`).", "empty"},
    {kBox, "FileTitle",
     "The name from its last backslash on, the backslash included (`\\PDWizLoc.exe`).", "empty"},
    {kBox, "Font", "The font of the text; the box uses the very object it is given.",
     "the container's font", "Font", kYes, "380 Invalid property value: Nothing"},
    {kBox, "ForeColor", "The colour of the text.", "&H80000008& (window text)", "ForeColor", kYes,
     "380 Invalid property value: not an RGB colour or a system colour"},
    {kBox, "IMEMode", "What the input method does when the box gets the focus (values below).", "0",
     "IMEMode", kYes,
     "6 Overflow: beyond an Integer; 380 Invalid property value: below 0 or above 10"},
    {kBox, "IsFile",
     "Whether the name is an existing file; a name not found shows its box when `MessageShow` "
     "is True. The syntax is not checked.",
     "False"},
    {kBox, "IsFolder", "Whether the name is an existing folder, as `IsFile` checks it.", "False"},
    {kBox, "KeyName", "A key name kept for the container's settings; the box does not use it.",
     "empty", "KeyName", kYes},
    {kBox, "MaxLength", "The most characters the box takes; 0 for no limit.", "0", "MaxLength",
     kYes, kNotNegative},
    {kBox, "MessageShow",
     "Whether faults are shown in boxes; the checks answer the same either way.", "True",
     "MessageShow", kYes},
    {kBox, "mode", "What the name must be (values below).", "0", "Mode", kYes},
    {kBox, "SectionName",
     "A section name kept for the container's settings; the box does not use it.", "empty",
     "SectionName", kYes},
    {kBox, "SelLength", "How many characters are selected.", "0", nullptr, kYes, kNotNegative},
    {kBox, "SelStart", "Where the selection starts, 0 before the first character.", "0", nullptr,
     kYes, kNotNegative},
    {kBox, "SelText", "The selected text; setting it replaces the selection.", "empty", nullptr,
     kYes},
    {kBox, "Text", "The text of the box; it is not saved with the form.", "`DefaultValue`", nullptr,
     kYes},
    {kBox, "ValidateAtLostFocus",
     "Whether the name is checked when the user leaves the box; a refused name keeps the focus "
     "in it.",
     "True", "ValidateAtLostFocus", kYes},
    {kBox, "Value", "The same as `Text`.", "`DefaultValue`", nullptr, kYes},
    {kBox, "ShortFileName", "The short (8.3) form of the name.", "empty"},
    {kBox, "LongFileName",
     "The name with each folder and the file as stored on disk; empty when a part of it is not "
     "found.",
     "empty", nullptr, nullptr, kFileSystem},
    {kBox, "Change", "The text has changed: typed, set, dropped, restored or loaded."},
    {kBox, "Click", "The box was clicked."},
    {kBox, "DblClick", "The box was double-clicked."},
    {kBox, "KeyDown",
     "A key went down in the box; a KeyCode set to 0 keeps a key going down "
     "from the box."},
    {kBox, "KeyPress",
     "A character was typed, after the box's own filter: a refused character or Enter arrives "
     "as 0. A KeyAscii set to 0 keeps the character out."},
    {kBox, "KeyUp", "A key went up in the box."},
    {kBox, "MouseDown",
     "A mouse button went down over the box; X and Y are in the container's "
     "scale, and a change to them goes nowhere."},
    {kBox, "MouseMove", "The mouse moved over the box, as for `MouseDown`."},
    {kBox, "MouseUp", "A mouse button went up over the box, as for `MouseDown`."},

    // ---- FilOpDlg ----
    {kDialog, "ShowOpen",
     "Shows the Open dialog and puts the choice into `FileName` and `FileTitle`.", nullptr, nullptr,
     nullptr, kDialogRun},
    {kDialog, "ShowSave", "Shows the Save As dialog, as `ShowOpen` does.", nullptr, nullptr,
     nullptr, "as `ShowOpen`"},
    {kDialog, "CancelError", "Whether a cancelled dialog raises error 32755.", "False",
     "CancelError", kYes},
    {kDialog, "CancelSelected", "Whether the last dialog was cancelled.", "False", "CancelSelected",
     kYes},
    {kDialog, "DefaultExt", "The extension the dialog adds to a name typed without one.", "empty",
     "DefaultExt", kYes},
    {kDialog, "DialogTitle", "The dialog's caption; empty for the system's.", "empty",
     "DialogTitle", kYes},
    {kDialog, "FileName",
     "The name the dialog starts with, then the name chosen (with several: the folder and the "
     "names, separated by NUL characters).",
     "empty", "FileName", kYes},
    {kDialog, "FileTitle", "The title of the name chosen last.", "empty"},
    {kDialog, "Filter", "Descriptions and patterns, each part after a \"|\".",
     "\"All Files(*.*)|*.*\"", "Filter", kYes},
    {kDialog, "FilterIndex", "Which filter is chosen; the dialog writes the user's choice back.",
     "0", "FilterIndex", kYes},
    {kDialog, "Flags", "The dialog's OFN_ flags, handed over as they are.",
     "4096 (OFN_FILEMUSTEXIST)", "Flags", kYes},
    {kDialog, "hDC", "Always 0.", "0"},
    {kDialog, "hParentwnd",
     "The window that owns the dialog; 0 for none. It is reported changed as \"hWnd\".", "0",
     nullptr, kYes},
    {kDialog, "InitDir", "The folder the dialog starts in.", "empty", "InitDir", kYes},
    {kDialog, "MaxFileSize", "The length of the dialog's name buffers, in characters.", "260",
     "MaxFileSize", kYes},
    {kDialog, "GetFileName",
     "Shows the Open dialog with no name and returns the choice without putting it into "
     "`FileName`.",
     nullptr, nullptr, nullptr, "as `ShowOpen`"},
};

constexpr ValueNote kValues[] = {
    {"mode", 0, "fnbSyntaxOnly", "the syntax only; so does any negative value"},
    {"mode", 1, "fnbExistingFile", "an existing file"},
    {"mode", 2, "fnbExistingFolder", "an existing folder"},
    {"mode", 3, "fnbFileOrFolder", "an existing file or folder; so does any higher value"},
    {"IMEMode", 0, "NoControl", "the input method as the user left it"},
    {"IMEMode", 1, "On", "the input method on"},
    {"IMEMode", 2, "Off", "the input method off"},
    {"IMEMode", 3, "Disable", "no input method for the box"},
    {"IMEMode", 4, "Hiragana", "on, full-width hiragana"},
    {"IMEMode", 5, "Katakana", "on, full-width katakana"},
    {"IMEMode", 6, "KatakanaHalf", "on, half-width katakana"},
    {"IMEMode", 7, "AlphaFull", "on, full-width letters and digits"},
    {"IMEMode", 8, "Alpha", "on, half-width letters and digits"},
    {"IMEMode", 9, "HangulFull", "on, full-width hangul"},
    {"IMEMode", 10, "Hangul", "on, half-width hangul"},
};

} // namespace

std::span<const MemberNote> MemberNotes() {
    return kNotes;
}

std::span<const ValueNote> ValueNotes() {
    return kValues;
}

} // namespace relingo::reference
