// The functions the program finds at run time rather than importing: those newer than Windows 7
// SP1, so that the program starts there too, and those of DLLs that start-up need not load.
//
// Loaded when first needed, since loading them with the program costs its start a fifth of its
// time: SHELL32 (drops, the desktop folder), OLE32 (COM, OLE drag and drop), SHLWAPI (completion)
// and COMDLG32 (the file dialogs). Without one, what needs it fails with a clear error or does
// without.
//
// VERSION (the product name) is loaded here rather than imported: it is not one of the DLLs
// Windows always takes from the system folder, so an import of it would load any version.dll
// lying beside the program (a Downloads folder, say) before the program's first line runs.
// Every DLL is loaded by its full name in the system folder, never by a bare name.
//
// Newer than Windows 7 SP1, each with what Windows 7 offers instead:
//   USER32 GetDpiForWindow           the screen's LOGPIXELSX (one DPI for the whole session)
//   USER32 GetDpiForSystem           the screen's LOGPIXELSX
//   USER32 AdjustWindowRectExForDpi  AdjustWindowRectEx at the session's DPI
// WM_DPICHANGED is older than they are: Windows 8.1 and the first Windows 10 send it to a window
// moved to a monitor of another DPI, where GetDpiForWindow is still missing and the fallback
// answers the session's DPI. The DPI the message carries is then the only one that tells, and the
// window hands it down to its controls.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace relingo::win32 {

// A DLL of the system folder: the one already loaded, or loaded from there and nowhere else.
HMODULE SystemLibrary(const wchar_t* name);

// Takes the current folder out of the search for DLLs that anything in the process loads by a
// bare name: after the re-pack starts it is the IPDK program's folder, whose files nobody here
// vouches for. The program's own folder stays in the search; closing it too
// (SetDefaultDllDirectories) would change how the shell extensions that the file dialogs load
// find their own DLLs.
void KeepCurrentFolderOutOfDllSearch();

// A function of the module, or null when the module is null or lacks it.
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    // Through a generic function pointer, the documented way to convert GetProcAddress's result.
    return module ? reinterpret_cast<Function>(
                        reinterpret_cast<void (*)()>(::GetProcAddress(module, name)))
                  : nullptr;
}

// The dots per inch windows and fonts are measured at, from the newer functions where the
// system has them and from the fallbacks where it does not.
class DpiFunctions {
public:
    // This system's functions, looked up on the first call.
    static const DpiFunctions& OfSystem();
    // None of the newer functions, whatever the system: the fallbacks alone, as on Windows 7.
    static const DpiFunctions& Windows7();
    // A system whose functions are these: tests stand in for it with their own answers.
    DpiFunctions(UINT(WINAPI* forWindow)(HWND), UINT(WINAPI* forSystem)())
        : getDpiForWindow_(forWindow), getDpiForSystem_(forSystem) {}

    // Whether the system tells each window its own DPI (and sends WM_DPICHANGED).
    bool PerWindow() const { return getDpiForWindow_ != nullptr; }
    // The DPI of the window, or of the system when there is no window.
    UINT ForWindow(HWND window) const;
    UINT ForSystem() const;
    // The window rectangle whose client area is client, for a window of the styles at dpi.
    RECT WindowRectFor(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) const;

private:
    DpiFunctions() = default;
    explicit DpiFunctions(HMODULE user32);

    UINT(WINAPI* getDpiForWindow_)(HWND) = nullptr;
    UINT(WINAPI* getDpiForSystem_)() = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi_)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
};

// The functions of the DLLs that start-up does not load, each null when its DLL or the function
// cannot be found. The DLLs are loaded from the system folder on the first call.
struct ShellFunctions {
    decltype(&::DragQueryFileW) dragQueryFile = nullptr;
    decltype(&::DragFinish) dragFinish = nullptr;
    decltype(&::SHGetSpecialFolderLocation) getSpecialFolderLocation = nullptr;
    decltype(&::SHGetPathFromIDListW) getPathFromIDList = nullptr;
    decltype(&::SHAutoComplete) autoComplete = nullptr; // SHLWAPI's

    static const ShellFunctions& Get();
};

struct ComFunctions {
    decltype(&::CoInitializeEx) initialize = nullptr;
    decltype(&::CoUninitialize) uninitialize = nullptr;
    decltype(&::CoTaskMemFree) taskMemFree = nullptr;
    decltype(&::CoDisconnectObject) disconnectObject = nullptr;
    decltype(&::OleInitialize) oleInitialize = nullptr;
    decltype(&::OleUninitialize) oleUninitialize = nullptr;
    decltype(&::RegisterDragDrop) registerDragDrop = nullptr;
    decltype(&::RevokeDragDrop) revokeDragDrop = nullptr;
    decltype(&::ReleaseStgMedium) releaseStgMedium = nullptr;

    static const ComFunctions& Get();
};

// USER32's filter of the messages that a process of lower rights may send a window (Windows 7
// and later), found at run time like the newer functions.
struct MessageFilterFunctions {
    decltype(&::ChangeWindowMessageFilterEx) changeWindowMessageFilterEx = nullptr;

    static const MessageFilterFunctions& Get();
};

struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) getInfoSize = nullptr;
    decltype(&::GetFileVersionInfoW) getInfo = nullptr;
    decltype(&::VerQueryValueW) queryValue = nullptr;

    static const VersionFunctions& Get();
};

struct FileDialogFunctions {
    decltype(&::GetOpenFileNameA) getOpenFileName = nullptr;
    decltype(&::GetSaveFileNameA) getSaveFileName = nullptr;
    decltype(&::CommDlgExtendedError) extendedError = nullptr;

    static const FileDialogFunctions& Get();
};

} // namespace relingo::win32
