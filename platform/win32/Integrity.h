// Whether this program runs above the shell: at a higher integrity level than the process that
// owns the desktop's shell window, as a program started with "Run as administrator" does.
// Windows keeps OLE drag and drop between the two apart, so such a program takes files from
// Explorer only the older way. (Wine has no integrity levels: every process there reads the
// same, and tests reach both answers through the queries below.)
#pragma once

#include <windows.h>

#include <optional>

namespace relingo::win32 {

struct IntegrityQueries {
    // The integrity level (a SECURITY_MANDATORY_*_RID) of this process, and of the process that
    // owns the shell's window; none when it cannot be told.
    std::optional<DWORD> (*ownLevel)() = nullptr;
    std::optional<DWORD> (*shellLevel)() = nullptr;

    // The system's answers.
    static const IntegrityQueries& System();
};

// True only when both levels are known and this process's is the higher. Without a shell window,
// or without the rights to read a token, it cannot be told, and the answer is false.
bool RunsAboveShell(const IntegrityQueries& queries);

} // namespace relingo::win32
