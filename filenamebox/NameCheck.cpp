// Judging the box's text: the syntax of the name, then whether it exists and is a file or a
// folder; and keeping refused characters out as they are typed.
#include "filenamebox/FileNameBox.h"

#include "filenamebox/FaultMessages.h"
#include "filenamebox/NameText.h"
#include "platform/Error.h"
#include "platform/Text.h"

#include <algorithm>
#include <utility>

namespace relingo {

namespace {

constexpr size_t kMaxNameLength = 255;
constexpr int16_t kEnterKey = 13;

bool Contains(std::u16string_view text, std::u16string_view piece) {
    return text.find(piece) != std::u16string_view::npos;
}

// Keeps the count of validation runs in progress for as long as one runs, also when it fails.
class ValidationScope {
public:
    explicit ValidationScope(int& depth) : depth_(depth) { ++depth_; }
    ~ValidationScope() { --depth_; }
    ValidationScope(const ValidationScope&) = delete;
    ValidationScope& operator=(const ValidationScope&) = delete;

private:
    int& depth_;
};

} // namespace

void FileNameBox::ShowFault(const std::u16string& text, int16_t captionCode, int32_t style) {
    relingo::ShowFault(system_, host_, messageShow_, text, captionCode, style);
}

void FileNameBox::ShowFaultCode(int16_t messageCode, int16_t captionCode, int32_t style) {
    // The text is looked up only when it is shown, so that a box switched off costs no call on
    // the host.
    if (messageShow_) {
        ShowFault(MessageText(messageCode, host_), captionCode, style);
    }
}

// Every fault before the first-character test is shown and checking goes on, so that the user
// learns all that is wrong with the name at once.
bool FileNameBox::CheckSyntax(const std::u16string& name) {
    bool result = true;
    if (name.size() > kMaxNameLength) {
        ShowFaultCode(msg::kTooLong, msg::kCaptionError, mb::kIconStop);
        result = false;
    }
    if (!illegalChars_.empty() && name.find_first_of(illegalChars_) != std::u16string::npos) {
        if (messageShow_) {
            ShowFault(MessageText(msg::kIllegalCharacter, host_) + u"\r" +
                          MessageText(msg::kIllegalCharacterList, host_) + u"   " + illegalChars_,
                      msg::kCaptionWarning, mb::kIconStop);
        }
        result = false;
    }
    if (Contains(name, u"\\\\\\")) {
        ShowFaultCode(msg::kBackslashRun, msg::kCaptionWarning, mb::kIconStop);
        result = false;
    }
    const auto colons = std::count(name.begin(), name.end(), u':');
    if (colons > 1) {
        ShowFaultCode(msg::kColons, msg::kCaptionWarning, mb::kIconStop);
        result = false;
    } else if (colons == 1 && !Contains(name, u":\\")) {
        ShowFaultCode(msg::kNoBackslashAfterDrive, msg::kCaptionWarning, mb::kIconStop);
        result = false;
    }
    if (Contains(CollapseSpaces(name), u"\\ \\")) {
        ShowFaultCode(msg::kSpaceComponent, msg::kCaptionWarning, mb::kIconStop);
        result = false;
    }

    const char16_t first = name.front();
    if (IsAsciiLetter(first)) {
        return result;
    }
    if (first != u'\\') {
        ShowFaultCode(msg::kDriveNotAlphabetical, msg::kCaptionWarning, mb::kIconStop);
        return false;
    }
    if (name.size() < 3 || name[1] != u'\\') {
        ShowFaultCode(msg::kNoBackslashAfterDrive, msg::kCaptionWarning, mb::kIconStop);
        return false;
    }
    if (Contains(name, u":")) {
        ShowFaultCode(msg::kUncWithDrive, msg::kCaptionWarning, mb::kIconStop);
        return false;
    }
    return result;
}

// An entry is a folder exactly when its directory bit is set, whatever else it carries (the
// read-only bit of many standard folders, the cloud-file bits of current Windows); every other
// entry that was found is a file.
int16_t FileNameBox::CheckExistence(const std::u16string& name) {
    if (name.empty()) {
        return existence::kEmptyName;
    }
    std::u16string found;
    bool failed = false;
    try {
        found = system_.FindFirstEntry(name, search::kFolders);
    } catch (const Error&) {
        failed = true;
    }
    if (failed || found.empty()) {
        ShowFaultCode(msg::kNotFound, msg::kCaptionWarning, mb::kIconStop);
        return existence::kUnusable;
    }
    uint32_t attributes = 0;
    try {
        attributes = system_.GetAttributes(name);
    } catch (const Error&) {
        ShowFaultCode(msg::kInvalidName, msg::kCaptionWarning, mb::kIconStop);
        return existence::kUnusable;
    }
    return (attributes & attr::kDirectory) != 0 ? existence::kFolder : existence::kFile;
}

bool FileNameBox::CheckValue() {
    const bool outermost = validationDepth_ == 0;
    const bool result = RunCheck();
    if (outermost && leaving_) {
        verdictWhileLeaving_ = Verdict{txtInput_.Text(), result};
    }
    return result;
}

bool FileNameBox::RunCheck() {
    const ValidationScope scope(validationDepth_);
    const std::u16string text = txtInput_.Text();
    bool result = true;
    if (!text.empty()) {
        result = CheckSyntax(text);
    }
    if (!result || mode_ <= fnbmode::kSyntaxOnly) {
        return result;
    }
    const int16_t kind = CheckExistence(text);
    if (kind == existence::kUnusable) {
        return false;
    }
    if (kind == existence::kFile && mode_ == fnbmode::kFolder) {
        ShowFaultCode(msg::kSelectFolder, msg::kCaptionCaution, mb::kIconExclamation);
        return false;
    }
    if (kind == existence::kFolder && mode_ == fnbmode::kFile) {
        ShowFaultCode(msg::kSelectFile, msg::kCaptionCaution, mb::kIconExclamation);
        return false;
    }
    return true;
}

bool FileNameBox::ValidateValue() {
    return CheckValue();
}

bool FileNameBox::Cancel() {
    return !CheckValue();
}

void FileNameBox::OnLeave() {
    leaving_ = true;
    verdictWhileLeaving_.reset();
}

// A fault box of a run in progress takes the focus from the inner box; that is not the user
// leaving the box, and answering it with another run would stack boxes without end. A run that
// the host made after the box was left has shown the faults already.
void FileNameBox::OnLostFocus() {
    const std::optional<Verdict> earlier = std::exchange(verdictWhileLeaving_, std::nullopt);
    leaving_ = false;
    if (!validateAtLostFocus_ || validationDepth_ > 0) {
        return;
    }
    const bool valid = earlier && earlier->text == txtInput_.Text() ? earlier->valid : CheckValue();
    if (!valid) {
        txtInput_.SetFocus();
    }
}

void FileNameBox::OnKeyPress(int16_t& keyAscii) {
    const auto typed = static_cast<char16_t>(static_cast<uint16_t>(keyAscii));
    if (illegalChars_.find(typed) != std::u16string::npos) {
        keyAscii = 0;
    } else if (keyAscii == kEnterKey) {
        keyAscii = 0;
    }
    if (events_ != nullptr) {
        events_->KeyPress(keyAscii);
    }
}

} // namespace relingo
