// A DLL that leaves a mark when a process loads it. The tests copy it under the names of the DLLs
// Relingo uses, into the folders Windows might look in, and check that Relingo never loads it.
// The mark is "<the DLL's own full name>.loaded", holding the full name of the program that
// loaded it (UTF-16).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    wchar_t mark[MAX_PATH + 16] = {};
    const DWORD n = ::GetModuleFileNameW(self, mark, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return TRUE;
    }
    ::lstrcpyW(mark + n, L".loaded");
    wchar_t program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    const HANDLE file = ::CreateFileW(mark, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, program, length * sizeof(wchar_t), &written, nullptr);
        ::CloseHandle(file);
    }
    // Loading goes on: a DLL that refused would show as a program that fails to start, which
    // says less about what was loaded.
    return TRUE;
}
