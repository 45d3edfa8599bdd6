#include "filopdlg/DialogBlock.h"

#include "platform/CommonDialogs.h"
#include "platform/Error.h"
#include "platform/SystemServices.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace relingo {

DialogBlock::DialogBlock(CommonDialogs& dialogs, size_t size) : dialogs_(&dialogs), size_(size) {
    try {
        bytes_ = dialogs.AllocateBlock(size);
    } catch (const std::bad_alloc&) {
        throw Error(errnum::kOutOfMemory);
    }
    if (bytes_ == nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
    std::memset(bytes_, 0, size);
}

DialogBlock::~DialogBlock() {
    Free();
}

DialogBlock::DialogBlock(DialogBlock&& other) noexcept
    : dialogs_(other.dialogs_), bytes_(std::exchange(other.bytes_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

DialogBlock& DialogBlock::operator=(DialogBlock&& other) noexcept {
    if (this != &other) {
        Free();
        dialogs_ = other.dialogs_;
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void DialogBlock::Free() noexcept {
    if (bytes_ != nullptr) {
        dialogs_->FreeBlock(bytes_);
        bytes_ = nullptr;
        size_ = 0;
    }
}

std::string_view DialogBlock::TextBeforeNul() const noexcept {
    if (bytes_ == nullptr) {
        return {};
    }
    const auto* end = static_cast<const char*>(std::memchr(bytes_, 0, size_));
    return {bytes_, end == nullptr ? size_ : static_cast<size_t>(end - bytes_)};
}

DialogBlock ToAnsiBlock(CommonDialogs& dialogs, SystemServices& system, std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::string ansi = system.ToAnsi(text);
    const size_t copied = ansi.size() + 1;
    DialogBlock block(dialogs, 2 * copied);
    std::memcpy(block.Data(), ansi.data(), ansi.size());
    return block;
}

std::u16string TextFromAnsiBlock(SystemServices& system, const DialogBlock& block) {
    if (!block) {
        return {};
    }
    return system.FromAnsi(block.TextBeforeNul());
}

std::u16string ReplaceChar(std::u16string_view text, char16_t find, char16_t replacement) {
    std::u16string copy(text);
    std::replace(copy.begin(), copy.end(), find, replacement);
    return copy;
}

std::u16string TextBeforeNul(std::u16string_view text) {
    return std::u16string(text.substr(0, text.find(u'\0')));
}

std::u16string TextBeforeDoubleNul(std::u16string_view text) {
    return std::u16string(text.substr(0, text.find(std::u16string_view(u"\0\0", 2))));
}

} // namespace relingo
