// The Windows open and save file dialogs in their ANSI form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace relingo {

// The fields of the ANSI open-file-name request record, in the record's order. Text fields point
// at byte blocks owned by the caller for the length of one call.
struct AnsiOpenFileName {
    uint32_t structSize = 0;
    intptr_t owner = 0;
    intptr_t instance = 0;
    const char* filter = nullptr;
    char* customFilter = nullptr;
    uint32_t maxCustomFilter = 0;
    uint32_t filterIndex = 0;
    char* file = nullptr;
    uint32_t maxFile = 0;
    char* fileTitle = nullptr;
    uint32_t maxFileTitle = 0;
    const char* initialDir = nullptr;
    const char* title = nullptr;
    uint32_t flags = 0;
    uint16_t fileOffset = 0;
    uint16_t fileExtension = 0;
    const char* defaultExt = nullptr;
    intptr_t custData = 0;
    void* hook = nullptr;
    const char* templateName = nullptr;
};

// Dialog flags the program refers to by name.
namespace ofn {
inline constexpr uint32_t kAllowMultiSelect = 0x200;
inline constexpr uint32_t kExplorer = 0x80000;
inline constexpr uint32_t kFileMustExist = 0x1000;
} // namespace ofn

// Extended error codes of the dialogs.
namespace cderr {
inline constexpr uint32_t kStructSize = 0x0001;
inline constexpr uint32_t kDialogFailure = 0xFFFF;
inline constexpr uint32_t kBufferTooSmall = 0x3003;
} // namespace cderr

class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;

    // The size in bytes of the request record without its later extension fields, for
    // structSize.
    virtual uint32_t OpenFileNameSize() = 0;

    // Show the dialog for the record; true when the user chose a name, false on cancel or
    // failure. The dialog updates file, fileTitle, filterIndex, fileOffset and fileExtension.
    virtual bool ShowOpenDialog(AnsiOpenFileName& record) = 0;
    virtual bool ShowSaveDialog(AnsiOpenFileName& record) = 0;

    // 0 after a cancel, else the extended error code of the last failed dialog.
    virtual uint32_t ExtendedError() = 0;

    // Memory for the text blocks of a request, in the form the dialogs expect. A backend may
    // keep the default; a failed allocation throws.
    virtual char* AllocateBlock(size_t bytes) { return static_cast<char*>(::operator new(bytes)); }
    virtual void FreeBlock(char* block) noexcept { ::operator delete(block); }
};

} // namespace relingo
