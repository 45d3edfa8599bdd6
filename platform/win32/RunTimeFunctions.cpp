#include "platform/win32/RunTimeFunctions.h"

#include <string>

namespace relingo::win32 {

namespace {

// Windows 7 has one DPI for the session: the screen's.
UINT ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

} // namespace

HMODULE SystemLibrary(const wchar_t* name) {
    const std::wstring folder = SystemFolder();
    if (folder.empty()) {
        return nullptr;
    }
    // Looked up by its full name too: a DLL of the same name loaded from elsewhere is not it.
    const std::wstring path = folder + L"\\" + name;
    if (HMODULE loaded = ::GetModuleHandleW(path.c_str())) {
        return loaded;
    }
    return ::LoadLibraryW(path.c_str());
}

void KeepCurrentFolderOutOfDllSearch() {
    // An empty DLL folder takes the current folder out on Windows, but Wine then keeps it; the
    // system folder, which the search holds anyway, takes it out on both.
    const std::wstring folder = SystemFolder();
    if (!folder.empty()) {
        ::SetDllDirectoryW(folder.c_str());
    }
}

DpiFunctions::DpiFunctions(HMODULE user32)
    : getDpiForWindow_(FindFunction<decltype(getDpiForWindow_)>(user32, "GetDpiForWindow")),
      getDpiForSystem_(FindFunction<decltype(getDpiForSystem_)>(user32, "GetDpiForSystem")),
      adjustWindowRectExForDpi_(
          FindFunction<decltype(adjustWindowRectExForDpi_)>(user32, "AdjustWindowRectExForDpi")) {}

const DpiFunctions& DpiFunctions::OfSystem() {
    static const DpiFunctions system(::GetModuleHandleW(L"user32.dll"));
    return system;
}

const DpiFunctions& DpiFunctions::Windows7() {
    static const DpiFunctions none;
    return none;
}

UINT DpiFunctions::ForWindow(HWND window) const {
    if (window == nullptr || getDpiForWindow_ == nullptr) {
        return ForSystem();
    }
    const UINT dpi = getDpiForWindow_(window);
    return dpi != 0 ? dpi : ForSystem();
}

UINT DpiFunctions::ForSystem() const {
    const UINT dpi = getDpiForSystem_ != nullptr ? getDpiForSystem_() : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

RECT DpiFunctions::WindowRectFor(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) const {
    RECT frame = client;
    if (adjustWindowRectExForDpi_ != nullptr) {
        adjustWindowRectExForDpi_(&frame, style, FALSE, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

const ShellFunctions& ShellFunctions::Get() {
    static const ShellFunctions functions = [] {
        const HMODULE shell32 = SystemLibrary(L"shell32.dll");
        ShellFunctions f;
        f.dragQueryFile = FindFunction<decltype(f.dragQueryFile)>(shell32, "DragQueryFileW");
        f.dragFinish = FindFunction<decltype(f.dragFinish)>(shell32, "DragFinish");
        f.getSpecialFolderLocation = FindFunction<decltype(f.getSpecialFolderLocation)>(
            shell32, "SHGetSpecialFolderLocation");
        f.getPathFromIDList =
            FindFunction<decltype(f.getPathFromIDList)>(shell32, "SHGetPathFromIDListW");
        f.autoComplete =
            FindFunction<decltype(f.autoComplete)>(SystemLibrary(L"shlwapi.dll"), "SHAutoComplete");
        return f;
    }();
    return functions;
}

const ComFunctions& ComFunctions::Get() {
    static const ComFunctions functions = [] {
        const HMODULE ole32 = SystemLibrary(L"ole32.dll");
        ComFunctions f;
        f.initialize = FindFunction<decltype(f.initialize)>(ole32, "CoInitializeEx");
        f.uninitialize = FindFunction<decltype(f.uninitialize)>(ole32, "CoUninitialize");
        f.taskMemFree = FindFunction<decltype(f.taskMemFree)>(ole32, "CoTaskMemFree");
        f.disconnectObject =
            FindFunction<decltype(f.disconnectObject)>(ole32, "CoDisconnectObject");
        f.oleInitialize = FindFunction<decltype(f.oleInitialize)>(ole32, "OleInitialize");
        f.oleUninitialize = FindFunction<decltype(f.oleUninitialize)>(ole32, "OleUninitialize");
        f.registerDragDrop = FindFunction<decltype(f.registerDragDrop)>(ole32, "RegisterDragDrop");
        f.revokeDragDrop = FindFunction<decltype(f.revokeDragDrop)>(ole32, "RevokeDragDrop");
        f.releaseStgMedium = FindFunction<decltype(f.releaseStgMedium)>(ole32, "ReleaseStgMedium");
        return f;
    }();
    return functions;
}

const MessageFilterFunctions& MessageFilterFunctions::Get() {
    static const MessageFilterFunctions functions = [] {
        MessageFilterFunctions f;
        f.changeWindowMessageFilterEx = FindFunction<decltype(f.changeWindowMessageFilterEx)>(
            ::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
        return f;
    }();
    return functions;
}

const VersionFunctions& VersionFunctions::Get() {
    static const VersionFunctions functions = [] {
        const HMODULE version = SystemLibrary(L"version.dll");
        VersionFunctions f;
        f.getInfoSize = FindFunction<decltype(f.getInfoSize)>(version, "GetFileVersionInfoSizeW");
        f.getInfo = FindFunction<decltype(f.getInfo)>(version, "GetFileVersionInfoW");
        f.queryValue = FindFunction<decltype(f.queryValue)>(version, "VerQueryValueW");
        return f;
    }();
    return functions;
}

const FileDialogFunctions& FileDialogFunctions::Get() {
    static const FileDialogFunctions functions = [] {
        const HMODULE comdlg32 = SystemLibrary(L"comdlg32.dll");
        FileDialogFunctions f;
        f.getOpenFileName = FindFunction<decltype(f.getOpenFileName)>(comdlg32, "GetOpenFileNameA");
        f.getSaveFileName = FindFunction<decltype(f.getSaveFileName)>(comdlg32, "GetSaveFileNameA");
        f.extendedError = FindFunction<decltype(f.extendedError)>(comdlg32, "CommDlgExtendedError");
        return f;
    }();
    return functions;
}

} // namespace relingo::win32
