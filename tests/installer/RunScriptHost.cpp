// Starts the system's script host of this program's own bitness, cscript from the system folder,
// with the arguments given, and ends with its exit code; its output goes where this program's
// goes. The tests of the 64-bit build reach the 32-bit script host through the 32-bit build of
// this program, as a 32-bit program would start it.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(folder, length) + L"\\cscript.exe\" //nologo";
    for (int i = 1; i < argc; ++i) {
        line += L" \"" + std::wstring(argv[i]) + L"\"";
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return 255;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 255;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
