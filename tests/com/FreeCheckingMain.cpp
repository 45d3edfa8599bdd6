// The entry of a test program that runs with the heap's free checking on: a read of freed memory
// then finds the heap's filler (0xfeeefeee) and usually faults, where it would find the block's
// old bytes and go on by luck. The system turns it on from the program's Image File Execution
// Options (GlobalFlag 0x70) as the program starts: the program sets them for itself, in both
// registry views, and starts again with the same arguments and output.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Whether the heap fills what it frees: a block is freed and read once, on purpose.
bool FreedBlocksAreFilled() {
    auto* block = static_cast<volatile DWORD*>(::HeapAlloc(::GetProcessHeap(), 0, 64));
    ::HeapFree(::GetProcessHeap(), 0, const_cast<DWORD*>(block));
    return block[8] == 0xfeeefeee;
}

bool SetFreeChecking(const std::wstring& program) {
    const std::wstring key =
        L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\" +
        program.substr(program.find_last_of(L'\\') + 1);
    const DWORD flags = 0x70; // tail, free and parameter checks
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY options = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                              nullptr, &options, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const LONG set = ::RegSetValueExW(options, L"GlobalFlag", 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&flags), sizeof flags);
        ::RegCloseKey(options);
        if (set != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

int StartAgain(const std::wstring& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    std::wstring commandLine = ::GetCommandLineW();
    PROCESS_INFORMATION process = {};
    DWORD code = 1;
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    if (!FreedBlocksAreFilled()) {
        constexpr wchar_t kStartedAgain[] = L"RELINGO_FREE_CHECKING_STARTED_AGAIN";
        wchar_t program[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        if (::GetEnvironmentVariableW(kStartedAgain, nullptr, 0) != 0 ||
            !SetFreeChecking(program)) {
            std::fputs("The heap's free checking could not be turned on.\n", stderr);
            return 1;
        }
        ::SetEnvironmentVariableW(kStartedAgain, L"1");
        return StartAgain(program);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
