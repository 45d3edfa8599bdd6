// The open and save file dialogs over the real comdlg32 functions.
#pragma once

#include "platform/CommonDialogs.h"
#include "platform/win32/ComApartment.h"

namespace relingo::win32 {

class Win32CommonDialogs final : public CommonDialogs {
public:
    // The dialogs enter the thread's COM apartment when first shown; initialize stands in for
    // CoInitializeEx in tests.
    explicit Win32CommonDialogs(ComApartment::Initializer initialize = nullptr)
        : com_(initialize) {}

    // OPENFILENAME_SIZE_VERSION_400A: the dialogs take the record without its extension fields
    // in every build, at the size this build lays it out.
    uint32_t OpenFileNameSize() override;
    bool ShowOpenDialog(AnsiOpenFileName& record) override;
    bool ShowSaveDialog(AnsiOpenFileName& record) override;
    uint32_t ExtendedError() override;
    // Fixed global memory, so that a block's address goes into the request record as it is.
    char* AllocateBlock(size_t bytes) override;
    void FreeBlock(char* block) noexcept override;

private:
    ComApartment com_;
};

} // namespace relingo::win32
