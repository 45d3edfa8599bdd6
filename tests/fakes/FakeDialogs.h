// The test backend of the common dialogs: records every request with a copy of each block it
// points at, taken at the moment of the call, and answers with scripted outcomes. It allocates
// the request's blocks itself, so it can tell how large each one is and whether all of them were
// freed.
#pragma once

#include "platform/CommonDialogs.h"

#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::test {

// The bytes from an address of the request to the end of the block it lies in; nothing for the
// null address.
using BlockCopy = std::optional<std::string>;

enum class DialogKind { Open, Save };

struct DialogRequest {
    DialogKind kind = DialogKind::Open;
    // The record as received; its addresses are not valid after the call.
    AnsiOpenFileName record;
    BlockCopy filter;
    BlockCopy customFilter;
    BlockCopy file;
    BlockCopy fileTitle;
    BlockCopy initialDir;
    BlockCopy title;
    BlockCopy defaultExt;
    BlockCopy templateName;
};

struct DialogOutcome {
    enum class Kind { Choose, Cancel, Fail };
    Kind kind = Kind::Cancel;
    std::string file;      // written into the name buffer, followed by a NUL
    std::string fileTitle; // written into the title buffer, followed by a NUL
    uint16_t fileOffset = 0;
    uint16_t fileExtension = 0;
    std::optional<uint32_t> filterIndex; // what the dialog leaves; the request's when empty
    uint32_t errorCode = 0;

    // One chosen name; its title and offsets follow from its last backslash and dot.
    static DialogOutcome Choose(std::string path, std::optional<uint32_t> filterIndex = {}) {
        DialogOutcome outcome;
        outcome.kind = Kind::Choose;
        const size_t slash = path.rfind('\\');
        const size_t titleStart = slash == std::string::npos ? 0 : slash + 1;
        const size_t dot = path.rfind('.');
        outcome.fileTitle = path.substr(titleStart);
        outcome.fileOffset = static_cast<uint16_t>(titleStart);
        outcome.fileExtension =
            static_cast<uint16_t>(dot == std::string::npos || dot < titleStart ? 0 : dot + 1);
        outcome.file = std::move(path);
        outcome.filterIndex = filterIndex;
        return outcome;
    }
    // Several names of one folder, as the Explorer-style dialog reports them: the folder, a NUL,
    // each name followed by a NUL (the closing NUL makes the pair), the offset of the first name.
    static DialogOutcome ChooseSeveral(const std::string& folder,
                                       const std::vector<std::string>& names) {
        DialogOutcome outcome;
        outcome.kind = Kind::Choose;
        outcome.file = folder + '\0';
        for (const auto& name : names) {
            outcome.file += name + '\0';
        }
        outcome.fileOffset = static_cast<uint16_t>(folder.size() + 1);
        return outcome;
    }
    static DialogOutcome Cancel(std::optional<uint32_t> filterIndex = {}) {
        DialogOutcome outcome;
        outcome.filterIndex = filterIndex;
        return outcome;
    }
    static DialogOutcome Fail(uint32_t errorCode, std::optional<uint32_t> filterIndex = {}) {
        DialogOutcome outcome;
        outcome.kind = Kind::Fail;
        outcome.errorCode = errorCode;
        outcome.filterIndex = filterIndex;
        return outcome;
    }
};

class FakeDialogs : public CommonDialogs {
public:
    // The record size of a 64-bit build.
    uint32_t recordSize = 136;

    // Outcomes of the next dialogs, in order. A dialog without one fails the test.
    void Script(DialogOutcome outcome) { outcomes_.push_back(std::move(outcome)); }
    const std::vector<DialogRequest>& Requests() const { return requests_; }
    const DialogRequest& LastRequest() const {
        if (requests_.empty()) {
            throw std::logic_error("no dialog was shown");
        }
        return requests_.back();
    }

