// A stand-in for the IPDK re-packing program PDWizloc.exe, which cannot be installed here.
// Placed as PDWizLoc.exe in an IPDK folder, it records the exact command line it was started
// with and its current folder in "PDWizLoc received.txt" beside itself (UTF-8, one per line),
// then shows them in a box that names it as the stand-in, unless RELINGO_STANDIN_SILENT is set.
#include <windows.h>

#include <string>

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.rfind(L'\\'));
}

std::wstring CurrentFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, path);
    return std::wstring(path, n < MAX_PATH ? n : 0);
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

bool Record(const std::wstring& commandLine, const std::wstring& folder) {
    const std::wstring file = OwnFolder() + L"\\PDWizLoc received.txt";
    const std::string content = Utf8(commandLine) + "\n" + Utf8(folder) + "\n";
    // Written under a temporary name and renamed, so a reader never sees half a record.
    const std::wstring partial = file + L".partial";
    HANDLE handle = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(handle);
    return ok && ::MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring commandLine = ::GetCommandLineW();
    const std::wstring folder = CurrentFolder();
    const bool recorded = Record(commandLine, folder);
    if (::GetEnvironmentVariableW(L"RELINGO_STANDIN_SILENT", nullptr, 0) == 0) {
        const std::wstring text = L"This is Relingo's stand-in for the IPDK program "
                                  L"PDWizloc.exe, not the real one.\n\nIt was started with the "
                                  L"command line\n\n" +
                                  commandLine + L"\n\nin the folder\n\n" + folder;
        ::MessageBoxW(nullptr, text.c_str(), L"PDWizloc.exe stand-in", MB_OK | MB_ICONINFORMATION);
    }
    return recorded ? 0 : 1;
}
