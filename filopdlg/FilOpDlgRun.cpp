// One run of the Open or Save As dialog: the request record made from the properties, the call,
// and the choice read back.
#include "filopdlg/FilOpDlg.h"

#include "filopdlg/DialogBlock.h"
#include "filopdlg/DialogErrors.h"
#include "platform/CommonDialogs.h"
#include "platform/Error.h"
#include "platform/SystemServices.h"
#include "platform/WindowHandle.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace relingo {

namespace {

// The sizes of the name and title buffers are 32-bit signed numbers; a result outside that range
// is an overflow.
int32_t CheckedLong(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        throw Error(errnum::kOverflow);
    }
    return static_cast<int32_t>(value);
}

struct BufferLayout {
    int32_t padding;  // spaces after the seed name and its NUL
    uint32_t maxFile; // bytes the dialog may use in either buffer
};

// Fails before anything is allocated for the dialog when the buffers cannot be made.
BufferLayout LayoutFor(int32_t maxFileSize, size_t seedLength) {
    const int32_t twice = CheckedLong(2 * int64_t{maxFileSize});
    const int32_t padding = CheckedLong(int64_t{twice} - static_cast<int64_t>(seedLength));
    if (padding < 0) {
        throw Error(errnum::kInvalidProcedureCall);
    }
    return {padding, static_cast<uint32_t>(CheckedLong(int64_t{twice} + 1))};
}

// The dialog reads the filter as a list of NUL-terminated parts closed by an empty part.
DialogBlock FilterBlock(CommonDialogs& dialogs, SystemServices& system,
                        const std::u16string& filter) {
    if (filter.empty()) {
        return {};
    }
    return ToAnsiBlock(dialogs, system, ReplaceChar(filter, u'|', u'\0') + u'\0');
}

// The seed name, a NUL and spaces up to the buffer's length. Characters whose ANSI form is
// shorter than one byte each (a surrogate pair becomes one "?") must not leave the block smaller
// than the length the dialog is told it may fill.
DialogBlock NameBuffer(CommonDialogs& dialogs, SystemServices& system,
                       const std::u16string& seedName, const BufferLayout& layout) {
    std::u16string text = seedName;
    text += u'\0';
    text.append(static_cast<size_t>(layout.padding), u' ');
    const std::string ansi = system.ToAnsi(text);
    DialogBlock block(dialogs, std::max<size_t>(ansi.size(), layout.maxFile) + 1);
    std::memcpy(block.Data(), ansi.data(), ansi.size());
    return block;
}

// The ANSI form of the longest start of the text that fits the limit, never splitting a
// character or a surrogate pair.
std::string AnsiCutToFit(SystemServices& system, std::u16string_view text, size_t limit) {
    std::string ansi = system.ToAnsi(text);
    if (ansi.size() <= limit) {
        return ansi;
    }
    size_t fits = 0;
    size_t tooLong = text.size();
    while (tooLong - fits > 1) {
        const size_t middle = fits + (tooLong - fits) / 2;
        if (system.ToAnsi(text.substr(0, middle)).size() <= limit) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    if (fits > 0 && text[fits - 1] >= 0xD800 && text[fits - 1] <= 0xDBFF) {
        --fits;
    }
    return system.ToAnsi(text.substr(0, fits));
}

// The seed title and a NUL, cut so that the NUL stays inside the block.
DialogBlock TitleBuffer(CommonDialogs& dialogs, SystemServices& system,
                        const std::u16string& seedTitle, uint32_t maxFileTitle) {
    DialogBlock block(dialogs, maxFileTitle);
    const std::string ansi = AnsiCutToFit(system, seedTitle, maxFileTitle - 1);
    std::memcpy(block.Data(), ansi.data(), ansi.size());
    return block;
}

// The dialog reports several chosen names as the folder, a NUL and the names, each followed by
// a NUL; the offset of the first name then lies past the folder's NUL.
std::u16string ChosenName(SystemServices& system, const DialogBlock& nameBuffer,
                          const AnsiOpenFileName& record, int32_t flags) {
    const std::u16string buffer =
        system.FromAnsi(std::string_view(nameBuffer.Data(), nameBuffer.Size() - 1));
    const auto firstPartBytes = static_cast<int64_t>(nameBuffer.TextBeforeNul().size());
    const bool several = (static_cast<uint32_t>(flags) & ofn::kAllowMultiSelect) != 0 &&
                         firstPartBytes < static_cast<int16_t>(record.fileOffset);
    return several ? TextBeforeDoubleNul(buffer) : TextBeforeNul(buffer);
}

} // namespace