    // The allocation so many allocations from now (1 = the next one) fails as memory runs out.
    void FailAllocation(size_t fromNow) { failingAllocation_ = allocations_ + fromNow; }
    size_t Allocations() const { return allocations_; }
    size_t LiveBlocks() const { return blocks_.size(); }
    // Frees of an address that is not a live block.
    size_t BadFrees() const { return badFrees_; }

    uint32_t OpenFileNameSize() override { return recordSize; }
    bool ShowOpenDialog(AnsiOpenFileName& record) override {
        return Show(DialogKind::Open, record);
    }
    bool ShowSaveDialog(AnsiOpenFileName& record) override {
        return Show(DialogKind::Save, record);
    }
    uint32_t ExtendedError() override { return lastError_; }

    char* AllocateBlock(size_t bytes) override {
        if (++allocations_ == failingAllocation_) {
            throw std::bad_alloc();
        }
        auto storage = std::make_unique<char[]>(bytes);
        char* block = storage.get();
        blocks_.emplace(block, Block{std::move(storage), bytes});
        return block;
    }
    void FreeBlock(char* block) noexcept override {
        if (blocks_.erase(block) == 0) {
            ++badFrees_;
        }
    }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        size_t size;
    };

    // The block an address lies in, and the bytes left from there to its end.
    std::pair<char*, size_t> Locate(const void* address) const {
        const auto* p = static_cast<const char*>(address);
        auto next = blocks_.upper_bound(p);
        if (next != blocks_.begin()) {
            const auto& [start, block] = *std::prev(next);
            if (p < start + block.size || (p == start && block.size == 0)) {
                return {const_cast<char*>(p), block.size - static_cast<size_t>(p - start)};
            }
        }
        throw std::logic_error("the request points outside every block");
    }

    BlockCopy Copy(const void* address) const {
        if (address == nullptr) {
            return std::nullopt;
        }
        const auto [p, size] = Locate(address);
        return std::string(p, size);
    }

    // Writes the text and a NUL where the dialog may write up to limit bytes; the real dialog
    // would write anywhere within the limit, so a block smaller than that is a fault.
    void Write(char* target, uint32_t limit, const std::string& text) const {
        if (Locate(target).second < limit) {
            throw std::logic_error("a buffer is smaller than the length the dialog is given");
        }
        std::memcpy(target, text.data(), text.size());
        target[text.size()] = '\0';
    }

    bool Show(DialogKind kind, AnsiOpenFileName& record) {
        requests_.push_back({kind, record, Copy(record.filter), Copy(record.customFilter),
                             Copy(record.file), Copy(record.fileTitle), Copy(record.initialDir),
                             Copy(record.title), Copy(record.defaultExt),
                             Copy(record.templateName)});
        if (outcomes_.empty()) {
            throw std::logic_error("a dialog was shown that the test did not expect");
        }
        const DialogOutcome outcome = std::move(outcomes_.front());
        outcomes_.pop_front();
        if (outcome.filterIndex) {
            record.filterIndex = *outcome.filterIndex;
        }
        lastError_ = outcome.errorCode;
        if (record.structSize != recordSize) {
            lastError_ = cderr::kStructSize;
            return false;
        }
        if (outcome.kind != DialogOutcome::Kind::Choose) {
            return false;
        }
        const bool titleFits =
            record.fileTitle == nullptr || outcome.fileTitle.size() < record.maxFileTitle;
        if (record.file == nullptr || outcome.file.size() >= record.maxFile || !titleFits) {
            lastError_ = cderr::kBufferTooSmall;
            return false;
        }
        Write(record.file, record.maxFile, outcome.file);
        if (record.fileTitle != nullptr) {
            Write(record.fileTitle, record.maxFileTitle, outcome.fileTitle);
        }
        record.fileOffset = outcome.fileOffset;
        record.fileExtension = outcome.fileExtension;
        return true;
    }

    std::deque<DialogOutcome> outcomes_;
    std::vector<DialogRequest> requests_;
    std::map<const char*, Block> blocks_;
    size_t allocations_ = 0;
    size_t failingAllocation_ = 0;
    size_t badFrees_ = 0;
    uint32_t lastError_ = 0;
};

} // namespace relingo::test
