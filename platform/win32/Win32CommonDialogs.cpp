#include <windows.h>

#include <commdlg.h>

#include "platform/win32/Win32CommonDialogs.h"

#include "platform/Error.h"
#include "platform/win32/RunTimeFunctions.h"

namespace relingo::win32 {

namespace {

OPENFILENAMEA ToNative(const AnsiOpenFileName& record) {
    OPENFILENAMEA native = {};
    native.lStructSize = record.structSize;
    native.hwndOwner = reinterpret_cast<HWND>(record.owner);
    native.hInstance = reinterpret_cast<HINSTANCE>(record.instance);
    native.lpstrFilter = record.filter;
    native.lpstrCustomFilter = record.customFilter;
    native.nMaxCustFilter = record.maxCustomFilter;
    native.nFilterIndex = record.filterIndex;
    native.lpstrFile = record.file;
    native.nMaxFile = record.maxFile;
    native.lpstrFileTitle = record.fileTitle;
    native.nMaxFileTitle = record.maxFileTitle;
    native.lpstrInitialDir = record.initialDir;
    native.lpstrTitle = record.title;
    native.Flags = record.flags;
    native.nFileOffset = record.fileOffset;
    native.nFileExtension = record.fileExtension;
    native.lpstrDefExt = record.defaultExt;
    native.lCustData = record.custData;
    native.lpfnHook = reinterpret_cast<LPOFNHOOKPROC>(record.hook);
    native.lpTemplateName = record.templateName;
    return native;
}

// The dialog writes into the caller's buffers directly; the numbers it changes come back here.
bool Show(AnsiOpenFileName& record, BOOL(WINAPI* dialog)(LPOPENFILENAMEA)) {
    OPENFILENAMEA native = ToNative(record);
    const BOOL chosen = dialog(&native);
    record.filterIndex = native.nFilterIndex;
    record.fileOffset = native.nFileOffset;
    record.fileExtension = native.nFileExtension;
    return chosen != FALSE;
}

// The dialog library, loaded when a dialog is first shown.
const FileDialogFunctions& Functions() {
    const FileDialogFunctions& functions = FileDialogFunctions::Get();
    if (!functions.getOpenFileName || !functions.getSaveFileName || !functions.extendedError) {
        throw Error(errnum::kFileNotFound, u"The file dialogs (comdlg32.dll) could not be loaded.");
    }
    return functions;
}

} // namespace

uint32_t Win32CommonDialogs::OpenFileNameSize() {
    return OPENFILENAME_SIZE_VERSION_400A;
}

bool Win32CommonDialogs::ShowOpenDialog(AnsiOpenFileName& record) {
    com_.Require(u"The file dialog");
    return Show(record, Functions().getOpenFileName);
}

bool Win32CommonDialogs::ShowSaveDialog(AnsiOpenFileName& record) {
    com_.Require(u"The file dialog");
    return Show(record, Functions().getSaveFileName);
}

uint32_t Win32CommonDialogs::ExtendedError() {
    return Functions().extendedError();
}

char* Win32CommonDialogs::AllocateBlock(size_t bytes) {
    void* block = ::GlobalAlloc(GMEM_FIXED, bytes);
    if (block == nullptr) {
        throw Error(errnum::kOutOfMemory);
    }
    return static_cast<char*>(block);
}

void Win32CommonDialogs::FreeBlock(char* block) noexcept {
    ::GlobalFree(block);
}

} // namespace relingo::win32