std::u16string FilOpDlg::RunDialog(DialogMode mode) {
    runFailed_ = false;
    const bool seeded = mode != DialogMode::GetName;
    const std::u16string seedName = seeded ? fileName_ : std::u16string();
    const std::u16string seedTitle = seeded ? fileTitle_ : std::u16string();

    AnsiOpenFileName record;
    record.structSize = dialogs_.OpenFileNameSize();
    record.owner = LongToWindowHandle(hParentwnd_);
    const DialogBlock filterBlock = FilterBlock(dialogs_, system_, filter_);
    record.filter = filterBlock.Data();
    record.filterIndex = static_cast<uint32_t>(filterIndex_);
    const BufferLayout layout = LayoutFor(maxFileSize_, seedName.size());
    const DialogBlock nameBuffer = NameBuffer(dialogs_, system_, seedName, layout);
    record.file = nameBuffer.Data();
    record.maxFile = layout.maxFile;
    const DialogBlock titleBuffer = TitleBuffer(dialogs_, system_, seedTitle, layout.maxFile);
    record.fileTitle = titleBuffer.Data();
    record.maxFileTitle = layout.maxFile;
    const DialogBlock initDirBlock = ToAnsiBlock(dialogs_, system_, initDir_);
    record.initialDir = initDirBlock.Data();
    const DialogBlock captionBlock = ToAnsiBlock(dialogs_, system_, dialogTitle_);
    record.title = captionBlock.Data();
    record.flags = static_cast<uint32_t>(flags_);
    const DialogBlock defaultExtBlock = ToAnsiBlock(dialogs_, system_, defaultExt_);
    record.defaultExt = defaultExtBlock.Data();

    const bool chosen = mode == DialogMode::Save ? dialogs_.ShowSaveDialog(record)
                                                 : dialogs_.ShowOpenDialog(record);
    filterIndex_ = static_cast<int32_t>(record.filterIndex);
    std::u16string resultName = seedName;
    std::u16string resultTitle = seedTitle;
    if (chosen) {
        resultName = ChosenName(system_, nameBuffer, record, flags_);
        resultTitle = TextFromAnsiBlock(system_, titleBuffer);
    }
    if (seeded) {
        fileName_ = resultName;
        fileTitle_ = std::move(resultTitle);
    }
    cancelSelected_ = false;
    runFailed_ = !chosen;
    return resultName;
}

void FilOpDlg::FinishRun() {
    if (!runFailed_) {
        return;
    }
    const auto code = static_cast<int32_t>(dialogs_.ExtendedError());
    if (code != 0) {
        throw Error(code, DialogErrorMessage(code, host_));
    }
    cancelSelected_ = true;
    if (cancelError_) {
        throw Error(errnum::kDialogCancelled, DialogErrorMessage(errnum::kDialogCancelled, host_));
    }
}

void FilOpDlg::ShowOpen() {
    RunDialog(DialogMode::Open);
    FinishRun();
}

void FilOpDlg::ShowSave() {
    RunDialog(DialogMode::Save);
    FinishRun();
}

std::u16string FilOpDlg::GetFileName() {
    std::u16string name = RunDialog(DialogMode::GetName);
    FinishRun();
    return name;
}

} // namespace relingo
