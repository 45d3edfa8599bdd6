// The box's text cut into parts and turned into its short and long forms. Every part is
// computed afresh from the current text; most first run the validation and give "" for a text
// that fails it.
#include "filenamebox/FileNameBox.h"

#include "filenamebox/NameText.h"
#include "platform/Text.h"

namespace relingo {

namespace {

// The drive part of a name ("C:\") that the long-form walk does not look up.
constexpr size_t kDrivePartLength = 3;

} // namespace

// 1-based, as callers count positions; 0 for a text that is invalid, empty or without it.
int32_t FileNameBox::LastPosition(char16_t character) {
    if (!CheckValue()) {
        return 0;
    }
    const std::u16string text = txtInput_.Text();
    const size_t found = text.rfind(character);
    return found == std::u16string::npos ? 0 : static_cast<int32_t>(found + 1);
}

std::u16string FileNameBox::FileName() {
    return CheckValue() ? txtInput_.Text() : u"";
}

std::u16string FileNameBox::FilePath() {
    const int32_t p = LastPosition(u'\\');
    return p == 0 ? u"" : txtInput_.Text().substr(0, static_cast<size_t>(p - 1));
}

std::u16string FileNameBox::FileTitle() {
    const int32_t p = LastPosition(u'\\');
    if (p == 0) {
        return u"";
    }
    std::u16string title = txtInput_.Text().substr(static_cast<size_t>(p - 1));
    return title == u"\\" ? u"" : title;
}

std::u16string FileNameBox::FileBody() {
    if (!CheckValue()) {
        return u"";
    }
    return StripExtension(FileTitle());
}

std::u16string FileNameBox::FilePathBody() {
    if (!CheckValue()) {
        return u"";
    }
    return StripExtension(txtInput_.Text());
}

std::u16string FileNameBox::FileExtension() {
    const int32_t d = LastPosition(u'.');
    return d == 0 ? u"" : txtInput_.Text().substr(static_cast<size_t>(d));
}

std::u16string FileNameBox::FileDrive() const {
    return TextBeforeFirstColon(txtInput_.Text());
}

bool FileNameBox::IsFile() {
    return CheckExistence(txtInput_.Text()) == existence::kFile;
}

bool FileNameBox::IsFolder() {
    return CheckExistence(txtInput_.Text()) == existence::kFolder;
}

std::u16string FileNameBox::ShortFileName() {
    if (!CheckValue()) {
        return u"";
    }
    const std::u16string text = txtInput_.Text();
    return text.empty() ? u"" : system_.ShortPathName(text);
}

// Rebuilds the name from the names the directory search reports for each of its prefixes, so
// that every component after the drive takes its stored spelling. An empty component (a
// trailing backslash, or one of two backslashes in a row) names no entry of its own: it is
// kept as it stands instead of being looked up, for a search "inside" a folder would report
// whatever entry comes first in it and turn C:\ into C:\ some folder.
std::u16string FileNameBox::LongFileName() {
    if (!CheckValue()) {
        return u"";
    }
    const std::u16string text = txtInput_.Text();
    if (text.empty()) {
        return u"";
    }
    const std::u16string s = text + u"\\";
    std::u16string tail;
    size_t p = s.find(u'\\', kDrivePartLength);
    while (p != std::u16string::npos) {
        const std::u16string prefix = s.substr(0, p);
        if (prefix.back() == u'\\') {
            tail += u"\\";
        } else {
            const std::u16string found =
                system_.FindFirstEntry(prefix, search::kFoldersHiddenSystem);
            if (found.empty()) {
                return u"";
            }
            tail += u"\\" + found;
        }
        p = s.find(u'\\', p + 1);
    }
    return s.substr(0, 2) + tail;
}

} // namespace relingo
