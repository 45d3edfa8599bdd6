// The byte blocks a dialog request points at, and the text forms the request uses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace relingo {

class CommonDialogs;
class SystemServices;

// A zero-filled block of bytes from the dialog backend's allocator, freed when its owner goes,
// so that no path out of a dialog run can leave a block behind. An empty block has the null
// address.
class DialogBlock {
public:
    DialogBlock() = default;
    // Fails with error 7 (out of memory) when the backend cannot allocate the block.
    DialogBlock(CommonDialogs& dialogs, size_t size);
    ~DialogBlock();
    DialogBlock(DialogBlock&& other) noexcept;
    DialogBlock& operator=(DialogBlock&& other) noexcept;
    DialogBlock(const DialogBlock&) = delete;
    DialogBlock& operator=(const DialogBlock&) = delete;

    char* Data() const noexcept { return bytes_; }
    size_t Size() const noexcept { return size_; }
    explicit operator bool() const noexcept { return bytes_ != nullptr; }

    // The bytes before the first NUL, never reading past the block.
    std::string_view TextBeforeNul() const noexcept;

private:
    void Free() noexcept;

    CommonDialogs* dialogs_ = nullptr;
    char* bytes_ = nullptr;
    size_t size_ = 0;
};

// A block holding the ANSI form of the text and a NUL, with as much room again behind it; the
// empty block for an empty text.
DialogBlock ToAnsiBlock(CommonDialogs& dialogs, SystemServices& system, std::u16string_view text);

// The wide form of the ANSI text at the start of the block; empty for the empty block.
std::u16string TextFromAnsiBlock(SystemServices& system, const DialogBlock& block);

// A copy of the text with every `find` replaced by `replacement`.
std::u16string ReplaceChar(std::u16string_view text, char16_t find, char16_t replacement);

// The text before its first NUL, or before its first pair of adjacent NULs; the whole text when
// it holds none.
std::u16string TextBeforeNul(std::u16string_view text);
std::u16string TextBeforeDoubleNul(std::u16string_view text);

} // namespace relingo
