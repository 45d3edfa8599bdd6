#include "platform/win32/Integrity.h"

#include "platform/win32/Handles.h"

#include <vector>

namespace relingo::win32 {

namespace {

std::optional<DWORD> LevelOfToken(HANDLE token) {
    DWORD size = 0;
    ::GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(size);
    if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
        return std::nullopt;
    }
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = *::GetSidSubAuthorityCount(sid);
    if (count == 0) {
        return std::nullopt;
    }
    return *::GetSidSubAuthority(sid, count - 1U);
}

std::optional<DWORD> LevelOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return std::nullopt;
    }
    const UniqueKernelHandle held(token);
    return LevelOfToken(token);
}

std::optional<DWORD> OwnLevel() {
    return LevelOfProcess(::GetCurrentProcess());
}

std::optional<DWORD> ShellLevel() {
    const HWND shell = ::GetShellWindow();
    DWORD processId = 0;
    if (shell == nullptr || ::GetWindowThreadProcessId(shell, &processId) == 0) {
        return std::nullopt;
    }
    const UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? LevelOfProcess(process.Get()) : std::nullopt;
}

} // namespace

const IntegrityQueries& IntegrityQueries::System() {
    static const IntegrityQueries system{&OwnLevel, &ShellLevel};
    return system;
}

bool RunsAboveShell(const IntegrityQueries& queries) {
    if (queries.ownLevel == nullptr || queries.shellLevel == nullptr) {
        return false;
    }
    const std::optional<DWORD> own = queries.ownLevel();
    const std::optional<DWORD> shell = own ? queries.shellLevel() : std::nullopt;
    return own && shell && *own > *shell;
}

} // namespace relingo::win32
